#include <QString>
#include <utility>
#include <vector>

#include "conditions/ConditionEvaluation.h"
#include "conditions/ConditionFilter.h"
#include "conditions/ParsedCondition.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

// Report columns whose headers begin with the condition or the join prefix are still report
// columns: they reach the result, and no condition reads them as condition columns.
TEST_F(SearchFixture, ReportColumnsWithPrefixedHeadersStayReportColumns) {
  const int a = AddTable(QStringLiteral("A"), Q({"=id", "*v", "w"}),
                         {Q({"1", "7", "7"}), Q({"2", "8", "9"})});
  for (int col : {1, 2, 3}) ToggleReportColumn(ws_, a, col);
  ws_.conditions.condition_cells[0] = {a, 1, 3, 1};  // w as a condition column ("*w")

  RunSearch(ws_);
  const Grid& joined = ws_.result.JoinedGrid();
  ASSERT_EQ(RowTexts(joined, 0, 1), Q({"=id", "*v", "w", "*w"}));
  const Grid& result = ws_.result.ResultGrid();
  EXPECT_EQ(RowTexts(result, 0, 1), Q({"=id", "*v", "w"}));
  ASSERT_EQ(result.Rows(), 3);
  EXPECT_EQ(RowTexts(result, 2), Q({"2", "2", "8", "9"}));

  // "v" names only the report column "*v": no condition column, so no row holds.
  struct Case {
    const char* equation;
    int row;
    TruthValue expected;
  };
  for (const Case& c : std::vector<Case>{{"v = 7", 2, 0}, {"w = 7", 2, 1}, {"w = 7", 3, 0},
                                         {"id = 1", 2, 0}}) {
    const QString text = QString::fromUtf8(c.equation);
    EXPECT_EQ(EvaluateEquation(joined, text, c.row), c.expected) << c.equation;
    EXPECT_EQ(ParsedCondition(text, joined).Evaluate(joined, c.row), c.expected) << c.equation;
  }
}

// The progress clock starts while the root rows are filled: the first progress call counts
// the root's rows, before the columns are written.
TEST(SearchProgressTest, ProgressIsReportedWhileTheRootRowsAreFilled) {
  struct ProgressHost : FakeHost {
    void ShowProgress(std::int64_t done, std::int64_t total) override {
      calls.push_back({done, total});
      FakeHost::ShowProgress(done, total);
    }
    std::vector<std::pair<std::int64_t, std::int64_t>> calls;
  } host;
  Workspace ws{host};
  StartUp(ws, {});
  const int slot = AllocateSlot(ws, 0, 0, 0, 0);
  Grid& g = ws.TableGrid(slot);
  g.SetRows(1);
  g.SetCols(2);
  g.SetText(0, 0, QStringLiteral("T"));
  g.SetText(0, 1, QStringLiteral("k"));
  for (int r = 1; r <= 5; ++r) g.AppendRow({QString::number(r), QStringLiteral("x")});
  ToggleReportColumn(ws, slot, 1);

  RunSearch(ws);
  ASSERT_FALSE(host.calls.empty());
  EXPECT_EQ(host.calls.front(), std::make_pair(std::int64_t{0}, std::int64_t{5}));
  EXPECT_EQ(host.calls.back(), std::make_pair(std::int64_t{0}, std::int64_t{0}));
}

}  // namespace
}  // namespace mivora::testing
