// brimlow-cli restore-point: the description handed to the System Restore
// client, its failures reported with their status, and the System Restore
// program that is not there.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"
#include "platform/RestorePoints.h"

namespace brimlow::cli {
namespace {

// Records what the tool asks for; fails a call when told to.
class FakeRestorePoints : public platform::RestorePoints {
 public:
  std::uint32_t BeginRestorePoint(const std::wstring& description, std::int64_t* sequence) override {
    descriptions.push_back(description);
    *sequence = begin_status == 0 ? 5 : 0;
    return begin_status;
  }
  std::uint32_t EndRestorePoint(std::int64_t sequence) override {
    ended.push_back(sequence);
    return end_status;
  }

  std::uint32_t begin_status = 0;
  std::uint32_t end_status = 0;
  std::vector<std::wstring> descriptions;
  std::vector<std::int64_t> ended;
};

class CliRestorePointTest : public ::testing::Test {
 protected:
  testing::ScratchSystem scratch_;
  UserSettingsGuard guard_{scratch_};
  FakeRestorePoints points_;
  platform::ScopedRestorePoints scope_{points_};
};

TEST_F(CliRestorePointTest, CreateBeginsAndEndsAPointWithTheDescription) {
  const CliResult r = RunCli(scratch_, {"restore-point", "create", "Before the tests"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Restore point created.\n");
  EXPECT_EQ(points_.descriptions, std::vector<std::wstring>{L"Before the tests"});
  EXPECT_EQ(points_.ended, std::vector<std::int64_t>{5});

  // Without one: the application's name and " Restore point".
  ASSERT_EQ(RunCli(scratch_, {"settings", "set", "App.Name", "Tester"}).code, 0);
  ASSERT_EQ(RunCli(scratch_, {"restore-point", "create"}).code, 0);
  ASSERT_EQ(points_.descriptions.size(), 2u);
  EXPECT_EQ(points_.descriptions[1], L"Tester Restore point");
}

TEST_F(CliRestorePointTest, AFailedCallIsReportedWithItsStatus) {
  const struct {
    std::uint32_t begin;
    std::uint32_t end;
    std::string message;
  } cases[] = {
      {29, 0, "brimlow-cli: Cannot create restore point. (status 29)\n"},
      {0, 87, "brimlow-cli: Cannot create restore point. (status 87)\n"},
  };
  for (const auto& c : cases) {
    points_.begin_status = c.begin;
    points_.end_status = c.end;
    const CliResult r = RunCli(scratch_, {"restore-point", "create", "x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.message);
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

TEST_F(CliRestorePointTest, ViewWithoutTheSystemRestoreProgramSaysSo) {
  const CliResult r = RunCli(scratch_, {"restore-point", "view"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "brimlow-cli: The System Restore program was not found on this computer.\n");
}

TEST_F(CliRestorePointTest, UnknownRequestsFail) {
  for (const auto& args : {std::vector<std::string>{"restore-point"},
                           std::vector<std::string>{"restore-point", "remove", "1"},
                           std::vector<std::string>{"restore-point", "create", "a", "b"}}) {
    const CliResult r = RunCli(scratch_, args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(args);
    EXPECT_FALSE(r.err.empty()) << ::testing::PrintToString(args);
  }
  EXPECT_TRUE(points_.descriptions.empty());
}

}  // namespace
}  // namespace brimlow::cli
