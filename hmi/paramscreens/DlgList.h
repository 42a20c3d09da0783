// The logged-values list: the modal pop-up (template 119) that shows eleven of the running values
// stored with one fault-history entry (the snapshot code, compressor frequency, the two pressures,
// refrigerant and water temperatures, ambient and current), each with its name. It reads only the
// copy it was given; nothing is written. User-interface thread only.
#pragma once

#include "DlgPopup.h"
#include "FaultRecord.h"
#include "Gui.h"

class DlgList : public DlgPopup {
public:
  static constexpr UINT kTemplate = 119;
  enum : int { kList = 1023 };
  static constexpr int kRows = 11;

  explicit DlgList(CWnd* parent = nullptr);
  ~DlgList() override;

  // Keeps the title and a copy of the record for the dialog to show. Always 1.
  int Init(const CString& title, const FaultRecord& record);

  // Name and value of row 0..10 of a record, as the list shows them.
  static CString RowName(int row);
  static CString RowValue(int row, const RealRecord& record);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;

private:
  CString m_caption;
  FaultRecord m_record;
  CListCtrl m_list;
};
