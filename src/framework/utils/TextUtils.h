#pragma once
// Small text functions: numbers, prefixes, splitting, placeholders,
// version numbers. Pure; any thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

// The integer the text holds (decimal, optional sign, blanks around it
// allowed); the default when the text is not a number or does not fit.
int SafeStrToInt(std::wstring_view text, int default_value);

// Whether the text begins with the prefix, ignoring case. An empty prefix
// always matches.
bool StartsWithText(std::wstring_view text, std::wstring_view prefix);

// Appends the pieces of the text between delimiters to *list (which is not
// cleared), empty pieces included: "a,,b" gives a, "", b; "," gives "", "".
// An empty text adds nothing. A delimiter that is not exactly one character
// never matches, so the whole text becomes one piece.
void SplitText(std::wstring_view text, std::wstring_view delimiter,
               std::vector<std::wstring>* list);
void SplitText(std::wstring_view text, wchar_t delimiter, std::vector<std::wstring>* list);

// Replaces every "{n}" (n = 1, 2 ... written without leading zeros) by the
// n-th text, exact case; placeholders without a text stay. Inserted texts
// are not searched again, so a text that itself holds "{2}" arrives intact.
std::wstring FormatPlaceholders(std::wstring_view format, const std::vector<std::wstring>& texts);

// The first word of the text as a version a.b.c.d packed into four bytes
// (a highest), each part's low byte only, a malformed part counting 0.
// Not exactly four parts (or no word): 0. "2.1.0.15 beta" -> 0x0201000F.
std::uint32_t VersionToInt(std::wstring_view text);

// The low byte of each of the first count characters as two upper-case
// hexadecimal digits ("abc" -> "616263"). A count beyond the text stops at
// its end; a count below 1 gives "".
std::wstring HexOfLowBytes(std::wstring_view text, int count);

}  // namespace brimlow
