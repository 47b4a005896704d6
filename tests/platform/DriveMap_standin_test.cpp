#include "platform/standin/DriveMap.h"

#include <gtest/gtest.h>

#include "base/Text.h"

#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

using testing::HostTempDir;

class DriveMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("drive_c/Windows/System32/Notepad.exe", "x");
    dir_.Write("drive_c/Program Files/App/readme.txt", "x");
    dir_.Write("drive_d/data.bin", "x");
    dir_.Write("drive_ab/ignored", "x");  // not a drive folder
  }
  std::string Under(const std::string& relative) const { return (dir_.path() / relative).string(); }

  HostTempDir dir_;
};

TEST_F(DriveMapTest, MapsWindowsPathsOntoTheImage) {
  const DriveMap drives(dir_.path());
  const struct {
    std::wstring windows;
    std::string host;  // relative to the image; "" when unmappable
  } cases[] = {
      {L"C:\\Windows\\System32\\Notepad.exe", "drive_c/Windows/System32/Notepad.exe"},
      {L"c:\\WINDOWS\\system32\\NOTEPAD.EXE", "drive_c/Windows/System32/Notepad.exe"},
      {L"C:/windows/system32", "drive_c/Windows/System32"},
      {L"C:\\program files\\APP\\", "drive_c/Program Files/App"},
      // Names that do not exist keep their case, also below a missing one.
      {L"C:\\windows\\NewFolder\\New.TXT", "drive_c/Windows/NewFolder/New.TXT"},
      {L"D:\\DATA.BIN", "drive_d/data.bin"},
      {L"C:\\", "drive_c"},
      {L"C:", "drive_c"},
      {L"C:\\Windows\\.\\System32\\..\\System32", "drive_c/Windows/System32"},
      // ".." never climbs out of the drive's folder.
      {L"C:\\..\\..\\etc\\passwd", "drive_c/etc/passwd"},
      {L"C:\\Windows\\..\\..\\..\\drive_d\\data.bin", "drive_c/drive_d/data.bin"},
      {L"E:\\x", ""},
      {L"relative\\path", ""},
      {L"\\\\server\\share\\x", ""},
      {L"", ""},
      {std::wstring(L"C:\\a\0b", 6), ""},
  };
  for (const auto& c : cases) {
    const std::string expected = c.host.empty() ? "" : Under(c.host);
    EXPECT_EQ(drives.HostPath(c.windows).string(), expected) << ToUtf8(c.windows);
  }
}

TEST_F(DriveMapTest, DriveZIsTheHost) {
  const DriveMap without_image;
  EXPECT_EQ(without_image.HostPath(L"Z:\\").string(), "/");
  EXPECT_EQ(without_image.HostPath(L"z:\\..\\tmp").string(), "/tmp");
  EXPECT_TRUE(without_image.HostPath(L"C:\\Windows").empty());

  const std::wstring windows = DriveMap::WindowsPath(dir_.path() / "drive_d" / "data.bin");
  std::wstring expected = L"Z:" + FromUtf8(Under("drive_d/data.bin"));
  for (auto& c : expected) c = c == L'/' ? L'\\' : c;
  EXPECT_EQ(windows, expected);
  EXPECT_EQ(without_image.HostPath(windows).string(), Under("drive_d/data.bin"));
  EXPECT_EQ(DriveMap::WindowsPath("/"), L"Z:\\");
}

TEST_F(DriveMapTest, MatchesNonAsciiNamesWithoutRegardToCase) {
  dir_.Write("drive_c/Données/Ärger.txt", "x");
  const DriveMap drives(dir_.path());
  EXPECT_EQ(drives.HostPath(L"C:\\DONNÉES\\ärger.TXT").string(), Under("drive_c/Données/Ärger.txt"));
}

}  // namespace
}  // namespace brimlow::platform::standin
