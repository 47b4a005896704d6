// Single instance and access checks through the platform in force, on both
// builds.

#include "framework/utils/Windows.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow {
namespace {

TEST(Windows, OnlyTheFirstInstanceOfANameIsFirst) {
  testing::ScratchSystem scratch;
  const std::wstring name = L"BrimlowTest-" + scratch.RegPath().substr(scratch.RegPath().rfind(L'\\') + 1);
  EXPECT_TRUE(IsFirstInstance(name));
  EXPECT_FALSE(IsFirstInstance(name));
  EXPECT_TRUE(IsFirstInstance(name + L"-other"));
}

TEST(Windows, AccessCheckOfAMissingFileFails) {
  testing::ScratchSystem scratch;
  EXPECT_FALSE(CheckFileAccess(0x80000000u, scratch.Folder() + L"missing.txt"));
}

}  // namespace
}  // namespace brimlow
