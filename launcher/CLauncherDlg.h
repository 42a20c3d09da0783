// The launcher's one dialog (template 102), hidden behind its tray icon. Its one-second timer drives
// everything: while the step is below 100 one step of the update from removable media, in run mode one
// tick of the supervision of the main program (started at once, restarted when its status message
// stays away for 90 s, the board rebooted after repeated restarts); every tenth tick the system's error
// boxes are closed. The main program's status message arrives as WM_STATUS_REPORT. GUI thread only.
#pragma once

#include "Gui.h"
#include "Platform.h"

class CLauncherDlg : public CDialog {
public:
  enum { IDD = 102 };
  // Steps: 0 searching, 1-3 question (medium 1-3; 1 also for the self-update), 4-10 update, 100 run.
  enum { kStepSearch = 0, kStepCopy = 4, kStepConfigure = 5, kStepAnnounce = 6, kStepStartStaged = 7,
         kStepCheck = 8, kStepInstall = 9, kStepFinished = 10, kStepRun = 100 };

  explicit CLauncherDlg(CWnd* parent = nullptr);
  ~CLauncherDlg() override;

  BOOL OnInitDialog() override;
  // Enter, Esc and WM_CLOSE only hide the window; the dialog ends through "Exit" alone.
  void OnOK() override;
  void OnCancel() override;

  // State, for the tests and the screenshots.
  int Step() const { return m_step; }
  int StepCountdown() const { return m_stepCountdown; }
  int Answer() const { return m_answer; }
  bool SelfUpdate() const { return m_selfUpdate; }
  int HeartbeatCountdown() const { return m_heartbeatCountdown; }
  int RestartCount() const { return m_restartCount; }
  int Command1Count() const { return m_command1Count; }
  int ExpectedSoftware() const { return m_expectedSoftware; }
  int ExpectedTable() const { return m_expectedTable; }
  const CString& UpdateSource() const { return m_updateSource; }
  bool LibraryLoaded() const { return m_libraryLoaded; }

protected:
  // Starts a program; the tests count the starts through it.
  virtual bool Start(const CString& path);
  // Bound of the wait for a stopped program to end before its folder is copied or replaced.
  virtual DWORD ProgramEndWaitMs() const { return 10000; }
  // The process of a program running from the staging folder, 0 when none runs.
  virtual DWORD StagedProgramProcess() const;

  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
  LRESULT OnStatusReport(WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT_PTR id);
  void OnBtnExit();
  void OnBtnHide();
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

private:
  bool QuestionOpen() const;
  void SetButtons(const char16_t* exitText, const char16_t* hideText);
  void ShowStatus(const CString& text);
  // A step's text, unless the update's timeout text stands already.
  void ShowStepStatus(const CString& text);
  void KeepOnTop();
  // Ends an update attempt: the self-update flag and the answer go back to their start values, so the
  // next attempt neither reuses a stale staging folder nor starts without asking.
  void EndUpdateAttempt();
  // The time limit ended an accepted update before its install: the main program, stopped for it,
  // starts again at once (once the staged one has ended) instead of after supervision's countdown, and
  // the window hides.
  void GiveUpUpdate();
  // A file of the update was not copied whole: the attempt ends at once with the timeout text, what was
  // staged is removed, and the installation, never touched, starts again.
  void AbandonCopy();
  void ShowTimeout();
  // Steps 7-9: the staged program runs for its check.
  bool StagedCheckStep() const;
  // Outside its check a program from the staging folder is never the controller (a launcher ended
  // during an update may have left it running, or starting): it is asked to close on every tick until
  // it has ended, and then the installed program starts.
  void EndStagedProgram();
  void WatchdogTick();
  void CallRebootHot();
  void RunUpdateStep();
  void SearchStep();
  void QuestionStep();
  void StopMainProgram();

  CString m_updateSource;
  HICON m_hIcon = nullptr;
  int m_step = kStepSearch;
  int m_stepCountdown = 20;
  int m_answer = -1;
  bool m_selfUpdate = false;
  int m_hideCountdown = 1;
  uint32_t m_tickCount = 0;
  int m_expectedSoftware = 0;
  int m_expectedTable = 0;
  int m_reportedSoftware = 0;
  int m_reportedTest = 0;
  int m_reportedTable = 0;
  int m_heartbeatCountdown = 90;
  int m_command1Count = 0;
  int m_restartCount = 0;
  bool m_libraryLoaded = false;
  // A staged program ran at the last look outside its check (or the check was just given up): its
  // reports are no heartbeat, and the installed program starts once none runs.
  bool m_stagedRuns = false;
  HMODULE m_boardLib = nullptr;
  DWORD m_processorType = 0;
  NOTIFYICONDATAW m_trayIcon{};
};
