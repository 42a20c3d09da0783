// The parameter screen: the one full-screen page (template 104) through which every setting is seen
// and changed. It shows one of sixteen pages, each cut into sub-pages of at most five rows; a row is
// a wide two-line button with a caption and, mostly, the current value. The frame owns the page and
// sub-page state, the title ("text 381:sub-page/count"), the previous and next buttons, the redraw
// once a second while shown, and the dispatch of row taps. What each page shows and does lives in
// one draw and one edit operation per page, defined in the page's own file beside its rows (Page14.cpp,
// Pages1And2.cpp, ...).
//
// How a page adds its rows: it describes them in its rows function (ParamRows.h: caption, value or
// toggle state, enabled state, and the tap's action with its pop-ups reached through ParamPrompts).
// Its draw operation DrawPageN() hands the page to DrawParamRows, which styles the rows with
// StyleValueButton (caption and value), StyleNameButton (an on/off toggle, drawn highlighted while
// on) or StyleRowButton2 (a command), hides the rest, and gives m_subPageCount; its edit operation
// EditPageN(row) hands the tapped row to TapParamRow. The frame redraws after every tap.
//
// A page whose sub-page count shrinks while a later sub-page shows (the access level dropping under
// it) is drawn on its last sub-page instead. Lives hidden as a member of the main screen for the
// whole run. User-interface thread only; it writes the system record's settings directly.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "CTwoLineButton.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgParam : public DlgBase {
public:
  static constexpr UINT kTemplate = 104;
  enum : int {
    kTitle = 1020,
    kRow1 = 1045,
    kRow2 = 1029,
    kRow3 = 1031,
    kRow4 = 1033,
    kRow5 = 1035,
    kMenuButton = 1088,
    kPrevButton = 1089,
    kNextButton = 1090,
  };
  static constexpr int kRows = 5;
  static constexpr int kPages = 16;
  static constexpr int kTitleText = 381;
  static constexpr UINT kRedrawTimer = 1;
  static constexpr UINT kRedrawMs = 1000;
  // Rows are 400 x 44 pixels, 45 apart, from row 1's template position.
  static constexpr int kRowWidth = 400;
  static constexpr int kRowHeight = 44;
  static constexpr int kRowPitch = 45;
  // The row styles.
  enum RowKind { kValueRow = 0, kToggleRow = 1, kCommandRow = 2 };

  explicit DlgParam(CWnd* parent = nullptr);
  ~DlgParam() override;

  // Opens page (1..16) on sub-page 1 with no row marked, draws it and shows the screen.
  void OpenPage(int page);
  // The redraw: the page's draw operation, then the title and the previous and next buttons.
  void ShowPage();
  using DlgBase::ShowPage;
  // A tap on row 1..5: the page's edit operation, then the redraw.
  void OnRow(int row);

  // The main screen's menu dresses its items again (after the texts were reloaded); nothing when
  // this screen's parent hosts no menu.
  void RedressMenu();

  int GetPage() const { return m_page; }
  int GetSubPage() const { return m_subPage; }
  int GetSubPageCount() const { return m_subPageCount; }
  // Row 1..5 (top to bottom); row 1 for any other number.
  CRowButton& Row(int row);
  CSkinLabel& TitleLabel() { return m_title; }

  // Row styles for the draw operations. Each sets the caption, enables the row when enabled is
  // non-zero (a disabled row cannot be tapped), repaints it when redraw is set and shows it.
  // A value row shows value as its second line; wide widens the value column for dealer 9.
  void StyleValueButton(int row, const CString& caption, const CString& value, int enabled, BOOL redraw = TRUE,
                        int wide = 0);
  // A toggle row, drawn highlighted while on is non-zero.
  void StyleNameButton(int row, const CString& caption, int on, int enabled, BOOL redraw = TRUE);
  // A command row: the caption only.
  void StyleRowButton2(int row, const CString& caption, int enabled, BOOL redraw = TRUE);
  void HideRow(int row);
  // Hides rows first..5.
  void HideRowsFrom(int first);
  // The row's style as last set (kValueRow, kToggleRow or kCommandRow).
  int RowKindOf(int row) const;

  // The choice list over options 1 and 2 and options 3 and 4 when they are not empty, preselecting
  // the field's value. On OK the chosen index (0-based) goes into the field and is returned; on
  // cancel -1, and the field keeps its value.
  int SelectOption(const CString& title, int32_t& field, const CString& option1, const CString& option2,
                   const CString& option3 = CString(), const CString& option4 = CString());

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void OnRow1() { OnRow(1); }
  void OnRow2() { OnRow(2); }
  void OnRow3() { OnRow(3); }
  void OnRow4() { OnRow(4); }
  void OnRow5() { OnRow(5); }
  void OnPrevPage();
  void OnNextPage();
  DECLARE_MESSAGE_MAP()

  // The page operations, one pair per page (page 15 is read-only and has no edit operation). A draw
  // operation sets m_subPageCount and styles or hides the five rows for m_subPage; an edit operation
  // acts on the tapped row (1..5) of m_subPage.
  void DrawPage1();
  void DrawPage2();
  void DrawPage3();
  void DrawPage4();
  void DrawPage5();
  void DrawPage6();
  void DrawPage7();
  void DrawPage8();
  void DrawPage9();
  void DrawPage10();
  void DrawPage11();
  void DrawPage12();
  void DrawPage13();
  void DrawPage14();
  void DrawPage15();
  void DrawPage16();
  void EditPage1(int row);
  void EditPage2(int row);
  void EditPage3(int row);
  void EditPage4(int row);
  void EditPage5(int row);
  void EditPage6(int row);
  void EditPage7(int row);
  void EditPage8(int row);
  void EditPage9(int row);
  void EditPage10(int row);
  void EditPage11(int row);
  void EditPage12(int row);
  void EditPage13(int row);
  void EditPage14(int row);
  void EditPage16(int row);
  // A page with nothing on it yet: one sub-page, every row hidden.
  void DrawEmptyPage();

  int32_t m_subPage = 1;       // 1-based
  int32_t m_subPageCount = 1;  // set by the page's draw operation on every redraw
  int32_t m_page = 1;          // 1..16

private:
  void DrawCurrentPage();
  void EditCurrentPage(int row);
  void ClearRowMarks();
  // Font, caption, enabled state, optional repaint and show: what every row style ends with.
  void FinishRow(int row, const CString& caption, int enabled, BOOL redraw);
  void ApplyRowLook(int row, int kind, int wide, const CString& caption, const CString& value);

  CSkinLabel m_title;
  CRowButton m_rows[kRows];
  int m_rowKinds[kRows] = {};
  CSkinButton m_menu;
  CSkinButton m_prev;
  CSkinButton m_next;
};
