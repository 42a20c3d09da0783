// The weekly schedule pop-up (template 117): for each weekday a 24-bit mask of hours (bit h = hour h
// on), edited in twelve 2-hour slots; slot k stands for bits 2(k-1) and 2(k-1)+1. Seven radio
// buttons choose the day shown (days 1 to 6, then day 0 = Sunday); twelve check buttons are its
// slots. Bits 24..31 of a mask are never touched. After IDOK the caller reads the seven masks.
// User-interface thread only.
#pragma once

#include <cstdint>

#include "DlgPopup.h"
#include "PopupLook.h"

class DlgWeekTime : public DlgPopup {
public:
  static constexpr UINT kTemplate = 117;
  static constexpr int kSlots = 12;

  explicit DlgWeekTime(CWnd* parent = nullptr);
  ~DlgWeekTime() override;

  // Stores the title and the masks of days 0 to 6 (Sunday first). Returns 1.
  int Init(const CString& title, const int32_t masks[7]);
  int32_t Mask(int day) const { return day >= 0 && day < 7 ? m_masks[day] : 0; }
  int ShownDay() const { return m_shownDay; }

  // Shows day d (1..6; any other number shows day 0): slot k checked when bit 2(k-1) is set.
  void ShowDay(int day);
  // Writes slot k's (1..12) check state into both of its bits of the shown day's mask.
  void OnSlot(int slot);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnDayButton(UINT id);
  void OnSlotButton(UINT id);
  DECLARE_MESSAGE_MAP()

  int ShownIndex() const { return m_shownDay >= 1 && m_shownDay <= 6 ? m_shownDay : 0; }

  CString m_caption;
  int m_shownDay = 1;
  int32_t m_masks[7] = {};
  CSkinButton m_dayButtons[7];  // days 1 to 6, then day 0
  CSkinButton m_slotButtons[kSlots];
};
