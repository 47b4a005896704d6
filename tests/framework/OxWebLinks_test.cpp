#include "framework/OxWebLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/EngineFixture.h"
#include "framework/OxSystemInfo.h"
#include "framework/utils/TextUtils.h"
#include "platform/OsVersion.h"
#include "platform/Platform.h"

namespace brimlow::testing {
namespace {

TEST(UrlEncodeTest, EncodesLikeTheWebService) {
  const struct {
    const wchar_t* text;
    const wchar_t* encoded;
  } cases[] = {
      {L"", L""},
      {L"abcXYZ019", L"abcXYZ019"},
      {L"@!$'()*-._", L"@!$'()*-._"},
      {L"a b", L"a+b"},
      {L"&=/?%#\"+~", L"%26%3d%2f%3f%25%23%22%2b%7e"},
      {L"caf\u00e9 \u20ac", L"caf%e9+%80"},  // the 8-bit code page's bytes
      {L"6_1_Service Pack 1", L"6_1_Service+Pack+1"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.text), c.encoded) << ToUtf8(c.text);
}

TEST(FormatUrlParamTest, ByteForByte) {
  UrlParamFields f;
  f.seconds = 7;
  f.milliseconds = 23;
  f.pid = L"my pid";
  f.language = L"Fran\u00e7ais";
  f.run_days = 3;
  f.run_times = 12;
  f.version = 0x0201000F;
  f.sub_version = 5;
  f.windows_version = L"6_1_Service Pack 1";
  f.windows_language = 1033;
  f.channel = L"abc";
  EXPECT_EQ(FormatUrlParam(f),
            L"07023&PID=my+pid&LANG=Fran%e7ais&DAY=3&RUNTIME=12&VER=0201000F&SVER=5"
            L"&WVER=6_1_Service+Pack+1&WLANG=1033&CHL=616263");
}

// Records what the engine asks the platform to open.
class RecordingProcesses : public platform::Processes {
 public:
  bool Start(const platform::StartInfo& info) override {
    opened.push_back(info.command_line);
    return true;
  }
  bool ShellExecute(const std::wstring&, const std::wstring& file, const std::wstring&,
                    std::wstring*) override {
    opened.push_back(file);
    return true;
  }
  bool CreateInstanceMutex(const std::wstring&) override { return true; }
  std::vector<std::wstring> opened;
};

// The system's version as a test wants it reported.
class FixedVersion : public platform::OsVersion {
 public:
  bool Query(platform::ReportedVersion* version) override {
    if (!answers) return false;
    *version = reported;
    return true;
  }
  bool IsWow64() override { return false; }
  bool answers = true;
  platform::ReportedVersion reported;
};

TEST(WindowsVersionTextTest, JoinsMajorMinorAndServicePack) {
  FixedVersion version;
  version.reported.major = 6;
  version.reported.minor = 0;
  version.reported.service_pack = L"Service Pack 2";
  platform::Platform with_version;
  with_version.version = &version;
  platform::ScopedPlatform scope(with_version);
  EXPECT_EQ(WindowsVersionText(), L"6_0_Service Pack 2");
  version.answers = false;
  EXPECT_EQ(WindowsVersionText(), L"0_0_");
}

class OxWebLinksTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    // A registry path no installer wrote: no distribution channel.
    Settings().SetSettingstring(L"App.RegPath", L"BrimlowTest\\NoSuchProduct");
    Settings().SetSettingstring(L"App.PID", L"");
    Settings().SetSettingstring(L"App.MagicWord", L"magic word");
    Settings().SetSettingstring(L"App.Ver", L"1.2.3");
    Settings().SetSettingstring(L"App.SubVer", L"4");
    Settings().SetSettingstring(L"Language", L"English");
  }
};

TEST_F(OxWebLinksTest, CollectedFieldsFollowTheSettings) {
  const UrlParamFields f = CollectUrlParamFields();
  EXPECT_EQ(f.pid, L"magic word") << "the product word stands in for an empty product id";
  EXPECT_EQ(f.language, L"English");
  EXPECT_EQ(f.version, 0u) << "three parts are no version";
  EXPECT_EQ(f.sub_version, 4);
  EXPECT_EQ(f.run_times, 0) << "first run";
  EXPECT_EQ(f.run_days, 0) << "every folder was made today";
  EXPECT_EQ(f.channel, L"unknow");

  const std::wstring param = engine_->GetURLParam();
  ASSERT_GE(param.size(), 5u);
  EXPECT_EQ(param.find_first_not_of(L"0123456789"), 5u) << ToUtf8(param);
  EXPECT_NE(param.find(L"&PID=magic+word&LANG=English&DAY=0&RUNTIME=0&VER=00000000&SVER=4&WVER="),
            std::wstring::npos)
      << ToUtf8(param);
  EXPECT_TRUE(param.ends_with(L"&CHL=756E6B6E6F77")) << ToUtf8(param);
}

TEST(DistributionChannelTest, IsCleanedOfQuotesAndPathParts) {
  const struct {
    const wchar_t* stored;
    const wchar_t* channel;
  } cases[] = {
      {L"\"web\"", L"web"},
      {L"C:\\setup\\partner7", L"partner7"},
      {L"http://x:partner8", L"partner8"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanDistributionChannel(c.stored), c.channel) << ToUtf8(c.stored);
  }
}

TEST_F(OxWebLinksTest, PageAddresses) {
  Settings().SetSettingstring(L"URL.help", L"https://brimlow.example/help?lang=en");
  Settings().SetSettingstring(L"URL.local", L"%ExePath%\\res\\info.html");
  Settings().SetSettingstring(L"URL.blank", L"   ");
  Settings().SetSettingstring(L"URL.Redirect", L"HTTP://brimlow.example/go");
  const std::wstring app = app_dir_.substr(0, app_dir_.size() - 1);

  const struct {
    const wchar_t* page;
    bool params;
    std::wstring expected;  // with params: up to the time stamp
  } cases[] = {
      {L"help", true, L"https://brimlow.example/help?lang=en&ACTION=help&"},
      {L"help", false, L"https://brimlow.example/help?lang=en"},
      {L"home", true, L"HTTP://brimlow.example/go?ACTION=home&"},
      {L"blank", true, L"HTTP://brimlow.example/go?ACTION=blank&"},
      {L"local", true, app + L"\\res\\info.html"},
      {L"x&PID=1 \"", true, L"HTTP://brimlow.example/go?ACTION=x%26PID%3d1+%22&"},
  };
  for (const auto& c : cases) {
    const std::wstring url = engine_->GetURL(c.page, c.params);
    if (!c.params || !StartsWithText(c.expected, L"http")) {
      EXPECT_EQ(url, c.expected) << ToUtf8(c.page);
      continue;
    }
    ASSERT_TRUE(url.starts_with(c.expected)) << ToUtf8(url);
    EXPECT_TRUE(url.substr(c.expected.size() + 5).starts_with(L"&PID=")) << ToUtf8(url);
  }

  Settings().SetSettingstring(L"URL.Redirect", L"");
  EXPECT_EQ(engine_->GetURL(L"home", true), L"") << "no address at all";
}

TEST_F(OxWebLinksTest, VexaLinksAreCommands) {
  Settings().SetSettingstring(L"URL.help", L"https://brimlow.example/help");
  RecordingProcesses processes;
  platform::Platform with_recorder;
  with_recorder.processes = &processes;
  platform::ScopedPlatform scope(with_recorder);

  const struct {
    const wchar_t* url;
    bool cancelled;
    bool opens_help;
  } cases[] = {
      {L"https://brimlow.example/news", false, false},
      {L"vexa:open?PAGE=help", true, true},
      {L"VEXA:PAGE=help&x=1", true, true},
      {L"vexa:open?x=1", true, false},
      {L"vexa:open?PAGE=", true, false},
      {L"vexa:open?PAGE=%zz", true, false},
  };
  for (const auto& c : cases) {
    processes.opened.clear();
    bool cancel = false;
    engine_->WebBeforeNavigate2(c.url, &cancel);
    EXPECT_EQ(cancel, c.cancelled) << ToUtf8(c.url);
    ASSERT_EQ(processes.opened.size(), c.opens_help ? 1u : 0u) << ToUtf8(c.url);
    if (c.opens_help) {
      EXPECT_NE(processes.opened[0].find(L"https://brimlow.example/help?ACTION=help&"),
                std::wstring::npos)
          << ToUtf8(processes.opened[0]);
    }
  }
}

}  // namespace
}  // namespace brimlow::testing
