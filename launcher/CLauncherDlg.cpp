#include "CLauncherDlg.h"

#include "BoardLib.h"
#include "CarryOver.h"
#include "Supervision.h"
#include "UpdateFiles.h"

namespace {

const UINT_PTR kTimerId = 1;
const UINT kTimerMs = 1000;
const int kSearchSeconds = 20;
const int kQuestionSeconds = 15;   // the update starts when fewer than 6 remain: 10 s to answer
const int kAnswerDefaultBelow = 6;
const int kUpdateLimitSeconds = 600;
const int kFinishSeconds = 20;
const int kHeartbeatSeconds = 90;
const int kRetrySeconds = 10;
const int kRebootAfterRestarts = 3;
const int kMaxCommand1 = 10;
const LPARAM kHeartbeatAbove = 99;
const int kStopAttempts = 5;
// The timeout text stands from 99 s before the update's limit on; no later step text replaces it.
const int kTimeoutTextFrom = 99;
const int kTimeoutTextTo = 51;
const DWORD kStopPauseMs = 1000;

const UINT kIconWindow = 128;
const UINT kIconTray = 129;
const UINT kTrayMessage = 0x401;
const UINT kTrayMenuExit = 2;

const int IDC_TEXT = 1002;
const int IDC_HIDE = 1001;
const int IDC_EXIT = 1000;

const char16_t kBoardFolder[] = u"\\ResidentFlash\\Quellora";
const char16_t kMainInstance[] = u"Quellora";

}  // namespace

BEGIN_MESSAGE_MAP(CLauncherDlg, CDialog)
  ON_MESSAGE(kTrayMessage, &CLauncherDlg::OnTrayNotify)
  ON_MESSAGE(WM_STATUS_REPORT, &CLauncherDlg::OnStatusReport)
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDC_EXIT, &CLauncherDlg::OnBtnExit)
  ON_BN_CLICKED(IDC_HIDE, &CLauncherDlg::OnBtnHide)
END_MESSAGE_MAP()

CLauncherDlg::CLauncherDlg(CWnd* parent) : CDialog(IDD, parent) {
  m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(kIconWindow) : ::LoadIconW(nullptr, MAKEINTRESOURCEW(kIconWindow));
}

CLauncherDlg::~CLauncherDlg() {
  if (m_boardLib) FreeLibrary(m_boardLib);
}

BOOL CLauncherDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  m_processorType = BoardProcessorType();

  m_trayIcon = NOTIFYICONDATAW{};
  m_trayIcon.cbSize = sizeof(m_trayIcon);
  m_trayIcon.hWnd = m_hWnd;
  m_trayIcon.uID = kIconTray;
  m_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_trayIcon.uCallbackMessage = kTrayMessage;
  m_trayIcon.hIcon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kIconTray));
  Shell_NotifyIconW(NIM_ADD, &m_trayIcon);

  SetTimer(kTimerId, kTimerMs);
  m_step = kStepSearch;
  m_stepCountdown = kSearchSeconds;
  m_answer = -1;
  m_selfUpdate = false;
  m_hideCountdown = 1;
  m_tickCount = 0;
  m_heartbeatCountdown = kHeartbeatSeconds;
  m_command1Count = 0;
  m_restartCount = 0;
  m_libraryLoaded = false;
  m_stagedRuns = false;

  // An update cut off between its two renames left the installation aside: it comes back first.
  RecoverInstallation();
  // A launcher ended while it checked an update leaves the staged program running: it would pass for
  // the installed one, and the next update deletes what the person works with. The installed program
  // starts once it has ended.
  EndStagedProgram();
  if (!m_stagedRuns) Start(kInstalledProgram);
  return TRUE;
}

bool CLauncherDlg::Start(const CString& path) { return StartProgram(path); }

DWORD CLauncherDlg::StagedProgramProcess() const { return FindProgramProcess(kStagedProgram); }

void CLauncherDlg::OnOK() {
  m_hideCountdown = 30;
  ShowWindow(SW_HIDE);
}

void CLauncherDlg::OnCancel() { OnOK(); }

void CLauncherDlg::OnDestroy() {
  KillTimer(kTimerId);
  Shell_NotifyIconW(NIM_DELETE, &m_trayIcon);
  CDialog::OnDestroy();
}

LRESULT CLauncherDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
  if (wParam != kIconTray) return 0;
  switch (lParam) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      ShowWindow(SW_SHOW);
      break;
    case WM_RBUTTONUP: {
      POINT at{};
      GetCursorPos(&at);
      HMENU menu = CreatePopupMenu();
      AppendMenuW(menu, MF_STRING, kTrayMenuExit, u"Exit");
      TrackPopupMenu(menu, TPM_LEFTALIGN, at.x, at.y, 0, m_hWnd, nullptr);
      DestroyMenu(menu);
      OnOK();
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT CLauncherDlg::OnStatusReport(WPARAM wParam, LPARAM lParam) {
  // Only the installed program can hold the single instance while a staged one runs: this report is
  // the staged program's, on its way out.
  if (m_stagedRuns && !StagedCheckStep()) return 0;
  const int32_t whole = static_cast<int32_t>(lParam);
  if (whole > kHeartbeatAbove) m_heartbeatCountdown = kHeartbeatSeconds;
  const uint32_t w = static_cast<uint32_t>(wParam);
  const uint32_t l = static_cast<uint32_t>(whole);
  m_reportedSoftware = static_cast<int>(w & 0xFFFFFFu);
  m_reportedTest = static_cast<int>(w >> 24);
  m_reportedTable = static_cast<int>(l & 0xFFFFFFu);
  const int command = static_cast<int>(l >> 24);
  if (command == STATUS_CMD_COUNT_EXIT) {
    ++m_command1Count;
  } else if (command == STATUS_CMD_RESCAN_UPDATE) {
    m_selfUpdate = true;
    m_stepCountdown = kSearchSeconds;
    m_step = kStepSearch;
  } else {
    m_command1Count = 0;
  }
  if (m_command1Count > kMaxCommand1) {
    EndDialog(IDOK);
    return 0;
  }
  if (m_step >= kStepRun) {
    CString text;
    if (m_reportedTest == 0) {
      text.Format(u"SW:V%d.%02d\r\nDB:V%d.%02d", m_reportedSoftware / 100, m_reportedSoftware % 100,
                  m_reportedTable / 100, m_reportedTable % 100);
    } else {
      text.Format(u"SW:V%d.%02d-T%d\r\nDB:V%d.%02d", m_reportedSoftware / 100, m_reportedSoftware % 100,
                  m_reportedTest, m_reportedTable / 100, m_reportedTable % 100);
    }
    ShowStatus(text);
  }
  return 0;
}

void CLauncherDlg::OnTimer(UINT_PTR id) {
  if (id == kTimerId) {
    ++m_tickCount;
    if (m_hideCountdown == 1) ShowWindow(SW_HIDE);
    if (m_hideCountdown > 0) --m_hideCountdown;

    if (m_stepCountdown <= 0) {
      if (m_step >= kStepCopy && m_step < kStepFinished) GiveUpUpdate();
      if (m_step < kStepRun) EndUpdateAttempt();
      m_step = kStepRun;
    } else {
      --m_stepCountdown;
      if (m_stepCountdown >= kTimeoutTextTo && m_stepCountdown <= kTimeoutTextFrom) ShowTimeout();
    }

    if (!StagedCheckStep()) EndStagedProgram();
    if (m_step >= kStepRun) {
      WatchdogTick();
    } else {
      RunUpdateStep();
    }
    if (m_tickCount % 10 == 1) CloseErrorBoxes();
  }
  CDialog::OnTimer(id);
}

bool CLauncherDlg::QuestionOpen() const { return m_step >= 1 && m_step <= 3 && m_stepCountdown >= kAnswerDefaultBelow; }

void CLauncherDlg::OnBtnExit() {
  if (QuestionOpen()) {
    m_answer = 0;
    m_stepCountdown = 0;
    m_selfUpdate = false;
    m_hideCountdown = 3;
    m_step = kStepRun;
    SetButtons(u"Exit", u"Hide");
    return;
  }
  EndDialog(IDOK);
}

void CLauncherDlg::OnBtnHide() {
  if (QuestionOpen()) {
    m_answer = 1;
    return;
  }
  ShowWindow(SW_HIDE);
}

void CLauncherDlg::SetButtons(const char16_t* exitText, const char16_t* hideText) {
  SetDlgItemText(IDC_EXIT, exitText);
  SetDlgItemText(IDC_HIDE, hideText);
}

void CLauncherDlg::ShowStatus(const CString& text) { SetDlgItemText(IDC_TEXT, text); }

void CLauncherDlg::ShowStepStatus(const CString& text) {
  if (m_stepCountdown > kTimeoutTextFrom) ShowStatus(text);
}

void CLauncherDlg::KeepOnTop() {
  SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CLauncherDlg::EndUpdateAttempt() {
  m_selfUpdate = false;
  m_answer = -1;
}

void CLauncherDlg::GiveUpUpdate() {
  OutputDebugStringW(u"update not installed within its time limit: the installed program starts again");
  ShowWindow(SW_HIDE);
  m_heartbeatCountdown = kHeartbeatSeconds;
  // The installed program starts on this tick's look for a staged one: at once when none runs, else
  // once it has ended.
  m_stagedRuns = true;
}

void CLauncherDlg::AbandonCopy() {
  OutputDebugStringW(u"update not copied whole: it ends, the installed program starts again");
  DeleteTree(kStagingFolder);
  ShowTimeout();
  m_step = kStepFinished;
  m_stepCountdown = kFinishSeconds;
  m_heartbeatCountdown = kHeartbeatSeconds;
  Start(kInstalledProgram);
}

void CLauncherDlg::ShowTimeout() {
  ShowStatus(u"Error!update timeout!please check!");
  SetButtons(u"Exit", u"Hide");
  GetDlgItem(IDC_EXIT)->EnableWindow(TRUE);
  GetDlgItem(IDC_HIDE)->EnableWindow(TRUE);
}

bool CLauncherDlg::StagedCheckStep() const { return m_step >= kStepStartStaged && m_step <= kStepInstall; }

void CLauncherDlg::EndStagedProgram() {
  if (const DWORD staged = StagedProgramProcess()) {
    if (!m_stagedRuns) OutputDebugStringW(u"the staged program of an unfinished update runs: it is closed");
    m_stagedRuns = true;
    CloseProgramWindow(staged);  // while it starts it has no window yet: asked again on the next tick
    return;
  }
  if (!m_stagedRuns) return;
  m_stagedRuns = false;
  // During an update's copy and carry-over the main program stays stopped.
  if (m_step >= kStepCopy && m_step < kStepFinished) return;
  m_heartbeatCountdown = kHeartbeatSeconds;
  Start(kInstalledProgram);
}

// ---- Supervision ----

void CLauncherDlg::WatchdogTick() {
  if (!m_libraryLoaded) {
    m_boardLib = LoadBoardLibrary(kBoardFolder, m_processorType);
    m_libraryLoaded = true;  // never retried, loaded or not
  }
  if (m_heartbeatCountdown > 0) {
    --m_heartbeatCountdown;
    return;
  }
  m_heartbeatCountdown = kRetrySeconds;
  ++m_restartCount;
  if (m_restartCount > kRebootAfterRestarts) CallRebootHot();
  Start(kInstalledProgram);
}

void CLauncherDlg::CallRebootHot() { BoardRebootHot(m_boardLib); }

// ---- Update from removable media ----

void CLauncherDlg::RunUpdateStep() {
  switch (m_step) {
    case kStepSearch:
      SearchStep();
      if (m_step >= 1 && m_step <= 3) QuestionStep();
      break;
    case 1:
    case 2:
    case 3:
      QuestionStep();
      break;
    case kStepCopy:
      // The stopped program must have let go of its files before they are copied.
      WaitForProgramEnd(kMainInstance, ProgramEndWaitMs());
      if (m_selfUpdate) {
        CleanStartUpFolder(kStartUpFolder);
      } else {
        DeleteTree(kStagingFolder);
        CleanStartUpFolder(kStartUpFolder);
        const bool staging = CreateDirectoryW(kStagingFolder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
        // A staged folder with a file missing or cut would pass the check and be installed.
        if (!staging || !CopyTree(m_updateSource, kStagingFolder)) {
          AbandonCopy();
          break;
        }
      }
      m_step = kStepConfigure;
      ShowStepStatus(u"Step 3:Modifying configuration, please wait!");
      break;
    case kStepConfigure:
      // Without the user's settings in the new database the update goes no further; the installation
      // stays as it is and the attempt ends through the time limit.
      if (CarryOverSettings(m_expectedSoftware, m_expectedTable)) m_step = kStepAnnounce;
      break;
    case kStepAnnounce:
      m_step = kStepStartStaged;
      ShowStepStatus(u"Step 4:Check the program, please wait!");
      break;
    case kStepStartStaged:
      Start(kStagedProgram);
      m_heartbeatCountdown = 0;
      m_step = kStepCheck;
      m_reportedSoftware = 0;
      m_reportedTable = 0;
      m_reportedTest = 0;
      break;
    case kStepCheck:
      if (m_heartbeatCountdown != kHeartbeatSeconds) break;
      FindMainProgramWindow(true);
      if (m_reportedSoftware == m_expectedSoftware && m_reportedTable == m_expectedTable) {
        m_step = kStepInstall;
      } else {
        // Refused: the next check needs a report of its own, and the attempt ends at its time limit.
        m_heartbeatCountdown = 0;
        CString refused;
        refused.Format(u"update refused: the staged program reports SW %d DB %d, its database SW %d DB %d",
                       m_reportedSoftware, m_reportedTable, m_expectedSoftware, m_expectedTable);
        OutputDebugStringW(refused);
      }
      ShowStepStatus(u"Step 5:Removing files, please wait!");
      break;
    case kStepInstall: {
      // The checked program must have ended before its folder moves; until then the step waits, and
      // asks it again to close: its window may not have been to be found yet at the check.
      if (!WaitForProgramEnd(kMainInstance, ProgramEndWaitMs())) {
        FindMainProgramWindow(true);
        break;
      }
      const bool installed = InstallStaged();
      m_step = kStepFinished;
      m_stepCountdown = kFinishSeconds;
      SetButtons(u"Exit", u"Hide");
      GetDlgItem(IDC_HIDE)->EnableWindow(TRUE);
      Start(kInstalledProgram);
      ShowStatus(installed ? u"Update Finished!please remove the U Disk!"
                           : u"Update failed!the installed program is kept!");
      break;
    }
    default:
      if (m_step < kStepFinished) break;
      if (m_stepCountdown > 1) {
        KeepOnTop();
      } else {
        GetDlgItem(IDC_EXIT)->EnableWindow(TRUE);
        ShowWindow(SW_HIDE);
        EndUpdateAttempt();
        m_step = kStepRun;
      }
      break;
  }
}

void CLauncherDlg::SearchStep() {
  const char16_t* const media[] = {kMedium1, kMedium2, kMedium3};
  for (int i = 0; i < 3; ++i) {
    if (IsUpdateFolder(media[i])) {
      m_step = i + 1;
      m_updateSource = media[i];
      break;
    }
  }
  if (m_selfUpdate && PathExists(kStagingFolder)) {
    if (m_step == kStepSearch) m_updateSource = kMedium1;
    m_step = 1;
  }
  if (m_step < 1) return;
  CString question;
  question.Format(u"Do you Update Software?Path:%s", static_cast<const char16_t*>(m_updateSource));
  ShowStatus(question);
  ShowWindow(SW_SHOW);
  SetDlgItemText(IDC_EXIT, u"No");
  m_stepCountdown = kQuestionSeconds;
}

void CLauncherDlg::QuestionStep() {
  if (m_stepCountdown < kAnswerDefaultBelow) {
    m_answer = 1;
  } else {
    CString yes;
    yes.Format(u"Yes(%dS)", m_stepCountdown - 5);
    SetDlgItemText(IDC_HIDE, yes);
  }
  if (m_answer != 1) {
    KeepOnTop();
    return;
  }
  m_step = kStepCopy;
  m_stepCountdown = kUpdateLimitSeconds;
  GetDlgItem(IDC_HIDE)->EnableWindow(FALSE);
  GetDlgItem(IDC_EXIT)->EnableWindow(FALSE);
  ShowStatus(u"Step 1:Stop Program!");
  StopMainProgram();
  ShowStatus(u"Step 2:Copying files, please wait!");
}

void CLauncherDlg::StopMainProgram() {
  for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
    if (!FindMainProgramWindow(true)) break;
    Sleep(kStopPauseMs);
  }
}
