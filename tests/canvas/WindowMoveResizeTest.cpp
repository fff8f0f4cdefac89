#include "canvas/WindowMoveResize.h"

#include <gtest/gtest.h>

#include <random>

#include "canvas/TableWindowMouse.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

class WindowMoveResizeTest : public SearchFixture {
 protected:
  // Tables are made first (each new one settles at the default place), then put where the
  // case wants them without resolving anything.
  std::vector<int> Add(std::initializer_list<TwipRect> rects) {
    std::vector<int> slots;
    for (std::size_t i = 0; i < rects.size(); ++i)
      slots.push_back(AddKeys(QStringLiteral("T"), Q({"1", "2"})));
    std::size_t i = 0;
    for (const TwipRect& r : rects) Put(slots[i++], r);
    return slots;
  }
  void Put(int s, TwipRect r) {
    TableSlot& t = ws_.tables.slots[s];
    t.frame.rect.left = r.left;
    t.frame.rect.top = r.top;
    SetFrameWidth(t, r.width);
    SetFrameHeight(t, r.height);
    UpdateTableHScroll(ws_, s);
    UpdateTableVScroll(ws_, s);
  }
  TwipRect& Frame(int s) { return ws_.tables.slots[s].frame.rect; }
  // A left-button border drag from (x0, y0) to (x1, y1), in the frame's own twips.
  void BorderDrag(int s, int button, float x0, float y0, float x1, float y1) {
    TablePartMouseDown(ws_, s, TablePart::kFrame, {button, 0, x0, y0});
    TablePartMouseMove(ws_, s, TablePart::kFrame, {button, 0, x1, y1});
  }
  // No two shown table windows within 500 of each other.
  void ExpectApart() {
    for (int a = 4; a < ws_.tables.SlotCount(); ++a) {
      for (int b = a + 1; b < ws_.tables.SlotCount(); ++b) {
        if (!ws_.tables.SlotInUse(a) || !ws_.tables.SlotInUse(b)) continue;
        const TwipRect &p = Frame(a), &k = Frame(b);
        const bool apart = k.top - 500 - p.bottom() > 0 || p.top - 500 - k.bottom() > 0 ||
                           k.left - 500 - p.right() > 0 || p.left - 500 - k.right() > 0;
        EXPECT_TRUE(apart) << a << " " << p << " and " << b << " " << k;
      }
    }
  }
};

TEST_F(WindowMoveResizeTest, NewTablesAtTheDefaultPlacePushTheEarlierOnesDown) {
  const int first = AddKeys(QStringLiteral("A"), Q({"1"}));
  EXPECT_EQ(Frame(first).left, 501);
  EXPECT_EQ(Frame(first).top, 1200);
  const int second = AddKeys(QStringLiteral("B"), Q({"1"}));
  EXPECT_EQ(Frame(second).top, 501);
  EXPECT_EQ(Frame(first).top, 501 + 700 + 600);
  const int third = AddKeys(QStringLiteral("C"), Q({"1"}));
  EXPECT_EQ(Frame(third).top, 501);
  EXPECT_EQ(Frame(second).top, 1801);
  EXPECT_EQ(Frame(first).top, 1801 + 700 + 600);
  ExpectApart();
}

TEST_F(WindowMoveResizeTest, ThePushedWindowIsChosenByTheCentreRule) {
  struct {
    float k_top;
    bool p_moves;
  } cases[] = {{100, true}, {600, true}, {700, false}, {1400, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k_top);
    const auto w = Add({{5000, c.k_top, 3000, 1000}, {5500, 1100, 3000, 1000}});
    const int k = w[0], p = w[1];
    PushApart(ws_, k, p);
    if (c.p_moves) {
      EXPECT_EQ(Frame(p).top, c.k_top + 1000 + 600);
      EXPECT_EQ(Frame(k).top, c.k_top);
    } else {
      EXPECT_EQ(Frame(k).top, 1100 + 1000 + 600);
      EXPECT_EQ(Frame(p).top, 1100);
    }
    EXPECT_TRUE(ws_.tables.drag.recoil_happened);
    ws_.tables.slots[k].frame.visible = false;
    ws_.tables.slots[p].frame.visible = false;
  }
}

TEST_F(WindowMoveResizeTest, ShrinkingPullsTheNearestContainedFollowersInAChain) {
  const auto w = Add({{501, 501, 4000, 1000},
                      {6000, 501, 3000, 700},
                      {10000, 501, 2000, 700},
                      {501, 3000, 3000, 700}});
  const int p = w[0], f = w[1], g = w[2], below = w[3];
  // Right border from local x 3950 leftwards by 1000.
  BorderDrag(p, kLeftButton, 3950, 500, 2950, 500);
  EXPECT_EQ(Frame(p).width, 3000);
  EXPECT_EQ(Frame(f).left, 3501 + 600);
  EXPECT_EQ(Frame(g).left, 3501 + 600 + 3000 + 600);
  EXPECT_EQ(Frame(below).top, 3000);
  TablePartMouseUp(ws_, p, TablePart::kFrame, {kLeftButton, 0, 2950, 500});
  // Bottom border upwards by 500: the window below follows to 600.
  BorderDrag(p, kLeftButton, 500, 950, 500, 450);
  EXPECT_EQ(Frame(p).height, 500);
  EXPECT_EQ(Frame(below).top, 501 + 500 + 600);
  ExpectApart();
}

TEST_F(WindowMoveResizeTest, ANearestFollowerNotContainedMeansNone) {
  const auto w = Add({{501, 501, 4000, 1000}, {6000, 501, 2000, 3000}, {9000, 501, 2000, 700}});
  const int p = w[0], tall = w[1], far = w[2];
  BorderDrag(p, kLeftButton, 3950, 500, 2950, 500);
  EXPECT_EQ(Frame(tall).left, 6000);
  EXPECT_EQ(Frame(far).left, 9000);
}

TEST_F(WindowMoveResizeTest, EdgesRunningIntoANeighbourStopForTheRestOfTheDrag) {
  const auto w = Add({{501, 501, 4000, 700}, {6000, 501, 3000, 700}, {501, 3500, 4000, 700}});
  const int k = w[0], p = w[1], q = w[2];
  // Left edge into k: k is pushed down, the edge stays where it was, also when moving back.
  BorderDrag(p, kLeftButton, 50, 300, -1150, 300);
  EXPECT_EQ(Frame(p).left, 6000);
  EXPECT_EQ(Frame(k).top, 501 + 700 + 600);
  TablePartMouseMove(ws_, p, TablePart::kFrame, {kLeftButton, 0, -300, 300});
  EXPECT_EQ(Frame(p).left, 6000);
  TablePartMouseUp(ws_, p, TablePart::kFrame, {kLeftButton, 0, -300, 300});
  // Top edge into a window above: nothing is pushed and the edge stays.
  Put(q, {501, Frame(k).bottom() + 1200, 4000, 700});
  const TwipRect k_before = Frame(k);
  const float q_top = Frame(q).top;
  BorderDrag(q, kLeftButton, 300, 50, 300, 50 - (q_top - k_before.bottom()) + 200);
  EXPECT_EQ(Frame(q).top, q_top);
  EXPECT_EQ(Frame(k), k_before);
}

TEST_F(WindowMoveResizeTest, MinimumSizesKeepTheFarEdge) {
  const auto w = Add({{5000, 5000, 8000, 1000}, {501, 501, 2000, 700}, {20000, 20000, 3000, 1000}});
  const int s = w[0], other = w[1], plain = w[2];
  Grid& g = ws_.TableGrid(s);
  g.SetCols(5);
  MakeJoin(s, 3, other, 1);
  const float min_grid = g.VisibleLeftOf(3) + g.ColWidth(3) + 30;
  const float right = Frame(s).right(), bottom = Frame(s).bottom();
  // Left border far to the right, then top border far down.
  BorderDrag(s, kLeftButton, 50, 300, 7900, 300);
  EXPECT_EQ(Frame(s).width, min_grid + 240);
  EXPECT_EQ(Frame(s).right(), right);
  TablePartMouseUp(ws_, s, TablePart::kFrame, {kLeftButton, 0, 7900, 300});
  BorderDrag(s, kLeftButton, 300, 50, 300, 5000);
  EXPECT_EQ(Frame(s).height, 240);
  EXPECT_EQ(Frame(s).bottom(), bottom);
  EXPECT_EQ(ws_.tables.slots[s].grid.control.rect.height, 0);
  // A table without joins narrows to 240.
  BorderDrag(plain, kLeftButton, 2950, 300, -5000, 300);
  EXPECT_EQ(Frame(plain).width, 240);
}

TEST_F(WindowMoveResizeTest, RightButtonMovesButNotFromTheFirstTwip) {
  const int s = Add({{5000, 5000, 3000, 1000}})[0];
  BorderDrag(s, kRightButton, 0, 60, 400, 460);
  EXPECT_EQ(Frame(s).left, 5000);
  BorderDrag(s, kRightButton, 60, 60, 460, 560);
  EXPECT_EQ(Frame(s).left, 5400);
  EXPECT_EQ(Frame(s).top, 5500);
  TablePartMouseDown(ws_, s, TablePart::kCorner, {kRightButton, 0, 0, 0});
  TablePartMouseMove(ws_, s, TablePart::kCorner, {kRightButton, 0, -100, 100});
  EXPECT_EQ(Frame(s).left, 5300);
  EXPECT_EQ(Frame(s).top, 5600);
}

TEST_F(WindowMoveResizeTest, CornerShrinkPullsFollowersLikeABorderShrink) {
  const auto w = Add({{501, 501, 4000, 1000}, {6000, 501, 3000, 700}});
  const int p = w[0], f = w[1];
  TablePartMouseDown(ws_, p, TablePart::kCorner, {kLeftButton, 0, 60, 60});
  TablePartMouseMove(ws_, p, TablePart::kCorner, {kLeftButton, 0, -940, 60});
  EXPECT_EQ(Frame(p).width, 3000);
  EXPECT_EQ(Frame(f).left, 3501 + 600);
}

TEST_F(WindowMoveResizeTest, RandomPlacementsAndDragsLeaveNoTwoWindowsWithin500) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> pos(0, 12000), size(800, 5000);
  for (int i = 0; i < 12; ++i) {
    const int s = AddKeys(QStringLiteral("R"), Q({"1"}));
    PlaceSlot(ws_, s, std::round(pos(rng)) + 1, std::round(pos(rng)) + 1, std::round(size(rng)),
              std::round(size(rng)));
    ExpectApart();
  }
  std::uniform_int_distribution<int> pick(4, ws_.tables.SlotCount() - 1);
  for (int d = 0; d < 30; ++d) {
    const int s = pick(rng);
    const TwipRect f = Frame(s);
    const float dx = pos(rng) - 6000, dy = pos(rng) - 6000;
    const int button = d % 2 ? kLeftButton : kRightButton;
    const float x0 = d % 3 ? 60 : f.width - 60, y0 = d % 4 ? 60 : f.height - 60;
    BorderDrag(s, button, x0, y0, x0 + dx / 4, y0 + dy / 4);
    TablePartMouseUp(ws_, s, TablePart::kFrame, {button, 0, x0, y0});
    ExpectApart();
  }
}

}  // namespace
}  // namespace mivora::testing
