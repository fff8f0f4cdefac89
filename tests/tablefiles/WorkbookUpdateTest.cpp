#include <gtest/gtest.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/ResultWriters.h"
#include "tablefiles/Workbook.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;
using testing::TestData;

struct Entry {
  QByteArray bytes;
  zip_uint64_t comp_size;
  zip_uint32_t crc;
};

// Every entry of a zip archive: its inflated bytes, compressed size and CRC.
std::map<QString, Entry> Entries(const QString& path) {
  std::map<QString, Entry> out;
  zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
  if (!z) return out;
  for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
    QByteArray bytes(static_cast<qsizetype>(st.size), '\0');
    zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
    zip_fread(f, bytes.data(), st.size);
    zip_fclose(f);
    out[QString::fromUtf8(st.name)] = {bytes, st.comp_size, st.crc};
  }
  zip_discard(z);
  return out;
}

class WorkbookUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath(QStringLiteral("existing.xlsx"));
    ASSERT_TRUE(QFile::copy(TestData(QStringLiteral("workbooks/existing.xlsx")), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    FillResult();
  }

  void FillResult() {
    // Headers in another order and case, one the sheet lacks; 40 data rows.
    Grid& g = ws.result.ResultGrid();
    g.SetRows(41);
    g.SetCols(5);
    const char* headers[] = {"amount", "extra", "name", "id"};
    for (int c = 0; c < 4; ++c) g.SetText(0, c + 1, QString::fromUtf8(headers[c]));
    for (int r = 1; r <= 40; ++r) {
      g.SetText(r, 1, QString::number(r * 100));
      g.SetText(r, 2, QStringLiteral("x"));
      g.SetText(r, 3, r == 1 ? QStringLiteral("新,\"名\"\r\n2") : QStringLiteral("m%1").arg(r));
      g.SetText(r, 4, QString::number(r));
    }
  }

  QTemporaryDir dir;
  QString path;
  FakeHost host;
  Workspace ws{host};
};

TEST_F(WorkbookUpdate, MatchedColumnsGetTheResultAndEverythingElseStays) {
  const std::map<QString, Entry> before = Entries(path);
  ASSERT_TRUE(WriteResultWorkbook(ws, path, QStringLiteral(" Data ")))
      << host.messages.join(u'\n').toStdString();
  EXPECT_EQ(LastResultSheet(ws, QStringLiteral("?")), QStringLiteral("Data"));
  EXPECT_EQ(QFile::permissions(path),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser |
                QFile::WriteUser);

  // Untouched entries are copied as they were.
  const std::map<QString, Entry> after = Entries(path);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [name, entry] : before) {
    if (name == QStringLiteral("xl/worksheets/sheet1.xml") ||
        name == QStringLiteral("xl/workbook.xml"))
      continue;
    ASSERT_TRUE(after.count(name)) << name.toStdString();
    EXPECT_EQ(after.at(name).bytes, entry.bytes) << name.toStdString();
    EXPECT_EQ(after.at(name).comp_size, entry.comp_size) << name.toStdString();
  }
  EXPECT_TRUE(after.at(QStringLiteral("xl/workbook.xml")).bytes.contains("fullCalcOnLoad=\"1\""));

  // Cell by cell through the reader.
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(path, &reason);
  ASSERT_TRUE(book) << reason.toStdString();
  Grid g;
  ASSERT_TRUE(book->ReadSheet(0, g, {}).ok);
  ASSERT_EQ(g.Rows(), 101);
  EXPECT_EQ(g.Text(0, 2), QStringLiteral(" NAME "));
  for (int r = 1; r <= 100; ++r) {
    const bool data = r <= 40;
    EXPECT_EQ(g.Text(r, 1), data ? QString::number(r) : QString()) << r;
    EXPECT_EQ(g.Text(r, 2), data ? ws.result.ResultGrid().Text(r, 3) : QString()) << r;
    EXPECT_EQ(g.Text(r, 3), QStringLiteral("keep%1").arg(r)) << r;
    EXPECT_EQ(g.Text(r, 4), data ? QString::number(r * 100) : QString()) << r;
  }

  // Styles, widths, formulas, the defined name and the other sheet as openpyxl sees them.
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import openpyxl,sys\n"
                               "b=openpyxl.load_workbook(sys.argv[1])\n"
                               "s=b['Data']\n"
                               "print(s['B2'].font.b, s['D2'].number_format,"
                               " s.column_dimensions['B'].width, s['E2'].value, s['A2'].value,"
                               " type(s['D3'].value).__name__, s['D50'].value, s.max_row,"
                               " b.sheetnames, b['Notes']['B2'].value,"
                               " [n.name for n in b.defined_names.definedName])"),
                path});
  ASSERT_TRUE(python.waitForFinished(60000));
  if (python.exitCode() != 0) GTEST_SKIP() << python.readAllStandardError().toStdString();
  EXPECT_EQ(python.readAllStandardOutput().trimmed(),
            QByteArray("True #,##0 30.0 =D2*2 1 int None 101 ['Data', 'Notes'] "
                       "=SUM(Data!D2:D101) ['Amounts']"));
}

TEST_F(WorkbookUpdate, AnEmptySheetGetsTheWholeResultFromRowOne) {
  // "Notes" holds values; make a workbook with an empty sheet through a first write.
  const QString fresh = dir.filePath(QStringLiteral("fresh.xlsx"));
  Grid& g = ws.result.ResultGrid();
  g.SetRows(1);
  g.SetCols(2);
  g.SetText(0, 1, QString());
  ASSERT_TRUE(WriteResultWorkbook(ws, fresh, QStringLiteral("Sheet1")));  // an empty sheet
  FillResult();
  ASSERT_TRUE(WriteResultWorkbook(ws, fresh, QStringLiteral("Sheet1")));
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(fresh, &reason);
  ASSERT_TRUE(book);
  Grid back;
  ASSERT_TRUE(book->ReadSheet(0, back, {}).ok);
  ASSERT_EQ(back.Rows(), 41);
  for (int r = 0; r < 41; ++r)
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(back.Text(r, c), g.Text(r, c)) << r << "," << c;
}

TEST_F(WorkbookUpdate, AMissingSheetIsRefusedAndNothingChanges) {
  const QByteArray before = [&] {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  LastResultFile(ws, QStringLiteral("/earlier.xlsx"));
  EXPECT_FALSE(WriteResultWorkbook(ws, path, QStringLiteral("Missing")));
  EXPECT_EQ(host.messages, QStringList{QStringLiteral("ワークシート「Missing」がありません。")});
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
  EXPECT_EQ(LastResultFile(ws, QStringLiteral("?")), QStringLiteral("/earlier.xlsx"));
}

}  // namespace
}  // namespace mivora
