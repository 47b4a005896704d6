// The same registry content and files, scanned over the same small topic
// list, give the same findings on every platform: the expectations below
// are shared by the stand-in and the Windows build (Wine's real registry
// and files there).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "base/PortableMainLoop.h"
#include "platform/Platform.h"
#include "scan/VazArovov.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

class ScanParityTest : public ::testing::Test {
 protected:
  ScanParityTest() {
    auto& reg = platform::Reg();
    auto& files = platform::Files();
    const std::wstring& f = scratch_.Folder();
    const auto key = [&](const std::wstring& sub) { return scratch_.RegPath() + L"\\" + sub; };
    files.WriteFileAtomic(f + L"present.dll", Bytes(1, 'd'));
    files.WriteFileAtomic(f + L"present.exe", Bytes(1, 'e'));
    files.WriteFileAtomic(f + L"present.hlp", Bytes(1, 'h'));
    reg.SetValue(scratch_.RegRoot(), key(L"shared"), platform::MakeDwordValue(f + L"present.dll", 1));
    reg.SetValue(scratch_.RegRoot(), key(L"shared"), platform::MakeDwordValue(f + L"gone.dll", 2));
    files.WriteFileAtomic(f + L"unused.dll", Bytes(1, 'u'));
    reg.SetValue(scratch_.RegRoot(), key(L"shared"), platform::MakeDwordValue(f + L"unused.dll", 0));
    reg.SetValue(scratch_.RegRoot(), key(L"run"), platform::MakeStringValue(L"ok", L"\"" + f + L"Present.exe\" /x"));
    reg.SetValue(scratch_.RegRoot(), key(L"run"), platform::MakeStringValue(L"bad", f + L"gone.exe -s"));
    reg.SetValue(scratch_.RegRoot(), key(L"help"), platform::MakeStringValue(L"present.hlp", f));
    reg.SetValue(scratch_.RegRoot(), key(L"help"), platform::MakeStringValue(L"gone.hlp", f));
    reg.SetValue(scratch_.RegRoot(), key(L"empties\\e1"), platform::MakeStringValue(L"x", L"@Empty"));
    reg.SetValue(scratch_.RegRoot(), key(L"empties\\e2"), platform::MakeStringValue(L"x", L"full"));
    const std::wstring junk = f + L"junk\\";
    files.CreateFolder(junk + L"sub.tmp");
    for (const wchar_t* name : {L"a.tmp", L"b.LOG", L"keep.log", L"c.txt", L"sub.tmp\\d.tmp"}) {
      files.WriteFileAtomic(junk + name, Bytes(2, 'j'));
    }
    engine_.SetMinimumScanTime(0);
    const std::wstring hkcu = L"HKEY_CURRENT_USER\\";
    Add(L"SharedDlls", L"tcARegFix", L"rsSharedDlls", L"lsRegistry," + hkcu + key(L"shared"));
    Add(L"Startup", L"tcARegFix", L"rsStartup", L"lsRegistry," + hkcu + key(L"run"));
    Add(L"Help", L"tcARegFix", L"rsHelp", L"lsRegistry," + hkcu + key(L"help"));
    Add(L"Empty", L"tcARegFix", L"rsEmptyKey", L"lsRegistry," + hkcu + key(L"empties"));
    TFigTopic& junk_topic = Add(L"Junk", L"tcCJunkFile", L"rsJunkFile,.tmp,.log", L"lsDisk," + junk);
    junk_topic.SetValue(L"EXCEPTOPTIONS", L"KEEP.LOG");
  }

  TFigTopic& Add(const std::wstring& name, const std::wstring& category, const std::wstring& rule,
                 const std::wstring& location) {
    TFigTopic& topic = *engine_.GetTopic(engine_.AddTopic(name));
    topic.SetValue(L"Category", category);
    topic.SetValue(L"Rule", rule);
    topic.SetValue(L"LOCATION_0", location);
    topic.SetValue(L"CheckValues", L"1");
    topic.SetValue(L"IncludeSubFolder", L"1");
    topic.SetEnabled(true);
    return topic;
  }

  // "topic|section|name|reason|message", the scratch folder and key written
  // as <F> and <K> so that the lines do not depend on where they live.
  std::string Line(const TFigScanedItem& item) const {
    std::string text = ToUtf8(item.TopicName + L"|" + item.ScanedSection + L"|" + item.ScanedName + L"|" +
                              std::wstring(NameOf(item.FigResult.Reason)) + L"|" + item.FigResult.Msg);
    for (const auto& [from, to] : {std::pair{ToUtf8(scratch_.Folder()), std::string("<F>")},
                                   std::pair{ToUtf8(scratch_.RegPath()), std::string("<K>")}}) {
      for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    }
    return text;
  }

  testing::ScratchSystem scratch_;
  PortableMainLoop loop_;
  TVazArovov engine_{loop_};
};

TEST_F(ScanParityTest, FindingsAreTheSameOnEveryPlatform) {
  std::vector<std::string> found;
  engine_.OnTopicMatched = [&](TFigScanedItem& item) { found.push_back(Line(item)); };
  engine_.SortByCategory();
  engine_.StartScan();
  ASSERT_TRUE(loop_.RunUntil([&] { return !engine_.IsRunning(); }, std::chrono::seconds(30)));
  // The order of a folder listing is the platform's own: compare sorted.
  std::sort(found.begin(), found.end());
  std::vector<std::string> expected = {
      "Empty|x|@Empty|frEmptyKey|Empty key",
      "Help|gone.hlp|<F>|frHelpFileNotFound|Help not found.",
      "Junk|<F>junk\\|a.tmp|frJunkFile|rsJunkFile",
      "Junk|<F>junk\\|b.LOG|frJunkFile|rsJunkFile",
      "Junk|<F>junk\\sub.tmp|d.tmp|frJunkFile|rsJunkFile",
      "SharedDlls|<F>unused.dll|0|frSharedDllIsNotUsed|Shared Dll [<F>unused.dll] is not used.",
      "SharedDlls|<F>gone.dll|2|frSharedDllNotFound|Shared Dll [<F>gone.dll] not found.",
      "Startup|bad|<F>gone.exe -s|frStartupItemNotCorrect|",
  };
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(found.size(), expected.size()) << ::testing::PrintToString(found);
  for (std::size_t i = 0; i < found.size(); ++i) {
    // The start-up message names the Windows folder, whose spelling is the
    // system's own: compare up to the message there.
    if (expected[i].back() == '|') {
      EXPECT_EQ(found[i].substr(0, expected[i].size()), expected[i]);
    } else {
      EXPECT_EQ(found[i], expected[i]);
    }
  }
  EXPECT_EQ(engine_.Summary().MatchedAllCount, static_cast<std::int64_t>(expected.size()));
}

}  // namespace
}  // namespace brimlow::scan
