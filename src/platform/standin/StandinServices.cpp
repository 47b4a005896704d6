// Stand-in platform only.
#include "platform/standin/StandinServices.h"

namespace brimlow::platform::standin {

StandinServices::StandinServices(const std::filesystem::path& image_folder, const EnvVariables& variables)
    : image_dir(image_folder), drives(image_folder), environment(variables, drives) {
  platform.registry = &registry;
  platform.files = &files;
  platform.environment = &environment;
  platform.links = &links;
  platform.processes = &processes;
  platform.desktop = &desktop;
  platform.version = &version;
}

}  // namespace brimlow::platform::standin
