// The heat pump's controller: one static global (g_engine) that owns the system record and the
// parameter table, and whose worker thread runs the control once per wall-clock second.
// InitParams runs on the GUI thread at start-up (before the thread starts) and on the engine thread
// for a profile request; ServeParamRequest runs at the end of each engine cycle. Neither takes a lock;
// the database calls borrow pooled connections.
// It also owns the fault table and history, the pointers to the unit controllers' data blocks and
// the watchdog. Init runs on the GUI thread before the thread starts; the cycle (OnTick) runs on
// the engine thread. The fault table and history are also read and changed by the screens: every
// such access holds the fault lock (FaultLock), which the engine holds around its fault step.
#pragma once

#include <cstdint>
#include <vector>

#include "CSystemData.h"
#include "CWatchdog.h"
#include "CWorkThread.h"
#include "FaultEntry.h"
#include "ParamTable.h"

struct IndoorBlock;
struct OutdoorBlock;
struct RealRecord;
struct WifiBlock;

class CControlEngine : public CWorkThread {
public:
  CControlEngine();
  ~CControlEngine() override;

  // Sets the version fields, loads t_System<n> over the record and, when the stored table version
  // is not 110, rebuilds all three parameter tables from the factory defaults. Clears the request
  // word. Always 1.
  int InitParams(int n);
  // Acts on CSystemData::m_paramRequest: 1/2 load profile 1/2, 3/4 save the stored values as profile
  // 1/2, anything else saves the changed settings; the word ends at 0.
  void ServeParamRequest();
  // on = 1: when not yet enabled, Init, then the 500 ms thread runs. on = 0: when enabled, the
  // thread stops after its current pass. Returns the enabled flag.
  int Enable(int on);
  // Start-up on the GUI thread: constants, clock, parameters, texts, unit bus and its two devices,
  // link statistics at 100 %, fault table. Always 1.
  int Init();
  // One pass of the engine thread; the cycle runs once per new wall-clock second.
  void OnTick() override;

  // The per-second inputs: unit mapping, link statistics, fault words, minute log, fault step. 1.
  int ReadInputs();

  // The WiFi module on its own line: COM1, address 1.
  static const int kWifiPort = 1;
  static const int kWifiAddress = 1;
  // Seconds of the window in which the engine asks the module for its settings and copies them.
  static const int kWifiStartWindow = 180;
  // The WiFi step of each engine second: the device on or off, its link state into the record; in the
  // start-up window the module's settings into the record; after it the server's settings applied, the
  // upload blocks refilled, or the record-table job. Each returns 0.
  int WifiExchange();
  // The server's writes of unit 1, each within its accepted range (bounds that are settings read as tested).
  int ApplyRemoteSettings();
  // Upload block 1 (status) and block 2 (settings) of unit 1, at each tenth second; a send is asked for when
  // a word changed, or once a minute (block 1 at second 0, block 2 at second 30). Block 1 is first filled
  // once both units have been heard (UnitsHeard); until then the link is told of no unit to upload.
  int ReportStatus();
  int ReportState();
  // Columns 1 to 27 of a log row from the record.
  void MakeSnapshot(RealRecord& row) const;
  // Fills the 60 fault entries from the language texts and reloads the history from t_HPErr.
  // Takes the fault lock (the language page calls it from the GUI thread).
  void BuildFaultTable();

  // The lock of the fault table and history: held by the engine's fault step and by BuildFaultTable;
  // screens hold it (FaultTableLock) while they read entries or clear the history.
  CRITICAL_SECTION& FaultLock() { return m_faultLock; }
  // Copies taken under the lock, and the history page's clearing.
  std::vector<FaultEntry> CopyFaultTable();
  std::vector<FaultEntry> CopyFaultHistory();
  void ClearFaultHistory();

  CSystemData m_systemData;          // the system record
  int64_t m_nextLogTime = 0;         // seconds of the next minute-log row
  std::vector<FaultEntry> m_faultTable;    // the 60 faults, index = fault number
  std::vector<FaultEntry> m_faultHistory;  // ended faults, newest first, at most 100
  ParamTable m_paramTable;
  IndoorBlock* m_indoorBlock = nullptr;    // data blocks of the bus devices; null when not added
  OutdoorBlock* m_outdoorBlock = nullptr;
  WifiBlock* m_wifiBlock = nullptr;
  CWatchdog m_watchdog;

private:
  void RunRecordJob();

  bool m_statusFilled = false;  // upload block 1 has been filled from the units' values

  CRITICAL_SECTION m_faultLock;
};

// Holds the engine's fault lock for a scope.
class FaultTableLock {
public:
  explicit FaultTableLock(CControlEngine& engine) : m_guard(engine.FaultLock()) {}

private:
  CriticalSectionLock m_guard;
};

extern CControlEngine g_engine;
