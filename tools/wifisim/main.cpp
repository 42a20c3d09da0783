// wifisim: the panel's serial WiFi module and a scripted remote server on a pseudo-terminal, for running the
// terminal with its server link. See Usage() for the flags.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "CloudServer.h"
#include "PtyPair.h"
#include "WifiLine.h"
#include "WifiModule.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void Usage(std::ostream& out) {
  out << "usage: wifisim [options]\n"
         "Simulates the panel's serial WiFi module on the far side of a new pseudo-terminal pair, with a\n"
         "scripted server behind it (online every minute, asks for both upload blocks, checks every upload).\n"
         "Prints \"<port> <device>\" once the line is up, then a status line every 30 s until stopped.\n"
         "\n"
         "  --root DIR        write \"<port> <device>\" into DIR/board/ports (other entries are kept)\n"
         "  --port NAME       the port name for the map (default COM1)\n"
         "  --upper           the upper-case dialect (\"+OK\", CR LF) instead of the lower-case one\n"
         "  --baud N          the module's rate: 57600 (default) or 115200\n"
         "  --help            this text\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, port = "COM1";
  wifisim::ModuleSettings settings;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "wifisim: " << name << " needs a value\n";
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      Usage(std::cout);
      return 0;
    } else if (a == "--root") {
      root = value("--root");
    } else if (a == "--port") {
      port = value("--port");
    } else if (a == "--upper") {
      settings.upper = true;
    } else if (a == "--baud") {
      std::string b = value("--baud");
      if (b != "57600" && b != "115200") {
        std::cerr << "wifisim: --baud takes 57600 or 115200\n";
        return 2;
      }
      settings.baud = std::atoi(b.c_str());
    } else {
      std::cerr << "wifisim: bad argument '" << a << "'\n";
      Usage(std::cerr);
      return 2;
    }
  }

  unitsim::PtyPair pty;
  if (!pty.Open()) {
    std::cerr << "wifisim: " << pty.Error() << "\n";
    return 1;
  }
  if (!root.empty() && !unitsim::WritePortMap(root, port, pty.SlavePath())) {
    std::cerr << "wifisim: cannot write " << root << "/board/ports\n";
    return 1;
  }
  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);

  wifisim::WifiModule module(settings);
  wifisim::CloudServer server;
  wifisim::WifiLine line(pty, module, server);
  std::cout << port << " " << pty.SlavePath() << std::endl;
  line.Start();
  for (int tick = 1; !g_stop; ++tick) {
    usleep(100000);
    if (tick % 300 == 0) {
      std::lock_guard<std::mutex> guard(line.Lock());
      std::cerr << "wifisim: " << module.Status() << "; " << server.Status() << std::endl;
    }
  }
  line.Stop();
  return 0;
}
