// Win32 platform only.
// The scratch system of the Windows build: the machine's own registry and
// files (Wine's, under the test run), with a unique key under
// HKEY_CURRENT_USER\Software\BrimlowTest and a unique folder in the user's
// temporary folder, both removed afterwards.

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::testing {
namespace {

constexpr wchar_t kTestKey[] = L"Software\\BrimlowTest";

std::wstring UniqueName() {
  static std::atomic<unsigned> counter{0};
  return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
         std::to_wstring(counter++);
}

}  // namespace

struct ScratchSystem::Impl {
  std::wstring reg_path;
  std::wstring folder;
};

ScratchSystem::ScratchSystem() : impl_(std::make_unique<Impl>()) {
  auto& registry = platform::Reg();
  const std::wstring name = UniqueName();
  impl_->reg_path = std::wstring(kTestKey) + L"\\" + name;
  // A key left over by a crashed run must not leak into this one.
  registry.DeleteKeyTree(RegRoot(), impl_->reg_path);
  registry.CreateKey(RegRoot(), impl_->reg_path);
  impl_->folder = platform::Env().TempFolder() + L"brimlow-test-" + name + L"\\";
  platform::Files().CreateFolder(impl_->folder);
}

ScratchSystem::~ScratchSystem() {
  auto& registry = platform::Reg();
  registry.DeleteKeyTree(RegRoot(), impl_->reg_path);
  std::uint32_t subkeys = 0;
  std::uint32_t values = 0;
  if (registry.CountChildren(RegRoot(), kTestKey, &subkeys, &values) == platform::Result::kOk &&
      subkeys == 0 && values == 0)
    registry.DeleteKeyTree(RegRoot(), kTestKey);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(impl_->folder), ignored);
}

const std::wstring& ScratchSystem::RegPath() const { return impl_->reg_path; }
const std::wstring& ScratchSystem::Folder() const { return impl_->folder; }

std::string ScratchSystem::SystemOption() const { return {}; }

std::filesystem::path ScratchSystem::HostPath(const std::wstring& windows_path) const {
  return std::filesystem::path(windows_path);
}

}  // namespace brimlow::testing
