#pragma once
// Stand-in platform only: the registry of a system image, held in memory and
// kept in the image's "registry.reg".
//
// Key and value names compare without regard to case and keep the case they
// were created with. Subkeys enumerate sorted without regard to case, values
// in creation order, as on Windows. Every value keeps its type and bytes
// exactly. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes (as
// under Wine). After every change the whole registry is written back to the
// file atomically (temporary file + rename).

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "regfile/RegFile.h"

namespace brimlow::platform::standin {

class ImageRegistry : public Registry {
 public:
  ImageRegistry();
  ~ImageRegistry() override;

  // Loads the file (a missing file is an empty registry; changes are then
  // saved to it). On a malformed file returns false with
  // "<file>:<line>: <reason>" in *error and keeps the registry empty.
  bool Load(const std::filesystem::path& file, std::wstring* error);

  // Applies a parsed .reg file as one transaction: either every operation
  // takes effect and the file is saved, or nothing changes.
  Result Apply(const std::vector<regfile::RegOp>& ops);

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
  struct Tree;
  std::mutex mutex_;  // guards tree_ and file_
  std::unique_ptr<Tree> tree_;
  std::filesystem::path file_;
};

}  // namespace brimlow::platform::standin
