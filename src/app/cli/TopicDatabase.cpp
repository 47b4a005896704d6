#include "app/cli/TopicDatabase.h"

#include "app/cli/CliPaths.h"
#include "app/cli/CliTexts.h"
#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "scan/ProfileIni.h"

namespace brimlow::cli {

std::wstring TopicDatabasePath(const std::string& option) {
  if (option.empty()) return CombinePath(GetAppDir(), L"data\\topic.db");
  return platform::PathFromArgument(FromUtf8(option));
}

bool CheckTopicDatabase(const std::wstring& path, std::wstring* error) {
  Bytes content;
  if (!ReadArgumentFile(path, &content, error)) return false;
  if (!SameText(scan::OpenProfileIni(path)->ReadString(L"GLOBAL", L"MAGICWORD", L""), L"FIG")) {
    *error = AppText(L"Cli.NotTopicDatabase",
                     L"{1}: not a topic database (no MAGICWORD=FIG in [GLOBAL])", {path});
    return false;
  }
  return true;
}

bool LoadTopicDatabase(const std::string& option, scan::TFigTopicList* list, std::wstring* error) {
  const std::wstring path = TopicDatabasePath(option);
  if (!CheckTopicDatabase(path, error)) return false;
  if (!list->LoadTopics(path, error)) return false;
  list->SortByCategory();
  return true;
}

}  // namespace brimlow::cli
