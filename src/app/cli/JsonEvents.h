#pragma once
// The --json lines of the scan and the cure: one object per event, written
// as one line and flushed at once, so that a script can follow a running
// scan or cure. Field names and order are a contract with such scripts.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "scan/FigTypes.h"

namespace brimlow::cli {

using JsonLine = nlohmann::ordered_json;

// {"event":"CategoryStarted"|"CategoryFinished","Category":"tcARegFix"}
JsonLine CategoryEvent(const char* event, scan::TTopicCategory category);
// {"event":"TopicMatched", every field of the finding; RuleParams as a list
// of its lines}
JsonLine TopicMatchedEvent(const scan::TFigScanedItem& item);
// {"event":"TopicFinished","TopicName":"..."}
JsonLine TopicFinishedEvent(const std::wstring& topic_name);
// {"event":"Finished"|"Aborted","Summary":{eight counters},"ProcessedTime":N}
JsonLine ScanEndEvent(bool finished, const scan::TFigSummary& summary, int processed_time);
// {"event":"Cured","SID":N,"Status":"csCured"}
JsonLine CuredEvent(int sid, scan::TFigCureStatus status);
// {"event":"CureFinished","Backup":"FILE","Index":"info.rec line"}
JsonLine CureFinishedEvent(const std::wstring& backup_file, const std::wstring& index_line);

// The lines of a finding's RuleParams (each ended by CR LF there).
std::vector<std::wstring> RuleParamLines(const std::wstring& rule_params);

// Writes the object as one line on standard output and flushes it.
void PrintJson(const JsonLine& line);

}  // namespace brimlow::cli
