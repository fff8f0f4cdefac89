#include <QString>
#include <array>
#include <vector>

#include "search/ColumnIndex.h"
#include "search/ColumnTag.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

struct TableSpec {
  const char* name;
  QStringList headers;
  std::vector<QStringList> rows;
};

struct SearchCase {
  const char* name;
  std::vector<TableSpec> tables;
  std::vector<std::array<int, 4>> joins;    // table index, column, table index, column
  std::vector<std::pair<int, int>> report;  // table index, column
  std::vector<std::pair<int, int>> conditions;
  QStringList headers;            // row 0 from column 1
  std::vector<QStringList> rows;  // rows 2 and up, column 0 included
};

const QString kNo = NoMatchMark();

class SearchCases : public SearchFixture, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchCases, FillsTheJoinedGrid) {
  const SearchCase& c = GetParam();
  std::vector<int> slots;
  for (const TableSpec& t : c.tables) {
    slots.push_back(AddTable(QString::fromUtf8(t.name), t.headers, t.rows));
  }
  for (const auto& j : c.joins) MakeJoin(slots[j[0]], j[1], slots[j[2]], j[3]);
  for (auto [t, col] : c.report) ToggleReportColumn(ws_, slots[t], col);
  int n = 0;
  for (auto [t, col] : c.conditions) ws_.conditions.condition_cells[n++] = {slots[t], 1, col, n};

  BuildJoinedGrid(ws_);
  const Grid& g = ws_.result.JoinedGrid();
  EXPECT_EQ(RowTexts(g, 0, 1), c.headers);
  ASSERT_EQ(g.Rows(), static_cast<int>(c.rows.size()) + 2);
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    EXPECT_EQ(RowTexts(g, static_cast<int>(r) + 2), c.rows[r]) << "joined row " << r + 1;
  }
}

// A has one key column k; further columns as given.
INSTANTIATE_TEST_SUITE_P(
    Search, SearchCases,
    ::testing::Values(
        SearchCase{"DuplicateAndMissingKeys",
                   {{"A", Q({"k"}), {Q({"x"}), Q({"y"}), Q({"z"})}},
                    {"B", Q({"k", "v"}), {Q({"x", "v1"}), Q({"z", "v3"}), Q({"x", "v2"})}}},
                   {{0, 1, 1, 1}},
                   {{0, 1}, {1, 2}},
                   {},
                   Q({"k", "v", "=k", "=k"}),
                   {Q({"1", "x", "v1", "x", "x"}), Q({"2", "y", "--------", "y", "--------"}),
                    Q({"3", "z", "v3", "z", "z"}), Q({"4", "x", "v2", "x", "x"})}},
        SearchCase{"RootIsTheLastNewDeparture",
                   {{"A", Q({"x"}), {Q({"1"}), Q({"2"})}},
                    {"B", Q({"y", "z"}), {Q({"1", "p"}), Q({"2", "q"}), Q({"3", "r"})}},
                    {"C", Q({"w"}), {Q({"p"}), Q({"r"})}}},
                   {{0, 1, 1, 1}, {1, 2, 2, 1}},
                   {},
                   {},
                   Q({"=x", "=y", "=z", "=w"}),
                   {Q({"1", "1", "1", "p", "p"}), Q({"2", "2", "2", "q", "--------"}),
                    Q({"3", "--------", "3", "r", "r"})}},
        SearchCase{"RootStaysWhenTheDepartureColumnIsLaidOut",
                   {{"A", Q({"x"}), {Q({"1"}), Q({"2"})}},
                    {"B", Q({"y"}), {Q({"1"}), Q({"2"}), Q({"3"})}},
                    {"C", Q({"w"}), {Q({"1"}), Q({"3"})}}},
                   {{0, 1, 1, 1}, {1, 1, 2, 1}},
                   {},
                   {},
                   Q({"=x", "=y", "=w"}),
                   {Q({"1", "1", "1", "1"}), Q({"2", "2", "2", "--------"})}},
        SearchCase{"CopiesOfCopiesInOrder",
                   {{"A", Q({"k"}), {Q({"x"})}},
                    {"B", Q({"k", "v"}), {Q({"x", "b1"}), Q({"x", "b2"})}},
                    {"C", Q({"k", "w"}), {Q({"x", "c1"}), Q({"x", "c2"})}}},
                   {{0, 1, 1, 1}, {1, 1, 2, 1}},
                   {{1, 2}, {2, 2}},
                   {},
                   Q({"v", "w", "=k", "=k", "=k"}),
                   {Q({"1", "b1", "c1", "x", "x", "x"}), Q({"2", "b2", "c1", "x", "x", "x"}),
                    Q({"3", "b1", "c2", "x", "x", "x"}), Q({"4", "b2", "c2", "x", "x", "x"})}},
        SearchCase{"NoMatchFindsNothingFurtherEvenARealMark",
                   {{"A", Q({"k"}), {Q({"a"}), Q({"zz"})}},
                    {"B", Q({"k", "m"}), {Q({"a", "x"})}},
                    {"C", Q({"m", "n"}), {Q({"x", "n1"}), Q({"--------", "n2"})}}},
                   // Joined B-C first, so that A becomes the root.
                   {{1, 2, 2, 1}, {0, 1, 1, 1}},
                   {{2, 2}},
                   {},
                   Q({"n", "=m", "=m", "=k", "=k"}),
                   {Q({"1", "n1", "x", "x", "a", "a"}),
                    Q({"2", "--------", "--------", "--------", "zz", "--------"})}},
        SearchCase{
            "CaseAndTrailingSpaceDoNotMatch",
            {{"A", Q({"k"}), {Q({"Key"}), Q({"key "}), Q({"key"})}}, {"B", Q({"k"}), {Q({"key"})}}},
            {{0, 1, 1, 1}},
            {},
            {},
            Q({"=k", "=k"}),
            {Q({"1", "Key", "--------"}), Q({"2", "key ", "--------"}), Q({"3", "key", "key"})}},
        SearchCase{"HeaderOnlyJoinedTable",
                   {{"A", Q({"k"}), {Q({"a"}), Q({""})}}, {"B", Q({"k"}), {}}},
                   {{0, 1, 1, 1}},
                   {},
                   {},
                   Q({"=k", "=k"}),
                   {Q({"1", "a", "--------"}), Q({"2", "", "--------"})}},
        SearchCase{"OneTableWithoutJoin",
                   {{"A", Q({"k", "v"}), {Q({"a", "1"}), Q({"b", "2"})}}},
                   {},
                   {{0, 2}},
                   {{0, 1}},
                   Q({"v", "*k"}),
                   {Q({"1", "1", "a"}), Q({"2", "2", "b"})}},
        SearchCase{"UnjoinedTablesGiveNoRows",
                   {{"A", Q({"k"}), {Q({"a"})}}, {"B", Q({"k"}), {Q({"a"})}}},
                   {},
                   {{0, 1}, {1, 1}},
                   {},
                   Q({"k", "k"}),
                   {}},
        SearchCase{"SameSourceOncePerKind",
                   {{"A", Q({"k"}), {Q({"a"})}}, {"B", Q({"k"}), {Q({"a"})}}},
                   {{0, 1, 1, 1}},
                   {{0, 1}},
                   {{0, 1}, {0, 1}},
                   Q({"k", "*k", "=k", "=k"}),
                   {Q({"1", "a", "a", "a", "a"})}},
        SearchCase{
            "TableOutsideTheTreeStaysEmpty",
            {{"A", Q({"k"}), {Q({"a"})}}, {"B", Q({"k"}), {Q({"a"})}}, {"C", Q({"c"}), {Q({"q"})}}},
            {{0, 1, 1, 1}},
            {{2, 1}},
            {},
            Q({"c", "=k", "=k"}),
            {Q({"1", "", "a", "a"})}}),
    [](const auto& info) { return std::string(info.param.name); });

class SearchTest : public SearchFixture {};

TEST_F(SearchTest, TagsAndMergeFlagsOfTheColumns) {
  const int a = AddTable(QStringLiteral("A"), Q({"k", "v"}), {Q({"a", "1"})});
  const int b = AddTable(QStringLiteral("B"), Q({"k"}), {Q({"a"})});
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, a, 2);
  BuildJoinedGrid(ws_);
  const Grid& g = ws_.result.JoinedGrid();
  const QStringList tags = RowTexts(g, 1, 1);
  EXPECT_EQ(tags, (QStringList{MakeColumnTag(a, 2), MakeColumnTag(a, 1), MakeColumnTag(b, 1)}));
  EXPECT_FALSE(g.MergeCol(0));
  for (int c = 1; c < g.Cols(); ++c) EXPECT_TRUE(g.MergeCol(c)) << c;

  // The joined grid keeps its texts when a source table changes afterwards.
  ws_.TableGrid(b).SetText(1, 1, QStringLiteral("changed"));
  EXPECT_EQ(g.Text(2, 3), QStringLiteral("a"));
}

TEST_F(SearchTest, RemovingAllJoinsLeavesNoRows) {
  const int a = AddTable(QStringLiteral("A"), Q({"k"}), {Q({"a"})});
  const int b = AddTable(QStringLiteral("B"), Q({"k"}), {Q({"a"})});
  MakeJoin(a, 1, b, 1);
  BuildJoinedGrid(ws_);
  EXPECT_EQ(ws_.result.JoinedGrid().Rows(), 3);
  RemoveJoin(ws_, a, b);
  EXPECT_EQ(BuildJoinedGrid(ws_), JoinedGridOutcome::kNothingToJoin);
  EXPECT_EQ(ws_.result.JoinedGrid().Rows(), 2);
  EXPECT_EQ(ws_.result.JoinedGrid().Cols(), 1);
}

TEST_F(SearchTest, RunSearchSaysWhenTheTablesAreNotJoined) {
  const int a = AddTable(QStringLiteral("A"), Q({"k"}), {Q({"a"})});
  const int b = AddTable(QStringLiteral("B"), Q({"k"}), {Q({"a"})});
  const QString message = QStringLiteral("表が結合されていません。結合してから検索してください。");
  struct Step {
    std::function<void()> change;
    bool message;
  } steps[] = {{[&] { ToggleReportColumn(ws_, a, 1); }, false},
               {[&] { ToggleReportColumn(ws_, b, 1); }, true},
               {[&] { MakeJoin(a, 1, b, 1); }, false}};
  for (const Step& s : steps) {
    s.change();
    host_.messages.clear();
    RunSearch(ws_);
    EXPECT_EQ(host_.messages.contains(message), s.message);
    EXPECT_EQ(host_.wait_cursor_depth, 0);
    EXPECT_EQ(host_.last_progress_total, 0);
  }
}

TEST(ColumnTagTest, ReadsWholeNumbersBack) {
  EXPECT_EQ(ParseColumnTag(MakeColumnTag(5, 3)), (ColumnRef{5, 3}));
  EXPECT_EQ(ParseColumnTag(QStringLiteral("12/1234")), (ColumnRef{12, 1234}));
  EXPECT_FALSE(ParseColumnTag(QStringLiteral("12")));
  EXPECT_FALSE(ParseColumnTag(QStringLiteral("x/1")));
}

}  // namespace
}  // namespace mivora::testing

namespace mivora::testing {
namespace {

QStringList JoinedTexts(const Grid& g) {
  QStringList out;
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList cells;
    for (int c = 0; c < g.Cols(); ++c) cells << g.Text(r, c);
    out << cells.join(u'|');
  }
  return out;
}

// The lookups merge the two join columns' indexes when the near one is up to date and fall
// back to bisecting each key otherwise; both must give the same rows in the same order.
TEST_F(SearchTest, SameRowsWithAFreshOrAStaleNearIndex) {
  const int a = AddKeys(QStringLiteral("A"), Q({"k2", "k1", "zz", "k2", "k3", "k1"}));
  const int b = AddTable(
      QStringLiteral("B"), Q({"k", "v"}),
      {Q({"k1", "b1"}), Q({"k2", "b2"}), Q({"k1", "b3"}), Q({"k9", "b4"}), Q({"k1", "b5"})});
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, b, 2);
  BuildJoinedGrid(ws_);
  const QStringList fresh = JoinedTexts(ws_.result.JoinedGrid());
  ASSERT_GT(ws_.result.JoinedGrid().Rows(), 8);
  // A row added after the join leaves A's index one entry short: the fallback runs.
  ws_.TableGrid(a).AppendRow(Q({"7", "k2"}));
  BuildJoinedGrid(ws_);
  QStringList stale = JoinedTexts(ws_.result.JoinedGrid());
  BuildColumnIndex(ws_, a, 1);
  BuildJoinedGrid(ws_);
  EXPECT_EQ(stale, JoinedTexts(ws_.result.JoinedGrid()));
  // Without the new row's copies the grid is the one made before.
  EXPECT_EQ(stale.mid(0, 8), fresh.mid(0, 8));
}

// The joined grid shows the texts of the search that made it, whatever happens to the
// tables afterwards.
TEST_F(SearchTest, JoinedGridKeepsItsTextsWhenATableChanges) {
  const int a = AddKeys(QStringLiteral("A"), Q({"x", "y"}));
  const int b = AddTable(QStringLiteral("B"), Q({"k", "v"}), {Q({"x", "bx"}), Q({"y", "by"})});
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, b, 2);
  BuildJoinedGrid(ws_);
  const QStringList before = JoinedTexts(ws_.result.JoinedGrid());
  Grid& gb = ws_.TableGrid(b);
  gb.SetText(1, 2, QStringLiteral("changed"));
  gb.SetCol(2);
  gb.SetRow(1);
  gb.SetRowSel(2);
  gb.Sort(GridSortOrder::kGeneric);
  gb.SetRows(1);
  gb.SetCols(1);
  EXPECT_EQ(JoinedTexts(ws_.result.JoinedGrid()), before);
}

}  // namespace
}  // namespace mivora::testing
