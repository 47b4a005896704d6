#pragma once
// File listing, sizes, times and plain text files through the platform.
// Any thread.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace brimlow {

// Appends to *list the names of the entries matching the mask (a path whose
// last part has "*" and "?" wildcards) that are not folders, hidden and
// system files included, in the platform's listing order. With with_path
// each name is prefixed by the mask's folder part. A missing folder adds
// nothing.
void ListFilesByMask(const std::wstring& mask, std::vector<std::wstring>* list, bool with_path);

// The size in bytes of the file; -1 when it cannot be read (missing, or a
// folder).
std::int64_t GetFileSizeOf(const std::wstring& path);

// The creation time (UTC) of the file or folder. false when neither exists.
bool GetFileCreationTime(const std::wstring& path, platform::FileTime* time);

// A platform file time as a date-time (days since 30 December 1899, the
// time of day as the fraction), without time-zone conversion, to the
// millisecond.
double FileTimeToDateTimeUtc(platform::FileTime time);

// Creates or replaces the file with the text, one byte per character (the
// low byte of each). false when the file could not be written.
bool SaveTextToFile(const std::wstring& text, const std::wstring& path);

}  // namespace brimlow
