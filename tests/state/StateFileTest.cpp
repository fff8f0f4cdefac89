#include <QRegularExpression>
#include <QStringEncoder>

#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "state/Resume.h"
#include "state/SaveState.h"
#include "state/StateFile.h"
#include "state/StateFixture.h"
#include "state/StatePaths.h"
#include "tablefiles/TableLoading.h"
#include "tablefiles/TableNames.h"
#include "workspace/TableSlots.h"

namespace mivora {
namespace {

using testing::StateFixture;

QStringList Dump(const Grid& g) {
  QStringList rows;
  for (int r = 0; r < g.Rows(); ++r) {
    QStringList cells;
    for (int c = 1; c < g.Cols(); ++c) cells << g.Text(r, c);
    rows << cells.join(u'|');
  }
  return rows;
}

TEST(TwipText, ShortestPlainDecimal) {
  struct {
    float value;
    const char* text;
  } cases[] = {{4452, "4452"},     {720.5f, "720.5"},   {-120, "-120"}, {0.1f, "0.1"},
               {1e7f, "10000000"}, {1e-6f, "0.000001"}, {-0.0f, "0"},   {33.333332f, "33.333332"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TwipText(c.value), QString::fromLatin1(c.text)) << c.text;
    EXPECT_EQ(TwipText(c.value).toFloat(), c.value == 0 ? 0.0f : c.value) << c.text;
  }
}

TEST(StateFieldNumber, LeadingNumberRoundedHalfToEven) {
  struct {
    const char* field;
    int min, max;
    std::optional<int> value;
  } cases[] = {{"12", 0, 99, 12},
               {" \t12abc", 0, 99, 12},
               {"", 0, 99, 0},
               {"abc", 0, 99, 0},
               {"2.5", 0, 99, 2},
               {"3.5", 0, 99, 4},
               {"-1.5", -9, 9, -2},
               {"1e3", 0, 5000, 1000},
               {"100", 0, 99, std::nullopt},
               {"-1", 0, 99, std::nullopt},
               {"99999999999", 0, 2147483647, std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(StateFieldNumber(QString::fromLatin1(c.field), c.min, c.max), c.value) << c.field;
}

TEST(SplitWorkbookField, PlusOnlyAfterAWorkbookName) {
  struct {
    const char* field;
    bool split;
    const char* path;
    const char* sheet;
  } cases[] = {{"/d/book.xlsx+Sheet1", true, "/d/book.xlsx", "Sheet1"},
               {"/d/Book.XLS+売上+2", true, "/d/Book.XLS", "売上+2"},
               {"/d/a+b/book.xlsm+S", true, "/d/a+b/book.xlsm", "S"},
               {"/d/a+b/t.csv", false, "", ""},
               {"/d/x.xlsx.d+/t.csv", false, "", ""}};
  for (const auto& c : cases) {
    QString path, sheet;
    SplitWorkbookField(QString::fromUtf8(c.field), &path, &sheet);
    ASSERT_EQ(path != QString::fromUtf8(c.field), c.split) << c.field;
    if (!c.split) continue;
    EXPECT_EQ(path, QString::fromUtf8(c.path));
    EXPECT_EQ(sheet, QString::fromUtf8(c.sheet));
  }
}

class StateFileTest : public StateFixture {};

TEST_F(StateFileTest, EmptyWorkspaceWritesEverySectionLetterForLetter) {
  BeginJoin(ws_, 4, 1);  // pending, not written
  const QString expected = QStringLiteral(
      "4, TableFileNames  Left Top Height Width#a#\r\n"
      ",4,501,1200,700,4452,False,1,1\r\n"
      "9100,12000\r\n"
      "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# DestinationColumn#b#\r\n"
      "ReportTableColumn: Serial# Table# Column#c#\r\n"
      "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth ConteinerPanel#d#,0,Pink\r\n"
      "0,600,600,3480,9252,<\r\n"
      "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
      "ContainerPanel#e#,0\r\n"
      "#f#\r\n"
      "2280,4920,972,5412\r\n"
      "\r\n"
      "this software is deveroped by mivora.app\r\n"
      "#g#\r\n"
      "120,240,9100,12000\r\n");
  const QString text = StateFileText(ws_);
  EXPECT_TRUE(text.startsWith(expected)) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\r\nResultProperties#h#,=\r\n")));
  EXPECT_TRUE(text.endsWith(QStringLiteral(
      "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#\r\n#j#\r\n\r\n\r\n#k#\r\n")));
}

// A workspace with a bit of everything: a free slot between used ones, commas and "+" in
// paths and texts, nested panels of both colours with boxes in them, joins, report columns,
// condition cells and a search made.
TEST_F(StateFileTest, SaveResumeSaveGivesTheSameBytes) {
  const QString a = Write(QStringLiteral("t+1/a,b.csv"),
                          "id,name,city\r\n1,x,Kyoto\r\n2,y,Osaka\r\n3,z,Nara\r\n");
  const QString b = Write(QStringLiteral("b.csv"), "id,名前\r\n1,one\r\n2,two\r\n");
  const QString c = Write(QStringLiteral("c.csv"), "k\r\n1\r\n");
  const QString d = Write(QStringLiteral("d.csv"), "id,v\r\n1,5\r\n3,7\r\n");
  ASSERT_EQ(LoadTableFile(ws_, a, {501, 1200, 4452, 1500}).slot, 4);
  ASSERT_EQ(LoadTableFile(ws_, b, {6000, 1200, 3000, 1500}).slot, 5);
  ASSERT_EQ(LoadTableFile(ws_, c, {501, 3200, 2000, 900}).slot, 6);
  ASSERT_EQ(LoadTableFile(ws_, d, {6000, 3200, 3000, 1200}).slot, 7);
  ws_.tables.slots[6].frame.visible = false;  // removed: a free slot between used ones
  TableFileName(ws_, QString(), 6);
  ws_.TableGrid(4).SetTopRow(2);
  ws_.TableGrid(4).SetLeftCol(2);
  BeginJoin(ws_, 4, 1);
  CompleteJoin(ws_, 5, 1);
  BeginJoin(ws_, 4, 1);
  CompleteJoin(ws_, 7, 1);
  ToggleReportColumn(ws_, 4, 2);
  ToggleReportColumn(ws_, 5, 2);
  ToggleReportColumn(ws_, 7, 2);
  CreateEquationBox(ws_, 4, 1, 1);  // box 0
  CreateEquationBox(ws_, 4, 1, 3);
  CreateEquationBox(ws_, 5, 1, 2);
  CreateEquationBox(ws_, 7, 2, 2);
  SetEquationBoxText(ws_, 3, QStringLiteral("d.v <= 1,200+3"));
  // Or panel 1 in the And root holding boxes 1 and panel 2; And panel 2 holding boxes 2, 3.
  Conditions& cond = ws_.conditions;
  EnsureParenthesesPanels(ws_, 2);
  for (int i : {1, 2}) {
    cond.panels[i].kakko.visible = cond.panels[i].label_n.visible = true;
    cond.panels[i].container = i - 1;
  }
  cond.panels[1].kakko.rect = {300, 900, 8000, 2000};
  cond.panels[2].kakko.rect = {200, 600, 7000, 1200};
  cond.boxes[1].container = 1;
  cond.boxes[2].container = cond.boxes[3].container = 2;
  AlternateConnectives(ws_, 0);
  RefreshConditionTexts(ws_);
  RunSearch(ws_);
  ws_.tables.window.width = 15000;
  ws_.equations_window.height = 8000;
  ws_.result.window.height = 7000;
  ASSERT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();

  const QString saved = StateFileText(ws_);
  ASSERT_TRUE(saved.contains(QStringLiteral("d.v <= 1,200+3,<2\r\n"))) << saved.toStdString();
  // The free slot keeps a record of its own (its place is wherever the windows settled).
  ASSERT_TRUE(saved.contains(QRegularExpression(QStringLiteral(",6,[0-9.,]*,False,1,1\r\n"))));
  ASSERT_FALSE(saved.contains(QStringLiteral("ResultProperties#h#,=")));

  Fresh again;
  EXPECT_EQ(ResumeState(again.ws, saved), ResumeOutcome::kComplete);
  EXPECT_TRUE(again.host.messages.isEmpty()) << again.host.messages.join(u'\n').toStdString();
  EXPECT_EQ(StateFileText(again.ws), saved);
  // The members come back in another order (panels before boxes), the rows found are the same.
  EXPECT_EQ(Dump(again.ws.result.ResultGrid()), Dump(ws_.result.ResultGrid()));
  EXPECT_GT(ws_.result.ResultGrid().Rows(), 1);
  EXPECT_EQ(BoxColumnRef(again.ws, 3), QStringLiteral("d.v"));
  EXPECT_EQ(again.ws.conditions.boxes[1].text1.rect, (TwipRect{120, 0, 4092 - 240, 252}));
  EXPECT_FALSE(again.ws.tables.resume_menu_enabled);
  EXPECT_FALSE(again.ws.tables.examples_menu_enabled);
}

TEST_F(StateFileTest, SaveStateAsksWithItsDialogAndWritesUtf8) {
  const QString target = dir_.filePath(QStringLiteral("state.rsm"));
  host_.files_to_choose.push_back(target);
  ASSERT_TRUE(SaveState(ws_));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].title,
            QString(29, u' ') + QStringLiteral("現状をファイルに保存する。"));
  EXPECT_EQ(host_.dialogs[0].filter, QStringLiteral("CSV File (*.rsm);;すべてのファイル (*)"));
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()), StateFileText(ws_));

  // Cancelled: nothing written. Unwritable: the message, the old file kept.
  EXPECT_FALSE(SaveState(ws_));
  host_.files_to_choose.push_back(dir_.filePath(QStringLiteral("no/such/folder/s.rsm")));
  EXPECT_FALSE(SaveState(ws_));
  ASSERT_EQ(host_.messages.size(), 1);
  EXPECT_TRUE(host_.messages[0].startsWith(QStringLiteral("ファイル「")));
  EXPECT_EQ(host_.dialogs.back().dir, dir_.path());  // the folder of the last choice
}

}  // namespace
}  // namespace mivora
