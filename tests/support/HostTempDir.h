#pragma once
// Stand-in build only: a fresh host folder for one test, deleted afterwards.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace brimlow::testing {

class HostTempDir {
 public:
  HostTempDir() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "brimlow-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~HostTempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  HostTempDir(const HostTempDir&) = delete;
  HostTempDir& operator=(const HostTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes a host file (and its folders) below the folder.
  void Write(const std::string& relative, const std::string& content) const {
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace brimlow::testing
