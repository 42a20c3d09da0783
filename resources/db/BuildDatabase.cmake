# Builds the delivered database from its readable sources:
#   cmake -DSQLITE3=<sqlite3> -DSCHEMA=<schema.sql> -DTEXTS=<texts.tsv> -DLANGENABLE=<langenable.tsv>
#         -DOUTPUT=<Quellora.db> -P BuildDatabase.cmake
# The parameter tables stay empty: the program's first start fills them from its defaults.
cmake_minimum_required(VERSION 3.20)

foreach(var SQLITE3 SCHEMA TEXTS LANGENABLE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildDatabase.cmake: ${var} not given")
  endif()
endforeach()

set(kLanguages 50)
# Column 15 is the service language that the level-3 code selects: each text led by its id.
set(kServiceColumn 15)

# Reads a tab-separated source into a list of its data lines (comments and blank lines dropped).
function(read_rows file outVar)
  file(STRINGS "${file}" lines ENCODING UTF-8)
  set(rows "")
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    # Keep list separators out of the texts before the line becomes a list element.
    string(REPLACE ";" "\\;" line "${line}")
    list(APPEND rows "${line}")
  endforeach()
  set(${outVar} "${rows}" PARENT_SCOPE)
endfunction()

set(sql "begin transaction;\n")

read_rows("${TEXTS}" textRows)
set(seen "")
foreach(row IN LISTS textRows)
  if(NOT row MATCHES "^([0-9]+)\t([^\t]+)\t([^\t]+)$")
    message(FATAL_ERROR "${TEXTS}: expected id<TAB>English<TAB>Chinese: ${row}")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(english "${CMAKE_MATCH_2}")
  set(chinese "${CMAKE_MATCH_3}")
  if(id LESS 1 OR id GREATER 499)
    message(FATAL_ERROR "${TEXTS}: text id ${id} outside 1..499")
  endif()
  if(id IN_LIST seen)
    message(FATAL_ERROR "${TEXTS}: text id ${id} given twice")
  endif()
  list(APPEND seen "${id}")
  if(english MATCHES "'" OR chinese MATCHES "'")
    message(FATAL_ERROR "${TEXTS}: text id ${id} holds a single quote")
  endif()
  if(id EQUAL 16)
    set(service "Text ids")
  else()
    set(service "${id} ${english}")
  endif()
  string(APPEND sql "insert into t_Language (ID, L0, L1, L${kServiceColumn}) "
                    "values (${id}, '${english}', '${chinese}', '${service}');\n")
endforeach()

read_rows("${LANGENABLE}" enableRows)
foreach(row IN LISTS enableRows)
  if(NOT row MATCHES "^([0-9]+)\t([0-9,]+)$")
    message(FATAL_ERROR "${LANGENABLE}: expected dealer<TAB>languages: ${row}")
  endif()
  set(dealer "${CMAKE_MATCH_1}")
  string(REPLACE "," ";" enabled "${CMAKE_MATCH_2}")
  set(columns "ID")
  set(values "${dealer}")
  math(EXPR last "${kLanguages} - 1")
  foreach(language RANGE ${last})
    string(APPEND columns ", E${language}")
    if("${language}" IN_LIST enabled)
      string(APPEND values ", 1")
    else()
      string(APPEND values ", 0")
    endif()
  endforeach()
  string(APPEND sql "insert into t_Langenable (${columns}) values (${values});\n")
endforeach()

string(APPEND sql "commit transaction;\n")

# Build beside the output and move into place, so a failed build never leaves a half file.
set(content "${OUTPUT}.content.sql")
set(staging "${OUTPUT}.new")
file(WRITE "${content}" "${sql}")
file(REMOVE "${staging}")
execute_process(
  COMMAND "${SQLITE3}" -bail "${staging}" ".read ${SCHEMA}" ".read ${content}"
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  file(REMOVE "${staging}")
  message(FATAL_ERROR "sqlite3 failed building ${OUTPUT}: ${errors}")
endif()
file(RENAME "${staging}" "${OUTPUT}")
