// Stand-in build: the real brimlow-cli, killed in the middle of a paced
// cure, leaves a backup that brings back every change it had made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "platform/SystemSession.h"
#include "regfile/RegFile.h"

namespace brimlow::cli {
namespace {

using platform::RegValue;

std::wstring Snapshot(platform::RegRoot root, const std::wstring& path) {
  regfile::RegFileWriter writer;
  if (regfile::ExportKeyTree(platform::Reg(), root, path, &writer) != platform::Result::kOk) return L"<missing>";
  return writer.Text();
}

// A child process with its standard output on a pipe.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      std::vector<char*> argv;
      for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
  }
  ~Child() {
    Kill();
    if (out_) std::fclose(out_);
  }

  // The next line of its output; false at the end.
  bool ReadLine(std::string* line) {
    line->clear();
    if (!out_) return false;
    for (int c; (c = std::fgetc(out_)) != EOF;) {
      if (c == '\n') return true;
      line->push_back(static_cast<char>(c));
    }
    return false;
  }

  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::FILE* out_ = nullptr;
};

TEST(CureKill, AKilledCureLeavesABackupThatRestoresEveryChangeMade) {
  testing::ScratchSystem scratch;
  auto& reg = platform::Reg();
  const std::wstring base = scratch.RegPath() + L"\\kill";
  // Four keys, each a key deletion of its own, with values of every type
  // and an empty subkey.
  std::vector<std::string> locations;
  for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) {
    const std::wstring key = base + L"\\" + name;
    reg.SetValue(scratch.RegRoot(), key, platform::MakeStringValue(L"", std::wstring(L"default ") + name));
    reg.SetValue(scratch.RegRoot(), key, RegValue{L"expand", 2, ToUtf16LeBytes(std::wstring(L"%TEMP%\\x") + L'\0')});
    reg.SetValue(scratch.RegRoot(), key, RegValue{L"multi", 7, ToUtf16LeBytes(std::wstring(L"one\0two\0\0", 9))});
    reg.SetValue(scratch.RegRoot(), key, RegValue{L"dword", 4, Bytes{1, 2, 3, 4}});
    reg.SetValue(scratch.RegRoot(), key, RegValue{L"qword", 11, Bytes{1, 2, 3, 4, 5, 6, 7, 8}});
    reg.SetValue(scratch.RegRoot(), key, RegValue{L"binary", 3, Bytes{0xde, 0xad}});
    reg.CreateKey(scratch.RegRoot(), key + L"\\empty");
    reg.SetValue(scratch.RegRoot(), key + L"\\sub", platform::MakeStringValue(L"deep", L"value"));
    locations.push_back("LOCATION_" + std::to_string(locations.size()) + "=lsRegistry,HKEY_CURRENT_USER\\" +
                        ToUtf8(key));
  }
  const std::wstring before = Snapshot(scratch.RegRoot(), base);

  // One enabled topic among many disabled ones: the scan's minimum time is
  // shared by all of them, so the scan is quick while the cure stays paced
  // (about three seconds per key).
  TopicLines keys = {"Name=Keys", "Category=tcARegFix", "Rule=rsRegistryHistory", "Enabled=1", "CheckValues=0",
                     "LEVEL=2"};
  keys.insert(keys.end(), locations.begin(), locations.end());
  std::vector<TopicLines> topics = {keys};
  for (int i = 0; i < 99; ++i) topics.push_back({"Name=Off" + std::to_string(i), "Enabled=0"});
  const std::wstring db = scratch.Folder() + L"topic.db";
  WriteTopicDb(db, topics);
  const std::wstring backup_dir = scratch.Folder() + L"backup";

  Child child({BRIMLOW_CLI_EXE, "--system", scratch.SystemOption(), "cure", "--topics", ToUtf8(db), "--json",
               "--yes", "--backup-dir", ToUtf8(backup_dir)});
  std::string line;
  std::string backup;
  int cured = 0;
  while (cured < 2 && child.ReadLine(&line)) {
    const auto event = nlohmann::json::parse(line);
    if (event["event"] == "Cured") ++cured;
  }
  ASSERT_EQ(cured, 2) << "the cure ended before its second item: " << line;
  child.Kill();

  platform::SystemSession after;
  std::wstring error;
  ASSERT_TRUE(after.Open(FromUtf8(scratch.SystemOption()), &error)) << ToUtf8(error);
  EXPECT_NE(Snapshot(scratch.RegRoot(), base), before) << "nothing was deleted before the kill";
  // The index names the backup before anything changed.
  Bytes index;
  ASSERT_EQ(platform::Files().ReadFile(backup_dir + L"\\info.rec", &index), platform::Result::kOk);
  const std::string text(index.begin(), index.end());
  const std::size_t comma = text.rfind(',');
  const std::string name = text.substr(comma + 1, text.find('\r', comma) - comma - 1);
  ASSERT_TRUE(cure::ImportRegFile(backup_dir + L"\\" + FromUtf8(name)));
  EXPECT_EQ(ToUtf8(Snapshot(scratch.RegRoot(), base)), ToUtf8(before));
}

}  // namespace
}  // namespace brimlow::cli
