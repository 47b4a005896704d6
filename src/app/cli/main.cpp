// Entry point of brimlow-cli: hands the arguments, as UTF-8, to the tool.

#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "base/Text.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(brimlow::ToUtf8(argv[i]));
  return brimlow::cli::Run(std::move(args));
}
#else
int main(int argc, char** argv) { return brimlow::cli::Run(std::vector<std::string>(argv, argv + argc)); }
#endif
