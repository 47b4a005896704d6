#pragma once
// A screen rectangle and its text form. Pure; any thread.

#include <string>
#include <string_view>

namespace brimlow {

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// "left,top,right,bottom" in decimal.
std::wstring RectToText(const TRect& rect);

// Reads "left,top,right,bottom": with exactly four parts each becomes its
// integer (0 when malformed) and true is returned; otherwise *rect is left
// as it was and false is returned.
bool TextToRect(std::wstring_view text, TRect* rect);

// The content's shape scaled to fit the frame (keeping its aspect ratio)
// and centred in it. A frame without width or height gives its own size; a
// content without width or height keeps its size.
TRect FitAndCenterRect(const TRect& content, const TRect& frame);

}  // namespace brimlow
