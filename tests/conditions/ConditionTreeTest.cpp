#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

// Boxes made without a table, texts set to b0, b1, ... as equations "bN = N".
class ConditionTreeTest : public ConditionFixture {
 protected:
  void MakeBoxes(int count) {
    for (int i = 0; i < count; ++i) {
      CreateEquationBox(ws, 0, 0, 0);
      SetEquationBoxText(ws, i, QStringLiteral("b%1 = %1").arg(i));
    }
  }
  // A rectangle in panel coordinates around the boxes' frames of the given top range.
  static TwipRect Around(float top, float bottom) {
    return TwipRect{-20, top - 50, 4300, bottom - top + 100};
  }
  const ParenthesesPanel& Panel(int i) const { return ws.conditions.panels.at(i); }
  const EquationBox& Box(int i) const { return ws.conditions.boxes.at(i); }
};

TEST_F(ConditionTreeTest, TidyFoldsConnectives) {
  const std::pair<QString, QString> cases[] = {
      {u" And a=1 And  And ( Or b=2 Or  Or c=3 Or ) And "_s, u"a=1 And  (  b=2 Or  c=3 )"_s},
      {u" Or a Or "_s, u"a"_s},
      {u" And a And "_s, u"a"_s},
      {u" Or ( And x And  And y And ) Or "_s, u"(  x And  y )"_s},
      {u" Or  Or  Or "_s, u" "_s},
      {QString(), QString()},
  };
  for (const auto& [raw, tidy] : cases) {
    QString text = raw;
    TidyConditionText(text);
    EXPECT_EQ(text, tidy) << raw.toStdString();
  }
}

// The one-pass tidying gives what replacing the first occurrence again and again gives, on
// every text of up to five pieces.
TEST_F(ConditionTreeTest, TidyMatchesFirstOccurrenceReplacement) {
  auto reference = [](QString text) {
    const std::pair<QString, QString> rules[] = {
        {u"( Or "_s, u"(  "_s},          {u"( And "_s, u"(  "_s},
        {u" Or )"_s, u" )"_s},           {u" And )"_s, u" )"_s},
        {u" Or  Or "_s, u" Or  "_s},     {u" And  And "_s, u" And  "_s},
    };
    for (const auto& [pattern, replacement] : rules)
      for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern))
        text.replace(at, pattern.size(), replacement);
    if (text.startsWith(u" And"_s)) text.remove(0, 5);
    if (text.endsWith(u"And "_s)) text.chop(5);
    if (text.startsWith(u" Or "_s)) text.remove(0, 4);
    if (text.endsWith(u" Or "_s)) text.chop(4);
    return text;
  };
  const QString pieces[] = {u" Or "_s, u" And "_s, u"("_s, u")"_s, u" "_s, u"a"_s};
  std::vector<QString> texts{QString()};
  for (int length = 1; length <= 5; ++length) {
    std::vector<QString> longer;
    for (const QString& t : texts)
      for (const QString& p : pieces) longer.push_back(t + p);
    for (const QString& t : longer) {
      QString tidy = t;
      TidyConditionText(tidy);
      ASSERT_EQ(tidy, reference(t)) << t.toStdString();
    }
    texts = std::move(longer);
  }
}

TEST_F(ConditionTreeTest, RectangleGroupsMembersIntoAnOppositePanel) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;  // every new box copies box 0's left
  MakeBoxes(3);                                   // tops 400, 800, 1200
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));
  ASSERT_EQ(ws.conditions.panels.size(), 2u);
  EXPECT_TRUE(Panel(1).live());
  EXPECT_EQ(Panel(1).container, 0);
  EXPECT_EQ(Panel(1).kakko.rect, Around(400, 1052));
  EXPECT_EQ(Panel(1).label_n.rect, (TwipRect{50, 50, 4200, 652}));
  EXPECT_FALSE(IsAndPanel(Panel(1)));
  EXPECT_EQ(Panel(1).label_n.caption, u"＋ Or ＋"_s);
  EXPECT_EQ(Box(0).container, 1);
  EXPECT_EQ(Box(0).txt_hndl.rect.left, 120);
  EXPECT_EQ(Box(0).txt_hndl.rect.top, 50);
  EXPECT_EQ(Box(1).txt_hndl.rect.top, 450);
  EXPECT_EQ(Box(2).container, 0);
  // Members in creation order: box 2 came before the panel.
  EXPECT_EQ(ConditionExpression(ws), u"b2 = 2 And  (  b0 = 0 Or  b1 = 1 )"_s);
  EXPECT_EQ(ws.conditions.state.sql_condition_part, u"b2 = '2' And  (  b0 = '0' Or  b1 = '1' )"_s);
}

TEST_F(ConditionTreeTest, RectangleTooSmallOrAroundEverythingNested) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(4);                                       // tops 400 .. 1600
  CreatePanelFromRectangle(ws, 0, Around(400, 652));  // one member inside: nothing
  EXPECT_EQ(ws.conditions.panels.size(), 1u);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));
  ASSERT_EQ(ws.conditions.panels.size(), 2u);
  CreatePanelFromRectangle(ws, 1, TwipRect{-100, -100, 9000, 9000});  // all of a nested one
  EXPECT_EQ(ws.conditions.panels.size(), 2u);
  EXPECT_FALSE(IsAndPanel(Panel(1)));
}

TEST_F(ConditionTreeTest, RectangleAroundTheWholeRootSwitchesEveryLevel) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(3);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));
  CreatePanelFromRectangle(ws, 0, TwipRect{-500, -500, 20000, 20000});
  EXPECT_FALSE(IsAndPanel(Panel(0)));
  EXPECT_EQ(Panel(0).label_n.caption, u"＋ Or ＋"_s);
  EXPECT_TRUE(IsAndPanel(Panel(1)));
  EXPECT_EQ(ConditionExpression(ws), u"b2 = 2 Or  (  b0 = 0 And  b1 = 1 )"_s);
  CreatePanelFromRectangle(ws, 0, TwipRect{-500, -500, 20000, 20000});
  EXPECT_EQ(Panel(0).label_n.caption, u"＊ And ＊ "_s);
  EXPECT_FALSE(IsAndPanel(Panel(1)));
}

TEST_F(ConditionTreeTest, DeleteDissolvesAPanelLeftWithOneBoxInPlace) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(3);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));
  DeleteEquationBox(ws, 1, false);
  EXPECT_FALSE(Panel(1).live());
  EXPECT_FALSE(Panel(1).label_n.visible);
  EXPECT_EQ(Box(0).container, 0);
  EXPECT_EQ(Box(0).txt_hndl.rect.left, 100);
  EXPECT_EQ(Box(0).txt_hndl.rect.top, 400);
  EXPECT_EQ(Box(1).container, 0);  // hidden boxes move out too
  EXPECT_EQ(ConditionExpression(ws), u"b0 = 0 And  b2 = 2"_s);
}

TEST_F(ConditionTreeTest, RootWhoseOnlyMemberIsAPanelTakesItsMembersAndConnective) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(3);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));  // b2 And (b0 Or b1)
  DeleteEquationBox(ws, 2, false);
  EXPECT_FALSE(Panel(1).live());
  EXPECT_EQ(Box(0).container, 0);
  EXPECT_EQ(Box(0).txt_hndl.rect.top, 50);  // Left and Top kept, now from the root's corner
  EXPECT_FALSE(IsAndPanel(Panel(0)));
  EXPECT_EQ(ConditionExpression(ws), u"b0 = 0 Or  b1 = 1"_s);
}

TEST_F(ConditionTreeTest, PanelLeftWithOnePanelGivesItsMembersToTheParent) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(4);                                        // tops 400, 800, 1200, 1600
  CreatePanelFromRectangle(ws, 0, Around(400, 1452));  // panel 1 (Or): b0, b1, b2
  CreatePanelFromRectangle(ws, 1, Around(50, 702));    // panel 2 (And) in 1: b0, b1
  ASSERT_TRUE(Panel(2).live());
  EXPECT_TRUE(IsAndPanel(Panel(2)));
  EXPECT_EQ(ConditionExpression(ws), u"b3 = 3 And  (  b2 = 2 Or  (  b0 = 0 And  b1 = 1 ) )"_s);

  float x = 10, y = 20;
  BoxPointToCanvas(ws, 0, x, y);
  const float canvas_x = x, canvas_y = y;

  DeleteEquationBox(ws, 2, false);
  EXPECT_FALSE(Panel(1).live());
  EXPECT_FALSE(Panel(2).live());
  EXPECT_EQ(Box(0).container, 0);
  EXPECT_EQ(Box(1).container, 0);
  x = 10, y = 20;
  BoxPointToCanvas(ws, 0, x, y);
  EXPECT_EQ(x, canvas_x);
  EXPECT_EQ(y, canvas_y);
  EXPECT_EQ(ConditionExpression(ws), u"b0 = 0 And  b1 = 1 And  b3 = 3"_s);
}

TEST_F(ConditionTreeTest, PointsConvertThroughNestedPanels) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(3);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));  // panel 1 at (-20, 350)
  float x = 5, y = 6;
  BoxPointToCanvas(ws, 0, x, y);  // box 0 at (120, 50) in panel 1
  EXPECT_EQ(x, 600 - 20 + 120 + 5);
  EXPECT_EQ(y, 600 + 350 + 50 + 6);
  x = 1, y = 2;
  PanelPointToCanvas(ws, 1, x, y);
  EXPECT_EQ(x, 581);
  EXPECT_EQ(y, 952);

  x = 100, y = 400;  // root coordinates, inside panel 1
  EXPECT_EQ(InnermostPanelAt(ws, 0, x, y), 1);
  EXPECT_EQ(x, 120);
  EXPECT_EQ(y, 50);
  x = 100, y = 3000;
  EXPECT_EQ(InnermostPanelAt(ws, 0, x, y), 0);
  EXPECT_EQ(y, 3000);
}

TEST_F(ConditionTreeTest, DroppedBoxJoinsThePanelUnderThePointer) {
  ws.conditions.boxes[0].txt_hndl.rect.left = 100;
  MakeBoxes(4);
  CreatePanelFromRectangle(ws, 0, Around(400, 1052));  // panel 1 (Or) at (-20, 350): b0, b1
  // Box 3 (root, top 1600) dragged up over panel 1 and released 10, 10 into the box.
  ws.conditions.boxes[3].txt_hndl.rect.top = 500;
  DropBox(ws, 3, 10, 10);
  EXPECT_EQ(Box(3).container, 1);
  EXPECT_EQ(Box(3).txt_hndl.rect.left, 120);
  EXPECT_EQ(Box(3).txt_hndl.rect.top, 150);
  EXPECT_EQ(ConditionExpression(ws), u"b2 = 2 And  (  b0 = 0 Or  b1 = 1 Or  b3 = 3 )"_s);

  // Box 0 moved to the root (as a right press does) and dropped on empty root area.
  ws.conditions.boxes[0].container = 0;
  ws.conditions.boxes[0].txt_hndl.rect.top = 3000;
  DropBox(ws, 0, 10, 10);
  EXPECT_EQ(Box(0).container, 0);
  EXPECT_EQ(ConditionExpression(ws), u"b0 = 0 And  b2 = 2 And  (  b1 = 1 Or  b3 = 3 )"_s);
}

}  // namespace
}  // namespace mivora::testing
