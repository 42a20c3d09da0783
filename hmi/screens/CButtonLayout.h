// The look of a bitmap button in 24 fields: how its background is erased, its behaviour and check
// state, its two faces (bitmap resource ids, or colours in draw mode 0) with their key colour and
// rectangle, the text colours and caption rectangle, the font code and the second line's rectangle.
// CBmpButton::SetIconStyle builds one from the style codes; CBmpButton::SetLayout copies one in.
#pragma once

#include <cstdint>

#include "Gui.h"

class CButtonLayout {
public:
  enum Behaviour { kPush = 0, kCheck = 1, kRadio = 2 };
  enum EraseMode { kEraseColor = 0, kEraseBitmap = 1 };
  enum DrawMode { kColorFace = 0, kStretched = 1, kFitted = 2 };

  virtual ~CButtonLayout() = default;

  // Every field equal: the same look.
  bool SameAs(const CButtonLayout& other) const;
  // Copies the 24 fields.
  void CopyFrom(const CButtonLayout& other);

  int32_t eraseMode = kEraseColor;
  CBitmap* eraseBitmap = nullptr;  // the parent's background, for erase mode 1
  COLORREF eraseColor = 0;         // 0: nothing painted on erase; a two-line button's normal background
  int32_t behaviour = kPush;
  int32_t checked = 0;             // held down (push), or checked (check, radio)
  int32_t drawMode = kColorFace;   // other than 0, 1 and 2 reads as stretched
  uint32_t normalFace = 0;         // resource id, or COLORREF in draw mode 0; 0 = none
  uint32_t pressedFace = 0;
  COLORREF keyColor = 0;           // 0: the bitmap is drawn opaque
  int32_t bitmapX = 0, bitmapY = 0, bitmapWidth = 0, bitmapHeight = 0;
  COLORREF normalText = 0;
  COLORREF pressedText = 0;        // a two-line button's disabled text
  int32_t captionX = 0, captionY = 0, captionWidth = 0, captionHeight = 0;
  int32_t fontCode = 0;            // 269 to 274 as last applied, 0 = none
  int32_t lineX = 0, lineY = 0, lineWidth = 0, lineHeight = 0;  // the second line
};

inline bool CButtonLayout::SameAs(const CButtonLayout& o) const {
  return eraseMode == o.eraseMode && eraseBitmap == o.eraseBitmap && eraseColor == o.eraseColor &&
         behaviour == o.behaviour && checked == o.checked && drawMode == o.drawMode && normalFace == o.normalFace &&
         pressedFace == o.pressedFace && keyColor == o.keyColor && bitmapX == o.bitmapX && bitmapY == o.bitmapY &&
         bitmapWidth == o.bitmapWidth && bitmapHeight == o.bitmapHeight && normalText == o.normalText &&
         pressedText == o.pressedText && captionX == o.captionX && captionY == o.captionY &&
         captionWidth == o.captionWidth && captionHeight == o.captionHeight && fontCode == o.fontCode &&
         lineX == o.lineX && lineY == o.lineY && lineWidth == o.lineWidth && lineHeight == o.lineHeight;
}

inline void CButtonLayout::CopyFrom(const CButtonLayout& o) {
  eraseMode = o.eraseMode;
  eraseBitmap = o.eraseBitmap;
  eraseColor = o.eraseColor;
  behaviour = o.behaviour;
  checked = o.checked;
  drawMode = o.drawMode;
  normalFace = o.normalFace;
  pressedFace = o.pressedFace;
  keyColor = o.keyColor;
  bitmapX = o.bitmapX;
  bitmapY = o.bitmapY;
  bitmapWidth = o.bitmapWidth;
  bitmapHeight = o.bitmapHeight;
  normalText = o.normalText;
  pressedText = o.pressedText;
  captionX = o.captionX;
  captionY = o.captionY;
  captionWidth = o.captionWidth;
  captionHeight = o.captionHeight;
  fontCode = o.fontCode;
  lineX = o.lineX;
  lineY = o.lineY;
  lineWidth = o.lineWidth;
  lineHeight = o.lineHeight;
}
