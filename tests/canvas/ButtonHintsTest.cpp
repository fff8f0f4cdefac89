#include <gtest/gtest.h>

#include <QPointF>

#include "canvas/ButtonHints.h"
#include "canvas/HintSpots.h"
#include "conditions/EquationBoxes.h"
#include "search/SearchFixture.h"
#include "workspace/TablesMenu.h"

namespace mivora::testing {
namespace {

const QString kMaskLCR = QStringLiteral(".\\MaskLCR.bmp");
const QString kHeaderPicture = QStringLiteral(".\\F12MaskLCR.bmp");
const QString kDataPicture = QStringLiteral(".\\F14MaskLCR.bmp");

TEST(ShowButtonHint, LoadsOnANewNameAndMovesOnANewPoint) {
  ButtonHint hint;
  HintUpdate u = ShowButtonHint(hint, kMaskLCR, kHeaderPicture, 2000, 1000);
  EXPECT_TRUE(u.mask_changed && u.picture_changed && u.moved);
  EXPECT_EQ(hint.control.rect.left, 1300);
  EXPECT_EQ(hint.control.rect.top, 1000);
  // Same pair elsewhere: nothing to load, the hint follows the pointer.
  u = ShowButtonHint(hint, kMaskLCR, kHeaderPicture, 2100, 1050);
  EXPECT_FALSE(u.files_changed());
  EXPECT_TRUE(u.moved);
  EXPECT_EQ(hint.control.rect.left, 1400);
  // Header to data cell at the same point: only the picture, no move.
  u = ShowButtonHint(hint, kMaskLCR, kDataPicture, 2100, 1050);
  EXPECT_FALSE(u.mask_changed);
  EXPECT_TRUE(u.picture_changed);
  EXPECT_FALSE(u.moved);
  EXPECT_EQ(hint.picture_file, kDataPicture);
  // An empty picture name keeps the loaded picture.
  u = ShowButtonHint(hint, QStringLiteral(".\\MaskLR.bmp"), QString(), 2100, 1050);
  EXPECT_TRUE(u.mask_changed);
  EXPECT_FALSE(u.picture_changed);
  EXPECT_EQ(hint.picture_file, kDataPicture);
}

TEST(ShowButtonHint, AHiddenHintComesBackAtTheNextPoint) {
  ButtonHint hint;
  ShowButtonHint(hint, kMaskLCR, kHeaderPicture, 2000, 1000);
  HideButtonHint(hint);
  EXPECT_FALSE(hint.control.visible);
  // Back at the same point: shown and placed again, nothing reloaded.
  HintUpdate u = ShowButtonHint(hint, kMaskLCR, kHeaderPicture, 2000, 1000);
  EXPECT_TRUE(hint.control.visible);
  EXPECT_TRUE(u.moved);
  EXPECT_FALSE(u.files_changed());
  HideButtonHint(hint);
  ShowButtonHint(hint, kMaskLCR, kHeaderPicture, 5000, 3000);
  EXPECT_EQ(hint.control.rect.left, 4300);
  EXPECT_EQ(hint.control.rect.top, 3000);
}

// One table on the Tables canvas and one in each Result grid, an equation box made from it.
class HintSpotsTest : public SearchFixture {
 protected:
  void SetUp() override {
    // Enough rows that the table's vertical bar is shown.
    std::vector<QStringList> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({QString::number(i), QString::number(i % 7)});
    slot_ = AddTable(QStringLiteral("A"), Q({"k", "v"}), rows);
    PlaceSlot(ws_, slot_, 1000, 1000, 3000, 4000);
    for (TableSlot& w : ws_.result.windows) {
      w.grid.SetRows(3);
      w.grid.SetCols(3);
    }
    CreateEquationBox(ws_, slot_, 1, 1);
  }
  // Canvas point of a point given in a table window's grid twips.
  QPointF GridPoint(const TableSlot& s, float x, float y) const {
    return {s.frame.rect.left + s.grid.control.rect.left + x,
            s.frame.rect.top + s.grid.control.rect.top + y};
  }
  QPointF InChild(const TableSlot& s, const Control& bar, const Control& child) const {
    return {s.frame.rect.left + bar.rect.left + child.rect.left + child.rect.width / 2,
            s.frame.rect.top + bar.rect.top + child.rect.top + child.rect.height / 2};
  }
  int slot_ = 0;
};

TEST_F(HintSpotsTest, EverySpotOfTheThreeWindowsHasItsPair) {
  const TableSlot& t = ws_.tables.slots[slot_];
  const Grid& g = t.grid;
  const float col1 = g.ColWidth(0) + 10;
  const float row1 = g.RowHeight(0) + 10;
  const Control& bar0 = ws_.tables.slots[0].frame;
  const TableSlot& r = ws_.result.windows[1];
  const float r_left = r.frame.rect.left + r.grid.control.rect.left;
  const float r_top = r.frame.rect.top + r.grid.control.rect.top;
  const EquationBox& box = ws_.conditions.boxes[ws_.conditions.state.high_box];
  ASSERT_TRUE(box.live());
  // The box's handle in window twips, through the panels holding it.
  float bx = box.txt_hndl.rect.left, by = box.txt_hndl.rect.top;
  for (int p = box.container; p != kCanvas; p = ws_.conditions.panels[p].container) {
    bx += ws_.conditions.panels[p].kakko.rect.left;
    by += ws_.conditions.panels[p].kakko.rect.top;
  }
  const Control& root = ws_.conditions.panels[0].kakko;
  const Control& sql = ws_.conditions.cnd_equation;

  enum Window { kTables, kResult, kEquations };
  struct Case {
    const char* what;
    Window window;
    QPointF point;
    HintSpot spot;
    const char16_t* mask;
    const char16_t* picture;
  } cases[] = {
      {"empty canvas",
       kTables,
       {30, 30},
       HintSpot::kTablesCanvas,
       u".\\MaskLR.bmp",
       u".\\F3MaskLCR.bmp"},
      {"boundary bar",
       kTables,
       {bar0.rect.left + 1, bar0.rect.top + 1},
       HintSpot::kTablesCanvas,
       u".\\MaskLR.bmp",
       u".\\F3MaskLCR.bmp"},
      {"border",
       kTables,
       {t.frame.rect.left + 5, t.frame.rect.top + 5},
       HintSpot::kTablesBorder,
       u".\\MaskLR.bmp",
       u".\\F7MaskLR.bmp"},
      {"Corner", kTables, InChild(t, Control{}, t.corner), HintSpot::kTablesBorder,
       u".\\MaskLR.bmp", u".\\F7MaskLR.bmp"},
      {"header cell", kTables, GridPoint(t, col1, 10), HintSpot::kTablesHeaderCell,
       u".\\MaskLCR.bmp", u".\\F12MaskLCR.bmp"},
      {"data cell", kTables, GridPoint(t, col1, row1), HintSpot::kTablesDataCell, u".\\MaskLCR.bmp",
       u".\\F14MaskLCR.bmp"},
      {"row number", kTables, GridPoint(t, 10, row1), HintSpot::kTablesRowNumberCell,
       u".\\Mask.bmp", u".\\Mask.bmp"},
      {"corner cell", kTables, GridPoint(t, 10, 10), HintSpot::kTablesCornerCell, u".\\MaskCR.bmp",
       u".\\F9MaskCR.bmp"},
      {"slider", kTables, InChild(t, t.vsc_bar, t.vsldr), HintSpot::kTablesSlider, u".\\MaskL.bmp",
       u".\\F5MaskL.bmp"},
      {"track",
       kTables,
       {t.frame.rect.left + t.vsc_bar.rect.left + t.vsc_bar.rect.width / 2,
        t.frame.rect.top + t.vsc_bar.rect.bottom() - t.dn_arrow.rect.height - 5},
       HintSpot::kTablesTrack,
       u".\\Mask.bmp",
       u".\\F7MaskLR.bmp"},
      {"scroll arrow", kTables, InChild(t, t.vsc_bar, t.up_arrow), HintSpot::kNone, u"", u""},
      {"result empty",
       kResult,
       {5, 5},
       HintSpot::kResultEmpty,
       u".\\MaskR.bmp",
       u".\\F16MaskR.bmp"},
      {"result border",
       kResult,
       {r.frame.rect.left + 5, r.frame.rect.top + 5},
       HintSpot::kResultBorder,
       u".\\MaskLR.bmp",
       u".\\F7MaskLR.bmp"},
      {"result header",
       kResult,
       {r_left + r.grid.ColWidth(0) + 10, r_top + 10},
       HintSpot::kResultHeader,
       u".\\MaskC.bmp",
       u".\\F9MaskC.bmp"},
      {"result corner cell",
       kResult,
       {r_left + 10, r_top + 10},
       HintSpot::kResultHeader,
       u".\\MaskC.bmp",
       u".\\F9MaskC.bmp"},
      {"result data",
       kResult,
       {r_left + r.grid.ColWidth(0) + 10, r_top + r.grid.RowHeight(0) + 10},
       HintSpot::kResultDataCell,
       u".\\MaskR.bmp",
       u".\\F14MaskR.bmp"},
      {"result row number",
       kResult,
       {r_left + 10, r_top + r.grid.RowHeight(0) + 10},
       HintSpot::kResultRowNumberCell,
       u".\\Mask.bmp",
       u".\\Mask.bmp"},
      {"result track", kResult, InChild(r, r.vsc_bar, r.vsldr), HintSpot::kResultTrack,
       u".\\Mask.bmp", u".\\F5MaskL.bmp"},
      {"equations canvas",
       kEquations,
       {root.rect.right() + 200, 30},
       HintSpot::kEquationsCanvas,
       u".\\Mask.bmp",
       u".\\Mask.bmp"},
      {"panel border",
       kEquations,
       {root.rect.left + 20, root.rect.top + 200},
       HintSpot::kEquationsPanel,
       u".\\MaskLR.bmp",
       u".\\F7MaskLR.bmp"},
      {"And/Or label",
       kEquations,
       {root.rect.right() - 200, root.rect.bottom() - 200},
       HintSpot::kEquationsLabel,
       u".\\MaskL.bmp",
       u".\\F21MaskL.bmp"},
      {"handle at 119",
       kEquations,
       {bx + 119, by + 10},
       HintSpot::kEquationsHandleDelete,
       u".\\MaskLR.bmp",
       u".\\F22MaskLr.bmp"},
      {"handle at 120",
       kEquations,
       {bx + 120, by + 10},
       HintSpot::kEquationsHandleEdge,
       u".\\MaskLR.bmp",
       u""},
      {"handle's right strip",
       kEquations,
       {bx + box.txt_hndl.rect.width - 60, by + 10},
       HintSpot::kEquationsHandleWidth,
       u".\\MaskLR.bmp",
       u".\\F7MaskLR.bmp"},
      {"box text field",
       kEquations,
       {bx + box.text1.rect.left + 300, by + box.text1.rect.top + 10},
       HintSpot::kNone,
       u"",
       u""},
      {"SQL frame",
       kEquations,
       {sql.rect.left + 10, sql.rect.top + 10},
       HintSpot::kEquationsSqlFrame,
       u".\\MaskLR.bmp",
       u".\\F7MaskLR.bmp"},
      {"SQL text box",
       kEquations,
       {sql.rect.left + ws_.conditions.equation.rect.left + 30,
        sql.rect.top + ws_.conditions.equation.rect.top + 30},
       HintSpot::kNone,
       u"",
       u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const float x = static_cast<float>(c.point.x());
    const float y = static_cast<float>(c.point.y());
    HintSpot spot;
    HintPair pair;
    switch (c.window) {
      case kTables:
        spot = TablesHintSpotAt(ws_, x, y);
        pair = TablesHintAt(ws_, x, y);
        break;
      case kResult:
        spot = ResultHintSpotAt(ws_, x, y);
        pair = ResultHintAt(ws_, x, y);
        break;
      case kEquations:
        spot = EquationsHintSpotAt(ws_.conditions, x, y);
        pair = EquationsHintAt(ws_, x, y);
        break;
    }
    EXPECT_EQ(static_cast<int>(spot), static_cast<int>(c.spot));
    EXPECT_EQ(pair.mask, QString::fromUtf16(c.mask));
    EXPECT_EQ(pair.picture, QString::fromUtf16(c.picture));
  }
}

TEST_F(HintSpotsTest, CanvasAndBoundaryBarsSwitchPairsAfterAMenuCommand) {
  const Control& bar = ws_.tables.slots[1].frame;
  const QPointF points[] = {{30, 30}, {bar.rect.left + 1, bar.rect.top + 1}};
  for (const QPointF& p : points) {
    const HintPair before = TablesHintAt(ws_, p.x(), p.y());
    EXPECT_EQ(before,
              (HintPair{QStringLiteral(".\\MaskLR.bmp"), QStringLiteral(".\\F3MaskLCR.bmp")}));
  }
  host_.files_to_choose.push_back(QString());  // the file dialog is cancelled
  MenuLoadTable(ws_);
  for (const QPointF& p : points) {
    const HintPair after = TablesHintAt(ws_, p.x(), p.y());
    EXPECT_EQ(after, (HintPair{QStringLiteral(".\\MaskR.bmp"), QStringLiteral(".\\F16MaskR.bmp")}));
  }
}

TEST_F(HintSpotsTest, AJoinLineSegmentInFrontOfTheCanvasHasItsOwnPair) {
  Control seg;
  seg.rect = {200, 6000, 900, 30};
  seg.visible = true;
  seg.z = 1u << 30;
  ws_.tables.line2.push_back(seg);
  EXPECT_EQ(TablesHintSpotAt(ws_, 500, 6010), HintSpot::kTablesJoinLine);
  ws_.tables.line2.back().visible = false;
  EXPECT_EQ(TablesHintSpotAt(ws_, 500, 6010), HintSpot::kTablesCanvas);
}

}  // namespace
}  // namespace mivora::testing
