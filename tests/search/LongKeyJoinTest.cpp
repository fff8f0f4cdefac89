#include "SearchFixture.h"
#include "search/ReportColumns.h"
#include "search/Search.h"

namespace mivora::testing {
namespace {

// Keys of 2^24 ± 5 bytes that differ only near their end, ASCII and not: each row of A finds
// exactly its own partner in B. Waits for the column index to keep lengths of 2^24 bytes and
// more (its record holds 24 bits today); enable it with that change.
class LongKeyJoinTest : public SearchFixture {};

TEST_F(LongKeyJoinTest, KeysAroundSixteenMebibytesJoinTheirOwnPartners) {
  QStringList keys;
  for (qsizetype length : {(qsizetype{1} << 24) - 5, qsizetype{1} << 24, (qsizetype{1} << 24) + 5}) {
    for (const QString& unit : {QStringLiteral("k"), QStringLiteral("鍵")}) {
      const qsizetype units = unit == QStringLiteral("k") ? length : length / 3;
      QString key = unit.repeated(units);
      keys << key + QStringLiteral("1") << key + QStringLiteral("2");
    }
  }
  std::vector<QStringList> a_rows, b_rows;
  for (int i = 0; i < keys.size(); ++i) {
    a_rows.push_back({keys[i], QString::number(i)});
    b_rows.push_back({keys[keys.size() - 1 - i], QStringLiteral("b") + QString::number(keys.size() - 1 - i)});
  }
  const int a = AddTable(QStringLiteral("A"), Q({"k", "n"}), a_rows);
  const int b = AddTable(QStringLiteral("B"), Q({"k", "m"}), b_rows);
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, a, 2);
  ToggleReportColumn(ws_, b, 2);
  BuildJoinedGrid(ws_);
  const Grid& g = ws_.result.JoinedGrid();
  ASSERT_EQ(g.Rows(), 2 + keys.size());
  int n_col = -1, m_col = -1;
  for (int c = 1; c < g.Cols(); ++c) {
    if (g.Text(0, c) == QStringLiteral("n")) n_col = c;
    if (g.Text(0, c) == QStringLiteral("m")) m_col = c;
  }
  ASSERT_GT(n_col, 0);
  ASSERT_GT(m_col, 0);
  for (int r = 2; r < g.Rows(); ++r)
    EXPECT_EQ(QStringLiteral("b") + g.Text(r, n_col), g.Text(r, m_col)) << "joined row " << r;
}

}  // namespace
}  // namespace mivora::testing
