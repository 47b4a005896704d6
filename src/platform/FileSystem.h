#pragma once
// The file-system seam. Paths are Windows paths ("C:\Windows\win.ini") on
// both builds; the stand-in maps them onto its system image. Names compare
// without regard to case. Every method may be called from any thread.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Result.h"

namespace brimlow::platform {

// File attributes as the platform numbers them.
namespace FileAttr {
constexpr std::uint32_t kReadOnly = 0x1;
constexpr std::uint32_t kHidden = 0x2;
constexpr std::uint32_t kSystem = 0x4;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace FileAttr

// A platform file time: 100-nanosecond intervals since 1 January 1601 UTC.
using FileTime = std::uint64_t;

struct FileEntry {
  std::wstring name;  // name only, no folder
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  FileTime creation_time = 0;
  FileTime write_time = 0;

  bool IsFolder() const { return (attributes & FileAttr::kDirectory) != 0; }
  bool IsReparsePoint() const { return (attributes & FileAttr::kReparsePoint) != 0; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // kOk and *entry filled (name = last path part) when the path exists;
  // kNotFound when it does not. A link or junction is reported as such
  // (kReparsePoint) and not followed.
  virtual Result Stat(const std::wstring& path, FileEntry* entry) = 0;

  // Appends to *entries every entry matching the mask (a folder path and a
  // last part with "*" and "?" wildcards), "." and ".." left out, in the
  // platform's listing order. kNotFound when the folder is missing.
  virtual Result List(const std::wstring& mask, std::vector<FileEntry>* entries) = 0;

  virtual Result ReadFile(const std::wstring& path, Bytes* content) = 0;

  // Replaces the file as a whole: written to a temporary file beside it and
  // renamed over it, so a crash leaves either the old or the new content.
  virtual Result WriteFileAtomic(const std::wstring& path, const Bytes& content) = 0;

  // Appends and flushes to the disk before returning (creates the file).
  virtual Result AppendFile(const std::wstring& path, const Bytes& content) = 0;

  virtual Result DeleteFile(const std::wstring& path) = 0;
  // Removes an empty folder.
  virtual Result RemoveFolder(const std::wstring& path) = 0;
  // Creates the folder and its missing parents.
  virtual Result CreateFolder(const std::wstring& path) = 0;
  virtual Result Rename(const std::wstring& from, const std::wstring& to) = 0;

  // Whether the current user may open the path with the generic rights of
  // the mask (GENERIC_READ 0x80000000, GENERIC_WRITE 0x40000000 ...).
  virtual bool CheckAccess(std::uint32_t generic_access, const std::wstring& path) = 0;
};

}  // namespace brimlow::platform
