#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionEvaluation.h"
#include "conditions/ConditionFilter.h"
#include "conditions/ConditionTexts.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

class ConditionFilterTest : public ConditionFixture {
 protected:
  void SetUp() override {
    FillJoined({u"Name"_s, u"Title"_s, u"*Name"_s, u"*Dept"_s, u"=Id"_s},
               {{u"Smith"_s, u"Sales"_s, u"Smith"_s, u"10"_s, u"1"_s},
                {u"Jones"_s, u"Sales"_s, u"Jones"_s, u"20"_s, u"2"_s},
                {u"Brown"_s, u"Audit"_s, u"Brown"_s, u"10"_s, u"3"_s}});
  }
  QStringList ResultRow(int row) const {
    const Grid& g = ws.result.ResultGrid();
    QStringList cells;
    for (int c = 0; c < g.Cols(); ++c) cells << g.Text(row, c);
    return cells;
  }
};

TEST_F(ConditionFilterTest, KeptRowsGetTheReportColumnsAndNumbers) {
  StoreConditionExpression(ws, u"Emp.Dept = 10"_s);
  FilterJoinedRows(ws);
  const Grid& g = ws.result.ResultGrid();
  ASSERT_EQ(g.Rows(), 3);
  ASSERT_EQ(g.Cols(), 3);
  EXPECT_EQ(ResultRow(0), (QStringList{QString(), u"Name"_s, u"Title"_s}));
  EXPECT_EQ(ResultRow(1), (QStringList{u"1"_s, u"Smith"_s, u"Sales"_s}));
  EXPECT_EQ(ResultRow(2), (QStringList{u"2"_s, u"Brown"_s, u"Audit"_s}));
  EXPECT_FALSE(g.MergeCol(0));
  EXPECT_TRUE(g.MergeCol(1));
  EXPECT_TRUE(g.MergeCol(2));
  EXPECT_EQ(host.last_progress_total, 0);
  EXPECT_TRUE(host.messages.isEmpty());
}

// A grid big enough to be read in two halves at once keeps its rows in order.
TEST_F(ConditionFilterTest, BigGridKeepsRowsInOrder) {
  Grid& g = ws.result.JoinedGrid();
  constexpr int kRows = 140000;
  for (int r = 0; r < kRows; ++r)
    g.AppendRow({QString::number(4 + r), u"n%1"_s.arg(r), u"t"_s, u"n"_s, r % 7 == 3 ? u"10"_s : u"20"_s, u"1"_s});
  StoreConditionExpression(ws, u"Emp.Dept = 10"_s);
  FilterJoinedRows(ws);
  const Grid& result = ws.result.ResultGrid();
  const int expected = 2 + (kRows + 3) / 7;  // Smith and Brown, then rows 3, 10, 17, ...
  ASSERT_EQ(result.Rows(), 1 + expected);
  EXPECT_EQ(ResultRow(2), (QStringList{u"2"_s, u"Brown"_s, u"Audit"_s}));
  for (int k = 3; k <= expected; ++k) {
    ASSERT_EQ(result.Text(k, 1), u"n%1"_s.arg(3 + 7 * (k - 3))) << k;
    ASSERT_EQ(result.Text(k, 0), QString::number(k)) << k;
  }
}

TEST_F(ConditionFilterTest, NoConditionKeepsEveryRow) {
  ws.result.ResultGrid().SetText(0, 0, u"="_s);
  FilterJoinedRows(ws);
  EXPECT_EQ(ws.result.ResultGrid().Rows(), 4);
  EXPECT_EQ(ResultRow(0)[0], QString());
  EXPECT_EQ(ResultRow(3), (QStringList{u"3"_s, u"Brown"_s, u"Audit"_s}));
}

TEST_F(ConditionFilterTest, ARepeatedSearchStartsFromAnEmptyResult) {
  StoreConditionExpression(ws, u"Emp.Name %=% o"_s);
  FilterJoinedRows(ws);
  StoreConditionExpression(ws, u"Emp.Name = Jones"_s);
  FilterJoinedRows(ws);
  ASSERT_EQ(ws.result.ResultGrid().Rows(), 2);
  EXPECT_EQ(ResultRow(1), (QStringList{u"1"_s, u"Jones"_s, u"Sales"_s}));
}

TEST_F(ConditionFilterTest, ParenthesisMessagesShowOncePerSearchAndNotWithoutRows) {
  StoreConditionExpression(ws, u"Emp.Name = f(x) Or  Emp.Dept = g(y)"_s);
  FilterJoinedRows(ws);
  EXPECT_EQ(host.messages, QStringList{LeftParenthesisMessage(u"e = f"_s)});

  host.messages.clear();
  FillJoined({u"Name"_s, u"*Name"_s}, {});
  FilterJoinedRows(ws);
  EXPECT_TRUE(host.messages.isEmpty());
  EXPECT_EQ(ws.result.ResultGrid().Rows(), 1);
  EXPECT_EQ(ResultRow(0), (QStringList{QString(), u"Name"_s}));
}

}  // namespace
}  // namespace mivora::testing
