#include <gtest/gtest.h>

#include <map>

#include "base/Text.h"
#include "platform/standin/StandinOsVersion.h"

namespace brimlow::platform::standin {
namespace {

// Only the variables matter to the version.
class Variables : public Environment {
 public:
  explicit Variables(std::map<std::wstring, std::wstring> values) : values_(std::move(values)) {}
  std::wstring Variable(const std::wstring& name) override {
    auto it = values_.find(name);
    return it == values_.end() ? L"" : it->second;
  }
  std::wstring Expand(const std::wstring& text) override { return text; }
  std::wstring AppFileName() override { return L""; }
  std::wstring WindowsFolder() override { return L""; }
  std::wstring TempFolder() override { return L""; }
  std::wstring LongPath(const std::wstring&) override { return L""; }
  int WindowsMajorVersion() override { return 0; }

 private:
  std::map<std::wstring, std::wstring> values_;
};

TEST(StandinOsVersion, DefaultsToA32BitWindows7Sp1Workstation) {
  Variables none({});
  StandinOsVersion os(none);
  ReportedVersion v;
  ASSERT_TRUE(os.Query(&v));
  EXPECT_TRUE(v.extended);
  EXPECT_EQ(v.platform_id, OsPlatformId::kWindowsNt);
  EXPECT_EQ(v.major, 6u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.build, 7601u);
  EXPECT_EQ(v.service_pack, L"Service Pack 1");
  EXPECT_EQ(v.service_pack_major, 1);
  EXPECT_EQ(v.product_type, OsProductType::kWorkstation);
  EXPECT_EQ(v.native_architecture, OsArchitecture::kIntel);
  EXPECT_FALSE(os.IsWow64());
}

TEST(StandinOsVersion, ReadsTheConfiguredVersion) {
  Variables vista64({{L"BRIMLOW_WINDOWS_VERSION", L"6.0.6002"},
                     {L"BRIMLOW_WINDOWS_PRODUCT_TYPE", L"Server"},
                     {L"BRIMLOW_WINDOWS_SERVICE_PACK", L"Service Pack 2.1"},
                     {L"BRIMLOW_WINDOWS_SUITE_MASK", L"0x82"},
                     {L"BRIMLOW_WINDOWS_ARCHITECTURE", L"amd64"},
                     {L"BRIMLOW_WINDOWS_R2", L"1"},
                     {L"BRIMLOW_WINDOWS_WOW64", L"true"}});
  StandinOsVersion os(vista64);
  ReportedVersion v;
  ASSERT_TRUE(os.Query(&v));
  EXPECT_EQ(v.major, 6u);
  EXPECT_EQ(v.minor, 0u);
  EXPECT_EQ(v.build, 6002u);
  EXPECT_EQ(v.product_type, OsProductType::kServer);
  EXPECT_EQ(v.service_pack_major, 2);
  EXPECT_EQ(v.service_pack_minor, 1);
  EXPECT_EQ(v.suite_mask, 0x82);
  EXPECT_EQ(v.native_architecture, OsArchitecture::kAmd64);
  EXPECT_EQ(v.server_r2, 1);
  EXPECT_TRUE(os.IsWow64());
}

TEST(StandinOsVersion, MalformedValuesFallBackToTheDefaults) {
  const wchar_t* versions[] = {L"6", L"six.one", L"6.1.2.3", L"6..1", L"-6.1", L"6.1x"};
  for (const wchar_t* text : versions) {
    SCOPED_TRACE(ToUtf8(text));
    Variables bad({{L"BRIMLOW_WINDOWS_VERSION", text},
                   {L"BRIMLOW_WINDOWS_PRODUCT_TYPE", L"tablet"},
                   {L"BRIMLOW_WINDOWS_PLATFORM", L"7"},
                   {L"BRIMLOW_WINDOWS_SUITE_MASK", L"0x1FFFF"}});
    StandinOsVersion os(bad);
    ReportedVersion v;
    ASSERT_TRUE(os.Query(&v));
    EXPECT_EQ(v.major, 6u);
    EXPECT_EQ(v.minor, 1u);
    EXPECT_EQ(v.platform_id, OsPlatformId::kWindowsNt);
    EXPECT_EQ(v.product_type, OsProductType::kWorkstation);
    EXPECT_EQ(v.suite_mask, 0x100);
  }
}

TEST(StandinOsVersion, BasicQueryOnlyLeavesTheExtendedFieldsZero) {
  Variables nt4({{L"BRIMLOW_WINDOWS_VERSION", L"4.0.1381"},
                 {L"BRIMLOW_WINDOWS_SERVICE_PACK", L"Service Pack 6"},
                 {L"BRIMLOW_WINDOWS_EXTENDED", L"0"}});
  StandinOsVersion os(nt4);
  ReportedVersion v;
  ASSERT_TRUE(os.Query(&v));
  EXPECT_FALSE(v.extended);
  EXPECT_EQ(v.service_pack, L"Service Pack 6");
  EXPECT_EQ(v.service_pack_major, 0);
  EXPECT_EQ(v.product_type, 0);
  EXPECT_EQ(v.suite_mask, 0);
}

}  // namespace
}  // namespace brimlow::platform::standin
