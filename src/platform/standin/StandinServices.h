#pragma once
// Stand-in platform only: the services of one emulated system and the
// platform table that points at them, built together so that each outlives
// the ones that refer to it (the drive map first). The registry has no file
// behind it until one is loaded: without, the system lives in memory only.

#include <filesystem>

#include "platform/Platform.h"
#include "platform/standin/DriveMap.h"
#include "platform/standin/ImageRegistry.h"
#include "platform/standin/ShellLinkFile.h"
#include "platform/standin/StandinDesktop.h"
#include "platform/standin/StandinEnvironment.h"
#include "platform/standin/StandinFileSystem.h"
#include "platform/standin/StandinOsVersion.h"
#include "platform/standin/StandinProcesses.h"

namespace brimlow::platform::standin {

struct StandinServices {
  StandinServices(const std::filesystem::path& image_folder, const EnvVariables& variables);
  StandinServices(const StandinServices&) = delete;
  StandinServices& operator=(const StandinServices&) = delete;

  std::filesystem::path image_dir;
  DriveMap drives;
  ImageRegistry registry;
  StandinFileSystem files{drives};
  StandinEnvironment environment;
  StandinShellLinks links{files};
  StandinProcesses processes{drives};
  StandinDesktop desktop;
  StandinOsVersion version{environment};
  Platform platform;
};

}  // namespace brimlow::platform::standin
