#include <QStringEncoder>

#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"
#include "state/Resume.h"
#include "state/StateFile.h"
#include "state/StateFixture.h"

namespace mivora {
namespace {

using testing::StateFixture;

// A state file as the Parts write it: "\" paths, CR LF, every section. DIR stands for the
// folder of the tables.
const char kBase[] =
    "5, TableFileNames  Left Top Height Width#a#\r\n"
    "DIR\\a.csv,4,501,1200,1500,4452,True,1,1\r\n"
    "DIR\\b.csv,5,6000,1200,1500,4000,True,2,3\r\n"
    "8000,10000\r\n"
    "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# DestinationColumn#b#\r\n"
    "1,4,1,5,1\r\n"
    "ReportTableColumn: Serial# Table# Column#c#\r\n"
    "1,4,2\r\n"
    "2,5,2\r\n"
    "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth ConteinerPanel#d#,1,Pink\r\n"
    "0,600,600,3480,9252,<\r\n"
    "1,1000,1000,1200,6000,<0\r\n"
    "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth ContainerPanel#e#,2\r\n"
    "0,2040,400,252,4092,a.id = 1,<0\r\n"
    "1,200,200,252,4092,b.名前 = x,<1\r\n"
    "2,200,600,252,4092,b.名前 = y,<1\r\n"
    "#f#\r\n"
    "2280,4920,972,5412\r\n"
    "\r\n"
    "this software is deveroped by mivora.app\r\n"
    "#g#\r\n"
    "120,240,7000,11000\r\n"
    "ResultProperties#h#,\r\n"
    "120,120,240,11000,1,1\r\n"
    "120,480,6000,11000,1,1\r\n"
    "6000,9000\r\n"
    "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#\r\n"
    "1,0,4,1,1\r\n"
    "2,1,5,1,2\r\n"
    "3,2,5,2,2\r\n"
    "#j#\r\n"
    "\r\n"
    "\r\n"
    "#k#\r\n";

class ResumeTest : public StateFixture {
 protected:
  void SetUp() override {
    StateFixture::SetUp();
    Write(QStringLiteral("a.csv"), "id,name\r\n1,x\r\n2,y\r\n");
    Write(QStringLiteral("b.csv"), "id,名前\r\n1,x\r\n2,y\r\n3,z\r\n");
  }
  QString Base() const {
    QString dir = dir_.path();
    dir.replace(u'/', u'\\');
    return QString::fromUtf8(kBase).replace(QStringLiteral("DIR"), dir);
  }
  int SlotsInUse() const {
    int n = 0;
    for (int s = 4; s < ws_.tables.SlotCount(); ++s) n += ws_.tables.SlotInUse(s);
    return n;
  }
  int Joins() const {
    int n = 0;
    for (int s = 1; s <= kJoinSlots; ++s) n += ws_.search.joins[s].destination_table != 0;
    return n;
  }
};

TEST_F(ResumeTest, AFileAsThePartsWriteItInCp932) {
  QStringEncoder cp932("Shift_JIS");
  ASSERT_TRUE(cp932.isValid());
  const QString path = Write(QStringLiteral("s.rsm"), cp932.encode(Base()));
  EXPECT_EQ(ChooseAndResume(ws_, path), ResumeOutcome::kComplete);
  EXPECT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  EXPECT_EQ(host_.wait_cursor_depth, 0);
  EXPECT_EQ(SlotsInUse(), 2);
  EXPECT_EQ(ws_.tables.slots[5].frame.rect, (TwipRect{6000, 1200, 4000, 1500}));
  EXPECT_EQ(ws_.TableGrid(5).LeftCol(), 2);  // clamped to the table's last column
  EXPECT_EQ(ws_.TableGrid(5).TopRow(), 3);
  EXPECT_EQ(Joins(), 1);
  EXPECT_EQ(ws_.search.report_columns[2], (ColumnRef{5, 2}));
  // Pink root, the nested panel the other colour; boxes in their panels, text fields placed.
  EXPECT_TRUE(IsAndPanel(ws_.conditions.panels[0]));
  EXPECT_EQ(ws_.conditions.panels[0].label_n.caption, QStringLiteral("＊ And ＊ "));
  EXPECT_FALSE(IsAndPanel(ws_.conditions.panels[1]));
  EXPECT_EQ(ws_.conditions.panels[1].container, 0);
  EXPECT_EQ(ws_.conditions.boxes[2].container, 1);
  EXPECT_EQ(ws_.conditions.boxes[2].text1.rect, (TwipRect{120, 0, 4092 - 240, 252}));
  EXPECT_EQ(BoxColumnRef(ws_, 1), QStringLiteral("b.名前"));
  EXPECT_EQ(ws_.conditions.cnd_equation.rect, (TwipRect{2280, 4920, 5412, 972}));
  // Window sizes applied in mode "No"; the search made again.
  EXPECT_EQ(ws_.tables.window.height, 8000);
  EXPECT_EQ(ws_.equations_window.width, 11000);
  EXPECT_EQ(ws_.result.window.height, 6000);
  EXPECT_EQ(ws_.result.ResultGrid().Rows(), 2);
  EXPECT_EQ(ws_.result.ResultGrid().Text(1, 1), QStringLiteral("x"));
}

TEST_F(ResumeTest, ModeYesKeepsWindowSizesAndAnEqualsHeaderDoesNotSearch) {
  ResumeMode(ws_, QStringLiteral("Shrink"));
  QString text = Base();
  text.replace(QStringLiteral("ResultProperties#h#,\r\n"),
               QStringLiteral("ResultProperties#h#,=\r\n"));
  EXPECT_EQ(ResumeState(ws_, text), ResumeOutcome::kComplete);
  EXPECT_TRUE(host_.messages.isEmpty());
  for (const TopWindow* w : {&ws_.tables.window, &ws_.equations_window, &ws_.result.window}) {
    EXPECT_EQ(w->height, 9100);
    EXPECT_EQ(w->width, 12000);
  }
  EXPECT_EQ(ws_.result.ResultGrid().Text(0, 0), QStringLiteral("="));
  EXPECT_LE(ws_.result.JoinedGrid().Rows(), 1);
}

// A listed column twice ends unchosen; a cycle is refused with its message and the resume
// goes on; a join within one table is cancelled.
TEST_F(ResumeTest, RecordsGoThroughTheUsersOperations) {
  Write(QStringLiteral("c.csv"), "id\r\n1\r\n");
  QString text = Base();
  QString dir = dir_.path();
  dir.replace(u'/', u'\\');
  text.replace(QStringLiteral("5, TableFileNames"), QStringLiteral("6, TableFileNames"));
  text.replace(QStringLiteral("8000,10000\r\n"),
               dir + QStringLiteral("\\c.csv,6,501,3500,900,2000,True,1,1\r\n8000,10000\r\n"));
  text.replace(QStringLiteral("1,4,1,5,1\r\n"),
               QStringLiteral("1,4,1,5,1\r\n2,5,1,6,1\r\n3,6,1,4,1\r\n4,4,1,4,2\r\n"));
  text.replace(QStringLiteral("2,5,2\r\n"), QStringLiteral("2,5,2\r\n3,4,2\r\n"));
  // The operator is the leftmost of the nine, the longest there: "=", not the "<" after it.
  text.replace(QStringLiteral("b.名前 = y,"), QStringLiteral("b.名前 = y<z,"));
  text.replace(QStringLiteral("a.id = 1,"), QStringLiteral("a.id =% 1,"));
  EXPECT_EQ(ResumeState(ws_, text), ResumeOutcome::kComplete);
  ASSERT_EQ(host_.messages.size(), 1);  // the cycle
  EXPECT_EQ(Joins(), 2);
  EXPECT_EQ(ws_.search.report_columns[1], (ColumnRef{}));
  EXPECT_EQ(ws_.search.report_columns[2], (ColumnRef{5, 2}));
  EXPECT_GT(ws_.result.ResultGrid().Rows(), 1);
  EXPECT_EQ(BoxColumnRef(ws_, 2), QStringLiteral("b.名前"));
  EXPECT_EQ(BoxColumnRef(ws_, 0), QStringLiteral("a.id"));
  EXPECT_EQ(ws_.conditions.boxes[2].text, QStringLiteral("b.名前 = y<z"));  // put in unchanged
}

struct BrokenCase {
  const char* name;
  const char* from;  // replaced in the base text
  const char* to;
  int problem_line;  // 1-based; 0 for a message of its own
  const char* message;
  int slots_in_use;  // where it stopped
  int joins;
};

class BrokenFile : public ResumeTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFile, StopsWithTheMessageWhereItIs) {
  const BrokenCase& c = GetParam();
  QString text = Base();
  const QString from = QString::fromUtf8(c.from);
  if (from == QStringLiteral("*")) {
    text = QString::fromUtf8(c.to);
  } else {
    ASSERT_TRUE(text.contains(from)) << c.from;
    text.replace(from, QString::fromUtf8(c.to));
  }
  EXPECT_EQ(ResumeState(ws_, text), ResumeOutcome::kStopped);
  ASSERT_EQ(host_.messages.size(), 1) << host_.messages.join(u'\n').toStdString();
  const QString expected = c.problem_line > 0
                               ? QStringLiteral("状態保存ファイルに問題があります。\n") +
                                     QString::number(c.problem_line) + QStringLiteral(" 行目")
                               : QString::fromUtf8(c.message);
  EXPECT_EQ(host_.messages[0], expected);
  EXPECT_EQ(SlotsInUse(), c.slots_in_use);
  EXPECT_EQ(Joins(), c.joins);
  EXPECT_FALSE(ws_.tables.resume_menu_enabled);
  EXPECT_FALSE(host_.exited);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenFile,
    ::testing::Values(
        BrokenCase{"Empty", "*", "", 1, "", 0, 0},
        BrokenCase{"NBelowFour", "5, Table", "3, Table", 1, "", 0, 0},
        BrokenCase{"TooFewTableRecords", "5, Table", "6, Table", 5, "", 0, 0},
        BrokenCase{"TooManyTableRecords", "5, Table", "4, Table", 4, "", 0, 0},
        BrokenCase{"MissingMarker", "Column#c#", "Column#x#", 35, "", 0, 0},
        BrokenCase{"MovedTable", "\\b.csv", "\\gone.csv", 3, "", 1, 0},
        BrokenCase{"ExtraTableRecord", "True,2,3", "True,2,3\r\nX", 5, "", 0, 0},
        BrokenCase{"SavedSlotNotATable", "b.csv,5,", "b.csv,99,", 3, "", 2, 0},
        BrokenCase{"NumberOutOfRange", "1,4,1,5,1", "1,4,1,5,70000", 6, "", 2, 0},
        BrokenCase{"ColumnBeyondTable", "1,4,1,5,1", "1,4,1,5,7", 6, "", 2, 0},
        BrokenCase{"NotANumber", "1,4,1,5,1", "1,4,1,abc,1", 6, "", 2, 0},
        BrokenCase{"ContainerMissing", "1,1000,1000,1200,6000,<0", "1,1000,1000,1200,6000,<7", 12,
                   "", 2, 1},
        BrokenCase{"ContainerForRoot", "0,600,600,3480,9252,<", "0,600,600,3480,9252,<1", 11, "", 2,
                   1},
        BrokenCase{"ContainerLoop", "1,1000,1000,1200,6000,<0",
                   "1,1000,1000,1200,6000,<2\r\n2,10,10,500,500,<1", 12, "", 2, 1},
        BrokenCase{"BoxInMissingPanel", "y,<1", "y,<5", 16, "", 2, 1},
        BrokenCase{"IrregularEquation", "b.名前 = y", "b.名前 y", 0, "Irregal Equation !", 2, 1},
        BrokenCase{"ConditionCellBeyondTable", "1,0,4,1,1\r\n", "1,0,4,1,9\r\n", 28, "", 2, 1},
        BrokenCase{"ConditionCellOfFreeBox", "1,0,4,1,1\r\n", "1,7,4,1,1\r\n", 28, "", 2, 1}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST_F(ResumeTest, AStateFileThatCannotBeOpened) {
  const QString path = dir_.filePath(QStringLiteral("none.rsm"));
  EXPECT_EQ(ChooseAndResume(ws_, path), ResumeOutcome::kStopped);
  ASSERT_EQ(host_.messages.size(), 1);
  EXPECT_TRUE(host_.messages[0].startsWith(QStringLiteral("状態保存ファイル「") + path +
                                           QStringLiteral("」を開けません。\n")));
  EXPECT_TRUE(ws_.tables.resume_menu_enabled);
}

TEST_F(ResumeTest, TheDialogAsksForAShortPathAndCancelDoesNothing) {
  EXPECT_EQ(ChooseAndResume(ws_, QStringLiteral("a.b")), ResumeOutcome::kCancelled);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].title,
            QString(24, u' ') + QStringLiteral("状態を保存しているファイルを読む。"));
  EXPECT_EQ(host_.dialogs[0].filter, QStringLiteral("CSV File (*.rsm);;すべてのファイル (*)"));
  EXPECT_TRUE(host_.messages.isEmpty());
  EXPECT_TRUE(ws_.tables.resume_menu_enabled);

  host_.files_to_choose.push_back(Write(QStringLiteral("sub/s.rsm"), Base().toUtf8()));
  EXPECT_EQ(ChooseAndResume(ws_), ResumeOutcome::kComplete);
  EXPECT_EQ(SlotsInUse(), 2);
  EXPECT_EQ(ws_.state_open_folders.LastFolder(), dir_.filePath(QStringLiteral("sub")));
}

// A named result file: its format from the file name alone, then the program is asked to end.
TEST_F(ResumeTest, AResultFileWithoutAKnownFormatIsNotWritten) {
  QString text = Base();
  text.replace(QStringLiteral("#j#\r\n\r\n"),
               QStringLiteral("#j#\r\n") + dir_.path() + QStringLiteral("/csv.d/result.txt\r\n"));
  EXPECT_EQ(ResumeState(ws_, text), ResumeOutcome::kResultNotWritten);
  ASSERT_EQ(host_.messages.size(), 1);
  EXPECT_TRUE(
      host_.messages[0].endsWith(QStringLiteral("/csv.d/result.txt」の形式がわかりません。")));
  EXPECT_TRUE(host_.exited);
  EXPECT_EQ(ws_.exit_status, 1);
}

}  // namespace
}  // namespace mivora

namespace mivora {
namespace {

// Result files really written by the resume (they need the result writers).
class ResumeResultTest : public ResumeTest {
 protected:
  QString WithResult(const QString& path, const QString& sheet = QString()) const {
    return Base().replace(
        QStringLiteral("#j#\r\n\r\n\r\n"),
        QStringLiteral("#j#\r\n") + path + QStringLiteral("\r\n") + sheet + QStringLiteral("\r\n"));
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(ResumeResultTest, WritesTheResultEndsAndSavesTheSameBytes) {
  const QString out = dir_.filePath(QStringLiteral("out,put+1.csv"));
  const QString text = WithResult(out);
  EXPECT_EQ(ResumeState(ws_, text), ResumeOutcome::kResultWritten);
  EXPECT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  EXPECT_TRUE(host_.exited);
  EXPECT_EQ(ws_.exit_status, 0);
  EXPECT_TRUE(Read(out).startsWith("name,名前\r\n"));
  // Saved again: the same bytes, the result file included.
  Fresh again;
  const QString saved = StateFileText(ws_);
  ASSERT_TRUE(saved.endsWith(QStringLiteral("#j#\r\n") + out + QStringLiteral("\r\n\r\n#k#\r\n")));
  EXPECT_EQ(ResumeState(again.ws, saved), ResumeOutcome::kResultWritten);
  EXPECT_EQ(StateFileText(again.ws), saved);
}

TEST_F(ResumeResultTest, FormatFromTheFileNameAloneAndShortPathsUnderTheStartFolder) {
  const QString start = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  QDir().mkpath(dir_.filePath(QStringLiteral("csv")));
  struct {
    const char* written;
    const char* file;
    const char* begins;
  } cases[] = {{"out.csv", "out.csv", "name,"},
               {"csv/r.htm", "csv/r.htm", "<!DOCTYPE"},
               {"csv\\R.HTML", "csv/R.HTML", "<!DOCTYPE"}};
  for (const auto& c : cases) {
    Fresh run;
    EXPECT_EQ(ResumeState(run.ws, WithResult(QString::fromUtf8(c.written))),
              ResumeOutcome::kResultWritten)
        << c.written << run.host.messages.join(u'\n').toStdString();
    EXPECT_TRUE(Read(dir_.filePath(QString::fromUtf8(c.file))).startsWith(c.begins)) << c.written;
  }
  QDir::setCurrent(start);
}

}  // namespace
}  // namespace mivora
