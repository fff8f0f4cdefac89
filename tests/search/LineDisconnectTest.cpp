#include "search/LineDisconnect.h"
#include "search/SearchFixture.h"
#include "model/Constants.h"

namespace mivora::testing {
namespace {

const QString kQuestion = QStringLiteral("切断しますか ？");

// Two windows side by side, centres at y 1100; a line of three segments between them:
// a stub inside each window at the centre height and a bridge.
class LineDisconnectTest : public SearchFixture {
 protected:
  void SetUp() override {
    a_ = AddKeys(QStringLiteral("A"), Q({"1"}));
    b_ = AddKeys(QStringLiteral("B"), Q({"1"}));
    c_ = AddKeys(QStringLiteral("C"), Q({"1"}));
    ws_.tables.slots[a_].frame.rect = {600, 600, 2000, 1000};
    ws_.tables.slots[b_].frame.rect = {4000, 600, 2000, 1000};
    ws_.tables.slots[c_].frame.rect = {600, 3000, 2000, 1000};
    MakeJoin(a_, 1, b_, 1);
    MakeJoin(a_, 1, c_, 1);
    for (Control& s : ws_.tables.line2) s.visible = false;
    Segment(0, {2400, 1100, 100, 30});
    Segment(1, {2500, 1100, 1600, 30});
    Segment(2, {4100, 1100, 100, 30});
  }
  void Segment(int i, TwipRect r) {
    ws_.tables.line2[i].rect = r;
    ws_.tables.line2[i].visible = true;
    ws_.tables.line2[i].back_colour = kJoinLineColour;
  }
  int a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(LineDisconnectTest, AnswerDecidesAndColoursReturn) {
  struct {
    bool ok;
    bool hide_one_end;
    std::size_t joins_left;
  } cases[] = {{false, false, 2}, {true, true, 2}, {true, false, 1}};
  for (const auto& c : cases) {
    if (c.hide_one_end) ws_.tables.line2[2].visible = false;
    host_.answers = {c.ok};
    host_.questions.clear();
    DisconnectByLine(ws_, 1);
    EXPECT_EQ(host_.questions, QStringList{kQuestion});
    EXPECT_EQ(JoinedPairs().size(), c.joins_left) << c.ok << c.hide_one_end;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ws_.tables.line2[i].back_colour, kJoinLineColour);
    for (int m : ws_.search.segment_marks) ASSERT_EQ(m, 0);
    ws_.tables.line2[2].visible = true;
  }
  EXPECT_EQ(JoinedPairs(), (std::vector<std::pair<int, int>>{{a_, c_}}));
}

TEST_F(LineDisconnectTest, TraceMarksTheEndsAndColoursTheLine) {
  std::fill(ws_.search.segment_marks.begin(), ws_.search.segment_marks.end(), 0);
  TraceLineSegments(ws_, true, 1);
  EXPECT_EQ(ws_.search.segment_marks[0], a_);
  EXPECT_EQ(ws_.search.segment_marks[1], 1);
  EXPECT_EQ(ws_.search.segment_marks[2], b_);
  EXPECT_EQ(ws_.search.end_tables_found, 2);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ws_.tables.line2[i].back_colour, kJoinLineSelectedColour) << i;
  }
}

}  // namespace
}  // namespace mivora::testing
