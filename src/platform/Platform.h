#pragma once
// The one door to the operating system. Logic code reaches the registry,
// files, environment, shell links and processes only through Current().
//
// Each build provides a default: the Win32 implementation in the Windows
// build, the stand-in (a system image folder) in the host build. Tests and
// the command-line tool may install another set for one scope with
// ScopedPlatform.

#include <memory>
#include <string>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"

namespace brimlow::platform {

class Desktop;    // platform/Desktop.h: windows, mail
class OsVersion;  // platform/OsVersion.h: version numbers of the system

struct Platform {
  Registry* registry = nullptr;
  FileSystem* files = nullptr;
  Environment* environment = nullptr;
  ShellLinks* links = nullptr;
  Processes* processes = nullptr;
  Desktop* desktop = nullptr;
  OsVersion* version = nullptr;
};

// The platform in force. Never null members. Installing a platform is done
// on the main thread before workers start; reading it is safe from any
// thread.
const Platform& Current();

// Installs a platform for the lifetime of this object and puts the previous
// one back afterwards. Scopes nest; no worker may outlive the scope.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform current_;
  const Platform* previous_;
};

// Shorthands.
inline Registry& Reg() { return *Current().registry; }
inline FileSystem& Files() { return *Current().files; }
inline Environment& Env() { return *Current().environment; }
inline ShellLinks& Links() { return *Current().links; }
inline Processes& Procs() { return *Current().processes; }
inline Desktop& Desk() { return *Current().desktop; }
inline OsVersion& Version() { return *Current().version; }

// Implemented by the build's platform: the default set, created on first use.
const Platform& DefaultPlatform();

}  // namespace brimlow::platform
