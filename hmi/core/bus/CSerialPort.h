// One serial line of the panel (COM1 to COM8), the bus devices on it and the thread that polls them: every
// period the thread serves the devices in the order they were added, 20 ms apart, each whole poll under the
// device lock. The port offers the byte operations the Modbus master, the slave device and the WiFi driver
// build on, and keeps a hex trace of the last 1000 exchange lines for inspection.
// Created, opened and destroyed by the communication manager (engine start-up and exit). Locks, always taken
// in this order: device lock (around each device's poll and list changes), bus lock (one request-and-reply
// exchange, taken by the transactions), trace lock (one trace line).
// The thread is stopped (joined) before the line is closed or any device or member goes away, also on a port
// whose line never opened.
#pragma once

#include <deque>
#include <vector>

#include "CPortDevice.h"
#include "CWorkThread.h"
#include "Platform.h"

class CSerialPort : public CWorkThread {
public:
  static const int kTraceLines = 1000;
  // Trace directions.
  static const int kReply = 0;
  static const int kReadRequest = 1;
  static const int kWriteRequest = 2;

  explicit CSerialPort(BYTE portNumber);
  ~CSerialPort() override;

  // Closes the port if open, opens "COM<port>:" and sets it up (queues 8096/8096, a read that returns what
  // has arrived, write timeouts of three character times, the line settings), then starts the thread with
  // the period and enables ticking whether or not the line opened. Parity 0 none, 1 odd, 2 even (another
  // value keeps the driver's); stop bits 1 or 2. Returns the open flag: 1 when the line is open and set up,
  // 0 when it could not be opened (LastError() then holds the system's code).
  int Open(int port, int baud, BYTE dataBits, BYTE parity, BYTE stopBits, DWORD periodMs, int extra);
  // Changes the settings of the open line in place, between two exchanges (the bus lock held), without
  // closing it: a device on the port's own thread that must follow its peer's rate. 1 when the line took them.
  int SetLine(int baud, BYTE dataBits, BYTE parity, BYTE stopBits);
  // Stops the thread, closes the line and destroys every device; nothing at all when the line is not open.
  void Close();

  // Purges both directions and writes the buffer: 1 when every byte went out; 0 without a buffer, with a
  // length of 0, when not open, or on a short write (errors cleared and both directions purged again).
  // length comes back as the bytes written.
  int Write(const BYTE* buffer, DWORD* length);
  // Writes the buffer behind what has been received, which stays for the next read: for a line that
  // carries a stream both ways at once (the WiFi module's transparent link), where the far side's bytes
  // may arrive at any moment. Results as Write; a short write purges only the transmit side.
  int Send(const BYTE* buffer, DWORD* length);
  // Reads until length bytes arrived: 1 when all did; 0 otherwise, with length set to the bytes received
  // (zero-filled beyond). After each read that brought nothing it waits up to 20 ms (less when bytes come
  // sooner) and gives up after 16 such empty reads,
  // plus one more for every 20 ms that the request just written and the reply need on the line at its baud
  // rate. 0 at once without a buffer, with length 0, when not open or when the line errors cannot be read.
  int ReadExact(BYTE* buffer, DWORD* length);
  // One read of what has arrived, at most length bytes: the read's success; length set to the bytes read.
  int ReadAvail(BYTE* buffer, DWORD* length);
  // Adds one trace line: "应答:" (reply, direction 0), "\r\n读:" (read request, 1) or "\r\n写:" (write request,
  // 2), then "%02X " per byte, then "\r\n"; the oldest line goes beyond 1000. Always 1.
  int AddTrace(const BYTE* bytes, int count, int direction);

  // Appends a device (the port owns it from here; polled from the thread's next pass on).
  void AddDevice(CPortDevice* device);
  // The first device with that slave address, or none.
  CPortDevice* FindDevice(int slaveAddress);
  int DeviceCount();

  BYTE PortNumber() const { return m_portNumber; }
  int IsOpen() const { return m_open; }
  DWORD LastError() const { return m_lastError; }
  int Extra() const { return m_extra; }
  int BaudRate() const { return m_baudRate; }
  BYTE DataBits() const { return m_dataBits; }
  BYTE Parity() const { return m_parity; }
  BYTE StopBits() const { return m_stopBits; }
  CRITICAL_SECTION& BusLock() { return m_busLock; }
  CRITICAL_SECTION& DeviceLock() { return m_deviceLock; }
  // A copy of the trace, oldest line first.
  std::vector<CString> Trace();

protected:
  void OnTick() override;

private:
  void DestroyDevices();
  // Writes a checked buffer; after a short write clears the line errors and purges as told.
  int WriteOut(const BYTE* buffer, DWORD* length, DWORD purgeOnFailure);
  // Empty reads allowed before the reply of length bytes is given up.
  int EmptyReadBudget(DWORD length) const;

  HANDLE m_handle = INVALID_HANDLE_VALUE;
  int m_extra = 0;                  // configuration value compared by the manager
  DWORD m_lastError = 0;            // error word of the last clearing, or the code of a failed open
  BYTE m_portNumber;
  std::atomic<int> m_open{0};       // 1 when the line is open and configured
  int m_baudRate = 0;
  BYTE m_dataBits = 0;
  BYTE m_parity = 0;                // 0 none, 1 odd, 2 even
  BYTE m_stopBits = 0;              // 1 or 2
  DWORD m_lastWriteLength = 0;      // the request that may still be on its way out
  CRITICAL_SECTION m_busLock;
  CRITICAL_SECTION m_deviceLock;
  std::vector<CPortDevice*> m_devices;  // owned, in order of addition
  CRITICAL_SECTION m_traceLock;
  std::deque<CString> m_trace;      // at most kTraceLines
};
