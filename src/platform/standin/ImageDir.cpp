// Stand-in platform only (POSIX): where the system image lives.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/standin/StandinPlatform.h"

namespace brimlow::platform::standin {
namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "/tmp";
}

}  // namespace

std::filesystem::path ResolveImageDir(const std::filesystem::path& option) {
  if (!option.empty()) return option;
  const char* system = std::getenv("BRIMLOW_SYSTEM");
  if (system && *system) return system;
  // XDG asks to ignore a relative data folder.
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::filesystem::path base =
      data && data[0] == '/' ? std::filesystem::path(data) : HomeFolder() / ".local" / "share";
  return base / "brimlow" / "system";
}

}  // namespace brimlow::platform::standin
