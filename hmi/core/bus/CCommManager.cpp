#include "CCommManager.h"

#include <new>

#include "CDevice100.h"
#include "CDevice103.h"
#include "CDevice105.h"
#include "CParamDevice.h"
#include "CSerialPort.h"
#include "CSlaveDevice.h"
#include "CUnitDevice.h"
#include "CWifiDevice.h"
#include "ProcessObjects.h"

CCommManager g_commManager QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_COMM_MANAGER);

CCommManager::CCommManager() = default;

CCommManager::~CCommManager() { RemoveAllPorts(); }

void CCommManager::RemoveAllPorts() {
  for (CSerialPort* port : m_ports) delete port;
  m_ports.clear();
  m_lastError = kOk;
}

int CCommManager::OpenPort(int port, int baud, int dataBits, int parity, int stopBits, DWORD periodMs, int extra) {
  m_lastError = kOk;
  if (CSerialPort* existing = FindPort(port)) {
    bool same = existing->BaudRate() == baud && existing->DataBits() == dataBits && existing->Parity() == parity &&
                existing->StopBits() == stopBits && existing->GetPeriod() == periodMs && existing->Extra() == extra;
    return same ? port : Fail(kOtherSettings);
  }
  // A port is named by one byte ("COM1:" .. "COM255:"); a number beyond it (a setting is any int) would
  // open and register the port of its low byte under a number no later call finds.
  if (port < 1 || port > 255) return Fail(kOpenFailed);
  auto* created = new (std::nothrow) CSerialPort(static_cast<BYTE>(port));
  if (!created) return Fail(kNoMemory);
  int open = created->Open(port, baud, static_cast<BYTE>(dataBits), static_cast<BYTE>(parity),
                           static_cast<BYTE>(stopBits), periodMs, extra);
  m_ports.push_back(created);
  return open ? port : Fail(kOpenFailed);
}

int CCommManager::AddDevice(int port, int slaveAddress, int type) {
  m_lastError = kOk;
  CSerialPort* p = FindPort(port);
  if (!p) return Fail(kNoPort);
  if (p->FindDevice(slaveAddress)) return Fail(kAddressTaken);
  CModbusDevice* device = CreateDevice(type, slaveAddress, p);
  if (!device) return Fail(kNoDevice);
  p->AddDevice(device);
  return device->SlaveAddress();
}

CModbusDevice* CCommManager::CreateDevice(int type, int slaveAddress, CSerialPort* port) {
  CModbusDevice* device = nullptr;
  switch (type) {
    case CDevice100::kType: device = new (std::nothrow) CDevice100(port, slaveAddress); break;
    case CUnitDevice::kType: device = new (std::nothrow) CUnitDevice(port, slaveAddress); break;
    case CParamDevice::kType: device = new (std::nothrow) CParamDevice(port, slaveAddress); break;
    case CDevice103::kType: device = new (std::nothrow) CDevice103(port, slaveAddress); break;
    case CDevice105::kType: device = new (std::nothrow) CDevice105(port, slaveAddress); break;
    case CWifiDevice::kType: device = new (std::nothrow) CWifiDevice(port, slaveAddress); break;
    case CSlaveDevice::kType: device = new (std::nothrow) CSlaveDevice(port, slaveAddress); break;
    default: break;
  }
  if (device) device->SetTickCount(slaveAddress);
  return device;
}

void* CCommManager::GetDeviceData(int port, int slaveAddress) {
  CSerialPort* p = FindPort(port);
  CPortDevice* device = p ? p->FindDevice(slaveAddress) : nullptr;
  return device ? device->GetData() : nullptr;
}

void* CCommManager::GetDeviceData(int port, int slaveAddress, int type) {
  CSerialPort* p = FindPort(port);
  CPortDevice* device = p ? p->FindDevice(slaveAddress) : nullptr;
  return device && device->Type() == type ? device->GetData() : nullptr;
}

CSerialPort* CCommManager::FindPort(int port) {
  for (CSerialPort* p : m_ports) {
    if (p->PortNumber() == port) return p;
  }
  return nullptr;
}

int CCommManager::Fail(Error error) {
  m_lastError = error;
  return -static_cast<int>(error);
}

int OpenCommPort(int port, int baud, int dataBits, int parity, int stopBits, DWORD periodMs, int extra) {
  return g_commManager.OpenPort(port, baud, dataBits, parity, stopBits, periodMs, extra);
}

int AddCommDevice(int port, int slaveAddress, int type) { return g_commManager.AddDevice(port, slaveAddress, type); }

void* GetCommDeviceData(int port, int slaveAddress) { return g_commManager.GetDeviceData(port, slaveAddress); }

void* GetCommDeviceData(int port, int slaveAddress, int type) {
  return g_commManager.GetDeviceData(port, slaveAddress, type);
}
