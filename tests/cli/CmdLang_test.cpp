// brimlow-cli lang list: the built-in English is always offered, and the
// language the settings choose is the one marked.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace brimlow::cli {
namespace {

class CliLangTest : public ::testing::Test {
 protected:
  testing::ScratchSystem scratch_;
  UserSettingsGuard guard_{scratch_};
};

TEST_F(CliLangTest, BuiltInEnglishIsFirstAndChosenUntilTheSettingsChooseAnother) {
  const CliResult json = RunCli(scratch_, {"lang", "list", "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  ASSERT_FALSE(json.lines.empty()) << json.out;
  const auto& english = json.lines[0];
  EXPECT_EQ(english["Name"], "English");
  EXPECT_EQ(english["Current"], true);
  for (std::size_t i = 1; i < json.lines.size(); ++i) EXPECT_EQ(json.lines[i]["Current"], false) << json.out;

  const CliResult human = RunCli(scratch_, {"lang", "list"});
  ASSERT_EQ(human.code, 0) << human.err;
  EXPECT_EQ(human.out.rfind("* English\t", 0), 0u) << human.out;

  // The choice is the setting "Language", compared without regard to case.
  ASSERT_EQ(RunCli(scratch_, {"settings", "set", "Language", "ENGLISH"}).code, 0);
  EXPECT_EQ(RunCli(scratch_, {"lang", "list"}).out.rfind("* English\t", 0), 0u);
  ASSERT_EQ(RunCli(scratch_, {"settings", "set", "Language", "Klingon"}).code, 0);
  const CliResult other = RunCli(scratch_, {"lang", "list", "--json"});
  ASSERT_EQ(other.code, 0) << other.err;
  for (const auto& line : other.lines) EXPECT_EQ(line["Current"], false) << line.dump();
}

TEST_F(CliLangTest, LangWantsItsListCommand) {
  for (const auto& args : {std::vector<std::string>{"lang"}, std::vector<std::string>{"lang", "use", "German"},
                           std::vector<std::string>{"lang", "list", "--bogus"}}) {
    const CliResult r = RunCli(scratch_, args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(args);
    EXPECT_FALSE(r.err.empty()) << ::testing::PrintToString(args);
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

}  // namespace
}  // namespace brimlow::cli
