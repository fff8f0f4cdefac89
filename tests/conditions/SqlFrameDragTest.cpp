#include "conditions/SqlFrameDrag.h"

#include <gtest/gtest.h>

#include "canvas/MouseEvent.h"

namespace mivora::testing {
namespace {

// The frame as the window loads it: 2280, 4920, 5412 × 972, text box 5172 × 612.
struct Case {
  const char* name;
  int button;
  float x0, y0, x1, y1;
  TwipRect frame;
  float text_w, text_h;
};

class SqlFrameDragTest : public ::testing::TestWithParam<Case> {};

TEST_P(SqlFrameDragTest, MovesOrResizesByTheStrip) {
  const Case& c = GetParam();
  Control frame, text;
  frame.rect = {2280, 4920, 5412, 972};
  text.rect = {120, 240, 5172, 612};
  SqlFrameAnchor a;
  SqlFrameMouseDown(a, c.x0, c.y0);
  SqlFrameDragStep(frame, text, a, c.button, c.x1, c.y1);
  EXPECT_EQ(frame.rect, c.frame);
  EXPECT_EQ(text.rect, (TwipRect{120, 240, c.text_w, c.text_h}));
}

INSTANTIATE_TEST_SUITE_P(
    Strips, SqlFrameDragTest,
    ::testing::Values(
        Case{"Move", kRightButton, 50, 100, 350, -100, {2580, 4720, 5412, 972}, 5172, 612},
        Case{"LeftStrip", kLeftButton, 50, 500, -450, 500, {1780, 4920, 5912, 972}, 5672, 612},
        Case{"LeftStripAtMinimumKeepsRight", kLeftButton, 50, 500, 6000, 500,
             {6692, 4920, 1000, 972}, 760, 612},
        Case{"RightStrip", kLeftButton, 5350, 500, 5050, 500, {2280, 4920, 5112, 972}, 4872, 612},
        Case{"TopStripGrows", kLeftButton, 2000, 100, 2000, -400, {2280, 4420, 5412, 1472}, 5172,
             1112},
        Case{"TopStripAtMinimumKeepsBottom", kLeftButton, 2000, 100, 2000, 300,
             {2280, 4892, 5412, 1000}, 5172, 640},
        Case{"BottomStrip", kLeftButton, 2000, 900, 2000, 1400, {2280, 4920, 5412, 1472}, 5172,
             1112}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mivora::testing
