// Stand-in build only: Brimlow's own registry editor merges all or nothing.

#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "cure/RegUtils.h"
#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "support/ScratchSystem.h"

namespace brimlow::cure {
namespace {

TEST(RegUtilsStandinTest, MalformedFileChangesNothingAndReportsItsLine) {
  testing::ScratchSystem scratch;
  const std::wstring key = L"HKEY_CURRENT_USER\\" + scratch.RegPath();
  const std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n[" + key +
                            L"]\r\n\"good\"=dword:00000001\r\n\"bad\"=dword:xyz\r\n";
  Bytes bytes = {0xFF, 0xFE};
  const Bytes body = ToUtf16LeBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  const std::wstring path = scratch.Folder() + L"bad.reg";
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, bytes)));

  EXPECT_FALSE(ImportRegFile(path));
  std::wstring error;
  EXPECT_FALSE(platform::MergeRegFile(path, 3000, &error));
  EXPECT_EQ(error.rfind(path + L":5: ", 0), 0u) << ToUtf8(error);
  platform::RegValue value;
  EXPECT_EQ(platform::Reg().QueryValue(scratch.RegRoot(), scratch.RegPath(), L"good", &value),
            platform::Result::kNotFound);
}

}  // namespace
}  // namespace brimlow::cure
