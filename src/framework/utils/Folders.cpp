// The folders the platform reports, and free file names in a folder.
#include <chrono>
#include <mutex>
#include <random>

#include "framework/utils/Paths.h"
#include "framework/utils/RegStrings.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

constexpr wchar_t kShellFoldersKey[] =
    L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Names are drawn below this bound.
constexpr std::uint32_t kUniqueNameRange = 0xFFFFF;
// With about a million names to draw from, this many taken candidates in a
// row means the folder cannot be probed (or is absurdly full): give up
// rather than loop for ever.
constexpr int kUniqueNameAttempts = 4096;

// One generator for the process, seeded from the clock on first use; the
// mutex makes concurrent draws safe.
std::uint32_t RandomBelow(std::uint32_t bound) {
  static std::mutex mutex;
  static std::mt19937 engine(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_int_distribution<std::uint32_t> distribution(0, bound - 1);
  std::lock_guard<std::mutex> lock(mutex);
  return distribution(engine);
}

std::wstring LowerHex(std::uint32_t n) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  do {
    text.insert(text.begin(), kDigits[n & 0xF]);
    n >>= 4;
  } while (n != 0);
  return text;
}

}  // namespace

std::wstring GetLongPath(const std::wstring& path) {
  std::wstring long_path = platform::Env().LongPath(path);
  return long_path.empty() ? path : long_path;
}

std::wstring GetAppFileName() { return platform::Env().AppFileName(); }

std::wstring GetAppDir() {
  return AddTrailingBackslash(GetLongPath(ExtractFilePath(GetAppFileName())));
}

std::wstring GetAppDirNoSlash() {
  std::wstring dir = GetAppDir();
  if (!dir.empty()) dir.pop_back();
  return dir;
}

std::wstring GetWindowsDir() { return AddTrailingBackslash(platform::Env().WindowsFolder()); }

std::wstring GetTempDir() { return platform::Env().TempFolder(); }

std::wstring GetShellFolder(const std::wstring& value_name) {
  std::wstring folder =
      RegReadStringDef(platform::RegRoot::kCurrentUser, kShellFoldersKey, value_name, L"");
  if (!folder.empty()) return folder;
  return GetCommonShellFolder(value_name);
}

std::wstring GetCommonShellFolder(const std::wstring& value_name) {
  return RegReadStringDef(platform::RegRoot::kLocalMachine, kShellFoldersKey, value_name, L"");
}

std::wstring MakeUniqueFileName(const std::wstring& folder, const std::wstring& prefix,
                                const std::wstring& extension) {
  for (int attempt = 0; attempt < kUniqueNameAttempts; ++attempt) {
    const std::wstring name = prefix + LowerHex(RandomBelow(kUniqueNameRange)) + L"." + extension;
    const std::wstring path = CombinePath(folder, name);
    platform::FileEntry entry;
    // Only a definite "not there" will do: a path the platform cannot
    // probe may well exist.
    if (platform::Files().Stat(path, &entry) == platform::Result::kNotFound) return path;
  }
  return std::wstring();
}

}  // namespace brimlow
