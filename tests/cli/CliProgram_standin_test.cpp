// Stand-in build: the real brimlow-cli program with the data shipped beside
// it -- the default topic database, the language files -- and its exit
// codes as a shell sees them.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/CliFixture.h"
#include "framework/utils/Paths.h"

namespace brimlow::cli {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the program on the scratch system; its output through files, so
// that neither stream can fill up and block it.
CliResult RunProgram(const testing::ScratchSystem& system, const std::vector<std::string>& args) {
  const std::filesystem::path out_file = system.HostPath(system.Folder() + L"program.out");
  const std::filesystem::path err_file = system.HostPath(system.Folder() + L"program.err");
  std::vector<std::string> argv = {BRIMLOW_CLI_EXE, "--system", system.SystemOption()};
  argv.insert(argv.end(), args.begin(), args.end());
  CliResult result;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    std::vector<char*> pointers;
    for (auto& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return result;
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_file);
  result.err = Slurp(err_file);
  std::istringstream stream(result.out);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line[0] == '{') result.lines.push_back(nlohmann::ordered_json::parse(line));
  }
  return result;
}

TEST(CliProgram, TopicsListsTheDatabaseShippedBesideIt) {
  testing::ScratchSystem scratch;
  const CliResult shipped = RunProgram(scratch, {"topics", "--json"});
  ASSERT_EQ(shipped.code, 0) << shipped.err;
  const CliResult source = RunCli(scratch, {"topics", "--json", "--topics", ToUtf8(SourceFile(L"../../data/topic.db"))});
  ASSERT_EQ(source.code, 0) << source.err;
  EXPECT_EQ(shipped.out, source.out);
}

TEST(CliProgram, LangListOffersTheShippedLanguagesAndMarksTheChosenOne) {
  testing::ScratchSystem scratch;
  CliResult r = RunProgram(scratch, {"lang", "list", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 2u) << r.out;
  EXPECT_EQ(r.lines[0]["Name"], "English");
  EXPECT_EQ(r.lines[0]["Current"], true);
  EXPECT_EQ(r.lines[1]["Name"], "German");
  EXPECT_EQ(r.lines[1]["Language"], "Deutsch");
  EXPECT_EQ(r.lines[1]["Current"], false);
  EXPECT_TRUE(SameText(ExtractFileName(FromUtf8(r.lines[1]["File"].get<std::string>())), L"German.lan"))
      << r.lines[1].dump();

  ASSERT_EQ(RunProgram(scratch, {"settings", "set", "Language", "German"}).code, 0);
  r = RunProgram(scratch, {"lang", "list"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("  English\t", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n* German\t"), std::string::npos) << r.out;
}

// The messages follow the setting "Language"; a language without a file
// leaves the built-in English.
TEST(CliProgram, MessagesSpeakTheChosenLanguage) {
  testing::ScratchSystem scratch;
  const struct {
    const char* language;
    std::vector<std::string> args;
    std::string err;  // what standard error holds, whole
  } cases[] = {
      {"German", {"settings", "get", "No.Such"}, "brimlow-cli: keine Einstellung namens \u201eNo.Such\u201c\n"},
      {"German", {"settings", "set", "A", "1", "--layer", "oem"},
       "brimlow-cli: nur die Benutzerebene kann geschrieben werden (--layer user)\n"},
      {"Klingon", {"settings", "get", "No.Such"}, "brimlow-cli: no setting named \"No.Such\"\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(RunProgram(scratch, {"settings", "set", "Language", c.language}).code, 0);
    const CliResult r = RunProgram(scratch, c.args);
    EXPECT_EQ(r.code, 1) << ::testing::PrintToString(c.args);
    EXPECT_EQ(r.err, c.err) << c.language << " " << ::testing::PrintToString(c.args);
  }
}

TEST(CliProgram, ExitCodesAsAShellSeesThem) {
  testing::ScratchSystem scratch;
  const struct {
    std::vector<std::string> args;
    bool success;
  } cases[] = {
      {{"--help"}, true},
      {{"--version"}, true},
      {{"backups", "--help"}, true},
      {{"settings", "get", "Path.Skins"}, true},
      {{"settings", "get", "No.Such"}, false},
      {{"export", "HKEY_NOWHERE\\X", "x.reg"}, false},
      {{"topics", "--bogus"}, false},
      {{"frobnicate"}, false},
  };
  for (const auto& c : cases) {
    const CliResult r = RunProgram(scratch, c.args);
    EXPECT_EQ(r.code == 0, c.success) << ::testing::PrintToString(c.args) << " exit " << r.code << r.err;
    EXPECT_LT(r.code, 128) << ::testing::PrintToString(c.args);  // no signal
    EXPECT_EQ(r.err.empty(), c.success) << ::testing::PrintToString(c.args) << r.err;
  }
}

}  // namespace
}  // namespace brimlow::cli
