#include "framework/utils/RegStrings.h"

#include "platform/Platform.h"

namespace brimlow {

std::wstring RegReadStringDef(platform::RegRoot root, const std::wstring& key,
                              const std::wstring& value_name, const std::wstring& default_text) {
  platform::RegValue value;
  if (platform::Reg().QueryValue(root, key, value_name, &value) != platform::Result::kOk) {
    return default_text;
  }
  if (value.type != platform::RegType::kSz && value.type != platform::RegType::kExpandSz) {
    return default_text;
  }
  return platform::RegValueText(value);
}

void RegWriteStringValue(platform::RegRoot root, const std::wstring& key,
                         const std::wstring& value_name, const std::wstring& text) {
  platform::Reg().SetValue(root, key, platform::MakeStringValue(value_name, text));
}

bool RegDeleteNamedValue(platform::RegRoot root, const std::wstring& key,
                         const std::wstring& value_name) {
  return platform::Reg().DeleteValue(root, key, value_name) != platform::Result::kFailed;
}

}  // namespace brimlow
