// brimlow-cli settings: a value written to the user layer is kept in the
// user's settings file and read back by the next run with its layer; the
// names, values and layers it refuses.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace brimlow::cli {
namespace {

using json = nlohmann::ordered_json;

class CliSettingsTest : public ::testing::Test {
 protected:
  CliResult Settings(std::vector<std::string> args) {
    args.insert(args.begin(), "settings");
    return RunCli(scratch_, args);
  }

  testing::ScratchSystem scratch_;
  UserSettingsGuard guard_{scratch_};
};

TEST_F(CliSettingsTest, SetWritesTheUserFileAndLaterRunsReadItBack) {
  const CliResult set = Settings({"set", "Test.Number", "7"});
  ASSERT_EQ(set.code, 0) << set.err;
  EXPECT_TRUE(set.out.empty() && set.err.empty()) << set.out << set.err;
  {
    AfterRun after(scratch_);
    EXPECT_TRUE(after.HasFile(guard_.Path())) << ToUtf8(guard_.Path());
  }

  const CliResult get = Settings({"get", "test.number", "--json"});
  ASSERT_EQ(get.code, 0) << get.err;
  ASSERT_EQ(get.lines.size(), 1u) << get.out;
  EXPECT_EQ(get.lines[0], json::parse(R"({"Name":"test.number","Value":"7","Layer":"user"})"));
  EXPECT_EQ(Settings({"get", "Test.Number"}).out, "user\tTest.Number=7\n");

  // A second write replaces the value; an empty value is a value.
  ASSERT_EQ(Settings({"set", "Test.Number", ""}).code, 0);
  EXPECT_EQ(Settings({"get", "Test.Number"}).out, "user\tTest.Number=\n");
  const CliResult user = Settings({"list", "--layer", "user", "--json"});
  ASSERT_EQ(user.code, 0) << user.err;
  int found = 0;
  for (const auto& line : user.lines) {
    EXPECT_EQ(line["Layer"], "user") << line.dump();
    if (line["Name"] == "Test.Number") ++found;
  }
  EXPECT_EQ(found, 1) << user.out;
}

TEST_F(CliSettingsTest, GetAndListNameTheLayerThatAnswers) {
  // The program's built-in default, until the user layer gives another.
  EXPECT_EQ(Settings({"get", "Path.Languages"}).out, "default\tPath.Languages=lang\n");
  ASSERT_EQ(Settings({"set", "Path.Languages", "texts"}).code, 0);
  EXPECT_EQ(Settings({"get", "Path.Languages"}).out, "user\tPath.Languages=texts\n");
  EXPECT_EQ(Settings({"get", "Path.Languages", "--layer", "default"}).out, "default\tPath.Languages=lang\n");

  const CliResult list = Settings({"list"});
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_NE(list.out.find("user\tPath.Languages=texts\n"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find("default\tPath.Languages="), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("default\tPath.Skins=skins\n"), std::string::npos) << list.out;
}

TEST_F(CliSettingsTest, RefusedRequestsFailAndWriteNothing) {
  const struct {
    std::vector<std::string> args;
    std::string message;  // part of standard error
  } cases[] = {
      {{"get", "No.Such.Setting"}, "no setting named \"No.Such.Setting\""},
      {{"get", "Path.Languages", "--layer", "user"}, "no setting named"},
      {{"get", "Path.Languages", "--layer", "nowhere"}, "--layer"},
      {{"set", "Test.Name", "x", "--layer", "const"}, "only the user layer"},
      {{"set", "", "x"}, "invalid setting name"},
      {{"set", " Test.Name", "x"}, "invalid setting name"},
      {{"set", "Test=Name", "x"}, "invalid setting name"},
      {{"set", "[Test", "x"}, "invalid setting name"},
      {{"set", ";Test", "x"}, "invalid setting name"},
      {{"set", "Test.Name", "two\nlines"}, "line break"},
      {{"set", "Test.Name"}, "VALUE"},
      {{"frobnicate"}, "subcommand"},
      {{}, "subcommand"},
  };
  for (const auto& c : cases) {
    const CliResult r = Settings(c.args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(c.args);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << ::testing::PrintToString(c.args) << r.err;
    EXPECT_TRUE(r.out.empty()) << ::testing::PrintToString(c.args) << r.out;
  }
  const CliResult user = Settings({"list", "--layer", "user"});
  EXPECT_EQ(user.out.find("Test"), std::string::npos) << user.out;
}

}  // namespace
}  // namespace brimlow::cli
