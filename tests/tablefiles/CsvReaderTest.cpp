#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/FakeHost.h"
#include "tablefiles/CsvReader.h"
#include "tablefiles/TableLoading.h"
#include "tablefiles/TableNames.h"
#include "model/Grid.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;
using testing::TestData;

// The grid as rows of tab-joined cells, for compact expectations.
QStringList Dump(const Grid& g) {
  QStringList rows;
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList cells;
    for (int c = 0; c < g.Cols(); ++c) cells << g.Text(r, c);
    rows << cells.join(u'|');
  }
  return rows;
}

struct CsvCase {
  const char* name;
  QByteArray content;
  bool ok;
  std::vector<const char*> rows;  // cells joined by |
  const char* message = "";
};

class CsvRead : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvRead, FillsTheGridAsLaidOut) {
  const CsvCase& c = GetParam();
  Grid g;
  CsvReader reader;
  TableReadResult result = reader.Read(c.content, QStringLiteral("/data/t.csv"), g, {});
  EXPECT_EQ(result.ok, c.ok) << result.message.toStdString();
  QStringList expected;
  for (const char* r : c.rows) expected << QString::fromUtf8(r);
  EXPECT_EQ(Dump(g), expected);
  if (!c.ok) {
    EXPECT_EQ(result.message, QString::fromUtf8(c.message));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRead,
    ::testing::Values(
        CsvCase{"Empty", "", true, {"t"}},
        CsvCase{"TwoLinesThreeFields", "a,b,c\r\n1,2,3", true, {"t|a|b|c", "1|1|2|3"}},
        CsvCase{"TrailingLineEndAddsNoRow", "a,b\r\n1,2\r\n", true, {"t|a|b", "1|1|2"}},
        CsvCase{"LoneLfAndLoneCrEndLines",
                "a,b\n1,2\r3,4\r\n5,6",
                true,
                {"t|a|b", "1|1|2", "2|3|4", "3|5|6"}},
        CsvCase{"ShortLineLeavesCellsEmpty", "a,b,c\n1\n", true, {"t|a|b|c", "1|1||"}},
        CsvCase{"EmptyLineInTheMiddle", "a,b\n\n1,2", true, {"t|a|b", "1||", "2|1|2"}},
        CsvCase{"QuotedFieldsKeepCommasQuotesAndBreaks",
                "a,b\n\"x,y\",\"say \"\"hi\"\"\"\n\"l1\nl2\",z",
                true,
                {"t|a|b", "1|x,y|say \"hi\"", "2|l1\nl2|z"}},
        CsvCase{"FieldsLongerThanAScanStepEndAnywhere",
                "h1,h2\naaaaaaaaaaaaaaaa,bbbbbbbbbbbbbbbbb\r\n\"q\"tail-past-sixteen-bytes,"
                "\"quoted \"\"text\"\" past sixteen\"\rccccccccccccccc,ddddddddddddddddddddddddddddddddd",
                true,
                {"t|h1|h2", "1|aaaaaaaaaaaaaaaa|bbbbbbbbbbbbbbbbb",
                 "2|qtail-past-sixteen-bytes|quoted \"text\" past sixteen",
                 "3|ccccccccccccccc|ddddddddddddddddddddddddddddddddd"}},
        CsvCase{"QuoteInsideAFieldIsOrdinary", "a,b\nx\"y,\"\"\n", true, {"t|a|b", "1|x\"y|"}},
        CsvCase{"LongerLineStops",
                "a,b\n1,2\n3,4,5\n6,7",
                false,
                {"|a|b", "1|1|2", "2|3|4"},
                "CSV 表ファイルの 2 行目に問題があります。"},
        CsvCase{"UnclosedQuoteStopsAtItsRow",
                "a,b\n1,2\n3,\"open\n4,5\n",
                false,
                {"|a|b", "1|1|2", "2|3|"},
                "CSV 表ファイルの 2 行目に問題があります。"},
        CsvCase{
            "Utf8WithBom", "\xef\xbb\xbfk,v\n\xe2\x91\xa0,1", true, {"t|k|v", "1|\xe2\x91\xa0|1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvRead, FailedReadKeepsRowsButSetsNoNameOrMerge) {
  Grid g;
  CsvReader reader;
  TableReadResult r = reader.Read("a,b\n1,2,3\n", QStringLiteral("x.csv"), g, {});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failed_line, QStringLiteral("1,2,3"));
  EXPECT_TRUE(g.Text(0, 0).isEmpty());
  EXPECT_FALSE(g.MergeCol(1));
  Grid ok;
  reader.Read("a,b\n1,2\n", QStringLiteral("x.csv"), ok, {});
  EXPECT_TRUE(ok.MergeCol(1));
  EXPECT_TRUE(ok.MergeCol(2));
  EXPECT_FALSE(ok.MergeCol(0));
}

TEST(TableNames, NameAndFormatComeFromTheFileNameOnly) {
  struct Case {
    const char* path;
    const char* name;
    TableFormat format;
  } cases[] = {
      {"C:\\data\\sales.2000.csv", "sales", TableFormat::kCsv},
      {"/home/u/data/sales.2000.csv", "sales", TableFormat::kCsv},
      {"/home/u/readme", "readme", TableFormat::kCsv},
      {"/x/report.Htm", "report", TableFormat::kHtml},
      {"/x/report.HTM", "report", TableFormat::kHtml},
      {"/x/book.XLSX", "book", TableFormat::kWorkbook},
      {"/x/report.xls.htm", "report", TableFormat::kWorkbook},
      {"/x/report.htm.XLS", "report", TableFormat::kWorkbook},
      {"/x.htm.d/folder.xls/plain.csv", "plain", TableFormat::kCsv},
  };
  for (const Case& c : cases) {
    QString path = QString::fromUtf8(c.path);
    EXPECT_EQ(TableNameFromPath(path), QString::fromUtf8(c.name)) << c.path;
    EXPECT_EQ(TableFormatForPath(path), c.format) << c.path;
  }
}

class TableLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(ws_, {}); }
  FakeHost host_;
  Workspace ws_{host_};
};

TEST_F(TableLoadingTest, EncodingsAreDetected) {
  for (const char* file : {"cp932.csv", "bom.csv"}) {
    int slot = LoadTableFile(ws_, TestData(QString::fromUtf8(file)), {}).slot;
    ASSERT_GE(slot, 4) << file;
    EXPECT_EQ(ws_.TableGrid(slot).Text(0, 1), QStringLiteral("name")) << file;
  }
  EXPECT_EQ(ws_.TableGrid(4).Text(1, 1), QStringLiteral("りんご"));
  EXPECT_EQ(ws_.TableGrid(5).Text(1, 1), QStringLiteral("①"));
  EXPECT_TRUE(host_.messages.isEmpty());
}

TEST_F(TableLoadingTest, DialogRecordsThePathAndTheFolders) {
  const QString path = TestData(QStringLiteral("sales.2000.csv"));
  host_.files_to_choose = {path};
  ChooseAndLoadTable(ws_);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].title,
            QStringLiteral("                        表編集画面に新たな表を読み込む。"));
  EXPECT_EQ(host_.dialogs[0].filter, QStringLiteral("すべてのファイル (*)"));
  EXPECT_TRUE(ws_.tables.SlotInUse(4));
  EXPECT_EQ(ws_.TableGrid(4).Text(0, 0), QStringLiteral("sales"));
  EXPECT_EQ(ws_.TableGrid(4).Rows(), 4);
  EXPECT_EQ(ws_.tables.table_file_names.at(4), path);
  EXPECT_FALSE(ws_.tables.examples_menu_enabled);
  EXPECT_FALSE(ws_.tables.resume_menu_enabled);
  EXPECT_EQ(host_.wait_cursor_depth, 0);
  // The next dialog opens in the chosen file's folder; a cancelled one changes nothing.
  ChooseAndLoadTable(ws_);
  EXPECT_EQ(host_.dialogs[1].dir, QFileInfo(path).absolutePath());
  EXPECT_FALSE(ws_.tables.SlotInUse(5));
}

TEST_F(TableLoadingTest, FailuresAreReportedWithoutEmptyWindows) {
  // Unreadable file: a message naming it, no slot taken.
  EXPECT_EQ(LoadTableFile(ws_, QStringLiteral("/no/such/file.csv"), {}).slot, 0);
  ASSERT_EQ(host_.messages.size(), 1);
  EXPECT_TRUE(host_.messages[0].contains(QStringLiteral("/no/such/file.csv")));
  EXPECT_FALSE(ws_.tables.SlotInUse(4));
  // HTML and workbook names are refused before a slot is taken.
  EXPECT_EQ(LoadTableFile(ws_, TestData(QStringLiteral("report.Htm")), {}).slot, 0);
  EXPECT_EQ(LoadTableFile(ws_, QStringLiteral("/x/book.xls"), {}).slot, 0);
  EXPECT_EQ(host_.messages.size(), 3);
  EXPECT_FALSE(ws_.tables.SlotInUse(4));
  // A file without a dot reads under its whole name.
  int slot = LoadTableFile(ws_, TestData(QStringLiteral("nodot")), {}).slot;
  EXPECT_EQ(ws_.TableGrid(slot).Text(0, 0), QStringLiteral("nodot"));
  // A row problem: the message, then the file and line in Form2; the window stays.
  QTemporaryDir dir;
  QString bad = dir.filePath(QStringLiteral("bad.csv"));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("a,b\n1,2\n3,4,5\n");
  f.close();
  int bad_slot = LoadTableFile(ws_, bad, {}).slot;
  EXPECT_TRUE(ws_.tables.SlotInUse(bad_slot));
  EXPECT_EQ(host_.messages.last(), QStringLiteral("CSV 表ファイルの 2 行目に問題があります。"));
  EXPECT_EQ(host_.file_problems.last(), bad + QStringLiteral(" | 3,4,5"));
}

}  // namespace
}  // namespace mivora
