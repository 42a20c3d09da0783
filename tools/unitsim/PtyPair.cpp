#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace unitsim {
namespace {

void MakeRaw(int fd) {
  termios tio;
  if (tcgetattr(fd, &tio) != 0) return;
  cfmakeraw(&tio);
  tcsetattr(fd, TCSANOW, &tio);
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

PtyPair::~PtyPair() { Close(); }

bool PtyPair::Open() {
  Close();
  m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
    m_error = std::string("posix_openpt: ") + std::strerror(errno);
    Close();
    return false;
  }
  char name[128];
  if (ptsname_r(m_master, name, sizeof(name)) != 0) {
    m_error = std::string("ptsname: ") + std::strerror(errno);
    Close();
    return false;
  }
  m_slavePath = name;
  m_slave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_slave < 0) {
    m_error = std::string("open ") + name + ": " + std::strerror(errno);
    Close();
    return false;
  }
  MakeRaw(m_slave);
  int flags = fcntl(m_master, F_GETFL);
  fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
  return true;
}

std::vector<uint8_t> PtyPair::Read(size_t atLeast, int timeoutMs) {
  std::vector<uint8_t> out;
  if (m_master < 0) return out;
  int64_t deadline = NowMs() + timeoutMs;
  uint8_t buffer[512];
  for (;;) {
    ssize_t n = read(m_master, buffer, sizeof(buffer));
    if (n > 0) {
      out.insert(out.end(), buffer, buffer + n);
      m_bytesRead += static_cast<uint64_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (out.size() >= atLeast) break;
    int64_t left = deadline - NowMs();
    if (left <= 0) break;
    pollfd p{m_master, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left));
  }
  return out;
}

bool PtyPair::Write(const uint8_t* data, size_t length, bool waitDelivered) {
  if (m_master < 0) return false;
  int before = waitDelivered ? SlaveQueued() : 0;
  size_t sent = 0;
  int64_t deadline = NowMs() + 1000;
  while (sent < length) {
    ssize_t n = write(m_master, data + sent, length - sent);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (NowMs() > deadline) return false;
    pollfd p{m_master, POLLOUT, 0};
    poll(&p, 1, 10);
  }
  if (!waitDelivered) return true;
  // The pseudo-terminal hands bytes over to the slave side asynchronously.
  while (SlaveQueued() < before + static_cast<int>(length)) {
    if (NowMs() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  return true;
}

int PtyPair::SlaveQueued() const {
  int n = 0;
  if (m_slave < 0 || ioctl(m_slave, FIONREAD, &n) != 0) return 0;
  return n;
}

int PtyPair::MasterQueued() const {
  int n = 0;
  if (m_master < 0 || ioctl(m_master, FIONREAD, &n) != 0) return 0;
  return n;
}

void PtyPair::CloseMaster() {
  if (m_master >= 0) close(m_master);
  m_master = -1;
}

void PtyPair::Close() {
  CloseMaster();
  if (m_slave >= 0) close(m_slave);
  m_slave = -1;
}

bool WritePortMap(const std::string& root, const std::string& port, const std::string& device) {
  std::string dir = root + "/board";
  mkdir(root.c_str(), 0755);
  mkdir(dir.c_str(), 0755);
  std::string path = dir + "/ports";
  std::string kept;
  {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string name;
      fields >> name;
      while (!name.empty() && name.back() == ':') name.pop_back();
      bool same = name.size() == port.size();
      for (size_t i = 0; same && i < name.size(); ++i) same = std::toupper(name[i]) == std::toupper(port[i]);
      if (!same) kept += line + "\n";
    }
  }
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    if (!out) return false;
    out << kept << port << " " << device << "\n";
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace unitsim
