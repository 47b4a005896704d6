#include "app/cli/CliPaths.h"

#include "base/Text.h"
#include "framework/OxSettings.h"
#include "framework/utils/Paths.h"
#include "platform/RegistryEditor.h"

namespace brimlow::cli {

std::wstring BackupFolder(const std::string& backup_dir_option, const TOxSettings& settings) {
  std::wstring folder = backup_dir_option.empty()
                            ? CombinePath(settings.UserDataPath(), L"backup")
                            : platform::PathFromArgument(FromUtf8(backup_dir_option));
  // "C:\" keeps its backslash: without it the drive's current folder would
  // be meant.
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

}  // namespace brimlow::cli
