#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ConditionFixture.h"
#include "conditions/ConditionEvaluation.h"
#include "conditions/ParsedCondition.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

// Data rows 2..8 of the joined grid used by every case below.
class EvaluationTest : public ConditionFixture {
 protected:
  void SetUp() override {
    FillJoined({QStringLiteral("Name"), QStringLiteral("*Name"), QStringLiteral("*Code"),
                QStringLiteral("*CodeNo"), QStringLiteral("*Qty"), QStringLiteral("*Sales_Order"),
                QStringLiteral("=Dept")},
               {
                   {u"abc"_s, u" abc "_s, u"1"_s, u"2"_s, u"10"_s, u"A"_s, u"d"_s},
                   {u"cab"_s, u"cab"_s, u"2"_s, u"1"_s, u"9"_s, u"B"_s, u"d"_s},
                   {u"abab"_s, u"abab"_s, u"x"_s, u"x"_s, u"abc"_s, u"Oracle"_s, u"d"_s},
                   {u"f"_s, u"f(x)"_s, u" 1"_s, u""_s, u"-1"_s, u"Andrew"_s, u"d"_s},
                   {u"c"_s, u"Code"_s, u"Code"_s, u"3"_s, u" 1 5"_s, u"C"_s, u"d"_s},
                   {u"e"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s},
                   {u"山田"_s, u" 山田太郎 "_s, u""_s, u""_s, u""_s, u""_s, u""_s},
               });
  }
  std::vector<TruthValue> Direct(const QString& text, QStringList* messages = nullptr) {
    std::vector<TruthValue> values;
    for (int row = 2; row < ws.result.JoinedGrid().Rows(); ++row)
      values.push_back(EvaluateCondition(ws.result.JoinedGrid(), text, row, messages));
    return values;
  }
};

struct Case {
  const char16_t* text;
  std::vector<TruthValue> rows;  // expected value for data rows 2..8
};

// Single equations: operators, trimming, numbers, name matching before the operator.
const Case kEquations[] = {
    {u"T.Name = abc", {1, 0, 0, 0, 0, 0, 0}},
    {u"T.Name <> abc", {1, 1, 1, 1, 1, 1, 1}},  // the stored " abc " differs from "abc"
    {u"T.Name =% ab", {1, 0, 1, 0, 0, 0, 0}},
    {u"T.Name %= ab", {0, 1, 1, 0, 0, 0, 0}},
    {u"T.Name %=% ab", {1, 1, 1, 0, 0, 0, 0}},
    {u"T.Name =% ", {1, 1, 1, 1, 1, 1, 1}},  // an empty value begins every text
    {u"T.Qty > 9", {1, 0, 0, 0, 1, 0, 0}},   // " 1 5" reads 15 once blanks are gone
    {u"T.Qty > -1", {1, 1, 1, 0, 1, 1, 1}},  // "abc" and "" read as 0
    {u"T.Qty >= 10", {1, 0, 0, 0, 1, 0, 0}},
    {u"T.Qty < 0", {0, 0, 0, 1, 0, 0, 0}},
    {u"T.Qty <= 9", {0, 1, 1, 1, 0, 1, 1}},
    {u"T.Qty < &HA", {0, 1, 1, 1, 0, 1, 1}},     // hexadecimal 10
    {u"T.Qty >= &O17", {0, 0, 0, 0, 1, 0, 0}},   // octal 15
    {u"T.Qty > 0.95D1", {1, 0, 0, 0, 1, 0, 0}},  // 9.5
    {u"T.Qty < 1.2E1", {1, 1, 1, 1, 0, 1, 1}},
    {u"T.Name = 山田太郎", {0, 0, 0, 0, 0, 0, 1}},
    {u"T.Name %=% 田太", {0, 0, 0, 0, 0, 0, 1}},
    {u"T.Name %= 太郎", {0, 0, 0, 0, 0, 0, 1}},
    {u"T.Name =% 田", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.CodeNo = 1", {1, 1, 0, 1, 0, 0, 0}},  // tests both Code and CodeNo
    {u"T.Code = 1", {1, 0, 0, 1, 0, 0, 0}},
    {u"T.X = Code", {0, 0, 0, 0, 0, 0, 0}},  // a name in the value is no column
    {u"T.Code abc", {0, 0, 0, 0, 0, 0, 0}},  // no operator holds for no row
    {u"ab", {-1, -1, -1, -1, -1, -1, -1}},
    {u"  ab  ", {-1, -1, -1, -1, -1, -1, -1}},
    // Numbers beyond the double range are infinite, not 0.
    {u"T.Qty < 1e400", {1, 1, 1, 1, 1, 1, 1}},
    {u"T.Qty > -1e400", {1, 1, 1, 1, 1, 1, 1}},
    {u"T.Qty > 1E+400", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.Qty <= -1D400", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.Qty > 1e-400", {1, 1, 0, 0, 1, 0, 0}},  // too small: 0
};

// Expressions as the tree writes them.
const Case kExpressions[] = {
    {u"", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.Name = abc And  T.Code = 1", {1, 0, 0, 0, 0, 0, 0}},
    {u"T.Name = abc Or  T.Name = cab", {1, 1, 0, 0, 0, 0, 0}},
    {u"T.Name %=% ab Or  T.Name =% ab", {2, 1, 2, 0, 0, 0, 0}},
    {u"ab And  T.Name = cab", {0, 1, 0, 0, 0, 0, 0}},
    {u"T.Name = abc And  ab And  T.Code = 1", {1, 0, 0, 0, 0, 0, 0}},
    {u"ab And  cd", {1, 1, 1, 1, 1, 1, 1}},
    {u"ab Or  cd", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.Name = cab Or  (  T.Code = 1 And  T.Qty > 9 )", {1, 1, 0, 0, 0, 0, 0}},
    {u"(  T.Name = abc And  T.Code = 1 ) Or  T.Name = cab", {1, 1, 0, 0, 0, 0, 0}},
    {u"(  T.Code = 1 Or  T.CodeNo = 1 ) And  (  T.Qty > 9 Or  T.Name = cab )",
     {2, 1, 0, 0, 0, 0, 0}},
    {u"T.Name %=% a And  (  T.Code = 2 Or  (  T.Qty > 9 And  T.Name =% a ) )",
     {1, 1, 0, 0, 0, 0, 0}},
    {u"T.Sales_Order = Oracle Or  T.Sales_Order = Andrew", {0, 0, 1, 1, 0, 0, 0}},
    {u"T.Sales_Order = Andrew And  T.Code = 1", {0, 0, 0, 1, 0, 0, 0}},
    {u"T.Name = f(x)", {0, 0, 0, 0, 0, 0, 0}},
    {u"T.Name = f(x) And  T.Code = 1", {0, 0, 0, 0, 0, 0, 0}},
    {u"(  T.Code = 1 )x T.Name = abc", {1, 0, 0, 0, 0, 0, 0}},
};

TEST_F(EvaluationTest, EquationsHoldAsTheirOperatorSays) {
  for (const Case& c : kEquations) {
    const QString text = QString::fromUtf16(c.text);
    std::vector<TruthValue> values;
    for (int row = 2; row < 9; ++row)
      values.push_back(EvaluateEquation(ws.result.JoinedGrid(), text, row));
    EXPECT_EQ(values, c.rows) << text.toStdString();
  }
}

TEST_F(EvaluationTest, ExpressionsCombineWithAndOrAndParentheses) {
  for (const Case& c : kExpressions) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(Direct(text), c.rows) << text.toStdString();
  }
}

TEST_F(EvaluationTest, ParenthesesWithoutConnectiveReportThemselves) {
  struct MessageCase {
    const char16_t* text;
    QStringList messages;
  };
  const MessageCase cases[] = {
      {u"T.Name = f(x)", {LeftParenthesisMessage(u"e = f"_s)}},
      {u"(  T.Code = 1 )x T.Name = abc", {RightParenthesisMessage(u")x T."_s)}},
      {u"(  T.Code = 1 ) And  T.Name = abc", {}},
  };
  for (const MessageCase& c : cases) {
    QStringList messages;
    EvaluateCondition(ws.result.JoinedGrid(), QString::fromUtf16(c.text), 2, &messages);
    EXPECT_EQ(messages, c.messages) << QString::fromUtf16(c.text).toStdString();
  }
}

// The parsed form's values for every data row of the joined grid, read a block at a time.
std::vector<TruthValue> BlockValues(const ParsedCondition& parsed, const Grid& joined) {
  std::vector<TruthValue> values(static_cast<std::size_t>(joined.Rows() - 2));
  parsed.EvaluateRows(joined, 2, joined.Rows() - 2, values.data());
  return values;
}

TEST_F(EvaluationTest, ParsedFormYieldsWhatReadingTheTextYields) {
  std::vector<QString> texts;
  for (const Case& c : kEquations) texts.push_back(QString::fromUtf16(c.text));
  for (const Case& c : kExpressions) texts.push_back(QString::fromUtf16(c.text));
  for (const char16_t* odd :
       {u"((", u"))T.Code = 1", u"()", u"(ab)", u"x(", u"(  T.Code = 1",
        u"T.Code = 1 ) Or  (  T.Name = abc )", u"a(b(c)d)e",
        u"(  (  T.Code = 1 Or  ab ) And  cd ) Or  ef", u"ab Or  (  T.Code = 1 )",
        u" Or  T.Code = 1 Or ", u"T.Code = 1 And  T.Name = cab Or  T.Qty > 9"})
    texts.push_back(QString::fromUtf16(odd));
  // Nested levels read a block at a time (deeper ones are read row by row).
  texts.push_back(QString(40, u'(') + u"T.Code = 1"_s + u") And  T.Qty > 9"_s.repeated(40));
  texts.push_back(u"T.Qty > 9 And  ("_s.repeated(30) + u"T.Code = 2 Or  T.Name = abc"_s +
                  QString(30, u')'));
  const Grid& joined = ws.result.JoinedGrid();
  for (const QString& text : texts) {
    const ParsedCondition parsed(text, joined);
    QStringList direct_messages;
    EvaluateCondition(joined, text, 2, &direct_messages);
    EXPECT_EQ(parsed.Messages(), direct_messages) << text.toStdString();
    std::vector<TruthValue> direct;
    for (int row = 2; row < joined.Rows(); ++row) {
      direct.push_back(EvaluateCondition(joined, text, row));
      EXPECT_EQ(parsed.Evaluate(joined, row), direct.back())
          << text.toStdString() << " row " << row;
    }
    EXPECT_EQ(BlockValues(parsed, joined), direct) << text.toStdString();
  }
}

// Cells that tell code units from UTF-8 bytes: a character beyond the BMP (two code units),
// the "?" a lone surrogate would become in UTF-8, and a plain text.
class SurrogateTest : public ConditionFixture {
 protected:
  void SetUp() override {
    FillJoined({QStringLiteral("Name"), QStringLiteral("*Name")},
               {{u"a"_s, u"😀"_s}, {u"b"_s, u"?"_s}, {u"c"_s, u"x"_s}, {u"d"_s, u"😀?"_s}});
  }
};

TEST_F(SurrogateTest, ALoneSurrogateReadsTheSameInBothForms) {
  const QString high(QChar(0xD83D));
  const QString low(QChar(0xDE00));
  const struct {
    QString text;
    std::vector<TruthValue> rows;  // rows 2..5
  } cases[] = {
      {u"T.Name = "_s + high, {0, 0, 0, 0}},  {u"T.Name =% "_s + high, {1, 0, 0, 1}},
      {u"T.Name %= "_s + low, {1, 0, 0, 0}},  {u"T.Name %=% "_s + low + u"?"_s, {0, 0, 0, 1}},
      {u"T.Name <> "_s + high, {1, 1, 1, 1}}, {u"T.Name = ?"_s, {0, 1, 0, 0}},
  };
  const Grid& joined = ws.result.JoinedGrid();
  for (const auto& c : cases) {
    const ParsedCondition parsed(c.text, joined);
    std::vector<TruthValue> direct, fast;
    for (int row = 2; row < joined.Rows(); ++row) {
      direct.push_back(EvaluateCondition(joined, c.text, row));
      fast.push_back(parsed.Evaluate(joined, row));
    }
    EXPECT_EQ(direct, c.rows) << c.text.toStdString();
    EXPECT_EQ(fast, c.rows) << c.text.toStdString();
    EXPECT_EQ(BlockValues(parsed, joined), c.rows) << c.text.toStdString();
  }
}

// Deep nesting reads in linear time in both forms, without deep recursion: every level below
// is evaluated (its connective is right after its closing parenthesis).
TEST_F(EvaluationTest, DeeplyNestedExpressionsOfTwoHundredThousandCharacters) {
  const QString tail = u") Or  T.Qty > 9"_s;
  const int levels = 200000 / static_cast<int>(tail.size() + 1);
  const QString chained = QString(levels, u'(') + u"T.Code = 1"_s + tail.repeated(levels);
  const QString nested = QString(100000, u'(') + u"T.Code = 1"_s + QString(100000, u')');
  QString unclosed = QString(200000, u'(') + u"T.Code = 1"_s;
  const Grid& joined = ws.result.JoinedGrid();
  const struct {
    QString text;
    TruthValue row2;  // Code 1, Qty 10
    TruthValue row3;  // Code 2, Qty 9
  } cases[] = {
      {chained, 1 + levels, 0},
      {nested, 0, 0},
      {unclosed, 1, 0},  // the whole text is one flat piece
  };
  for (const auto& c : cases) {
    QStringList messages;
    EXPECT_EQ(EvaluateCondition(joined, c.text, 2, &messages), c.row2);
    EXPECT_EQ(EvaluateCondition(joined, c.text, 3), c.row3);
    const ParsedCondition parsed(c.text, joined);
    EXPECT_EQ(parsed.Messages(), messages);
    EXPECT_EQ(parsed.Evaluate(joined, 2), c.row2);
    EXPECT_EQ(parsed.Evaluate(joined, 3), c.row3);
    const std::vector<TruthValue> block = BlockValues(parsed, joined);
    EXPECT_EQ(block[0], c.row2);
    EXPECT_EQ(block[1], c.row3);
  }
}

TEST(TruthValueTest, ProductsAndSumsStayInRange) {
  const TruthValue big = TruthValue{1} << 62;
  EXPECT_EQ(TruthProduct(big, 4), std::numeric_limits<TruthValue>::max());
  EXPECT_EQ(TruthProduct(big, -4), std::numeric_limits<TruthValue>::min());
  EXPECT_EQ(TruthSum(std::numeric_limits<TruthValue>::max(), 1),
            std::numeric_limits<TruthValue>::max());
  EXPECT_EQ(TruthProduct(3, -1), -3);
}

}  // namespace
}  // namespace mivora::testing
