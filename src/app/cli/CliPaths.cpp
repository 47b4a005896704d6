#include "app/cli/CliPaths.h"

#include "app/cli/CliTexts.h"
#include "base/Text.h"
#include "framework/OxSettings.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
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

bool ReadArgumentFile(const std::wstring& path, Bytes* content, std::wstring* error) {
  const platform::Result read = platform::Files().ReadFile(path, content);
  if (read == platform::Result::kOk) return true;
  *error = read == platform::Result::kNotFound ? AppText(L"Cli.NoSuchFile", L"{1}: no such file", {path})
                                               : AppText(L"Cli.CannotRead", L"{1}: cannot be read", {path});
  return false;
}

}  // namespace brimlow::cli
