#include "app/cli/Cli.h"

namespace brimlow::cli {

const std::vector<Registration>& Commands() {
  static const std::vector<Registration> commands = {};
  return commands;
}

}  // namespace brimlow::cli
