#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/CsvReader.h"
#include "tablefiles/CsvWriter.h"
#include "tablefiles/HtmlWriter.h"
#include "tablefiles/ResultWriters.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;
using namespace Qt::Literals::StringLiterals;

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Fills a result grid: column 0 holds row numbers (never written), row 0 the headers.
void FillResult(Grid& g, const std::vector<QStringList>& rows) {
  g.ClearCells();
  g.SetRows(static_cast<int>(rows.size()));
  g.SetCols(rows.empty() ? 1 : static_cast<int>(rows.front().size()) + 1);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    g.SetText(r, 0, r == 0 ? QString() : QString::number(r));
    for (int c = 0; c < rows[r].size(); ++c) g.SetText(r, c + 1, rows[r][c]);
  }
}

class ResultWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    FillResult(ws.result.ResultGrid(), {{QStringLiteral("名前"), QStringLiteral("金額")},
                                        {QStringLiteral("a,b"), QStringLiteral("1,200")},
                                        {QStringLiteral("say \"hi\""), QStringLiteral("=1+2")},
                                        {QStringLiteral("two\r\nlines"), QStringLiteral("<&>")}});
  }
  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  FakeHost host;
  Workspace ws{host};
};

TEST_F(ResultWriters, CsvQuotesOnlyWhatNeedsItAndEndsEveryLineWithCrLf) {
  EXPECT_EQ(CsvResultBytes(ws.result.ResultGrid()), QByteArray("名前,金額\r\n"
                                                               "\"a,b\",\"1,200\"\r\n"
                                                               "\"say \"\"hi\"\"\",=1+2\r\n"
                                                               "\"two\r\nlines\",<&>\r\n"));
}

TEST_F(ResultWriters, CsvReadsBackUnchanged) {
  ASSERT_TRUE(WriteResultCsv(ws, Path(QStringLiteral("r.csv"))));
  Grid back;
  CsvReader reader;
  ASSERT_TRUE(
      reader.Read(ReadAll(Path(QStringLiteral("r.csv"))), QStringLiteral("r.csv"), back, {}).ok);
  const Grid& g = ws.result.ResultGrid();
  ASSERT_EQ(back.Rows(), g.Rows());
  ASSERT_EQ(back.Cols(), g.Cols());
  for (int r = 0; r < g.Rows(); ++r)
    for (int c = 1; c < g.Cols(); ++c) EXPECT_EQ(back.Text(r, c), g.Text(r, c)) << r << "," << c;
}

// A result of several pieces, some made as two halves at once, is written in row order.
TEST_F(ResultWriters, BigCsvIsWrittenInRowOrder) {
  Grid& g = ws.result.ResultGrid();
  for (int r = 0; r < 150000; ++r)
    g.AppendRow({QString(), u"row %1"_s.arg(r), r % 5 == 0 ? u"a,\"b\""_s : u"x"_s});
  ASSERT_TRUE(WriteResultCsv(ws, Path(u"big.csv"_s)));
  EXPECT_EQ(ReadAll(Path(u"big.csv"_s)), CsvResultBytes(g));
}

TEST_F(ResultWriters, HtmlEscapesTextsAndDeclaresUtf8) {
  FillResult(ws.result.ResultGrid(), {{QStringLiteral("h")}, {QStringLiteral("<b>&\"x\"")}});
  EXPECT_EQ(HtmlResultBytes(ws.result.ResultGrid()),
            QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n"
                       "<HTML>\r\n<HEAD>\r\n"
                       "<META name=\"GENERATOR\" content=\"MIVORA for Windows\">\r\n"
                       "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
                       "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<TABLE border=\"1\">\r\n"
                       "  <TBODY>\r\n"
                       "    <TR>\r\n      <TD>h</TD>\r\n    </TR>\r\n"
                       "    <TR>\r\n      <TD>&lt;b&gt;&amp;&quot;x&quot;</TD>\r\n    </TR>\r\n"
                       "  </TBODY>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n\r\n"));
}

TEST_F(ResultWriters, HeaderOnlyResultGivesOneLineAndOneRow) {
  FillResult(ws.result.ResultGrid(), {{QStringLiteral("a"), QStringLiteral("b")}});
  EXPECT_EQ(CsvResultBytes(ws.result.ResultGrid()), QByteArray("a,b\r\n"));
  EXPECT_EQ(HtmlResultBytes(ws.result.ResultGrid()).count("<TR>"), 1);
}

struct DialogCase {
  const char* name;
  bool csv;
  const char* typed;
  const char* written;
  const char* filter;
};

class ResultDialogs : public ResultWriters, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(ResultDialogs, AskForTheFileAddTheEndingAndRememberIt) {
  const DialogCase& c = GetParam();
  const QString typed = Path(QString::fromUtf8(c.typed));
  host.files_to_choose.push_back(typed);
  const bool ok = c.csv ? WriteResultCsv(ws) : WriteResultHtml(ws);
  ASSERT_TRUE(ok);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title,
            QString(26, u' ') + QStringLiteral("検索結果をファイルに保存する。"));
  EXPECT_EQ(host.dialogs[0].filter, QString::fromUtf8(c.filter));
  EXPECT_TRUE(QFile::exists(Path(QString::fromUtf8(c.written))));
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), Path(QString::fromUtf8(c.written)));
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QString());
  // The writer's own folder memory now opens in that folder; the other writer's does not.
  FolderMemory& mine = c.csv ? ws.csv_result_folders : ws.html_result_folders;
  FolderMemory& other = c.csv ? ws.html_result_folders : ws.csv_result_folders;
  EXPECT_EQ(mine.LastFolder(), QDir(dir.path()).absolutePath());
  EXPECT_TRUE(other.LastFolder().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultDialogs,
    ::testing::Values(DialogCase{"CsvTyped", true, "out", "out.csv",
                                 "CSV File (*.csv);;すべてのファイル (*)"},
                      DialogCase{"CsvKeepsEnding", true, "out.txt", "out.txt",
                                 "CSV File (*.csv);;すべてのファイル (*)"},
                      DialogCase{"HtmlTyped", false, "page", "page.htm",
                                 "HTML File (*.htm *.html);;すべてのファイル (*)"},
                      DialogCase{"HtmlKeepsEnding", false, "page.html", "page.html",
                                 "HTML File (*.htm *.html);;すべてのファイル (*)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResultWriters, CancelledDialogWritesNothing) {
  EXPECT_FALSE(WriteResultCsv(ws));
  EXPECT_FALSE(WriteResultHtml(ws));
  EXPECT_TRUE(host.messages.isEmpty());
  EXPECT_TRUE(ws.last_result_file.isEmpty());
}

TEST_F(ResultWriters, FailedWriteKeepsOldFileAndLastResultFile) {
  // A folder that is a file: no user, root included, can write under it.
  WriteFile(Path(QStringLiteral("blocker")), "x");
  const QString bad = Path(QStringLiteral("blocker/out.csv"));
  LastResultFile(ws, QStringLiteral("/earlier.csv"));
  for (bool csv : {true, false}) {
    host.messages.clear();
    EXPECT_FALSE(csv ? WriteResultCsv(ws, bad) : WriteResultHtml(ws, bad));
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_TRUE(host.messages[0].startsWith(QStringLiteral("ファイル「") + bad +
                                            QStringLiteral("」に書き込めません。\n")))
        << host.messages[0].toStdString();
    EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), QStringLiteral("/earlier.csv"));
  }
  EXPECT_EQ(ReadAll(Path(QStringLiteral("blocker"))), QByteArray("x"));
}

TEST_F(ResultWriters, OverwritesAnOldFileWhole) {
  const QString p = Path(QStringLiteral("r.csv"));
  WriteFile(p, QByteArray(1000, 'z'));
  FillResult(ws.result.ResultGrid(), {{QStringLiteral("a")}});
  ASSERT_TRUE(WriteResultCsv(ws, p));
  EXPECT_EQ(ReadAll(p), QByteArray("a\r\n"));
}

TEST(LastResult, StoreOrQuery) {
  FakeHost host;
  Workspace ws(host);
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), QString());
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("a.xlsx")), QStringLiteral("a.xlsx"));
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("S")), QStringLiteral("S"));
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), QStringLiteral("a.xlsx"));
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QStringLiteral("S"));
}

}  // namespace
}  // namespace mivora
