#include "AppHelpers.h"

namespace {

const DWORD kModulePathChars = 256;

}  // namespace

CString GetAppDir() {
  char16_t path[kModulePathChars] = {};
  GetModuleFileNameW(nullptr, path, kModulePathChars);
  CString dir(path);
  int cut = dir.ReverseFind(u'\\');
  return cut < 0 ? CString() : dir.Left(cut + 1);
}

bool RegSetDword(const char16_t* keyPath, const char16_t* valueName, DWORD value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  LONG result = RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

namespace {

CString FormatDuration64(int64_t seconds, unsigned flags) {
  const int64_t days = seconds / 86400;
  const int64_t hours = seconds / 3600 - 24 * days;
  const int64_t minutes = seconds / 60 - 60 * (seconds / 3600);
  const int64_t rest = seconds - 60 * (seconds / 60);
  CString text;
  if (days != 0 || (flags & kDurationDays)) text.AppendFormat(u"%dD", static_cast<int>(days));
  if (hours != 0 || (flags & kDurationHours)) text.AppendFormat(u"%dH", static_cast<int>(hours));
  if (minutes != 0 || (flags & kDurationMinutes)) text.AppendFormat(u"%dM", static_cast<int>(minutes));
  if (rest != 0 || (flags & kDurationSeconds)) text.AppendFormat(u"%dS", static_cast<int>(rest));
  return text;
}

}  // namespace

CString FormatDuration(int seconds, unsigned flags) { return FormatDuration64(seconds, flags); }

CString FormatDurationParts(int days, int hours, int minutes, int seconds, unsigned flags) {
  const int64_t total = int64_t{days} * 86400 + int64_t{hours} * 3600 + int64_t{minutes} * 60 + seconds;
  return FormatDuration64(total, flags);
}

bool IsLeapYear(int year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return -1;
  if (month == 2) return IsLeapYear(year) ? 29 : 28;
  if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
  return 31;
}
