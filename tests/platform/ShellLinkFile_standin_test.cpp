#include "platform/standin/ShellLinkFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

std::string DataFolder() {
  const char* data = std::getenv("BRIMLOW_TEST_DATA");
  return std::string(data ? data : "tests/platform") + "/data/links/";
}

Bytes ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct LinkCase {
  std::string file;
  std::wstring target;
};

// The fixtures and their expected targets from targets.txt.
std::vector<LinkCase> LinkCases() {
  std::ifstream in(DataFolder() + "targets.txt", std::ios::binary);
  std::vector<LinkCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    LinkCase c;
    std::string target;
    std::getline(fields, c.file, '\t');
    std::getline(fields, target, '\t');
    c.target = FromUtf8(target);
    cases.push_back(c);
  }
  return cases;
}

// A link built field by field: header, optional ID list, optional LinkInfo.
class LinkBuilder {
 public:
  explicit LinkBuilder(std::uint32_t flags) {
    U32(0x4C);
    const std::uint8_t clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    bytes_.insert(bytes_.end(), clsid, clsid + 16);
    U32(flags);
    bytes_.resize(0x4C, 0);
  }
  // LinkInfo with a local base path (ANSI, plus Unicode when given) and suffix.
  LinkBuilder& LocalInfo(const std::string& base, const std::wstring& unicode_base = L"") {
    const bool unicode = !unicode_base.empty();
    const std::uint32_t header = unicode ? 0x24 : 0x1C;
    const std::uint32_t base_at = header;
    const std::uint32_t suffix_at = base_at + static_cast<std::uint32_t>(base.size()) + 1;
    const std::uint32_t unicode_at = suffix_at + 1;
    const std::uint32_t size = unicode_at + (unicode ? 2 * static_cast<std::uint32_t>(unicode_base.size()) + 2 : 0);
    U32(size);
    U32(header);
    U32(0x1);  // VolumeIDAndLocalBasePath
    U32(0);    // no volume ID needed for the path
    U32(base_at);
    U32(0);
    U32(suffix_at);
    if (unicode) {
      U32(unicode_at);
      U32(0);
    }
    bytes_.insert(bytes_.end(), base.begin(), base.end());
    bytes_.push_back(0);
    bytes_.push_back(0);  // empty suffix
    for (wchar_t c : unicode_base) U16(c);
    if (unicode) U16(0);
    return *this;
  }
  Bytes bytes() const { return bytes_; }

 private:
  void U16(std::uint32_t v) {
    bytes_.push_back(v & 0xFF);
    bytes_.push_back((v >> 8) & 0xFF);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  Bytes bytes_;
};

TEST(ShellLinkFileTest, ResolvesLinksSavedByTheShell) {
  const auto cases = LinkCases();
  ASSERT_FALSE(cases.empty()) << "fixtures in " << DataFolder();
  for (const auto& c : cases) {
    const Bytes link = ReadHostFile(DataFolder() + c.file);
    ASSERT_FALSE(link.empty()) << c.file;
    EXPECT_EQ(ShellLinkTarget(link), c.target) << c.file;
  }
}

TEST(ShellLinkFileTest, PrefersTheUnicodeBasePathAndCutsLongTargets) {
  EXPECT_EQ(ShellLinkTarget(LinkBuilder(0x2).LocalInfo("C:\\caf\xE9.txt").bytes()), L"C:\\café.txt");
  EXPECT_EQ(ShellLinkTarget(LinkBuilder(0x2).LocalInfo("C:\\?.txt", L"C:\\Ж.txt").bytes()), L"C:\\Ж.txt");
  const std::string long_path = "C:\\" + std::string(2000, 'a');
  EXPECT_EQ(ShellLinkTarget(LinkBuilder(0x2).LocalInfo(long_path).bytes()).size(), 1023u);
}

TEST(ShellLinkFileTest, RejectsWhatIsNotALink) {
  Bytes no_clsid = LinkBuilder(0x2).LocalInfo("C:\\x").bytes();
  no_clsid[4] ^= 1;
  Bytes wrong_header = LinkBuilder(0x2).LocalInfo("C:\\x").bytes();
  wrong_header[0] = 0x4D;
  Bytes unterminated = LinkBuilder(0x2).LocalInfo("C:\\x").bytes();
  unterminated.resize(unterminated.size() - 2);  // the path loses its zero
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"text", Bytes{'h', 'e', 'l', 'l', 'o'}},
      {"no clsid", no_clsid},
      {"wrong header size", wrong_header},
      {"no link info, no id list", LinkBuilder(0).bytes()},
      {"link info flag without data", LinkBuilder(0x2).bytes()},
      {"unterminated path", unterminated},
  };
  for (const auto& c : cases) EXPECT_EQ(ShellLinkTarget(c.bytes), L"") << c.what;
}

// Every truncation and many random byte flips of real links: whatever the
// result, parsing must stay inside the data (run under the sanitizers).
TEST(ShellLinkFileTest, SurvivesTruncatedAndCorruptedLinks) {
  std::mt19937 random(20261210);
  for (const auto& c : LinkCases()) {
    const Bytes link = ReadHostFile(DataFolder() + c.file);
    for (std::size_t size = 0; size < link.size(); ++size) {
      // A copy of exactly that size, so reading past it is caught.
      const Bytes cut(link.begin(), link.begin() + size);
      const std::wstring target = ShellLinkTarget(cut);
      EXPECT_LE(target.size(), 1023u);
    }
    for (int round = 0; round < 2000; ++round) {
      Bytes broken = link;
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < flips; ++i) broken[random() % broken.size()] = static_cast<std::uint8_t>(random());
      EXPECT_LE(ShellLinkTarget(broken).size(), 1023u);
    }
  }
}

TEST(ShellLinkFileTest, ReadsTheLinkFileThroughTheDriveMap) {
  testing::HostTempDir dir;
  const Bytes link = LinkBuilder(0x2).LocalInfo("C:\\Windows\\notepad.exe").bytes();
  dir.Write("drive_c/Links/Editor.lnk", std::string(link.begin(), link.end()));
  const DriveMap drives(dir.path());
  StandinFileSystem files(drives);
  StandinShellLinks links(files);
  EXPECT_EQ(links.Target(L"C:\\links\\EDITOR.LNK"), L"C:\\Windows\\notepad.exe");
  EXPECT_EQ(links.Target(L"C:\\links\\missing.lnk"), L"");
}

}  // namespace
}  // namespace brimlow::platform::standin
