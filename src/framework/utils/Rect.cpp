#include "framework/utils/Rect.h"

#include <cstdint>
#include <vector>

#include "framework/utils/TextUtils.h"

namespace brimlow {

std::wstring RectToText(const TRect& rect) {
  return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
         std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

bool TextToRect(std::wstring_view text, TRect* rect) {
  std::vector<std::wstring> parts;
  SplitText(text, L',', &parts);
  if (parts.size() != 4) return false;
  rect->left = SafeStrToInt(parts[0], 0);
  rect->top = SafeStrToInt(parts[1], 0);
  rect->right = SafeStrToInt(parts[2], 0);
  rect->bottom = SafeStrToInt(parts[3], 0);
  return true;
}

TRect FitAndCenterRect(const TRect& content, const TRect& frame) {
  // Products of two sides may exceed 32 bits.
  const std::int64_t w1 = content.Width();
  const std::int64_t h1 = content.Height();
  const std::int64_t w2 = frame.Width();
  const std::int64_t h2 = frame.Height();
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (w2 == 0 || h2 == 0) {
    width = w2;
    height = h2;
  } else if (w1 == 0 || h1 == 0) {
    width = w1;
    height = h1;
  } else if (h1 * w2 < w1 * h2) {
    width = w2;
    height = w2 * h1 / w1;
  } else {
    width = h2 * w1 / h1;
    height = h2;
  }
  TRect result;
  result.left = static_cast<int>(frame.left + (w2 - width) / 2);
  result.top = static_cast<int>(frame.top + (h2 - height) / 2);
  result.right = static_cast<int>(result.left + width);
  result.bottom = static_cast<int>(result.top + height);
  return result;
}

}  // namespace brimlow
