#pragma once
// A large stand-in system for the scan benchmarks, built once per run: a
// registry held in memory only (no registry.reg) with COM class
// registrations and shared-library counts, and a temporary image folder
// whose drive C: holds a few DLL folders (the shared DLLs that exist) and a
// junk folder tree.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace brimlow::platform::standin {
struct StandinServices;
}

namespace brimlow::bench {

struct BenchSizes {
  std::size_t classes = 100000;     // CLSID entries (about 2.25 keys each)
  std::size_t shared_dlls = 20000;  // SharedDLLs values
  std::size_t junk_files = 100000;  // files in the junk tree
};

// Sizes from BRIMLOW_BENCH_CLASSES, BRIMLOW_BENCH_SHARED_DLLS and
// BRIMLOW_BENCH_FILES when set (smaller runs under a profiler).
BenchSizes SizesFromEnvironment();

class BenchSystem {
 public:
  explicit BenchSystem(const BenchSizes& sizes);
  ~BenchSystem();

  const platform::Platform& platform() const;
  const BenchSizes& sizes() const { return sizes_; }
  // Seconds spent filling the registry and writing the files.
  double registry_build_seconds() const { return registry_seconds_; }
  double files_build_seconds() const { return files_seconds_; }

  // Where the topics point.
  static constexpr wchar_t kClsidLocation[] = L"HKEY_CLASSES_ROOT\\CLSID";
  static constexpr wchar_t kSharedDllsLocation[] =
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  static constexpr wchar_t kJunkFolder[] = L"C:\\Temp\\BenchJunk";

  // The share of shared-DLL entries that are findings (missing file or a
  // count of 0).
  static double SharedDllFindingRate();

  // Fills any registry with the same content (used for the file round trip).
  static void FillRegistry(platform::Registry& registry, const BenchSizes& sizes);

 private:
  BenchSizes sizes_;
  std::unique_ptr<platform::standin::StandinServices> impl_;  // its registry in memory only
  double registry_seconds_ = 0;
  double files_seconds_ = 0;
};

}  // namespace brimlow::bench
