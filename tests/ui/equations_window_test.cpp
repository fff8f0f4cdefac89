#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "support/FakeHost.h"
#include "ui/CanvasBarsView.h"
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

  // The user's own paths, with mouse events sent through the window so that they are routed
  // (and grabbed) as real ones are.
  void mouseAndKeyboardDriveTheCondition() {
    FakeHost host;
    Workspace ws(host);
    ws.equations_window.visible = true;
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    ws.tables.slots.resize(5);
    mivora::Grid& g = ws.tables.slots[4].grid;
    g.SetCols(2);
    g.SetText(0, 0, QStringLiteral("T"));
    g.SetText(0, 1, QStringLiteral("C"));
    for (int i = 1; i <= 5; ++i) g.AppendRow({QString::number(i), QString::number(i)});

    mivora::ui::SyncHub hub;
    mivora::ui::EquationsWindow window(ws, hub);
    hub.Add(&window);
    mivora::LoadEquationsWindow(ws);
    for (int i = 1; i <= 5; ++i) mivora::CreateEquationBox(ws, 4, i, 1);
    // Boxes 2 and 3 in a nested Or panel.
    mivora::CreatePanelFromRectangle(ws, 0, mivora::TwipRect{1950, 1150, 4250, 752});
    hub.SyncAll();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWindow* handle = window.windowHandle();
    auto at = [&](QWidget* w, QPoint p) { return w->mapTo(&window, p); };

    // A left click on box 1's handle asks; Cancel keeps it, OK deletes it.
    host.answers = {false, true};
    QTest::mouseClick(handle, Qt::LeftButton, {}, at(window.BoxFrame(1), QPoint(3, 6)));
    QCOMPARE(host.questions.size(), 1);
    QVERIFY(window.BoxFrame(1)->isVisible());
    QTest::mouseClick(handle, Qt::LeftButton, {}, at(window.BoxFrame(1), QPoint(3, 6)));
    QCOMPARE(host.questions.size(), 2);
    QCOMPARE(host.questions[1], QStringLiteral(u"この式を消しますか ？"));
    QVERIFY(!window.BoxFrame(1)->isVisible());

    // A right click on box 0's handle calls the palette; "<>" goes into the box.
    QTest::mouseClick(handle, Qt::RightButton, {}, at(window.BoxFrame(0), QPoint(3, 6)));
    QVERIFY(window.OperatorPalette()->isVisible());
    QTest::mouseClick(handle, Qt::LeftButton, {}, at(window.OperatorLabel(1), QPoint(5, 5)));
    QVERIFY(!window.OperatorPalette()->isVisible());
    QCOMPARE(window.BoxTextField(0)->text(), QStringLiteral("T.C <> 1"));
    QVERIFY(window.SqlTextBox()->toPlainText().contains(QStringLiteral("T.C <> '1'")));

    // Box 0 right-dragged by its handle into the nested panel.
    const QPoint from = at(window.BoxFrame(0), QPoint(3, 6));
    const QPoint to = at(window.PanelLabel(1), QPoint(window.PanelLabel(1)->width() / 2,
                                                      window.PanelLabel(1)->height() - 4));
    QTest::mousePress(handle, Qt::RightButton, {}, from);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(handle, from + (to - from) * step / 4);
    QTest::mouseRelease(handle, Qt::RightButton, {}, to);
    QCOMPARE(ws.conditions.boxes[0].container, 1);
    QCOMPARE(window.BoxFrame(0)->parentWidget(), window.PanelFrame(1));
    QCOMPARE(mivora::ConditionExpression(ws),
             QStringLiteral("T.C = 5 And  (  T.C <> 1 Or  T.C = 3 Or  T.C = 4 )"));

    Screenshot(&window, QStringLiteral("equations_gestures"));

    // An emptied box is refused quietly while typing, and says so on Enter.
    QLineEdit* field = window.BoxTextField(3);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QString());
    QVERIFY(host.messages.isEmpty());
    QCOMPARE(field->toolTip(), QStringLiteral("Irregal Equation !"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(host.messages, QStringList{QStringLiteral("Irregal Equation !")});
    QCOMPARE(mivora::ConditionExpression(ws),
             QStringLiteral("T.C = 5 And  (  T.C <> 1 Or  T.C = 3 Or  T.C = 4 )"));
    QTest::keyClick(field, Qt::Key_Escape);
    QCOMPARE(field->text(), QStringLiteral("T.C = 4"));
  }

  // The canvas bars follow the elements and the window's size; a slider dragged through the
  // window moves every element on the canvas.
  void scrollBarsFollowTheElementsAndScrollThem() {
    FakeHost host;
    Workspace ws(host);
    ws.equations_window.visible = true;
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    mivora::ui::SyncHub hub;
    mivora::ui::EquationsWindow window(ws, hub);
    hub.Add(&window);
    mivora::LoadEquationsWindow(ws);
    hub.SyncAll();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* vbar = window.ScrollBars()->Track(true);
    QVERIFY(!vbar->isVisible());

    // The SQL frame below the window's bottom: the bar shows; a taller window hides it again.
    ws.conditions.cnd_equation.rect.top = 12000;
    hub.SyncAll();
    QVERIFY(vbar->isVisible());
    QVERIFY(!window.ScrollBars()->Track(false)->isVisible());
    window.resize(window.width(), window.height() + 340);
    QVERIFY(!vbar->isVisible());
    window.resize(window.width(), window.height() - 340);
    QVERIFY(vbar->isVisible());

    // A left drag of the slider down moves the root panel and the SQL frame up alike.
    const float root_top = ws.conditions.panels[0].kakko.rect.top;
    const float sql_top = ws.conditions.cnd_equation.rect.top;
    const int panel_y = window.PanelFrame(0)->y();
    QWidget* slider = window.ScrollBars()->Part(mivora::CanvasBarPart::kVSlider);
    QVERIFY(slider->isVisible());
    QWindow* handle = window.windowHandle();
    const QPoint from = slider->mapTo(&window, QPoint(slider->width() / 2, 5));
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(handle, from + QPoint(0, 10 * step));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, from + QPoint(0, 40));
    const float moved = ws.conditions.panels[0].kakko.rect.top - root_top;
    QVERIFY(moved < -40 * 15);
    QCOMPARE(ws.conditions.cnd_equation.rect.top - sql_top, moved);
    QVERIFY(window.PanelFrame(0)->y() < panel_y);
    Screenshot(&window, QStringLiteral("equations_scrolled"));
  }
};

QTEST_MAIN(EquationsWindowTest)
#include "equations_window_test.moc"
