#include "app/cli/JsonEvents.h"

#include <cstdio>

#include "base/Text.h"

namespace brimlow::cli {
namespace {

std::string Name(std::wstring_view name) { return ToUtf8(name); }

}  // namespace

JsonLine CategoryEvent(const char* event, scan::TTopicCategory category) {
  return {{"event", event}, {"Category", Name(scan::NameOf(category))}};
}

std::vector<std::wstring> RuleParamLines(const std::wstring& rule_params) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < rule_params.size()) {
    const std::size_t end = rule_params.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(rule_params.substr(start));
      break;
    }
    lines.push_back(rule_params.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

JsonLine TopicMatchedEvent(const scan::TFigScanedItem& item) {
  JsonLine params = JsonLine::array();
  for (const std::wstring& line : RuleParamLines(item.RuleParams)) params.push_back(ToUtf8(line));
  return {{"event", "TopicMatched"},
          {"SID", item.SID},
          {"TopicName", ToUtf8(item.TopicName)},
          {"Category", Name(scan::NameOf(item.Category))},
          {"RuleStyle", Name(scan::NameOf(item.RuleStyle))},
          {"RuleParams", params},
          {"RuleCaption", ToUtf8(item.RuleCaption)},
          {"Msg", ToUtf8(item.FigResult.Msg)},
          {"Level", item.FigResult.Level},
          {"Reason", Name(scan::NameOf(item.FigResult.Reason))},
          {"LocationStyle", Name(scan::NameOf(item.LocationStyle))},
          {"ScanedRoot", ToUtf8(item.ScanedRoot)},
          {"ScanedPath", ToUtf8(item.ScanedPath)},
          {"ScanedSection", ToUtf8(item.ScanedSection)},
          {"ScanedName", ToUtf8(item.ScanedName)},
          {"CurrentPer", item.CurrentPer},
          {"ValueCheck", item.ValueCheck},
          {"Checked", item.Checked}};
}

JsonLine TopicFinishedEvent(const std::wstring& topic_name) {
  return {{"event", "TopicFinished"}, {"TopicName", ToUtf8(topic_name)}};
}

JsonLine ScanEndEvent(bool finished, const scan::TFigSummary& s, int processed_time) {
  const JsonLine summary = {{"AllCount", s.AllCount},
                            {"RegistryItemCount", s.RegistryItemCount},
                            {"FileCount", s.FileCount},
                            {"FileSizeCount", s.FileSizeCount},
                            {"MatchedAllCount", s.MatchedAllCount},
                            {"MatchedRegItemCount", s.MatchedRegItemCount},
                            {"MatchedFileCount", s.MatchedFileCount},
                            {"MatchedFileSizeCount", s.MatchedFileSizeCount}};
  return {{"event", finished ? "Finished" : "Aborted"}, {"Summary", summary}, {"ProcessedTime", processed_time}};
}

JsonLine CuredEvent(int sid, scan::TFigCureStatus status) {
  return {{"event", "Cured"}, {"SID", sid}, {"Status", Name(scan::NameOf(status))}};
}

JsonLine CureFinishedEvent(const std::wstring& backup_file, const std::wstring& index_line) {
  return {{"event", "CureFinished"}, {"Backup", ToUtf8(backup_file)}, {"Index", ToUtf8(index_line)}};
}

void PrintJson(const JsonLine& line) {
  // Invalid text never stops a running scan's report.
  const std::string text = line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace brimlow::cli
