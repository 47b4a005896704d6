// Stand-in platform only: a scratch system image per test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "platform/standin/StandinPlatform.h"
#include "support/ScratchSystem.h"

namespace brimlow::testing {

namespace fs = std::filesystem;

struct ScratchSystem::Impl {
  fs::path dir;
  platform::standin::StandinPlatform system;
  std::unique_ptr<platform::ScopedPlatform> scope;
  std::wstring reg_path;
  std::wstring folder;
};

namespace {

fs::path MakeTempFolder() {
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "brimlow-scratch-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return {};
  return pattern;
}

}  // namespace

ScratchSystem::ScratchSystem() : impl_(std::make_unique<Impl>()) {
  impl_->dir = MakeTempFolder();
  std::wstring error;
  if (impl_->dir.empty() || !platform::standin::CreateFreshImage(impl_->dir, &error) ||
      !impl_->system.Open(impl_->dir, &error)) {
    ADD_FAILURE() << "scratch system image: " << ToUtf8(error);
    return;
  }
  impl_->scope = std::make_unique<platform::ScopedPlatform>(impl_->system.platform());

  static std::atomic<unsigned> counter{0};
  const std::wstring unique = FromUtf8(impl_->dir.filename().string()) + L"-" + std::to_wstring(counter++);
  impl_->reg_path = L"Software\\BrimlowTest\\" + unique;
  impl_->folder = L"C:\\BrimlowTest\\" + unique + L"\\";
  if (!platform::Ok(platform::Reg().CreateKey(RegRoot(), impl_->reg_path)))
    ADD_FAILURE() << "scratch registry key cannot be created";
  if (!platform::Ok(platform::Files().CreateFolder(impl_->folder)))
    ADD_FAILURE() << "scratch folder cannot be created";
}

ScratchSystem::~ScratchSystem() {
  impl_->scope.reset();
  std::error_code ec;
  if (!impl_->dir.empty()) fs::remove_all(impl_->dir, ec);
}

const std::wstring& ScratchSystem::RegPath() const { return impl_->reg_path; }

const std::wstring& ScratchSystem::Folder() const { return impl_->folder; }

std::string ScratchSystem::SystemOption() const { return impl_->dir.string(); }

std::filesystem::path ScratchSystem::HostPath(const std::wstring& windows_path) const {
  return impl_->system.HostPath(windows_path);
}

}  // namespace brimlow::testing
