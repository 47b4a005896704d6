#include "app/cli/ScanRun.h"

#include <CLI/CLI.hpp>

#include <algorithm>

#include "app/cli/CliTexts.h"
#include "app/cli/Interrupt.h"
#include "app/cli/JsonEvents.h"
#include "app/cli/ProgressBar.h"
#include "app/cli/SettingsContext.h"
#include "app/cli/TopicDatabase.h"
#include "base/Text.h"
#include "platform/Console.h"

namespace brimlow::cli {

using scan::TFigScanedItem;
using scan::TTopicCategory;

void AddScanOptions(CLI::App* command, ScanOptions* options) {
  command->add_option("--topics", options->topics,
                      "Topic database (default: data\\topic.db beside the program)");
  command->add_flag("--all", options->all, "Scan every topic, not only those the database enables");
  command->add_option("--category", options->categories,
                      "Only topics of this category (tcARegFix, tcBPrivacySweep, tcCJunkFile, "
                      "tcDSystemOptimization); repeatable")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  command->add_option("--topic", options->topic_names, "Only this topic (by name); repeatable")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  command->add_flag("--no-pacing", options->no_pacing, "Do not stretch the scan to its minimum duration");
  command->add_flag("--json", options->json, "One JSON object per event and line");
}

namespace {

bool ReadCategories(const ScanOptions& options, std::vector<TTopicCategory>* categories,
                    std::wstring* error) {
  for (const std::string& text : options.categories) {
    const int value = scan::TopicCategoryFromName(FromUtf8(text));
    if (value < 0) {
      *error = AppText(L"Cli.UnknownCategory",
                       L"--category {1}: unknown category (tcARegFix, tcBPrivacySweep, tcCJunkFile, "
                       L"tcDSystemOptimization)",
                       {FromUtf8(text)});
      return false;
    }
    categories->push_back(static_cast<TTopicCategory>(value));
  }
  return true;
}

bool IsNamed(const ScanOptions& options, const std::wstring& name) {
  return std::any_of(options.topic_names.begin(), options.topic_names.end(),
                     [&](const std::string& n) { return SameText(FromUtf8(n), name); });
}

}  // namespace

bool ChooseTopics(scan::TFigTopicList* list, const ScanOptions& options, std::wstring* error) {
  std::vector<TTopicCategory> categories;
  if (!ReadCategories(options, &categories, error)) return false;
  for (const std::string& name : options.topic_names) {
    if (!list->GetTopicByName(FromUtf8(name))) {
      *error = AppText(L"Cli.NoSuchTopic", L"--topic {1}: no such topic in the database", {FromUtf8(name)});
      return false;
    }
  }
  if (options.all) list->SetAllEnabled(true);
  if (categories.empty() && options.topic_names.empty()) return true;
  for (int i = 0; i < list->TopicCount(); ++i) {
    scan::TFigTopic& topic = *list->GetTopic(i);
    const bool in_category =
        std::find(categories.begin(), categories.end(), topic.Category()) != categories.end();
    topic.SetEnabled(IsNamed(options, topic.Name()) || (in_category && topic.Enabled()));
  }
  return true;
}

ScanRun::ScanRun(MainLoop& loop, const ScanOptions& options)
    : loop_(loop), options_(options), engine_(loop) {}

bool ScanRun::Prepare(std::wstring* error) {
  if (!LoadTopicDatabase(options_.topics, &engine_, error)) return false;
  if (!ChooseTopics(&engine_, options_, error)) return false;
  if (options_.no_pacing) engine_.SetMinimumScanTime(0);
  return true;
}

void ScanRun::BindEvents() {
  const bool json = options_.json;
  engine_.OnCategoryStarted = [json](TTopicCategory c) {
    if (json) PrintJson(CategoryEvent("CategoryStarted", c));
  };
  engine_.OnCategoryFinished = [json](TTopicCategory c) {
    if (json) PrintJson(CategoryEvent("CategoryFinished", c));
  };
  engine_.OnTopicFinished = [json](const scan::TFigTopic& topic) {
    if (json) PrintJson(TopicFinishedEvent(topic.Name()));
  };
  engine_.OnTopicMatched = [this, json](TFigScanedItem& item) {
    findings_.push_back(item);
    if (json) PrintJson(TopicMatchedEvent(item));
  };
  const auto ended = [this, json](bool finished) {
    finished_ = finished;
    if (json) PrintJson(ScanEndEvent(finished, engine_.Summary(), engine_.ProcessedTime()));
  };
  engine_.OnFinished = [ended](scan::TVazArovov&) { ended(true); };
  engine_.OnAbort = [ended](scan::TVazArovov&) { ended(false); };
}

bool ScanRun::Run() {
  ProgressBar bar(!options_.json && platform::IsTerminal(platform::StdStream::kError));
  engine_.OnTopicProcessing = [this, &bar](const std::wstring& topic, scan::TLocationStyle, const std::wstring&,
                                           const std::wstring&, const std::wstring&, const std::wstring&,
                                           std::int32_t current) {
    bar.Update(current, engine_.MaxProcessingCount(), topic);
  };
  BindEvents();
  finished_ = false;
  findings_.clear();
  InterruptWatch watch(loop_, [this] { engine_.Abort(); });
  engine_.StartScan();
  loop_.RunUntil([this] { return !engine_.IsRunning(); }, MainLoop::kForever);
  engine_.OnTopicProcessing = nullptr;
  bar.Clear();
  if (!options_.json) PrintReport(finished_);
  return finished_;
}

void ScanRun::PrintReport(bool finished) const {
  TTopicCategory category = scan::tcUnknow;
  bool first = true;
  for (const TFigScanedItem& item : findings_) {
    if (first || item.Category != category) {
      category = item.Category;
      first = false;
      const auto count = std::count_if(findings_.begin(), findings_.end(),
                                       [&](const TFigScanedItem& f) { return f.Category == category; });
      SettingsContext::Print(CategoryTitle(category) + L": " + std::to_wstring(count));
    }
    SettingsContext::Print(std::wstring(item.Checked ? L"  [x] " : L"  [ ] ") + FindingLocation(item));
    if (!item.FigResult.Msg.empty()) SettingsContext::Print(L"        " + item.FigResult.Msg);
  }
  const scan::TFigSummary& s = engine_.Summary();
  const std::wstring state = finished ? AppText(L"State.ScanFinished", L"Scan Finished")
                                      : AppText(L"Cli.ScanAborted", L"Scan aborted");
  const std::wstring counts =
      AppText(L"Cli.ScanCounts", L"{1} items scanned ({2} registry, {3} files) in {4} s.",
              {std::to_wstring(s.AllCount), std::to_wstring(s.RegistryItemCount),
               std::to_wstring(s.FileCount), std::to_wstring(engine_.ProcessedTime())});
  SettingsContext::Print(state + L": " + std::to_wstring(s.MatchedAllCount) + L" " +
                         AppText(L"State.Result", L"problem(s).") + L" " + counts);
}

}  // namespace brimlow::cli
