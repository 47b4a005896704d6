// Win32 platform only.
#pragma once
// The file-system seam on the machine's own files. Handles are opened per
// call and closed at once.

#include "platform/FileSystem.h"

namespace brimlow::platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
  Result Stat(const std::wstring& path, FileEntry* entry) override;
  Result List(const std::wstring& mask, std::vector<FileEntry>* entries) override;
  Result ReadFile(const std::wstring& path, Bytes* content) override;
  Result WriteFileAtomic(const std::wstring& path, const Bytes& content) override;
  Result AppendFile(const std::wstring& path, const Bytes& content) override;
  Result DeleteFile(const std::wstring& path) override;
  Result RemoveFolder(const std::wstring& path) override;
  Result CreateFolder(const std::wstring& path) override;
  Result Rename(const std::wstring& from, const std::wstring& to) override;
  // Win32FileAccess.cpp.
  bool CheckAccess(std::uint32_t generic_access, const std::wstring& path) override;
};

}  // namespace brimlow::platform::win32
