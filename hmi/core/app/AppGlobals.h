// The main program's shared look and state, made by the start-up and used by every screen: six
// fonts of one face, eight background bitmaps, the four brush colours and their brushes, the dealer
// id that chooses layouts, and the backlight state that the waking touch and the main screen's
// timer share. All of it belongs to the user-interface thread.
#pragma once

#include "Gui.h"

// Fonts of the face "微软雅黑" in 45, 21, 18, 15, 12 and 9 points; empty until the start-up makes
// them, and all but the 45-point one deleted again when the main screen ends.
extern CFont g_font45;
extern CFont g_font21;
extern CFont g_font18;
extern CFont g_font15;
extern CFont g_font12;
extern CFont g_font9;

// Backgrounds chosen by dealer id at start-up (background codes 251 to 258).
extern CBitmap g_bmpMainBg;
extern CBitmap g_bmpPageBg;
extern CBitmap g_bmpDesign2Bg;
extern CBitmap g_bmpDesign1Bg;
extern CBitmap g_bmpMenuBg1;
extern CBitmap g_bmpMenuBg2;
extern CBitmap g_bmpSpare;
extern CBitmap g_bmpPopupBg;

constexpr int kBrushCount = 4;
// RGB(15,72,93), RGB(53,97,167), RGB(140,140,140), RGB(15,72,93); the fourth is RGB(0,100,95) for
// dealer id 1. They are also colour codes 259 to 262.
extern COLORREF g_brushColors[kBrushCount];
extern HBRUSH g_brushes[kBrushCount];

// CSystemData::m_dealerId as loaded at start-up.
extern int g_dealerId;

// 1 while the backlight is on; the touch handler switches it on, the main screen's timer off.
extern int BacklightOn;
// Main-screen timer ticks since the last touch (the touch handler clears it).
extern int IdleCounter;
