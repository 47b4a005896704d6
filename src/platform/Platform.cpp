#include "platform/Platform.h"

#include <atomic>

namespace brimlow::platform {
namespace {

std::atomic<const Platform*> g_installed{nullptr};

}  // namespace

const Platform& Current() {
  const Platform* installed = g_installed.load(std::memory_order_acquire);
  return installed ? *installed : DefaultPlatform();
}

ScopedPlatform::ScopedPlatform(const Platform& platform)
    : current_(platform), previous_(g_installed.load(std::memory_order_acquire)) {
  const Platform& fallback = Current();
  if (!current_.registry) current_.registry = fallback.registry;
  if (!current_.files) current_.files = fallback.files;
  if (!current_.environment) current_.environment = fallback.environment;
  if (!current_.links) current_.links = fallback.links;
  if (!current_.processes) current_.processes = fallback.processes;
  if (!current_.desktop) current_.desktop = fallback.desktop;
  if (!current_.version) current_.version = fallback.version;
  g_installed.store(&current_, std::memory_order_release);
}

ScopedPlatform::~ScopedPlatform() { g_installed.store(previous_, std::memory_order_release); }

}  // namespace brimlow::platform
