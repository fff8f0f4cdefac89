#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionCells.h"
#include "conditions/ConditionTexts.h"
#include "conditions/EquationBoxes.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

class EquationBoxesTest : public ConditionFixture {
 protected:
  void SetUp() override {
    emp = AddTable(u"Emp"_s, {u"Name"_s, u"Dept"_s},
                   {{u"Smith"_s, u"10"_s}, {u"Jones"_s, u"20"_s}, {u"Brown"_s, u"10"_s}});
  }
  const EquationBox& Box(int i) const { return ws.conditions.boxes.at(i); }
  std::vector<int> LiveBoxes() const {
    std::vector<int> live;
    for (int i = 0; i < static_cast<int>(ws.conditions.boxes.size()); ++i)
      if (Box(i).live()) live.push_back(i);
    return live;
  }
  int emp = 0;
};

TEST_F(EquationBoxesTest, LayoutAtLoad) {
  LoadEquationsWindow(ws);
  const Conditions& c = ws.conditions;
  ASSERT_EQ(c.panels.size(), 1u);
  EXPECT_EQ(c.panels[0].kakko.rect, (TwipRect{600, 600, 9252, 3480}));
  EXPECT_EQ(c.panels[0].label_n.rect, (TwipRect{50, 50, 9152, 3380}));
  EXPECT_EQ(c.panels[0].label_n.back_colour, 12640511u);
  EXPECT_EQ(c.panels[0].label_n.caption, u"＊ And ＊"_s);
  EXPECT_EQ(c.panels[0].kakko.back_colour, 8421504u);
  EXPECT_EQ(Box(0).txt_hndl.rect, (TwipRect{2040, 1080, 4092, 252}));
  EXPECT_EQ(Box(0).txt_hndl.back_colour, 33023u);
  EXPECT_EQ(Box(0).container, kCanvas);
  EXPECT_FALSE(Box(0).live());
  EXPECT_EQ(c.cnd_equation.rect, (TwipRect{2280, 4920, 5412, 972}));
  EXPECT_EQ(c.cnd_equation.caption, u"SQL text"_s);
  EXPECT_EQ(c.cnd_equation.back_colour, 8421631u);
  EXPECT_EQ(c.equation.rect, (TwipRect{120, 240, 5172, 612}));
  EXPECT_EQ(c.equation_text, u"\r\n\r\n\r\n()"_s);
  EXPECT_TRUE(ConditionExpression(ws).isEmpty());
}

TEST_F(EquationBoxesTest, BoxesFromCellsStack400Apart) {
  CreateEquationBox(ws, emp, 1, 1);
  CreateEquationBox(ws, emp, 2, 2);
  ASSERT_EQ(LiveBoxes(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Box(0).txt_hndl.rect, (TwipRect{2040, 400, 4092, 252}));
  EXPECT_EQ(Box(1).txt_hndl.rect, (TwipRect{2040, 800, 4092, 252}));
  EXPECT_EQ(Box(1).text1.rect, (TwipRect{102, 0, 4092 - 204, 252}));
  EXPECT_EQ(Box(0).container, 0);
  EXPECT_EQ(Box(1).container, 0);
  EXPECT_EQ(Box(0).text, u"Emp.Name = Smith"_s);
  EXPECT_EQ(Box(1).text, u"Emp.Dept = 20"_s);
  EXPECT_EQ(BoxColumnRef(ws, 1), u"Emp.Dept"_s);
  EXPECT_EQ(ReadConditionCell(ws, 1), (ConditionCell{emp, 1, 1, 0}));
  EXPECT_EQ(ReadConditionCell(ws, 2), (ConditionCell{emp, 2, 2, 1}));
  EXPECT_EQ(ws.TableGrid(emp).CellBackColour(0, 1), 8438015u);
  EXPECT_EQ(ConditionExpression(ws), u"Emp.Name = Smith And  Emp.Dept = 20"_s);
  EXPECT_EQ(ws.conditions.state.sql_condition_part, u"Emp.Name = 'Smith' And  Emp.Dept = '20'"_s);
}

TEST_F(EquationBoxesTest, BoxWithoutTableNamesItsIndex) {
  CreateEquationBox(ws, 0, 0, 0);
  CreateEquationBox(ws, 0, 0, 0);
  EXPECT_EQ(Box(0).text, u"条件 = 式 0"_s);
  EXPECT_EQ(Box(1).text, u"条件 = 式 1"_s);
  EXPECT_TRUE(BoxColumnRef(ws, 1).isEmpty());
  EXPECT_FALSE(ReadConditionCell(ws, 1).has_value());
}

TEST_F(EquationBoxesTest, DeletedBoxIsReusedAtItsPlaceButBoxZeroNever) {
  for (int i = 0; i < 4; ++i) CreateEquationBox(ws, emp, 1 + i % 3, 1);
  DeleteEquationBox(ws, 2, false);
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{0, 1, 3}));
  CreateEquationBox(ws, emp, 3, 2);
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(Box(2).txt_hndl.rect.top, 1200);
  EXPECT_EQ(Box(2).text, u"Emp.Dept = 10"_s);

  DeleteEquationBox(ws, 0, false);
  CreateEquationBox(ws, emp, 1, 1);
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Box(4).txt_hndl.rect.top, 2000);
}

TEST_F(EquationBoxesTest, DeleteAsksAndCancelKeepsEverything) {
  CreateEquationBox(ws, emp, 1, 1);
  host.answers = {false};
  DeleteEquationBox(ws, 0, true);
  EXPECT_EQ(host.questions, QStringList{u"この式を消しますか ？"_s});
  EXPECT_TRUE(Box(0).live());
  EXPECT_TRUE(ReadConditionCell(ws, 1).has_value());

  host.answers = {true};
  DeleteEquationBox(ws, 0, true);
  EXPECT_FALSE(Box(0).live());
  EXPECT_FALSE(Box(0).text1.visible);
  EXPECT_FALSE(ReadConditionCell(ws, 1).has_value());
  EXPECT_EQ(BoxColumnRef(ws, 0), u"Emp.Name"_s);  // stays until the index is reused
  // No live box left: no condition.
  EXPECT_TRUE(ConditionExpression(ws).isEmpty());
  EXPECT_EQ(ws.conditions.equation_text, u"\r\n\r\n\r\n()"_s);
}

TEST_F(EquationBoxesTest, HeaderColourReturnsOnlyWhenNoBoxUsesTheColumn) {
  CreateEquationBox(ws, emp, 1, 1);
  CreateEquationBox(ws, emp, 2, 1);
  CreateEquationBox(ws, emp, 1, 2);
  DeleteEquationBox(ws, 0, false);
  EXPECT_EQ(ws.TableGrid(emp).CellBackColour(0, 1), 8438015u);
  DeleteEquationBox(ws, 1, false);
  EXPECT_EQ(ws.TableGrid(emp).CellBackColour(0, 1), 65280u);
  EXPECT_EQ(ws.TableGrid(emp).CellBackColour(0, 2), 8438015u);
}

TEST_F(EquationBoxesTest, ConditionCellsHoldEntriesOneTo258ThenRefuse) {
  for (int n = 1; n < kConditionCellCount; ++n) ASSERT_TRUE(AddConditionCell(ws, emp, 1, 2, 900));
  CreateEquationBox(ws, emp, 1, 1);  // takes entry 258
  EXPECT_EQ(ReadConditionCell(ws, 258), (ConditionCell{emp, 1, 1, 0}));
  EXPECT_FALSE(ReadConditionCell(ws, 259).has_value());
  EXPECT_FALSE(ReadConditionCell(ws, 0).has_value());

  CreateEquationBox(ws, emp, 2, 1);
  EXPECT_EQ(host.messages, QStringList{ConditionCellsFullMessage()});
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{0}));
}

TEST_F(EquationBoxesTest, ResumeFormDeclaresTheHighestBox) {
  // Boxes 0..2 rebuilt live from a saved state, then declared.
  EnsureEquationBoxes(ws, 2);
  for (int i = 0; i < 3; ++i) {
    ws.conditions.boxes[i].txt_hndl.visible = true;
    ws.conditions.boxes[i].container = 0;
    ws.conditions.boxes[i].txt_hndl.rect.top = 300 + 400 * i;
  }
  CreateEquationBox(ws, 2, 0, 0);
  EXPECT_EQ(ws.conditions.state.high_box, 2);
  CreateEquationBox(ws, emp, 1, 1);
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(Box(0).txt_hndl.rect.top, 300);  // box 0 not moved
  EXPECT_EQ(Box(3).txt_hndl.rect.top, 1500);
}

TEST_F(EquationBoxesTest, ResumeFormRefusesAHighestIndexBelowALiveBox) {
  EnsureEquationBoxes(ws, 2);
  for (int i = 0; i < 3; ++i) {
    ws.conditions.boxes[i].txt_hndl.visible = true;
    ws.conditions.boxes[i].container = 0;
    ws.conditions.boxes[i].txt_hndl.rect.top = 300 + 400 * i;
  }
  ws.conditions.boxes[2].text = u"Emp.Name = Smith"_s;
  CreateEquationBox(ws, 2, 0, 0);
  CreateEquationBox(ws, 1, 0, 0);  // box 2 is live: refused
  EXPECT_EQ(host.messages, QStringList{EquationBoxInUseMessage(1, 2)});
  EXPECT_EQ(ws.conditions.state.high_box, 2);
  CreateEquationBox(ws, emp, 1, 1);
  EXPECT_EQ(LiveBoxes(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(Box(2).text, u"Emp.Name = Smith"_s) << "the live box is not overwritten";
}

TEST_F(EquationBoxesTest, StoreOrQueryAccessors) {
  EXPECT_TRUE(BoxColumnRef(ws, 7).isEmpty());
  EXPECT_EQ(BoxColumnRef(ws, 7, u"T.C"_s), u"T.C"_s);
  EXPECT_EQ(BoxColumnRef(ws, 7, QString()), u"T.C"_s);
  EXPECT_EQ(SetOperatorBox(ws, 3), 3);
  EXPECT_EQ(SetOperatorBox(ws, -1), 3);
  EXPECT_EQ(SetOperatorBox(ws, 0), 0);
}

}  // namespace
}  // namespace mivora::testing
