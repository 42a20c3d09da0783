// Serial lines over Linux terminals: the port map, the open, the line state and the timed reads and writes.
#include "Serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <sstream>

#include "Clock.h"
#include "Devices.h"
#include "Files.h"
#include "Handles.h"
#include "Paths.h"

namespace panel {
namespace {

struct Speed {
  DWORD baud;
  speed_t code;
};
const Speed kSpeeds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool SpeedCode(DWORD baud, speed_t& code) {
  for (const auto& s : kSpeeds) {
    if (s.baud == baud) {
      code = s.code;
      return true;
    }
  }
  return false;
}

DWORD BaudOf(speed_t code) {
  for (const auto& s : kSpeeds) {
    if (s.code == code) return s.baud;
  }
  return 9600;
}

// "com3:" -> "COM3"
std::string PortKey(const char16_t* name) {
  std::string key = ToUtf8(name ? name : u"");
  while (!key.empty() && (key.back() == ':' || key.back() == ' ')) key.pop_back();
  for (auto& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

// Never destroyed: lines still close during the exit of the process (the manager is a static object).
std::mutex& RecordLock() {
  static auto* lock = new std::mutex();
  return *lock;
}

std::map<std::string, SerialLineRecord>& Records() {
  static auto* records = new std::map<std::string, SerialLineRecord>();
  return *records;
}

template <typename F>
void UpdateRecord(const std::string& key, F change) {
  std::lock_guard<std::mutex> guard(RecordLock());
  change(Records()[key]);
}

DWORD ErrorOf(int err) {
  switch (err) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTTY:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EWOULDBLOCK:
    case EBUSY:
      return ERROR_ACCESS_DENIED;
    default:
      return ERROR_GEN_FAILURE;
  }
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Waits for the descriptor to become readable or writable: 1 ready, 0 time-out, -1 hung up or failing.
// A negative wait is unbounded.
int WaitFd(int fd, short events, int64_t waitMs) {
  pollfd p{fd, events, 0};
  int timeout = waitMs < 0 ? -1 : static_cast<int>(waitMs > 0x7FFFFFFF ? 0x7FFFFFFF : waitMs);
  for (;;) {
    int r = poll(&p, 1, timeout);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return r < 0 ? -1 : 0;
    if (p.revents & events) return 1;
    return -1;
  }
}

class SerialLine : public IoObject {
public:
  SerialLine(int fd, std::string key, const DCB& dcb) : m_fd(fd), m_key(std::move(key)), m_dcb(dcb) {}
  ~SerialLine() override {
    close(m_fd);  // also releases the flock
    UpdateRecord(m_key, [](SerialLineRecord& r) { r.open = false; });
  }

  BOOL Read(void* buffer, DWORD size, DWORD* done) override {
    *done = 0;
    if (size == 0) return TRUE;
    if (!buffer) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    COMMTIMEOUTS t = Timeouts();
    auto* out = static_cast<BYTE*>(buffer);
    DWORD got = 0;
    if (!ReadNow(out, size, got)) return FALSE;
    bool immediate = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                     t.ReadTotalTimeoutConstant == 0;
    if (immediate || got == size) return Done(got, done);
    // "Return with the first byte, or after the constant": MAXDWORD interval and multiplier.
    bool firstByte = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
                     t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD;
    if (firstByte) {
      if (got == 0 && WaitFd(m_fd, POLLIN, t.ReadTotalTimeoutConstant) > 0 && !ReadNow(out, size, got)) return FALSE;
      return Done(got, done);
    }
    int64_t start = NowMs();
    uint64_t total = static_cast<uint64_t>(t.ReadTotalTimeoutMultiplier) * size + t.ReadTotalTimeoutConstant;
    bool hasTotal = t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
    bool hasInterval = t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD;
    while (got < size) {
      int64_t wait = -1;
      if (hasTotal) {
        int64_t left = static_cast<int64_t>(total) - (NowMs() - start);
        if (left <= 0) break;
        wait = left;
      }
      if (hasInterval && got > 0 && (wait < 0 || wait > t.ReadIntervalTimeout)) wait = t.ReadIntervalTimeout;
      if (WaitFd(m_fd, POLLIN, wait) <= 0) break;  // time-out, or a line that hung up
      DWORD before = got;
      if (!ReadNow(out, size, got)) return FALSE;
      if (got == before) break;  // readable without data: the far side hung up
    }
    return Done(got, done);
  }

  BOOL Write(const void* buffer, DWORD size, DWORD* done) override {
    *done = 0;
    if (size == 0) return TRUE;
    if (!buffer) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    COMMTIMEOUTS t = Timeouts();
    bool hasTotal = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    int64_t total = static_cast<int64_t>(t.WriteTotalTimeoutMultiplier) * size + t.WriteTotalTimeoutConstant;
    int64_t start = NowMs();
    const auto* in = static_cast<const BYTE*>(buffer);
    DWORD sent = 0;
    while (sent < size) {
      ssize_t n = write(m_fd, in + sent, size - sent);
      if (n > 0) {
        sent += static_cast<DWORD>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) {
        Count(sent, 0);
        *done = sent;
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
      }
      int64_t wait = -1;
      if (hasTotal) {
        wait = total - (NowMs() - start);
        if (wait <= 0) break;
      }
      if (WaitFd(m_fd, POLLOUT, wait) <= 0) break;
    }
    Count(sent, 0);
    *done = sent;
    return TRUE;
  }

  BOOL Setup(DWORD in, DWORD out) {
    UpdateRecord(m_key, [&](SerialLineRecord& r) {
      r.inQueue = in;
      r.outQueue = out;
    });
    return TRUE;
  }

  void GetState(DCB& dcb) {
    std::lock_guard<std::mutex> guard(m_lock);
    dcb = m_dcb;
  }

  BOOL SetState(const DCB& dcb) {
    speed_t speed;
    if (!SpeedCode(dcb.BaudRate, speed) || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    termios tio;
    if (tcgetattr(m_fd, &tio) != 0) {
      SetLastError(ERROR_GEN_FAILURE);
      return FALSE;
    }
    static const tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= kSizes[dcb.ByteSize - 5] | CLOCAL | CREAD;
    switch (dcb.Parity) {
      case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
      case EVENPARITY: tio.c_cflag |= PARENB; break;
      case MARKPARITY: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
      case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
      default: break;
    }
    if (dcb.StopBits != ONESTOPBIT) tio.c_cflag |= CSTOPB;  // 1.5 exists only as 2 here
    if (dcb.fOutxCtsFlow) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(INPCK | IXON | IXOFF | IGNPAR | PARMRK | ISTRIP);
    if (dcb.fParity) tio.c_iflag |= INPCK;
    if (dcb.fOutX) tio.c_iflag |= IXON;
    if (dcb.fInX) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) {
      SetLastError(ERROR_GEN_FAILURE);
      return FALSE;
    }
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_dcb = dcb;
      m_dcb.DCBlength = sizeof(DCB);
    }
    UpdateRecord(m_key, [&](SerialLineRecord& r) {
      r.dcb = dcb;
      r.dcb.DCBlength = sizeof(DCB);
    });
    return TRUE;
  }

  int Fd() const { return m_fd; }

  COMMTIMEOUTS Timeouts() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_timeouts;
  }

  BOOL SetTimeouts(const COMMTIMEOUTS& t) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_timeouts = t;
    }
    UpdateRecord(m_key, [&](SerialLineRecord& r) { r.timeouts = t; });
    return TRUE;
  }

  DWORD Mask() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_mask;
  }

  BOOL SetMask(DWORD mask) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_mask = mask;
    }
    UpdateRecord(m_key, [&](SerialLineRecord& r) { r.eventMask = mask; });
    return TRUE;
  }

  BOOL Purge(DWORD flags) {
    if (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) tcflush(m_fd, TCOFLUSH);
    if (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) tcflush(m_fd, TCIFLUSH);
    UpdateRecord(m_key, [](SerialLineRecord& r) { ++r.purges; });
    return TRUE;
  }

  BOOL ClearErrors(DWORD* errors, COMSTAT* stat) {
    int in = 0;
    if (ioctl(m_fd, FIONREAD, &in) != 0) {
      SetLastError(ERROR_GEN_FAILURE);
      return FALSE;
    }
    if (errors) *errors = 0;
    if (stat) {
      *stat = COMSTAT{};
      int out = 0;
      if (ioctl(m_fd, TIOCOUTQ, &out) != 0) out = 0;
      stat->cbInQue = static_cast<DWORD>(in < 0 ? 0 : in);
      stat->cbOutQue = static_cast<DWORD>(out < 0 ? 0 : out);
    }
    return TRUE;
  }

private:
  // One non-blocking read into the rest of the buffer; false (last error set) on a failing line.
  bool ReadNow(BYTE* out, DWORD size, DWORD& got) {
    for (;;) {
      ssize_t n = read(m_fd, out + got, size - got);
      if (n > 0) {
        got += static_cast<DWORD>(n);
        Count(0, static_cast<DWORD>(n));
        if (got == size) return true;
        continue;
      }
      if (n == 0 || errno == EAGAIN) return true;
      if (errno == EINTR) continue;
      SetLastError(ERROR_GEN_FAILURE);
      return false;
    }
  }

  BOOL Done(DWORD got, DWORD* done) {
    *done = got;
    return TRUE;
  }

  void Count(DWORD written, DWORD read) {
    if (!written && !read) return;
    UpdateRecord(m_key, [&](SerialLineRecord& r) {
      r.bytesWritten += written;
      r.bytesRead += read;
    });
  }

  int m_fd;
  std::string m_key;
  std::mutex m_lock;
  DCB m_dcb;
  COMMTIMEOUTS m_timeouts{};
  DWORD m_mask = 0;
};

SerialLine* LineOf(HANDLE handle) {
  auto* line = HandleAs<SerialLine>(handle);
  if (!line) SetLastError(ERROR_INVALID_HANDLE);
  return line;
}

}  // namespace

std::string SerialDevicePath(const char16_t* portName) {
  std::string key = PortKey(portName);
  std::string text;
  if (key.empty() || !ReadTextFile(BoardPath("ports"), text)) return std::string();
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream fields(line);
    std::string name, path;
    if (!(fields >> name >> path)) continue;
    std::u16string wide = FromUtf8(name);
    if (PortKey(wide.c_str()) == key) return path;
  }
  return std::string();
}

HANDLE OpenSerialDevice(const CString& name, DWORD access) {
  std::string key = PortKey(name);
  std::string path = SerialDevicePath(name);
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  int mode = O_RDWR;
  if ((access & GENERIC_READ) && !(access & GENERIC_WRITE)) mode = O_RDONLY;
  if (!(access & GENERIC_READ) && (access & GENERIC_WRITE)) mode = O_WRONLY;
  int fd = open(path.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ErrorOf(errno));
    return INVALID_HANDLE_VALUE;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    close(fd);
    SetLastError(ErrorOf(err));
    return INVALID_HANDLE_VALUE;
  }
  termios tio;
  if (tcgetattr(fd, &tio) != 0) {
    close(fd);
    SetLastError(ERROR_FILE_NOT_FOUND);  // not a serial line
    return INVALID_HANDLE_VALUE;
  }
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &tio);
  tcflush(fd, TCIOFLUSH);

  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = BaudOf(cfgetospeed(&tio));
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  UpdateRecord(key, [&](SerialLineRecord& r) {
    r.open = true;
    r.device = path;
    ++r.opens;
    r.dcb = dcb;
    r.timeouts = COMMTIMEOUTS{};
    r.inQueue = r.outQueue = 0;
    r.eventMask = 0;
  });
  return RegisterHandle(new SerialLine(fd, key, dcb));
}

bool QuerySerialLine(const char16_t* portName, SerialLineRecord* record) {
  std::lock_guard<std::mutex> guard(RecordLock());
  auto it = Records().find(PortKey(portName));
  if (it == Records().end()) return false;
  if (record) *record = it->second;
  return true;
}

}  // namespace panel

BOOL SetupComm(HANDLE line, DWORD inQueue, DWORD outQueue) {
  auto* l = panel::LineOf(line);
  return l ? l->Setup(inQueue, outQueue) : FALSE;
}

BOOL GetCommState(HANDLE line, LPDCB dcb) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  if (!dcb) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  l->GetState(*dcb);
  return TRUE;
}

BOOL SetCommState(HANDLE line, LPDCB dcb) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  if (!dcb) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return l->SetState(*dcb);
}

BOOL GetCommTimeouts(HANDLE line, LPCOMMTIMEOUTS timeouts) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  if (!timeouts) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *timeouts = l->Timeouts();
  return TRUE;
}

BOOL SetCommTimeouts(HANDLE line, LPCOMMTIMEOUTS timeouts) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  if (!timeouts) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return l->SetTimeouts(*timeouts);
}

BOOL SetCommMask(HANDLE line, DWORD mask) {
  auto* l = panel::LineOf(line);
  return l ? l->SetMask(mask) : FALSE;
}

BOOL GetCommMask(HANDLE line, LPDWORD mask) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  if (mask) *mask = l->Mask();
  return TRUE;
}

BOOL panel::WaitCommInput(HANDLE line, DWORD milliseconds) {
  auto* l = panel::LineOf(line);
  if (!l) return FALSE;
  panel::GetClock().WaitReadable(l->Fd(), milliseconds);
  return TRUE;
}

BOOL PurgeComm(HANDLE line, DWORD flags) {
  auto* l = panel::LineOf(line);
  return l ? l->Purge(flags) : FALSE;
}

BOOL ClearCommError(HANDLE line, LPDWORD errors, LPCOMSTAT stat) {
  auto* l = panel::LineOf(line);
  return l ? l->ClearErrors(errors, stat) : FALSE;
}
