#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionTexts.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/EquationsKeyboard.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

struct EntryCase {
  const char* what;
  QString before, after, ref;
  QString shown;
  bool accepted;
};

TEST(EquationEntryTest, TypedTextsAreCheckedAsTheyChange) {
  const QString ref = u"T.C"_s;
  const EntryCase cases[] = {
      {"operator typed at the end gets a blank", u"T.C "_s, u"T.C ="_s, ref, u"T.C = "_s, true},
      {"column part typed over", u"T.C = 5"_s, u"X = 5"_s, ref, u"T.C = 5"_s, true},
      {"no reference: column part free", u"条件 = 式 1"_s, u"abc = 式 1"_s, {}, u"abc = 式 1"_s,
       true},
      {"> then = join", u"T.C > "_s, u"T.C > ="_s, ref, u"T.C >= "_s, true},
      {"< then > join", u"T.C < "_s, u"T.C < >"_s, ref, u"T.C <> "_s, true},
      {"%= then % join", u"T.C %= "_s, u"T.C %= %"_s, ref, u"T.C %=% "_s, true},
      {"= then = stays apart", u"T.C = "_s, u"T.C = ="_s, ref, u"T.C = ="_s, true},
      {"backspace removes the blank", u"T.C >= "_s, u"T.C >="_s, ref, u"T.C >="_s, true},
      {"a=b stays as typed", u"T.C = a"_s, u"T.C = a="_s, ref, u"T.C = a="_s, true},
      {"50% stays as typed", u"T.C = 50"_s, u"T.C = 50%"_s, ref, u"T.C = 50%"_s, true},
      {"< in the value", u"T.C = a"_s, u"T.C = a<"_s, ref, u"T.C = a<"_s, true},
      {"operator into an empty box", u""_s, u"="_s, ref, u"T.C = "_s, true},
      {"emptied box refused", u"T.C = 5"_s, u""_s, ref, u""_s, false},
      {"no operator refused", u"T.C = 5"_s, u"T.C 5"_s, ref, u"T.C 5"_s, false},
      {"reference holding <", u"T<1.C = 5"_s, u"T<1.C = 56"_s, u"T<1.C"_s, u"T<1.C = 56"_s, true},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.what);
    const EntryCheck check = CheckEquationText(c.before, c.after, c.after.size(), c.ref);
    EXPECT_EQ(check.text, c.shown);
    EXPECT_EQ(check.accepted, c.accepted);
  }
}

TEST(EquationEntryTest, CursorKeepsItsDistanceFromTheEnd) {
  // "T.C" selected and replaced by "X": the cursor stood after the X, 4 from the end.
  EXPECT_EQ(CheckEquationText(u"T.C = 5"_s, u"X = 5"_s, 1, u"T.C"_s).cursor, 3);
  EXPECT_EQ(CheckEquationText(u"T.C "_s, u"T.C ="_s, 5, u"T.C"_s).cursor, 6);
  EXPECT_EQ(CheckEquationText(u"T.C = 5"_s, u"T.C 5"_s, 4, u"T.C"_s).cursor, 4);
}

class EquationEntryFlowTest : public ConditionFixture {
 protected:
  void SetUp() override {
    const int emp = AddTable(u"Emp"_s, {u"Name"_s}, {{u"Smith"_s}, {u"Jones"_s}});
    CreateEquationBox(ws, emp, 1, 1);
    CreateEquationBox(ws, emp, 2, 1);
  }
  const EquationBox& Box(int i) const { return ws.conditions.boxes.at(i); }
};

TEST_F(EquationEntryFlowTest, RefusedTextsNeverReachTheCondition) {
  const QString accepted = u"Emp.Name = Smith And  Emp.Name = Jones"_s;
  ASSERT_EQ(ConditionExpression(ws), accepted);

  // The box is emptied: shown empty, the condition keeps its equation, no message yet.
  EditEquationBoxText(ws, 0, QString(), 0);
  EXPECT_EQ(Box(0).FieldText(), QString());
  EXPECT_EQ(Box(0).text, u"Emp.Name = Smith"_s);
  EXPECT_EQ(ConditionExpression(ws), accepted);
  EXPECT_TRUE(host.messages.isEmpty());

  // The message shows when the edit ends, once.
  EXPECT_TRUE(EndEquationEdit(ws, 0));
  EXPECT_TRUE(EndEquationEdit(ws, 0));
  EXPECT_EQ(host.messages, QStringList{u"Irregal Equation !"_s});

  // Escape gives the accepted text back.
  EquationsEscape(ws, 0);
  EXPECT_EQ(Box(0).FieldText(), u"Emp.Name = Smith"_s);

  // A valid change is taken at once, into both texts.
  EditEquationBoxText(ws, 0, u"Emp.Name >= A"_s, 13);
  EXPECT_FALSE(EndEquationEdit(ws, 0));
  EXPECT_EQ(ConditionExpression(ws), u"Emp.Name >= A And  Emp.Name = Jones"_s);
  EXPECT_EQ(ws.conditions.state.sql_condition_part,
            u"Emp.Name >= 'A' And  Emp.Name = 'Jones'"_s);
  EXPECT_EQ(host.messages.size(), 1);
}

TEST_F(EquationEntryFlowTest, EraseKeyInAnEmptyFieldAsksAndPassesTheFocusOn) {
  EditEquationBoxText(ws, 0, u"Emp.Name = Smit"_s, 15);
  EXPECT_EQ(EraseKeyInEmptyField(ws, 0), 0);  // not empty: an ordinary key
  EXPECT_TRUE(host.questions.isEmpty());

  EditEquationBoxText(ws, 0, QString(), 0);
  host.answers = {false};
  EXPECT_EQ(EraseKeyInEmptyField(ws, 0), 0);
  EXPECT_TRUE(Box(0).live());
  host.answers = {true};
  EXPECT_EQ(EraseKeyInEmptyField(ws, 0), 1);
  EXPECT_FALSE(Box(0).live());
  EXPECT_EQ(host.questions, (QStringList{u"この式を消しますか ？"_s, u"この式を消しますか ？"_s}));
  EXPECT_EQ(ConditionExpression(ws), u"Emp.Name = Jones"_s);

  EditEquationBoxText(ws, 1, QString(), 0);
  EXPECT_EQ(EraseKeyInEmptyField(ws, 1), -1);  // the last box: the window takes the focus
}

}  // namespace
}  // namespace mivora::testing
