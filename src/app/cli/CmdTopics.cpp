// brimlow-cli topics [--topics FILE] [--json]: loads the topic database
// (default "data\topic.db" beside the executable), sorts it by category as
// the main window does, and lists every topic in list order, then the
// progress maximum and the database's date.
//
// Human format: "<index>\t<Name>\t<Category>\t<Enabled>\t<Rule>\t
// <LocationsCount>\t<RegItemsCount>" per topic, then
// "MaxProcessingCount\t<N>" and "TopicDateTime\t<yyyy-mm-dd>".
// --json: {"Index":0,"Name":"...","Category":"tcARegFix","Enabled":true,
// "Rule":"...","LocationsCount":1,"RegItemsCount":0} per topic, then
// {"MaxProcessingCount":N,"TopicDateTime":"yyyy-mm-dd"}.
// An unreadable category shows as "".
//
// FILE is a Windows path; the host build also takes a host path.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>

#include "app/cli/Cli.h"
#include "app/cli/SettingsContext.h"
#include "app/cli/TopicDatabase.h"
#include "base/Text.h"
#include "platform/SystemSession.h"
#include "scan/TopicDate.h"
#include "scan/TopicList.h"

namespace brimlow::cli {
namespace {

using scan::TFigTopic;
using scan::TFigTopicList;

struct TopicsOptions {
  std::string topics;
  bool json = false;
};

void PrintTopic(int index, const TFigTopic& topic, bool json) {
  const std::wstring category(scan::NameOf(topic.Category()));
  if (!json) {
    SettingsContext::Print(std::to_wstring(index) + L"\t" + topic.Name() + L"\t" + category +
                           L"\t" + (topic.Enabled() ? L"true" : L"false") + L"\t" +
                           topic.GetValue(L"Rule") + L"\t" +
                           std::to_wstring(topic.LocationsCount()) + L"\t" +
                           std::to_wstring(topic.RegItemsCount()));
    return;
  }
  nlohmann::ordered_json line;
  line["Index"] = index;
  line["Name"] = ToUtf8(topic.Name());
  line["Category"] = ToUtf8(category);
  line["Enabled"] = topic.Enabled();
  line["Rule"] = ToUtf8(topic.GetValue(L"Rule"));
  line["LocationsCount"] = topic.LocationsCount();
  line["RegItemsCount"] = topic.RegItemsCount();
  SettingsContext::Print(FromUtf8(line.dump()));
}

void PrintTotals(const TFigTopicList& list, bool json) {
  const std::wstring date = scan::FormatIsoDate(list.TopicDateTime());
  if (!json) {
    SettingsContext::Print(L"MaxProcessingCount\t" + std::to_wstring(list.MaxProcessingCount()));
    SettingsContext::Print(L"TopicDateTime\t" + date);
    return;
  }
  nlohmann::ordered_json line;
  line["MaxProcessingCount"] = list.MaxProcessingCount();
  line["TopicDateTime"] = ToUtf8(date);
  SettingsContext::Print(FromUtf8(line.dump()));
}

int RunTopics(const TopicsOptions& options, const GlobalOptions& global) {
  platform::SystemSession session;
  std::wstring error;
  if (!session.Open(FromUtf8(global.system), &error)) return SettingsContext::Fail(error);
  TFigTopicList list;
  if (!LoadTopicDatabase(options.topics, &list, &error)) return SettingsContext::Fail(error);
  for (int i = 0; i < list.TopicCount(); ++i) PrintTopic(i, *list.GetTopic(i), options.json);
  PrintTotals(list, options.json);
  return 0;
}

}  // namespace

void RegisterTopics(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* topics = app.add_subcommand("topics", "List the topics of a topic database");
  auto options = std::make_shared<TopicsOptions>();
  topics->add_option("--topics", options->topics,
                     "Topic database (default: data\\topic.db beside the program)");
  topics->add_flag("--json", options->json, "One JSON object per line");
  topics->callback([=, &global] { *chosen = [=, &global] { return RunTopics(*options, global); }; });
}

}  // namespace brimlow::cli
