#include "DialogTemplate.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include "Controls.h"
#include "Paths.h"
#include "Resources.h"

namespace panel {
namespace {

struct StyleName {
  const char* name;
  DWORD value;
  bool extended;
};

#define S(n) {#n, n, false}
#define X(n) {#n, n, true}
const StyleName kStyles[] = {
    S(WS_OVERLAPPED), S(WS_POPUP), S(WS_CHILD), S(WS_VISIBLE), S(WS_DISABLED), S(WS_CLIPSIBLINGS),
    S(WS_CLIPCHILDREN), S(WS_CAPTION), S(WS_BORDER), S(WS_DLGFRAME), S(WS_VSCROLL), S(WS_HSCROLL), S(WS_SYSMENU),
    S(WS_THICKFRAME), S(WS_GROUP), S(WS_TABSTOP), X(WS_EX_DLGMODALFRAME), X(WS_EX_TOPMOST), X(WS_EX_TRANSPARENT),
    X(WS_EX_WINDOWEDGE), X(WS_EX_CLIENTEDGE), X(WS_EX_STATICEDGE), X(WS_EX_NOACTIVATE), S(DS_ABSALIGN),
    S(DS_SYSMODAL), S(DS_SETFONT), S(DS_MODALFRAME), S(DS_SETFOREGROUND), S(DS_CONTROL), S(DS_CENTER), S(SS_LEFT),
    S(SS_CENTER), S(SS_RIGHT), S(SS_ICON), S(SS_BLACKRECT), S(SS_GRAYRECT), S(SS_WHITERECT), S(SS_BLACKFRAME),
    S(SS_LEFTNOWORDWRAP), S(SS_BITMAP), S(SS_NOPREFIX), S(SS_NOTIFY), S(SS_CENTERIMAGE), S(SS_SUNKEN),
    S(BS_PUSHBUTTON), S(BS_DEFPUSHBUTTON), S(BS_CHECKBOX), S(BS_AUTOCHECKBOX), S(BS_RADIOBUTTON), S(BS_3STATE),
    S(BS_AUTO3STATE), S(BS_GROUPBOX), S(BS_AUTORADIOBUTTON), S(BS_OWNERDRAW), S(BS_LEFTTEXT), S(BS_TEXT),
    S(BS_ICON), S(BS_BITMAP), S(BS_LEFT), S(BS_RIGHT), S(BS_CENTER), S(BS_TOP), S(BS_BOTTOM), S(BS_VCENTER),
    S(BS_PUSHLIKE), S(BS_MULTILINE), S(BS_NOTIFY), S(BS_FLAT), S(ES_LEFT), S(ES_CENTER), S(ES_RIGHT),
    S(ES_MULTILINE), S(ES_UPPERCASE), S(ES_LOWERCASE), S(ES_PASSWORD), S(ES_AUTOVSCROLL), S(ES_AUTOHSCROLL),
    S(ES_NOHIDESEL), S(ES_READONLY), S(ES_WANTRETURN), S(ES_NUMBER), S(LVS_ICON), S(LVS_REPORT), S(LVS_SMALLICON),
    S(LVS_LIST), S(LVS_SINGLESEL), S(LVS_SHOWSELALWAYS), S(LVS_SORTASCENDING), S(LVS_NOSCROLL),
    S(LVS_NOCOLUMNHEADER), S(LVS_NOSORTHEADER),
};
#undef S
#undef X

// Splits a line into words; a quoted text is one word, kept with its quotes.
bool Words(const std::string& line, std::vector<std::string>& out, std::string& error) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c)) || c == '|') {
      ++i;
      continue;
    }
    if (c == '#') break;
    if (c == '"') {
      std::string word = "\"";
      size_t j = i + 1;
      bool closed = false;
      for (; j < line.size(); ++j) {
        if (line[j] == '\\' && j + 1 < line.size()) {
          char e = line[++j];
          word.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
          continue;
        }
        if (line[j] == '"') {
          closed = true;
          break;
        }
        word.push_back(line[j]);
      }
      if (!closed) {
        error = "unterminated text";
        return false;
      }
      out.push_back(word);
      i = j + 1;
      continue;
    }
    size_t j = i;
    while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j])) && line[j] != '|') ++j;
    out.push_back(line.substr(i, j - i));
    i = j;
  }
  return true;
}

bool Number(const std::string& word, long& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  value = std::strtol(word.c_str(), &end, 0);
  return end && *end == 0;
}

bool Text(const std::string& word, std::u16string& out) {
  if (word.empty() || word[0] != '"') return false;
  out = FromUtf8(word.substr(1));
  return true;
}

bool Styles(const std::vector<std::string>& words, size_t from, DWORD& style, DWORD& exStyle, std::string& error) {
  bool negate = false;
  for (size_t i = from; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "NOT") {
      negate = true;
      continue;
    }
    DWORD value = 0;
    bool extended = false;
    long number = 0;
    if (Number(w, number)) {
      value = static_cast<DWORD>(number);
    } else if (!StyleValue(w, value, extended)) {
      error = "unknown style " + w;
      return false;
    }
    DWORD& target = extended ? exStyle : style;
    if (negate) {
      target &= ~value;
    } else {
      target |= value;
    }
    negate = false;
  }
  return true;
}

std::u16string ClassName(const std::string& word) {
  if (word == "LISTVIEW") return u"SysListView32";
  return FromUtf8(word);
}

}  // namespace

bool StyleValue(const std::string& name, DWORD& value, bool& extended) {
  for (const StyleName& s : kStyles) {
    if (name == s.name) {
      value = s.value;
      extended = s.extended;
      return true;
    }
  }
  return false;
}

bool ParseDialogTemplate(const std::string& text, DialogTemplate& out, std::string* error) {
  out = DialogTemplate();
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  bool sized = false;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> w;
    std::string why;
    if (!Words(line, w, why)) return fail(why);
    if (w.empty()) continue;
    const std::string& key = w[0];
    long a = 0, b = 0;
    if (key == "dialog") {
      continue;
    } else if (key == "size" || key == "position") {
      if (w.size() != 3 || !Number(w[1], a) || !Number(w[2], b)) return fail(key + " needs two numbers");
      if (key == "size") {
        if (a <= 0 || b <= 0) return fail("size must be positive");
        out.cx = static_cast<int>(a);
        out.cy = static_cast<int>(b);
        sized = true;
      } else {
        out.x = static_cast<int>(a);
        out.y = static_cast<int>(b);
      }
    } else if (key == "style") {
      if (!Styles(w, 1, out.style, out.exStyle, why)) return fail(why);
    } else if (key == "caption") {
      if (w.size() != 2 || !Text(w[1], out.caption)) return fail("caption needs one quoted text");
    } else if (key == "font") {
      if (w.size() != 3 || !Number(w[1], a) || !Text(w[2], out.fontFace)) return fail("font needs points and a quoted face");
      out.fontPoints = static_cast<int>(a);
    } else if (key == "control") {
      DialogItemTemplate item;
      long id = 0, x = 0, y = 0, cx = 0, cy = 0;
      if (w.size() < 8 || !Number(w[2], id) || !Number(w[3], x) || !Number(w[4], y) || !Number(w[5], cx) ||
          !Number(w[6], cy) || !Text(w[7], item.text)) {
        return fail("control needs class, id, x, y, width, height and a quoted text");
      }
      item.className = ClassName(w[1]);
      item.id = static_cast<int>(id);
      item.x = static_cast<int>(x);
      item.y = static_cast<int>(y);
      item.cx = static_cast<int>(cx);
      item.cy = static_cast<int>(cy);
      item.style = WS_CHILD | WS_VISIBLE;
      if (!Styles(w, 8, item.style, item.exStyle, why)) return fail(why);
      out.items.push_back(item);
    } else {
      return fail("unknown keyword " + key);
    }
  }
  if (!sized) return fail("no size line");
  return true;
}

bool LoadDialogTemplate(UINT id, DialogTemplate& out, std::string* error) {
  std::string path = ResourcePath("dialogs/" + std::to_string(id) + ".dlg");
  std::string text;
  if (!ReadTextFile(path, text)) {
    if (error) *error = "no dialog template " + path;
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return false;
  }
  if (!ParseDialogTemplate(text, out, error)) {
    if (error) *error = path + ": " + *error;
    SetLastError(1812);  // ERROR_RESOURCE_DATA_NOT_FOUND
    return false;
  }
  return true;
}

}  // namespace panel
