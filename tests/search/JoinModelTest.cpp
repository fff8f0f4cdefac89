#include <QString>

#include "search/ColumnIndex.h"
#include "search/JoinModel.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

const QString kCycle = QStringLiteral("循還です ！");

class JoinModelTest : public SearchFixture {
 protected:
  // Tables A, B, C, D (slots in t_[0..3]) with columns x and y.
  void AddFour() {
    for (const char* name : {"A", "B", "C", "D"}) {
      t_.push_back(AddTable(QString::fromUtf8(name), Q({"x", "y"}), {Q({"1", "2"})}));
    }
  }
  std::vector<int> t_;
};

struct JoinCase {
  const char* name;
  std::vector<std::array<int, 4>> joins;      // table index, column, table index, column
  std::vector<std::pair<int, int>> expected;  // table indexes of the valid joins
  int cycle_messages;
};

class JoinListCases : public JoinModelTest, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(JoinListCases, KeepsAForestOfJoins) {
  AddFour();
  for (const auto& j : GetParam().joins) MakeJoin(t_[j[0]], j[1], t_[j[2]], j[3]);
  std::vector<std::pair<int, int>> expected;
  for (auto [a, b] : GetParam().expected) expected.push_back({t_[a], t_[b]});
  EXPECT_EQ(JoinedPairs(), expected);
  EXPECT_EQ(host_.messages.count(kCycle), GetParam().cycle_messages);
  // No pending join stays behind a completed or refused one.
  Join slot;
  EXPECT_EQ(ReadJoin(ws_, static_cast<int>(expected.size()) + 1, slot), 0);
  EXPECT_EQ(slot, Join{});
}

INSTANTIATE_TEST_SUITE_P(
    Joins, JoinListCases,
    ::testing::Values(
        JoinCase{"Chain", {{0, 1, 1, 1}, {1, 2, 2, 1}}, {{0, 1}, {1, 2}}, 0},
        JoinCase{
            "TriangleRefused", {{0, 1, 1, 1}, {1, 1, 2, 1}, {2, 1, 0, 2}}, {{0, 1}, {1, 2}}, 1},
        JoinCase{"SecondJoinOfTwoTablesRefused", {{0, 1, 1, 1}, {0, 2, 1, 2}}, {{0, 1}}, 1},
        JoinCase{"ReverseDoubleRefused", {{0, 1, 1, 1}, {1, 2, 0, 2}}, {{0, 1}}, 1},
        JoinCase{"SameTableMakesNothing", {{0, 1, 0, 2}}, {}, 0},
        JoinCase{"TwoTreesJoined",
                 {{0, 1, 1, 1}, {2, 1, 3, 1}, {1, 2, 2, 2}},
                 {{0, 1}, {2, 3}, {1, 2}},
                 0},
        JoinCase{"SquareRefused",
                 {{0, 1, 1, 1}, {1, 2, 2, 1}, {2, 2, 3, 1}, {3, 2, 0, 2}},
                 {{0, 1}, {1, 2}, {2, 3}},
                 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoinModelTest, RemovalShiftsLaterSlotsDown) {
  std::vector<int> t;
  for (int i = 0; i < 6; ++i) t.push_back(AddKeys(QString::number(i), Q({"1"})));
  for (int i = 0; i < 5; ++i) MakeJoin(t[i], 1, t[i + 1], 1);
  RemoveJoin(ws_, t[2], t[1]);  // slot 2, named the other way round
  EXPECT_EQ(JoinedPairs(), (std::vector<std::pair<int, int>>{
                               {t[0], t[1]}, {t[2], t[3]}, {t[3], t[4]}, {t[4], t[5]}}));
  Join j;
  EXPECT_EQ(ReadJoin(ws_, 5, j), 0);
  EXPECT_EQ(j, Join{});
  RemoveJoin(ws_, t[0], t[5]);  // not joined: nothing
  EXPECT_EQ(JoinedPairs().size(), 4u);
}

TEST_F(JoinModelTest, SixtyFourJoinsFillTheList) {
  std::vector<int> t;
  for (int i = 0; i <= kJoinSlots; ++i) t.push_back(AddKeys(QString::number(i), Q({"1"})));
  for (int i = 0; i < kJoinSlots; ++i) MakeJoin(t[i], 1, t[i + 1], 1);
  ASSERT_EQ(JoinedPairs().size(), 64u);
  Join j;
  EXPECT_EQ(ReadJoin(ws_, 64, j), 64);
  EXPECT_EQ(ReadJoin(ws_, 65, j), -1);

  EXPECT_FALSE(BeginJoin(ws_, t[0], 1));
  EXPECT_EQ(host_.messages.back(), QStringLiteral("結合は 64 個までです。"));
  EXPECT_FALSE(ws_.tables.line1.visible);

  RemoveJoin(ws_, t[10], t[11]);
  EXPECT_EQ(ReadJoin(ws_, 64, j), 0);
  EXPECT_EQ(j, Join{});
  EXPECT_EQ(ReadJoin(ws_, 10, j), 10);
  EXPECT_EQ(j.departure_table, t[9]);
  EXPECT_EQ(ReadJoin(ws_, 11, j), 11);
  EXPECT_EQ(j.departure_table, t[11]);
}

TEST_F(JoinModelTest, CancelledJoinKeepsItsSlotForTheNextBegin) {
  AddFour();
  JoinClick(ws_, t_[0], 1);
  EXPECT_EQ(ws_.search.join_draw_state, JoinWorking());
  CancelJoin(ws_);
  EXPECT_TRUE(ws_.search.join_draw_state.isEmpty());
  EXPECT_FALSE(ws_.tables.line1.visible);
  Join j;
  EXPECT_EQ(ReadJoin(ws_, 1, j), 0);
  EXPECT_EQ(j.departure_table, t_[0]);

  JoinClick(ws_, t_[1], 2);  // begins again, in the same slot
  EXPECT_EQ(ws_.search.join_draw_state, JoinWorking());
  ReadJoin(ws_, 1, j);
  EXPECT_EQ(j, (Join{t_[1], 2, 0, 0}));
  JoinClick(ws_, t_[2], 1);
  EXPECT_EQ(ws_.search.join_draw_state, JoinIdling());
  EXPECT_EQ(ReadJoin(ws_, 1, j), 1);
  EXPECT_EQ(j, (Join{t_[1], 2, t_[2], 1}));
  EXPECT_EQ(ReadJoin(ws_, 2, j), 0);
  EXPECT_EQ(j, Join{});
}

TEST_F(JoinModelTest, RemoveWithTableZeroDropsThePendingJoin) {
  AddFour();
  MakeJoin(t_[0], 1, t_[1], 1);
  BeginJoin(ws_, t_[2], 1);
  RemoveJoin(ws_, t_[2], 0);
  Join j;
  ReadJoin(ws_, 2, j);
  EXPECT_EQ(j, Join{});
  // A completion without a pending join makes nothing.
  CompleteJoin(ws_, t_[3], 1);
  EXPECT_EQ(JoinedPairs().size(), 1u);
  ReadJoin(ws_, 2, j);
  EXPECT_EQ(j, Join{});
}

TEST_F(JoinModelTest, RubberBandRunsFromTheHeaderCellCentre) {
  AddFour();
  TableSlot& s = ws_.tables.slots[t_[1]];
  s.frame.rect.left = 600;
  s.frame.rect.top = 900;
  s.grid.control.rect.left = 120;
  s.grid.control.rect.top = 120;
  s.grid.SetColWidth(0, 500);
  s.grid.SetColWidth(1, 1000);
  s.grid.SetColWidth(2, 800);

  TrackJoinLine(ws_, 1, 1);  // hidden: nothing moves
  EXPECT_EQ(ws_.tables.line1.x2, 0);
  JoinClick(ws_, t_[1], 2);
  const LineShape& band = ws_.tables.line1;
  EXPECT_TRUE(band.visible);
  EXPECT_FLOAT_EQ(band.x1, 600 + 120 + 500 + 1000 + 400);
  EXPECT_FLOAT_EQ(band.y1, 900 + 120 + 120);
  EXPECT_EQ(band.x2, band.x1);
  EXPECT_EQ(band.y2, band.y1);
  TrackJoinLine(ws_, 3000, 4000);
  EXPECT_EQ(band.x2, 3000);
  EXPECT_EQ(band.y2, 4000);
  EXPECT_FLOAT_EQ(band.x1, 2620);
  JoinClick(ws_, t_[2], 1);
  EXPECT_FALSE(band.visible);
}

TEST_F(JoinModelTest, JoinTextListsTheValidJoins) {
  const int a = AddTable(QStringLiteral("Orders"), Q({"id", "cust"}), {});
  const int b = AddTable(QStringLiteral("Cust"), Q({"no", "name"}), {});
  const int c = AddTable(QStringLiteral("Notes"), Q({"who"}), {});
  const QString empty = QStringLiteral(" Where \r\n\r\n\r\n AND ");
  EXPECT_EQ(JoinTextPiece(ws_), empty);
  BeginJoin(ws_, a, 2);
  EXPECT_EQ(ws_.conditions.state.sql_join_part, empty);  // a pending join is not listed
  CompleteJoin(ws_, b, 1);
  MakeJoin(c, 1, b, 2);
  const QString two =
      QStringLiteral(" Where \r\nOrders.cust=Cust.no AND Notes.who=Cust.name\r\n\r\n AND ");
  EXPECT_EQ(JoinTextPiece(ws_), two);
  EXPECT_EQ(ws_.conditions.state.sql_join_part, two);

  // A refused cycle leaves the text as it was.
  ws_.conditions.state.sql_join_part = QStringLiteral("unchanged");
  BeginJoin(ws_, a, 1);
  ws_.conditions.state.sql_join_part = QStringLiteral("unchanged");
  CompleteJoin(ws_, c, 1);
  EXPECT_EQ(ws_.conditions.state.sql_join_part, QStringLiteral("unchanged"));

  RemoveJoin(ws_, b, a);
  EXPECT_EQ(ws_.conditions.state.sql_join_part,
            QStringLiteral(" Where \r\nNotes.who=Cust.name\r\n\r\n AND "));
}

TEST_F(JoinModelTest, CompletingAJoinIndexesBothColumns) {
  const int a = AddTable(QStringLiteral("A"), Q({"x"}), {Q({"b"}), Q({"a"}), Q({"c"})});
  const int b = AddTable(QStringLiteral("B"), Q({"p", "q"}), {Q({"1", "z"}), Q({"2", "y"})});
  MakeJoin(a, 1, b, 2);
  const Gyou& ia = ws_.cell_store.Column(a, 1);
  ASSERT_EQ(ia.Size(), 3);
  EXPECT_EQ(ia.TextAt(1).toString(), QStringLiteral("a"));
  EXPECT_EQ(ia.RowAt(1), 2);
  EXPECT_EQ(ia.TextAt(3).toString(), QStringLiteral("c"));
  const Gyou& ib = ws_.cell_store.Column(b, 2);
  ASSERT_EQ(ib.Size(), 2);
  EXPECT_EQ(ib.TextAt(1).toString(), QStringLiteral("y"));
  EXPECT_EQ(ib.RowAt(1), 2);
}

}  // namespace
}  // namespace mivora::testing
