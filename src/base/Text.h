#pragma once
// Text conventions of the whole program.
//
// Every text is a std::wstring holding UTF-16 code units, one code unit per
// wchar_t, on both builds: on Windows that is the platform's own string; on
// the stand-in a wchar_t is wider but still holds one UTF-16 unit, so
// surrogate pairs stay two characters exactly as on Windows. Convert only at
// the edges (host file names, terminal output, UTF-16LE file bytes).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

using Bytes = std::vector<std::uint8_t>;

// UTF-8 <-> UTF-16 code units. Invalid input becomes U+FFFD, never a throw.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// UTF-16LE bytes <-> text. An odd trailing byte is dropped.
Bytes ToUtf16LeBytes(std::wstring_view text);
std::wstring FromUtf16LeBytes(const std::uint8_t* data, std::size_t size);

// The 8-bit code page of the program (Windows-1252 on both builds, so the
// stand-in and Windows agree byte for byte).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

// Case folding the way the registry and file names compare: simple one-to-one
// upper-casing of ASCII, Latin-1, Greek and Cyrillic letters.
wchar_t UpperChar(wchar_t c);
wchar_t LowerChar(wchar_t c);
std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);
bool SameText(std::wstring_view a, std::wstring_view b);
// <0, 0, >0 like wcscmp, ignoring case.
int CompareText(std::wstring_view a, std::wstring_view b);
bool ContainsText(std::wstring_view haystack, std::wstring_view needle);

std::wstring Trim(std::wstring_view text);

// The lines of a text as a string list reads them: CR LF, lone LF and lone
// CR each end a line, and a final line end opens no further line.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Strict decimal integer: optional sign, digits only; false on anything else
// or overflow.
bool ParseInt64(std::wstring_view text, std::int64_t* value);

}  // namespace brimlow
