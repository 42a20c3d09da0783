// Small routines of the main program that several screens and the engine share: the program's
// folder, the touch driver's registry value, durations as "1D2H3M4S" texts and the calendar rules of
// the soft clock. Plain functions without state; any thread may call them.
#pragma once

#include "Platform.h"

// Force flags of FormatDuration: a part is written when it is non-zero or its flag is set.
constexpr unsigned kDurationSeconds = 1;
constexpr unsigned kDurationMinutes = 2;
constexpr unsigned kDurationHours = 4;
constexpr unsigned kDurationDays = 8;

// The CE folder of the running program with its final backslash ("\ResidentFlash\Quellora\").
CString GetAppDir();

// Writes a REG_DWORD into an existing key under HKEY_LOCAL_MACHINE; a missing key is not created.
// True when the value was written.
bool RegSetDword(const char16_t* keyPath, const char16_t* valueName, DWORD value);

// "%dD%dH%dM%dS" with each part left out unless it is non-zero or forced by its flag; truncating
// division, so a negative duration gives negative parts. 0 seconds without flags gives "".
CString FormatDuration(int seconds, unsigned flags);
// FormatDuration of days * 86400 + hours * 3600 + minutes * 60 + seconds, computed in 64 bits.
CString FormatDurationParts(int days, int hours, int minutes, int seconds, unsigned flags);

// Divisible by 400, or by 4 and not by 100.
bool IsLeapYear(int year);
// 28 to 31; -1 for a month outside 1..12.
int DaysInMonth(int year, int month);
