#include <gtest/gtest.h>

#include <memory>

#include "ConditionFixture.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationsCanvas.h"
#include "conditions/EquationsGestures.h"
#include "conditions/EquationsKeyboard.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

MouseEvent Ev(int button, float x, float y) { return MouseEvent{button, 0, x, y}; }

// Four boxes T.C = 1 .. 4 in the root panel (600, 600): box k at (2040, 400 + 400 k).
struct Canvas {
  Canvas() {
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    ws.tables.slots.resize(5);
    ws.tables.slots[4].frame.visible = true;
    Grid& g = ws.TableGrid(4);
    g.SetCols(2);
    g.SetText(0, 0, u"T"_s);
    g.SetText(0, 1, u"C"_s);
    for (int i = 1; i <= 4; ++i) g.AppendRow({QString::number(i), QString::number(i)});
    for (int i = 1; i <= 4; ++i) CreateEquationBox(ws, 4, i, 1);
  }
  EquationBox& Box(int i) { return ws.conditions.boxes.at(i); }
  ParenthesesPanel& Panel(int i) { return ws.conditions.panels.at(i); }
  void CanvasOfBox(int k, float& x, float& y) {
    x = y = 0;
    BoxPointToCanvas(ws, k, x, y);
  }
  // The pointer at a canvas point, told to box k or panel i in their own twips.
  MouseEvent AtBox(int k, int button, float cx, float cy) {
    float x, y;
    CanvasOfBox(k, x, y);
    return Ev(button, cx - x, cy - y);
  }
  MouseEvent AtPanel(int i, int button, float cx, float cy) {
    float x = 0, y = 0;
    PanelPointToCanvas(ws, i, x, y);
    return Ev(button, cx - x, cy - y);
  }
  // Right-drags box k from a point of it to a canvas point.
  void DragBox(int k, float from_x, float from_y, float to_cx, float to_cy) {
    float x, y;
    CanvasOfBox(k, x, y);
    BoxFrameMouseDown(ws, k, Ev(kRightButton, from_x, from_y));
    BoxFrameMouseMove(ws, k, AtBox(k, kRightButton, (x + from_x + to_cx) / 2, to_cy));
    BoxFrameMouseMove(ws, k, AtBox(k, kRightButton, to_cx, to_cy));
    BoxFrameMouseUp(ws, k, AtBox(k, kRightButton, to_cx, to_cy));
  }
  FakeHost host;
  Workspace ws{host};
};

TEST(EquationsGesturesTest, HandleClicksDeleteAsked) {
  const struct {
    const char* what;
    float press_x, release_x;
    bool answer;
    int questions;
    bool live_after;
  } cases[] = {
      {"click on the handle, OK", 50, 50, true, 1, false},
      {"click on the handle, Cancel", 50, 50, false, 1, true},
      {"released left of the box", 50, -10, true, 0, false},
      {"released right of the handle", 50, 130, true, 0, true},
      {"width drag released left of the box", 4032, -10, true, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Canvas w;
    w.host.answers = {c.answer};
    BoxFrameMouseDown(w.ws, 1, Ev(kLeftButton, c.press_x, 100));
    BoxFrameMouseUp(w.ws, 1, Ev(kLeftButton, c.release_x, 100));
    EXPECT_EQ(w.host.questions.size(), c.questions);
    if (c.questions) {
      EXPECT_EQ(w.host.questions[0], u"この式を消しますか ？"_s);
    }
    EXPECT_EQ(w.Box(1).live(), c.live_after);
    EXPECT_FALSE(EquationsDragActive(w.ws));
  }
}

TEST(EquationsGesturesTest, RightClickOnTheHandleShowsThePalette) {
  const struct {
    const char* what;
    float press_x, release_x, release_y;
    bool palette;
  } cases[] = {
      {"click on the handle", 60, 60, 100, true},
      {"small slip is still a click", 60, 90, 130, true},
      {"click on the right part", 500, 500, 100, false},
      {"a drag", 60, 600, 100, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Canvas w;
    float bx, by;
    w.CanvasOfBox(1, bx, by);
    BoxFrameMouseDown(w.ws, 1, Ev(kRightButton, c.press_x, 100));
    BoxFrameMouseMove(w.ws, 1, Ev(kRightButton, c.release_x, c.release_y));
    const float moved_x = c.release_x - c.press_x, moved_y = c.release_y - 100;
    BoxFrameMouseUp(w.ws, 1, Ev(kRightButton, c.press_x, 100));
    EXPECT_EQ(w.ws.conditions.operator_palette.visible, c.palette);
    float ax, ay;
    w.CanvasOfBox(1, ax, ay);
    EXPECT_EQ(ax, bx + moved_x);  // the box followed the pointer, in the root
    EXPECT_EQ(ay, by + moved_y);
    EXPECT_EQ(w.Box(1).container, 0);
    if (c.palette) {
      EXPECT_EQ(w.ws.conditions.operator_palette.rect.left, ax + c.press_x - 530);
      EXPECT_EQ(w.ws.conditions.operator_palette.rect.top, ay);
      EXPECT_EQ(SetOperatorBox(w.ws, -1), 1);
    }
  }
}

TEST(EquationsGesturesTest, RightDragMovesABoxIntoTheInnermostPanel) {
  Canvas w;
  CreatePanelFromRectangle(w.ws, 0, TwipRect{1950, 1150, 4250, 752});  // panel 1 (Or): 2, 3
  ASSERT_EQ(w.Box(2).container, 1);

  // Box 0 dragged from (200, 100) down onto panel 1.
  w.DragBox(0, 200, 100, 600 + 2040 + 200, 600 + 1150 + 300);
  EXPECT_EQ(w.Box(0).container, 1);
  float x, y;
  w.CanvasOfBox(0, x, y);
  EXPECT_EQ(x, 600 + 2040);
  EXPECT_EQ(y, 600 + 1150 + 300 - 100);
  EXPECT_EQ(ConditionExpression(w.ws), u"T.C = 2 And  (  T.C = 1 Or  T.C = 3 Or  T.C = 4 )"_s);

  // A nested box jumps into the root at its place on screen, and a click puts it back.
  w.CanvasOfBox(2, x, y);
  BoxFrameMouseDown(w.ws, 2, Ev(kRightButton, 300, 100));
  EXPECT_EQ(w.Box(2).container, 0);
  float px, py;
  w.CanvasOfBox(2, px, py);
  EXPECT_EQ(px, x);
  EXPECT_EQ(py, y);
  BoxFrameMouseUp(w.ws, 2, Ev(kRightButton, 300, 100));
  EXPECT_EQ(w.Box(2).container, 1);

  // Dropped outside every panel: it lands inside the root's label.
  w.DragBox(3, 200, 100, 100, 100);
  EXPECT_EQ(w.Box(3).container, 0);
  EXPECT_EQ(w.Box(3).txt_hndl.rect.left, 50);
  EXPECT_EQ(w.Box(3).txt_hndl.rect.top, 50);
}

TEST(EquationsGesturesTest, WidthDragKeepsTheLeastWidth) {
  Canvas w;
  BoxFrameMouseDown(w.ws, 0, Ev(kLeftButton, 4032, 100));
  BoxFrameMouseMove(w.ws, 0, Ev(kLeftButton, 4532, 100));
  EXPECT_EQ(w.Box(0).txt_hndl.rect.width, 4592);
  EXPECT_EQ(w.Box(0).text1.rect, (TwipRect{120, 0, 4352, 252}));
  BoxFrameMouseMove(w.ws, 0, Ev(kLeftButton, -3000, 100));
  EXPECT_EQ(w.Box(0).txt_hndl.rect.width, 500);
  EXPECT_EQ(w.Box(0).text1.rect, (TwipRect{120, 0, 260, 252}));
  BoxFrameMouseMove(w.ws, 0, Ev(kLeftButton, 132, 100));  // back over the far edge
  EXPECT_EQ(w.Box(0).txt_hndl.rect.width, 500);
  BoxFrameMouseMove(w.ws, 0, Ev(kLeftButton, 832, 100));
  EXPECT_EQ(w.Box(0).txt_hndl.rect.width, 892);
}

TEST(EquationsGesturesTest, PanelBorderDragsResizeFromTheGrabbedBorders) {
  const struct {
    const char* what;
    float press_x, press_y, dx, dy;
    TwipRect after;
  } cases[] = {
      {"left border past the least width", 10, 300, 5000, 0, {5300, 350, 1000, 1252}},
      {"right border past the least width", 4390, 300, -5000, 0, {1900, 350, 1000, 1252}},
      {"right border out", 4390, 300, 600, 0, {1900, 350, 5000, 1252}},
      {"top border down", 2000, 5, 0, 100, {1900, 450, 4400, 1152}},
      {"top border past the least height", 2000, 5, 0, 900, {1900, 602, 4400, 1000}},
      {"bottom border out", 2000, 1245, 0, 300, {1900, 350, 4400, 1552}},
      {"top-left corner out", 5, 5, -100, -100, {1800, 250, 4500, 1352}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Canvas w;
    CreatePanelFromRectangle(w.ws, 0, TwipRect{1900, 350, 4400, 1252});  // panel 1: boxes 0-2
    float bx, by;
    w.CanvasOfBox(0, bx, by);
    float ox = 0, oy = 0;
    PanelPointToCanvas(w.ws, 1, ox, oy);
    PanelBorderMouseDown(w.ws, 1, Ev(kLeftButton, c.press_x, c.press_y));
    PanelBorderMouseMove(w.ws, 1,
                         w.AtPanel(1, kLeftButton, ox + c.press_x + c.dx, oy + c.press_y + c.dy));
    PanelBorderMouseUp(w.ws, 1, Ev(kLeftButton, 0, 0));
    EXPECT_EQ(w.Panel(1).kakko.rect, c.after);
    EXPECT_EQ(w.Panel(1).label_n.rect,
              (TwipRect{50, 50, c.after.width - 100, c.after.height - 100}));
    float ax, ay;
    w.CanvasOfBox(0, ax, ay);  // members keep their place on screen
    EXPECT_EQ(ax, bx);
    EXPECT_EQ(ay, by);
  }
}

TEST(EquationsGesturesTest, RightDragNestsAPanelAndMergesOneOfTheSameConnective) {
  Canvas w;
  CreatePanelFromRectangle(w.ws, 0, TwipRect{1900, 350, 4400, 752});   // panel 1 (Or): 0, 1
  CreatePanelFromRectangle(w.ws, 0, TwipRect{1900, 1150, 4400, 752});  // panel 2 (Or): 2, 3
  CreateEquationBox(w.ws, 4, 1, 1);                                    // box 4 in the root
  ASSERT_EQ(ConditionExpression(w.ws),
            u"(  T.C = 1 Or  T.C = 2 ) And  (  T.C = 3 Or  T.C = 4 ) And  T.C = 1"_s);
  float b0x, b0y;
  w.CanvasOfBox(0, b0x, b0y);

  // Panel 1 dropped with its corner inside panel 2: both Or, so its members join panel 2.
  PanelBorderMouseDown(w.ws, 1, Ev(kRightButton, 10, 10));
  EXPECT_EQ(w.Panel(1).container, 0);
  PanelBorderMouseMove(w.ws, 1, w.AtPanel(1, kRightButton, 600 + 1900 + 110, 600 + 1150 + 60));
  PanelBorderMouseUp(w.ws, 1, w.AtPanel(1, kRightButton, 600 + 1900 + 110, 600 + 1150 + 60));
  EXPECT_FALSE(w.Panel(1).live());
  EXPECT_EQ(w.Box(0).container, 2);
  float ax, ay;
  w.CanvasOfBox(0, ax, ay);
  EXPECT_EQ(ax, b0x + 100);
  EXPECT_EQ(ay, b0y + 850);
  EXPECT_EQ(ConditionExpression(w.ws),
            u"(  T.C = 1 Or  T.C = 2 Or  T.C = 3 Or  T.C = 4 ) And  T.C = 1"_s);
}

TEST(EquationsGesturesTest, TheBandSpansFromThePressPointInAnyDirection) {
  Canvas w;
  const Control& band = w.ws.conditions.rectngl;
  PanelLabelMouseDown(w.ws, 0, Ev(kLeftButton, 1900, 300));
  EXPECT_TRUE(band.visible);
  EXPECT_EQ(band.rect, (TwipRect{600 + 50 + 1900, 600 + 50 + 300, 1, 1}));
  PanelLabelMouseMove(w.ws, 0, Ev(kLeftButton, 1800, 250));  // up and left of the start
  EXPECT_EQ(band.rect, (TwipRect{600 + 50 + 1800, 600 + 50 + 250, 100, 50}));
  PanelLabelMouseMove(w.ws, 0, Ev(kLeftButton, 6300, 1150));
  PanelLabelMouseUp(w.ws, 0, Ev(kLeftButton, 6300, 1150));
  EXPECT_FALSE(band.visible);
  ASSERT_EQ(w.ws.conditions.panels.size(), 2u);
  EXPECT_EQ(w.Panel(1).kakko.rect, (TwipRect{1950, 350, 4400, 850}));
  EXPECT_EQ(ConditionExpression(w.ws), u"T.C = 3 And  T.C = 4 And  (  T.C = 1 Or  T.C = 2 )"_s);

  // Around every root member: the root switches, the nested panel with it.
  PanelLabelMouseDown(w.ws, 0, Ev(kLeftButton, 10, 10));
  PanelLabelMouseUp(w.ws, 0, Ev(kLeftButton, 9100, 3300));
  EXPECT_FALSE(IsAndPanel(w.Panel(0)));
  EXPECT_TRUE(IsAndPanel(w.Panel(1)));
}

TEST(EquationsGesturesTest, EscapeOtherButtonsAndALostGrab) {
  Canvas w;
  CreatePanelFromRectangle(w.ws, 0, TwipRect{1900, 1150, 4400, 752});  // panel 1: 2, 3
  const auto boxes = w.ws.conditions.boxes;
  const auto panels = w.ws.conditions.panels;
  auto same_tree = [&] {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(w.Box(i).txt_hndl.rect, boxes[i].txt_hndl.rect) << i;
      EXPECT_EQ(w.Box(i).container, boxes[i].container) << i;
    }
    for (std::size_t i = 0; i < panels.size(); ++i)
      EXPECT_EQ(w.Panel(i).kakko.rect, panels[i].kakko.rect) << i;
  };

  // A nested box dragged away, other buttons pressed and released meanwhile, then Escape.
  BoxFrameMouseDown(w.ws, 2, Ev(kRightButton, 200, 100));
  BoxFrameMouseMove(w.ws, 2, Ev(kRightButton, 500, 1000));
  BoxFrameMouseDown(w.ws, 0, Ev(kLeftButton, 50, 100));
  BoxFrameMouseUp(w.ws, 0, Ev(kLeftButton, 50, 100));
  BoxFrameMouseUp(w.ws, 2, Ev(kLeftButton, 50, 100));
  EXPECT_TRUE(w.Box(0).live());
  EXPECT_TRUE(w.host.questions.isEmpty());
  EXPECT_TRUE(EquationsDragActive(w.ws));
  EquationsEscape(w.ws, -1);
  EXPECT_FALSE(EquationsDragActive(w.ws));
  same_tree();

  // Panel resize and band undone alike.
  PanelBorderMouseDown(w.ws, 1, Ev(kLeftButton, 10, 300));
  PanelBorderMouseMove(w.ws, 1, Ev(kLeftButton, 400, 300));
  EquationsEscape(w.ws, -1);
  same_tree();
  PanelLabelMouseDown(w.ws, 0, Ev(kLeftButton, 10, 10));
  PanelLabelMouseMove(w.ws, 0, Ev(kLeftButton, 9000, 3000));
  EquationsEscape(w.ws, -1);
  EXPECT_FALSE(w.ws.conditions.rectngl.visible);
  same_tree();

  // A drag that loses the grab ends as its release would: box 0 lands in panel 1.
  BoxFrameMouseDown(w.ws, 0, Ev(kRightButton, 200, 100));
  BoxFrameMouseMove(w.ws, 0, w.AtBox(0, kRightButton, 600 + 2240, 600 + 1150 + 300));
  EndEquationsDrag(w.ws);
  EXPECT_FALSE(EquationsDragActive(w.ws));
  EXPECT_EQ(w.Box(0).container, 1);

  // A move without the button held tells the same: the band groups what it spans.
  PanelLabelMouseDown(w.ws, 0, Ev(kLeftButton, 10, 10));
  PanelLabelMouseMove(w.ws, 0, Ev(kLeftButton, 9100, 3300));
  EquationsCanvasMouseMove(w.ws, Ev(0, 11000, 5000));
  EXPECT_FALSE(EquationsDragActive(w.ws));
  EXPECT_FALSE(w.ws.conditions.rectngl.visible);
  EXPECT_FALSE(IsAndPanel(w.Panel(0)));
}

TEST(EquationsGesturesTest, PointerSpotsAndCanvasElements) {
  Canvas w;
  BoxFrameMouseMove(w.ws, 1, Ev(0, 60, 100));
  const EquationsPointer& p = w.ws.conditions.pointer;
  EXPECT_EQ(p.element, EquationsElement::kBoxFrame);
  EXPECT_EQ(p.index, 1);
  EXPECT_EQ(p.x, 60);
  EXPECT_EQ(p.canvas_x, 600 + 2040 + 60);
  EXPECT_EQ(p.canvas_y, 600 + 800 + 100);

  w.ws.conditions.operator_palette.visible = true;
  PanelLabelMouseMove(w.ws, 0, Ev(0, 10, 20));
  EXPECT_EQ(p.element, EquationsElement::kPanelLabel);
  EXPECT_EQ(p.canvas_x, 660);
  EXPECT_EQ(p.canvas_y, 670);
  EXPECT_FALSE(w.ws.conditions.operator_palette.visible);  // hidden over a label

  // The root (grown for its boxes) and the SQL frame are on the window; the palette once shown.
  const std::vector<TwipRect> elements = EquationsCanvasElements(w.ws);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0], w.Panel(0).kakko.rect);
  EXPECT_EQ(elements[1], (TwipRect{2280, 4920, 5412, 972}));
}

TEST(EquationsGesturesTest, TabOrderFollowsTheConditionText) {
  Canvas w;
  CreatePanelFromRectangle(w.ws, 0, TwipRect{1900, 350, 4400, 752});  // (0 Or 1) after 2, 3
  EXPECT_EQ(BoxesInTextOrder(w.ws), (std::vector<int>{2, 3, 0, 1}));
  EXPECT_EQ(NextBoxInTextOrder(w.ws, 3, false), 0);
  EXPECT_EQ(NextBoxInTextOrder(w.ws, 1, false), -1);
  EXPECT_EQ(NextBoxInTextOrder(w.ws, 2, true), -1);
  EXPECT_EQ(NextBoxInTextOrder(w.ws, -1, false), 2);
  EXPECT_EQ(NextBoxInTextOrder(w.ws, -1, true), 1);
}

TEST(EquationsGesturesTest, TheRootGrowsForNewBoxes) {
  Canvas w;
  for (int i = 0; i < 8; ++i) CreateEquationBox(w.ws, 4, 1, 1);
  const EquationBox& last = w.Box(11);
  ASSERT_TRUE(last.live());
  EXPECT_LE(last.txt_hndl.rect.bottom(), w.Panel(0).label_n.rect.bottom());
  EXPECT_EQ(w.Panel(0).label_n.rect.height, w.Panel(0).kakko.rect.height - 100);
}

}  // namespace
}  // namespace mivora::testing
