#pragma once
// Query strings of web addresses and of "scheme:command" links. Pure; any
// thread.

#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

// Appends one query parameter ("name=value"): "" gives the parameter alone;
// no "?" yet gives url + "?" + parameter; a url ending in "&" or "?" gets
// the parameter directly; otherwise "&" goes between.
std::wstring AppendUrlParam(std::wstring_view url, std::wstring_view parameter);

// Reads the parameters of a url into *list (not cleared): the text after
// the first "?" if any, then after the first ":" if any still, split at "&".
// Without decoding every piece is appended as it is. With decoding each
// piece's value is URL-decoded ("+" a blank, "%%" a "%", "%" and two
// hexadecimal digits that byte in the 8-bit code page) and set by name into
// the list (see SetListValue: a later name replaces, an empty value
// removes); a piece whose value cannot be decoded is skipped.
void ParseUrlParams(std::wstring_view url, std::vector<std::wstring>* list, bool decode);

}  // namespace brimlow
