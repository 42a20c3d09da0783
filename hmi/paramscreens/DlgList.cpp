#include "DlgList.h"

#include "AppGlobals.h"
#include "LangTexts.h"

namespace {

// Name text ids of the eleven rows.
const int kNames[DlgList::kRows] = {153, 186, 191, 192, 193, 194, 180, 181, 188, 195, 201};
// The snapshot code's texts: codes 0, 1 and 2, then any other.
const int kCodeTexts[] = {154, 155, 156, 157};

CString Format1(const char16_t* format, float value) {
  CString text;
  text.Format(format, static_cast<double>(value));
  return text;
}

}  // namespace

DlgList::DlgList(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgList::~DlgList() = default;

int DlgList::Init(const CString& title, const FaultRecord& record) {
  m_caption = title;
  m_record = record;
  return 1;
}

CString DlgList::RowName(int row) { return row >= 0 && row < kRows ? LangText(kNames[row]) : CString(); }

CString DlgList::RowValue(int row, const RealRecord& r) {
  CString text;
  switch (row) {
    case 0:
      return LangText(kCodeTexts[r.m_snapshotCode < 3 ? r.m_snapshotCode : 3]);
    case 1:
      text.Format(u"%dHz", static_cast<int>(r.m_compressorHz));
      return text;
    case 2: return Format1(u"%.1fBar", r.m_pressureA);
    case 3: return Format1(u"%.1fBar", r.m_pressureB);
    case 4: return Format1(u"%.1f℃", r.m_outdoorTemp2113);
    case 5: return Format1(u"%.1f℃", r.m_outdoorTemp2114);
    case 6: return Format1(u"%.1f℃", r.m_outletTemp);
    case 7: return Format1(u"%.1f℃", r.m_inletTemp);
    case 8: return Format1(u"%.1f℃", r.m_ambientTemp);
    case 9: return Format1(u"%.1f℃", r.m_outdoorTemp2112);
    case 10: return Format1(u"%.1fA", r.m_current);
    default: return CString();
  }
}

void DlgList::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  DDX_Control(dx, kList, m_list);
}

BOOL DlgList::OnInitDialog() {
  DlgPopup::OnInitDialog();
  m_title.SetWindowText(m_caption);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // Column 0 is a 1-pixel stub: the names stand right-aligned next to their values.
  m_list.InsertColumn(0, u"", LVCFMT_RIGHT, 1);
  m_list.InsertColumn(1, u"", LVCFMT_RIGHT, 280);
  m_list.InsertColumn(2, u"", LVCFMT_LEFT, 80);
  m_list.SetFont(&g_font9);
  for (int row = 0; row < kRows; ++row) {
    m_list.InsertItem(row, u"");
    m_list.SetItemText(row, 1, RowName(row));
    m_list.SetItemText(row, 2, RowValue(row, m_record));
  }
  return TRUE;
}
