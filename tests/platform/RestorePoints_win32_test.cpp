#include "platform/RestorePoints.h"

#include <gtest/gtest.h>

namespace brimlow::platform {
namespace {

// The program's start-up requirement holds on the system the tests run on.
TEST(Win32RestorePointsTest, TheSystemRestoreClientIsPresent) {
  EXPECT_EQ(CheckSystemRestoreClient(SystemClientLibrary()), ClientCheck::kPresent);
  std::vector<std::wstring> warnings;
  EXPECT_EQ(RequireSystemRestoreClient(SystemClientLibrary(), [&](const std::wstring& w) { warnings.push_back(w); }), 0);
  EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace brimlow::platform
