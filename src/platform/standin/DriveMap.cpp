// Stand-in platform only (POSIX).
#include "platform/standin/DriveMap.h"

#include <dirent.h>
#include <sys/stat.h>

#include <system_error>
#include <vector>

#include "base/Text.h"

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool Exists(const fs::path& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The path's parts after the drive, with "." and ".." resolved by name.
std::vector<std::wstring> NormalParts(std::wstring_view rest) {
  std::vector<std::wstring> parts;
  std::wstring part;
  auto flush = [&] {
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (wchar_t c : rest) {
    if (c == L'\\' || c == L'/') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  return parts;
}

}  // namespace

DriveMap::DriveMap(const fs::path& image_dir) {
  drives_[L'Z'] = "/";
  if (image_dir.empty()) return;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(image_dir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != 7 || name.compare(0, 6, "drive_") != 0) continue;
    const wchar_t letter = UpperChar(static_cast<wchar_t>(name[6]));
    if (letter < L'A' || letter > L'Z' || letter == L'Z') continue;
    if (IsDirectory(entry.path())) drives_[letter] = entry.path();
  }
}

fs::path DriveMap::HostPath(const std::wstring& windows_path) const {
  if (windows_path.size() < 2 || windows_path[1] != L':') return {};
  if (windows_path.find(L'\0') != std::wstring::npos) return {};
  const auto drive = drives_.find(UpperChar(windows_path[0]));
  if (drive == drives_.end()) return {};

  fs::path host = drive->second;
  bool exists = true;  // whether host names an existing folder so far
  for (const std::wstring& part : NormalParts(std::wstring_view(windows_path).substr(2))) {
    const std::string name = ToUtf8(part);
    if (exists) {
      const std::string found = FindNameIgnoringCase(host, name);
      if (!found.empty()) {
        host /= found;
        continue;
      }
      exists = false;
    }
    host /= name;
  }
  return host;
}

std::wstring DriveMap::WindowsPath(const fs::path& host_path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(host_path, ec).lexically_normal();
  std::wstring path = L"Z:";
  for (const auto& part : absolute.relative_path()) {
    if (part.empty()) continue;
    path += L'\\';
    path += FromUtf8(part.string());
  }
  if (path.size() == 2) path += L'\\';
  return path;
}

std::string FindNameIgnoringCase(const fs::path& host_folder, const std::string& name) {
  if (Exists(host_folder / name)) return name;
  DIR* dir = ::opendir(host_folder.c_str());
  if (!dir) return {};
  const std::wstring wanted = FromUtf8(name);
  std::string found;
  while (const dirent* entry = ::readdir(dir)) {
    if (SameText(FromUtf8(entry->d_name), wanted)) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace brimlow::platform::standin
