#include "cure/BackupIndex.h"

#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow::cure {
namespace {

constexpr wchar_t kIndexName[] = L"info.rec";

bool FileExists(const std::wstring& path) {
  platform::FileEntry entry;
  return platform::Files().Stat(path, &entry) == platform::Result::kOk && !entry.IsFolder();
}

// The index is 8-bit text.
std::vector<std::wstring> SplitLines(const Bytes& content) {
  return brimlow::SplitLines(FromAnsi(std::string(content.begin(), content.end())));
}

}  // namespace

std::wstring RestoreMessageKey(RestoreStatus status) {
  switch (status) {
    case RestoreStatus::kNoSelection: return L"MSGBox.NoRestoreSelected";
    case RestoreStatus::kRestored: return L"MSGBox.RestoreSuccessed";
    case RestoreStatus::kNotStarted:
    case RestoreStatus::kNotVerified: return L"MSGBox.RestoreFailed";
  }
  return L"MSGBox.RestoreFailed";
}

bool TBackupIndex::Save(std::wstring* error) const {
  std::string text;
  for (const std::wstring& line : FInfoFile) text += ToAnsi(line) + "\r\n";
  if (platform::Files().WriteFileAtomic(FIndexPath, Bytes(text.begin(), text.end())) == platform::Result::kOk) {
    return true;
  }
  if (error) *error = FIndexPath + L": cannot be written";
  return false;
}

bool TBackupIndex::Open(const std::wstring& backup_path, int max_backup, std::wstring* error) {
  FBackupPath = backup_path;
  FIndexPath = CombinePath(backup_path, kIndexName);
  FInfoFile.clear();
  FRows.clear();
  Bytes content;
  const platform::Result read = platform::Files().ReadFile(FIndexPath, &content);
  if (read == platform::Result::kNotFound) return Save(error);
  if (read != platform::Result::kOk) {
    if (error) *error = FIndexPath + L": cannot be read";
    return false;
  }
  FInfoFile = SplitLines(content);

  // Lines are only marked while walking, so that every row keeps pointing
  // at its own line when older lines go.
  std::vector<bool> pruned(FInfoFile.size(), false);
  int position = 0;
  for (std::size_t i = FInfoFile.size(); i-- > 0;) {
    ++position;
    std::vector<std::wstring> fields;
    SplitText(FInfoFile[i], L',', &fields);
    if (fields.size() < 3) continue;
    const std::wstring file = CombinePath(FBackupPath, fields[2]);
    if (!FileExists(file)) continue;
    if (max_backup < position) {
      platform::Files().DeleteFile(file);
      pruned[i] = true;
      continue;
    }
    const std::wstring changes = BackupChangeCount(file);
    if (SafeStrToInt(changes, 0) <= 0) continue;
    FRows.push_back({fields[0], changes, file, i});
  }

  std::vector<std::size_t> new_index(FInfoFile.size(), 0);
  std::vector<std::wstring> kept;
  for (std::size_t i = 0; i < FInfoFile.size(); ++i) {
    new_index[i] = kept.size();
    if (!pruned[i]) kept.push_back(std::move(FInfoFile[i]));
  }
  FInfoFile = std::move(kept);
  for (BackupRow& row : FRows) row.index_line = new_index[row.index_line];
  return Save(error);
}

RestoreStatus TBackupIndex::Restore(int row, const std::function<void()>& reset_status,
                                    std::vector<std::wstring>* missing) {
  if (row < 0 || row >= static_cast<int>(FRows.size())) return RestoreStatus::kNoSelection;
  const std::wstring& file = FRows[static_cast<std::size_t>(row)].file;
  if (!ImportRegFile(file)) return RestoreStatus::kNotStarted;
  // The registry may have changed even if not every value came back: the
  // topics are scanned afresh either way.
  if (reset_status) reset_status();
  // The registry editor's own verdict cannot be seen; what the registry
  // holds afterwards can.
  Bytes content;
  std::vector<std::wstring> absent;
  if (platform::Files().ReadFile(file, &content) != platform::Result::kOk) {
    absent.push_back(file + L": cannot be read");
  } else {
    BackupIsInRegistry(content, &absent);
  }
  if (missing) *missing = absent;
  return absent.empty() ? RestoreStatus::kRestored : RestoreStatus::kNotVerified;
}

bool TBackupIndex::Delete(int row, std::wstring* error, bool* file_kept) {
  if (row < 0 || row >= static_cast<int>(FRows.size())) {
    if (error) *error = L"no backup selected";
    return false;
  }
  const auto at = FRows.begin() + row;
  const bool deleted = platform::Files().DeleteFile(at->file) == platform::Result::kOk;
  if (file_kept) *file_kept = !deleted && FileExists(at->file);
  const std::size_t line = at->index_line;
  FInfoFile.erase(FInfoFile.begin() + static_cast<std::ptrdiff_t>(line));
  FRows.erase(at);
  for (BackupRow& other : FRows) {
    if (other.index_line > line) --other.index_line;
  }
  return Save(error);
}

}  // namespace brimlow::cure
