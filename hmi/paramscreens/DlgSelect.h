// The choice list: the modal pop-up (template 110) in which the user picks one entry of a list of
// named values (modes, on/off choices, languages), shown four at a time as radio buttons with page
// buttons that wrap around. The parameter pages reach it through DlgParam::SelectOption. The entry
// the user taps is remembered as an index into the whole list, so OK returns it whichever page is
// showing at that moment. User-interface thread only.
#pragma once

#include "Arrays.h"
#include "CBmpButton.h"
#include "DlgPopup.h"
#include "Gui.h"

class DlgSelect : public DlgPopup {
public:
  static constexpr UINT kTemplate = 110;
  enum : int {
    kOption1 = 1047,  // 1047-1050, one radio group
    kPrevPage = 1087,
    kNextPage = 1088,
  };
  static constexpr int kPerPage = 4;

  explicit DlgSelect(CWnd* parent = nullptr);
  ~DlgSelect() override;

  // Takes the entries and the preselected index (0 when negative or past the list). 0 for an empty
  // list, which prepares nothing and must not be run; else 1. The caption reads "title:entry".
  int Init(const CString& title, const CStringArray& options, int selected);

  // The chosen entry, 0-based in the caller's order; read it after DoModal returned IDOK.
  int GetSelected() const { return m_selected; }
  // 0 when the list fits one page (no page buttons), else the page shown, 1..PageCount().
  int GetPage() const { return m_page; }
  int PageCount() const;
  const CString& GetCaption() const { return m_caption; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  // The entries of the page shown on the four buttons; the chosen one checked when it is on it.
  void ShowOptions();
  void OnPrev();
  void OnNext();
  void OnOption(int position);
  void OnOption1() { OnOption(0); }
  void OnOption2() { OnOption(1); }
  void OnOption3() { OnOption(2); }
  void OnOption4() { OnOption(3); }
  DECLARE_MESSAGE_MAP()

private:
  int FirstShown() const { return m_page == 0 ? 0 : m_page * kPerPage - kPerPage; }

  CString m_caption;
  CStringArray m_options;
  int32_t m_selected = 0;
  int32_t m_page = 0;
  CSkinButton m_choices[kPerPage];
  CSkinButton m_prev;
  CSkinButton m_next;
};
