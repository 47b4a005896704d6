#include "framework/OxSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "framework/OxDebugTrace.h"
#include "framework/utils/Rect.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::testing {
namespace {

// Forwards to the file system in force, with faults on demand: write access
// denied below a folder, and atomic writes that fail below a folder after
// leaving a half-written temporary file, as a crash mid-save would. Counts
// the atomic writes per file name.
class FaultyFiles : public platform::FileSystem {
 public:
  explicit FaultyFiles(platform::FileSystem& inner) : inner_(inner) {}

  std::wstring deny_write_below;
  std::wstring fail_writes_below;
  std::map<std::wstring, int> writes;  // upper-cased path -> atomic writes

  platform::Result Stat(const std::wstring& p, platform::FileEntry* e) override {
    return inner_.Stat(p, e);
  }
  platform::Result List(const std::wstring& m, std::vector<platform::FileEntry>* e) override {
    return inner_.List(m, e);
  }
  platform::Result ReadFile(const std::wstring& p, Bytes* c) override {
    return inner_.ReadFile(p, c);
  }
  platform::Result WriteFileAtomic(const std::wstring& p, const Bytes& c) override {
    ++writes[UpperCase(p)];
    if (Below(p, fail_writes_below)) {
      inner_.WriteFileAtomic(p + L".partial", Bytes(c.begin(), c.begin() + c.size() / 2));
      return platform::Result::kFailed;
    }
    return inner_.WriteFileAtomic(p, c);
  }
  platform::Result AppendFile(const std::wstring& p, const Bytes& c) override {
    if (Below(p, fail_writes_below)) return platform::Result::kFailed;
    return inner_.AppendFile(p, c);
  }
  platform::Result DeleteFile(const std::wstring& p) override { return inner_.DeleteFile(p); }
  platform::Result RemoveFolder(const std::wstring& p) override { return inner_.RemoveFolder(p); }
  platform::Result CreateFolder(const std::wstring& p) override { return inner_.CreateFolder(p); }
  platform::Result Rename(const std::wstring& f, const std::wstring& t) override {
    return inner_.Rename(f, t);
  }
  bool CheckAccess(std::uint32_t access, const std::wstring& p) override {
    if ((access & 0x40000000u) && Below(p, deny_write_below)) return false;
    return inner_.CheckAccess(access, p);
  }

  int WritesOf(const std::wstring& path) { return writes[UpperCase(path)]; }

 private:
  static bool Below(const std::wstring& path, const std::wstring& folder) {
    return !folder.empty() && path.size() >= folder.size() &&
           SameText(path.substr(0, folder.size()), folder);
  }
  platform::FileSystem& inner_;
};

// The engine's two lists, as a fake.
class FakeEngineLayers : public OxSettingsEngineLayers {
 public:
  std::vector<std::wstring> overwrite;
  std::vector<std::wstring> defaults;
  bool FindSettingOverwrite(const std::wstring& n, std::wstring* v) const override {
    return FindNameValue(overwrite, n, v);
  }
  bool FindSettingDefault(const std::wstring& n, std::wstring* v) const override {
    return FindNameValue(defaults, n, v);
  }
};

class OxSettingsTest : public ::testing::Test {
 protected:
  OxSettingsTest() : files_(platform::Files()), faults_({.files = &files_}) {
    places_.app_dir = system_.Folder() + L"Program\\";
    places_.app_file_name = places_.app_dir + L"brimlow.exe";
    places_.user_root = system_.Folder() + L"Users\\me\\AppData";
    places_.common_root = system_.Folder() + L"ProgramData";
    platform::Files().CreateFolder(places_.app_dir);
  }

  std::unique_ptr<TOxSettings> Open() { return std::make_unique<TOxSettings>(L"", places_); }

  void Write(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, Bytes(bytes.begin(), bytes.end()))));
  }
  std::string Read(const std::wstring& path) {
    Bytes bytes;
    if (!platform::Ok(platform::Files().ReadFile(path, &bytes))) return "<missing>";
    return std::string(bytes.begin(), bytes.end());
  }

  std::wstring UserFolder() const { return places_.user_root + L"\\C__brimlow.exe\\"; }

  ScratchSystem system_;
  FaultyFiles files_;
  platform::ScopedPlatform faults_;
  OxSettingsPlaces places_;
};

TEST_F(OxSettingsTest, FirstRunWithWritableAllUsersFolderKeepsSettingsThere) {
  places_.app_file_name = L"C:\\brimlow.exe";
  auto settings = Open();
  const std::wstring all_users = places_.common_root + L"\\C__brimlow.exe\\";

  EXPECT_TRUE(settings->AllUser());
  EXPECT_TRUE(SameText(settings->UserDataPath(), all_users)) << ToUtf8(settings->UserDataPath());
  EXPECT_EQ(settings->RunTimes(), 0);
  EXPECT_EQ(Read(UserFolder() + L"UserFlag.ini"), "[Flag]\r\nAllUsers=1\r\n");
  EXPECT_EQ(Read(all_users + L"setting.dat"), "[setting]\r\nRunTimes=1\r\n");
  EXPECT_EQ(Read(UserFolder() + L"setting.dat"), "<missing>");

  settings = Open();
  EXPECT_EQ(settings->RunTimes(), 1);
  EXPECT_EQ(settings->GetSettingInteger(L"RunTimes"), 2);
}

TEST_F(OxSettingsTest, OpeningWithoutCountingLeavesRunTimesAlone) {
  Open();
  TOxSettings tool(L"", places_, /*count_run=*/false);
  EXPECT_EQ(tool.RunTimes(), 1);
  EXPECT_EQ(Open()->RunTimes(), 1);
}

TEST_F(OxSettingsTest, AllUsersFolderTurnedReadOnlyFlipsToThePerUserFolder) {
  places_.app_file_name = L"C:\\brimlow.exe";
  Open()->SetSettingstring(L"Skin", L"Blue");

  files_.deny_write_below = places_.common_root;
  auto settings = Open();
  EXPECT_FALSE(settings->AllUser());
  EXPECT_TRUE(SameText(settings->UserDataPath(), UserFolder()));
  EXPECT_EQ(Read(UserFolder() + L"UserFlag.ini"), "[Flag]\r\nAllUsers=0\r\n");
  // The old all-users values are not carried over.
  EXPECT_EQ(settings->GetSettingString(L"Skin"), L"");
  EXPECT_EQ(settings->RunTimes(), 0);

  // Once the flag is 0 it stays so, even when the folder is writable again.
  files_.deny_write_below.clear();
  EXPECT_FALSE(Open()->AllUser());
}

TEST_F(OxSettingsTest, FirstRunWithoutWritableAllUsersFolderUsesThePerUserFolder) {
  places_.app_file_name = L"C:\\brimlow.exe";
  files_.deny_write_below = places_.common_root;
  auto settings = Open();
  EXPECT_FALSE(settings->AllUser());
  EXPECT_EQ(Read(UserFolder() + L"UserFlag.ini"), "[Flag]\r\nAllUsers=0\r\n");
  EXPECT_EQ(Read(UserFolder() + L"setting.dat"), "[setting]\r\nRunTimes=1\r\n");
}

TEST_F(OxSettingsTest, ConfigPathNamesBothDataFoldersElseTheMangledProgramPath) {
  places_.app_file_name = L"C:\\Tools\\app.exe";
  auto mangled = Open();
  EXPECT_EQ(mangled->ConfigPathWord(), L"C__Tools_app.exe");
  EXPECT_TRUE(SameText(mangled->UserDataPathCurrentUser(),
                       places_.user_root + L"\\C__Tools_app.exe\\"));

  // A second copy elsewhere keeps its own settings.
  mangled->SetSettingstring(L"Skin", L"Blue");
  places_.app_file_name = L"D:/Other/app.exe";
  auto other = Open();
  EXPECT_EQ(other->ConfigPathWord(), L"D__Other_app.exe");
  EXPECT_EQ(other->GetSettingString(L"Skin"), L"");

  Write(places_.app_dir + L"const.dat", "[setting]\r\nApp.ConfigPath=Brimlow\r\n");
  auto named = Open();
  EXPECT_EQ(named->ConfigPathWord(), L"Brimlow");
  EXPECT_TRUE(SameText(named->UserDataPathCurrentUser(), places_.user_root + L"\\Brimlow\\"));
  EXPECT_TRUE(SameText(named->UserDataPathAllUsers(), places_.common_root + L"\\Brimlow\\"));
}

TEST_F(OxSettingsTest, ReadsThroughTheFiveLayersInOrder) {
  Write(places_.app_dir + L"const.dat",
        "[setting]\r\nA=const\r\nB=const\r\nC=const\r\nEmpty=const\r\n"
        "[other]\r\nD=not a setting\r\n");
  Write(places_.app_dir + L"oem.const.dat", "[SETTING]\r\nb = oem \r\nC=oem\r\n");
  auto settings = Open();
  settings->SetSettingstring(L"C", L"user");
  settings->SetSettingstring(L"Empty", L"");
  FakeEngineLayers engine;
  engine.overwrite = {L"Forced=over"};
  engine.defaults = {L"Path.Languages=lang", L"A=default", L"Forced=default"};
  SetOxSettingsEngineLayers(&engine);
  settings->SetSettingstring(L"Forced", L"user");

  const struct {
    const wchar_t* name;
    const wchar_t* value;
    int layer;
  } cases[] = {
      {L"Forced", L"over", 1},      {L"c", L"user", 2},
      {L"Empty", L"", 2},           {L"B", L"oem", 3},
      {L"A", L"const", 4},          {L"Path.Languages", L"lang", 5},
      {L"D", L"", 0},               {L"Missing", L"", 0},
  };
  for (const auto& c : cases) {
    std::wstring value;
    EXPECT_EQ(settings->FindSettingLayer(c.name, &value), c.layer) << ToUtf8(c.name);
    EXPECT_EQ(settings->GetSettingString(c.name), c.value) << ToUtf8(c.name);
    EXPECT_EQ(settings->GetSettingExists(c.name), c.layer != 0) << ToUtf8(c.name);
  }

  SetOxSettingsEngineLayers(nullptr);
  EXPECT_EQ(settings->GetSettingString(L"Path.Languages"), L"");
  EXPECT_EQ(settings->GetSettingString(L"Forced"), L"user");
}

TEST_F(OxSettingsTest, DecodesTypedValues) {
  auto settings = Open();
  const struct {
    const wchar_t* text;
    int integer;
    bool boolean;
    double number;
  } cases[] = {
      {L"1", 1, true, 1},          {L"0", 0, false, 0},         {L"-1", -1, true, -1},
      {L"2", 2, true, 2},          {L"true", 0, false, 0},      {L"", 0, false, 0},
      {L" 7 ", 7, true, 7},        {L"12abc", 0, false, 0},     {L"45123.25", 0, false, 45123.25},
      {L"1,5", 0, false, 1.5},     {L"1e3", 0, false, 1000},    {L"x1", 0, false, 0},
  };
  for (const auto& c : cases) {
    settings->SetSettingstring(L"Value", c.text);
    EXPECT_EQ(settings->GetSettingInteger(L"Value"), c.integer) << ToUtf8(c.text);
    EXPECT_EQ(settings->GetSettingBool(L"Value"), c.boolean) << ToUtf8(c.text);
    EXPECT_DOUBLE_EQ(settings->GetSettingFloat(L"Value"), c.number) << ToUtf8(c.text);
  }

  // Date-times survive a save and a new start exactly.
  const double when = 46001.729166666664;
  settings->SetSettingFloat(L"Update.LastDate", when);
  settings->SetSettingBool(L"Flag", true);
  settings->SetSettingInteger(L"Count", -42);
  settings = Open();
  EXPECT_EQ(settings->GetSettingFloat(L"Update.LastDate"), when);
  EXPECT_EQ(settings->GetSettingString(L"Flag"), L"1");
  EXPECT_EQ(settings->GetSettingInteger(L"Count"), -42);
}

TEST_F(OxSettingsTest, RectanglesNeedExactlyFourParts) {
  auto settings = Open();
  settings->SetSettingRect(L"Window", TRect{10, 20, 310, 220});
  EXPECT_EQ(settings->GetSettingString(L"Window"), L"10,20,310,220");

  const struct {
    const wchar_t* text;
    TRect expected;
  } cases[] = {
      {L"1,2,3,4", {1, 2, 3, 4}},
      {L"1,x,3,4", {1, 0, 3, 4}},
      {L"1,2,3", {9, 9, 9, 9}},
      {L"1,2,3,4,5", {9, 9, 9, 9}},
      {L"", {9, 9, 9, 9}},
  };
  for (const auto& c : cases) {
    settings->SetSettingstring(L"Window", c.text);
    TRect rect{9, 9, 9, 9};
    settings->GetSettingRect(L"Window", &rect);
    EXPECT_EQ(rect, c.expected) << ToUtf8(c.text);
  }
}

TEST_F(OxSettingsTest, BatchedWritesSaveOnce) {
  auto settings = Open();
  const std::wstring file = settings->UserDataPath() + L"setting.dat";
  const int before = files_.WritesOf(file);

  settings->BeginUpdate();
  EXPECT_TRUE(settings->SetSettingInteger(L"One", 1));
  EXPECT_TRUE(settings->SetMessageShowAgainFlag(3, false));
  EXPECT_EQ(files_.WritesOf(file), before);
  EXPECT_TRUE(settings->EndUpdate());

  EXPECT_EQ(files_.WritesOf(file), before + 1);
  EXPECT_EQ(Read(file), "[setting]\r\nRunTimes=1\r\nOne=1\r\n\r\n[ShowAgain]\r\n3=0\r\n");

  settings->SetSettingInteger(L"Two", 2);
  EXPECT_EQ(files_.WritesOf(file), before + 2);
}

TEST_F(OxSettingsTest, ShowAgainFlagsDefaultToShownWithResultOne) {
  auto settings = Open();
  EXPECT_TRUE(settings->GetMessageShowAgainFlag(10));
  EXPECT_EQ(settings->GetMessageShowAgainResult(10), 1);

  settings->SetMessageShowAgainFlag(10, false);
  settings->SetMessageShowAgainResult(10, 6);
  settings = Open();
  EXPECT_FALSE(settings->GetMessageShowAgainFlag(10));
  EXPECT_EQ(settings->GetMessageShowAgainResult(10), 6);
  EXPECT_TRUE(settings->GetMessageShowAgainFlag(11));

  settings->ClearShowAgainFlag();
  settings = Open();
  EXPECT_TRUE(settings->GetMessageShowAgainFlag(10));
  EXPECT_EQ(settings->GetMessageShowAgainResult(10), 1);
}

TEST_F(OxSettingsTest, FailedSaveLeavesTheOldFileIntactAndReportsIt) {
  auto settings = Open();
  settings->SetSettingstring(L"Skin", L"Blue");
  const std::wstring file = settings->UserDataPath() + L"setting.dat";
  const std::string before = Read(file);

  files_.fail_writes_below = settings->UserDataPath();
  EXPECT_FALSE(settings->SetSettingstring(L"Skin", L"Red"));
  EXPECT_EQ(settings->GetSettingString(L"Skin"), L"Red");  // kept in memory
  settings->BeginUpdate();
  settings->SetSettingstring(L"Language", L"German");
  EXPECT_FALSE(settings->EndUpdate());

  EXPECT_EQ(Read(file), before);
  files_.fail_writes_below.clear();
  EXPECT_EQ(Open()->GetSettingString(L"Skin"), L"Blue");
}

TEST_F(OxSettingsTest, ValuesKeepTheirTextAndStayOneLine) {
  auto settings = Open();
  const std::wstring beyond_code_page = L"\u041F\u0440\u0438\u0432\u0435\u0442 \u20AC";
  settings->SetSettingstring(L"Greeting", beyond_code_page);
  settings->SetSettingstring(L"Latin", L"Gr\u00FC\u00DFe");
  settings->SetSettingstring(L"Injected", L"x\r\n[ShowAgain]\r\n5=0");
  settings = Open();
  EXPECT_EQ(settings->GetSettingString(L"Greeting"), beyond_code_page);
  EXPECT_EQ(settings->GetSettingString(L"Latin"), L"Gr\u00FC\u00DFe");
  EXPECT_TRUE(settings->GetMessageShowAgainFlag(5));
}

TEST_F(OxSettingsTest, ReadsAnExistingFileInThe8BitCodePage) {
  auto settings = Open();
  Write(settings->UserDataPath() + L"setting.dat",
        "[setting]\r\nName=Gr\xFC\xDF" "e \x80\r\n");
  settings = Open();
  EXPECT_EQ(settings->GetSettingString(L"Name"), L"Gr\u00FC\u00DFe \u20AC");
}

TEST_F(OxSettingsTest, ScrambledPairRoundTrips) {
  auto settings = Open();
  const std::wstring secret = L"p\u00E4ss \u4E2D";
  settings->SetSettingsecString(L"Proxy.Password", secret);
  const std::wstring stored = settings->GetSettingString(L"Proxy.Password");
  EXPECT_EQ(stored.size(), secret.size() * 4);
  EXPECT_EQ(stored.find(L"ss"), std::wstring::npos);
  EXPECT_EQ(Open()->GetSettingsecString(L"Proxy.Password"), secret);

  for (const wchar_t* malformed : {L"123", L"12G4", L"plain"}) {
    settings->SetSettingstring(L"Proxy.Password", malformed);
    EXPECT_EQ(settings->GetSettingsecString(L"Proxy.Password"), L"") << ToUtf8(malformed);
  }
}

TEST_F(OxSettingsTest, RunDaysOfFoldersCreatedTodayIsZero) {
  EXPECT_EQ(Open()->GetRunDays(), 0);
}

TEST_F(OxSettingsTest, SlowLanguageLookUpReadsTheLanguageFile) {
  platform::Files().CreateFolder(places_.app_dir + L"lang");
  Write(places_.app_dir + L"lang\\German.lan", "[AppRes]\r\nState.Ready=Bereit\r\n");
  Write(places_.app_dir + L"lang\\French.lan", "[AppRes]\r\nState.Ready=Pr\xEAt\r\n");
  FakeEngineLayers engine;
  engine.defaults = {L"Path.Languages=lang"};
  SetOxSettingsEngineLayers(&engine);
  auto settings = Open();

  EXPECT_EQ(settings->SlowGetLanguageString(L"AppRes", L"State.Ready", L"Ready"), L"Ready");
  settings->SetSettingstring(L"Language", L"German");
  EXPECT_EQ(settings->SlowGetLanguageString(L"AppRes", L"State.Ready", L"Ready"), L"Bereit");
  EXPECT_EQ(settings->SlowGetLanguageString(L"AppRes", L"Missing", L"dflt"), L"dflt");
  settings->SetSettingstring(L"Language.Force", L"French");
  EXPECT_EQ(settings->SlowGetLanguageString(L"AppRes", L"State.Ready", L"Ready"), L"Pr\u00EAt");
  SetOxSettingsEngineLayers(nullptr);
}

TEST_F(OxSettingsTest, UnknownNamesGoToTheDebugTrace) {
  auto settings = Open();
  std::vector<std::wstring> lines;
  SetOxDebugTraceSink([&](const std::wstring& tag, const std::wstring& line) {
    lines.push_back(tag + L"|" + line);
  });
  settings->GetSettingBool(L"No.Such");
  settings->GetSettingString(L"RunTimes");
  SetOxDebugTraceSink(nullptr);
  EXPECT_EQ(lines, std::vector<std::wstring>{L"OxSettings|Setting Not Found :No.Such"});
}

}  // namespace
}  // namespace brimlow::testing
