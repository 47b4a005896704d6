#include "framework/utils/Rect.h"

#include <gtest/gtest.h>

#include "base/Text.h"

namespace brimlow {

// Found by GoogleTest through the argument's namespace.
void PrintTo(const TRect& r, std::ostream* os) { *os << ToUtf8(RectToText(r)); }

namespace {

TEST(RectTest, FitAndCenterRect) {
  struct Case {
    TRect content;
    TRect frame;
    TRect expected;
  } cases[] = {
      {{0, 0, 100, 50}, {0, 0, 40, 40}, {0, 10, 40, 30}},        // wide: fits the width
      {{0, 0, 50, 100}, {0, 0, 40, 40}, {10, 0, 30, 40}},        // tall: fits the height
      {{0, 0, 10, 10}, {5, 5, 45, 25}, {15, 5, 35, 25}},         // grows to fit, offset frame
      {{0, 0, 30, 20}, {0, 0, 10, 10}, {0, 2, 10, 8}},           // 20*10/30 truncates to 6
      {{0, 0, 100, 50}, {3, 4, 3, 40}, {3, 4, 3, 40}},           // frame without width
      {{0, 0, 0, 50}, {0, 0, 40, 40}, {20, -5, 20, 45}},         // content without width
      {{0, 0, 100000, 100000}, {0, 0, 60000, 30000}, {15000, 0, 45000, 30000}},  // no overflow
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitAndCenterRect(c.content, c.frame), c.expected)
        << ToUtf8(RectToText(c.content)) << " in " << ToUtf8(RectToText(c.frame));
  }
}

TEST(RectTest, TextRoundTripAndMalformedText) {
  const TRect rect{-10, 20, 300, 400};
  EXPECT_EQ(RectToText(rect), L"-10,20,300,400");
  TRect read;
  EXPECT_TRUE(TextToRect(L"-10,20,300,400", &read));
  EXPECT_EQ(read, rect);

  EXPECT_TRUE(TextToRect(L"1,x,3,", &read));
  EXPECT_EQ(read, (TRect{1, 0, 3, 0}));

  const TRect before{1, 2, 3, 4};
  for (const wchar_t* text : {L"", L"1,2,3", L"1,2,3,4,5"}) {
    TRect unchanged = before;
    EXPECT_FALSE(TextToRect(text, &unchanged)) << ToUtf8(text);
    EXPECT_EQ(unchanged, before) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace brimlow
