// The picture label: a static text drawn over its own piece of a full-screen picture, over a face
// stretched transparently onto the piece of a background under it, over a solid colour, or over
// nothing. Screens dress it with SetSkin from the numeric codes (SkinCodes.h) and set its text with
// SetTextIfChanged. User-interface thread only.
#pragma once

#include "Gui.h"

class CPicStatic : public CStatic {
public:
  CPicStatic() = default;
  ~CPicStatic() override;

  // Picture and background bitmap (either may be null); redraw non-zero repaints the whole label.
  void SetBitmaps(CBitmap* picture, BOOL redraw, CBitmap* background);
  // No picture, a solid fill (0 = none).
  void SetFillColor(COLORREF color, BOOL redraw);
  // Text colour code 259-268, background code 251-258 (255: the menu picture over the main
  // background) or colour code 259-268, font code 269-275; a code outside its range leaves that part
  // as it is. Never repaints by itself.
  void SetSkin(int textColorCode, int backgroundCode, int fontCode);

  CBitmap* GetPicture() const { return m_picture; }
  CBitmap* GetBackgroundBitmap() const { return m_picture ? m_backgroundBitmap : nullptr; }
  COLORREF GetFillColor() const { return m_picture ? 0 : m_fillColor; }
  COLORREF GetTextColor() const { return m_textColor; }
  CFont* GetSkinFont() const { return m_font; }

protected:
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  CFont* m_font = nullptr;              // null: the control's own font
  CBitmap* m_picture = nullptr;
  // With a picture, the bitmap under it; without, a fill colour (0 = none). One field on the board.
  CBitmap* m_backgroundBitmap = nullptr;
  COLORREF m_fillColor = 0;
  COLORREF m_textColor = 0;
};

// The labels that dialogs hold as members.
class CSkinLabel : public CPicStatic {};
