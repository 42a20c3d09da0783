// The two-line button of the parameter rows: a bitmap button over a solid background (the erase
// colour, or the pressed background while checked) with a caption and a second text line (the
// value). Highlight chooses the face (a toggle row drawn pressed while its setting is on); the
// check state chooses only the background. The owner sets the second line, the hide flag and the
// pressed background directly and then redraws. User-interface thread only.
#pragma once

#include "CBmpButton.h"

class CTwoLineButton : public CBmpButton {
public:
  CTwoLineButton() = default;
  ~CTwoLineButton() override;

  void SetHighlight(int on, BOOL redraw);
  int GetHighlight() const { return m_highlight; }

  CString m_secondLine;             // drawn in the layout's second-line rectangle
  int m_hideSecondLine = 0;         // non-zero: only the caption is drawn
  COLORREF m_pressedBackground = 0; // the background while checked

protected:
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void DrawCaption(CDC* dc, COLORREF color) override;
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

private:
  int m_highlight = 0;
};

// The parameter screen's rows.
class CRowButton : public CTwoLineButton {};
