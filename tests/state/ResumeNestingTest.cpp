#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/EquationsKeyboard.h"
#include "conditions/SqlText.h"
#include "state/Resume.h"
#include "state/StateFile.h"
#include "state/StateFixture.h"

namespace mivora {
namespace {

using testing::StateFixture;

// A state file whose condition is `depth` parentheses panels each inside the one before, every
// panel holding one box "a.id = 1" beside the next panel, the innermost two; `records` panel
// records are written (the first `depth` + 1 nest, any more sit in the root).
QString NestedStateFile(const QString& table, int depth, int records) {
  QString s;
  s += QStringLiteral("4, TableFileNames  Left Top Height Width#a#\r\n");
  s += table + QStringLiteral(",4,501,1200,1500,4452,True,1,1\r\n8000,10000\r\n");
  s += QStringLiteral(
      "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# "
      "DestinationColumn#b#\r\n");
  s += QStringLiteral("ReportTableColumn: Serial# Table# Column#c#\r\n1,4,1\r\n");
  s += QStringLiteral(
           "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth "
           "ConteinerPanel#d#,") +
       QString::number(records - 1) + QStringLiteral(",Pink\r\n");
  s += QStringLiteral("0,600,600,3480,9252,<\r\n");
  for (int k = 1; k < records; ++k) {
    const int container = k <= depth ? k - 1 : 0;
    s += QString::number(k) + QStringLiteral(",10,10,3000,9000,<") + QString::number(container) +
         QStringLiteral("\r\n");
  }
  s += QStringLiteral(
           "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
           "ContainerPanel#e#,") +
       QString::number(depth + 1) + QStringLiteral("\r\n");
  for (int k = 0; k <= depth + 1; ++k) {
    s += QString::number(k) + QStringLiteral(",60,60,252,4092,a.id = 1,<") +
         QString::number(std::min(k, depth)) + QStringLiteral("\r\n");
  }
  s += QStringLiteral(
      "#f#\r\n2280,4920,972,5412\r\n\r\nthis software is deveroped by mivora.app\r\n"
      "#g#\r\n120,240,7000,11000\r\nResultProperties#h#,\r\n120,120,240,11000,1,1\r\n"
      "120,480,6000,11000,1,1\r\n6000,9000\r\n"
      "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#\r\n#j#\r\n\r\n\r\n#k#\r\n");
  return s;
}

class ResumeNestingTest : public StateFixture {
 protected:
  void SetUp() override {
    StateFixture::SetUp();
    table_ = Write(QStringLiteral("a.csv"), "id,name\r\n1,x\r\n2,y\r\n");
  }
  QString table_;
};

// At the ceiling the tree is rebuilt, and every walk over it (the condition and SQL texts, the
// evaluation, saving and resuming the save) runs to the innermost panel.
TEST_F(ResumeNestingTest, AtTheCeilingEveryWalkReachesTheInnermostPanel) {
  const int depth = kMaxPanelNesting;
  EXPECT_EQ(ResumeState(ws_, NestedStateFile(table_, depth, depth + 1)),
            ResumeOutcome::kComplete);
  EXPECT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  ASSERT_EQ(static_cast<int>(ws_.conditions.panels.size()), depth + 1);
  EXPECT_EQ(ws_.conditions.panels[depth].container, depth - 1);
  EXPECT_EQ(ConditionExpression(ws_).count(u'('), depth);
  EXPECT_EQ(ConditionExpression(ws_).count(u')'), depth);
  EXPECT_EQ(ConditionExpression(ws_).count(QStringLiteral("a.id = 1")), depth + 2);
  // The search and the filter ran over the nested expression.
  EXPECT_GE(ws_.result.ResultGrid().Rows(), 1);

  EXPECT_EQ(BoxesInTextOrder(ws_).size(), static_cast<std::size_t>(depth + 2));

  const QString saved = StateFileText(ws_);
  Fresh again;
  EXPECT_EQ(ResumeState(again.ws, saved), ResumeOutcome::kComplete);
  EXPECT_EQ(StateFileText(again.ws), saved);
}

// Deeper nesting is refused at the record that passes the ceiling before any panel changes,
// in time linear in the file: also the deepest file the panel numbers allow and a file of
// 100,000 records (refused at the first panel number past the largest).
TEST_F(ResumeNestingTest, DeeperNestingIsRefusedBeforeAnyPanelChanges) {
  struct Case {
    int depth, records, problem_record;
  };
  const Case cases[] = {
      {kMaxPanelNesting + 1, kMaxPanelNesting + 2, kMaxPanelNesting + 1},
      {32767, 32768, kMaxPanelNesting + 1},
      {100000, 100000, 32768},  // the first panel number past the largest
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    Fresh fresh;
    EXPECT_EQ(ResumeState(fresh.ws, NestedStateFile(table_, c.depth, c.records)),
              ResumeOutcome::kStopped);
    // Panel record k stands on line 8 + k (1-based).
    ASSERT_EQ(fresh.host.messages.size(), 1);
    EXPECT_TRUE(fresh.host.messages[0].endsWith(QString::number(8 + c.problem_record) +
                                                QStringLiteral(" 行目")))
        << fresh.host.messages[0].toStdString();
    EXPECT_EQ(fresh.ws.conditions.panels.size(), 1u);
  }
}

// As many panels as the panel numbers allow, side by side in the root, resume and are walked
// (texts, the keyboard's box order, saving).
TEST_F(ResumeNestingTest, TheWidestTreeResumesAndIsWalked) {
  EXPECT_EQ(ResumeState(ws_, NestedStateFile(table_, 3, 32768)), ResumeOutcome::kComplete);
  EXPECT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  EXPECT_EQ(ws_.conditions.panels.size(), 32768u);
  EXPECT_EQ(BoxesInTextOrder(ws_).size(), 5u);
  RefreshConditionTexts(ws_);
  EXPECT_EQ(ConditionExpression(ws_).count(QStringLiteral("a.id = 1")), 5);
  EXPECT_TRUE(StateFileText(ws_).contains(QStringLiteral("\r\n32767,10,10,3000,9000,<0\r\n")));
}

// A state file past its size ceiling is refused unread, with the reason; one at it is read.
TEST_F(ResumeNestingTest, AStateFileLargerThanItsCeilingIsNotRead) {
  for (const qint64 size : {kMaxStateFileBytes, kMaxStateFileBytes + 1}) {
    SCOPED_TRACE(size);
    const QString path = Write(QStringLiteral("big.rsm"), "#a#\r\n");
    ASSERT_TRUE(QFile::resize(path, size));  // sparse: no bytes written
    QString text, reason;
    EXPECT_EQ(ReadStateFile(path, &text, &reason), size == kMaxStateFileBytes);
    EXPECT_EQ(reason.isEmpty(), size == kMaxStateFileBytes);
  }
}

}  // namespace
}  // namespace mivora
