// Stand-in platform only: folder-search masks.
#include "base/Text.h"
#include "platform/standin/StandinFileSystem.h"

namespace brimlow::platform::standin {
namespace {

// Classic wildcard match with back-tracking to the last "*".
bool Wildcard(std::wstring_view name, std::wstring_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == L'?' || UpperChar(mask[m]) == UpperChar(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == L'*') {
      star = m++;
      resume = n;
    } else if (star != std::wstring_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == L'*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(std::wstring_view name, std::wstring_view mask) {
  if (Wildcard(name, mask)) return true;
  if (name.find(L'.') != std::wstring_view::npos) return false;
  return Wildcard(std::wstring(name) + L'.', mask);
}

}  // namespace brimlow::platform::standin
