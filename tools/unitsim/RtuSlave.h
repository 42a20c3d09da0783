// A Modbus RTU slave over register banks, for the simulated boards and for tests: holding registers, input
// registers and coils exist only where the owner declares them; a request that touches anything else gets
// exception 2, a count beyond the protocol's limits (or a coil value other than on/off, a byte count that
// does not match) exception 3, an unknown function exception 1. Addresses here are wire addresses.
// Its CRC is computed bit by bit, independently of the terminal's own table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace unitsim {

// Modbus CRC-16 (0xA001 reflected, initial 0xFFFF), bit by bit.
uint16_t Crc16(const uint8_t* data, size_t length);
// Appends the CRC, low byte first.
void AppendCrc(std::vector<uint8_t>& frame);

class RtuSlave {
public:
  explicit RtuSlave(int address) : m_address(address) {}
  virtual ~RtuSlave() = default;

  int Address() const { return m_address; }
  void SetAddress(int address) { m_address = address; }

  void AddHolding(uint16_t first, int count, uint16_t value = 0);
  void AddInput(uint16_t first, int count, uint16_t value = 0);
  void AddCoils(uint16_t first, int count, bool value = false);

  uint16_t Holding(uint16_t wire) const;
  void SetHolding(uint16_t wire, uint16_t value);
  uint16_t Input(uint16_t wire) const;
  void SetInput(uint16_t wire, uint16_t value);
  bool Coil(uint16_t wire) const;
  void SetCoil(uint16_t wire, bool value);
  bool HasHolding(uint16_t wire) const { return m_holding.count(wire) != 0; }

  // Requests that touch one of these addresses get no answer at all, or the given exception code (for
  // every function, or only for onlyFunction).
  void SetSilent(uint16_t first, int count, bool silent = true);
  void SetException(uint16_t first, int count, uint8_t code, uint8_t onlyFunction = 0);
  void ClearFaults();

  // The reply to one request frame addressed to this slave (CRC already checked), or empty for silence.
  std::vector<uint8_t> Handle(const uint8_t* frame, size_t length);

  // Every request served, oldest first: function, wire address, count (1 for single writes), written values.
  struct Request {
    uint8_t function;
    uint16_t address;
    uint16_t count;
    std::vector<uint16_t> values;
  };
  const std::vector<Request>& Requests() const { return m_requests; }
  void ClearRequests() { m_requests.clear(); }

protected:
  // Called after a master wrote a holding register or a coil.
  virtual void OnWrite(uint16_t wire, uint16_t value) { (void)wire; (void)value; }
  // Called before a read of holding or input registers is answered, so a board can refresh them.
  virtual void OnRead(uint8_t function, uint16_t first, int count) { (void)function; (void)first; (void)count; }

private:
  std::vector<uint8_t> Exception(uint8_t function, uint8_t code) const;
  // Silent (returns true with no reply) or faulty over the range.
  bool Faulted(uint8_t function, uint16_t first, int count, uint8_t& code) const;

  int m_address;
  std::map<uint16_t, uint16_t> m_holding;
  std::map<uint16_t, uint16_t> m_input;
  std::map<uint16_t, bool> m_coils;
  std::set<uint16_t> m_silent;
  std::map<uint16_t, std::pair<uint8_t, uint8_t>> m_exceptions;  // code, function (0: any)
  std::vector<Request> m_requests;
};

}  // namespace unitsim
