// The program's own log: what went wrong at start-up or while storing, and every debug output, as
// one line each with the board's local time and the program's name, on standard error and appended
// to $PANEL_ROOT/run/<program>.log. The file is bounded: past kLogFileLimit bytes it becomes
// <program>.log.1 (replacing the one before) and a new file starts, so a log never fills the flash.
// Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace panel {

constexpr size_t kLogFileLimit = 256 * 1024;
// Repeated reports of one failure (a database that refuses every write) come at most this often.
constexpr uint32_t kLogRepeatMs = 60 * 1000;

// The executable's file name without ".exe" ("Quellora", "Brimcourt").
std::string ProgramName();
// $PANEL_ROOT/run/<program>.log.
std::string LogFilePath();
// "2026-12-08 09:05:00.123 Quellora: text"; line breaks inside text become spaces.
void LogLine(const std::string& text);
// LogLine, unless a line of the same key was written less than intervalMs ago (platform clock).
// True when it wrote.
bool LogLineLimited(const std::string& key, const std::string& text, uint32_t intervalMs = kLogRepeatMs);
// Appends line to the file at path, first moving a file that would grow past kLogFileLimit aside to
// path + ".1". A file that cannot be written loses the line.
void AppendBoundedLine(const std::string& path, const std::string& line);
// Tests: forgets the keys' last times.
void ResetLogLimits();

// A bounded log that is written often (the board's, a line for each register write): the file stays
// open between lines, so a line costs a size check and a write. Bounded as AppendBoundedLine; when
// another program of the board moved the file aside, or it was removed, the next line goes to a new
// file under the name. Not locked: its owner serialises the calls.
class AppendFile {
public:
  AppendFile() = default;
  ~AppendFile() { Close(); }
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  void Append(const std::string& path, const std::string& line);
  void Close();

private:
  bool Open(const std::string& path);
  int m_fd = -1;
  std::string m_path;
};

}  // namespace panel
