// Socket start-up of the main program: a process-wide object that starts socket support (version
// 2.2) while the statics are built and cleans it up at exit. Without socket support the program
// cannot run, so a failed start ends the process at once with exit code 0.
#pragma once

class WinsockInit {
public:
  WinsockInit();
  ~WinsockInit();
  WinsockInit(const WinsockInit&) = delete;
  WinsockInit& operator=(const WinsockInit&) = delete;

  // True while the start-up this object made is outstanding.
  bool Started() const { return m_started; }

private:
  bool m_started = false;
};

extern WinsockInit g_winsock;
