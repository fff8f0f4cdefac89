#include "search/ReportColumns.h"
#include "search/ResultWindowCommands.h"
#include "search/Search.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

class ResultWindowTest : public SearchFixture {
 protected:
  // Fills grid window w: header row, in window 0 a tag row, then the data rows given as
  // (row number, text) pairs.
  Grid& Fill(int w, const std::vector<QStringList>& data) {
    Grid& g = ws_.result.windows[w].grid;
    g.SetRows(1);
    g.SetCols(2);
    g.SetText(0, 1, QStringLiteral("h"));
    if (w == 0) g.AppendRow(Q({"", "1/1"}));
    for (const QStringList& row : data) g.AppendRow(row);
    return g;
  }
  void Release(int w, int row, int col, int button, int shift = 0) {
    ws_.result.windows[w].grid.SetMouseCell(row, col);
    ResultGridMouseUp(ws_, w, MouseEvent{button, shift, 0, 0});
  }
  static QStringList Column(const Grid& g, int col) {
    QStringList out;
    for (int r = 0; r < g.Rows(); ++r) out.push_back(g.Text(r, col));
    return out;
  }
};

TEST_F(ResultWindowTest, LoadLaysOutTheTwoWindows) {
  const TableSlot& joined = ws_.result.windows[0];
  const TableSlot& result = ws_.result.windows[1];
  EXPECT_EQ(joined.frame.rect.height, 240);
  EXPECT_EQ(joined.grid.control.rect.height, 0);
  EXPECT_TRUE(joined.frame.visible);
  EXPECT_GT(result.frame.rect.top, joined.frame.rect.top + joined.frame.rect.height);
  EXPECT_GT(result.grid.control.rect.height, 0);
  EXPECT_EQ(result.grid.Text(0, 0), QStringLiteral("="));
}

TEST_F(ResultWindowTest, SortsDataRowsAndColumnZeroRestoresTheOrder) {
  struct {
    int window;
    int button;
    int shift;
    QStringList by_text;  // column 1 after sorting by it
  } cases[] = {           // Numbers before text, as numbers.
               {0, kMiddleButton, 0, Q({"h", "1/1", "9", "10", "a"})},
               {0, kLeftButton, kShiftMask, Q({"h", "1/1", "9", "10", "a"})},
               {1, kMiddleButton, 0, Q({"h", "9", "10", "a"})},
               {1, kLeftButton, kShiftMask | 2, Q({"h", "9", "a", "10"})}};  // Ctrl+Shift
  for (const auto& c : cases) {
    Grid& g = Fill(c.window, {Q({"1", "9"}), Q({"2", "a"}), Q({"3", "10"})});
    const QStringList search_order = Column(g, 1);
    Release(c.window, 0, 1, c.button, c.shift);
    EXPECT_EQ(Column(g, 1), c.by_text) << c.window << c.button << c.shift;
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(g.Col(), 1);
    Release(c.window, 0, 0, kMiddleButton);
    EXPECT_EQ(Column(g, 1), search_order);
    EXPECT_EQ(g.Col(), 0);
  }
}

// A search's grids show the tables' cells through row references; sorting them makes their
// cells their own, and sorting by the row numbers brings the search's order back.
TEST_F(ResultWindowTest, SearchGridsSortAndColumnZeroRestoresTheOrder) {
  const int a = AddTable(QStringLiteral("A"), Q({"k", "v"}),
                         {Q({"x", "long text 9"}), Q({"y", "a"}), Q({"x", "10"}), Q({"z", "b"})});
  const int b = AddTable(QStringLiteral("B"), Q({"k", "w"}), {Q({"x", "bx"}), Q({"y", "by"})});
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, a, 2);
  ToggleReportColumn(ws_, b, 2);
  RunSearch(ws_);
  Grid& g = ws_.result.windows[1].grid;
  ASSERT_EQ(Column(g, 1), Q({"v", "long text 9", "a", "10", "b"}));
  ASSERT_EQ(Column(g, 0), Q({"", "1", "2", "3", "4"}));
  Release(1, 0, 1, kMiddleButton);
  EXPECT_EQ(Column(g, 1), Q({"v", "10", "a", "b", "long text 9"}));
  EXPECT_EQ(Column(g, 2), Q({"w", "bx", "by", "--------", "bx"}));
  EXPECT_EQ(Column(g, 0), Q({"", "3", "2", "4", "1"}));
  Release(1, 0, 0, kMiddleButton);
  EXPECT_EQ(Column(g, 1), Q({"v", "long text 9", "a", "10", "b"}));
  EXPECT_EQ(Column(g, 2), Q({"w", "bx", "by", "bx", "--------"}));
}

TEST_F(ResultWindowTest, GridsWithoutDataRowsAreLeftAlone) {
  for (int w : {0, 1}) {
    Grid& g = Fill(w, {});
    const int rows = g.Rows();
    Release(w, 0, 1, kMiddleButton);
    EXPECT_EQ(g.Rows(), rows);
    EXPECT_EQ(g.Text(rows - 1, 1), w == 0 ? QStringLiteral("1/1") : QStringLiteral("h"));
  }
}

TEST_F(ResultWindowTest, RightReleaseOpensNonEmptyDataCells) {
  Grid& g = Fill(1, {Q({"1", "https://example.org/a"}), Q({"2", ""})});
  struct {
    int row, col, button;
    bool opens;
  } cases[] = {{1, 1, kRightButton, true},  {2, 1, kRightButton, false},
               {0, 1, kRightButton, false}, {1, 0, kRightButton, false},
               {1, 1, kLeftButton, false},  {9, 1, kRightButton, false}};  // row 9: last row
  for (const auto& c : cases) {
    host_.opened.clear();
    Release(1, c.row, c.col, c.button);
    EXPECT_EQ(host_.opened.size(), c.opens ? 1 : 0) << c.row << c.col;
  }
  EXPECT_EQ(g.Rows(), 3);
}

TEST_F(ResultWindowTest, PressBringsItsWindowToTheFront) {
  ResultGridMousePress(ws_, 0);
  ResultGridMousePress(ws_, 1);
  EXPECT_GT(ws_.result.windows[1].frame.z, ws_.result.windows[0].frame.z);
  ResultGridMousePress(ws_, 0);
  EXPECT_GT(ws_.result.windows[0].frame.z, ws_.result.windows[1].frame.z);
  EXPECT_GT(ws_.result.windows[0].grid.control.z, ws_.result.windows[0].frame.z);
}

TEST_F(ResultWindowTest, SaveStateNeedsAllWindowsNormal) {
  EXPECT_TRUE(SaveStateMenuEnabled(ws_));
  for (TopWindow* w : {&ws_.tables.window, &ws_.equations_window, &ws_.result.window}) {
    for (WindowState s : {WindowState::kMinimised, WindowState::kMaximised}) {
      w->state = s;
      EXPECT_FALSE(SaveStateMenuEnabled(ws_));
    }
    w->state = WindowState::kNormal;
  }
}

}  // namespace
}  // namespace mivora::testing
