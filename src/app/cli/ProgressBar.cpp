#include "app/cli/ProgressBar.h"

#include <algorithm>
#include <cstdio>

#include "base/Text.h"

namespace brimlow::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kLineWidth = 78;  // stays on one line of a classic console

}  // namespace

std::string ProgressBar::Render(int percent, const std::wstring& topic) {
  percent = std::clamp(percent, 0, 100);
  const int filled = percent * kBarWidth / 100;
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] ";
  const std::string number = std::to_string(percent);
  line += std::string(3 - number.size(), ' ') + number + "%  ";
  // Cut by characters, not bytes, so no character is split.
  const std::size_t room = kLineWidth - line.size();
  std::wstring name = topic.substr(0, room);
  return line + ToUtf8(name);
}

void ProgressBar::Update(long long current, long long maximum, const std::wstring& topic) {
  if (!enabled_) return;
  const int percent = maximum > 0 ? static_cast<int>(std::clamp(current * 100 / maximum, 0LL, 100LL)) : 0;
  const std::string line = Render(percent, topic);
  // Padding overwrites the rest of a longer previous line without relying
  // on terminal escape codes.
  std::fprintf(stderr, "\r%-*s", static_cast<int>(kLineWidth), line.c_str());
  std::fflush(stderr);
  shown_ = true;
}

void ProgressBar::Clear() {
  if (!shown_) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(kLineWidth), "");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace brimlow::cli
