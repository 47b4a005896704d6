#pragma once
// Runs brimlow-cli in-process on a scratch system and captures what it
// prints; writes small topic databases for it.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "base/Text.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::cli {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
  std::vector<nlohmann::ordered_json> lines;  // the JSON lines of standard output

  // The "event" of every JSON line, in order.
  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const auto& line : lines) events.push_back(line.value("event", ""));
    return events;
  }
  std::vector<nlohmann::ordered_json> Of(const std::string& event) const {
    std::vector<nlohmann::ordered_json> found;
    for (const auto& line : lines) {
      if (line.value("event", "") == event) found.push_back(line);
    }
    return found;
  }
};

inline CliResult RunCli(const testing::ScratchSystem& system, const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"brimlow-cli"};
  if (!system.SystemOption().empty()) {
    argv.push_back("--system");
    argv.push_back(system.SystemOption());
  }
  argv.insert(argv.end(), args.begin(), args.end());
  CliResult result;
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  result.code = Run(argv);
  result.out = ::testing::internal::GetCapturedStdout();
  result.err = ::testing::internal::GetCapturedStderr();
  std::istringstream stream(result.out);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line[0] == '{') result.lines.push_back(nlohmann::ordered_json::parse(line));
  }
  return result;
}

// One [TOPIC_n] section: Key=Value lines.
using TopicLines = std::vector<std::string>;

// Writes a topic database of the topics (in order) to the Windows path.
inline void WriteTopicDb(const std::wstring& path, const std::vector<TopicLines>& topics) {
  std::string text = "[GLOBAL]\r\nMAGICWORD=FIG\r\nDATETIME=12/1/2026\r\n";
  for (std::size_t i = 0; i < topics.size(); ++i) {
    text += "[TOPIC_" + std::to_string(i) + "]\r\n";
    for (const auto& line : topics[i]) text += line + "\r\n";
  }
  const std::string ansi = ToAnsi(FromUtf8(text));
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, Bytes(ansi.begin(), ansi.end()))));
}

}  // namespace brimlow::cli
