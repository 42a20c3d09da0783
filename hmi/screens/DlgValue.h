// The value editor: the modal pop-up (template 111) in which the user changes one integer with "+"
// and "-" inside fixed limits, a step per press and, while a button is held, a step every 100 ms from
// the third timer tick on. A two-value mode switches between two related values (a first- and a
// second-level set point) and edits either; switching restarts the other value from where it was
// at opening. Callers construct one on the stack, call Setup or Setup2, run DoModal and, on IDOK,
// read Value() (and Selected()) and write it back themselves: the dialog never touches their field.
// EditValue and EditValue2 do all of that. User-interface thread only.
#pragma once

#include <cstdint>
#include <optional>

#include "DlgPopup.h"

class DlgValue : public DlgPopup {
public:
  static constexpr UINT kTemplate = 111;
  enum : int { kDisplay = 1054, kPlus = 1047, kMinus = 1048, kSelectFirst = 1087, kSelectSecond = 1088 };
  // Hold repetition: timer 1 every 100 ms; the held step starts at this repeat count.
  static constexpr UINT kRepeatTimer = 1;
  static constexpr UINT kRepeatMs = 100;
  static constexpr int32_t kRepeatStart = 2;

  explicit DlgValue(CWnd* parent = nullptr);
  ~DlgValue() override;

  // One value. Limits given the wrong way round are put in order; value is clamped into them
  // (above max -> max, else below min -> min). Caption "title:value unit". Returns 1.
  int Setup(const CString& title, int32_t value, int32_t min, int32_t max, const CString& unit, int32_t step);
  // Two values, each clamped to its own limits; editing starts on the first (Selected() 1).
  int Setup2(const CString& title1, int32_t value1, int32_t min1, int32_t max1, const CString& title2,
             int32_t value2, int32_t min2, int32_t max2, const CString& unit, int32_t step);

  // The value being edited, its limits and caption; Selected() 0 in one-value mode, else 1 or 2.
  int32_t Value() const { return m_value; }
  int32_t Min() const { return m_min; }
  int32_t Max() const { return m_max; }
  int32_t Step() const { return m_step; }
  int Selected() const { return m_selected; }
  const CString& Caption() const { return m_caption; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // Presses anywhere in the dialog, the buttons included, reach the step logic first.
  BOOL PreTranslateMessage(MSG* msg) override;
  // Points in screen coordinates. A press on "+" or "-" steps once and starts a hold.
  void OnPress(CPoint screenPoint);
  void OnRelease();
  void OnMove(CPoint screenPoint);
  void OnTimer(UINT_PTR id);
  void OnSelect1();
  void OnSelect2();
  DECLARE_MESSAGE_MAP()

private:
  // Adds delta (clamped to the limits) and shows the value.
  void StepBy(int64_t delta);
  void ShowValue();
  void ShowCaption();
  void Select(int which);
  bool Inside(const CWnd& button, CPoint screenPoint) const;

  int m_selected = 0;
  CString m_caption;
  int32_t m_value = 0;
  int32_t m_max = 0;
  int32_t m_min = 0;
  CString m_caption1;
  int32_t m_value1 = 0;
  int32_t m_max1 = 0;
  int32_t m_min1 = 0;
  CString m_caption2;
  int32_t m_value2 = 0;
  int32_t m_max2 = 0;
  int32_t m_min2 = 0;
  int32_t m_step = 1;
  int32_t m_repeatDirection = 0;  // 0 none, 1 "+" held, 2 "-" held
  int32_t m_repeatCount = 0;

  CSkinButton m_display;
  CSkinButton m_plus;
  CSkinButton m_minus;
  CSkinButton m_selectFirst;
  CSkinButton m_selectSecond;
};

// Runs the editor on one field and, on OK, writes the edited value into it and returns it. Empty
// when the user cancelled; the field is left alone (a chosen -1 is a value like any other).
std::optional<int32_t> EditValue(CWnd* parent, const CString& title, int32_t& field, int32_t min, int32_t max,
                                 const CString& unit, int32_t step);
// The same over two fields, unit "℃" and step 1: on OK the value goes into the field that was
// selected last, and is returned.
std::optional<int32_t> EditValue2(CWnd* parent, const CString& title1, int32_t& field1, int32_t min1, int32_t max1,
                                  const CString& title2, int32_t& field2, int32_t min2, int32_t max2);
