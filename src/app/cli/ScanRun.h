#pragma once
// The scan of "brimlow-cli scan", shared with "brimlow-cli cure": its
// options, the choice of topics, one scan on the main loop, and its output
// (a progress bar and the findings by category, or --json event lines).

#include <string>
#include <vector>

#include "base/MainLoop.h"
#include "scan/VazArovov.h"

namespace CLI {
class App;
}

namespace brimlow::cli {

struct ScanOptions {
  std::string topics;                    // --topics FILE
  bool all = false;                      // --all
  std::vector<std::string> categories;   // --category NAME ...
  std::vector<std::string> topic_names;  // --topic NAME ...
  bool no_pacing = false;                // --no-pacing
  bool json = false;                     // --json
};

void AddScanOptions(CLI::App* command, ScanOptions* options);

// Enables the topics the options choose: those the database marks enabled,
// or every topic with --all; --category keeps only those of the named
// categories; a topic named with --topic runs whatever its mark. With both
// --category and --topic a topic runs when either chooses it. false with
// the reason in *error for a category or topic name the list does not know.
bool ChooseTopics(scan::TFigTopicList* list, const ScanOptions& options, std::wstring* error);


class ScanRun {
 public:
  // Main thread; the system session is open.
  ScanRun(MainLoop& loop, const ScanOptions& options);
  ScanRun(const ScanRun&) = delete;
  ScanRun& operator=(const ScanRun&) = delete;

  // Loads the database and chooses the topics. false with the reason.
  bool Prepare(std::wstring* error);
  // The engine, to bind a cure engine before Run.
  scan::TVazArovov& Engine() { return engine_; }

  // Runs one scan to its end, printing its events or its progress and
  // report; an interrupt (Ctrl+C) aborts it. true when it finished, false
  // when it was aborted.
  bool Run();
  const std::vector<scan::TFigScanedItem>& Findings() const { return findings_; }

 private:
  void BindEvents();
  void PrintReport(bool finished) const;

  MainLoop& loop_;
  const ScanOptions& options_;
  scan::TVazArovov engine_;
  std::vector<scan::TFigScanedItem> findings_;
  bool finished_ = false;
};

}  // namespace brimlow::cli
