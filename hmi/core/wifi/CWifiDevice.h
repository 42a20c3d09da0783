// The serial WiFi module (bus device type 106) on its own port: in transparent mode the bytes on the line are a
// TCP connection to the remote server, over which the panel exchanges CloudFrame frames; in command mode the
// module answers AT commands. Each poll on the port's thread either runs one pass of the configuration machine
// (while a configuration is pending) or one pass of the server link. The engine talks to it through the
// WifiBlock and RequestConfig only.
#pragma once

#include "CModbusDevice.h"
#include "CSocketHolder.h"
#include "WifiAt.h"
#include "WifiBlock.h"

class CWifiDevice : public CModbusDevice {
public:
  static const int kType = 106;
  // Request codes.
  static const int kFullSetup = 1;
  static const int kTransparent = 2;
  static const int kRestart = 3;
  static const int kWriteSsid = 5;
  static const int kWriteKey = 6;
  static const int kWriteNetwork = 9;
  static const int kWriteServer = 11;
  static const int kWriteServerPort = 12;
  // Link timing, in ticks (polls).
  static const int kUploadTicks = 500;
  static const int kOnlineTicks = 6000;
  static const int kOfflineTicks = 18000;

  CWifiDevice(CSerialPort* port, int slaveAddress);

  void Poll() override;
  void* GetData() override { return &m_block; }
  WifiBlock& Block() { return m_block; }

  // Code 1 opens configuration mode; every other code is taken only while it is open and no request waits.
  // The code, or -1 with nothing changed. A payload of 1..999 bytes is copied.
  int RequestConfig(int code, const void* payload, int length) { return RequestConfig(m_block, code, payload, length); }
  // The same on a block: the request works on the block alone, so the engine needs no more than its pointer.
  static int RequestConfig(WifiBlock& block, int code, const void* payload, int length);

  // Configuration: "+++" with dialect and baud detection (up to 4 attempts); the command-mode flag.
  int EnterCmdMode();
  void RunConfig();
  // The server link: read, one frame, the schedule, the offline check, the pending sends.
  void RunLink();
  // One frame of kind 1 (status words as they are) or kind 2 (mirror words as floats) of a unit (1-based).
  // 1 when it was written; 0 for a unit outside the table or a failed write. The count is cut to the table.
  // Written behind what the server has sent meanwhile, which stays for the link's next read.
  int SendIntBlock(int start, int count, int unit);
  int SendFloatBlock(int start, int count, int unit);

private:
  bool Upper() const { return (m_block.m_linkFlags.load() & kWifiUpperDialect) != 0; }
  void SetFlags(uint16_t flags) { m_block.m_linkFlags.fetch_or(flags); }
  void ClearFlags(uint16_t flags) { m_block.m_linkFlags.fetch_and(static_cast<uint16_t>(~flags)); }
  // Writes text (stale bytes purged first, so that the reply is read clean), waits, then reads what arrived
  // (at most maxRead bytes) into reply, terminated; the count.
  int Transact(const char* text, int length, DWORD waitMs, char* reply, int maxRead);
  // A query with its two attempts; 1 when its reply was read.
  int Query(WifiQuery query);
  // A command whose whole reply must be expected, two attempts.
  int Command(const char* text, const char* expected, DWORD waitMs);
  int LeaveCmdMode();
  int WriteSetting(int code);
  void FinishRequest(int code);
  void ApplyFrame(const uint8_t* frame, int length);
  int SendFrame(uint8_t kind, int unit, const uint8_t* data, int dataLength);
  int UnitCount() const;

  WifiBlock m_block{};
  CSocketHolder m_socket;  // never opened: the module carries the connection
};
