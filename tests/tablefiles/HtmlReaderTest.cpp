#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/HtmlReader.h"
#include "tablefiles/HtmlTableLoading.h"
#include "tablefiles/ResultWriters.h"
#include "tablefiles/TableLoading.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace mivora {
namespace {

using testing::FakeHost;

// The grid as rows of |-joined cells.
QStringList Dump(const Grid& g) {
  QStringList rows;
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList cells;
    for (int c = 0; c < g.Cols(); ++c) cells << g.Text(r, c);
    rows << cells.join(u'|');
  }
  return rows;
}

QStringList Rows(const std::vector<const char*>& rows) {
  QStringList out;
  for (const char* r : rows) out << QString::fromUtf8(r);
  return out;
}

struct HtmlCase {
  const char* name;
  QByteArray content;  // the file's bytes
  std::vector<const char*> rows;
  bool ok = true;
};

class HtmlRead : public ::testing::TestWithParam<HtmlCase> {};

TEST_P(HtmlRead, FillsTheGridAsLaidOut) {
  const HtmlCase& c = GetParam();
  Grid g;
  HtmlReader reader;
  TableReadResult result = reader.Read(c.content, QStringLiteral("/data/t.b.htm"), g, {});
  EXPECT_EQ(result.ok, c.ok);
  EXPECT_EQ(Dump(g), Rows(c.rows));
  if (!c.ok) {
    EXPECT_EQ(result.message, QStringLiteral("HTML 表ファイルに問題があります。"));
  }
  if (c.ok) {
    for (int col = 1; col < g.Cols(); ++col) EXPECT_TRUE(g.MergeCol(col)) << col;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlRead,
    ::testing::Values(
        HtmlCase{"LowerCaseTags",
                 "<table><tr><th>a</th><th>b</th></tr><tr><td>1</td><td>2</td></tr></table>",
                 {"t|a|b", "1|1|2"}},
        HtmlCase{"UnquotedSpansAndLeftOutEndTags",
                 "<TABLE><TR><TD ROWSPAN=2>x<TD>y<TR><TD>z</TABLE>",
                 {"t|x|y", "1|x|z"}},
        HtmlCase{"CommentAndScriptHoldNoTable",
                 "<!-- <table><tr><td>no</td></tr></table> -->"
                 "<script>var s = '<table><tr><td>no</td></tr></table>';</script>"
                 "<style>td { color: red }</style>"
                 "<table><tr><td>a</td></tr></table>",
                 {"t|a"}},
        HtmlCase{"NestedTableRowsFollowItsRow",
                 "<table><tr><td>a<table><tr><td>in1</td></tr><tr><td>in2</td></tr></table>b</td>"
                 "<td>c</td></tr><tr><td>d</td><td>e</td></tr></table>",
                 {"t|ab|c", "1|in1|", "2|in2|", "3|d|e"}},
        HtmlCase{"SpanFromTheAttributeNotTheText",
                 "<table><tr><td colspan=1>2024</td><td>x</td></tr></table>",
                 {"t|2024|x"}},
        HtmlCase{"RowSpanEndsWithItsTableAndTablesAppend",
                 "<table><tr><td rowspan=100000>r</td><td>1</td></tr><tr><td>2</td></tr>"
                 "<tr><td>3</td></tr></table><table><tr><td>n</td><td>m</td></tr></table>",
                 {"t|r|1", "1|r|2", "2|r|3", "3|n|m"}},
        HtmlCase{"EntitiesDecodedAndARealPlaceholderKept",
                 "<table><tr><td>a&amp;b&nbsp;c</td><td>&gt;&lt;</td><td>&#x65E5;</td></tr>"
                 "</table>",
                 {"t|a&b c|><|日"}},
        HtmlCase{"EmptyCellAndCellUnderARowSpan",
                 "<table><tr><td rowspan=\"2\">s</td><td></td><td>b</td></tr>"
                 "<tr><td>c</td><td>d</td></tr></table>",
                 {"t|s||b", "1|s|c|d"}},
        HtmlCase{"ColumnSpanFillsEveryColumn",
                 "<table><tr><td colspan='2'>w</td><td>z</td></tr>"
                 "<tr><td>1</td><td>2</td><td>3</td></tr></table>",
                 {"t|w|w|z", "1|1|2|3"}},
        HtmlCase{"RowWithoutCellsSkipped",
                 "<table><tr><td>h</td></tr><tr></tr><tr><td>1</td></tr></table>",
                 {"t|h", "1|1"}},
        HtmlCase{"PiecesJoinedSpacesAndBreaksKept",
                 "<table><tr><td><b>a</b>b <i>c</i>\n d<br>e</td></tr></table>",
                 {"t|ab c\n de"}},
        HtmlCase{"ShiftJisDeclared",
                 "<html><head><meta http-equiv=\"Content-Type\" "
                 "content=\"text/html; charset=Shift_JIS\"></head>"
                 "<body><table><tr><td>\x93\xFA\x96\x7B</td></tr></table></body></html>",
                 {"t|日本"}},
        HtmlCase{"Cp932Undeclared", "<table><tr><td>\x95\x5C</td></tr></table>", {"t|表"}},
        HtmlCase{"ByteOrderMarkWinsOverTheDeclaration",
                 "\xEF\xBB\xBF<meta charset=Shift_JIS><table><tr><td>日本</td></tr></table>",
                 {"t|日本"}},
        HtmlCase{"BrowserCopiedFragment",
                 "<meta charset='utf-8'><table style=\"border: 1px\"><tbody><tr><td>名前</td>"
                 "<td>値</td></tr><tr><td>a</td><td>1</td></tr></tbody></table>",
                 {"t|名前|値", "1|a|1"}},
        HtmlCase{"FullPage",
                 "<!DOCTYPE html>\n<html><head><title>T</title></head><body><p>intro</p>"
                 "<table border=1><caption>cap</caption><thead><tr><th>k</th></tr></thead>"
                 "<tbody><tr><td>v</td></tr></tbody></table><p>end</p></body></html>",
                 {"t|k", "1|v"}},
        HtmlCase{"NoTable", "x", {"t"}, false},
        HtmlCase{"TableWithoutCells", "<table><tr></tr></table>", {"t"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Files and pasted text through the workspace: slots, names, paths and messages.
class HtmlLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(ws, {});
    ASSERT_TRUE(dir.isValid());
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  FakeHost host;
  Workspace ws{host};
  QTemporaryDir dir;
};

TEST_F(HtmlLoad, FileNamedAndRecordedAsACsvFile) {
  QString path = Write(QStringLiteral("report.Html"), "<table><tr><td>a</td></tr></table>");
  LoadResult r = LoadTableFile(ws, path, {});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.slot, 4);
  EXPECT_EQ(ws.TableGrid(4).Text(0, 0), QStringLiteral("report"));
  EXPECT_EQ(TableFileName(ws, QStringLiteral("?"), 4), path);
  EXPECT_FALSE(ws.tables.examples_menu_enabled);
  EXPECT_FALSE(ws.tables.resume_menu_enabled);
  EXPECT_TRUE(host.messages.isEmpty());
  EXPECT_EQ(host.wait_cursor_depth, 0);
}

TEST_F(HtmlLoad, NoTableOrNoFileLeavesNoSlot) {
  LoadResult r = LoadTableFile(ws, Write(QStringLiteral("empty.htm"), "<p>nothing</p>"), {});
  EXPECT_EQ(r.slot, 0);
  EXPECT_EQ(host.messages, QStringList{QStringLiteral("HTML 表ファイルに問題があります。")});
  r = LoadTableFile(ws, dir.filePath(QStringLiteral("missing.htm")), {});
  EXPECT_EQ(r.slot, 0);
  ASSERT_EQ(host.messages.size(), 2);
  EXPECT_TRUE(host.messages[1].contains(QStringLiteral("missing.htm")))
      << host.messages[1].toStdString();
  EXPECT_FALSE(ws.tables.SlotInUse(4));
  EXPECT_TRUE(ws.tables.examples_menu_enabled);
}

TEST_F(HtmlLoad, PastedTextHasNoNameNoPathAndIgnoresItsDeclaration) {
  LoadResult r =
      ParseHtmlTable(ws, QStringLiteral("<meta charset=Shift_JIS><table><tr><td>日本</td></tr>"
                                        "<tr><td>x</td></tr></table>"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(Dump(ws.TableGrid(r.slot)), Rows({"|日本", "1|x"}));
  EXPECT_EQ(TableFileName(ws, QStringLiteral("?"), r.slot), QString());
}

// What the HTML result writer writes reads back to the same texts.
TEST_F(HtmlLoad, ResultWriterOutputReadsBack) {
  Grid& result = ws.result.ResultGrid();
  result.SetRows(3);
  result.SetCols(4);
  const char* cells[3][3] = {
      {"名前", "a<b", "x & y"}, {"1", "><", "  spaced  "}, {"2", "", "&nbsp;"}};
  for (int r = 0; r < 3; ++r) {
    if (r > 0) result.SetText(r, 0, QString::number(r));
    for (int c = 0; c < 3; ++c) result.SetText(r, c + 1, QString::fromUtf8(cells[r][c]));
  }
  const QString path = dir.filePath(QStringLiteral("out.htm"));
  if (!WriteResultHtml(ws, path)) GTEST_SKIP() << "no HTML result writer in this build";
  host.messages.clear();
  LoadResult r = LoadTableFile(ws, path, {});
  ASSERT_TRUE(r.ok);
  const Grid& g = ws.TableGrid(r.slot);
  ASSERT_EQ(g.Rows(), 3);
  ASSERT_EQ(g.Cols(), 4);
  for (int row = 0; row < 3; ++row)
    for (int col = 1; col < 4; ++col)
      EXPECT_EQ(g.Text(row, col), result.Text(row, col)) << row << "," << col;
}

}  // namespace
}  // namespace mivora
