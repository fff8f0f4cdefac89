#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/ResultWriters.h"
#include "tablefiles/Workbook.h"
#include "tablefiles/WorkbookWriter.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;
using testing::TestData;

void FillResult(Grid& g, const std::vector<QStringList>& rows) {
  g.ClearCells();
  g.SetRows(static_cast<int>(rows.size()));
  g.SetCols(static_cast<int>(rows.front().size()) + 1);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < rows[r].size(); ++c) g.SetText(r, c + 1, rows[r][c]);
  }
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class WorkbookWriting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    FillResult(ws.result.ResultGrid(),
               {{QStringLiteral("名前"), QStringLiteral("数"), QStringLiteral("文")},
                {QStringLiteral("a,b"), QStringLiteral("1200"), QStringLiteral("007")},
                {QStringLiteral("say \"hi\""), QStringLiteral("-3.5"), QStringLiteral("1,200")},
                {QStringLiteral("two\r\nlines"), QStringLiteral("1E-07"), QStringLiteral("1E3")},
                {QStringLiteral("=1+2"), QString(), QStringLiteral("   ")}});
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

  QTemporaryDir dir;
  FakeHost host;
  Workspace ws{host};
};

TEST_F(WorkbookWriting, NewWorkbookReadsBackTheSameTexts) {
  const QString path = Path("new.xlsx");
  ASSERT_TRUE(WriteResultWorkbook(ws, path, QStringLiteral("Sheet1")));
  EXPECT_TRUE(host.messages.isEmpty()) << host.messages.join(u'\n').toStdString();
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), path);
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QStringLiteral("Sheet1"));
  EXPECT_EQ(host.opened, QStringList{QFileInfo(path).absoluteFilePath()});
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(path, &reason);
  ASSERT_TRUE(book) << reason.toStdString();
  EXPECT_EQ(book->SheetNames(), QStringList{QStringLiteral("Sheet1")});
  Grid back;
  ASSERT_TRUE(book->ReadSheet(0, back, {}).ok);
  const Grid& g = ws.result.ResultGrid();
  ASSERT_EQ(back.Rows(), g.Rows());
  for (int r = 0; r < g.Rows(); ++r)
    for (int c = 1; c < g.Cols(); ++c) EXPECT_EQ(back.Text(r, c), g.Text(r, c)) << r << "," << c;
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("new.xlsx")});
}

TEST_F(WorkbookWriting, NumbersAreNumbersOnlyInTheirGeneralForm) {
  const QString path = Path("types.xlsx");
  ASSERT_TRUE(WriteResultWorkbook(ws, path, QStringLiteral("Sheet1")));
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import openpyxl,sys\n"
                               "s=openpyxl.load_workbook(sys.argv[1]).active\n"
                               "print(' '.join(c.data_type for r in s.iter_rows() for c in r))"),
                path});
  ASSERT_TRUE(python.waitForFinished(60000));
  if (python.exitCode() != 0) GTEST_SKIP() << python.readAllStandardError().toStdString();
  // Row by row, columns A to C; the empty cell is no cell (openpyxl reports "n" for it).
  EXPECT_EQ(python.readAllStandardOutput().trimmed(),
            QByteArray("s s s s n s s n s s n s s n s"));
}

TEST_F(WorkbookWriting, BatchDoesNotOpenTheWorkbook) {
  host.batch = true;
  ASSERT_TRUE(WriteResultWorkbook(ws, Path("batch.xlsx"), QStringLiteral("Out")));
  EXPECT_TRUE(host.opened.isEmpty());
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QStringLiteral("Out"));
}

TEST_F(WorkbookWriting, RefusalsWriteNothingAndKeepTheLastResultFile) {
  QFile blocker(Path("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  QFile legacy(Path("old.xls"));
  ASSERT_TRUE(legacy.open(QIODevice::WriteOnly));
  legacy.write("legacy");
  legacy.close();
  struct Case {
    const char* name;
    QString path;
    std::function<void(Grid&)> result;
    QString message_start;
  };
  const QString cannot = QStringLiteral("」に書き込めません。\n");
  const Case cases[] = {
      {"new legacy", Path("new.xls"), nullptr,
       QStringLiteral("旧形式 (.xls) のブックには書き込めません。")},
      {"existing legacy", Path("old.xls"), nullptr,
       QStringLiteral("旧形式 (.xls) のブックには書き込めません。")},
      {"unwritable folder", Path("blocker/x.xlsx"), nullptr,
       QStringLiteral("ファイル「") + Path("blocker/x.xlsx") + cannot},
      {"too many rows", Path("rows.xlsx"), [](Grid& g) { g.SetRows(1048577 + 1); },
       QStringLiteral("ファイル「") + Path("rows.xlsx") + cannot},
      {"too long a cell", Path("long.xlsx"),
       [](Grid& g) { g.SetText(1, 1, QString(32768, u'x')); },
       QStringLiteral("ファイル「") + Path("long.xlsx") + cannot},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.result) c.result(ws.result.ResultGrid());
    LastResultFile(ws, QStringLiteral("/earlier.xlsx"));
    host.messages.clear();
    EXPECT_FALSE(WriteResultWorkbook(ws, c.path, QStringLiteral("Sheet1"))) << c.name;
    ASSERT_EQ(host.messages.size(), 1) << c.name;
    EXPECT_TRUE(host.messages[0].startsWith(c.message_start)) << host.messages[0].toStdString();
    EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), QStringLiteral("/earlier.xlsx")) << c.name;
    EXPECT_TRUE(host.opened.isEmpty());
  }
  EXPECT_EQ(ReadAll(Path("old.xls")), QByteArray("legacy"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{QStringLiteral("blocker"), QStringLiteral("old.xls")}));
}

TEST_F(WorkbookWriting, ChoosingANewNameAsksBeforeCreating) {
  // No: the dialog again; then Yes on the second name (without ending): "Sheet1" in it.
  host.files_to_choose = {Path("first.xlsx"), Path("second")};
  host.yes_no_answers = {false, true};
  ASSERT_TRUE(ChooseResultWorkbook(ws));
  ASSERT_EQ(host.dialogs.size(), 2u);
  EXPECT_EQ(host.no_overwrite_prompt_dialogs, 2);
  EXPECT_EQ(host.dialogs[0].title,
            QString(26, u' ') + QStringLiteral("検索結果を Excel ファイルに書き込む。"));
  EXPECT_EQ(host.dialogs[0].filter, QStringLiteral("Excel File (*.xlsx *.xlsm *.xls)"));
  EXPECT_EQ(host.yes_no_questions,
            QStringList(2, QStringLiteral("入力したファイル名は存在しません。　作成しますか。")));
  EXPECT_FALSE(QFile::exists(Path("first.xlsx")));
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), Path("second.xlsx"));
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QStringLiteral("Sheet1"));
  EXPECT_EQ(ws.workbook_result_folders.LastFolder(), QDir(dir.path()).absolutePath());
}

TEST_F(WorkbookWriting, SeveralSheetsAreChosenFromTheList) {
  const QString book = TestData(QStringLiteral("workbooks/openpyxl.xlsx"));
  // Nothing selected: the message and the list again; then cancelled: nothing written.
  host.files_to_choose = {book};
  host.sheet_choices = {Host::kNoSheetSelected, Host::kSheetChoiceCancelled};
  EXPECT_FALSE(ChooseResultWorkbook(ws));
  ASSERT_EQ(host.sheet_lists.size(), 2u);
  EXPECT_EQ(host.sheet_lists[0], (QStringList{QStringLiteral("Sheet1"), QStringLiteral("空")}));
  EXPECT_EQ(host.messages, QStringList{QStringLiteral("ワークシートを選択してください。")});
  EXPECT_TRUE(ws.last_result_file.isEmpty());
  // The dialog cancelled: nothing asked at all.
  host.sheet_lists.clear();
  EXPECT_FALSE(ChooseResultWorkbook(ws));
  EXPECT_TRUE(host.sheet_lists.empty());
}

}  // namespace
}  // namespace mivora
