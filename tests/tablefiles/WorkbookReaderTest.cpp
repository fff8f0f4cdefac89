#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/CellValueText.h"
#include "tablefiles/TableLoading.h"
#include "tablefiles/TableNames.h"
#include "tablefiles/Workbook.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;
using testing::TestData;

QString Book(const char* name) {
  return TestData(QStringLiteral("workbooks/") + QString::fromUtf8(name));
}

QStringList Dump(const Grid& g) {
  QStringList rows;
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList cells;
    for (int c = 0; c < g.Cols(); ++c) cells << g.Text(r, c);
    rows << cells.join(u'|');
  }
  return rows;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<Workbook> MustOpen(const QString& path) {
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(path, &reason);
  EXPECT_TRUE(book) << reason.toStdString();
  return book;
}

TEST(WorkbookValues, TextsOfEveryKindOfValue) {
  std::unique_ptr<Workbook> book = MustOpen(Book("values.xlsx"));
  ASSERT_TRUE(book);
  Grid g;
  ASSERT_TRUE(book->ReadSheet(0, g, {}).ok);
  const char* expected[] = {
      "text",       "1200",    "0.3",        "1E-07",      "1E+15",      "-3.5",
      "2024-03-05", "2024-03-05", "2024-03-05", "13:04:57", "2024-03-05 12:00:00", "2.5",
      "TRUE",       "#DIV/0!", "Rich",       "漢字",       "   ",        "inline",
      "2",          "ab",      "FALSE",      "1900-02-29"};
  ASSERT_EQ(g.Rows(), static_cast<int>(std::size(expected)));
  for (int r = 0; r < g.Rows(); ++r)
    EXPECT_EQ(g.Text(r, 1), QString::fromUtf8(expected[r])) << "sheet row " << r + 1;
  EXPECT_EQ(g.Text(0, 0), QStringLiteral("Values"));
  EXPECT_EQ(g.Text(5, 0), QStringLiteral("5"));
}

TEST(WorkbookValues, The1904SystemAndOpenpyxlWorkbooks) {
  std::unique_ptr<Workbook> book = MustOpen(Book("values1904.xlsx"));
  ASSERT_TRUE(book);
  Grid g;
  ASSERT_TRUE(book->ReadSheet(0, g, {}).ok);
  EXPECT_EQ(Dump(g), QStringList{QStringLiteral("Values|1904-01-01|1904-01-02 06:00:00")});

  book = MustOpen(Book("openpyxl.xlsx"));
  ASSERT_TRUE(book);
  EXPECT_EQ(book->SheetNames(), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("空")}));
  ASSERT_TRUE(book->ReadSheet(0, g, {}).ok);
  EXPECT_EQ(Dump(g), (QStringList{QStringLiteral("Sheet1|名前|日付|数|真偽"),
                                  QStringLiteral("1|あ,い|2024-03-05 13:04:05|0.3|TRUE"),
                                  QStringLiteral("2|\"q\"|1999-12-31|1.23456789012346E+19|FALSE")}));
  EXPECT_TRUE(book->SheetIsEmpty(1));
}

TEST(WorkbookValues, LegacyXlsValuesAndSheets) {
  std::unique_ptr<Workbook> book = MustOpen(Book("values.xls"));
  ASSERT_TRUE(book);
  ASSERT_EQ(book->SheetNames(), (QStringList{QStringLiteral("Values"), QStringLiteral("Empty"),
                                             QStringLiteral("FromC3")}));
  Grid g;
  ASSERT_TRUE(book->ReadSheet(0, g, {}).ok);
  // Column 1 names the case (the expected text where it differs), column 2 holds the value.
  const std::pair<const char*, const char*> expected[] = {
      {"text", ""},        {"1200", "1200"},         {"0.3", "0.3"},     {"1E-07", "1E-07"},
      {"-3.5", "-3.5"},    {"date", "2024-03-05"},   {"time", "13:04:05"}, {"bool", "TRUE"},
      {"漢字", "漢字"},    {"formula", "2"}};  // the formula by its cached value
  ASSERT_EQ(g.Rows(), static_cast<int>(std::size(expected)));
  for (int r = 0; r < g.Rows(); ++r) {
    EXPECT_EQ(g.Text(r, 1), QString::fromUtf8(expected[r].first));
    EXPECT_EQ(g.Text(r, 2), QString::fromUtf8(expected[r].second)) << expected[r].first;
  }
  EXPECT_TRUE(book->SheetIsEmpty(1));
  ASSERT_TRUE(book->ReadSheet(2, g, {}).ok);
  EXPECT_EQ(Dump(g), (QStringList{QStringLiteral("FromC3|||"), QStringLiteral("1|||"),
                                  QStringLiteral("2|||x")}));
}

TEST(WorkbookValues, GeneralNumberTexts) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},          {1200, "1200"},       {-3.5, "-3.5"},    {0.1 + 0.2, "0.3"},
      {1e-7, "1E-07"},   {1e15, "1E+15"},      {999999999999999, "999999999999999"},
      {1.0 / 3, "0.333333333333333"},          {123456.789, "123456.789"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(GeneralNumberText(value), text) << text;
}

struct LayoutCase {
  const char* sheet;
  std::vector<const char*> rows;  // empty: the sheet counts as empty
};

TEST(WorkbookLayout, UsedRangeEmptyAndChartSheets) {
  std::unique_ptr<Workbook> book = MustOpen(Book("layout.xlsx"));
  ASSERT_TRUE(book);
  // The chart sheet is neither read nor listed; targets absolute, relative and "../" resolve.
  ASSERT_EQ(book->SheetNames(),
            (QStringList{QStringLiteral("Data"), QStringLiteral("Empty"), QStringLiteral("Styled"),
                         QStringLiteral("FromC3"), QStringLiteral("Gaps")}));
  const LayoutCase cases[] = {
      {"Data", {"Data|h1|h2", "1|1|2"}},  // style-only cells and rows extend nothing
      {"Empty", {}},
      {"Styled", {"Styled|7"}},
      {"FromC3", {"FromC3|||", "1|||", "2|||x"}},
      {"Gaps", {"Gaps|1|2|", "1|||", "2|||3"}},  // rows and cells without references
  };
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const LayoutCase& c = cases[i];
    EXPECT_EQ(book->SheetIsEmpty(i), c.rows.empty()) << c.sheet;
    if (c.rows.empty()) continue;
    Grid g;
    ASSERT_TRUE(book->ReadSheet(i, g, {}).ok) << c.sheet;
    QStringList expected;
    for (const char* r : c.rows) expected << QString::fromUtf8(r);
    EXPECT_EQ(Dump(g), expected) << c.sheet;
    EXPECT_TRUE(g.MergeCol(1)) << c.sheet;
  }
}

TEST(WorkbookField, JoinAndSplit) {
  struct Case {
    const char* field;
    const char* book;
    const char* sheet;
  } cases[] = {
      {"/d/book.xlsx+Sheet1", "/d/book.xlsx", "Sheet1"},
      {"/d+e/a+b.XLS+x+y", "/d+e/a+b.XLS", "x+y"},
      {"/d/book.xlsm+", "/d/book.xlsm", ""},
      {"C:\\d\\book.xlsx+表", "C:\\d\\book.xlsx", "表"},
      {"/d/plain.xlsx", "/d/plain.xlsx", ""},
      {"/a.xls+b/book.xlsx", "/a.xls+b/book.xlsx", ""},
  };
  for (const Case& c : cases) {
    QString book, sheet;
    SplitWorkbookField(QString::fromUtf8(c.field), &book, &sheet);
    EXPECT_EQ(book, QString::fromUtf8(c.book)) << c.field;
    EXPECT_EQ(sheet, QString::fromUtf8(c.sheet)) << c.field;
    if (*c.sheet) {
      EXPECT_EQ(JoinWorkbookField(book, sheet), QString::fromUtf8(c.field));
    }
  }
}

class WorkbookLoading : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(ws_, {}); }
  FakeHost host_;
  Workspace ws_{host_};
};

TEST_F(WorkbookLoading, DialogPathGivesEveryNonEmptySheetInOrder) {
  const QString path = Book("layout.xlsx");
  LoadResult r = LoadTableFile(ws_, path, {});
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  const char* names[] = {"Data", "Styled", "FromC3", "Gaps"};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(ws_.tables.SlotInUse(4 + i));
    EXPECT_EQ(ws_.TableGrid(4 + i).Text(0, 0), QString::fromUtf8(names[i]));
    EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), 4 + i),
              QFileInfo(path).absoluteFilePath() + u'+' + QString::fromUtf8(names[i]));
  }
  EXPECT_FALSE(ws_.tables.SlotInUse(8));
  EXPECT_EQ(r.slot, 7);
  EXPECT_EQ(host_.wait_cursor_depth, 0);
}

TEST_F(WorkbookLoading, NamedSheetAtItsGeometryEvenWhenEmpty) {
  const QString book = QFileInfo(Book("layout.xlsx")).absoluteFilePath();
  const TwipRect geometry{1000, 2000, 3000, 4000};
  LoadResult r = LoadTableFile(ws_, book + QStringLiteral("+Empty"), geometry);
  EXPECT_TRUE(r.ok);
  ASSERT_EQ(r.slot, 4);
  EXPECT_EQ(ws_.TableGrid(4).Text(0, 0), QStringLiteral("Empty"));
  EXPECT_EQ(ws_.tables.slots.at(4).frame.rect.left, geometry.left);
  EXPECT_EQ(ws_.tables.slots.at(4).frame.rect.top, geometry.top);
  // A sheet renamed since: no table, the message.
  r = LoadTableFile(ws_, book + QStringLiteral("+Gone"), geometry);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.slot, 0);
  EXPECT_EQ(host_.messages.last(), QStringLiteral("ワークシート「Gone」がありません。"));
  EXPECT_FALSE(ws_.tables.SlotInUse(5));
}

TEST_F(WorkbookLoading, UnreadableWorkbooksTakeNoSlot) {
  QTemporaryDir dir;
  auto write = [&](const char* name, const QByteArray& bytes) {
    QFile f(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  };
  QByteArray zip_head("PK\x03\x04", 4);
  QFile good(Book("values.xlsx"));
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  const QByteArray whole = good.readAll();
  const struct {
    QString path;
    const char* reason;
  } cases[] = {
      {write("text.xlsx", "name,value\n"), "Excel のブックではありません。"},
      {write("truncated.xlsx", whole.left(whole.size() / 2)), nullptr},
      {write("head.xlsx", zip_head + QByteArray(100, '\0')), nullptr},
      {write("truncated.xls", ReadAll(Book("values.xls")).left(3000)), nullptr},
      {write("ole.xls", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, 'x')),
       "Excel のブックではありません。"},
      {QStringLiteral("/no/such/book.xlsx"), nullptr},
  };
  for (const auto& c : cases) {
    host_.messages.clear();
    LoadResult r = LoadTableFile(ws_, c.path, {});
    EXPECT_EQ(r.slot, 0) << c.path.toStdString();
    ASSERT_EQ(host_.messages.size(), 1) << c.path.toStdString();
    EXPECT_TRUE(host_.messages[0].startsWith(QStringLiteral("表ファイル「") + c.path +
                                             QStringLiteral("」を開けません。\n")))
        << host_.messages[0].toStdString();
    if (c.reason) {
      EXPECT_TRUE(host_.messages[0].endsWith(QString::fromUtf8(c.reason)));
    }
  }
  EXPECT_FALSE(ws_.tables.SlotInUse(4));
  // A relationship leaving the archive names no worksheet.
  std::unique_ptr<Workbook> book = MustOpen(Book("escape.xlsx"));
  ASSERT_TRUE(book);
  EXPECT_TRUE(book->SheetNames().isEmpty());
}

}  // namespace
}  // namespace mivora
