// unitsim: the heat pump's indoor and outdoor boards on a pseudo-terminal, for running the terminal without
// units. See Usage() for the flags and the control commands.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "LineServer.h"
#include "PtyPair.h"
#include "UnitSimulator.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void Usage(std::ostream& out) {
  out << "usage: unitsim [options]\n"
         "Simulates the heat pump's indoor board (Modbus address 11) and outdoor board (address 2) on one\n"
         "serial line: the far side of a new pseudo-terminal pair. A small thermal model moves the water, tank,\n"
         "room and coil temperatures with the compressor, pump, valve and heaters the terminal drives. The\n"
         "terminal opens the other side through the board's port map. Prints \"<port> <device>\" once the line\n"
         "is up, then serves until stopped, logging the status line each time the outdoor board stores its\n"
         "parameter cells.\n"
         "\n"
         "  --root DIR            write \"<port> <device>\" into DIR/board/ports (other entries are kept)\n"
         "  --port NAME           the port name for the map (default COM3)\n"
         "  --link PATH           also make PATH a symbolic link to the device\n"
         "  --indoor-address N    indoor board's slave address (default 11)\n"
         "  --outdoor-address N   outdoor board's slave address (default 2)\n"
         "  --drop indoor|outdoor start with that board silent (may be repeated)\n"
         "  --fail-sensor REG     start with that indoor sensor failed: 1200-1211, 1222-1224 (may be repeated)\n"
         "  --garbage PERCENT     replace that share of the replies by random bytes\n"
         "  --control PATH        create a FIFO at PATH and take commands from it, one per line:\n"
         "                          drop indoor|outdoor|all      restore indoor|outdoor|all\n"
         "                          fail REG                     heal REG|all\n"
         "                          garbage PERCENT              set REG VALUE\n"
         "                          ambient DEGREES              status\n"
         "                          flow broken|ok               quit\n"
         "                          late indoor|outdoor|all MS   answer MS milliseconds late (0: at once)\n"
         "                        e.g.  echo 'drop outdoor' > PATH\n"
         "  --help                this text\n";
}

bool Number(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!text[0] || *end || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, port = "COM3", link, control;
  int indoor = 11, outdoor = 2, garbage = 0;
  std::vector<std::string> drops;
  std::vector<int> failed;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::cerr << "unitsim: " << name << " needs a value\n";
        std::exit(2);
      }
      return argv[++i];
    };
    int n = 0;
    if (a == "--help" || a == "-h") {
      Usage(std::cout);
      return 0;
    } else if (a == "--root") {
      root = value("--root");
    } else if (a == "--port") {
      port = value("--port");
    } else if (a == "--link") {
      link = value("--link");
    } else if (a == "--control") {
      control = value("--control");
    } else if (a == "--indoor-address" && Number(value("--indoor-address"), 1, 247, n)) {
      indoor = n;
    } else if (a == "--outdoor-address" && Number(value("--outdoor-address"), 1, 247, n)) {
      outdoor = n;
    } else if (a == "--drop") {
      drops.push_back(value("--drop"));
    } else if (a == "--fail-sensor" && Number(value("--fail-sensor"), 1200, 1224, n)) {
      failed.push_back(n);
    } else if (a == "--garbage" && Number(value("--garbage"), 0, 100, n)) {
      garbage = n;
    } else {
      std::cerr << "unitsim: bad argument '" << a << "'\n";
      Usage(std::cerr);
      return 2;
    }
  }

  unitsim::UnitSimulator sim(indoor, outdoor);
  sim.EnableThermal(true);
  for (const std::string& d : drops) {
    std::string r = sim.Command("drop " + d);
    if (r.rfind("error", 0) == 0) {
      std::cerr << "unitsim: --drop " << d << ": " << r << "\n";
      return 2;
    }
  }
  for (int reg : failed) {
    if (!sim.Indoor().FailSensor(reg, true)) {
      std::cerr << "unitsim: --fail-sensor " << reg << ": not a sensor register\n";
      return 2;
    }
  }
  sim.SetGarbagePercent(garbage);

  unitsim::PtyPair pty;
  if (!pty.Open()) {
    std::cerr << "unitsim: " << pty.Error() << "\n";
    return 1;
  }
  if (!link.empty()) {
    unlink(link.c_str());
    if (symlink(pty.SlavePath().c_str(), link.c_str()) != 0) {
      std::cerr << "unitsim: symlink " << link << ": " << std::strerror(errno) << "\n";
      return 1;
    }
  }
  if (!root.empty() && !unitsim::WritePortMap(root, port, pty.SlavePath())) {
    std::cerr << "unitsim: cannot write " << root << "/board/ports\n";
    return 1;
  }
  int fifo = -1;
  if (!control.empty()) {
    unlink(control.c_str());
    if (mkfifo(control.c_str(), 0600) != 0) {
      std::cerr << "unitsim: mkfifo " << control << ": " << std::strerror(errno) << "\n";
      return 1;
    }
    fifo = open(control.c_str(), O_RDWR | O_NONBLOCK);  // read-write: the FIFO never reports end of file
  }

  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);
  std::cout << port << " " << pty.SlavePath() << std::endl;
  std::cerr << "unitsim: " << sim.Status() << std::endl;

  unitsim::LineServer server(pty, sim);
  server.Start();
  std::string pending;
  int commitsLogged = 0;
  while (!g_stop) {
    {
      // Every commit the outdoor board stores is logged with the status line, so a run shows what arrived.
      std::lock_guard<std::mutex> guard(server.Lock());
      if (sim.Outdoor().Commits() != commitsLogged) {
        commitsLogged = sim.Outdoor().Commits();
        std::cerr << "unitsim: outdoor cells stored -> " << sim.Status() << std::endl;
      }
    }
    if (fifo < 0) {
      usleep(100000);
      continue;
    }
    pollfd p{fifo, POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char buffer[256];
    ssize_t n = read(fifo, buffer, sizeof(buffer));
    if (n <= 0) continue;
    pending.append(buffer, static_cast<size_t>(n));
    size_t eol;
    while ((eol = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, eol);
      pending.erase(0, eol + 1);
      if (line == "quit") {
        g_stop = 1;
        break;
      }
      std::string answer;
      {
        std::lock_guard<std::mutex> guard(server.Lock());
        answer = sim.Command(line);
      }
      if (!answer.empty()) std::cerr << "unitsim: " << line << " -> " << answer << std::endl;
    }
  }
  server.Stop();
  if (fifo >= 0) {
    close(fifo);
    unlink(control.c_str());
  }
  if (!link.empty()) unlink(link.c_str());
  return 0;
}
