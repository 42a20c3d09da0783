// What both board libraries share: their exported-name marker and their debug output.
#pragma once

// An entry point: plain C name, visible to the programs' name look-up. Everything else is hidden.
#define BOARD_EXPORT extern "C" __attribute__((visibility("default")))

// Formats an ASCII text as printf does and writes it to the platform's debug output (at most 255
// characters; longer texts are cut).
void BoardDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));
