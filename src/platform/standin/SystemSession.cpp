// Stand-in platform only.
#include "platform/SystemSession.h"

#include <cstdlib>
#include <system_error>

#include "platform/Platform.h"
#include "platform/standin/StandinPlatform.h"

namespace brimlow::platform {

struct SystemSession::Impl {
  standin::StandinPlatform system;
  std::unique_ptr<ScopedPlatform> scope;  // after system: ends before it
};

SystemSession::SystemSession() : impl_(std::make_unique<Impl>()) {}

SystemSession::~SystemSession() = default;

bool SystemSession::Open(const std::wstring& image_option, std::wstring* error) {
  const char* variable = std::getenv("BRIMLOW_SYSTEM");
  const bool named = !image_option.empty() || (variable && *variable);
  const std::filesystem::path dir = standin::ResolveImageDir(ToUtf8(image_option));
  std::error_code ec;
  // The default image is made on first use, so the tool works on a fresh
  // machine; a folder the user named must exist.
  if (!named && !std::filesystem::exists(dir, ec) && !standin::CreateFreshImage(dir, error))
    return false;
  if (!impl_->system.Open(dir, error)) return false;
  impl_->scope = std::make_unique<ScopedPlatform>(impl_->system.platform());
  return true;
}

std::wstring SystemSession::Description() const {
  return L"image " + FromUtf8(impl_->system.image_dir().string());
}

}  // namespace brimlow::platform
