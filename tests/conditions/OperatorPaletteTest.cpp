#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionTexts.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/OperatorPalette.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

class OperatorPaletteTest : public ConditionFixture {
 protected:
  void SetUp() override {
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    const int t = AddTable(u"T"_s, {u"C"_s}, {{u"5"_s}, {u"ab"_s}});
    CreateEquationBox(ws, t, 1, 1);  // box 0: "T.C = 5"
    CreateEquationBox(ws, t, 2, 1);  // box 1: "T.C = ab"
  }
  const EquationBox& Box(int i) const { return ws.conditions.boxes.at(i); }
  const Control& Palette() const { return ws.conditions.operator_palette; }
};

TEST_F(OperatorPaletteTest, LayoutOfTheNineLabels) {
  EXPECT_EQ(Palette().rect, (TwipRect{9360, 4800, 612, 3360}));
  EXPECT_EQ(Palette().back_colour, 32896u);
  EXPECT_FALSE(Palette().visible);
  const QString names[] = {u"EQ"_s, u"NE"_s, u"GT"_s, u"LT"_s, u"GE"_s,
                           u"LE"_s, u"FC"_s, u"RC"_s, u"FR"_s};
  const QString captions[] = {u"="_s,  u"<>"_s, u">"_s,  u"<"_s,  u">="_s,
                              u"<="_s, u"=%"_s, u"%="_s, u"%=%"_s};
  for (int i = 0; i < kOperatorLabelCount; ++i) {
    EXPECT_EQ(OperatorLabelName(i), names[i]);
    EXPECT_EQ(ws.conditions.operator_labels[i].caption, captions[i]);
    EXPECT_EQ(ws.conditions.operator_labels[i].rect, (TwipRect{60, 60 + 360.0f * i, 492, 360}));
  }
}

TEST_F(OperatorPaletteTest, EachLabelReplacesTheOperator) {
  const QString results[] = {u"T.C = 5"_s,   u"T.C <> 5"_s, u"T.C > 5"_s,
                             u"T.C < 5"_s,   u"T.C >= 5"_s, u"T.C <= 5"_s,
                             u"T.C =% 5"_s,  u"T.C %= 5"_s, u"T.C %=% 5"_s};
  for (int i = 0; i < kOperatorLabelCount; ++i) {
    SetEquationBoxText(ws, 0, u"T.C >= 5"_s);
    ShowOperatorPalette(ws, 0, 60, 100);
    OperatorLabelMouseUp(ws, i);
    EXPECT_EQ(Box(0).text, results[i]) << i;
    EXPECT_FALSE(Palette().visible);
  }
  EXPECT_EQ(ConditionExpression(ws), u"T.C %=% 5 And  T.C = ab"_s);
  EXPECT_EQ(ws.conditions.state.sql_condition_part, u"T.C Like '%5%' And  T.C = 'ab'"_s);

  SetEquationBoxText(ws, 1, u"T.C %=% ab"_s);
  SetOperatorBox(ws, 1);
  ReplaceOperator(ws, u"="_s);
  EXPECT_EQ(Box(1).text, u"T.C = ab"_s);
}

TEST_F(OperatorPaletteTest, TextsWithoutOperatorAndStalePalettes) {
  const struct {
    QString field;
    QString op;
    QString result;
  } cases[] = {
      {u"T.C 5"_s, u"<>"_s, u"T.C <> 5"_s},  // after the reference, the rest is the value
      {u"5"_s, u"="_s, u"T.C = 5"_s},
      {u""_s, u"<"_s, u"T.C < "_s},  // empty: the operator, then the usual check
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field.toStdString());
    EditEquationBoxText(ws, 0, c.field, c.field.size());
    ASSERT_TRUE(Box(0).refused);
    SetOperatorBox(ws, 0);
    ReplaceOperator(ws, c.op);
    EXPECT_FALSE(Box(0).refused);
    EXPECT_EQ(Box(0).FieldText(), c.result);
  }

  // The palette's box is deleted: the palette hides and a late release changes nothing.
  ShowOperatorPalette(ws, 1, 60, 100);
  DeleteEquationBox(ws, 1, false);
  EXPECT_FALSE(Palette().visible);
  const QString before = ConditionExpression(ws);
  OperatorLabelMouseUp(ws, 1);
  EXPECT_EQ(ConditionExpression(ws), before);
  EXPECT_EQ(Box(1).text, u"T.C = ab"_s);
}

TEST_F(OperatorPaletteTest, ShowsBesideTheBoxInsideTheWindow) {
  // Box 1 sits in the root (600, 600) at (2040, 800).
  ShowOperatorPalette(ws, 1, 60, 100);
  EXPECT_TRUE(Palette().visible);
  EXPECT_EQ(SetOperatorBox(ws, -1), 1);
  EXPECT_EQ(Palette().rect.left, 600 + 2040 + 60 - 530);
  EXPECT_EQ(Palette().rect.top, 600 + 800);
  // Near the window's bottom right it stays inside the client area.
  ws.conditions.boxes[1].txt_hndl.rect.left = 20000;
  ws.conditions.boxes[1].txt_hndl.rect.top = 20000;
  ShowOperatorPalette(ws, 1, 60, 100);
  EXPECT_EQ(Palette().rect.left, 12000 - 20 - 612);
  EXPECT_EQ(Palette().rect.top, 9100 - 320 - 3360);
}

}  // namespace
}  // namespace mivora::testing
