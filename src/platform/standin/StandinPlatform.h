#pragma once
// Stand-in platform only: an honest emulation of a Windows machine over a
// "system image" folder, for the host build.
//
// The image folder holds:
//   registry.reg  the whole registry in the registry editor's format,
//                 loaded into memory and written back atomically after
//                 every change;
//   drive_c/, drive_d/ ...  the drives, matched without regard to case;
//   environment   NAME=VALUE lines of Windows-like variables (optional;
//                 defaults fill what it leaves out).
// The host's own file system is drive Z:.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace brimlow::platform::standin {

struct StandinServices;

class StandinPlatform {
 public:
  StandinPlatform();
  ~StandinPlatform();
  StandinPlatform(const StandinPlatform&) = delete;
  StandinPlatform& operator=(const StandinPlatform&) = delete;

  // Opens the image folder (an empty or missing registry.reg is an empty
  // registry; a missing folder is an error). On failure returns false and
  // stores a message naming the file and line in *error.
  bool Open(const std::filesystem::path& image_dir, std::wstring* error);

  const Platform& platform() const;
  const std::filesystem::path& image_dir() const;

  // Maps a Windows path onto the host ("C:\x" -> image/drive_c/x, matching
  // existing names without regard to case; "Z:\x" -> /x). Empty when the
  // path has no drive this image knows.
  std::filesystem::path HostPath(const std::wstring& windows_path) const;
  // The Windows name of a host path (drive Z:).
  static std::wstring WindowsPath(const std::filesystem::path& host_path);

 private:
  std::unique_ptr<StandinServices> impl_;
};

// The image folder to use: the --system option when given, else the
// BRIMLOW_SYSTEM environment variable, else "brimlow/system" under the
// user's data folder ($XDG_DATA_HOME or ~/.local/share).
std::filesystem::path ResolveImageDir(const std::filesystem::path& option);

// Makes (or completes) a Windows-like image in dir: drive_c with the Windows,
// user, ProgramData and Program Files folders, an "environment" file, and a
// registry.reg with the per-user and common "Shell Folders" values. Existing
// files are kept. On failure returns false with the reason in *error.
bool CreateFreshImage(const std::filesystem::path& dir, std::wstring* error);

}  // namespace brimlow::platform::standin
