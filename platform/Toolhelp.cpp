#include "Toolhelp.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CString.h"
#include "Handles.h"
#include "Paths.h"

namespace {

struct Program {
  DWORD id;
  CString name;
};

class Snapshot : public panel::KernelObject {
public:
  explicit Snapshot(std::vector<Program> programs) : m_programs(std::move(programs)) {}

  BOOL Fill(LPPROCESSENTRY32W entry, bool first) {
    if (!entry || entry->dwSize < sizeof(PROCESSENTRY32W)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (first) m_next = 0;
    if (m_next >= m_programs.size()) {
      SetLastError(ERROR_NO_MORE_FILES);
      return FALSE;
    }
    const Program& p = m_programs[m_next++];
    entry->th32ProcessID = p.id;
    WStrCopy(entry->szExeFile, MAX_PATH, p.name);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }

private:
  std::vector<Program> m_programs;
  size_t m_next = 0;
};

// The file a process runs, inside the root as a CE path; empty for one of the machine outside the board,
// and for one that has ended (a zombie's link can no longer be read).
CString BoardFileOf(const std::string& pid) {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink(("/proc/" + pid + "/exe").c_str(), buffer.data(), buffer.size() - 1);
  if (n <= 0) return CString();
  return panel::UnmapPath(std::string(buffer.data(), static_cast<size_t>(n)));
}

std::vector<Program> BoardPrograms() {
  std::vector<Program> programs;
  DIR* proc = opendir("/proc");
  if (!proc) return programs;
  while (dirent* entry = readdir(proc)) {
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const CString file = BoardFileOf(pid);
    if (file.IsEmpty()) continue;
    programs.push_back({static_cast<DWORD>(std::strtoul(pid.c_str(), nullptr, 10)), file.Mid(file.ReverseFind(u'\\') + 1)});
  }
  closedir(proc);
  return programs;
}

BOOL Step(HANDLE snapshot, LPPROCESSENTRY32W entry, bool first) {
  auto* s = panel::HandleAs<Snapshot>(snapshot);
  if (!s) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return s->Fill(entry, first);
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
  if (flags != TH32CS_SNAPPROCESS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_SUCCESS);
  return panel::RegisterHandle(new Snapshot(BoardPrograms()));
}

BOOL Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry) { return Step(snapshot, entry, true); }

BOOL Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry) { return Step(snapshot, entry, false); }

BOOL CloseToolhelp32Snapshot(HANDLE snapshot) {
  if (!panel::HandleAs<Snapshot>(snapshot)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(snapshot);
}
