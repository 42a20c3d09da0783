// Small pieces the parameter screens' pop-ups share beyond their frame: the dealer layout with its
// own pop-up look, the icon call every pop-up button takes (over the pop-up background), and the ids
// of the twelve buttons that the keypad's keys and the weekly schedule's slots share.
// User-interface thread only.
#pragma once

#include "AppGlobals.h"
#include "CBmpButton.h"

inline bool PopupModel9() { return g_dealerId == 9; }

inline void StylePopupButton(CSkinButton& button, int icon, int textStyle, int font) {
  const int kPopupBackground = 258;
  button.SetIconStyle(icon, textStyle, kPopupBackground, font);
}

// Keys "1".."9", "0", "<", "C" of the keypad; slots 1 to 12 of the weekly schedule.
inline constexpr int kTwelveButtonIds[12] = {1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101, 1102, 1103, 1104};
