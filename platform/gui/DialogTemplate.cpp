#include "DialogTemplate.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "CString.h"
#include "Controls.h"

namespace panel {
namespace {

// The limits of a template's numbers: the 16-bit places and sizes of a dialog on the panel, its 16-bit
// control ids (-1 for a static nobody addresses), and fonts no taller than the screen. Within them every
// place and size stays an int in pixels too; dialog files come with an update medium, so a file with a
// number outside them is refused whole.
const long long kMinUnits = -32768;
const long long kMaxUnits = 32767;
const long long kMinId = -1;
const long long kMaxId = 65535;
const long long kMaxPoints = 72;
const long long kMaxStyle = 0xFFFFFFFFLL;

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

// What a word read as a number gave.
enum class Read { kNumber, kNotANumber, kOutOfRange };

// A decimal or 0x number within lo..hi. A number too large even for the widest integer counts as
// out of range, so nothing is ever cut short on the way to an int or a style word.
Read Number(const std::string& word, long long lo, long long hi, long long& value) {
  if (word.empty()) return Read::kNotANumber;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(word.c_str(), &end, 0);
  if (!end || *end != 0 || end == word.c_str()) return Read::kNotANumber;
  if (errno == ERANGE || value < lo || value > hi) return Read::kOutOfRange;
  return Read::kNumber;
}

std::string OutOfRange(const std::string& what, const std::string& word, long long lo, long long hi) {
  return what + " " + word + " is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
}

// Reads the number called what into out; false with why when it is no number or lies outside lo..hi.
bool Field(const std::string& word, const std::string& what, long long lo, long long hi, int& out,
           const std::string& notANumber, std::string& why) {
  long long value = 0;
  switch (Number(word, lo, hi, value)) {
    case Read::kNumber: out = static_cast<int>(value); return true;
    case Read::kNotANumber: why = notANumber; return false;
    case Read::kOutOfRange: why = OutOfRange(what, word, lo, hi); return false;
  }
  return false;
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
    long long number = 0;
    const Read read = Number(w, 0, kMaxStyle, number);
    if (read == Read::kOutOfRange) {
      error = OutOfRange("style", w, 0, kMaxStyle);
      return false;
    }
    if (read == Read::kNumber) {
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
    if (key == "dialog") {
      continue;
    } else if (key == "size" || key == "position") {
      const std::string notANumber = key + " needs two numbers";
      if (w.size() != 3) return fail(notANumber);
      const bool size = key == "size";
      const long long lo = size ? 1 : kMinUnits;
      int& a = size ? out.cx : out.x;
      int& b = size ? out.cy : out.y;
      if (!Field(w[1], key, lo, kMaxUnits, a, notANumber, why) ||
          !Field(w[2], key, lo, kMaxUnits, b, notANumber, why)) {
        return fail(why);
      }
      if (size) sized = true;
    } else if (key == "style") {
      if (!Styles(w, 1, out.style, out.exStyle, why)) return fail(why);
    } else if (key == "caption") {
      if (w.size() != 2 || !Text(w[1], out.caption)) return fail("caption needs one quoted text");
    } else if (key == "font") {
      const std::string malformed = "font needs points and a quoted face";
      if (w.size() != 3) return fail(malformed);
      if (!Field(w[1], "font", 0, kMaxPoints, out.fontPoints, malformed, why)) return fail(why);
      if (!Text(w[2], out.fontFace)) return fail(malformed);
    } else if (key == "control") {
      const std::string malformed = "control needs class, id, x, y, width, height and a quoted text";
      DialogItemTemplate item;
      if (w.size() < 8 || !Text(w[7], item.text)) return fail(malformed);
      if (!Field(w[2], "control id", kMinId, kMaxId, item.id, malformed, why)) return fail(why);
      const std::string control = "control " + w[2] + ": ";
      if (!Field(w[3], control + "x", kMinUnits, kMaxUnits, item.x, malformed, why) ||
          !Field(w[4], control + "y", kMinUnits, kMaxUnits, item.y, malformed, why) ||
          !Field(w[5], control + "width", 0, kMaxUnits, item.cx, malformed, why) ||
          !Field(w[6], control + "height", 0, kMaxUnits, item.cy, malformed, why)) {
        return fail(why);
      }
      item.className = ClassName(w[1]);
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

}  // namespace panel
