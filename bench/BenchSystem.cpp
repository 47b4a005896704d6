// Host build only: the benchmark's stand-in system.
#include "BenchSystem.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/standin/StandinServices.h"

namespace brimlow::bench {
namespace {

namespace fs = std::filesystem;
using platform::MakeDwordValue;
using platform::MakeStringValue;
using platform::RegRoot;

constexpr std::size_t kDllNames = 2500;  // names per DLL folder (class servers)
constexpr std::size_t kTypeLibs = 1000;  // type libraries referred to
constexpr std::size_t kAppIds = 500;     // application ids referred to

// Four folders exist on drive C: (half of their DLLs are present), four do not.
const wchar_t* const kDllFolders[] = {
    L"C:\\Windows\\System32",          L"C:\\Program Files\\Common Files\\Shared",
    L"C:\\Program Files\\Vendor\\Bin", L"C:\\Program Files (x86)\\Tools",
    L"C:\\Program Files\\Gone\\Bin",   L"D:\\Apps\\Old",
    L"C:\\Program Files\\Removed",     L"C:\\Windows\\Downloaded Program Files"};
constexpr std::size_t kExistingDllFolders = 4;

// Of the junk tree's extensions, two are what the junk topic wants.
const char* const kJunkExtensions[] = {".tmp", ".txt", ".dat", ".log", ".ini",
                                       ".xml", ".jpg", ".cab", ".bak", ".htm"};

std::size_t FromEnvironment(const char* name, std::size_t fallback) {
  const char* text = ::getenv(name);
  if (!text || !*text) return fallback;
  return static_cast<std::size_t>(std::strtoull(text, nullptr, 10));
}

std::wstring Guid(unsigned group, std::size_t n) {
  wchar_t text[48];
  std::swprintf(text, 48, L"{%08X-%04X-4%03X-8000-%012zX}", static_cast<unsigned>(n * 2654435761u), group,
                static_cast<unsigned>(n % 4096), n);
  return text;
}

std::wstring DllPath(std::size_t folder, std::size_t name) {
  return std::wstring(kDllFolders[folder % std::size(kDllFolders)]) + L"\\bench" + std::to_wstring(name) +
         L".dll";
}

// Shared-DLL counts as on a kept machine: a few point at files that are
// gone (one in kMissingEvery: a name never written, in an existing folder
// or in one of the missing folders) and a few are counted as unused (one
// in kUnusedEvery, count 0, the file present); the rest name present DLLs
// spread over the existing folders.
constexpr std::size_t kMissingEvery = 50;
constexpr std::size_t kUnusedEvery = 100;

std::wstring SharedDllPath(std::size_t i) {
  const std::size_t n = i / kExistingDllFolders;
  if (i % kMissingEvery == 0) return DllPath(i / kMissingEvery, 2 * n + 1);
  return DllPath(i % kExistingDllFolders, 2 * n);
}

fs::path MakeTempFolder() {
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / "brimlow-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return {};
  return pattern;
}

double SecondsSince(std::chrono::steady_clock::time_point begin) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

// prefix + n + suffix (formatted: GCC 12 warns falsely on "x" + to_string).
std::string Numbered(const char* prefix, std::size_t n, const char* suffix = "") {
  char text[64];
  std::snprintf(text, sizeof text, "%s%zu%s", prefix, n, suffix);
  return text;
}

void WriteFile(const fs::path& file, std::size_t size) {
  std::ofstream out(file, std::ios::binary);
  const std::string content(size, 'x');
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// The shared DLLs that exist: bench0.dll, bench2.dll ... spread over the
// existing folders, as many as the shared-DLL list names.
void WriteDlls(const fs::path& drive_c, std::size_t shared_dlls) {
  const std::size_t per_folder = (shared_dlls + kExistingDllFolders - 1) / kExistingDllFolders;
  for (std::size_t folder = 0; folder < kExistingDllFolders; ++folder) {
    std::wstring relative = kDllFolders[folder] + 3;  // after "C:\"
    for (auto& c : relative) {
      if (c == L'\\') c = L'/';
    }
    const fs::path dir = drive_c / ToUtf8(relative);
    fs::create_directories(dir);
    for (std::size_t n = 0; n < per_folder; ++n) WriteFile(dir / Numbered("bench", 2 * n, ".dll"), 64);
  }
}

// files spread over 100 folders of 10 subfolders each.
void WriteJunkTree(const fs::path& drive_c, std::size_t files) {
  const fs::path root = drive_c / "Temp" / "BenchJunk";
  constexpr std::size_t kFolders = 1000;
  for (std::size_t i = 0; i < files; ++i) {
    const std::size_t folder = i % kFolders;
    const fs::path dir = root / Numbered("d", folder / 10) / Numbered("s", folder % 10);
    if (i < kFolders) fs::create_directories(dir);
    WriteFile(dir / Numbered("f", i, kJunkExtensions[(i / kFolders) % std::size(kJunkExtensions)]),
              1 + i % 300);
  }
}

}  // namespace

BenchSizes SizesFromEnvironment() {
  BenchSizes sizes;
  sizes.classes = FromEnvironment("BRIMLOW_BENCH_CLASSES", sizes.classes);
  sizes.shared_dlls = FromEnvironment("BRIMLOW_BENCH_SHARED_DLLS", sizes.shared_dlls);
  sizes.junk_files = FromEnvironment("BRIMLOW_BENCH_FILES", sizes.junk_files);
  return sizes;
}

// Class registrations shaped like a real machine's: a {GUID} key with a
// name, an InprocServer32 subkey naming a DLL with its threading model, a
// quarter with a TypeLib subkey and a tenth with an AppID value. A tenth of
// the type libraries and half of the application ids they name are
// missing; one class in 500 is an empty key.
void BenchSystem::FillRegistry(platform::Registry& reg, const BenchSizes& sizes) {
  for (std::size_t k = 0; k < kTypeLibs * 9 / 10; ++k) {
    reg.SetValue(RegRoot::kClassesRoot, L"TypeLib\\" + Guid(2, k) + L"\\1.0", MakeStringValue(L"", L"Bench Library"));
  }
  for (std::size_t k = 0; k < kAppIds / 2; ++k) {
    reg.SetValue(RegRoot::kClassesRoot, L"AppID\\" + Guid(3, k), MakeStringValue(L"", L"Bench Application"));
  }
  for (std::size_t i = 0; i < sizes.classes; ++i) {
    const std::wstring key = L"CLSID\\" + Guid(1, i);
    if (i % 500 == 7) {
      reg.CreateKey(RegRoot::kClassesRoot, key);
      continue;
    }
    reg.SetValue(RegRoot::kClassesRoot, key, MakeStringValue(L"", L"Bench Class " + std::to_wstring(i)));
    if (i % 10 == 3) reg.SetValue(RegRoot::kClassesRoot, key, MakeStringValue(L"AppID", Guid(3, i % kAppIds)));
    const std::wstring server = key + L"\\InprocServer32";
    reg.SetValue(RegRoot::kClassesRoot, server,
                 MakeStringValue(L"", DllPath(i % 8, i % kDllNames), platform::RegType::kExpandSz));
    reg.SetValue(RegRoot::kClassesRoot, server, MakeStringValue(L"ThreadingModel", i % 3 ? L"Apartment" : L"Both"));
    if (i % 4 == 1) {
      reg.SetValue(RegRoot::kClassesRoot, key + L"\\TypeLib", MakeStringValue(L"", Guid(2, i % kTypeLibs)));
    }
  }
  const std::wstring shared = std::wstring(kSharedDllsLocation).substr(19);  // after the root's name
  for (std::size_t i = 0; i < sizes.shared_dlls; ++i) {
    const std::uint32_t count = i % kUnusedEvery == 1 ? 0 : 1 + i % 3;
    reg.SetValue(RegRoot::kLocalMachine, shared, MakeDwordValue(SharedDllPath(i), count));
  }
}

double BenchSystem::SharedDllFindingRate() { return 1.0 / kMissingEvery + 1.0 / kUnusedEvery; }

namespace {

fs::path MakeImage() {
  const fs::path dir = MakeTempFolder();
  fs::create_directories(dir / "drive_c" / "Windows");
  return dir;
}

}  // namespace

BenchSystem::BenchSystem(const BenchSizes& sizes) : sizes_(sizes), impl_(std::make_unique<platform::standin::StandinServices>(MakeImage(), platform::standin::EnvVariables{})) {
  auto begin = std::chrono::steady_clock::now();
  FillRegistry(impl_->registry, sizes_);
  registry_seconds_ = SecondsSince(begin);
  begin = std::chrono::steady_clock::now();
  WriteDlls(impl_->image_dir / "drive_c", sizes_.shared_dlls);
  WriteJunkTree(impl_->image_dir / "drive_c", sizes_.junk_files);
  files_seconds_ = SecondsSince(begin);
}

BenchSystem::~BenchSystem() {
  std::error_code ec;
  const fs::path dir = impl_->image_dir;
  impl_.reset();
  if (!dir.empty()) fs::remove_all(dir, ec);
}

const platform::Platform& BenchSystem::platform() const { return impl_->platform; }

}  // namespace brimlow::bench
