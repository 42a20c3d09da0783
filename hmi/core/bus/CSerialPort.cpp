#include "CSerialPort.h"

#include <cstring>
#include <string>

namespace {

const DWORD kQueueSize = 8096;
const DWORD kDeviceGapMs = 20;  // the units' boards need 20 ms between the end of one poll and the next
const DWORD kEmptyReadSleepMs = 20;
const int kEmptyReads = 16;
const DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
const DWORD kPurgeTransmit = PURGE_TXABORT | PURGE_TXCLEAR;

const char16_t* TracePrefix(int direction) {
  switch (direction) {
    case CSerialPort::kReply: return u"应答:";
    case CSerialPort::kReadRequest: return u"\r\n读:";
    case CSerialPort::kWriteRequest: return u"\r\n写:";
    default: return u"";
  }
}

}  // namespace

CSerialPort::CSerialPort(BYTE portNumber) : CWorkThread(20), m_portNumber(portNumber) {
  InitializeCriticalSection(&m_busLock);
  InitializeCriticalSection(&m_deviceLock);
  InitializeCriticalSection(&m_traceLock);
}

CSerialPort::~CSerialPort() {
  Stop();  // first: the thread may be inside a device's poll, even on a line that never opened
  Close();
  DestroyDevices();
  DeleteCriticalSection(&m_traceLock);
  DeleteCriticalSection(&m_deviceLock);
  DeleteCriticalSection(&m_busLock);
}

int CSerialPort::Open(int port, int baud, BYTE dataBits, BYTE parity, BYTE stopBits, DWORD periodMs, int extra) {
  Close();
  m_extra = extra;
  m_open = 0;
  m_portNumber = static_cast<BYTE>(port);
  m_baudRate = baud;
  m_dataBits = dataBits;
  m_parity = parity;
  m_stopBits = stopBits;

  CString name;
  name.Format(u"COM%d:", static_cast<int>(m_portNumber));
  HANDLE line = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (line == INVALID_HANDLE_VALUE) {
    m_lastError = GetLastError();
  } else {
    {
      CriticalSectionLock bus(m_busLock);
      m_handle = line;
    }
    bool ok = SetCommMask(line, EV_RXCHAR) && SetupComm(line, kQueueSize, kQueueSize) &&
              PurgeComm(line, PURGE_TXCLEAR | PURGE_RXCLEAR);
    // e: three character times without the start bit, in whole milliseconds.
    DWORD e = baud > 0 ? static_cast<DWORD>(((parity > 0 ? 1 : 0) + dataBits + stopBits) * 3000 / baud) : 0;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = e + 2;
    timeouts.WriteTotalTimeoutConstant = 10 * e + 20;
    ok = ok && SetCommTimeouts(line, &timeouts);

    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    GetCommState(line, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = dataBits;
    if (parity <= 2) dcb.Parity = parity;
    dcb.StopBits = stopBits == 1 ? ONESTOPBIT : TWOSTOPBITS;
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fNull = 0;
    SetCommState(line, &dcb);  // a line that refuses its settings still counts as open
    PurgeComm(line, PURGE_TXCLEAR | PURGE_RXCLEAR);
    if (ok) m_open = 1;
  }

  Start();
  SetPeriod(periodMs);
  SetEnabled(1);
  return m_open;
}

int CSerialPort::SetLine(int baud, BYTE dataBits, BYTE parity, BYTE stopBits) {
  CriticalSectionLock bus(m_busLock);
  if (!m_open) return 0;
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  if (!GetCommState(m_handle, &dcb)) return 0;
  dcb.BaudRate = static_cast<DWORD>(baud);
  dcb.ByteSize = dataBits;
  if (parity <= 2) dcb.Parity = parity;
  dcb.StopBits = stopBits == 1 ? ONESTOPBIT : TWOSTOPBITS;
  if (!SetCommState(m_handle, &dcb)) return 0;
  m_baudRate = baud;
  m_dataBits = dataBits;
  m_parity = parity;
  m_stopBits = stopBits;
  return 1;
}

void CSerialPort::Close() {
  if (m_handle == INVALID_HANDLE_VALUE) return;
  Stop();
  {
    CriticalSectionLock bus(m_busLock);  // a transaction of another thread finishes first
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_open = 0;
  }
  DestroyDevices();
}

int CSerialPort::Write(const BYTE* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0 || !m_open) return 0;
  PurgeComm(m_handle, kPurgeAll);
  return WriteOut(buffer, length, kPurgeAll);
}

int CSerialPort::Send(const BYTE* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0 || !m_open) return 0;
  return WriteOut(buffer, length, kPurgeTransmit);
}

int CSerialPort::ReadExact(BYTE* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0 || !m_open) return 0;
  DWORD wanted = *length;
  std::memset(buffer, 0, wanted);
  COMSTAT stat;
  if (!ClearCommError(m_handle, &m_lastError, &stat)) {
    PurgeComm(m_handle, PURGE_RXABORT | PURGE_TXCLEAR);
    *length = 0;
    return 0;
  }
  int budget = EmptyReadBudget(wanted);
  DWORD got = 0;
  int empty = 0;
  while (got < wanted) {
    DWORD n = 0;
    if (!ReadFile(m_handle, buffer + got, wanted - got, &n, nullptr)) break;
    if (n > 0) {
      got += n;
      continue;
    }
    if (++empty >= budget) break;
    panel::WaitCommInput(m_handle, kEmptyReadSleepMs);  // up to 20 ms: over as soon as the reply comes
  }
  if (got == 0) ClearCommError(m_handle, &m_lastError, &stat);
  *length = got;
  return got == wanted ? 1 : 0;
}

int CSerialPort::ReadAvail(BYTE* buffer, DWORD* length) {
  if (!buffer || !length || *length == 0 || !m_open) return 0;
  std::memset(buffer, 0, *length);
  COMSTAT stat;
  if (!ClearCommError(m_handle, &m_lastError, &stat)) {
    PurgeComm(m_handle, PURGE_RXABORT | PURGE_TXCLEAR);
    *length = 0;
    return 0;
  }
  DWORD n = 0;
  BOOL ok = ReadFile(m_handle, buffer, *length, &n, nullptr);
  if (!ok) ClearCommError(m_handle, &m_lastError, &stat);
  *length = n;
  return ok ? 1 : 0;
}

int CSerialPort::AddTrace(const BYTE* bytes, int count, int direction) {
  // Formatted by hand: the line is made on every exchange, inside the bus's reply time.
  static const char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string text(TracePrefix(direction));
  text.reserve(text.size() + 3 * static_cast<size_t>(count > 0 ? count : 0) + 2);
  for (int i = 0; bytes && i < count; ++i) {
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 0x0F]);
    text.push_back(u' ');
  }
  text += u"\r\n";
  CString line(text.c_str(), static_cast<int>(text.size()));
  CriticalSectionLock trace(m_traceLock);
  m_trace.push_back(line);
  while (m_trace.size() > static_cast<size_t>(kTraceLines)) m_trace.pop_front();
  return 1;
}

void CSerialPort::AddDevice(CPortDevice* device) {
  if (!device) return;
  CriticalSectionLock devices(m_deviceLock);
  m_devices.push_back(device);
}

CPortDevice* CSerialPort::FindDevice(int slaveAddress) {
  CriticalSectionLock devices(m_deviceLock);
  for (CPortDevice* d : m_devices) {
    if (d->SlaveAddress() == slaveAddress) return d;
  }
  return nullptr;
}

int CSerialPort::DeviceCount() {
  CriticalSectionLock devices(m_deviceLock);
  return static_cast<int>(m_devices.size());
}

std::vector<CString> CSerialPort::Trace() {
  CriticalSectionLock trace(m_traceLock);
  return std::vector<CString>(m_trace.begin(), m_trace.end());
}

void CSerialPort::OnTick() {
  for (size_t i = 0; i < static_cast<size_t>(DeviceCount()); ++i) {
    Sleep(kDeviceGapMs);
    CriticalSectionLock devices(m_deviceLock);
    CPortDevice* device = i < m_devices.size() ? m_devices[i] : nullptr;
    if (device) {
      device->Poll();
      device->CountTick();
    }
  }
}

int CSerialPort::WriteOut(const BYTE* buffer, DWORD* length, DWORD purgeOnFailure) {
  DWORD wanted = *length;
  DWORD written = 0;
  BOOL ok = WriteFile(m_handle, buffer, wanted, &written, nullptr);
  *length = written;
  m_lastWriteLength = written;
  if (ok && written == wanted) return 1;
  ClearCommError(m_handle, &m_lastError, nullptr);
  PurgeComm(m_handle, purgeOnFailure);
  return 0;
}

void CSerialPort::DestroyDevices() {
  CriticalSectionLock devices(m_deviceLock);
  for (CPortDevice* d : m_devices) delete d;
  m_devices.clear();
}

int CSerialPort::EmptyReadBudget(DWORD length) const {
  if (m_baudRate <= 0) return kEmptyReads;
  // Bits per character: start, data, parity, stop.
  int64_t bits = 1 + m_dataBits + (m_parity > 0 ? 1 : 0) + m_stopBits;
  int64_t lineMs = (static_cast<int64_t>(length) + m_lastWriteLength) * bits * 1000 / m_baudRate;
  return kEmptyReads + static_cast<int>((lineMs + kEmptyReadSleepMs - 1) / kEmptyReadSleepMs);
}
