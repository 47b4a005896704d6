#pragma once
// The existence questions the rules ask of the file system, behind one small
// interface so that a scan can answer repeated questions from a cache.

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace brimlow::scan {

class FileProbe {
 public:
  virtual ~FileProbe() = default;
  // An existing file that is not a folder.
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual bool FolderExists(const std::wstring& path) = 0;

  // The folder walk has just listed `entry` in `folder` (which ends in a
  // backslash): a question about exactly folder + entry.name may be
  // answered from it instead of reading the folder again. Until the next
  // call or Forget. Ignored by probes without a cache.
  virtual void NoteListedEntry(const std::wstring& folder, const platform::FileEntry& entry) {
    (void)folder;
    (void)entry;
  }
  virtual void ForgetListedEntry() {}
};

// Asks the platform every time.
FileProbe& DirectFileProbe();

// Remembers each folder's listing on first use and answers from it. Valid
// while the file system does not change, i.e. for one scan; one thread.
std::unique_ptr<FileProbe> MakeCachingFileProbe();

}  // namespace brimlow::scan
