// Win32 platform only.
// The machine's own services, created once on first use and kept for the
// life of the process (workers may still use them while statics are torn
// down, so they are never destroyed).

#include "platform/Platform.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32OsVersion.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLinks.h"

namespace brimlow::platform {

const Platform& DefaultPlatform() {
  static const Platform* const platform = [] {
    auto* services = new Platform;
    services->registry = new win32::Win32Registry;
    services->files = new win32::Win32FileSystem;
    services->environment = new win32::Win32Environment;
    services->links = new win32::Win32ShellLinks;
    services->processes = new win32::Win32Processes;
    services->desktop = new win32::Win32Desktop;
    services->version = new win32::Win32OsVersion;
    return services;
  }();
  return *platform;
}

}  // namespace brimlow::platform
