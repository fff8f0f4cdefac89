#include <gtest/gtest.h>

#include <limits>

#include "model/Grid.h"

namespace mivora {
namespace {

QStringList Q(std::initializer_list<const char*> texts) {
  QStringList out;
  for (const char* t : texts) out << QString::fromUtf8(t);
  return out;
}

Grid MakeGrid(std::initializer_list<std::initializer_list<const char*>> rows) {
  Grid g;
  g.SetCols(static_cast<int>(rows.begin()->size()));
  g.SetRows(0);
  for (const auto& r : rows) g.AppendRow(Q(r));
  return g;
}

QStringList Column(const Grid& g, int col) {
  QStringList out;
  for (int r = 0; r < g.Rows(); ++r) out << g.Text(r, col);
  return out;
}

TEST(Grid, GrowingKeepsCellsAndAddsEmptyOnes) {
  Grid g;
  EXPECT_EQ(g.Rows(), 1);
  EXPECT_EQ(g.Cols(), 1);
  g.SetText(0, 0, QStringLiteral("name"));
  for (int c = 2; c <= 4; ++c) {  // the header row grows one cell at a time
    g.SetCols(c);
    g.SetText(0, c - 1, QString::number(c));
  }
  g.SetRows(3);
  EXPECT_EQ(g.Text(0, 0), QStringLiteral("name"));
  EXPECT_EQ(g.Text(0, 3), QStringLiteral("4"));
  EXPECT_TRUE(g.IsEmpty(2, 3));
  EXPECT_THROW(g.SetText(0, 4, QStringLiteral("x")), GridError);
  EXPECT_THROW((void)g.Text(3, 0), GridError);
  EXPECT_THROW(g.SetRow(-1), GridError);
}

TEST(Grid, CellsHoldAnyTextIncludingTabsAndLineBreaks) {
  Grid g;
  g.SetCols(3);
  const QString odd = QStringLiteral("a\tb\r\nc \"q\" ①");
  g.AppendRow({QStringLiteral("1"), odd, QString(70000, u'x')});
  EXPECT_EQ(g.Text(1, 1), odd);
  EXPECT_EQ(g.Text(1, 2).size(), 70000);
  EXPECT_THROW(g.AppendRow({QStringLiteral("1"), {}, {}, {}}), GridError);
  // Overwriting a cell with text taken from the grid itself.
  g.SetTextUtf8(1, 2, g.TextUtf8(1, 1));
  EXPECT_EQ(g.Text(1, 2), odd);
}

// Texts of every length around the ones kept in a cell's handle, in every form: short ones,
// eight ASCII bytes (and eight that are not, or begin below 0x10), longer ones in the pool.
// Each reads back from the grid, after copying cells within a column, and after another
// grid's rows are appended.
TEST(Grid, TextsOfEveryFormReadBack) {
  const QByteArray texts[] = {"",
                              "a",
                              "1234567",
                              "O1234567",
                              "~~~~~~~~",
                              "\t1234567",
                              "ab\xe6\x9d\xb1\xe4\xba\xac",
                              "C12345678",
                              QByteArray(300, 'x'),
                              "\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f",
                              "xy",
                              "xyz",
                              "wxyz",
                              "\xe6\x9d\xb1",
                              "vwxyz",
                              "uvwxyz"};
  Grid g;
  g.SetCols(2);
  Grid tail;
  tail.SetCols(2);
  tail.SetRows(0);
  for (const QByteArray& t : texts) {
    const QByteArrayView cell(t);
    g.AppendRowUtf8(&cell, 1, 1);
    tail.AppendRowUtf8(&cell, 1, 1);
  }
  g.AppendRowsOf(std::move(tail));
  const int n = static_cast<int>(std::size(texts));
  ASSERT_EQ(g.Rows(), 1 + 2 * n);
  for (int r = 1; r < g.Rows(); ++r) {
    const QByteArray& t = texts[(r - 1) % n];
    EXPECT_EQ(g.TextUtf8(r, 1), t) << r;
    EXPECT_EQ(g.IsEmpty(r, 1), t.isEmpty()) << r;
  }
  // Each text copied onto the row below, from a view of the grid's own cell.
  for (int r = g.Rows() - 2; r >= 1; --r) g.SetTextUtf8(r + 1, 1, g.TextUtf8(r, 1));
  for (int r = 2; r < g.Rows(); ++r) EXPECT_EQ(g.TextUtf8(r, 1), texts[(r - 2) % n]) << r;
}

struct SortCase {
  const char* name;
  GridSortOrder order;
  QStringList keys;
  QStringList expected;
};

class GridSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(GridSort, SortsDataRowsAndKeepsTheHeader) {
  const SortCase& c = GetParam();
  Grid g;
  g.SetCols(2);
  g.SetText(0, 1, QStringLiteral("header"));
  for (int i = 0; i < c.keys.size(); ++i) g.AppendRow({QString::number(i + 1), c.keys[i]});
  g.SetCol(1);
  g.SetRow(1);
  g.SetRowSel(g.Rows() - 1);
  g.Sort(c.order);
  QStringList got = Column(g, 1);
  EXPECT_EQ(got.takeFirst(), QStringLiteral("header"));
  EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, GridSort,
    ::testing::Values(
        SortCase{"NumbersAsNumbers",
                 GridSortOrder::kGeneric,
                 {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("-1.5"),
                  QStringLiteral("100")},
                 {QStringLiteral("-1.5"), QStringLiteral("9"), QStringLiteral("10"),
                  QStringLiteral("100")}},
        SortCase{"NumbersBeforeTextTextIgnoringCase",
                 GridSortOrder::kGeneric,
                 {QStringLiteral("banana"), QStringLiteral("2"), QStringLiteral("Apple"),
                  QStringLiteral("apple"), QStringLiteral("")},
                 {QStringLiteral("2"), QStringLiteral(""), QStringLiteral("Apple"),
                  QStringLiteral("apple"), QStringLiteral("banana")}},
        SortCase{"AsciiAndOtherTextInOneOrder",
                 GridSortOrder::kGeneric,
                 {QStringLiteral("éclair"), QStringLiteral("Zebra"), QStringLiteral("apple"),
                  QStringLiteral("Éclair"), QStringLiteral("りんご")},
                 {QStringLiteral("apple"), QStringLiteral("Zebra"), QStringLiteral("Éclair"),
                  QStringLiteral("éclair"), QStringLiteral("りんご")}},
        SortCase{"NumericReadsLeadingNumbers",
                 GridSortOrder::kNumeric,
                 {QStringLiteral("12"), QStringLiteral("3x"), QStringLiteral("abc"),
                  QStringLiteral("-2")},
                 {QStringLiteral("-2"), QStringLiteral("abc"), QStringLiteral("3x"),
                  QStringLiteral("12")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Grid, SortRangeLeavesRowsOutsideInPlaceAndMovesColours) {
  // Joined-grid style: rows 0 and 1 stay when the sort starts at row 2.
  Grid g = MakeGrid({{"", "h"}, {"", "tag"}, {"1", "c"}, {"2", "a"}, {"3", "b"}});
  g.SetCellBackColourAt(2, 1, 255);
  g.SetCol(1);
  g.SetRow(2);
  g.SetRowSel(4);
  g.Sort(GridSortOrder::kGeneric);
  EXPECT_EQ(Column(g, 1), Q({"h", "tag", "a", "b", "c"}));
  EXPECT_EQ(Column(g, 0), Q({"", "", "2", "3", "1"}));
  EXPECT_EQ(g.CellBackColour(4, 1), 255u);
  EXPECT_EQ(g.CellBackColour(2, 1), 0u);
  // Sorting by the row-number column restores the load order.
  g.SetCol(0);
  g.SetRow(2);
  g.Sort(GridSortOrder::kNumeric);
  EXPECT_EQ(Column(g, 1), Q({"h", "tag", "c", "a", "b"}));
}

TEST(Grid, ColourZeroRestoresTheDefaultAndBoldIsSeparate) {
  Grid g = MakeGrid({{"t", "a"}, {"1", "x"}});
  g.SetRow(0);
  g.SetCol(1);
  g.SetCellBackColour(8438015);
  g.SetCellBold(true);
  EXPECT_EQ(g.CellBackColour(0, 1), 8438015u);
  g.SetCellBackColour(0);
  EXPECT_EQ(g.CellBackColour(0, 1), kDefaultCellColour);
  EXPECT_TRUE(g.CellBold(0, 1));
}

TEST(Grid, GeometryFollowsScrolling) {
  Grid g;
  g.SetCols(4);
  g.SetRows(50);
  g.SetRowHeight(240);
  for (int c = 0; c < 4; ++c) g.SetColWidth(c, 1000);
  g.control.rect = {120, 120, 2500, 1000};  // header + about 3 rows, col 0 + 1.5 columns
  EXPECT_TRUE(g.RowIsVisible(0));
  EXPECT_TRUE(g.RowIsVisible(4));
  EXPECT_FALSE(g.RowIsVisible(5));
  EXPECT_TRUE(g.ColIsVisible(2));
  EXPECT_FALSE(g.ColIsVisible(3));
  g.SetTopRow(10);
  g.SetLeftCol(2);
  EXPECT_FALSE(g.RowIsVisible(4));
  EXPECT_TRUE(g.RowIsVisible(10));
  g.SetRow(11);
  g.SetCol(3);
  EXPECT_FLOAT_EQ(g.CellTop(), 240 + 240);
  EXPECT_FLOAT_EQ(g.CellLeft(), 1000 + 1000);
  EXPECT_FLOAT_EQ(g.ColPos(3), 3000);
  EXPECT_FLOAT_EQ(g.RowPos(11), 11 * 240);
  EXPECT_EQ(g.RowAt(100), 0);
  EXPECT_EQ(g.RowAt(240 + 250), 11);
  EXPECT_EQ(g.ColAt(500), 0);
  EXPECT_EQ(g.ColAt(1500), 2);
}

TEST(Grid, ARowHeightNotAboveZeroIsRefused) {
  Grid g;
  g.SetRowHeight(300);
  for (float bad : {0.0f, -240.0f, std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_THROW(g.SetRowHeight(bad), GridError) << bad;
    EXPECT_FLOAT_EQ(g.RowHeight(0), 300) << "the height stays as it was";
  }
}

TEST(Grid, NewSlotCopiesSettingsButNoCells) {
  Grid tmpl = MakeGrid({{"t", "a"}, {"1", "x"}});
  tmpl.SetRowHeight(300);
  tmpl.control.back_colour = 42;
  Grid g;
  g.CopySettingsFrom(tmpl);
  EXPECT_EQ(g.Rows(), 1);
  EXPECT_EQ(g.Cols(), 1);
  EXPECT_FLOAT_EQ(g.RowHeight(1), 300);
  EXPECT_EQ(g.control.back_colour, 42u);
}

// A column showing another grid's cells through row references: what it shows, and that it
// keeps showing them when either grid changes afterwards.
class SharedColumn : public ::testing::Test {
 protected:
  void SetUp() override {
    source = MakeGrid({{"", "K"}, {"1", "a"}, {"2", "b"}, {"3", "c"}});
    view.SetCols(3);
    view.SetRows(2 + 5);
    view.SetText(0, 1, QStringLiteral("head"));
    view.SetText(1, 1, QStringLiteral("tag"));
    const std::vector<std::int32_t> refs = {3, 0, -1, 1, 3};
    view.ShareColumnCells(1, 2, source, 1, refs, "--------");
    view.ShowRowNumbers(0, 2, 5);
  }
  Grid source;
  Grid view;
};

TEST_F(SharedColumn, ShowsSourceRowsNoMatchEmptyAndNumbers) {
  EXPECT_EQ(Column(view, 1), Q({"head", "tag", "c", "--------", "", "a", "c"}));
  EXPECT_EQ(Column(view, 0), Q({"", "", "1", "2", "3", "4", "5"}));
  EXPECT_TRUE(view.IsEmpty(4, 1));
  EXPECT_FALSE(view.IsEmpty(2, 1));
  EXPECT_EQ(Column(view, 2), Q({"", "", "", "", "", "", ""}));
  ASSERT_TRUE(view.SharedRowsOf(1).has_value());
  EXPECT_EQ(view.SharedRowsOf(1)->first_row, 2);
  EXPECT_EQ(view.SharedSourceText(1, 2).toByteArray(), "b");
  EXPECT_EQ(view.SharedSourceText(1, 0).toByteArray(), "--------");
  EXPECT_FALSE(view.SharedRowsOf(0).has_value());
}

TEST_F(SharedColumn, LaterChangesOfTheSourceDoNotShow) {
  source.SetText(3, 1, QStringLiteral("changed"));
  source.SetRow(1);
  source.SetRowSel(3);
  source.SetCol(1);
  source.Sort(GridSortOrder::kGeneric);
  source.SetRows(2);
  source.AppendRow(Q({"9", "z"}));
  EXPECT_EQ(Column(view, 1), Q({"head", "tag", "c", "--------", "", "a", "c"}));
  const Grid::ColumnCells snapshot = source.SnapshotColumn(1, 1);
  source.SetText(1, 1, QStringLiteral("later"));
  EXPECT_EQ(snapshot.TextUtf8(0).toByteArray(), "a");
}

TEST_F(SharedColumn, WritingSortingAndShrinkingMakeItOrdinary) {
  view.SetText(3, 1, QStringLiteral("mine"));
  EXPECT_EQ(Column(view, 1), Q({"head", "tag", "c", "mine", "", "a", "c"}));
  EXPECT_FALSE(view.SharedRowsOf(1).has_value());
  view.SetRow(2);
  view.SetRowSel(6);
  view.SetCol(1);
  view.Sort(GridSortOrder::kGeneric);
  EXPECT_EQ(Column(view, 1), Q({"head", "tag", "", "a", "c", "c", "mine"}));
  EXPECT_EQ(Column(view, 0), Q({"", "", "3", "4", "1", "5", "2"}));
  view.SetRows(4);
  view.SetRows(7);
  EXPECT_EQ(Column(view, 0), Q({"", "", "3", "4", "", "", ""}));
  // The source is untouched by all this.
  EXPECT_EQ(Column(source, 1), Q({"K", "a", "b", "c"}));
}

TEST(Grid, RowNumbersPastTenThousandAreRightAndGrowingWritesNothing) {
  Grid g;
  g.SetRows(1 + 123456);
  g.ShowRowNumbers(0, 1, 123456);
  for (int k : {1, 9, 10, 99, 100, 9999, 10000, 99999, 100000, 123456})
    EXPECT_EQ(g.Text(k, 0), QString::number(k));
  Grid big;
  big.SetCols(4);
  big.SetRows(50'000'000);
  EXPECT_LT(big.MemoryBytes(), 1 << 20);
  big.SetText(3, 2, QStringLiteral("x"));
  EXPECT_EQ(big.Text(3, 2), QStringLiteral("x"));
  EXPECT_TRUE(big.IsEmpty(49'999'999, 2));
}

}  // namespace
}  // namespace mivora
