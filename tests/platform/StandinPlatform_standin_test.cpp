#include "platform/standin/StandinPlatform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/OsVersion.h"
#include "platform/SystemSession.h"
#include "support/HostTempDir.h"
#include "support/ScratchSystem.h"

namespace brimlow::platform::standin {
namespace {

using testing::HostTempDir;

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring ShellFolder(RegRoot root, const std::wstring& name) {
  RegValue value;
  if (!Ok(Reg().QueryValue(root, kShellFolders, name, &value))) return L"<missing>";
  EXPECT_EQ(value.type, RegType::kSz) << ToUtf8(name);
  return RegValueText(value);
}

// Sets an environment variable of this process for one scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(StandinPlatformTest, AFreshImageIsAWindowsLikeSystem) {
  HostTempDir dir;
  std::wstring error;
  ASSERT_TRUE(CreateFreshImage(dir.path() / "image", &error)) << ToUtf8(error);
  StandinPlatform system;
  ASSERT_TRUE(system.Open(dir.path() / "image", &error)) << ToUtf8(error);
  ScopedPlatform scope(system.platform());

  const std::wstring profile = Env().Variable(L"USERPROFILE");
  EXPECT_EQ(profile, L"C:\\users\\" + Env().Variable(L"USERNAME"));
  const struct {
    RegRoot root;
    const wchar_t* name;
    std::wstring path;
  } folders[] = {
      {RegRoot::kCurrentUser, L"AppData", profile + L"\\AppData\\Roaming"},
      {RegRoot::kCurrentUser, L"Local AppData", profile + L"\\AppData\\Local"},
      {RegRoot::kCurrentUser, L"Desktop", profile + L"\\Desktop"},
      {RegRoot::kCurrentUser, L"Recent", profile + L"\\Recent"},
      {RegRoot::kCurrentUser, L"Cookies", profile + L"\\Cookies"},
      {RegRoot::kCurrentUser, L"Programs", profile + L"\\Start Menu\\Programs"},
      {RegRoot::kCurrentUser, L"Fonts", L"C:\\Windows\\Fonts"},
      {RegRoot::kCurrentUser, L"Personal", profile + L"\\Documents"},
      {RegRoot::kCurrentUser, L"Startup", profile + L"\\Start Menu\\Programs\\Startup"},
      {RegRoot::kLocalMachine, L"Common AppData", L"C:\\ProgramData"},
      {RegRoot::kLocalMachine, L"Common Documents", L"C:\\users\\Public\\Documents"},
      {RegRoot::kLocalMachine, L"Common Startup",
       L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
  };
  for (const auto& f : folders) {
    EXPECT_EQ(ShellFolder(f.root, f.name), f.path) << ToUtf8(f.name);
    FileEntry entry;
    EXPECT_EQ(Files().Stat(f.path, &entry), Result::kOk) << ToUtf8(f.path);
    EXPECT_TRUE(entry.IsFolder()) << ToUtf8(f.path);
  }
  for (const wchar_t* folder : {L"C:\\WINDOWS\\system32", L"C:\\Windows\\Temp", L"C:\\Windows\\inf",
                                L"C:\\Program Files"}) {
    FileEntry entry;
    EXPECT_EQ(Files().Stat(folder, &entry), Result::kOk) << ToUtf8(folder);
  }
  EXPECT_EQ(Env().TempFolder(), profile + L"\\Temp\\");
  EXPECT_EQ(Env().WindowsMajorVersion(), 6);
  ReportedVersion reported;
  ASSERT_TRUE(Version().Query(&reported));
  EXPECT_EQ(reported.build, 7601u);
  EXPECT_EQ(Env().Variable(L"BRIMLOW_WINDOWS_VERSION"), L"6.1.7601");
  EXPECT_EQ(system.HostPath(L"c:\\windows"), dir.path() / "image" / "drive_c" / "Windows");
  const Platform& p = system.platform();
  for (const void* service : {(const void*)p.registry, (const void*)p.files, (const void*)p.environment,
                              (const void*)p.links, (const void*)p.processes, (const void*)p.desktop,
                              (const void*)p.version})
    EXPECT_NE(service, nullptr);
}

TEST(StandinPlatformTest, NamesTheFileAndLineAtFault) {
  HostTempDir dir;
  std::wstring error;
  StandinPlatform system;
  EXPECT_FALSE(system.Open(dir.path() / "absent", &error));
  EXPECT_NE(error.find(FromUtf8((dir.path() / "absent").string())), std::wstring::npos) << ToUtf8(error);

  dir.Write("image/drive_c/x", "");
  dir.Write("image/environment", "# vars\nUSERNAME=me\nbroken line\n");
  error.clear();
  EXPECT_FALSE(system.Open(dir.path() / "image", &error));
  EXPECT_EQ(error, FromUtf8((dir.path() / "image" / "environment").string()) + L":3: expected NAME=VALUE");

  dir.Write("image/environment", "USERNAME=me\n");
  dir.Write("image/registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_NOWHERE\\X]\r\n");
  error.clear();
  EXPECT_FALSE(system.Open(dir.path() / "image", &error));
  EXPECT_NE(error.find(L"registry.reg:3"), std::wstring::npos) << ToUtf8(error);

  // An image without a registry or environment file is an empty system.
  std::filesystem::remove(dir.path() / "image" / "registry.reg");
  std::filesystem::remove(dir.path() / "image" / "environment");
  ASSERT_TRUE(system.Open(dir.path() / "image", &error)) << ToUtf8(error);
  EXPECT_EQ(system.platform().environment->Variable(L"SystemRoot"), L"C:\\Windows");
  EXPECT_EQ(system.platform().registry->KeyExists(RegRoot::kCurrentUser, L"Software"), Result::kNotFound);
}

TEST(StandinPlatformTest, ResolvesTheImageFolder) {
  ScopedVariable system("BRIMLOW_SYSTEM", "/from/variable");
  ScopedVariable data("XDG_DATA_HOME", "/data/home");
  EXPECT_EQ(ResolveImageDir("/from/option"), "/from/option");
  EXPECT_EQ(ResolveImageDir(""), "/from/variable");
  ::unsetenv("BRIMLOW_SYSTEM");
  EXPECT_EQ(ResolveImageDir(""), "/data/home/brimlow/system");
  ScopedVariable relative("XDG_DATA_HOME", "relative");
  ScopedVariable home("HOME", "/home/someone");
  EXPECT_EQ(ResolveImageDir(""), "/home/someone/.local/share/brimlow/system");
}

TEST(SystemSessionTest, MakesTheDefaultImageButNotANamedOne) {
  HostTempDir dir;
  ScopedVariable system("BRIMLOW_SYSTEM", "");
  ScopedVariable data("XDG_DATA_HOME", dir.path().string());
  const std::wstring before = Env().WindowsFolder();
  {
    SystemSession session;
    std::wstring error;
    EXPECT_FALSE(session.Open(FromUtf8((dir.path() / "named").string()), &error));
    EXPECT_NE(error.find(L"named"), std::wstring::npos) << ToUtf8(error);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "named"));
  }
  {
    SystemSession session;
    std::wstring error;
    ASSERT_TRUE(session.Open(L"", &error)) << ToUtf8(error);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "brimlow" / "system" / "drive_c" / "Windows"));
    EXPECT_EQ(session.Description(), L"image " + FromUtf8((dir.path() / "brimlow" / "system").string()));
    EXPECT_EQ(Reg().KeyExists(RegRoot::kCurrentUser, kShellFolders), Result::kOk);
  }
  // The session's platform is gone with it.
  EXPECT_EQ(Reg().KeyExists(RegRoot::kCurrentUser, kShellFolders), Result::kNotFound);
  EXPECT_EQ(Env().WindowsFolder(), before);
}

TEST(ScratchSystemTest, GivesAnEmptyKeyAndFolderAndCleansUp) {
  {
    brimlow::testing::ScratchSystem scratch;
    ASSERT_EQ(scratch.Folder().back(), L'\\');
    std::vector<FileEntry> entries;
    EXPECT_EQ(Files().List(scratch.Folder() + L"*", &entries), Result::kOk);
    EXPECT_TRUE(entries.empty());
    std::uint32_t keys = 1, values = 1;
    EXPECT_EQ(Reg().CountChildren(scratch.RegRoot(), scratch.RegPath(), &keys, &values), Result::kOk);
    EXPECT_EQ(keys + values, 0u);
    ASSERT_EQ(Files().WriteFileAtomic(scratch.Folder() + L"f.txt", Bytes{'x'}), Result::kOk);
    FileEntry entry;
    ASSERT_EQ(Files().Stat(L"C:\\Windows", &entry), Result::kOk);
  }
  FileEntry entry;
  EXPECT_EQ(Files().Stat(L"C:\\Windows", &entry), Result::kNotFound) << "scratch image uninstalled";
}

}  // namespace
}  // namespace brimlow::platform::standin
