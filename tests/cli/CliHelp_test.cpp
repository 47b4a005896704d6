// brimlow-cli's help and option errors, for every sub-command: help is
// usage on standard output with exit code 0; an unknown option is named on
// standard error with a non-zero exit code and nothing run.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace brimlow::cli {
namespace {

const std::vector<std::vector<std::string>> kCommands = {
    {"settings"},        {"settings", "list"}, {"settings", "get"},     {"settings", "set"},
    {"lang"},            {"lang", "list"},     {"topics"},              {"regedit"},
    {"export"},          {"scan"},             {"cure"},                {"backups"},
    {"backups", "list"}, {"backups", "restore"}, {"backups", "delete"}, {"restore-point"},
    {"restore-point", "create"}, {"restore-point", "view"},
};

TEST(CliHelp, EveryCommandPrintsItsUsage) {
  testing::ScratchSystem scratch;
  for (auto args : kCommands) {
    const std::string name = ::testing::PrintToString(args);
    // "brimlow-cli backups restore" for {"backups", "restore"}.
    std::string usage = "brimlow-cli";
    for (const auto& word : args) usage += " " + word;
    args.push_back("--help");
    const CliResult r = RunCli(scratch, args);
    EXPECT_EQ(r.code, 0) << name << r.err;
    EXPECT_NE(r.out.find("Usage: " + usage), std::string::npos) << name << r.out;
    EXPECT_TRUE(r.err.empty()) << name << r.err;
  }
  const CliResult top = RunCli(scratch, {});
  EXPECT_EQ(top.code, 0) << top.err;
  for (const char* command : {"settings", "lang", "topics", "regedit", "export", "scan", "cure", "backups",
                              "restore-point"}) {
    EXPECT_NE(top.out.find(std::string("  ") + command + " "), std::string::npos) << command << top.out;
  }
}

TEST(CliHelp, AnUnknownOptionIsNamedAndFails) {
  testing::ScratchSystem scratch;
  // Each command with what it requires, so that the option is its only fault.
  const std::vector<std::vector<std::string>> commands = {
      {"settings", "list"},          {"settings", "get", "X"},      {"settings", "set", "X", "1"},
      {"lang", "list"},              {"topics"},                    {"regedit", "x.reg"},
      {"export", "HKCU\\X", "x.reg"}, {"scan"},                      {"cure"},
      {"backups", "list"},           {"backups", "restore", "1"},   {"backups", "delete", "1"},
      {"restore-point", "create"},   {"restore-point", "view"},
  };
  for (auto args : commands) {
    args.push_back("--no-such-option");
    const CliResult r = RunCli(scratch, args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(args);
    EXPECT_NE(r.err.find("--no-such-option"), std::string::npos) << ::testing::PrintToString(args) << r.err;
    EXPECT_TRUE(r.out.empty()) << ::testing::PrintToString(args) << r.out;
  }
  // A group without its command says that one is needed.
  for (const char* group : {"settings", "lang", "backups", "restore-point"}) {
    const CliResult r = RunCli(scratch, {group});
    EXPECT_NE(r.code, 0) << group;
    EXPECT_NE(r.err.find("A subcommand is required"), std::string::npos) << group << r.err;
  }
  const CliResult unknown = RunCli(scratch, {"frobnicate"});
  EXPECT_NE(unknown.code, 0);
  EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace brimlow::cli
