// Base of every device on a serial port of the terminal, and the Modbus RTU master's six transactions
// (functions 1, 3, 4, 5, 6, 16). A device belongs to one CSerialPort, which polls it on its thread and
// destroys it, knowing it only as a CPortDevice; a transaction may also be called from another thread. Each
// transaction holds the port's bus lock from its request to the end of its waits, so two exchanges on a port
// never interleave; it never takes the port's device lock (the port holds that around a whole Poll, so the
// order is device, bus, trace).
// Addresses given to the transactions are wire addresses: register N of a unit travels as N - 1.
#pragma once

#include <cstdint>

#include "CPortDevice.h"
#include "Platform.h"

class CSerialPort;

class CModbusDevice : public CPortDevice {
public:
  // Largest counts one request may carry: the protocol's 125 registers per read and 123 per write; coil reads
  // stay at 256 (the protocol would allow 2000).
  static const int kMaxReadRegs = 125;
  static const int kMaxWriteRegs = 123;
  static const int kMaxReadCoils = 256;

  struct Statistics {
    int requests = 0;         // requests sent
    int readRequests = 0;
    int goodReads = 0;        // read replies accepted
    int lastReplyBytes = 0;   // bytes of the last reply
    int writeRequests = 0;
    int goodWrites = 0;       // write replies accepted
    int lastRequestBytes = 0; // bytes of the last request written
  };

  CModbusDevice(int type, CSerialPort* port, int slaveAddress);
  ~CModbusDevice() override;

  virtual int Reserved();

  // Transactions. Results: the count (reads), 1 (functions 5 and 6) or the quantity echoed (function 16) on
  // success; 0 for bad arguments (no array, count 0 or beyond the limits above, a range past address 0xFFFF),
  // with nothing sent; -1 when the request could not be written (-2 for function 16); -3 no complete reply, an
  // exception other than 2 and 3, or a 5-byte reply that is no exception of this device and function; -4 a
  // complete reply with a wrong CRC (the output is left untouched); -5 exception 2 (illegal data address);
  // -6 exception 3 (illegal data value). A complete reply with a good CRC counts only when it comes from this
  // slave for this function, with the byte count asked for (reads) or the register address written (writes);
  // any other is another exchange's late reply: -3, nothing taken. Waits are milliseconds slept after the
  // request and after the reply.
  int ReadCoils(WORD start, int count, int16_t* out, int waitBefore, int waitAfter);
  int ReadHoldingRegs(WORD start, int count, uint16_t* out, int waitBefore, int waitAfter);
  int ReadInputRegs(WORD start, int count, uint16_t* out, int waitBefore, int waitAfter);
  int WriteCoil(WORD address, int on, int waitBefore, int waitAfter);
  int WriteReg(WORD address, WORD value, int waitBefore, int waitAfter);
  int WriteRegs(WORD start, const uint16_t* values, int count, int waitBefore, int waitAfter);

  CSerialPort* Port() const { return m_port; }
  const Statistics& Stats() const { return m_stats; }

protected:
  // Function 6 only when wanted differs from the shadow (what the unit is believed to hold); the shadow takes
  // the wanted value after the attempt. With send false (demo mode) only the shadow changes. The result of the
  // write, or 1 when nothing had to be written.
  int WriteRegIfChanged(WORD address, WORD wanted, WORD& shadow, bool send = true);

  CSerialPort* m_port;  // not owned
  Statistics m_stats;

private:
  int ReadRegs(BYTE function, WORD start, int count, uint16_t* out, int waitBefore, int waitAfter);
  int WriteSingle(BYTE function, WORD address, WORD value, int waitBefore, int waitAfter);
  // Sends the request (CRC appended into its last two bytes) and reads the reply of replyLength bytes, with
  // the bus lock already held: 1 for a complete reply with a good CRC that answers this request, else the
  // negative result.
  int Exchange(BYTE* request, int requestLength, BYTE* reply, int replyLength, int waitBefore, int waitAfter,
               int writeFailure);
};
