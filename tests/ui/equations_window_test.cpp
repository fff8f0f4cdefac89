#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "conditions/ConditionTexts.h"
#include "conditions/EquationBoxes.h"
#include "support/FakeHost.h"
#include "ui/EquationsWindow.h"
#include "workspace/Workspace.h"

using mivora::Workspace;
using mivora::testing::FakeHost;

// Saves what the user sees when MIVORA_SCREENSHOTS names a folder.
static void Screenshot(QWidget* w, const QString& name) {
  QString dir = qEnvironmentVariable("MIVORA_SCREENSHOTS");
  if (!dir.isEmpty()) w->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

class EquationsWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void showsBoxesAndSqlTextAndForwardsEdits() {
    FakeHost host;
    Workspace ws(host);
    ws.equations_window.visible = true;
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    ws.tables.slots.resize(5);
    mivora::Grid& g = ws.tables.slots[4].grid;
    g.SetCols(2);
    g.SetText(0, 0, QStringLiteral("Emp"));
    g.SetText(0, 1, QStringLiteral("Name"));
    g.AppendRow({QStringLiteral("1"), QStringLiteral("Smith")});

    mivora::ui::SyncHub hub;
    mivora::ui::EquationsWindow window(ws, hub);
    mivora::LoadEquationsWindow(ws);
    mivora::CreateEquationBox(ws, 4, 1, 1);
    hub.SyncAll();

    QVERIFY(window.isVisible());
    QCOMPARE(window.PanelLabel(0)->text(), QStringLiteral("＊ And ＊"));
    QLineEdit* text = window.BoxTextField(0);
    QVERIFY(text && text->isVisible());
    QCOMPARE(text->text(), QStringLiteral("Emp.Name = Smith"));
    QCOMPARE(text->parentWidget()->parentWidget(), window.PanelFrame(0));
    QCOMPARE(window.SqlTextFrame()->title(), QStringLiteral("SQL text"));
    QVERIFY(window.SqlTextBox()->toPlainText().endsWith(QStringLiteral("(Emp.Name = 'Smith')")));

    text->setFocus();
    text->end(false);
    QTest::keyClicks(text, QStringLiteral("s"));
    QCOMPARE(mivora::ConditionExpression(ws), QStringLiteral("Emp.Name = Smiths"));
    QVERIFY(window.SqlTextBox()->toPlainText().endsWith(QStringLiteral("(Emp.Name = 'Smiths')")));

    Screenshot(&window, QStringLiteral("equations_window"));

    // A middle-button release on the frame asks where to save the SQL text.
    QTest::mouseClick(window.SqlTextFrame(), Qt::MiddleButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(host.dialogs.size(), std::size_t{1});
  }
};

QTEST_MAIN(EquationsWindowTest)
#include "equations_window_test.moc"
