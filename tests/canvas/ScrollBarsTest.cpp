#include "canvas/ScrollBars.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "canvas/TableWindowMouse.h"
#include "search/JoinLines.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

class ScrollBarsTest : public SearchFixture {
 protected:
  // A table of `rows` data rows and `cols` data columns in a window W × H.
  TableSlot& Table(int rows, int cols, float w, float h) {
    const int s = AddKeys(QStringLiteral("T"), Q({"1"}));
    Grid& g = ws_.TableGrid(s);
    g.SetCols(cols + 1);
    g.SetRows(rows + 1);
    PlaceSlot(ws_, s, 0, 0, h, w);
    slot_ = s;
    return ws_.tables.slots[s];
  }
  int slot_ = 0;
};

TEST_F(ScrollBarsTest, VerticalBarAtTheEnds) {
  struct Case {
    int rows;
    float h;
    bool shown;
  } cases[] = {{0, 2000, false}, {3, 2000, false}, {100, 2000, true}, {100, 700, true},
               {3000000, 2000, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    TableSlot& s = Table(c.rows, 2, 4000, c.h);
    EXPECT_EQ(s.vsc_bar.visible, c.shown);
    EXPECT_EQ(s.grid.control.rect.width, 4000 - 240);
    EXPECT_EQ(s.corner.rect.top, c.h - 120);
    if (!c.shown) continue;
    EXPECT_EQ(s.vsldr.rect.top, 120);
    // Dragged past the bottom: the last row stands at the bottom of the view.
    s.vsldr.rect.top = 1e7f;
    ApplyTableVScroll(s);
    const Grid& g = s.grid;
    EXPECT_EQ(g.LastVisibleRow(), c.rows);
    EXPECT_EQ(g.TopRow(), c.rows + 1 - RowsFullyInView(s));
    EXPECT_NEAR(s.vsldr.rect.top + s.vsldr.rect.height, s.dn_arrow.rect.top, 0.5);
    s.vsldr.rect.top = -50;
    ApplyTableVScroll(s);
    EXPECT_EQ(g.TopRow(), 1);
    ws_.tables.slots[slot_].frame.visible = false;
  }
}

// On millions of rows the slider keeps a length that can be grabbed, and dragging it down the
// track walks the rows in order, the slider staying where it was put, to the last row.
TEST_F(ScrollBarsTest, AHugeTablesSliderCanBeGrabbedAndDraggedToTheEnd) {
  TableSlot& s = Table(3000000, 2, 4000, 4000);
  ASSERT_TRUE(s.vsc_bar.visible);
  EXPECT_GE(s.vsldr.rect.height, 90);
  int previous = s.grid.TopRow();
  for (int step = 0; step < 2000 && s.vsldr.rect.top + s.vsldr.rect.height < s.dn_arrow.rect.top;
       ++step) {
    const float want = s.vsldr.rect.top + 3;
    s.vsldr.rect.top = want;
    ApplyTableVScroll(s);
    EXPECT_GE(s.grid.TopRow(), previous);
    EXPECT_NEAR(s.vsldr.rect.top, std::min(want, s.dn_arrow.rect.top - s.vsldr.rect.height), 0.5);
    previous = s.grid.TopRow();
  }
  EXPECT_EQ(s.grid.LastVisibleRow(), 3000000);
  EXPECT_NEAR(s.vsldr.rect.top + s.vsldr.rect.height, s.dn_arrow.rect.top, 0.5);
}

TEST_F(ScrollBarsTest, ZeroTravelNeitherDividesNorShows) {
  TableSlot& s = Table(100, 2, 4000, 300);
  EXPECT_FALSE(s.vsc_bar.visible);
  s.vsldr.rect.top = 500;
  ApplyTableVScroll(s);
  EXPECT_EQ(s.grid.TopRow(), 1);
}

TEST_F(ScrollBarsTest, ArrowsMoveAtLeastOneAndAtMostTheRowsInView) {
  struct Case {
    float h;
    int first_step;
  } cases[] = {{700, 1}, {2000, 100000}, {10000, 100000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.h);
    TableSlot& s = Table(c.h > 5000 ? 10000 : 100, 2, 4000, c.h);
    TableArrowV(s, 1);
    EXPECT_EQ(s.grid.TopRow(), 1 + std::min(c.first_step, RowsFullyInView(s)))
        << RowsFullyInView(s);
    TableArrowV(s, -1);
    EXPECT_EQ(s.grid.TopRow(), 1);
    ws_.tables.slots[slot_].frame.visible = false;
  }
}

TEST_F(ScrollBarsTest, FullyRightTheSliderTouchesTheRightArrow) {
  TableSlot& s = Table(3, 30, 4000, 2000);
  ASSERT_TRUE(s.hsc_bar.visible);
  s.hsldr.rect.left = 1e6f;
  ApplyTableHScroll(s, {});
  UpdateTableHScroll(s);
  EXPECT_EQ(s.grid.LastVisibleCol(), 30);
  EXPECT_NEAR(s.hsldr.rect.left + s.hsldr.rect.width, s.ri_arrow.rect.left, 0.5);
  // The right arrow at the end stays there; the left arrow goes back.
  const int at_end = s.grid.LeftCol();
  TableArrowH(s, {}, 1);
  EXPECT_EQ(s.grid.LeftCol(), at_end);
  TableArrowH(s, {}, -1);
  EXPECT_LT(s.grid.LeftCol(), at_end);
  EXPECT_GE(s.grid.LeftCol(), at_end - ColsFullyInView(s));
}

TEST_F(ScrollBarsTest, SideScrollingKeepsTheJoinedColumnsInView) {
  TableSlot& s = Table(3, 30, 4000, 2000);
  const int other = AddKeys(QStringLiteral("B"), Q({"1"}));
  MakeJoin(slot_, 2, other, 1);
  s.hsldr.rect.left = 1e6f;
  ApplyTableHScroll(ws_, slot_);
  EXPECT_TRUE(s.grid.ColIsVisible(2));
  EXPECT_GE(s.grid.LeftCol(), 1);
  const int third = AddKeys(QStringLiteral("C"), Q({"1"}));
  MakeJoin(slot_, 25, third, 1);
  s.hsldr.rect.left = 120;
  ApplyTableHScroll(ws_, slot_);
  EXPECT_TRUE(s.grid.ColIsVisible(25));
}

TEST_F(ScrollBarsTest, WheelScrollsAtMostTheRowsInView) {
  TableSlot& s = Table(1000, 2, 4000, 2000);
  TableWheel(ws_, slot_, 3, false);
  EXPECT_EQ(s.grid.TopRow(), 4);
  TableWheel(ws_, slot_, 500, false);
  EXPECT_EQ(s.grid.TopRow(), 4 + RowsFullyInView(s));
  TableWheel(ws_, slot_, -100000, false);
  EXPECT_EQ(s.grid.TopRow(), 4);
  TableWheel(ws_, slot_, -1, false);
  EXPECT_EQ(s.grid.TopRow(), 3);
}

TEST_F(ScrollBarsTest, CanvasBarsFitOrScrollEveryWindow) {
  ws_.tables.window.width = 12000;
  ws_.tables.window.height = 9100;
  const int a = AddKeys(QStringLiteral("A"), Q({"1"}));
  UpdateCanvasVScroll(ws_);
  UpdateCanvasHScroll(ws_);
  const CanvasBars& b = ws_.tables.canvas_bars;
  EXPECT_FALSE(b.vbar.visible);
  EXPECT_FALSE(b.hbar.visible);
  const TwipRect fa = ws_.tables.slots[a].frame.rect;
  EXPECT_EQ(ws_.tables.slots[1].frame.rect.top, fa.bottom() + 501);
  EXPECT_EQ(ws_.tables.slots[3].frame.rect.left, fa.right() + 501);
  // A hidden window far below still counts.
  const int far = AddKeys(QStringLiteral("F"), Q({"1"}));
  PlaceSlot(ws_, far, 0, 30000, 0, 0);
  ws_.tables.slots[far].frame.visible = false;
  UpdateCanvasVScroll(ws_);
  EXPECT_TRUE(b.vbar.visible);
  // The slider dragged to the bottom moves every window up by the mapped distance.
  ws_.tables.line1.y1 = 1000;
  const float before = ws_.tables.slots[a].frame.rect.top;
  // Dragged to the end a few times over, the far window comes into view.
  for (int i = 0; i < 4; ++i) {
    const float previous = b.vsldr.rect.top;
    ws_.tables.canvas_bars.vsldr.rect.top = 1e7f;
    ApplyCanvasVScroll(ws_, previous);
  }
  const float moved = ws_.tables.slots[a].frame.rect.top - before;
  EXPECT_LT(moved, -20000);
  EXPECT_EQ(ws_.tables.line1.y1, 1000 + moved);
  EXPECT_LE(ws_.tables.slots[far].frame.rect.bottom(), b.view_height);
}

// A pointer dragged along the canvas slider, as the mouse delivers it: every move is local to
// the slider where it stands at that moment. One drag to the track's end shows the far end of
// the canvas; back to the start it shows the start again.
TEST_F(ScrollBarsTest, OneCanvasSliderDragReachesBothEnds) {
  struct Case {
    float first_top, far_top;  // the two windows' tops
    float step;                // the pointer's travel per move
  } cases[] = {{501, 30000, 40}, {3000, 30000, 40}, {501, 300000, 15}, {-8000, 20000, 100},
               {501, 12000, 300}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.far_top);
    ws_.tables.window.width = 12000;
    ws_.tables.window.height = 9100;
    const int a = AddKeys(QStringLiteral("A"), Q({"1"}));
    const int far = AddKeys(QStringLiteral("F"), Q({"1"}));
    PlaceSlot(ws_, a, 501, c.first_top, 700, 3000);
    PlaceSlot(ws_, far, 501, c.far_top, 700, 3000);
    UpdateCanvasVScroll(ws_);
    UpdateCanvasHScroll(ws_);
    CanvasBars& b = ws_.tables.canvas_bars;
    ASSERT_TRUE(b.vbar.visible);
    const float press = 10;
    float pointer = b.vsldr.rect.top + press;  // along the bar
    CanvasBarMouseDown(ws_, CanvasBarPart::kVSlider, MouseEvent{kLeftButton, 0, 0, press});
    auto move_to = [&](float to) {
      while (pointer != to) {
        pointer = pointer < to ? std::min(to, pointer + c.step) : std::max(to, pointer - c.step);
        CanvasBarMouseMove(ws_, CanvasBarPart::kVSlider,
                           MouseEvent{kLeftButton, 0, 0, pointer - b.vsldr.rect.top});
      }
    };
    const auto& slots = ws_.tables.slots;
    move_to(b.dn.rect.top + 500);
    EXPECT_LE(slots[far].frame.rect.bottom(), b.view_height);
    EXPECT_GE(slots[far].frame.rect.bottom(), b.view_height - 600);
    EXPECT_NEAR(b.vsldr.rect.top + b.vsldr.rect.height, b.dn.rect.top, 1);
    move_to(-500);
    EXPECT_GE(slots[a].frame.rect.top, 0);
    EXPECT_LE(slots[a].frame.rect.top, std::max(c.first_top, 501.0f));
    EXPECT_NEAR(b.vsldr.rect.top, kCanvasArrowLength, 1);
    CanvasBarMouseUp(ws_, CanvasBarPart::kVSlider, MouseEvent{kLeftButton, 0, 0, press});
    for (int s : {a, far}) ws_.tables.slots[s].frame.visible = false;
    for (int s : {a, far}) ws_.tables.slots[s].frame.rect = {};
  }
}

// The horizontal twin: one drag along the bottom bar reaches the right end and comes back.
TEST_F(ScrollBarsTest, OneCanvasHorizontalSliderDragReachesBothEnds) {
  struct Case {
    float first_left, far_left;
    float step;
  } cases[] = {{501, 40000, 40}, {4000, 40000, 40}, {-9000, 25000, 100}, {501, 400000, 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.far_left);
    ws_.tables.window.width = 12000;
    ws_.tables.window.height = 9100;
    const int a = AddKeys(QStringLiteral("A"), Q({"1"}));
    const int far = AddKeys(QStringLiteral("F"), Q({"1"}));
    PlaceSlot(ws_, a, c.first_left, 501, 700, 3000);
    PlaceSlot(ws_, far, c.far_left, 501, 700, 3000);
    UpdateCanvasVScroll(ws_);
    UpdateCanvasHScroll(ws_);
    CanvasBars& b = ws_.tables.canvas_bars;
    ASSERT_TRUE(b.hbar.visible);
    const float press = 10;
    float pointer = b.hsldr.rect.left + press;
    CanvasBarMouseDown(ws_, CanvasBarPart::kHSlider, MouseEvent{kLeftButton, 0, press, 0});
    auto move_to = [&](float to) {
      while (pointer != to) {
        pointer = pointer < to ? std::min(to, pointer + c.step) : std::max(to, pointer - c.step);
        CanvasBarMouseMove(ws_, CanvasBarPart::kHSlider,
                           MouseEvent{kLeftButton, 0, pointer - b.hsldr.rect.left, 0});
      }
    };
    const auto& slots = ws_.tables.slots;
    move_to(b.ri.rect.left + 500);
    EXPECT_LE(slots[far].frame.rect.right(), b.view_width);
    EXPECT_GE(slots[far].frame.rect.right(), b.view_width - 600);
    EXPECT_NEAR(b.hsldr.rect.left + b.hsldr.rect.width, b.ri.rect.left, 1);
    move_to(-500);
    EXPECT_GE(slots[a].frame.rect.left, 0);
    EXPECT_LE(slots[a].frame.rect.left, std::max(c.first_left, 501.0f));
    EXPECT_NEAR(b.hsldr.rect.left, kCanvasArrowLength, 1);
    CanvasBarMouseUp(ws_, CanvasBarPart::kHSlider, MouseEvent{kLeftButton, 0, press, 0});
    for (int s : {a, far}) ws_.tables.slots[s].frame.visible = false;
    for (int s : {a, far}) ws_.tables.slots[s].frame.rect = {};
  }
}

// Lines routed around a window in the top row (above it) or in the left column (left of it)
// may run outside the windows' extent: the canvas range holds every piece, so the bars reach
// each one, and scrolling to the start shows the highest (leftmost) piece.
TEST_F(ScrollBarsTest, CanvasRangeHoldsEveryJoinLinePiece) {
  struct Case {
    TwipRect a, between, b;
  } cases[] = {
      {{501, 501, 2000, 700}, {3100, 501, 2000, 700}, {5700, 501, 2000, 700}},  // a row
      {{501, 501, 2000, 700}, {501, 1800, 2000, 700}, {501, 3100, 2000, 700}},  // a column
      {{501, 501, 2000, 700}, {3100, 501, 2000, 9000}, {5700, 501, 2000, 700}},  // a tall one
      {{501, 501, 2000, 9000}, {501, 10100, 2000, 700}, {501, 11400, 2000, 700}},
      {{100, 100, 2000, 700}, {2700, 100, 2000, 700}, {5300, 100, 2000, 700}},  // near the edges
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.between.height);
    ws_.tables.window.width = 12000;
    ws_.tables.window.height = 9100;
    const int a = AddKeys(QStringLiteral("A"), Q({"1"}));
    const int m = AddKeys(QStringLiteral("M"), Q({"1"}));
    const int b = AddKeys(QStringLiteral("B"), Q({"1"}));
    for (auto [s, r] : {std::pair{a, c.a}, {m, c.between}, {b, c.b}})
      PlaceSlot(ws_, s, r.left, r.top, r.height, r.width);
    for (auto [s, r] : {std::pair{a, c.a}, {m, c.between}, {b, c.b}})
      ws_.tables.slots[s].frame.rect = r;  // placed as given, not pushed apart
    MakeJoin(a, 1, b, 1);
    RedrawJoinLines(ws_);
    const CanvasBars& bars = ws_.tables.canvas_bars;
    int shown = 0;
    for (const Control& piece : ws_.tables.line2) {
      if (!piece.visible) continue;
      ++shown;
      EXPECT_GE(piece.rect.top, bars.top);
      EXPECT_LE(piece.rect.bottom(), bars.bottom);
      EXPECT_GE(piece.rect.left, bars.left);
      EXPECT_LE(piece.rect.right(), bars.right);
    }
    EXPECT_GE(shown, 3);
    // Scrolled to the top left: the highest and leftmost pieces are in view.
    ws_.tables.canvas_bars.vsldr.rect.top = -1;
    ApplyCanvasVScroll(ws_, bars.vsldr.rect.top);
    ws_.tables.canvas_bars.hsldr.rect.left = -1;
    ApplyCanvasHScroll(ws_, bars.hsldr.rect.left);
    float highest_now = 1e9f, leftmost_now = 1e9f;
    for (const Control& piece : ws_.tables.line2) {
      if (!piece.visible) continue;
      highest_now = std::min(highest_now, piece.rect.top);
      leftmost_now = std::min(leftmost_now, piece.rect.left);
    }
    EXPECT_GE(highest_now, 0);
    EXPECT_GE(leftmost_now, 0);
    for (int s : {a, m, b}) ws_.tables.slots[s].frame.visible = false;
    for (int s : {a, m, b}) ws_.tables.slots[s].frame.rect = {};
    EraseJoinLines(ws_);
    RemoveJoin(ws_, a, b);
  }
}

TEST_F(ScrollBarsTest, AJoinLinePieceAboveEveryWindowMakesTheBarAppear) {
  ws_.tables.window.width = 12000;
  ws_.tables.window.height = 9100;
  const int a = AddKeys(QStringLiteral("A"), Q({"1"}));
  PlaceSlot(ws_, a, 501, 501, 700, 2000);
  UpdateCanvasVScroll(ws_);
  EXPECT_FALSE(ws_.tables.canvas_bars.vbar.visible);
  ws_.tables.line2.resize(1);
  ws_.tables.line2[0].rect = {600, -3000, 50, 2000};
  ws_.tables.line2[0].visible = true;
  UpdateCanvasVScroll(ws_);
  EXPECT_TRUE(ws_.tables.canvas_bars.vbar.visible);
  EXPECT_EQ(ws_.tables.canvas_bars.top, -3000);
}

}  // namespace
}  // namespace mivora::testing
