// Two small services of every screen: setting a control's text only when it changed (timer-driven
// screens call it on every tick, and an unchanged text must not repaint), and a control's rectangle
// in its parent's client coordinates. User-interface thread only.
#pragma once

#include "Gui.h"

// Compares the window's text with text exactly (case included); when they differ sets it and
// returns TRUE, else returns FALSE and leaves the window untouched. FALSE for a null window.
BOOL SetTextIfChanged(CWnd* window, const CString& text);
// The control's window rectangle in its parent's client coordinates (screen coordinates when it
// has no parent).
void GetChildRect(CRect& rect, const CWnd* control);
