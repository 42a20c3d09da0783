// A pseudo-terminal pair: the terminal opens the slave side through its port map, the simulator (or a
// test's scripted peer) talks on the master side. The pair also holds one descriptor of the slave side,
// so the line stays up while the terminal closes and reopens it, and so the bytes waiting for the terminal
// can be counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace unitsim {

class PtyPair {
public:
  PtyPair() = default;
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  // Creates the pair (both sides raw); false with Error() set.
  bool Open();
  const std::string& SlavePath() const { return m_slavePath; }
  const std::string& Error() const { return m_error; }
  int MasterFd() const { return m_master; }

  // Bytes that arrived on the master side: waits at most timeoutMs (real time) until at least atLeast bytes
  // came, then returns what is there. atLeast 0 returns at once.
  std::vector<uint8_t> Read(size_t atLeast, int timeoutMs);
  // Writes to the master side. With waitDelivered it returns only once the slave side holds the bytes for
  // reading (at most one second), which a peer that runs inside the terminal's sleeps needs.
  bool Write(const uint8_t* data, size_t length, bool waitDelivered);
  bool Write(const std::vector<uint8_t>& data, bool waitDelivered) { return Write(data.data(), data.size(), waitDelivered); }
  // Bytes waiting on the slave side for the terminal to read, and on the master side for the peer.
  int SlaveQueued() const;
  int MasterQueued() const;
  // Bytes read from the master side so far.
  uint64_t BytesRead() const { return m_bytesRead; }
  // Hangs the line up: the terminal's writes fail from now on.
  void CloseMaster();
  void Close();

private:
  int m_master = -1;
  int m_slave = -1;
  std::string m_slavePath;
  std::string m_error;
  uint64_t m_bytesRead = 0;
};

// Sets "<port> <device>" in <root>/board/ports, replacing an entry of that port and keeping the others.
bool WritePortMap(const std::string& root, const std::string& port, const std::string& device);

}  // namespace unitsim
