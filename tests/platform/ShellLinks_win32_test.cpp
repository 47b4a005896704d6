// Win32 platform only: shell links made through the shell's own link object
// resolve back through the platform seam, and so do the committed link
// fixtures (which the stand-in's own link reader is tested on as well).

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::platform {
namespace {

// The fixture folder as a Windows path: the test data variable holds a
// host path, which Wine reaches through drive Z:.
std::wstring LinkFolder() {
  const char* data = std::getenv("BRIMLOW_TEST_DATA");
  std::wstring folder = FromUtf8(data ? data : "");
  if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
  for (auto& c : folder)
    if (c == L'/') c = L'\\';
  return folder + L"\\data\\links\\";
}

// Saves a link to the target through IShellLinkW and IPersistFile.
bool SaveLink(const std::wstring& target, const std::wstring& link_file) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(link_file.c_str(), TRUE));
  if (file) file->Release();
  link->Release();
  return saved;
}

class ShellLinksWin32 : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
  testing::ScratchSystem scratch_;
};

TEST_F(ShellLinksWin32, LinksSavedByTheShellResolveToTheirTargets) {
  const std::wstring folder = scratch_.Folder();
  ASSERT_EQ(Files().CreateFolder(folder + L"A Folder"), Result::kOk);
  ASSERT_EQ(Files().WriteFileAtomic(folder + L"plain.txt", {'x'}), Result::kOk);
  ASSERT_EQ(Files().WriteFileAtomic(folder + L"with some spaces.txt", {'x'}), Result::kOk);
  const struct {
    std::wstring link;
    std::wstring target;
  } cases[] = {
      {L"plain.lnk", folder + L"plain.txt"},
      {L"spaces.lnk", folder + L"with some spaces.txt"},
      {L"folder.lnk", folder + L"A Folder"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(SaveLink(c.target, folder + c.link)) << ToUtf8(c.link);
    EXPECT_TRUE(SameText(Links().Target(folder + c.link), c.target)) << ToUtf8(c.link);
  }
}

TEST_F(ShellLinksWin32, UnreadableLinksGiveAnEmptyTarget) {
  const std::wstring folder = scratch_.Folder();
  ASSERT_EQ(Files().WriteFileAtomic(folder + L"junk.lnk", {'n', 'o', 't'}), Result::kOk);
  EXPECT_EQ(Links().Target(folder + L"junk.lnk"), L"");
  EXPECT_EQ(Links().Target(folder + L"missing.lnk"), L"");
}

TEST(ShellLinksWin32Threads, WorksOnAThreadWithoutCom) {
  // A fresh thread has no COM apartment; the seam makes one for the call.
  std::wstring target;
  std::thread worker([&] { target = Links().Target(LinkFolder() + L"local-file.lnk"); });
  worker.join();
  EXPECT_EQ(target, L"C:\\windows\\notepad.exe");
}

// The committed fixtures made under Wine, as listed in targets.txt.
TEST(ShellLinkFixtures, ResolveToTheTargetsTheyWereMadeFor) {
  const std::wstring folder = LinkFolder();
  std::ifstream list(ToUtf8(folder) + "targets.txt", std::ios::binary);
  ASSERT_TRUE(list) << ToUtf8(folder);
  int checked = 0;
  std::string line;
  while (std::getline(list, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string file, target, origin;
    std::getline(fields, file, '\t');
    std::getline(fields, target, '\t');
    std::getline(fields, origin, '\t');
    if (origin != "IShellLinkW") continue;  // hand-edited files: see targets.txt
    EXPECT_EQ(ToUtf8(Links().Target(folder + FromUtf8(file))), target) << file;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace brimlow::platform
