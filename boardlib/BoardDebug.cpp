#include "BoardDebug.h"

#include <cstdarg>
#include <cstdio>

#include "WinTypes.h"

void BoardDebug(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  char16_t wide[sizeof text];
  size_t i = 0;
  for (; text[i] && i + 1 < sizeof wide; ++i) wide[i] = static_cast<unsigned char>(text[i]);
  wide[i] = 0;
  OutputDebugStringW(wide);
}
