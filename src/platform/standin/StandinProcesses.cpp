// Stand-in platform only (POSIX).
#include "platform/standin/StandinProcesses.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "base/Text.h"

extern char** environ;

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;

struct Launch {
  std::string program;  // a host path, or a bare name looked up in PATH
  bool search_path = false;
  std::vector<std::string> args;
  std::string working_folder;
};

bool IsBareName(const std::wstring& name) {
  return name.find_first_of(L"\\/:") == std::wstring::npos;
}

// Spawns the program; 0 when it could not be started.
pid_t Spawn(const Launch& launch) {
  std::vector<char*> argv;
  for (const auto& arg : launch.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!launch.working_folder.empty())
    posix_spawn_file_actions_addchdir_np(&actions, launch.working_folder.c_str());
  pid_t pid = 0;
  const int failed = launch.search_path
                         ? posix_spawnp(&pid, launch.program.c_str(), &actions, nullptr, argv.data(), environ)
                         : posix_spawn(&pid, launch.program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? 0 : pid;
}

// Collects the exit of a process nobody waits for, so it leaves no zombie.
void ReapLater(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

// Waits for the process at most timeout_ms (-1: without limit).
void WaitFor(pid_t pid, std::int32_t timeout_ms) {
  int status = 0;
  if (timeout_ms < 0) {
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ReapLater(pid);
}

bool IsUrl(const std::wstring& text) {
  const auto colon = text.find(L':');
  if (colon == std::wstring::npos || colon < 2) return false;  // "C:" is a drive
  for (std::size_t i = 0; i < colon; ++i) {
    const wchar_t c = text[i];
    const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    const bool other = (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
    if (!letter && (i == 0 || !other)) return false;
  }
  return true;
}

// The full path of an executable in the host's PATH; empty when none.
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    const auto end = rest.find(':');
    const std::string folder(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (folder.empty()) continue;
    const std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

bool OpenWithDesktop(const std::string& target, std::wstring* error) {
  const std::string opener = FindOnPath("xdg-open");
  if (opener.empty()) {
    *error = L"no program to open files and web addresses (xdg-open) is installed";
    return false;
  }
  const pid_t pid = Spawn({opener, false, {opener, target}, {}});
  if (!pid) {
    *error = L"xdg-open could not be started";
    return false;
  }
  ReapLater(pid);
  return true;
}

bool IsExecutableFile(const fs::path& host) {
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(host.c_str(), X_OK) == 0;
}

std::string LockFileName(const std::wstring& name) {
  std::string safe;
  for (char c : ToUtf8(name)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '{' || c == '}';
    safe += plain ? c : '_';
  }
  if (safe.size() > 200) safe.resize(200);
  return "brimlow-" + safe + ".lock";
}

}  // namespace

bool StandinProcesses::Start(const StartInfo& info) {
  std::vector<std::wstring> args = SplitCommandLine(info.command_line);
  const std::wstring program = info.application.empty() ? args[0] : info.application;
  if (program.empty()) return false;
  if (info.command_line.empty()) args = {program};

  Launch launch;
  if (IsBareName(program)) {
    launch.program = ToUtf8(program);
    launch.search_path = true;
  } else {
    const fs::path host = drives_.HostPath(program);
    if (host.empty()) return false;
    launch.program = host.string();
  }
  for (const auto& arg : args) launch.args.push_back(ToUtf8(arg));
  if (!info.working_folder.empty()) {
    const fs::path folder = drives_.HostPath(info.working_folder);
    if (folder.empty()) return false;
    launch.working_folder = folder.string();
  }

  const pid_t pid = Spawn(launch);
  if (!pid) return false;
  if (info.wait) {
    WaitFor(pid, info.timeout_ms);
  } else {
    ReapLater(pid);
  }
  return true;
}

bool StandinProcesses::ShellExecute(const std::wstring& verb, const std::wstring& file,
                                    const std::wstring& parameters, std::wstring* error) {
  if (SameText(verb, L"runas")) {
    *error = L"not available on this platform";
    return false;
  }
  if (!verb.empty() && !SameText(verb, L"open")) {
    *error = L"the action \"" + verb + L"\" is not available on this platform";
    return false;
  }
  if (IsUrl(file)) return OpenWithDesktop(ToUtf8(file), error);

  const fs::path host = drives_.HostPath(file);
  struct stat st;
  if (host.empty() || ::stat(host.c_str(), &st) != 0) {
    *error = L"the file was not found: " + file;
    return false;
  }
  if (!IsExecutableFile(host)) return OpenWithDesktop(host.string(), error);
  std::vector<std::wstring> args = SplitCommandLine(L"x " + parameters);
  Launch launch{host.string(), false, {host.string()}, {}};
  for (std::size_t i = 1; i < args.size(); ++i) launch.args.push_back(ToUtf8(args[i]));
  const pid_t pid = Spawn(launch);
  if (!pid) {
    *error = L"the program could not be started: " + file;
    return false;
  }
  ReapLater(pid);
  return true;
}

bool StandinProcesses::CreateInstanceMutex(const std::wstring& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string file;
  if (runtime && runtime[0] == '/') {
    file = std::string(runtime) + "/" + LockFileName(name);
  } else {
    // /tmp is shared by every user: keep the user's own lock apart.
    file = "/tmp/" + std::to_string(::getuid()) + "-" + LockFileName(name);
  }
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  // The descriptor stays open on purpose: like the mutex, the lock is held
  // until the process ends.
  return true;
}

}  // namespace brimlow::platform::standin
