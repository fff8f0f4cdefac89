#include <gtest/gtest.h>

#include "conditions/ConditionCells.h"
#include "conditions/EquationBoxes.h"
#include "search/ReportColumns.h"
#include "search/SearchFixture.h"
#include "workspace/TableRemoval.h"

namespace mivora {
namespace {

using testing::Q;

class TableRemoval : public testing::SearchFixture {
 protected:
  // A(4) joined to B(5), C(6) and D(7) in consecutive join slots, B to E(8) after them,
  // a gesture begun on A, report columns and equation boxes on A and B.
  void SetUp() override {
    a_ = AddTable(QStringLiteral("A"), Q({"id", "name"}), {Q({"1", "x"}), Q({"2", "y"})});
    b_ = AddKeys(QStringLiteral("B"), Q({"1", "2"}));
    c_ = AddKeys(QStringLiteral("C"), Q({"1"}));
    d_ = AddKeys(QStringLiteral("D"), Q({"2"}));
    e_ = AddKeys(QStringLiteral("E"), Q({"1"}));
    MakeJoin(a_, 1, b_, 1);
    MakeJoin(c_, 1, a_, 1);
    MakeJoin(a_, 1, d_, 1);
    MakeJoin(b_, 1, e_, 1);
    ToggleReportColumn(ws_, a_, 2);
    ToggleReportColumn(ws_, b_, 1);
    CreateEquationBox(ws_, a_, 1, 2);
    CreateEquationBox(ws_, b_, 2, 1);
    CreateEquationBox(ws_, a_, 2, 1);
    JoinClick(ws_, a_, 2);  // begun, not completed
    TableFileName(ws_, QStringLiteral("/data/A.csv"), a_);
    ws_.tables.popup_table = a_;
  }
  int a_ = 0, b_ = 0, c_ = 0, d_ = 0, e_ = 0;
};

TEST_F(TableRemoval, RemovesEverythingOfTheTableAndNothingElse) {
  ASSERT_EQ(JoinedPairs().size(), 4u);
  ASSERT_TRUE(ws_.tables.line1.visible);
  const int rows = ws_.TableGrid(a_).Rows();
  const int cols = ws_.TableGrid(a_).Cols();

  RemovePopupTable(ws_);

  EXPECT_EQ(JoinedPairs(), (std::vector<std::pair<int, int>>{{b_, e_}}));
  Join j;
  ReadJoin(ws_, 2, j);
  EXPECT_EQ(j, Join{}) << "the pending join from the table is gone";
  EXPECT_FALSE(ws_.tables.line1.visible);
  EXPECT_TRUE(ws_.search.join_draw_state.isEmpty());

  for (int n = 1; n <= kReportSlots; ++n) EXPECT_NE(ReadReportColumn(ws_, n)->table, a_) << n;
  EXPECT_EQ(ReadReportColumn(ws_, 2), (ColumnRef{b_, 1}));
  int boxes_left = 0;
  for (int n = 1; n <= kConditionCellCount; ++n) {
    if (auto cell = ReadConditionCell(ws_, n)) {
      EXPECT_EQ(cell->table, b_);
      ++boxes_left;
    }
  }
  EXPECT_EQ(boxes_left, 1);
  EXPECT_TRUE(host_.questions.isEmpty()) << "boxes are deleted without asking";

  const Grid& g = ws_.TableGrid(a_);
  EXPECT_EQ(g.Rows(), rows);
  EXPECT_EQ(g.Cols(), cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) EXPECT_TRUE(g.IsEmpty(r, c)) << r << "," << c;
  EXPECT_FALSE(ws_.tables.SlotInUse(a_));
  EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), a_), QString());
  EXPECT_EQ(ws_.cell_store.Column(a_, 1).Size(), 0) << "its join-column index is given back";

  // The SQL text no longer names the table.
  const ConditionState& st = ws_.conditions.state;
  for (const QString& piece : {st.sql_select_part, st.sql_join_part, st.sql_condition_part})
    EXPECT_FALSE(piece.contains(QStringLiteral("A."))) << piece.toStdString();
  EXPECT_TRUE(st.sql_join_part.contains(QStringLiteral("B.k=E.k")));

  // The next table reuses the slot, with nothing of the old one.
  const int f = AddKeys(QStringLiteral("F"), Q({"9"}));
  EXPECT_EQ(f, a_);
  EXPECT_EQ(ws_.TableGrid(f).Text(0, 0), QStringLiteral("F"));
  EXPECT_EQ(ws_.TableGrid(f).Text(1, 1), QStringLiteral("9"));
  MakeJoin(f, 1, c_, 1);
  EXPECT_EQ(JoinedPairs().size(), 2u);
}

TEST_F(TableRemoval, OtherTablesKeepTheirSlots) {
  ws_.tables.popup_table = c_;
  RemovePopupTable(ws_);
  EXPECT_FALSE(ws_.tables.SlotInUse(c_));
  for (int s : {a_, b_, d_, e_}) EXPECT_TRUE(ws_.tables.SlotInUse(s)) << s;
  EXPECT_EQ(JoinedPairs(), (std::vector<std::pair<int, int>>{{a_, b_}, {a_, d_}, {b_, e_}}));
  EXPECT_TRUE(ws_.tables.line1.visible) << "a gesture begun on another table goes on";
}

}  // namespace
}  // namespace mivora
