#include <QString>

#include "search/ReportColumns.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

class ReportColumnsTest : public SearchFixture {
 protected:
  QString Select() const { return SelectTextPiece(ws_); }
};

TEST_F(ReportColumnsTest, ToggleTwiceRestoresEverything) {
  const int a = AddTable(QStringLiteral("A"), Q({"x", "y"}), {Q({"1", "2"})});
  const QString before = Select();
  EXPECT_EQ(before, QStringLiteral("Select \r\n"));
  ToggleReportColumn(ws_, a, 2);
  EXPECT_EQ(ReadReportColumn(ws_, 1), (ColumnRef{a, 2}));
  EXPECT_TRUE(ws_.TableGrid(a).CellBold(0, 2));
  EXPECT_EQ(ws_.TableGrid(a).Col(), 2);
  EXPECT_EQ(ws_.TableGrid(a).Row(), 0);
  EXPECT_EQ(ws_.conditions.state.sql_select_part, QStringLiteral("Select \r\nA.y\r\n From \r\nA"));
  ToggleReportColumn(ws_, a, 2);
  EXPECT_EQ(ReadReportColumn(ws_, 1), (ColumnRef{0, 0}));
  EXPECT_FALSE(ws_.TableGrid(a).CellBold(0, 2));
  EXPECT_EQ(ws_.conditions.state.sql_select_part, before);
}

TEST_F(ReportColumnsTest, FreedSlotIsTakenFirstAndGapsStay) {
  const int a = AddTable(QStringLiteral("A"), Q({"x"}), {});
  const int b = AddTable(QStringLiteral("B"), Q({"y"}), {});
  const int c = AddTable(QStringLiteral("C"), Q({"z"}), {});
  const int d = AddTable(QStringLiteral("D"), Q({"w"}), {});
  ToggleReportColumn(ws_, a, 1);
  ToggleReportColumn(ws_, b, 1);
  ToggleReportColumn(ws_, c, 1);
  ToggleReportColumn(ws_, a, 1);
  EXPECT_EQ(ReadReportColumn(ws_, 1), (ColumnRef{0, 0}));
  EXPECT_EQ(Select(), QStringLiteral("Select \r\nB.y , C.z\r\n From \r\nB , C"));
  ToggleReportColumn(ws_, d, 1);
  EXPECT_EQ(ReadReportColumn(ws_, 1), (ColumnRef{d, 1}));
  EXPECT_EQ(Select(), QStringLiteral("Select \r\nD.w , B.y , C.z\r\n From \r\nD , B , C"));
  EXPECT_EQ(ReadReportColumn(ws_, 0), std::nullopt);
  EXPECT_EQ(ReadReportColumn(ws_, 258), std::nullopt);
}

TEST_F(ReportColumnsTest, TablesOfTheSameNameAreListedOnce) {
  const int a1 = AddTable(QStringLiteral("A"), Q({"x", "z"}), {});
  const int a2 = AddTable(QStringLiteral("A"), Q({"q"}), {});
  const int b = AddTable(QStringLiteral("B"), Q({"y"}), {});
  ToggleReportColumn(ws_, a1, 1);
  ToggleReportColumn(ws_, b, 1);
  ToggleReportColumn(ws_, a2, 1);
  ToggleReportColumn(ws_, a1, 2);
  EXPECT_EQ(Select(), QStringLiteral("Select \r\nA.x , B.y , A.q , A.z\r\n From \r\nA , B"));
  RemoveReportColumns(ws_, a1);
  RemoveReportColumns(ws_, a2);
  EXPECT_EQ(Select(), QStringLiteral("Select \r\nB.y\r\n From \r\nB"));
  RemoveReportColumns(ws_, b);
  EXPECT_EQ(ws_.conditions.state.sql_select_part, QStringLiteral("Select \r\n"));
}

TEST_F(ReportColumnsTest, AFullListTakesNoMore) {
  QStringList headers;
  for (int i = 1; i <= kReportSlots + 1; ++i) headers.push_back(QString::number(i));
  const int a = AddTable(QStringLiteral("A"), headers, {});
  for (int c = 1; c <= kReportSlots + 1; ++c) ToggleReportColumn(ws_, a, c);
  EXPECT_EQ(ReadReportColumn(ws_, kReportSlots), (ColumnRef{a, kReportSlots}));
  EXPECT_FALSE(ws_.TableGrid(a).CellBold(0, kReportSlots + 1));
  ToggleReportColumn(ws_, a, 5);
  ToggleReportColumn(ws_, a, kReportSlots + 1);
  EXPECT_EQ(ReadReportColumn(ws_, 5), (ColumnRef{a, kReportSlots + 1}));
}

}  // namespace
}  // namespace mivora::testing
