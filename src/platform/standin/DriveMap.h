#pragma once
// Stand-in platform only: Windows path names onto the host's files.
//
// "C:\x\y" is <image>/drive_c/x/y, "Z:\x" is the host's /x. Every existing
// name on the way is matched without regard to case (the exact name first,
// then a scan of the folder); names that do not exist yet keep the case they
// were given. "." and ".." are resolved by name, as Windows does, and never
// climb above the drive's own folder.

#include <filesystem>
#include <map>
#include <string>

namespace brimlow::platform::standin {

class DriveMap {
 public:
  // Only drive Z: (the host) when image_dir is empty; otherwise also every
  // "drive_<letter>" folder of the image.
  explicit DriveMap(const std::filesystem::path& image_dir = {});

  // The host path of a Windows path; empty when it has no drive letter this
  // map knows or contains a character no host name can hold.
  std::filesystem::path HostPath(const std::wstring& windows_path) const;

  // The Windows name of a host path: drive Z: ("/home/x" -> "Z:\home\x").
  static std::wstring WindowsPath(const std::filesystem::path& host_path);

 private:
  std::map<wchar_t, std::filesystem::path> drives_;  // upper-case letter -> folder
};

// The name of an entry of host_folder that equals name without regard to
// case (the exact name when it exists); empty when there is none.
std::string FindNameIgnoringCase(const std::filesystem::path& host_folder, const std::string& name);

}  // namespace brimlow::platform::standin
