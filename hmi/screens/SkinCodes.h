// The numeric codes by which every screen dresses its controls, so that screens never handle
// colours, bitmaps and fonts themselves:
//   251-258 background bitmaps  (main, page, design 2, design 1, menu 1, menu 2, spare, pop-up)
//   259-268 colours             (the four brush colours, then the key colour, near-black, white,
//                                orange, red, blue)
//   269-275 fonts               (9, 12, 15, 18, 21, 45 points; 275 is 9 points again)
//   238-249 text styles         (caption colours and rectangle of a bitmap button)
//   0-237   icon styles         (behaviour, faces and rectangles of a bitmap button)
// The colours, bitmaps and fonts are the start-up's globals, read at the moment a code is used.
#pragma once

#include "CButtonLayout.h"
#include "Gui.h"

constexpr int kFirstBackgroundCode = 251;
constexpr int kLastBackgroundCode = 258;
constexpr int kFirstColorCode = 259;
constexpr int kLastColorCode = 268;
constexpr int kFirstFontCode = 269;
constexpr int kLastFontCode = 275;
constexpr int kMenuBg1Code = 255;
constexpr COLORREF kKeyColor = RGB(192, 192, 255);  // colour 263, transparent in every button face

inline bool IsBackgroundCode(int code) { return code >= kFirstBackgroundCode && code <= kLastBackgroundCode; }
inline bool IsColorCode(int code) { return code >= kFirstColorCode && code <= kLastColorCode; }
inline bool IsFontCode(int code) { return code >= kFirstFontCode && code <= kLastFontCode; }

// The colour of a colour code; 0 outside 259-268.
COLORREF SkinColor(int code);
// The global bitmap of a background code; null outside 251-258.
CBitmap* SkinBitmap(int code);
// The global font of a font code; null outside 269-275.
CFont* SkinFont(int code);
// The font code as it is recorded: 275 becomes 269.
inline int RecordedFontCode(int code) { return code == kLastFontCode ? kFirstFontCode : code; }

// Sets behaviour, draw mode, faces, key colour, bitmap rectangle, text colours and caption
// rectangle of icon style 0-237 into block (unclamped: a zero width or height means "to the edge").
// False, with the block untouched, for a style that sets nothing.
bool ApplyIconStyle(int style, CButtonLayout& block);
// Overrides the text colours and caption rectangle for text styles 238-249 but 245; false, with
// the block untouched, for any other code.
bool ApplyTextStyle(int style, CButtonLayout& block);
