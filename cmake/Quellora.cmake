# Shared settings for the project's own targets: warnings are errors in our code.
function(quellora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A static library from every .cpp in the calling folder, linking the targets given after the name.
# With FOLDERS a b ... the library is made of those subfolders instead, each an include directory.
# A folder with no sources yet gives an interface target, so that its dependants' lists stay valid.
function(quellora_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FOLDERS")
  set(deps ${arg_UNPARSED_ARGUMENTS})
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR})
  if(arg_FOLDERS)
    list(TRANSFORM arg_FOLDERS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE dirs)
  endif()
  set(sources)
  foreach(dir ${dirs})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${dirs})
    target_link_libraries(${name} INTERFACE ${deps})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${dirs})
  target_link_libraries(${name} PUBLIC ${deps})
  quellora_warnings(${name})
endfunction()

# One test executable from every *_test.cpp in the calling folder, each test a CTest case.
function(quellora_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  quellora_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARGN} test_support GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QUELLORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUELLORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # Suites named *EndToEnd* run real processes or threads on a sped-up real clock. They mostly wait, so
  # they run beside the others, but each takes two of CTest's slots, so that fewer busy tests share the
  # machine with them and their timing keeps its margins.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-*EndToEnd*" PROPERTIES TIMEOUT 300)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "*EndToEnd*" PROPERTIES TIMEOUT 300 PROCESSORS 2)
endfunction()
