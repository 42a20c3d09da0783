#include "Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Clock.h"
#include "Files.h"
#include "Handles.h"
#include "Paths.h"
#include "Thread.h"

extern char** environ;

namespace {

// What the handles of one process and its reaper share; the reaper keeps it alive after the handles close.
struct ProcessState {
  pid_t pid = 0;
  std::mutex lock;
  std::condition_variable ended;
  bool reaped = false;
  bool terminated = false;
  DWORD terminateCode = 0;
  DWORD exitCode = STILL_ACTIVE;
};

// Waits for the child without reaping it, then reaps it under the lock: while the state says "not
// reaped" the pid cannot have been given to another process, so TerminateProcess never hits a stranger.
void Reap(std::shared_ptr<ProcessState> state) {
  siginfo_t info;
  while (waitid(P_PID, static_cast<id_t>(state->pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
  std::lock_guard<std::mutex> guard(state->lock);
  int status = 0;
  pid_t done;
  do {
    done = waitpid(state->pid, &status, 0);
  } while (done < 0 && errno == EINTR);
  if (done < 0) {
    state->exitCode = 0;  // reaped by somebody else; the status is lost
  } else if (WIFEXITED(status)) {
    state->exitCode = static_cast<DWORD>(WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    state->exitCode = state->terminated ? state->terminateCode : 128u + static_cast<DWORD>(WTERMSIG(status));
  } else {
    state->exitCode = 0;
  }
  state->reaped = true;
  state->ended.notify_all();
}

class ProcessObject : public panel::KernelObject {
public:
  explicit ProcessObject(std::shared_ptr<ProcessState> state) : m_state(std::move(state)) {}

  bool Wait(DWORD timeoutMs) override {
    std::unique_lock<std::mutex> guard(m_state->lock);
    auto ended = [&] { return m_state->reaped; };
    if (timeoutMs == INFINITE) {
      m_state->ended.wait(guard, ended);
      return true;
    }
    return m_state->ended.wait_for(guard, std::chrono::milliseconds(timeoutMs), ended);
  }

  DWORD ExitCode() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->reaped ? m_state->exitCode : STILL_ACTIVE;
  }

  pid_t Pid() const { return m_state->pid; }

  void Terminate(DWORD code) {
    std::lock_guard<std::mutex> guard(m_state->lock);
    if (m_state->reaped) return;
    m_state->terminated = true;
    m_state->terminateCode = code;
    kill(m_state->pid, SIGKILL);
  }

private:
  std::shared_ptr<ProcessState> m_state;
};

// A program of the board that this one did not start, opened by its id to learn its file.
class OpenedProcess : public panel::KernelObject {
public:
  explicit OpenedProcess(pid_t pid) : m_pid(pid) {}
  pid_t Pid() const { return m_pid; }

private:
  pid_t m_pid;
};

std::vector<std::u16string> SplitWords(const char16_t* text) {
  std::vector<std::u16string> words;
  if (!text) return words;
  std::u16string word;
  bool inWord = false;
  bool quoted = false;
  for (const char16_t* p = text; *p; ++p) {
    if (*p == u'"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (*p == u' ' || *p == u'\t')) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += *p;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// The environment for a child: ours, with the root in force (it may be a test's override).
std::vector<std::string> ChildEnvironment() {
  GetTickCount();  // makes the production clock publish PANEL_TIME_BASE when time is scaled
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    if (std::string(*e).compare(0, 11, "PANEL_ROOT=") != 0) env.emplace_back(*e);
  }
  env.push_back("PANEL_ROOT=" + panel::PanelRoot());
  return env;
}

std::mutex& ModuleLock() {
  static auto* lock = new std::mutex();  // never destroyed: used by static objects at exit
  return *lock;
}

CString& ModuleOverride() {
  static auto* path = new CString();
  return *path;
}

std::string ExecutablePath(const std::string& process = "self") {
  std::vector<char> buffer(4096);
  ssize_t n = readlink(("/proc/" + process + "/exe").c_str(), buffer.data(), buffer.size() - 1);
  return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
}

// The process a handle of OpenProcess or CreateProcessW stands for; 0 for any other value, -1 for a
// started one that has ended (its id may already be another program's).
pid_t ProcessOf(HMODULE module) {
  HANDLE handle = module;
  if (auto* opened = panel::HandleAs<OpenedProcess>(handle)) return opened->Pid();
  if (auto* started = panel::HandleAs<ProcessObject>(handle)) {
    return started->ExitCode() == STILL_ACTIVE ? started->Pid() : -1;
  }
  return 0;
}

}  // namespace

BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION info) {
  std::vector<std::u16string> words = SplitWords(commandLine);
  std::u16string program = application ? std::u16string(application) : std::u16string();
  if (!application && !words.empty()) {
    program = words.front();
    words.erase(words.begin());
  }
  if (program.empty() || !info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = panel::MapPath(program.c_str());
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }

  std::vector<std::string> args{path};
  for (const auto& w : words) args.push_back(ToUtf8(w.c_str()));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment();
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);

  // The child starts with no blocked signals and default handlers, whatever this thread has set.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  // Nothing but the standard streams passes to the child, even a descriptor opened without close-on-exec:
  // a program must not inherit, say, the lock file that holds another program's single-instance mutex.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t pid = 0;
  int err = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (err != 0) {
    SetLastError(err == ENOEXEC ? ERROR_BAD_EXE_FORMAT : panel::ErrorFromErrno(err, path));
    return FALSE;
  }

  auto state = std::make_shared<ProcessState>();
  state->pid = pid;
  std::thread(Reap, state).detach();
  info->hProcess = panel::RegisterHandle(new ProcessObject(state));
  info->hThread = panel::RegisterHandle(new ProcessObject(state));
  info->dwProcessId = static_cast<DWORD>(pid);
  info->dwThreadId = static_cast<DWORD>(pid);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  auto* p = panel::HandleAs<ProcessObject>(process);
  if (!p || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = p->ExitCode();
  return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
  auto* p = panel::HandleAs<ProcessObject>(process);
  if (!p) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  p->Terminate(exitCode);
  return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  const pid_t pid = static_cast<pid_t>(processId);
  if (pid <= 0 || (kill(pid, 0) != 0 && errno != EPERM)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return panel::RegisterHandle(new OpenedProcess(pid));
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  const pid_t process = module ? ProcessOf(module) : getpid();
  if (process == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!buffer || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  CString path;
  if (process == getpid()) {
    std::lock_guard<std::mutex> guard(ModuleLock());
    path = ModuleOverride();
  }
  if (path.IsEmpty()) {
    const std::string file = process < 0              ? std::string()
                             : process == getpid() ? ExecutablePath()
                                                   : ExecutablePath(std::to_string(process));
    if (file.empty()) {
      SetLastError(ERROR_INVALID_HANDLE);  // the program has ended
      return 0;
    }
    path = panel::ModulePathFor(file);
  }
  WStrCopy(buffer, size, path);
  if (static_cast<DWORD>(path.GetLength()) >= size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.GetLength());
}

namespace panel {

void SetModulePath(const CString& cePath) {
  std::lock_guard<std::mutex> guard(ModuleLock());
  ModuleOverride() = cePath;
}

CString ModulePathFor(const std::string& linuxPath) {
  CString inside = UnmapPath(linuxPath);
  if (!inside.IsEmpty()) return inside;
  size_t slash = linuxPath.rfind('/');
  CString name = CString::FromUtf8(slash == std::string::npos ? linuxPath : linuxPath.substr(slash + 1));
  if (name.GetLength() < 4 || name.Right(4).CompareNoCase(u".exe") != 0) name += u".exe";
  return CString(u"\\ResidentFlash\\Quellora\\") + name;
}

}  // namespace panel
