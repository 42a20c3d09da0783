#include "CControlEngine.h"
#include "ProcessObjects.h"
#include "RecordTable.h"

namespace {

const DWORD kIdleSleepMs = 20;
const int kSoftwareVersion = 205;  // V2.05
const int kTestNumber = 3;
const int kRatedTestCounterStart = 1000000;
const int kPidHoldStart = 180;

}  // namespace

CControlEngine g_engine QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_ENGINE);

CControlEngine::CControlEngine() : CWorkThread(kIdleSleepMs) { InitializeCriticalSection(&m_faultLock); }

CControlEngine::~CControlEngine() {
  // The thread is stopped before the members it works on go away.
  Stop();
  m_watchdog.Enable(0);
  DeleteCriticalSection(&m_faultLock);
}

int CControlEngine::InitParams(int n) {
  CSystemData& d = m_systemData;
  d.m_softwareVersion = kSoftwareVersion;
  d.m_dataVersion = ParamTable::kDataVersion;
  d.m_testNumber = kTestNumber;
  m_paramTable.SyncDb(n, 0);
  g_recordTable[0].value1 = 0;  // the WiFi step's record job reads it
  g_recordTable[0].value2 = 0;
  // A missing row for ID 2 leaves the build's default (0 at start-up), so that case rebuilds too.
  if (d.m_databaseVersion != d.m_dataVersion) {
    m_paramTable.Build(d);
    for (int table = 0; table < 3; ++table) m_paramTable.SyncDb(table, 1, 1);
  }
  if (d.m_wifiPresent) d.m_wifiStartCountdown = kWifiStartWindow;
  d.m_paramRequest = 0;
  d.m_ratedTestCounter = kRatedTestCounterStart;
  d.m_pidHold = kPidHoldStart;
  return 1;
}

void CControlEngine::ServeParamRequest() {
  CSystemData& d = m_systemData;
  // One read: the screens write the word from their own thread.
  const int request = d.m_paramRequest;
  switch (request) {
    case 1:
    case 2:
      InitParams(request);  // clears the word itself
      return;
    case 3:
    case 4:
      m_paramTable.SyncDb(request - 2, 1, 0);
      break;
    default:
      m_paramTable.SaveChanged();
      break;
  }
  d.m_paramRequest = 0;
}
