#include <gtest/gtest.h>

#include "platform/win32/Win32OsVersion.h"

namespace brimlow::platform::win32 {
namespace {

// Whatever Windows (or Wine) runs the test: an NT-family answer with the
// extended fields, and no 32-bit layer for this test build (the 64-bit
// tests run natively; the 32-bit build cannot run here).
TEST(Win32OsVersion, ReportsAnNtFamilyVersion) {
  Win32OsVersion os;
  ReportedVersion v;
  ASSERT_TRUE(os.Query(&v));
  EXPECT_TRUE(v.extended);
  EXPECT_EQ(v.platform_id, OsPlatformId::kWindowsNt);
  EXPECT_GE(v.major, 5u);
  EXPECT_NE(v.product_type, 0);
#ifdef _WIN64
  EXPECT_FALSE(os.IsWow64());
#endif
}

}  // namespace
}  // namespace brimlow::platform::win32
