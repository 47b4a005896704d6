#pragma once
// Runs brimlow-cli in-process on a scratch system and captures what it
// prints; writes small topic databases for it; reads the system afterwards.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "platform/Platform.h"
#include "platform/SystemSession.h"
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

// What the registry and the disk hold after the tool ran: read through a
// session of its own, since the tool changed the system behind the
// fixture's back.
struct AfterRun {
  explicit AfterRun(const testing::ScratchSystem& scratch) {
    std::wstring error;
    EXPECT_TRUE(session.Open(FromUtf8(scratch.SystemOption()), &error)) << ToUtf8(error);
  }
  bool HasValue(platform::RegRoot root, const std::wstring& key, const std::wstring& name) {
    platform::RegValue value;
    return platform::Reg().QueryValue(root, key, name, &value) == platform::Result::kOk;
  }
  bool HasFile(const std::wstring& path) {
    platform::FileEntry entry;
    return platform::Files().Stat(path, &entry) == platform::Result::kOk;
  }
  platform::SystemSession session;
};

// A file of the source tree as a Windows path: the test data variable holds
// a host path, which Wine and the stand-in both reach through drive Z:.
inline std::wstring SourceFile(const std::wstring& relative) {
  const char* data = std::getenv("BRIMLOW_TEST_DATA");
  std::wstring path = FromUtf8(data ? data : "");
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  path += L"\\" + relative;
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

// The file's content as text: UTF-16LE after its byte order mark, else
// Windows-1252. "" when it cannot be read.
inline std::wstring ReadText(const std::wstring& path) {
  Bytes bytes;
  if (!platform::Ok(platform::Files().ReadFile(path, &bytes))) return L"";
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    return FromUtf16LeBytes(bytes.data() + 2, bytes.size() - 2);
  }
  return FromAnsi(std::string(bytes.begin(), bytes.end()));
}

// The user's settings file as the tool finds it on the system. On Windows
// that is the test user's own: the guard puts back what it held before.
class UserSettingsGuard {
 public:
  explicit UserSettingsGuard(const testing::ScratchSystem& system) : system_(system.SystemOption()) {
    SettingsContext context;
    std::wstring error;
    EXPECT_TRUE(context.Open(system_, &error)) << ToUtf8(error);
    path_ = context.Settings().UserDataPath() + context.Settings().SettingFilename();
    had_file_ = platform::Ok(platform::Files().ReadFile(path_, &saved_));
  }
  ~UserSettingsGuard() {
    SettingsContext context;
    std::wstring error;
    if (!context.Open(system_, &error)) return;
    if (had_file_) {
      platform::Files().WriteFileAtomic(path_, saved_);
    } else {
      platform::Files().DeleteFile(path_);
    }
  }
  UserSettingsGuard(const UserSettingsGuard&) = delete;
  UserSettingsGuard& operator=(const UserSettingsGuard&) = delete;

  const std::wstring& Path() const { return path_; }

 private:
  std::string system_;
  std::wstring path_;
  bool had_file_ = false;
  Bytes saved_;
};

}  // namespace brimlow::cli
