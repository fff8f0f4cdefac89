#include <gtest/gtest.h>

#include "ConditionFixture.h"
#include "conditions/ConditionEvaluation.h"
#include "conditions/OperatorReading.h"
#include "conditions/ParsedCondition.h"
#include "conditions/SqlText.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

struct ReadingCase {
  QString text;
  QString ref;
  QString column, op, value, sql;
};

// Every reader of an equation (split, SQL form) sees the same operator: the first of the
// nine from the left, the longest there, after the box's reference when the text starts
// with it.
TEST(OperatorReadingTest, OneReadingForSplitAndSqlForm) {
  const ReadingCase cases[] = {
      {u"T.C = ab"_s, {}, u"T.C"_s, u"="_s, u"ab"_s, u"T.C = 'ab'"_s},
      {u"T.C %= ab"_s, {}, u"T.C"_s, u"%="_s, u"ab"_s, u"T.C Like '%ab'"_s},
      {u"T.C =% ab"_s, {}, u"T.C"_s, u"=%"_s, u"ab"_s, u"T.C Like 'ab%'"_s},
      {u"T.C %=% ab"_s, {}, u"T.C"_s, u"%=%"_s, u"ab"_s, u"T.C Like '%ab%'"_s},
      {u"T.C < 5"_s, {}, u"T.C"_s, u"<"_s, u"5"_s, u"T.C < '5'"_s},
      {u"T.C <= 5"_s, {}, u"T.C"_s, u"<="_s, u"5"_s, u"T.C <= '5'"_s},
      {u"T.C > 10"_s, {}, u"T.C"_s, u">"_s, u"10"_s, u"T.C > '10'"_s},
      {u"T.C >= 5"_s, {}, u"T.C"_s, u">="_s, u"5"_s, u"T.C >= '5'"_s},
      {u"T.C <> ab"_s, {}, u"T.C"_s, u"<>"_s, u"ab"_s, u"T.C <> 'ab'"_s},
      // The first operator wins wherever a longer one stands later.
      {u"T.C = a<b"_s, {}, u"T.C"_s, u"="_s, u"a<b"_s, u"T.C = 'a<b'"_s},
      {u"T.C = a>=b"_s, {}, u"T.C"_s, u"="_s, u"a>=b"_s, u"T.C = 'a>=b'"_s},
      {u"T.C = 50%"_s, {}, u"T.C"_s, u"="_s, u"50%"_s, u"T.C = '50%'"_s},
      {u"T.C < >"_s, {}, u"T.C"_s, u"<"_s, u">"_s, u"T.C < '>'"_s},
      // The blank after the operator is skipped only when there is one.
      {u"T.C >=5"_s, {}, u"T.C"_s, u">="_s, u"5"_s, u"T.C >= '5'"_s},
      {u"T.C ="_s, {}, u"T.C"_s, u"="_s, u""_s, u"T.C = ''"_s},
      {u"T.C = it's"_s, {}, u"T.C"_s, u"="_s, u"it's"_s, u"T.C = 'it's'"_s},
      {u"no operator"_s, {}, u"no operator"_s, u""_s, u""_s, u"no operator"_s},
      {u"T.C 50 % off"_s, {}, u"T.C 50 % off"_s, u""_s, u""_s, u"T.C 50 % off"_s},
      // A reference holding an operator character is a name.
      {u"T<1.C = 5"_s, u"T<1.C"_s, u"T<1.C"_s, u"="_s, u"5"_s, u"T<1.C = '5'"_s},
      {u"T<1.C = 5"_s, {}, u"T"_s, u"<"_s, u"1.C = 5"_s, u"T< '1.C = 5'"_s},
  };
  for (const ReadingCase& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    const EquationParts parts = SplitEquation(c.text, c.ref);
    EXPECT_EQ(parts.column, c.column);
    EXPECT_EQ(OperatorText(parts.found.op), c.op);
    EXPECT_EQ(parts.value, c.value);
    EXPECT_EQ(SqlFormOfBoxText(c.text, c.ref), c.sql);
  }
}

// Both evaluation paths read the operator the same way: a "<" or ">=" in the value of an "="
// equation is part of the value.
TEST_F(ConditionFixture, EvaluationReadsTheFirstOperator) {
  FillJoined({u"*C"_s}, {{u"a<b"_s}, {u"a"_s}, {u"7"_s}, {u"a>=b"_s}});
  const struct {
    QString equation;
    std::vector<int> holding_rows;
  } cases[] = {
      {u"T.C = a<b"_s, {2}},
      {u"T.C = a>=b"_s, {5}},
      {u"T.C >=5"_s, {4}},
      {u"T.C <> a"_s, {2, 4, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.equation.toStdString());
    const ParsedCondition parsed(c.equation, ws.result.JoinedGrid());
    std::vector<int> direct, fast;
    for (int row = 2; row <= 5; ++row) {
      if (EvaluateCondition(ws.result.JoinedGrid(), c.equation, row) >= 1) direct.push_back(row);
      if (parsed.Evaluate(ws.result.JoinedGrid(), row) >= 1) fast.push_back(row);
    }
    EXPECT_EQ(direct, c.holding_rows);
    EXPECT_EQ(fast, c.holding_rows);
  }
}

}  // namespace
}  // namespace mivora::testing
