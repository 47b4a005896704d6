#pragma once
// Stand-in platform only: the file-system seam over a drive map (POSIX).
// Links are reported as reparse points and never followed.

#include "platform/FileSystem.h"
#include "platform/standin/DriveMap.h"

namespace brimlow::platform::standin {

class StandinFileSystem : public FileSystem {
 public:
  // The map must outlive this object.
  explicit StandinFileSystem(const DriveMap& drives) : drives_(drives) {}

  Result Stat(const std::wstring& path, FileEntry* entry) override;
  Result List(const std::wstring& mask, std::vector<FileEntry>* entries) override;
  Result ReadFile(const std::wstring& path, Bytes* content) override;
  Result WriteFileAtomic(const std::wstring& path, const Bytes& content) override;
  Result AppendFile(const std::wstring& path, const Bytes& content) override;
  Result DeleteFile(const std::wstring& path) override;
  Result RemoveFolder(const std::wstring& path) override;
  Result CreateFolder(const std::wstring& path) override;
  Result Rename(const std::wstring& from, const std::wstring& to) override;
  bool CheckAccess(std::uint32_t generic_access, const std::wstring& path) override;

 private:
  const DriveMap& drives_;
};

// Whether a name matches a "*" / "?" mask without regard to case, the way
// the platform's folder search matches: a name without a dot also matches
// as if it ended in one, so "*.*" finds "README" and "*." finds only names
// without an extension.
bool MatchesMask(std::wstring_view name, std::wstring_view mask);

}  // namespace brimlow::platform::standin
