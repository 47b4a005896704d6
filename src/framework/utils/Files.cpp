#include "framework/utils/Files.h"

#include "framework/utils/Paths.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

constexpr std::int64_t kFileTimeTicksPerMs = 10000;
constexpr std::int64_t kMsPerDay = 86400000;
// Days from 1 January 1601 (file times) to 30 December 1899 (date-times).
constexpr std::int64_t kFileTimeEpochToDateTimeEpochDays = 109205;

}  // namespace

void ListFilesByMask(const std::wstring& mask, std::vector<std::wstring>* list, bool with_path) {
  std::vector<platform::FileEntry> entries;
  if (!platform::Ok(platform::Files().List(mask, &entries))) return;
  const std::wstring folder = with_path ? ExtractFilePath(mask) : std::wstring();
  for (const platform::FileEntry& entry : entries) {
    if (entry.IsFolder()) continue;
    list->push_back(folder + entry.name);
  }
}

std::int64_t GetFileSizeOf(const std::wstring& path) {
  platform::FileEntry entry;
  if (!platform::Ok(platform::Files().Stat(path, &entry)) || entry.IsFolder()) return -1;
  return static_cast<std::int64_t>(entry.size);
}

bool GetFileCreationTime(const std::wstring& path, platform::FileTime* time) {
  platform::FileEntry entry;
  if (!platform::Ok(platform::Files().Stat(path, &entry))) return false;
  *time = entry.creation_time;
  return true;
}

double FileTimeToDateTimeUtc(platform::FileTime time) {
  const std::int64_t ms = static_cast<std::int64_t>(time / kFileTimeTicksPerMs);
  const std::int64_t days = ms / kMsPerDay - kFileTimeEpochToDateTimeEpochDays;
  const double fraction = static_cast<double>(ms % kMsPerDay) / kMsPerDay;
  // Before the date-time epoch the day number is negative while the time of
  // day still counts forward, so the fraction is subtracted.
  return days >= 0 ? days + fraction : days - fraction;
}

bool SaveTextToFile(const std::wstring& text, const std::wstring& path) {
  Bytes bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
  return platform::Ok(platform::Files().WriteFileAtomic(path, bytes));
}

}  // namespace brimlow
