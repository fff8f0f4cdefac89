#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ConditionFixture.h"
#include "conditions/EquationBoxes.h"
#include "conditions/SqlText.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(SqlFormTest, EachOperatorQuotesItsValue) {
  const std::pair<QString, QString> cases[] = {
      {u"T.C = ab"_s, u"T.C = 'ab'"_s},
      {u"T.C %= ab"_s, u"T.C Like '%ab'"_s},
      {u"T.C =% ab"_s, u"T.C Like 'ab%'"_s},
      {u"T.C %=% ab"_s, u"T.C Like '%ab%'"_s},
      {u"T.C < 5"_s, u"T.C < '5'"_s},
      {u"T.C <= 5"_s, u"T.C <= '5'"_s},
      {u"T.C > 10"_s, u"T.C > '10'"_s},
      {u"T.C >= 5"_s, u"T.C >= '5'"_s},
      {u"T.C <> ab"_s, u"T.C <> 'ab'"_s},
      {u"T.C = O'Neil"_s, u"T.C = 'O'Neil'"_s},  // quotes are not doubled
      {u"T.C ="_s, u"T.C = ''"_s},
      {u"no operator"_s, u"no operator"_s},
  };
  for (const auto& [text, sql] : cases)
    EXPECT_EQ(SqlFormOfBoxText(text), sql) << text.toStdString();
}

class SqlTextTest : public ConditionFixture {};

TEST_F(SqlTextTest, PiecesAreTakenOnlyWithTheOtherTwoUnchanged) {
  struct Case {
    QString select, join, condition;
    QString expected_select, expected_join, expected_condition;
  };
  const QString d = u"-"_s;
  const Case cases[] = {
      {u"S"_s, d, d, u"S"_s, QString(), QString()},
      {d, u"J"_s, d, QString(), u"J"_s, QString()},
      {d, d, u"C"_s, QString(), QString(), u"C"_s},
      {u"S"_s, u"J"_s, d, QString(), QString(), QString()},
      {u"S"_s, d, u"C"_s, QString(), QString(), QString()},
      {d, d, d, QString(), QString(), QString()},
  };
  for (const Case& c : cases) {
    Workspace fresh(host);
    SetSqlTextPart(fresh, c.select, c.join, c.condition);
    EXPECT_EQ(fresh.conditions.state.sql_select_part, c.expected_select);
    EXPECT_EQ(fresh.conditions.state.sql_join_part, c.expected_join);
    EXPECT_EQ(fresh.conditions.state.sql_condition_part, c.expected_condition);
    EXPECT_EQ(fresh.conditions.equation_text, c.expected_select + u"\r\n\r\n"_s + c.expected_join +
                                                  u"\r\n("_s + c.expected_condition + u")"_s);
  }
}

TEST_F(SqlTextTest, EmpAndDeptExample) {
  const int emp = AddTable(u"Emp"_s, {u"Name"_s, u"Dept"_s}, {{u"Adams"_s, u"1"_s}});
  const int dept = AddTable(u"Dept"_s, {u"Id"_s, u"Title"_s}, {{u"1"_s, u"Sales"_s}});
  CreateEquationBox(ws, emp, 1, 1);
  SetEquationBoxText(ws, 0, u"Emp.Name =% A"_s);
  CreateEquationBox(ws, dept, 1, 2);
  SetSqlTextPart(ws, u"Select \r\nEmp.Name , Dept.Title\r\n From \r\nEmp , Dept"_s, u"-"_s, u"-"_s);
  SetSqlTextPart(ws, u"-"_s, u" Where \r\nEmp.Dept=Dept.Id\r\n\r\n AND "_s, u"-"_s);
  const QStringList lines = {u"Select "_s,
                             u"Emp.Name , Dept.Title"_s,
                             u" From "_s,
                             u"Emp , Dept"_s,
                             QString(),
                             u" Where "_s,
                             u"Emp.Dept=Dept.Id"_s,
                             QString(),
                             u" AND "_s,
                             u"(Emp.Name Like 'A%' And  Dept.Title = 'Sales')"_s};
  EXPECT_EQ(ws.conditions.equation_text, lines.join(u"\r\n"_s));
}

TEST_F(SqlTextTest, SaveWritesUtf8WithCrLfAndRemembersTheFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const int t = AddTable(u"表"_s, {u"名前"_s}, {{u"山田"_s}});
  CreateEquationBox(ws, t, 1, 1);
  const QString first = dir.filePath(u"a.sql"_s);
  QDir(dir.path()).mkdir(u"sub"_s);
  const QString second = dir.filePath(u"sub/b.sql"_s);
  host.files_to_choose = {first, second};
  SaveSqlText(ws);
  SaveSqlText(ws);

  ASSERT_EQ(host.dialogs.size(), 2u);
  EXPECT_EQ(host.dialogs[0].filter, u"CSV File (*.sql);;すべてのファイル (*)"_s);
  EXPECT_EQ(host.dialogs[1].dir, QDir(dir.path()).absolutePath());
  QFile file(second);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes, (ws.conditions.equation_text + u"\r\n"_s).toUtf8());
  EXPECT_TRUE(bytes.endsWith("(表.名前 = '山田')\r\n"));
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(SqlTextTest, CancelWritesNothingAndAFailedSaveSaysSo) {
  QTemporaryDir dir;
  SaveSqlText(ws);  // no file chosen
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  host.files_to_choose = {dir.filePath(u"missing/x.sql"_s)};
  SaveSqlText(ws);
  ASSERT_EQ(host.messages.size(), 1);
  EXPECT_TRUE(host.messages[0].startsWith(u"ファイル「"_s + dir.filePath(u"missing/x.sql"_s) +
                                          u"」に書き込めません。\n"_s));
}

TEST_F(SqlTextTest, FrameReleaseSavesWithShiftLeftOrMiddleAndAClickRefreshes) {
  struct Case {
    int button, shift;
    bool saves, refreshes;
  };
  const Case cases[] = {
      {1, 0, false, true},  {1, 1, true, true},   {4, 0, true, false},
      {2, 0, false, false}, {2, 1, false, false},
  };
  for (const Case& c : cases) {
    FakeHost fresh_host;
    Workspace fresh(fresh_host);
    fresh.conditions.state.sql_condition_part = u"stale"_s;
    SqlTextFrameMouseUp(fresh, c.button, c.shift);
    EXPECT_EQ(fresh_host.dialogs.size(), c.saves ? 1u : 0u) << c.button << "/" << c.shift;
    EXPECT_EQ(fresh.conditions.state.sql_condition_part.isEmpty(), c.refreshes)
        << c.button << "/" << c.shift;
    EXPECT_GT(fresh.conditions.cnd_equation.z, 0u);
  }
}

}  // namespace
}  // namespace mivora::testing
