// The pop-ups that set numbers with an up and a down arrow per field (date and time, date, the
// disinfection start): each field has a value display (1060 + i) with its up arrow (1070 + i) and
// down arrow (1080 + i). A press on an arrow steps its field once, with wrap-around; holding it
// repeats the step every 100 ms from the third tick of timer 1 on, until the finger lifts or leaves
// the arrow. Arrow codes: 2i + 1 is field i up, 2i + 2 field i down. The press is seen in the
// dialog's message pre-translation, so the arrow's own button handling still runs.
// User-interface thread only.
#pragma once

#include "DlgPopup.h"
#include "PopupLook.h"

class DlgArrowFields : public DlgPopup {
public:
  static constexpr int kMaxFields = 6;
  enum : int { kFirstDisplay = 1060, kFirstUp = 1070, kFirstDown = 1080 };
  static constexpr UINT kRepeatTimer = 1;
  static constexpr UINT kRepeatMs = 100;

  DlgArrowFields(UINT templateId, CWnd* parent, int fieldCount);
  ~DlgArrowFields() override;

  BOOL PreTranslateMessage(MSG* msg) override;

  // The arrow held now (0 none) and the timer ticks counted since the press.
  int HeldArrow() const { return m_held; }
  int RepeatCount() const { return m_repeat; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Dresses the displays and arrows by dealer id; bigArrows makes the dealer-9 arrows 45 x 45
  // pixels at their own places, the up arrows 9 pixels lower.
  void DressFields(bool bigArrows);
  // Shows every field, clears the hold and starts the repeat timer.
  void StartFields();

  // The number of values field i takes (it wraps within 0 .. count - 1).
  virtual int FieldCount(int field) const = 0;
  // The display text of field i.
  virtual CString FieldText(int field) const = 0;
  // Called after field i stepped, before the displays are rewritten.
  virtual void FieldStepped(int field);

  // Steps by arrow code and rewrites the displays.
  void Step(int arrow);
  void ShowFields();

  void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

  int m_fieldCount;
  int m_fields[kMaxFields] = {};
  int m_held = 0;
  int m_repeat = 0;
  CSkinButton m_displays[kMaxFields];
  CSkinButton m_up[kMaxFields];
  CSkinButton m_down[kMaxFields];

private:
  // The arrow under a screen point, 0 for none; arrows are tested in code order.
  int ArrowAt(POINT screen) const;
  const CSkinButton& Arrow(int code) const;
};

// value reduced into 0 .. count - 1 as an unsigned remainder (a negative value wraps from the top of
// the 32-bit range, as the board computes it); 0 for a count below 1.
int WrapField(int value, int count);
// Formats a two-digit field ("%02d").
CString TwoDigits(int value);
