#include "platform/Registry.h"

namespace brimlow::platform {

RegValue MakeStringValue(std::wstring name, std::wstring_view text, std::uint32_t type) {
  RegValue value{std::move(name), type, ToUtf16LeBytes(text)};
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

RegValue MakeDwordValue(std::wstring name, std::uint32_t number) {
  RegValue value{std::move(name), RegType::kDword, {}};
  for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  return value;
}

std::wstring RegValueText(const RegValue& value) {
  std::wstring text = FromUtf16LeBytes(value.data.data(), value.data.size());
  const auto zero = text.find(L'\0');
  if (zero != std::wstring::npos) text.resize(zero);
  return text;
}

std::uint32_t RegValueDword(const RegValue& value) {
  if (value.data.size() < 4) return 0;
  return static_cast<std::uint32_t>(value.data[0]) | (static_cast<std::uint32_t>(value.data[1]) << 8) |
         (static_cast<std::uint32_t>(value.data[2]) << 16) | (static_cast<std::uint32_t>(value.data[3]) << 24);
}

}  // namespace brimlow::platform
