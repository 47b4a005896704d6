#pragma once
// String values in the registry, with errors swallowed the way every caller
// wants them. Roots are the platform's predefined keys; the value name ""
// is the key's default value. Any thread.

#include <string>

#include "platform/Registry.h"

namespace brimlow {

// The value's text when the key exists (it is never created) and holds a
// string value (plain or expandable, read as stored, not expanded) of that
// name; the default on anything else, errors included.
std::wstring RegReadStringDef(platform::RegRoot root, const std::wstring& key,
                              const std::wstring& value_name, const std::wstring& default_text);

// Writes a string value, creating the key when missing. Errors are
// swallowed.
void RegWriteStringValue(platform::RegRoot root, const std::wstring& key,
                         const std::wstring& value_name, const std::wstring& text);

// Deletes the value. true when it is gone afterwards (also when the value or
// the key never existed); false when the platform failed to delete it.
bool RegDeleteNamedValue(platform::RegRoot root, const std::wstring& key,
                         const std::wstring& value_name);

}  // namespace brimlow
