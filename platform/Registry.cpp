#include "Registry.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "CString.h"
#include "Handles.h"
#include "Paths.h"

namespace {

struct RootName {
  ULONG_PTR key;
  const char16_t* name;
  const char16_t* shortName;
};

const RootName kRoots[] = {
    {0x80000000u, u"HKEY_CLASSES_ROOT", u"HKCR"},
    {0x80000001u, u"HKEY_CURRENT_USER", u"HKCU"},
    {0x80000002u, u"HKEY_LOCAL_MACHINE", u"HKLM"},
    {0x80000003u, u"HKEY_USERS", u"HKU"},
};

const char kHeader[] =
    "; The board's registry. One [key] line, then its values, one a line:\n"
    ";   \"name\"=dword:00000002   \"name\"=\"text\"   \"name\"=hex:01,02   \"name\"=hex(7):41,00   @=\"default\"\n";

struct Value {
  std::u16string name;
  DWORD type;
  std::vector<BYTE> data;
};

struct Key {
  std::u16string path;  // root name, then the subkeys, separated by backslashes; empty: the file's head
  std::vector<Value> values;
  // Comments and lines not understood that followed this key's values, written back as they were, so a
  // rewrite never loses what a person or a newer program put in the file.
  std::vector<std::string> kept;
};

typedef std::vector<Key> Hive;

// Open keys are kernel objects, so a closed or foreign HKEY is recognised.
class KeyObject : public panel::KernelObject {
public:
  explicit KeyObject(std::u16string path) : m_path(std::move(path)) {}
  const std::u16string& Path() const { return m_path; }

private:
  std::u16string m_path;
};

std::mutex& RegistryLock() {
  static auto* lock = new std::mutex();  // never destroyed: used by static objects at exit
  return *lock;
}

std::string RegistryFile() { return panel::BoardPath("registry"); }

bool SameText(const std::u16string& a, const std::u16string& b) { return WStrICmp(a.c_str(), b.c_str()) == 0; }

std::u16string Normalise(const std::u16string& path) {
  std::u16string out;
  std::u16string part;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == u'\\' || path[i] == u'/') {
      if (!part.empty()) {
        if (!out.empty()) out += u'\\';
        out += part;
      }
      part.clear();
    } else {
      part += path[i];
    }
  }
  return out;
}

// The path of an open key or a root; false for anything else.
bool BasePath(HKEY key, std::u16string& path) {
  auto value = reinterpret_cast<ULONG_PTR>(key);
  for (const auto& root : kRoots) {
    if (value == root.key) {
      path = root.name;
      return true;
    }
  }
  auto* object = panel::HandleAs<KeyObject>(static_cast<HANDLE>(key));
  if (!object) return false;
  path = object->Path();
  return true;
}

std::u16string Join(const std::u16string& base, LPCWSTR subKey) {
  std::u16string sub = Normalise(subKey ? subKey : u"");
  return sub.empty() ? base : base + u'\\' + sub;
}

bool IsRootPath(const std::u16string& path) { return path.find(u'\\') == std::u16string::npos; }

Key* FindKey(Hive& hive, const std::u16string& path) {
  for (auto& key : hive) {
    if (SameText(key.path, path)) return &key;
  }
  return nullptr;
}

bool KeyExists(const Hive& hive, const std::u16string& path) {
  if (IsRootPath(path)) return true;
  std::u16string prefix = path + u'\\';
  for (const auto& key : hive) {
    if (SameText(key.path, path)) return true;
    if (key.path.size() > prefix.size() && SameText(key.path.substr(0, prefix.size()), prefix)) return true;
  }
  return false;
}

// --- The text file -------------------------------------------------------------------------------

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// A quoted text at text[pos] with \\, \" and \n escapes; pos moves past the closing quote.
bool ParseQuoted(const std::string& text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  out.clear();
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < text.size()) {
      char next = text[++pos];
      out += next == 'n' ? '\n' : next;
    } else {
      out += c;
    }
  }
  return false;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

bool ParseHexNumber(const std::string& text, unsigned long& value) {
  if (text.empty() || text.size() > 8) return false;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  value = std::stoul(text, nullptr, 16);
  return true;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>& out) {
  out.clear();
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    part = Trim(part);
    unsigned long byte = 0;
    if (part.size() > 2 || !ParseHexNumber(part, byte)) return false;
    out.push_back(static_cast<BYTE>(byte));
  }
  return true;
}

std::vector<BYTE> TextBytes(const std::u16string& text) {
  std::vector<BYTE> bytes((text.size() + 1) * sizeof(char16_t), 0);
  std::memcpy(bytes.data(), text.data(), text.size() * sizeof(char16_t));
  return bytes;
}

std::u16string BytesText(const std::vector<BYTE>& bytes) {
  std::u16string text(bytes.size() / sizeof(char16_t), u'\0');
  if (!text.empty()) std::memcpy(&text[0], bytes.data(), text.size() * sizeof(char16_t));
  size_t end = text.find(u'\0');
  return end == std::u16string::npos ? text : text.substr(0, end);
}

bool ParseValue(const std::string& line, Value& value) {
  size_t pos = 0;
  std::string name;
  if (line[0] == '@') {
    pos = 1;
  } else if (!ParseQuoted(line, pos, name)) {
    return false;
  }
  value.name = FromUtf8(name);
  std::string rest = Trim(line.substr(pos));
  if (rest.empty() || rest[0] != '=') return false;
  rest = Trim(rest.substr(1));
  if (!rest.empty() && rest[0] == '"') {
    size_t at = 0;
    std::string text;
    if (!ParseQuoted(rest, at, text) || !Trim(rest.substr(at)).empty()) return false;
    value.type = REG_SZ;
    value.data = TextBytes(FromUtf8(text));
    return true;
  }
  unsigned long number = 0;
  if (rest.compare(0, 6, "dword:") == 0) {
    if (!ParseHexNumber(Trim(rest.substr(6)), number)) return false;
    DWORD word = static_cast<DWORD>(number);
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<BYTE*>(&word), reinterpret_cast<BYTE*>(&word) + sizeof word);
    return true;
  }
  if (rest.compare(0, 4, "hex:") == 0) {
    value.type = REG_BINARY;
    return ParseHexBytes(rest.substr(4), value.data);
  }
  if (rest.compare(0, 4, "hex(") == 0) {
    size_t close = rest.find("):");
    if (close == std::string::npos || !ParseHexNumber(rest.substr(4, close - 4), number)) return false;
    value.type = static_cast<DWORD>(number);
    return ParseHexBytes(rest.substr(close + 2), value.data);
  }
  return false;
}

std::u16string ParseKeyPath(const std::string& inside) {
  std::u16string path = Normalise(FromUtf8(inside));
  size_t slash = path.find(u'\\');
  std::u16string root = path.substr(0, slash);
  for (const auto& r : kRoots) {
    if (SameText(root, r.name) || SameText(root, r.shortName)) {
      return slash == std::u16string::npos ? std::u16string(r.name) : r.name + path.substr(slash);
    }
  }
  return std::u16string();
}

void Report(int lineNumber, const std::string& line) {
  CString text;
  text.Format(u"registry: line %d not understood: %S\n", lineNumber, line.c_str());
  OutputDebugStringW(text);
}

bool IsHeaderLine(const std::string& line) {
  std::stringstream header(kHeader);
  std::string h;
  while (std::getline(header, h)) {
    if (Trim(h) == line) return true;
  }
  return false;
}

Hive Load() {
  Hive hive;
  std::string contents;
  if (!panel::ReadTextFile(RegistryFile(), contents)) return hive;
  if (contents.compare(0, 3, "\xEF\xBB\xBF") == 0) contents.erase(0, 3);
  std::stringstream lines(contents);
  std::string raw;
  Key* current = nullptr;
  size_t keeper = 0;  // index of the key that keeps the lines that follow; 0 is the head
  hive.push_back(Key{std::u16string(), {}, {}});
  int number = 0;
  auto keep = [&](const std::string& line) { hive[keeper].kept.push_back(line); };
  while (std::getline(lines, raw)) {
    ++number;
    std::string line = Trim(raw);
    if (line.empty()) continue;
    if (line[0] == ';' || line[0] == '#') {
      if (!IsHeaderLine(line)) keep(line);
      continue;
    }
    if (line[0] == '[' && line.back() == ']') {
      std::u16string path = ParseKeyPath(line.substr(1, line.size() - 2));
      if (path.empty()) {
        Report(number, line);
        keep(line);
        current = nullptr;
        continue;
      }
      current = FindKey(hive, path);
      if (!current) {
        hive.push_back(Key{path, {}, {}});
        current = &hive.back();
      }
      keeper = static_cast<size_t>(current - hive.data());
      continue;
    }
    Value value;
    if (!current || !ParseValue(line, value)) {
      Report(number, line);
      keep(line);
      continue;
    }
    bool replaced = false;
    for (auto& v : current->values) {
      if (SameText(v.name, value.name)) {
        v = value;
        replaced = true;
      }
    }
    if (!replaced) current->values.push_back(value);
  }
  return hive;
}

std::string HexBytes(const std::vector<BYTE>& data) {
  std::string out;
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    if (i) out += ',';
    out += byte;
  }
  return out;
}

bool Save(const Hive& hive) {
  std::string out = kHeader;
  for (const auto& key : hive) {
    if (!key.path.empty()) out += "\n[" + ToUtf8(key.path.c_str()) + "]\n";
    for (const auto& value : key.values) {
      out += value.name.empty() ? "@" : Quote(ToUtf8(value.name.c_str()));
      out += '=';
      if (value.type == REG_SZ) {
        out += Quote(ToUtf8(BytesText(value.data).c_str()));
      } else if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD word;
        std::memcpy(&word, value.data.data(), sizeof word);
        char hex[16];
        std::snprintf(hex, sizeof hex, "dword:%08x", static_cast<unsigned>(word));
        out += hex;
      } else if (value.type == REG_BINARY) {
        out += "hex:" + HexBytes(value.data);
      } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
        out += prefix + HexBytes(value.data);
      }
      out += '\n';
    }
    for (const auto& line : key.kept) out += line + '\n';
  }
  return panel::WriteTextFile(RegistryFile(), out);
}

LONG OpenKey(HKEY key, LPCWSTR subKey, bool create, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::u16string base;
  if (!BasePath(key, base)) return ERROR_INVALID_HANDLE;
  std::u16string path = Join(base, subKey);
  std::lock_guard<std::mutex> guard(RegistryLock());
  Hive hive = Load();
  bool exists = KeyExists(hive, path);
  if (!exists && !create) return ERROR_FILE_NOT_FOUND;
  if (!exists) {
    hive.push_back(Key{path, {}, {}});
    if (!Save(hive)) return ERROR_ACCESS_DENIED;
  }
  if (disposition) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = static_cast<HKEY>(panel::RegisterHandle(new KeyObject(path)));
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  return OpenKey(key, subKey, false, result, nullptr);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY result,
                     LPDWORD disposition) {
  return OpenKey(key, subKey, true, result, disposition);
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  std::u16string path;
  if (!BasePath(key, path)) return ERROR_INVALID_HANDLE;
  if (!data && size > 0) return ERROR_INVALID_PARAMETER;
  Value value{name ? name : u"", type, std::vector<BYTE>(data, data + size)};
  if (type == REG_SZ) value.data = TextBytes(BytesText(value.data));
  std::lock_guard<std::mutex> guard(RegistryLock());
  Hive hive = Load();
  if (!KeyExists(hive, path)) return ERROR_KEY_DELETED;
  Key* entry = FindKey(hive, path);
  if (!entry) {
    hive.push_back(Key{path, {}, {}});
    entry = &hive.back();
  }
  bool replaced = false;
  for (auto& v : entry->values) {
    if (SameText(v.name, value.name)) {
      v.type = value.type;
      v.data = value.data;
      replaced = true;
    }
  }
  if (!replaced) entry->values.push_back(value);
  return Save(hive) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  std::u16string path;
  if (!BasePath(key, path)) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  std::u16string wanted = name ? name : u"";
  std::lock_guard<std::mutex> guard(RegistryLock());
  Hive hive = Load();
  if (!KeyExists(hive, path)) return ERROR_KEY_DELETED;
  Key* entry = FindKey(hive, path);
  if (!entry) return ERROR_FILE_NOT_FOUND;
  for (const auto& v : entry->values) {
    if (!SameText(v.name, wanted)) continue;
    DWORD needed = static_cast<DWORD>(v.data.size());
    if (type) *type = v.type;
    if (data) {
      if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
      }
      if (needed) std::memcpy(data, v.data.data(), needed);
    }
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY key) {
  auto value = reinterpret_cast<ULONG_PTR>(key);
  for (const auto& root : kRoots) {
    if (value == root.key) return ERROR_SUCCESS;
  }
  if (!panel::HandleAs<KeyObject>(static_cast<HANDLE>(key))) return ERROR_INVALID_HANDLE;
  CloseHandle(static_cast<HANDLE>(key));
  return ERROR_SUCCESS;
}
