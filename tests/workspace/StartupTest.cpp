#include <gtest/gtest.h>

#include "support/FakeHost.h"
#include "model/Constants.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;

class StartupTest : public ::testing::Test {
 protected:
  FakeHost host_;
  Workspace ws_{host_};
};

TEST_F(StartupTest, ShowsThreeWindowsAtTheirStartSizes) {
  StartUp(ws_, {});
  struct {
    TopWindow* window;
    const char* name;
  } windows[] = {{&ws_.tables.window, "表編集"},
                 {&ws_.equations_window, "条件式編集"},
                 {&ws_.result.window, "検索結果"}};
  for (auto& w : windows) {
    EXPECT_TRUE(w.window->visible) << w.name;
    EXPECT_EQ(w.window->height, 9100) << w.name;
    EXPECT_EQ(w.window->width, 12000) << w.name;
    EXPECT_EQ(w.window->caption, QString::fromUtf8(w.name) + u' ' + ProductWebAddress());
  }
  EXPECT_EQ(ws_.resume_mode, QStringLiteral("No"));
}

TEST_F(StartupTest, PreparesTheCanvas) {
  StartUp(ws_, {});
  const TablesWindow& t = ws_.tables;
  ASSERT_EQ(t.SlotCount(), 5);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.slots[i].frame.back_colour, kCanvasColour);
    EXPECT_FALSE(t.slots[i].frame.border);
  }
  EXPECT_EQ(t.line2.size(), 1024u);
  for (const Control& segment : t.line2) EXPECT_FALSE(segment.visible);
  const TableSlot& tmpl = t.slots[4];
  EXPECT_FALSE(tmpl.frame.visible);
  EXPECT_EQ(tmpl.frame.rect, (TwipRect{501, 1200, 4452, 700}));
  EXPECT_EQ(tmpl.grid.control.rect, (TwipRect{120, 120, 4452 - 240, 700 - 240}));
  EXPECT_EQ(tmpl.graph_box.rect, tmpl.grid.control.rect);
  EXPECT_EQ(tmpl.corner.rect.width, 120);
  EXPECT_EQ(tmpl.corner.rect.height, 120);
  EXPECT_EQ(t.default_hint_mask, QStringLiteral(".\\MaskLR.bmp"));
  EXPECT_EQ(t.default_hint_picture, QStringLiteral(".\\F3MaskLCR.bmp"));
  EXPECT_TRUE(t.resume_menu_enabled);
  EXPECT_TRUE(t.examples_menu_enabled);
}

TEST_F(StartupTest, AnArgumentThatCannotBeReadStartsAsWithout) {
  StartUp(ws_, {QStringLiteral("\"/no/such/state.rsm\"")});
  EXPECT_TRUE(ws_.tables.window.visible);
  EXPECT_EQ(ws_.tables.SlotCount(), 5);
  // The user hears why the argument was not resumed.
  ASSERT_EQ(host_.messages.size(), 1);
  EXPECT_TRUE(host_.messages[0].startsWith(
      QStringLiteral("状態保存ファイル「\"/no/such/state.rsm\"」を開けません。\n")));
}

TEST_F(StartupTest, SlotsArePlacedAndReused) {
  StartUp(ws_, {});
  ws_.tables.slots[4].grid.SetRowHeight(300);
  EXPECT_EQ(AllocateSlot(ws_, 0, 0, 0, 0), 4);
  EXPECT_EQ(ws_.tables.slots[4].frame.rect, (TwipRect{501, 1200, 4452, 700}));
  ws_.tables.slots[4].grid.SetCols(3);
  EXPECT_EQ(AllocateSlot(ws_, 0, 0, 0, 0), 5);
  const TableSlot& s5 = ws_.tables.slots[5];
  EXPECT_EQ(s5.frame.rect, (TwipRect{501, 501, 4652, 700}));
  EXPECT_EQ(s5.frame.back_colour, Rgb(192, 192, 0));
  EXPECT_EQ(s5.grid.control.rect, (TwipRect{120, 120, 4652 - 240, 700 - 240}));
  EXPECT_EQ(s5.grid.Cols(), 1);                // no data copied
  EXPECT_FLOAT_EQ(s5.grid.RowHeight(1), 300);  // settings copied
  EXPECT_TRUE(s5.corner.visible);
  EXPECT_FALSE(s5.vsc_bar.visible || s5.hsc_bar.visible);  // an empty grid fits its window
  EXPECT_EQ(AllocateSlot(ws_, 0, 0, 0, 0), 6);

  // A freed slot is reused with its last geometry unless the opener passes one.
  PlaceSlot(ws_, 5, 2000, 3000, 900, 5000);
  ws_.tables.slots[5].frame.visible = false;
  EXPECT_EQ(AllocateSlot(ws_, 0, 0, 0, 0), 5);
  EXPECT_EQ(ws_.tables.slots[5].frame.rect, (TwipRect{2000, 3000, 5000, 900}));
  ws_.tables.slots[5].frame.visible = false;
  EXPECT_EQ(AllocateSlot(ws_, 600, 600, 700, 4000), 5);
  EXPECT_EQ(ws_.tables.slots[5].frame.rect, (TwipRect{600, 600, 4000, 700}));
  EXPECT_GT(ws_.tables.slots[5].frame.z, ws_.tables.slots[6].frame.z);
}

TEST_F(StartupTest, TableFileNamesStoreOrQuery) {
  StartUp(ws_, {});
  ws_.tables.table_file_names.resize(5);
  EXPECT_TRUE(TableFileName(ws_, QStringLiteral("?"), 9).isEmpty());
  EXPECT_EQ(ws_.tables.table_file_names.size(), 10u);
  EXPECT_TRUE(TableFileName(ws_, QStringLiteral("/d/a.csv"), 7).isEmpty());
  EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), 7), QStringLiteral("/d/a.csv"));
  // "?" itself can never be recorded.
  TableFileName(ws_, QStringLiteral("?"), 7);
  EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), 7), QStringLiteral("/d/a.csv"));
}

TEST_F(StartupTest, ResumeModeStoreOrQuery) {
  struct {
    const char* arg;
    const char* result;
  } steps[] = {{"", "No"}, {"Shrink", "Yes"}, {"", "Yes"}, {"other", "Yes"}, {"Expand", "No"}};
  for (auto& s : steps)
    EXPECT_EQ(ResumeMode(ws_, QString::fromUtf8(s.arg)), QString::fromUtf8(s.result)) << s.arg;
}

TEST_F(StartupTest, ClosingTheTablesWindowEndsTheProgram) {
  StartUp(ws_, {});
  EndProgram(ws_);
  EXPECT_TRUE(host_.exited);
  EXPECT_EQ(ws_.tables.default_hint_mask, QStringLiteral(".\\MaskR.bmp"));
  EXPECT_EQ(ws_.tables.default_hint_picture, QStringLiteral(".\\F16MaskR.bmp"));
}

}  // namespace
}  // namespace mivora
