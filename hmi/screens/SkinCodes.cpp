#include "SkinCodes.h"

#include "AppGlobals.h"

namespace {

// Colours 263-268; 259-262 are the brush colours.
const COLORREF kFixedColors[] = {kKeyColor,         RGB(0, 0, 1),   RGB(255, 255, 255),
                                 RGB(255, 64, 0),   RGB(248, 56, 56), RGB(16, 64, 162)};

const int kNone = -1;  // a colour code of "no colour": black

// One row of icon styles: styles first..last take consecutive normal faces from normalFace;
// the pressed face is the same for every style of the row (0 = none).
struct IconRow {
  int first, last;
  int behaviour;
  int drawMode;
  uint32_t normalFace, pressedFace;
  int bx, by, bw, bh;        // bitmap rectangle
  int normalText, pressedText;  // colour codes, kNone = black
  int cx, cy, cw, ch;        // caption rectangle
};

constexpr int P = CButtonLayout::kPush;
constexpr int C = CButtonLayout::kCheck;
constexpr int R = CButtonLayout::kRadio;

// Styles 61-65, 68-79 and 144-149 set nothing.
const IconRow kIconRows[] = {
    {0, 13, P, 1, 198, 0, 0, 0, 60, 60, 265, 265, 3, 55, 0, 0},
    {14, 14, P, 1, 214, 0, 0, 0, 45, 45, kNone, kNone, 0, 0, 0, 0},
    {15, 15, P, 1, 216, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {16, 16, P, 1, 217, 218, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {17, 17, P, 1, 221, 224, 0, 28, 45, 23, kNone, kNone, 0, 0, 0, 0},
    {18, 18, P, 1, 222, 225, 0, 0, 45, 23, kNone, kNone, 0, 0, 0, 0},
    {19, 19, P, 1, 223, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {20, 24, P, 1, 226, 0, 0, 0, 45, 45, kNone, kNone, 0, 0, 0, 0},
    {25, 39, P, 1, 231, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {40, 44, P, 1, 254, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {45, 45, P, 0, RGB(255, 255, 255), RGB(255, 64, 0), 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {46, 60, P, 1, 259, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {66, 67, P, 1, 288, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {80, 94, P, 1, 307, 0, 0, 0, 60, 60, 264, 264, 3, 58, 0, 0},
    {95, 95, P, 2, 323, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {96, 96, P, 1, 325, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {97, 97, P, 1, 326, 326, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {98, 98, P, 2, 330, 0, 7, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {99, 107, P, 2, 331, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {108, 122, P, 1, 340, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {123, 125, P, 2, 363, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {126, 127, P, 1, 366, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {128, 128, P, 2, 368, 0, 5, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {129, 130, P, 1, 369, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {131, 132, P, 1, 371, 0, 2, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {133, 134, P, 1, 371, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {135, 138, P, 1, 373, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {139, 139, P, 2, 377, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {140, 143, P, 1, 378, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {150, 150, P, 1, 409, 0, 0, 0, 60, 60, 265, 265, 3, 58, 0, 0},
    {151, 155, P, 1, 410, 0, 0, 0, 45, 45, kNone, kNone, 0, 0, 0, 0},
    {156, 164, P, 1, 415, 0, 0, 0, 60, 60, 265, 265, 3, 58, 0, 0},
    {165, 165, P, 2, 425, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {166, 167, P, 1, 426, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {168, 168, P, 1, 428, 428, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {169, 169, P, 2, 432, 0, 7, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {170, 178, P, 2, 433, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {179, 193, P, 1, 442, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {194, 196, P, 2, 465, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {197, 198, P, 1, 468, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {199, 199, P, 2, 470, 0, 5, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {200, 203, P, 1, 471, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {204, 207, P, 1, 475, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {208, 208, P, 2, 479, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {209, 211, P, 1, 480, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {212, 217, P, 2, 483, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {218, 219, P, 1, 489, 0, 0, 0, 40, 40, kNone, kNone, 0, 0, 0, 0},
    {220, 222, P, 1, 491, 0, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {223, 223, C, 2, 219, 220, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {224, 224, C, 2, 212, 213, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {225, 225, C, 2, 246, 247, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {226, 226, C, 2, 248, 249, 0, 0, 32, 32, 265, 265, 5, 10, 0, 0},
    {227, 227, C, 2, 340, 341, 0, 0, 32, 32, 265, 265, 5, 10, 0, 0},
    {228, 228, C, 2, 328, 329, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {229, 229, C, 2, 355, 356, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {230, 230, C, 2, 442, 443, 0, 0, 32, 32, 265, 265, 5, 10, 0, 0},
    {231, 231, C, 2, 430, 409, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {232, 232, C, 2, 457, 458, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {233, 233, R, 1, 217, 218, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {234, 234, R, 2, 252, 253, 315, 7, 22, 22, kNone, kNone, 0, 0, 0, 0},
    {235, 235, R, 1, 326, 326, 0, 0, 0, 0, kNone, kNone, 0, 0, 0, 0},
    {236, 236, R, 1, 357, 358, 0, 0, 0, 0, 265, 265, 5, 10, 0, 0},
    {237, 237, R, 2, 361, 362, 315, 7, 22, 22, kNone, kNone, 0, 0, 0, 0},
};

struct TextRow {
  int style;
  int normalText, pressedText;
  int cx, cy, cw, ch;
};

const TextRow kTextRows[] = {
    {238, 259, 260, 0, 0, 0, 0},  {239, 264, 264, 0, 0, 0, 0},  {240, 265, 265, 0, 0, 0, 0},
    {241, 268, 268, 0, 0, 0, 0},  {242, 264, 265, 0, 0, 0, 0},  {243, 265, 264, 0, 0, 0, 0},
    {244, 265, 265, 1, 40, 0, 0}, {246, 266, 267, 41, 1, 0, 0}, {247, 266, 267, 25, 1, 0, 0},
    {248, 267, 265, 0, 0, 0, 0},  {249, 264, 264, 0, 30, 34, 20},
};

COLORREF TextColor(int code) { return code == kNone ? 0 : SkinColor(code); }

}  // namespace

COLORREF SkinColor(int code) {
  if (!IsColorCode(code)) return 0;
  const int index = code - kFirstColorCode;
  return index < kBrushCount ? g_brushColors[index] : kFixedColors[index - kBrushCount];
}

CBitmap* SkinBitmap(int code) {
  CBitmap* const bitmaps[] = {&g_bmpMainBg,  &g_bmpPageBg,  &g_bmpDesign2Bg, &g_bmpDesign1Bg,
                              &g_bmpMenuBg1, &g_bmpMenuBg2, &g_bmpSpare,     &g_bmpPopupBg};
  return IsBackgroundCode(code) ? bitmaps[code - kFirstBackgroundCode] : nullptr;
}

CFont* SkinFont(int code) {
  CFont* const fonts[] = {&g_font9, &g_font12, &g_font15, &g_font18, &g_font21, &g_font45, &g_font9};
  return IsFontCode(code) ? fonts[code - kFirstFontCode] : nullptr;
}

namespace {

// The text colours and the caption rectangle, which icon rows and text rows both carry.
template <typename Row>
void ApplyCaption(const Row& row, CButtonLayout& block) {
  block.normalText = TextColor(row.normalText);
  block.pressedText = TextColor(row.pressedText);
  block.captionX = row.cx;
  block.captionY = row.cy;
  block.captionWidth = row.cw;
  block.captionHeight = row.ch;
}

}  // namespace

bool ApplyIconStyle(int style, CButtonLayout& block) {
  for (const IconRow& row : kIconRows) {
    if (style < row.first || style > row.last) continue;
    block.behaviour = row.behaviour;
    block.drawMode = row.drawMode;
    // Colour faces (draw mode 0) are the same for the whole row; bitmap faces are consecutive ids.
    block.normalFace = row.drawMode == CButtonLayout::kColorFace ? row.normalFace
                                                                 : row.normalFace + static_cast<uint32_t>(style - row.first);
    block.pressedFace = row.pressedFace;
    block.keyColor = row.drawMode == CButtonLayout::kColorFace ? 0 : kKeyColor;
    block.bitmapX = row.bx;
    block.bitmapY = row.by;
    block.bitmapWidth = row.bw;
    block.bitmapHeight = row.bh;
    ApplyCaption(row, block);
    return true;
  }
  return false;
}

bool ApplyTextStyle(int style, CButtonLayout& block) {
  for (const TextRow& row : kTextRows) {
    if (row.style != style) continue;
    ApplyCaption(row, block);
    return true;
  }
  return false;
}
