#include "RunningScenes.h"

#include <mutex>

#include "CControlEngine.h"
#include "CParamDevice.h"
#include "CSerialPort.h"
#include "CSystemData.h"
#include "CUnitDevice.h"
#include "DbTables.h"
#include "FaultTable.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "LineServer.h"
#include "Platform.h"
#include "PtyPair.h"
#include "UnitSimulator.h"

namespace scenes {
namespace {

const int kBusPort = 3;
const char16_t* const kBusPortName = u"COM3";
const int kIndoorAddress = 11;
const int kOutdoorAddress = 2;
const int kPasses = 4;  // the start-up reads of both boards, then regular polls
const int kDebounceSeconds = 10;
const float kFailedSensor = -99.0f;

// A port whose passes the scene runs itself, its thread stopped.
class SteppedPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
  using CSerialPort::OnTick;
};

// Virtual time in which the simulator answers inside every sleep of the drivers, so each exchange
// gets its reply exactly when the driver next looks. The port's own thread may sleep too until it is
// stopped, hence the lock around the serving.
class ServingClock : public panel::VirtualClock {
public:
  ServingClock(unitsim::LineServer& server, uint64_t baseline) : m_server(server), m_baseline(baseline) {}
  void SleepMs(DWORD ms) override {
    Serve();
    panel::VirtualClock::SleepMs(ms);
    Serve();
  }

private:
  void Serve() {
    std::lock_guard<std::mutex> serving(m_serving);
    panel::SerialLineRecord line;
    const uint64_t written = panel::QuerySerialLine(kBusPortName, &line) ? line.bytesWritten : 0;
    m_server.Serve(written - m_baseline);
  }
  unitsim::LineServer& m_server;
  uint64_t m_baseline;
  std::mutex m_serving;
};

CString Text(int textId) { return LangText(textId); }

int FaultIndex(const char16_t* code) {
  for (int i = 0; i < kFaultCount; ++i) {
    if (CString(kFaultDefs[i].code) == code) return i;
  }
  return -1;
}

// Sets or clears the raw condition of fault `index` in the word it is read from.
void SetCondition(CSystemData& r, int index, bool present) {
  const FaultDef& def = kFaultDefs[index];
  uint32_t* word = nullptr;
  switch (def.source) {
    case FaultWord::Word1: word = &r.m_faultWord1; break;
    case FaultWord::Word2: word = &r.m_faultWord2; break;
    case FaultWord::Status: word = &r.m_statusBits; break;
    case FaultWord::None: return;
  }
  const uint32_t bit = 1u << def.sourceBit;
  *word = present ? (*word | bit) : (*word & ~bit);
}

void Step(int64_t second) {
  RunFaultStep(g_engine.m_faultTable, g_engine.m_faultHistory, g_engine.m_systemData, second);
}

}  // namespace

bool ReadSimulatedUnits(const std::function<void(unitsim::UnitSimulator&)>& prepare) {
  unitsim::PtyPair pty;
  if (!pty.Open() || !unitsim::WritePortMap(panel::PanelRoot(), "COM3", pty.SlavePath())) return false;
  unitsim::UnitSimulator sim(kIndoorAddress, kOutdoorAddress);
  if (prepare) prepare(sim);
  unitsim::LineServer server(pty, sim);
  panel::SerialLineRecord line;
  ServingClock clock(server, panel::QuerySerialLine(kBusPortName, &line) ? line.bytesWritten : 0);
  panel::Clock& before = panel::GetClock();
  panel::SetClock(&clock);
  bool read = false;
  {
    SteppedPort port(kBusPort);
    if (port.Open(kBusPort, 19200, 8, 2, 1, 2000, 0) == 1) {
      port.Stop();
      auto* indoor = new CUnitDevice(&port, kIndoorAddress);
      auto* outdoor = new CParamDevice(&port, kOutdoorAddress);
      indoor->SetTickCount(kIndoorAddress);
      outdoor->SetTickCount(kOutdoorAddress);
      port.AddDevice(indoor);
      port.AddDevice(outdoor);
      for (int pass = 0; pass < kPasses; ++pass) port.OnTick();
      CSystemData& r = *GetSystemData();
      for (int second = 0; second < kLinkWindow; ++second) {
        MapIndoorUnit(r, indoor->Block(), false);
        MapOutdoorUnit(r, outdoor->Block(), false);
      }
      read = true;
    }
  }
  panel::SetClock(&before);
  return read;
}

void ResetFaults() {
  FaultTableLock guard(g_engine);
  g_engine.m_systemData.m_faultWord1 = 0;
  g_engine.m_systemData.m_faultWord2 = 0;
  g_engine.m_faultTable.assign(kFaultCount, FaultEntry());
  InitFaultEntries(g_engine.m_faultTable, Text);
  g_engine.m_faultHistory.clear();
}

void RaiseFault(const char16_t* code, int64_t start) {
  const int index = FaultIndex(code);
  if (index < 0) return;
  FaultTableLock guard(g_engine);
  SetCondition(g_engine.m_systemData, index, true);
  for (int64_t second = start - kDebounceSeconds + 1; second <= start; ++second) Step(second);
}

void EndFault(const char16_t* code, int64_t end) {
  const int index = FaultIndex(code);
  if (index < 0) return;
  FaultTableLock guard(g_engine);
  SetCondition(g_engine.m_systemData, index, false);
  Step(end);
}

void FailRoomSensor(int64_t since) {
  CSystemData& r = *GetSystemData();
  r.m_curveCorrectionEnabled = 1;
  r.m_roomTemp = kFailedSensor;
  RaiseFault(u"F13", since);
}

void RecordTwoFaults(int64_t now) {
  ResetFaults();
  RaiseFault(u"P01", now - 90061);
  FailRoomSensor(now - 3725);
  EndFault(u"P01", now - 3600);
}

void LogADay(int64_t now) {
  unitsim::IndoorBoard indoor(kIndoorAddress);
  unitsim::OutdoorBoard outdoor(kOutdoorAddress);
  auto celsius = [](uint16_t raw) { return static_cast<float>((raw - 3000) * 0.01); };
  for (int minute = 1440; minute >= 1; --minute) {
    indoor.Advance(60);
    outdoor.Advance(60);
    RealRecord row;
    row.m_time = now - 60LL * minute;
    row.m_roomTemp = celsius(indoor.Reg(1200));
    row.m_tankTemp = celsius(indoor.Reg(1201));
    row.m_heatCoolTemp = celsius(indoor.Reg(1202));
    row.m_ambientTemp = celsius(outdoor.Reg(2111));
    InsertRealData(row);
  }
}

}  // namespace scenes
