#pragma once
// Texts the command-line tool shows, looked up in the program's English
// language data by their language keys.

#include <string>

#include "scan/FigTypes.h"

namespace brimlow::cli {

// The "AppRes" entry of the key, "{AppName}" filled; `fallback` when the
// language data has no such entry.
std::wstring AppText(const std::wstring& key, const std::wstring& fallback);

// The result list's title of a category ("Title.RegistryFix" ...); the
// category's name for one without a title.
std::wstring CategoryTitle(scan::TTopicCategory category);

// Where a finding is, as one line: "HKEY_CURRENT_USER\Software\X\Value",
// "C:\Temp\a.tmp", ...
std::wstring FindingLocation(const scan::TFigScanedItem& item);

}  // namespace brimlow::cli
