// A serial port whose passes the benchmark thread runs itself (its own thread stopped), and that thread's CPU
// time, so that what is measured is the port's work alone.
#pragma once

#include <time.h>

#include "CSerialPort.h"

namespace bench {

class BenchPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
  using CSerialPort::OnTick;
};

inline double ThreadCpuMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

}  // namespace bench
