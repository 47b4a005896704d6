#pragma once
// The scan's progress bar on standard error: one line redrawn in place,
// shown only when standard error is a terminal.

#include <string>

namespace brimlow::cli {

class ProgressBar {
 public:
  // enabled false: every call does nothing (no terminal, or --json).
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}
  ~ProgressBar() { Clear(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // current of maximum (clamped to 0..100 %), with the topic's name.
  void Update(long long current, long long maximum, const std::wstring& topic);
  // Removes the bar so the next output starts on a clean line.
  void Clear();

  // The bar's text for a percentage: "[#####.....]  50%  topic", cut to
  // the line width. Exposed for tests.
  static std::string Render(int percent, const std::wstring& topic);

 private:
  bool enabled_;
  bool shown_ = false;
};

}  // namespace brimlow::cli
