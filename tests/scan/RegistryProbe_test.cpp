#include "scan/RegistryProbe.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

using platform::RegRoot;
using platform::RegValue;
using platform::Result;

// Whatever key the walk notes, the walk probe answers every question the
// way the platform does: about the noted key, its values and its subkeys,
// about other spellings of it, and about its neighbours.
TEST(RegistryProbeTest, NotedKeysAnswerLikeThePlatform) {
  testing::ScratchSystem scratch;
  auto& reg = platform::Reg();
  const RegRoot hkcr = RegRoot::kClassesRoot;
  const std::wstring base = L"CLSID\\{BrimlowProbe}";
  ASSERT_EQ(reg.SetValue(hkcr, base, platform::MakeStringValue(L"", L"class")), Result::kOk);
  ASSERT_EQ(reg.SetValue(hkcr, base, platform::MakeStringValue(L"AppID", L"{app}")), Result::kOk);
  ASSERT_EQ(reg.SetValue(hkcr, base, platform::MakeDwordValue(L"\u00c9t\u00e9", 3)), Result::kOk);
  ASSERT_EQ(reg.SetValue(hkcr, base + L"\\TypeLib", platform::MakeStringValue(L"", L"{lib}")), Result::kOk);
  ASSERT_EQ(reg.SetValue(hkcr, base + L"\\InprocServer32", platform::MakeStringValue(L"", L"x.dll")),
            Result::kOk);

  const std::wstring walked[] = {base, base + L"\\TypeLib", base + L"\\InprocServer32"};
  const std::wstring paths[] = {base,
                                L"clsid\\{brimlowprobe}",
                                base + L"\\",
                                base + L"\\TypeLib",
                                base + L"\\typelib",
                                base + L"\\TypeLib\\TypeLib",
                                base + L"\\TypeLib\\Missing",
                                base + L"\\TypeLib\\",
                                base + L"\\TypeLib\\\\x",
                                base + L"\\InprocServer32",
                                base + L"\\Missing",
                                L"CLSID"};
  const std::wstring names[] = {L"", L"AppID", L"appid", L"\u00e9t\u00e9", L"Missing"};
  const RegRoot roots[] = {hkcr, RegRoot::kLocalMachine};

  auto probe = MakeWalkRegistryProbe();
  RegistryProbe& direct = DirectRegistryProbe();
  for (const auto& key : walked) {
    std::vector<RegValue> values;
    std::uint32_t subkeys = 0, value_count = 0;
    ASSERT_EQ(reg.Values(hkcr, key, &values), Result::kOk);
    ASSERT_EQ(reg.CountChildren(hkcr, key, &subkeys, &value_count), Result::kOk);
    probe->NoteWalkedKey(hkcr, key, values, subkeys, value_count);
    for (const RegRoot root : roots) {
      for (const auto& path : paths) {
        const std::string label = ToUtf8(key) + " noted, " + ToUtf8(path);
        EXPECT_EQ(probe->KeyExists(root, path), direct.KeyExists(root, path)) << label;
        std::uint32_t s1 = 9, v1 = 9, s2 = 9, v2 = 9;
        EXPECT_EQ(probe->CountChildren(root, path, &s1, &v1), direct.CountChildren(root, path, &s2, &v2)) << label;
        EXPECT_EQ(s1, s2) << label;
        EXPECT_EQ(v1, v2) << label;
        std::vector<RegValue> l1, l2;
        EXPECT_EQ(probe->Values(root, path, &l1), direct.Values(root, path, &l2)) << label;
        EXPECT_EQ(l1, l2) << label;
        for (const auto& name : names) {
          RegValue a, b;
          EXPECT_EQ(probe->QueryValue(root, path, name, &a), direct.QueryValue(root, path, name, &b))
              << label << " value " << ToUtf8(name);
          // The name's spelling after a query differs between platforms
          // (the stored one or the asked one); the rules read type and data.
          EXPECT_EQ(a.type, b.type) << label << " value " << ToUtf8(name);
          EXPECT_EQ(a.data, b.data) << label << " value " << ToUtf8(name);
        }
      }
    }
    probe->ForgetWalkedKey();
  }
}

}  // namespace
}  // namespace brimlow::scan
