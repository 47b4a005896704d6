#pragma once
// Texts the command-line tool shows, looked up in the program's language
// data by their language keys: the language the settings choose, the
// built-in English for what it lacks.

#include <string>
#include <vector>

#include "scan/FigTypes.h"

namespace brimlow {
class TOxSettings;
}

namespace brimlow::cli {

// The "AppRes" entry of the key, "{AppName}" filled; `fallback` when the
// language data has no such entry.
std::wstring AppText(const std::wstring& key, const std::wstring& fallback);
// As above, then "{1}", "{2}" ... replaced by the values.
std::wstring AppText(const std::wstring& key, const std::wstring& fallback,
                     const std::vector<std::wstring>& values);

// The language file of the named language in the settings' language folder.
std::wstring LanguageFile(const TOxSettings& settings, const std::wstring& name);

// Texts from the language the setting "Language" chooses (English when
// empty); a language without a readable file leaves the built-in English.
void UseChosenLanguage(const TOxSettings& settings);
// Texts from the built-in English only.
void UseBuiltinEnglish();

// The result list's title of a category ("Title.RegistryFix" ...); the
// category's name for one without a title.
std::wstring CategoryTitle(scan::TTopicCategory category);

// Where a finding is, as one line: "HKEY_CURRENT_USER\Software\X\Value",
// "C:\Temp\a.tmp", ...
std::wstring FindingLocation(const scan::TFigScanedItem& item);

}  // namespace brimlow::cli
