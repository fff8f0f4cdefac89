#include "search/JoinLineLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "search/JoinLines.h"
#include "search/LineDisconnect.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

struct Box {
  std::int64_t left, top, width, height;
};

// Table windows from slot 4 on, framed by the four boundary bars 501 outside them.
std::vector<LayoutWindow> Layout(const std::vector<Box>& tables) {
  std::vector<LayoutWindow> w(4 + tables.size());
  std::int64_t top = 1 << 30, left = 1 << 30, bottom = -(1 << 30), right = -(1 << 30);
  for (std::size_t i = 0; i < tables.size(); ++i) {
    const Box& b = tables[i];
    w[4 + i] = {b.left, b.top, b.left + b.width, b.top + b.height, true};
    top = std::min(top, b.top);
    left = std::min(left, b.left);
    bottom = std::max(bottom, b.top + b.height);
    right = std::max(right, b.left + b.width);
  }
  top -= 501, left -= 501, bottom += 501, right += 501;
  w[0] = {left, top - 15, right, top, true};
  w[1] = {left, bottom, right, bottom + 15, true};
  w[2] = {left - 15, top, left, bottom, true};
  w[3] = {right, top, right + 15, bottom, true};
  return w;
}

std::int64_t Centre(const LayoutWindow& w) { return (w.top + w.bottom) / 2; }

bool Inside(const LayoutSegment& s, const LayoutWindow& w) {
  return s.left < w.right && s.left + s.width > w.left && s.top < w.bottom &&
         s.top + s.height > w.top;
}

// A routed single join: it starts at the departure window's centre at its anchor, ends in
// the destination's in the entering colour, and every other piece runs outside all tables.
void ExpectWellRouted(const std::vector<LayoutWindow>& w, const LayoutJoin& j,
                      const JoinLineLayout& out) {
  ASSERT_EQ(out.routed, std::vector<bool>{true});
  ASSERT_GE(out.segments.size(), 2u);
  const LayoutSegment& first = out.segments.front();
  const LayoutSegment& last = out.segments.back();
  EXPECT_EQ(first.width, 50);
  EXPECT_EQ(first.left, j.from_x - 25);
  EXPECT_TRUE(first.top == Centre(w[j.from]) || first.top + first.height == Centre(w[j.from]));
  EXPECT_FALSE(first.last);
  EXPECT_TRUE(last.last);
  EXPECT_EQ(last.width, 50);
  EXPECT_EQ(last.left, j.to_x - 25);
  EXPECT_TRUE(last.top == Centre(w[j.to]) || last.top + last.height == Centre(w[j.to]));
  for (std::size_t i = 1; i + 1 < out.segments.size(); ++i) {
    EXPECT_FALSE(out.segments[i].last);
    for (std::size_t t = 4; t < w.size(); ++t)
      EXPECT_FALSE(Inside(out.segments[i], w[t])) << "piece " << i << " in window " << t;
  }
}

struct RouteCase {
  const char* name;
  std::vector<Box> tables;
  LayoutJoin join;
};

class RouteTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteTest, RoutesThroughCorridorsFromCentreToCentre) {
  const RouteCase& c = GetParam();
  const auto w = Layout(c.tables);
  ExpectWellRouted(w, c.join, LayOutJoinLines(w, {c.join}));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RouteTest,
    ::testing::Values(
        RouteCase{"SideBySideWideGap", {{501, 1200, 4452, 700}, {5500, 1200, 4452, 700}},
                  {4, 1500, 5, 6500}},
        RouteCase{"SideBySideNarrowGap", {{501, 1200, 4452, 700}, {5253, 1200, 4452, 700}},
                  {4, 4000, 5, 5600}},
        RouteCase{"AboveEachOther", {{501, 1200, 4452, 700}, {1501, 2500, 3000, 900}},
                  {5, 2000, 4, 3000}},
        RouteCase{"Diagonal", {{501, 501, 3000, 1000}, {5000, 3000, 3000, 1000}, {501, 6000, 9000, 800}},
                  {4, 1000, 5, 7000}},
        // A window 300 above the departure's anchor: the upper stub would cross it.
        RouteCase{"WindowInTheStubsWay", {{501, 501, 3000, 700}, {501, 1501, 3000, 700}, {6000, 501, 2000, 700}},
                  {5, 1500, 6, 7000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinLineLayout, ExactCorridorsAndPiecesOfTwoStackedWindows) {
  const auto w = Layout({{1000, 1000, 2000, 1000}, {1000, 3000, 2000, 1000}});
  EXPECT_EQ(FindCorridors(w), (std::vector<Corridor>{{750, 499, 750, 4501},
                                                     {3250, 499, 3250, 4501},
                                                     {499, 4250, 3501, 4250},
                                                     {499, 750, 3501, 750},
                                                     {499, 2500, 3501, 2500}}));
  const JoinLineLayout out = LayOutJoinLines(w, {{4, 1500, 5, 1500}});
  EXPECT_EQ(out.segments, (std::vector<LayoutSegment>{{1475, 1500, 50, 1000, false},
                                                      {1475, 2500, 50, 1000, true}}));
}

TEST(JoinLineLayout, TwoJoinsSharingACorridorRunHundredApart) {
  const auto w = Layout({{501, 1200, 3000, 700}, {5000, 1200, 3000, 700}});
  const JoinLineLayout out = LayOutJoinLines(w, {{4, 1000, 5, 6000}, {4, 1500, 5, 6500}});
  ASSERT_EQ(out.routed, (std::vector<bool>{true, true}));
  // No two horizontal pieces lie on one row over more than their end squares.
  std::set<std::int64_t> rows;
  for (std::size_t a = 0; a < out.segments.size(); ++a) {
    const LayoutSegment& s = out.segments[a];
    if (s.height != 50) continue;
    rows.insert(s.top);
    for (std::size_t b = a + 1; b < out.segments.size(); ++b) {
      const LayoutSegment& t = out.segments[b];
      if (t.height != 50 || t.top != s.top) continue;
      EXPECT_FALSE(t.left + t.width > s.left + 50 && s.left + s.width > t.left + 50)
          << "pieces " << a << " and " << b << " overlap";
    }
  }
  bool hundred_apart = false;
  for (std::int64_t r : rows) hundred_apart = hundred_apart || rows.count(r + 100);
  EXPECT_TRUE(hundred_apart);
  EXPECT_EQ(std::count_if(out.segments.begin(), out.segments.end(),
                          [](const LayoutSegment& s) { return s.last; }),
            2);
}

TEST(JoinLineLayout, ADestinationBoxedInHasNoRouteAndDrawsNothing) {
  // Windows 100 above and below the destination cover its anchor.
  const auto w = Layout({{501, 501, 2000, 700},
                         {5000, 501, 3000, 700},
                         {5000, 1301, 3000, 700},
                         {5000, 2101, 3000, 700}});
  const JoinLineLayout out = LayOutJoinLines(w, {{6, 6000, 4, 1000}, {4, 1000, 6, 6000}});
  EXPECT_EQ(out.routed, (std::vector<bool>{false, false}));
  EXPECT_TRUE(out.segments.empty());
}

TEST(JoinLineLayout, SixtyFourWindowsRouteEveryJoin) {
  std::vector<Box> boxes;
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) boxes.push_back({501 + c * 5500, 501 + r * 1700, 4452, 700});
  const auto w = Layout(boxes);
  std::vector<LayoutJoin> joins;
  for (int i = 0; i < 60; ++i) {
    const int a = 4 + i, b = 4 + (i * 7 + 3) % 64;
    if (a == b) continue;
    joins.push_back({a, w[a].left + 800, b, w[b].left + 1800});
  }
  const JoinLineLayout out = LayOutJoinLines(w, joins);
  EXPECT_EQ(std::count(out.routed.begin(), out.routed.end(), true),
            static_cast<long>(joins.size()));
}

// The workspace: lines relaid from the model, the message once, clicks finding both tables.
class JoinLinesTest : public SearchFixture {
 protected:
  void SetUp() override {
    a_ = AddKeys(QStringLiteral("A"), Q({"1"}));
    b_ = AddKeys(QStringLiteral("B"), Q({"1"}));
    c_ = AddKeys(QStringLiteral("C"), Q({"1"}));
  }
  int a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(JoinLinesTest, EverySegmentOfEveryLineLeadsToBothTables) {
  ws_.tables.slots[b_].frame.rect.left = 6000;
  ws_.tables.slots[b_].frame.rect.top = 501;
  PlaceSlot(ws_, b_, 0, 0, 0, 0);
  MakeJoin(a_, 1, b_, 1);
  MakeJoin(b_, 1, c_, 1);
  RedrawJoinLines(ws_);
  int shown = 0;
  for (std::size_t s = 0; s < ws_.tables.line2.size(); ++s) {
    if (!ws_.tables.line2[s].visible) continue;
    ++shown;
    TraceLineSegments(ws_, true, static_cast<int>(s));
    std::set<int> ends;
    for (int m : ws_.search.segment_marks)
      if (m >= 4) ends.insert(m);
    EXPECT_TRUE(ends == (std::set<int>{a_, b_}) || ends == (std::set<int>{b_, c_}))
        << "segment " << s;
    std::fill(ws_.search.segment_marks.begin(), ws_.search.segment_marks.end(), 0);
  }
  EXPECT_GE(shown, 4);
  EXPECT_TRUE(host_.messages.isEmpty());
}

TEST_F(JoinLinesTest, AnUnroutableJoinIsToldOnceWhileItKeepsFailing) {
  const int d = AddKeys(QStringLiteral("D"), Q({"1"}));
  MakeJoin(a_, 1, b_, 1);
  RedrawJoinLines(ws_);
  ASSERT_TRUE(host_.messages.isEmpty());
  // Squeeze B between two windows 100 away from it.
  auto& s = ws_.tables.slots;
  s[a_].frame.rect = {501, 501, 3000, 700};
  s[b_].frame.rect = {5000, 1301, 3000, 700};
  s[c_].frame.rect = {5000, 2101, 3000, 700};
  s[d].frame.rect = {5000, 501, 3000, 700};
  UpdateCanvasVScroll(ws_);
  UpdateCanvasHScroll(ws_);
  RedrawJoinLines(ws_);
  RedrawJoinLines(ws_);
  EXPECT_EQ(host_.messages, QStringList{UnroutableJoinMessage()});
  for (const Control& c : ws_.tables.line2) EXPECT_FALSE(c.visible);
}

TEST_F(JoinLinesTest, AColumnScrolledOutOfViewAnchorsAtTheGridEdge) {
  ws_.tables.slots[b_].frame.rect.left = 6000;
  ws_.tables.slots[b_].frame.rect.top = 501;
  PlaceSlot(ws_, b_, 0, 0, 0, 0);
  Grid& g = ws_.TableGrid(a_);
  g.SetCols(30);
  MakeJoin(a_, 29, b_, 1);
  RedrawJoinLines(ws_);
  const TwipRect f = ws_.tables.slots[a_].frame.rect;
  const Control& first = ws_.tables.line2[0];
  ASSERT_TRUE(first.visible);
  EXPECT_EQ(first.rect.left + 25, RoundHalfEven(f.left + 120 + g.control.rect.width));
}

}  // namespace
}  // namespace mivora::testing
