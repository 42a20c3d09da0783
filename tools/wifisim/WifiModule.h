// The serial WiFi module as the panel sees it on its line: transparent mode (bytes go to and come from the
// server), the "+++" / "a" hand-shake into command mode and the AT commands of either dialect. The module
// runs at one baud rate; bytes sent at another rate are noise to it and get no answer.
// Not thread-safe: its line server serialises access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wifisim {

class CloudServer;

struct ModuleSettings {
  bool upper = false;  // dialect: "+OK" and CR LF, or "\r+ok" and LF
  int baud = 57600;
  std::string mac = "ACCF23A1B2C3";
  std::string ssid = "PlantRoom";
  std::string securityMode = "WPA2PSK";
  std::string encryption = "AES";
  std::string key = "heatpump42";
  std::string networkMode = "DHCP";
  std::string ipAddress = "192.168.1.57";
  std::string netMask = "255.255.255.0";
  std::string gateway = "192.168.1.1";
  std::string serverAddress = "cloud.example.net";
  std::string serverPort = "8899";
  bool wifiLinked = true;
  bool tcpLinked = true;
};

class WifiModule {
public:
  enum Mode { kTransparent, kAwaitA, kCommand };

  explicit WifiModule(ModuleSettings settings = {}) : m_settings(std::move(settings)) {}
  void SetServer(CloudServer* server) { m_server = server; }

  // Bytes from the panel sent at lineBaud; returns the module's answer to the panel.
  std::vector<uint8_t> Receive(const uint8_t* data, size_t length, int lineBaud);

  ModuleSettings& Settings() { return m_settings; }
  Mode CurrentMode() const { return m_mode; }
  // Every command line received in command mode, as received.
  const std::vector<std::string>& Commands() const { return m_commands; }
  void ClearCommands() { m_commands.clear(); }
  int Restarts() const { return m_restarts; }
  // A silent module answers nothing at all.
  void SetSilent(bool silent) { m_silent = silent; }
  std::string Status() const;

private:
  std::string Answer(const std::string& line);
  std::string Ok(const std::string& echo, const std::string& value) const;
  std::string SetOk(const std::string& echo) const;

  ModuleSettings m_settings;
  CloudServer* m_server = nullptr;
  Mode m_mode = kTransparent;
  std::string m_pending;  // a command line not yet complete
  std::vector<std::string> m_commands;
  int m_restarts = 0;
  bool m_silent = false;
};

}  // namespace wifisim
