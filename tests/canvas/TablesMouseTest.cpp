#include <QString>

#include "canvas/TablesMouse.h"
#include "model/Constants.h"
#include "conditions/ConditionCells.h"
#include "search/ColumnIndex.h"
#include "search/ReportColumns.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

constexpr int kCtrl = 2;

class TablesMouseTest : public SearchFixture {
 protected:
  void SetUp() override {
    a_ = AddTable(QStringLiteral("A"), Q({"k", "v"}),
                  {Q({"b", "https://example.org"}), Q({"a", ""}), Q({"c", "x.Csv.bak"})});
    b_ = AddTable(QStringLiteral("B"), Q({"k"}), {Q({"a"}), Q({"b"})});
  }
  TablesMouseAction Up(int slot, int row, int col, int button, int shift = 0) {
    ws_.TableGrid(slot).SetMouseCell(row, col);
    return TablesGridMouseUp(ws_, slot, MouseEvent{button, shift, 0, 0});
  }
  QStringList Keys(int slot) const {
    QStringList out;
    for (int r = 1; r < ws_.TableGrid(slot).Rows(); ++r)
      out.push_back(ws_.TableGrid(slot).Text(r, 1));
    return out;
  }
  int a_ = 0, b_ = 0;
};

TEST_F(TablesMouseTest, RightOnTheCornerCellOpensTheTablePopup) {
  EXPECT_EQ(Up(b_, 0, 0, kRightButton), TablesMouseAction::kTablePopupMenu);
  EXPECT_EQ(ws_.tables.popup_table, b_);
  EXPECT_EQ(Up(b_, 0, 0, kLeftButton), TablesMouseAction::kNone);
  EXPECT_EQ(Up(b_, 0, 1, kRightButton), TablesMouseAction::kNone);
}

TEST_F(TablesMouseTest, TwoRightClicksOnHeadersMakeAJoin) {
  Up(a_, 0, 1, kRightButton);
  EXPECT_EQ(ws_.search.join_draw_state, JoinWorking());
  EXPECT_TRUE(ws_.tables.line1.visible);
  Up(b_, 0, 1, kRightButton);
  EXPECT_EQ(JoinedPairs(), (std::vector<std::pair<int, int>>{{a_, b_}}));
  EXPECT_FALSE(ws_.tables.line1.visible);
  // The new join is routed: its pieces are shown, the last one in the entering colour.
  int shown = 0, entering = 0;
  for (const Control& c : ws_.tables.line2) {
    shown += c.visible;
    entering += c.visible && c.back_colour == kJoinLineLastColour;
  }
  EXPECT_GE(shown, 2);
  EXPECT_EQ(entering, 1);
}

TEST_F(TablesMouseTest, ReleaseOnTheCanvasCancelsTheGesture) {
  Up(a_, 0, 1, kRightButton);
  struct {
    int button;
    const char* hint_picture;
    TablesMouseAction action;
  } cases[] = {{kRightButton, "", TablesMouseAction::kCanvasMenu},
               {kLeftButton, ".\\F3MaskLCR.bmp", TablesMouseAction::kAboutBox},
               {kLeftButton, ".\\F16MaskR.bmp", TablesMouseAction::kNone},
               {kMiddleButton, "", TablesMouseAction::kNone}};
  for (const auto& c : cases) {
    ws_.search.join_draw_state = JoinWorking();
    ws_.tables.line1.visible = true;
    ws_.tables.default_hint_picture = QString::fromUtf8(c.hint_picture);
    EXPECT_EQ(TablesCanvasMouseUp(ws_, MouseEvent{c.button, 0, 0, 0}), c.action);
    EXPECT_TRUE(ws_.search.join_draw_state.isEmpty());
    EXPECT_FALSE(ws_.tables.line1.visible);
  }
  // The next header click begins a new join in the abandoned slot.
  Up(b_, 0, 1, kRightButton);
  Join j;
  ReadJoin(ws_, 1, j);
  EXPECT_EQ(j, (Join{b_, 1, 0, 0}));
}

TEST_F(TablesMouseTest, CanvasMenuDisablesResumeWhileAWindowIsNotNormal) {
  TablesCanvasMouseUp(ws_, MouseEvent{kRightButton, 0, 0, 0});
  EXPECT_TRUE(ws_.tables.resume_menu_enabled);
  ws_.equations_window.state = WindowState::kMinimised;
  TablesCanvasMouseUp(ws_, MouseEvent{kRightButton, 0, 0, 0});
  EXPECT_FALSE(ws_.tables.resume_menu_enabled);
}

TEST_F(TablesMouseTest, HeaderClicksToggleAndSortByTheShiftState) {
  struct {
    int button, shift;
    bool report;
    QStringList keys;
  } cases[] = {{kLeftButton, 0, true, Q({"b", "a", "c"})},
               {kLeftButton, kShiftMask, true, Q({"a", "b", "c"})},
               {kLeftButton, kShiftMask | kCtrl, true, Q({"b", "a", "c"})},
               {kMiddleButton, 0, false, Q({"a", "b", "c"})}};
  for (const auto& c : cases) {
    Up(a_, 0, 0, kMiddleButton);  // back to the load order
    ASSERT_EQ(Keys(a_), Q({"b", "a", "c"}));
    Up(a_, 0, 1, c.button, c.shift);
    EXPECT_EQ(ReadReportColumn(ws_, 1), (ColumnRef{c.report ? a_ : 0, c.report ? 1 : 0}))
        << c.button << c.shift;
    EXPECT_EQ(Keys(a_), c.keys) << c.button << c.shift;
    if (c.report) ToggleReportColumn(ws_, a_, 1);
  }
}

TEST_F(TablesMouseTest, SortingRebuildsTheIndexesOfTheTablesJoins) {
  MakeJoin(a_, 1, b_, 1);
  EXPECT_EQ(FindInColumnIndex(ws_, u"a", 1, 3, a_, 1).row, 2);
  Up(a_, 0, 1, kMiddleButton);
  EXPECT_EQ(FindInColumnIndex(ws_, u"a", 1, 3, a_, 1).row, 1);
  EXPECT_EQ(host_.wait_cursor_depth, 0);
}

TEST_F(TablesMouseTest, DataCellClicksTraceAndMakeEquationBoxes) {
  MakeJoin(a_, 1, b_, 1);
  struct {
    int button, shift;
    bool traced, box;
  } cases[] = {{kMiddleButton, 0, true, false},
               {kLeftButton, kShiftMask, true, true},
               {kLeftButton, 0, false, true},
               {kLeftButton, kShiftMask | kCtrl, false, true}};
  for (const auto& c : cases) {
    Up(a_, 2, 1, c.button, c.shift);
    EXPECT_EQ(ws_.TableGrid(b_).CellBackColour(1, 1) != kDefaultCellColour, c.traced)
        << c.button << c.shift;
    if (c.traced) Up(a_, 2, 1, kMiddleButton);  // clears the chain again
    std::optional<ConditionCell> cell = ReadConditionCell(ws_, 1);
    EXPECT_EQ(cell.has_value(), c.box) << c.button << c.shift;
    if (cell) {
      EXPECT_EQ(cell->table, a_);
      EXPECT_EQ(cell->row, 2);
      EXPECT_EQ(cell->column, 1);
      ws_.conditions.condition_cells.fill(ConditionCell{});
    }
  }
}

TEST_F(TablesMouseTest, RightOnADataCellOpensItsText) {
  const QString csv = TestData(QStringLiteral("sales.2000.csv"));
  ws_.TableGrid(b_).SetText(2, 1, csv);
  const int slots = ws_.tables.SlotCount();
  Up(a_, 1, 2, kRightButton);  // an address: to the desktop
  Up(a_, 2, 2, kRightButton);  // empty: nothing
  Up(a_, 1, 1, kLeftButton);   // not the right button
  EXPECT_EQ(host_.opened, Q({"https://example.org"}));
  Up(a_, 3, 2, kRightButton);  // ".Csv" inside a name: read as a table (it does not exist)
  EXPECT_FALSE(host_.messages.isEmpty() && host_.file_problems.isEmpty());
  Up(b_, 2, 1, kRightButton);
  EXPECT_EQ(host_.opened.size(), 1);
  int opened = 0;
  for (int slot = slots; slot < ws_.tables.SlotCount(); ++slot) {
    if (ws_.tables.SlotInUse(slot)) opened = slot;
  }
  ASSERT_NE(opened, 0);
  EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), opened), csv);
  EXPECT_EQ(ws_.TableGrid(opened).Text(1, 2), QStringLiteral("apple"));
}

TEST_F(TablesMouseTest, MovesFeedTheRubberBandInCanvasTwips) {
  TableSlot& s = ws_.tables.slots[a_];
  s.frame.rect = {1000, 2000, 3000, 1500};
  s.grid.control.rect = {120, 120, 2000, 1000};
  s.corner.rect = {2880, 1380, 120, 120};
  ws_.tables.line2[7].rect = {5000, 6000, 300, 30};
  const MouseEvent e{0, 0, 10, 20};
  struct {
    const char* where;
    std::function<void()> move;
    float x, y;
  } cases[] = {{"canvas", [&] { TablesCanvasMouseMove(ws_, e); }, 10, 20},
               {"grid", [&] { TablesGridMouseMove(ws_, a_, e); }, 1130, 2140},
               {"frame", [&] { TablesFrameMouseMove(ws_, a_, e); }, 1010, 2020},
               {"corner", [&] { TablesCornerMouseMove(ws_, a_, e); }, 3890, 3400},
               {"segment", [&] { TablesSegmentMouseMove(ws_, 7, e); }, 5010, 6020}};
  ws_.tables.line1.visible = true;
  for (const auto& c : cases) {
    c.move();
    EXPECT_EQ(ws_.tables.line1.x2, c.x) << c.where;
    EXPECT_EQ(ws_.tables.line1.y2, c.y) << c.where;
  }
}

TEST_F(TablesMouseTest, GridHandlersIgnoreSlotsBelowFour) {
  ws_.tables.line1.visible = true;
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_EQ(TablesGridMouseUp(ws_, slot, MouseEvent{kRightButton, 0, 0, 0}),
              TablesMouseAction::kNone);
    TablesGridMouseMove(ws_, slot, MouseEvent{0, 0, 5, 5});
  }
  EXPECT_EQ(ws_.tables.line1.x2, 0);
  EXPECT_TRUE(ws_.search.join_draw_state.isEmpty());
}

}  // namespace
}  // namespace mivora::testing
