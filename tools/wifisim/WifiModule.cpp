#include "WifiModule.h"

#include <sstream>

#include "CloudServer.h"

namespace wifisim {

namespace {

std::vector<std::string> Split(const std::string& text, size_t parts) {
  std::vector<std::string> out;
  size_t start = 0;
  while (out.size() + 1 < parts) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) break;
    out.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

}  // namespace

std::vector<uint8_t> WifiModule::Receive(const uint8_t* data, size_t length, int lineBaud) {
  std::vector<uint8_t> out;
  if (m_silent || lineBaud != m_settings.baud || length == 0) return out;
  std::string in(reinterpret_cast<const char*>(data), length);
  std::string reply;
  switch (m_mode) {
    case kTransparent:
      if (in == "+++") {
        m_mode = kAwaitA;
        reply = "a";
      } else if (m_server) {
        m_server->FromPanel(data, length);
      }
      break;
    case kAwaitA:
      if (in == "a") {
        m_mode = kCommand;
        m_pending.clear();
        reply = m_settings.upper ? "+OK" : "+ok";
      } else {
        m_mode = kTransparent;
      }
      break;
    case kCommand:
      if (in == "+++") {
        reply = "+++";
        break;
      }
      m_pending += in;
      for (size_t eol; (eol = m_pending.find('\n')) != std::string::npos;) {
        std::string line = m_pending.substr(0, eol + 1);
        m_pending.erase(0, eol + 1);
        m_commands.push_back(line);
        reply += Answer(line);
      }
      break;
  }
  out.assign(reply.begin(), reply.end());
  return out;
}

std::string WifiModule::Ok(const std::string& echo, const std::string& value) const {
  const std::string v = value.empty() ? "" : "=" + value;
  return m_settings.upper ? echo + "+OK" + v + "\r\n" : echo + "\r+ok" + v + "\r\n\r\n";
}

std::string WifiModule::SetOk(const std::string& echo) const { return echo + "\r+ok\r\n\r\n"; }

std::string WifiModule::Answer(const std::string& line) {
  ModuleSettings& s = m_settings;
  std::string command = line;
  while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
  const size_t eq = command.find('=');
  const std::string name = command.substr(0, eq);
  const bool set = eq != std::string::npos;
  const std::string args = set ? command.substr(eq + 1) : "";
  const std::string error = s.upper ? line + "+ERR=-2\r\n" : line + "\r+ERR=-2\r\n\r\n";

  if (set) {  // the settings commands, one format in both dialects
    if (name == "AT+WSSSIDA") {
      s.ssid = args;
    } else if (name == "AT+WSKEYA") {
      auto f = Split(args, 3);
      if (f.size() != 3) return error;
      s.securityMode = f[0], s.encryption = f[1], s.key = f[2];
    } else if (name == "AT+WANN") {
      auto f = Split(args, 4);
      if (f.size() != 4) return error;
      s.networkMode = f[0], s.ipAddress = f[1], s.netMask = f[2], s.gateway = f[3];
    } else if (name == "AT+TCPADDB") {
      s.serverAddress = args;
    } else if (name == "AT+TCPPTB") {
      s.serverPort = args;
    } else {
      return error;
    }
    return SetOk(line);
  }
  if (name == "AT+ENTM") {
    m_mode = kTransparent;
    return Ok(line, "");
  }
  if (s.upper) {
    if (name == "AT+MAC") return Ok(line, s.mac);
    if (name == "AT+WSTA") return Ok(line, s.ssid + "," + s.key);
    if (name == "AT+WSLK") return Ok(line, s.wifiLinked ? s.ssid + "(" + s.mac + ")" : "DISCONNECTED");
    if (name == "AT+WANN") return Ok(line, s.networkMode + "," + s.ipAddress + "," + s.netMask + "," + s.gateway);
    if (name == "AT+SOCKB") return Ok(line, "TCP," + s.serverAddress + "," + s.serverPort);
    return error;
  }
  if (name == "AT+Z") {
    ++m_restarts;
    m_mode = kTransparent;
    return Ok(line, "");
  }
  if (name == "AT+WMAC") return Ok(line, s.mac);
  if (name == "AT+WSSSIDA") return Ok(line, s.ssid);
  if (name == "AT+WSKEYA") return Ok(line, s.securityMode + "," + s.encryption + "," + s.key);
  if (name == "AT+WSLK") return Ok(line, s.wifiLinked ? s.ssid + "(" + s.mac + ")" : "Disconnected");
  if (name == "AT+WANN") return Ok(line, s.networkMode + "," + s.ipAddress + "," + s.netMask + "," + s.gateway);
  if (name == "AT+TCPLKB") return Ok(line, s.tcpLinked ? "on" : "off");
  if (name == "AT+TCPADDB") return Ok(line, s.serverAddress);
  if (name == "AT+TCPPTB") return Ok(line, s.serverPort);
  return error;
}

std::string WifiModule::Status() const {
  std::ostringstream out;
  out << (m_settings.upper ? "upper-case" : "lower-case") << " dialect at " << m_settings.baud << " baud, "
      << (m_mode == kTransparent ? "transparent" : m_mode == kAwaitA ? "hand-shake" : "command mode")
      << ", SSID '" << m_settings.ssid << "', server " << m_settings.serverAddress << ":" << m_settings.serverPort;
  return out.str();
}

}  // namespace wifisim
