#include "canvas/ResultWindowMoveResize.h"

#include <gtest/gtest.h>

#include "canvas/ScrollBars.h"
#include "canvas/WindowMoveResize.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

struct Case {
  const char* name;
  TablePart part;
  int button;
  float x0, y0, x1, y1;
  TwipRect frame;  // after the step
};

class ResultWindowMoveResizeTest : public SearchFixture,
                                   public ::testing::WithParamInterface<Case> {};

// Window 1 at 1000, 1000, 4000 × 2000; every step from the same start.
TEST_P(ResultWindowMoveResizeTest, MovesAndResizesWithoutLeavingTheWindow) {
  const Case& c = GetParam();
  TableSlot& s = ws_.result.windows[1];
  s.frame.rect.left = 1000;
  s.frame.rect.top = 1000;
  SetFrameWidth(s, 4000);
  SetFrameHeight(s, 2000);
  s.grid.SetCols(3);
  s.grid.SetRows(50);
  UpdateTableHScroll(s);
  UpdateTableVScroll(s);
  ResultDragState d;
  ResultPartMouseDown(ws_, d, 1, c.part, {c.button, 0, c.x0, c.y0});
  ResultPartMouseMove(ws_, d, 1, c.part, {c.button, 0, c.x1, c.y1});
  EXPECT_EQ(s.frame.rect, c.frame);
  EXPECT_EQ(s.graph_box.rect.width, s.frame.rect.width - 240);
  EXPECT_EQ(s.corner.rect.left, s.frame.rect.width - 120);
  EXPECT_EQ(s.corner.rect.top, s.frame.rect.height - 120);
  EXPECT_EQ(s.vsc_bar.rect.left, s.frame.rect.width - 120);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ResultWindowMoveResizeTest,
    ::testing::Values(
        Case{"RightOnTheFirstTwipMoves", TablePart::kFrame, kRightButton, 0, 0, 300, -200,
             {1300, 800, 4000, 2000}},
        Case{"MoveKeepsTheTopLeftStripInside", TablePart::kFrame, kRightButton, 60, 60, -5000,
             -5000, {0, 0, 4000, 2000}},
        Case{"LeftBorder", TablePart::kFrame, kLeftButton, 60, 500, -440, 500,
             {500, 1000, 4500, 2000}},
        Case{"LeftBorderAtMinimumKeepsRight", TablePart::kFrame, kLeftButton, 60, 500, 9000,
             500, {4760, 1000, 240, 2000}},
        Case{"TopBorderStopsAtTheWindowTop", TablePart::kFrame, kLeftButton, 500, 60, 500, -3000,
             {1000, 0, 4000, 3000}},
        Case{"CornerGrows", TablePart::kCorner, kLeftButton, 60, 60, 560, 360,
             {1000, 1000, 4500, 2300}},
        Case{"CornerMoves", TablePart::kCorner, kRightButton, 0, 0, 100, 100,
             {1100, 1100, 4000, 2000}},
        Case{"VerticalSliderSidewaysWidens", TablePart::kVSlider, kLeftButton, 60, 60, 660, 60,
             {1000, 1000, 4600, 2000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultWindowArrows, ScrollTheGrid) {
  TableSlot s;
  s.frame.rect = {0, 0, 4000, 2000};
  SetTableScrollBarGeometry(s);
  s.grid.control.rect = {120, 120, 3760, 1760};
  s.grid.SetCols(3);
  s.grid.SetRows(500);
  UpdateTableVScroll(s);
  TableArrowV(s, 1);
  EXPECT_GT(s.grid.TopRow(), 1);
  TableArrowV(s, -1);
  EXPECT_EQ(s.grid.TopRow(), 1);
}

}  // namespace
}  // namespace mivora::testing
