#pragma once
// The restore centre's logic, without its window: the backups the cure
// engine recorded in "info.rec", listed newest first with the number of
// changes each holds and pruned to a maximum count; restoring a backup by
// merging it back; deleting one backup together with exactly its own index
// line. Main thread only.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/Text.h"
#include "cure/BackupContent.h"

namespace brimlow::cure {

// One listed backup.
struct BackupRow {
  std::wstring caption;     // field 0 of the index line: the cure's start time
  std::wstring changes;     // BackupChangeCount of the file, above 0
  std::wstring file;        // full path of the backup file
  std::size_t index_line;   // its line in InfoFile()
};

enum class RestoreStatus {
  kNoSelection,   // "MSGBox.NoRestoreSelected": no such row
  kRestored,      // "MSGBox.RestoreSuccessed": merged, every value is back
  kNotStarted,    // "MSGBox.RestoreFailed": file missing or no merge started
  kNotVerified,   // "MSGBox.RestoreFailed": merged, but values are missing
};

// The language key of the message for a restore outcome.
std::wstring RestoreMessageKey(RestoreStatus status);

class TBackupIndex {
 public:
  // Reads "info.rec" in the folder (no trailing backslash needed) and lists
  // its backups. Walking from the newest line to the oldest, every line
  // takes a position 1, 2, 3 ...; a line with fewer than three fields or
  // whose file is gone is kept and not listed; a line beyond max_backup
  // whose file exists is removed with its file; a file that restores no
  // change is kept and not listed. The pruned index is saved. A missing
  // index is created empty. false, with the reason in *error, when the
  // index cannot be read or written; the rows are filled even then.
  bool Open(const std::wstring& backup_path, int max_backup, std::wstring* error);

  // Newest first.
  const std::vector<BackupRow>& Rows() const { return FRows; }
  // The index lines in file order (oldest first), after pruning.
  const std::vector<std::wstring>& InfoFile() const { return FInfoFile; }
  const std::wstring& IndexPath() const { return FIndexPath; }

  // Merges the row's backup into the registry; when the merge was started,
  // resets the topics' statuses through reset_status (may be empty) and
  // checks that every value and key of the backup is in the registry.
  // *missing (optional) receives those that are not, as
  // "HKEY_...\path\name". The backup stays listed and on disk.
  RestoreStatus Restore(int row, const std::function<void()>& reset_status,
                        std::vector<std::wstring>* missing = nullptr);

  // Deletes the row's backup file, its own index line and the row, and
  // saves the index. false with *error when there is no such row
  // ("MSGBox.NoRestoreSelected") or the index cannot be saved.
  // *file_kept (optional) is set when the file could not be deleted.
  bool Delete(int row, std::wstring* error, bool* file_kept = nullptr);

 private:
  bool Save(std::wstring* error) const;

  std::wstring FBackupPath;
  std::wstring FIndexPath;
  std::vector<std::wstring> FInfoFile;
  std::vector<BackupRow> FRows;
};

}  // namespace brimlow::cure
