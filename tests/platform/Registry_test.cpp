#include "Registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CString.h"
#include "Debug.h"
#include "Paths.h"
#include "TempRoot.h"

namespace {

using testing_support::TempRoot;

const char kTouchKey[] = "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n\"Name\"=\"touch\"\n";

std::string RegistryText(const TempRoot& root) {
  std::string text;
  panel::ReadTextFile(root / "board/registry", text);
  return text;
}

// The value's type and bytes as read through a freshly opened key.
struct Read {
  LONG result;
  DWORD type;
  std::vector<BYTE> data;
};

Read Query(HKEY root, const char16_t* path, const char16_t* name) {
  Read out{0, 0, {}};
  HKEY key = nullptr;
  out.result = RegOpenKeyExW(root, path, 0, KEY_READ, &key);
  if (out.result != ERROR_SUCCESS) return out;
  DWORD size = 0;
  out.result = RegQueryValueExW(key, name, nullptr, &out.type, nullptr, &size);
  if (out.result == ERROR_SUCCESS) {
    out.data.resize(size);
    out.result = RegQueryValueExW(key, name, nullptr, &out.type, out.data.data(), &size);
  }
  RegCloseKey(key);
  return out;
}

std::vector<BYTE> Bytes(const void* data, size_t size) {
  const auto* p = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(p, p + size);
}

TEST(Registry, OpenKey_MissingKeyFailsAndIsNotCreated) {
  TempRoot root;
  HKEY key = reinterpret_cast<HKEY>(0x1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_FALSE(std::filesystem::exists(root / "board/registry"));
  // A key under another root is another key.
  root.Write("board/registry", kTouchKey);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key),
            ERROR_FILE_NOT_FOUND);
}

TEST(Registry, SetDword_LandsInTheTextFileBesideWhatWasThere) {
  TempRoot root;
  root.Write("board/registry", kTouchKey);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  DWORD two = 2;
  EXPECT_EQ(RegSetValueExW(key, u"Dis_Cursor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  std::string text = RegistryText(root);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n\"Name\"=\"touch\"\n"
                      "\"Dis_Cursor\"=dword:00000002\n"),
            std::string::npos)
      << text;
  EXPECT_FALSE(std::filesystem::exists(root / "board/registry.tmp"));
}

TEST(Registry, Values_RoundTripThroughTheFile) {
  TempRoot root;
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Quellora", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const DWORD word = 0xA1B2C3D4;
  const char16_t text[] = u"C:\\\"quoted\"\nline 2 温度";
  const BYTE blob[] = {0x00, 0xFF, 0x10};
  const char16_t multi[] = u"a\0b\0";
  struct Case {
    const char* name;
    const char16_t* value;
    DWORD type;
    std::vector<BYTE> data;
  };
  const Case cases[] = {
      {"dword", u"Dis_Cursor", REG_DWORD, Bytes(&word, sizeof word)},
      {"text with escapes and CJK", u"Caption", REG_SZ, Bytes(text, sizeof text)},
      {"binary", u"Blob", REG_BINARY, Bytes(blob, sizeof blob)},
      {"empty binary", u"Nothing", REG_BINARY, {}},
      {"default value", u"", REG_SZ, Bytes(u"dflt", sizeof u"dflt")},
      {"other type kept by number", u"Multi", REG_MULTI_SZ, Bytes(multi, sizeof multi)},
      {"dword of odd length kept raw", u"Short", REG_DWORD, {1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RegSetValueExW(key, c.value, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
              ERROR_SUCCESS);
  }
  RegCloseKey(key);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read r = Query(HKEY_LOCAL_MACHINE, u"SOFTWARE\\quellora", c.value);
    EXPECT_EQ(r.result, ERROR_SUCCESS);
    EXPECT_EQ(r.type, c.type);
    EXPECT_EQ(r.data, c.data);
  }
  // A REG_SZ handed over without its terminator comes back with one.
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Quellora", 0, 0, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, u"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"ab"), 4), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, u"Software\\Quellora", u"Bare").data, Bytes(u"ab", sizeof u"ab"));
}

TEST(Registry, Query_ReportsSizesAndNeverOverrunsTheBuffer) {
  TempRoot root;
  root.Write("board/registry", "[HKLM\\K]\n\"Text\"=\"abcdef\"\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 14u);  // six characters and the terminator

  BYTE buffer[16];
  std::memset(buffer, 0xEE, sizeof buffer);
  size = 8;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, buffer + 4, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  for (BYTE b : buffer) EXPECT_EQ(b, 0xEE);

  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, buffer, nullptr), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST(Registry, HandEditedFile_IsReadAtTheNextCall) {
  TempRoot root;
  root.Write("board/registry",
             "; edited by hand\n"
             "\n"
             "[HKLM\\HARDWARE\\DeviceMap\\Touch]\n"
             "  \"Dis_Cursor\" = dword:5  \n"
             "this line means nothing\n"
             "[HKEY_NOWHERE\\X]\n"
             "\"Lost\"=dword:1\n");
  panel::ClearDebugLog();
  Read r = Query(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", u"dis_cursor");
  EXPECT_EQ(r.result, ERROR_SUCCESS);
  EXPECT_EQ(r.type, REG_DWORD);
  DWORD five = 5;
  EXPECT_EQ(r.data, Bytes(&five, sizeof five));
  bool reported = false;
  for (const auto& line : panel::DebugLog()) reported |= line.find("line 5") != std::string::npos;
  EXPECT_TRUE(reported);

  // The key stays open while the file changes under it.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  root.Write("board/registry", "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n\"Dis_Cursor\"=dword:00000007\n");
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(RegQueryValueExW(key, u"Dis_Cursor", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 7u);
  root.Write("board/registry", "");
  EXPECT_EQ(RegSetValueExW(key, u"Dis_Cursor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
            ERROR_KEY_DELETED);
  EXPECT_EQ(RegistryText(root), "");
  RegCloseKey(key);
}

TEST(Registry, Rewrite_KeepsCommentsAndLinesItDoesNotUnderstand) {
  TempRoot root;
  root.Write("board/registry",
             "; edited by hand\n"
             "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n"
             "\"Name\"=\"touch\"\n"
             "\"Calibration\"=future:1,2,3\n"
             "[HKEY_NOWHERE\\X]\n"
             "\"Lost\"=dword:1\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  DWORD two = 2;
  ASSERT_EQ(RegSetValueExW(key, u"Dis_Cursor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two),
            ERROR_SUCCESS);
  RegCloseKey(key);
  const std::string text = RegistryText(root);
  for (const char* kept : {"; edited by hand\n", "\"Calibration\"=future:1,2,3\n", "[HKEY_NOWHERE\\X]\n\"Lost\"=dword:1\n",
                           "\"Dis_Cursor\"=dword:00000002\n"}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " in\n" << text;
  }
  // Written twice, the file stays the same: nothing doubles, and what followed the unknown key still
  // belongs to no key.
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, u"Dis_Cursor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegistryText(root), text);
  EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", u"Lost").result, ERROR_FILE_NOT_FOUND);
}

TEST(Registry, CreateKey_MakesTheKeysAboveAndReopensExisting) {
  TempRoot root;
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"A\\B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  HKEY sub = nullptr;
  ASSERT_EQ(RegCreateKeyExW(key, nullptr, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(sub);
  RegCloseKey(key);
  HKEY above = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"a\\b", 0, 0, &above), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(above, u"C", 0, 0, &sub), ERROR_SUCCESS);
  RegCloseKey(sub);
  RegCloseKey(above);
  EXPECT_NE(RegistryText(root).find("[HKEY_CURRENT_USER\\A\\B\\C]"), std::string::npos);
}

TEST(Registry, Handles_ClosedOrForeignKeysAreRefused) {
  TempRoot root;
  root.Write("board/registry", kTouchKey);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE", 0, 0, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(key, u"DEVICEMAP", 0, 0, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE", 0, 0, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

}  // namespace
