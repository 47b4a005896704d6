#pragma once
// Stand-in platform only: the registry of a system image, held in memory and
// kept in the image's "registry.reg".
//
// Key and value names compare without regard to case and keep the case they
// were created with. Subkeys enumerate sorted without regard to case, values
// in creation order, as on Windows. Every value keeps its type and bytes
// exactly. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes (as
// under Wine).
//
// Once a file is attached (Load), the whole registry is written back to it
// atomically (temporary file + rename) at the end of every call that
// changed something; a change whose file cannot be written is taken back and
// the call fails. A registry without a file never writes one. Many changes
// in a row (building a large registry, a long cure) can be saved once at the
// end with a ScopedBatch.
//
// Names holding a line break cannot be kept in the file; creating such a key
// or value fails. Every method may be called from any thread.

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "regfile/RegFile.h"

namespace brimlow::platform::standin {

class RegistryTree;

class ImageRegistry : public Registry {
 public:
  ImageRegistry();
  ~ImageRegistry() override;
  ImageRegistry(const ImageRegistry&) = delete;
  ImageRegistry& operator=(const ImageRegistry&) = delete;

  // Loads the file (a missing or empty file is an empty registry; changes
  // are then saved to it). On a malformed file returns false with
  // "registry.reg:<line>: <reason>" (the file's name) in *error, keeps the
  // registry empty and attaches no file, so the file is never overwritten.
  // error may be null.
  bool Load(const std::filesystem::path& file, std::wstring* error);

  // Applies a parsed .reg file as one transaction (with the editor's rules:
  // deleting what is not there is no failure): either every operation takes
  // effect and the file is saved, or nothing changes and the first failure
  // is returned.
  Result Apply(const std::vector<regfile::RegOp>& ops);

  // Defers saving until the outermost batch ends; then saves once if
  // anything changed. Batches nest and may be used from any thread.
  class ScopedBatch {
   public:
    explicit ScopedBatch(ImageRegistry& registry);
    ~ScopedBatch();
    ScopedBatch(const ScopedBatch&) = delete;
    ScopedBatch& operator=(const ScopedBatch&) = delete;

   private:
    ImageRegistry& registry_;
  };

  // Saves now when changes are waiting (in or after a batch). true when the
  // file is up to date (or no file is attached); false with the reason in
  // *error (optional) when it cannot be written; the changes stay in memory
  // and the next save tries again.
  bool Flush(std::wstring* error = nullptr);

  Result KeyExists(RegRoot root, const std::wstring& path) override;
  Result SubKeyNames(RegRoot root, const std::wstring& path,
                     std::vector<std::wstring>* names) override;
  Result Values(RegRoot root, const std::wstring& path, std::vector<RegValue>* values) override;
  Result QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                    RegValue* value) override;
  Result CountChildren(RegRoot root, const std::wstring& path, std::uint32_t* subkeys,
                       std::uint32_t* values) override;
  Result CreateKey(RegRoot root, const std::wstring& path) override;
  Result SetValue(RegRoot root, const std::wstring& path, const RegValue& value) override;
  Result DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) override;
  Result DeleteKeyTree(RegRoot root, const std::wstring& path) override;

 private:
  template <typename Change>
  Result Mutate(Change change);
  bool SaveLocked(std::wstring* error);

  std::mutex mutex_;  // guards everything below
  std::unique_ptr<RegistryTree> tree_;
  std::filesystem::path file_;  // empty: no file attached
  int batch_depth_ = 0;
  bool unsaved_ = false;  // changes made in a batch or after a failed flush
};

}  // namespace brimlow::platform::standin
