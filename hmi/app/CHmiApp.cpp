#include "CHmiApp.h"

#include "AppGlobals.h"
#include "AppHelpers.h"
#include "BoardLib.h"
#include "CControlEngine.h"
#include "CDbAccess.h"
#include "DlgMain.h"
#include "Log.h"
#include "Platform.h"
#include "ProcessObjects.h"

namespace {

const char16_t kInstanceMutex[] = u"Quellora";
const UINT kSocketFailureText = 103;  // "Windows 套接字初始化失败。"
const char16_t kRegistryKey[] = u"应用程序向导生成的本地应用程序";
const char16_t kTouchKey[] = u"HARDWARE\\DEVICEMAP\\TOUCH";
const char16_t kCursorValue[] = u"Dis_Cursor";
const DWORD kCursorHidden = 2;
const char16_t kFontFile[] = u"msyh.ttf";
const char16_t kFontFace[] = u"微软雅黑";
const BYTE kFontQuality = CLEARTYPE_QUALITY;
const int kGreenDealer = 1;
const COLORREF kGreenDealerColor = RGB(0, 100, 95);
const COLORREF kStandardFourthColor = RGB(15, 72, 93);
// The tables the program reads and writes.
const char16_t* const kProgramTables[] = {u"t_System0", u"t_System1", u"t_System2",  u"t_RealHP",
                                          u"t_HPErr",   u"t_Language", u"t_Langenable", nullptr};

// A database that cannot serve runs the terminal on its defaults, keeping nothing: said once at start.
void ReportDatabase() {
  const CString problem = g_db.Problem(kProgramTables);
  if (problem.IsEmpty()) return;
  panel::LogLine("database " + g_db.Path().ToUtf8() + " " + problem.ToUtf8() +
                 ": the terminal runs on its defaults and keeps no settings, faults or logs");
}

}  // namespace

CHmiApp g_app QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_APP);

BEGIN_MESSAGE_MAP(CHmiApp, CWinApp)
END_MESSAGE_MAP()

CHmiApp::CHmiApp() = default;

CHmiApp::~CHmiApp() {
  if (m_socketsStarted) WSACleanup();
}

DealerBitmaps BitmapsForDealer(int dealerId) {
  DealerBitmaps b{};
  switch (dealerId) {
    case 1: b = {{274, 275, 196, 197, 212, 213}}; break;
    case 3: b = {{405, 406, 407, 408, 477, 478}}; break;
    case 9: b = {{303, 304, 305, 306, 326, 322}}; break;
    case 13: b = {{278, 195, 196, 197, 212, 213}}; break;
    case 15: b = {{479, 480, 407, 408, 481, 482}}; break;
    default: b = {{194, 195, 196, 197, 212, 213}}; break;
  }
  b.ids[6] = dealerId == 9 ? 323 : 214;
  b.ids[7] = dealerId == 9 ? 324 : 215;
  return b;
}

BOOL CHmiApp::InitInstance() {
  // One copy only: a second one ends here, before it touches the board.
  HANDLE instance = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(instance);
    return FALSE;
  }
  // The handle stays open for the life of the process.

  if (!m_socketsStarted) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
      AfxMessageBox(kSocketFailureText);
      return FALSE;
    }
    m_socketsStarted = true;
  }

  LoadBoardLib();
  SetRegistryKey(kRegistryKey);
  RegSetDword(kTouchKey, kCursorValue, kCursorHidden);

  ReportDatabase();
  // The parameters must be loaded before the dealer id is read and the screens are built.
  g_engine.Enable(1);
  g_dealerId = GetSystemData()->m_dealerId;

  const CString fontFile = GetAppDir() + kFontFile;
  if (AddFontResourceW(fontFile) > 0) ::SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  MakeAppFonts();
  LoadDealerLook(g_dealerId);
  MakeAppBrushes();

  auto* mainScreen = new DlgMain(nullptr);
  m_pMainWnd = mainScreen;
  mainScreen->DoModal();
  ShutDown(mainScreen, fontFile);
  return FALSE;
}

void MakeAppFonts() {
  LOGFONTW font{};
  for (size_t i = 0; kFontFace[i] != 0 && i + 1 < LF_FACESIZE; ++i) font.lfFaceName[i] = kFontFace[i];
  font.lfCharSet = GB2312_CHARSET;
  font.lfQuality = kFontQuality;
  struct Size {
    LONG tenths;
    CFont* font;
  };
  const Size sizes[] = {{210, &g_font21}, {450, &g_font45}, {180, &g_font18},
                        {150, &g_font15}, {120, &g_font12}, {90, &g_font9}};
  for (const Size& s : sizes) {
    font.lfHeight = s.tenths;
    s.font->CreatePointFontIndirect(&font, nullptr);
  }
}

void LoadDealerLook(int dealerId) {
  const DealerBitmaps ids = BitmapsForDealer(dealerId);
  CBitmap* const bitmaps[] = {&g_bmpMainBg,  &g_bmpPageBg,  &g_bmpDesign2Bg, &g_bmpDesign1Bg,
                              &g_bmpMenuBg1, &g_bmpMenuBg2, &g_bmpSpare,     &g_bmpPopupBg};
  // The spare and pop-up bitmaps first, as on the board; the order is not visible otherwise.
  g_bmpSpare.LoadBitmap(ids.ids[6]);
  g_bmpPopupBg.LoadBitmap(ids.ids[7]);
  for (int i = 0; i < 6; ++i) bitmaps[i]->LoadBitmap(ids.ids[i]);
  g_brushColors[3] = dealerId == kGreenDealer ? kGreenDealerColor : kStandardFourthColor;
}

void MakeAppBrushes() {
  for (int i = 0; i < kBrushCount; ++i) g_brushes[i] = CreateSolidBrush(g_brushColors[i]);
}

void FreeAppLook() {
  for (CFont* f : {&g_font45, &g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) f->DeleteObject();
  for (CBitmap* b : {&g_bmpMainBg, &g_bmpPageBg, &g_bmpDesign2Bg, &g_bmpDesign1Bg, &g_bmpMenuBg1, &g_bmpMenuBg2,
                     &g_bmpSpare, &g_bmpPopupBg}) {
    b->DeleteObject();
  }
  for (HBRUSH& b : g_brushes) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
}

void CHmiApp::ShutDown(DlgMain* mainScreen, const CString& fontFile) {
  g_engine.Enable(0);
  // The 45-point font stays until the process ends.
  for (CFont* font : {&g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) font->DeleteObject();
  for (HBRUSH& brush : g_brushes) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
  FreeBoardLib();
  RemoveFontResourceW(fontFile);
  ::SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  m_pMainWnd = nullptr;
  delete mainScreen;
}

BOOL CHmiApp::PreTranslateMessage(MSG* msg) {
  switch (msg->message) {
    case WM_LBUTTONDOWN:
      IdleCounter = 0;
      m_swallowingTouch = false;
      if (BacklightOn == 0) {
        BacklightOn = 1;
        CallTurnLight(1);
        m_swallowingTouch = true;
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (m_swallowingTouch) return TRUE;
      break;
    case WM_LBUTTONUP:
      if (m_swallowingTouch) {
        m_swallowingTouch = false;
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CWinApp::PreTranslateMessage(msg);
}
