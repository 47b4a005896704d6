#pragma once
// A list of "name=value" lines, the shape URL parameters and mail fields
// travel in. Names compare without regard to case; the first "=" ends the
// name. Pure; any thread.

#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

// The name of one line: the text before its first "=", or the whole line
// when it has none.
std::wstring ListNameOf(std::wstring_view line);

// Index of the first line with that name; -1 when none.
int IndexOfListName(const std::vector<std::wstring>& list, std::wstring_view name);

// The value of the first line with that name; "" when none.
std::wstring ListValueOf(const std::vector<std::wstring>& list, std::wstring_view name);

// Sets name=value: replaces the first line with that name in place, or
// appends a new line. An empty value removes the line instead.
void SetListValue(std::vector<std::wstring>* list, std::wstring_view name, std::wstring_view value);

}  // namespace brimlow
