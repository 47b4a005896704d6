// Stand-in platform only.
#include "platform/standin/StandinPlatform.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/standin/StandinServices.h"

namespace brimlow::platform::standin {

namespace fs = std::filesystem;

namespace {

// The image's environment file; a missing file sets nothing.
bool ReadEnvironment(const fs::path& file, EnvVariables* variables, std::wstring* error) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return true;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    *error = FromUtf8(file.string()) + L": cannot be read";
    return false;
  }
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseEnvironmentFile(content, FromUtf8(file.string()), variables, error);
}

}  // namespace

StandinPlatform::StandinPlatform() : impl_(std::make_unique<StandinServices>(fs::path(), EnvVariables())) {}

StandinPlatform::~StandinPlatform() = default;

bool StandinPlatform::Open(const fs::path& image_dir, std::wstring* error) {
  std::error_code ec;
  if (!fs::is_directory(image_dir, ec)) {
    *error = L"the system image folder does not exist: " + FromUtf8(image_dir.string());
    return false;
  }
  EnvVariables variables;
  if (!ReadEnvironment(image_dir / "environment", &variables, error)) return false;
  auto opened = std::make_unique<StandinServices>(image_dir, variables);
  if (!opened->registry.Load(image_dir / "registry.reg", error)) return false;
  impl_ = std::move(opened);
  return true;
}

const Platform& StandinPlatform::platform() const { return impl_->platform; }

const fs::path& StandinPlatform::image_dir() const { return impl_->image_dir; }

fs::path StandinPlatform::HostPath(const std::wstring& windows_path) const {
  return impl_->drives.HostPath(windows_path);
}

std::wstring StandinPlatform::WindowsPath(const fs::path& host_path) {
  return DriveMap::WindowsPath(host_path);
}

}  // namespace brimlow::platform::standin
