#pragma once
// Names and lines of the backup folder: backup files named by the cure's
// start time, and the index "info.rec" with one line per cure.

#include <ctime>
#include <string>

namespace brimlow::cure {

// "mmddyyyyhhmmss" (24-hour hours, minutes after the hour).
std::wstring BackupStamp(const std::tm& time);
// "yyyy-mm-dd HH:MM:SS".
std::wstring IndexTime(const std::tm& time);
// The current local time.
std::tm LocalNow();

// stamp + ".reg" in the folder, or stamp + "-2.reg", "-3.reg" ... when a
// cure of the same second already wrote one: each cure keeps its own
// backup. Returns the file name without folder.
std::wstring UniqueBackupFileName(const std::wstring& folder, const std::wstring& stamp);

// Appends "time,count,file" + CR LF to "info.rec" in the folder (8-bit
// text), rewriting the file atomically. false with the reason in *error.
bool AppendIndexLine(const std::wstring& folder, const std::wstring& line, std::wstring* error);

}  // namespace brimlow::cure
