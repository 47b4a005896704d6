#include "platform/RestorePoints.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brimlow::platform {
namespace {

// A loader that finds what the test says, and records what it was asked.
class FakeLibrary : public ClientLibrary {
 public:
  bool present = true;
  std::vector<std::string> entries;
  std::vector<std::string> asked;

  bool Load(const std::wstring& file_name) override {
    asked.push_back("load " + std::string(file_name.begin(), file_name.end()));
    return present;
  }
  bool HasEntryPoint(const char* name) override {
    asked.push_back(name);
    for (const auto& entry : entries) {
      if (entry == name) return true;
    }
    return false;
  }
};

TEST(SystemRestoreClientTest, StartUpRequiresTheLibraryAndBothEntryPoints) {
  struct Case {
    bool present;
    std::vector<std::string> entries;
    ClientCheck check;
    const wchar_t* warning;
  } cases[] = {
      {true, {"SRSetRestorePointW", "SRRemoveRestorePoint"}, ClientCheck::kPresent, L""},
      {false, {"SRSetRestorePointW", "SRRemoveRestorePoint"}, ClientCheck::kLibraryMissing,
       L"System Restore Interface Not Present."},
      {true, {"SRRemoveRestorePoint"}, ClientCheck::kSetRestorePointMissing, L"Did not find SRSetRestorePointW"},
      {true, {"SRSetRestorePointW", "SRSetRestorePointA"}, ClientCheck::kRemoveRestorePointMissing,
       L"Did not find SRRemoveRestorePoint"},
  };
  for (const Case& c : cases) {
    FakeLibrary library;
    library.present = c.present;
    library.entries = c.entries;
    std::vector<std::wstring> warnings;
    const int exit_code = RequireSystemRestoreClient(library, [&](const std::wstring& w) { warnings.push_back(w); });
    const std::wstring expected = c.warning;
    EXPECT_EQ(exit_code, expected.empty() ? 0 : 1) << c.entries.size();
    EXPECT_EQ(warnings.size(), expected.empty() ? 0u : 1u);
    if (!warnings.empty()) {
      EXPECT_EQ(warnings[0], expected);
    }
    FakeLibrary again = library;
    EXPECT_EQ(CheckSystemRestoreClient(again), c.check);
  }
  FakeLibrary library;
  library.entries = {"SRSetRestorePointW", "SRRemoveRestorePoint"};
  CheckSystemRestoreClient(library);
  EXPECT_EQ(library.asked, (std::vector<std::string>{"load SRCLIENT.DLL", "SRSetRestorePointW", "SRRemoveRestorePoint"}));
}

// Restore points that fail where the test says.
class FakePoints : public RestorePoints {
 public:
  std::uint32_t begin_status = 0;
  std::uint32_t end_status = 0;
  std::vector<std::string> calls;

  std::uint32_t BeginRestorePoint(const std::wstring&, std::int64_t* sequence) override {
    calls.push_back("begin");
    *sequence = 41;
    return begin_status;
  }
  std::uint32_t EndRestorePoint(std::int64_t sequence) override {
    calls.push_back("end " + std::to_string(sequence));
    return end_status;
  }
};

TEST(CreateRestorePointTest, SucceedsOnlyWhenBothCallsDo) {
  struct Case {
    std::uint32_t begin, end;
    bool created;
    std::uint32_t status;
    std::vector<std::string> calls;
  } cases[] = {
      {0, 0, true, 0, {"begin", "end 41"}},
      {5, 0, false, 5, {"begin"}},
      {0, 87, false, 87, {"begin", "end 41"}},
  };
  for (const Case& c : cases) {
    FakePoints points;
    points.begin_status = c.begin;
    points.end_status = c.end;
    ScopedRestorePoints scope(points);
    std::uint32_t status = 99;
    EXPECT_EQ(CreateRestorePoint(L"Brimlow Restore point", &status), c.created);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(points.calls, c.calls);
  }
}

}  // namespace
}  // namespace brimlow::platform
