#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "MivoraCur/MivoraCursor.h"
#include "canvas/ButtonHints.h"
#include "model/Grid.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "support/FakeHost.h"
#include "support/PopupMenus.h"
#include "tablefiles/TableLoading.h"
#include "ui/GridView.h"
#include "ui/MainWindows.h"
#include "ui/PasteBoxView.h"
#include "ui/QtTranslations.h"
#include "ui/Units.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

using mivora::Workspace;
using mivora::testing::ChooseFromNextPopup;
using mivora::testing::FakeHost;
using mivora::testing::TestData;
using mivora::ui::MainWindows;
using mivora::ui::ToPixels;

namespace {

// Runs a check on the popup menu that the next event opens, then closes it unchosen.
void InspectNextPopup(std::function<void(QMenu*)> check) {
  QTimer::singleShot(0, [check] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    check(menu);
    menu->close();
  });
}

QAction* Item(QMenu* menu, const char* name) {
  return menu->findChild<QAction*>(QString::fromLatin1(name));
}

// The captions of a menu's entries, "-" for a separator, hidden ones in brackets.
QStringList Captions(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) {
    QString text = a->isSeparator() ? QStringLiteral("-") : a->text();
    out << (a->isVisible() ? text : u'[' + text + u']');
  }
  return out;
}

QPoint NameCell(const mivora::Grid& g) {
  return QPoint(ToPixels(g.VisibleLeftOf(0) + g.ColWidth(0) / 2),
                ToPixels(g.VisibleTopOf(0) + g.RowHeight(0) / 2));
}

}  // namespace

class TablesMenusTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR)); }

  void canvasMenuTreeAndStates() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QWidget* canvas = windows.tables->canvas();
    auto* hint = canvas->findChild<MivoraCursor*>();
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 300), canvas->mapToGlobal(QPointF(300, 300)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QVERIFY(hint->isVisible());

    bool checked = false;
    InspectNextPopup([&](QMenu* menu) {
      QCOMPARE(menu->objectName(), QStringLiteral("FrmMenu"));
      QVERIFY(!hint->isVisible());  // the hint hides while the menu is open
      QCOMPARE(Captions(menu),
               QStringList({QStringLiteral("以前中断した処理を再開する"), QStringLiteral("-"),
                            QStringLiteral("表を読み込む"), QStringLiteral("-"),
                            QStringLiteral("html text の paste"), QStringLiteral("-"),
                            QStringLiteral("例題"), QStringLiteral("-"),
                            QStringLiteral("マウスボタンの説明を表示する"), QStringLiteral("終了")}));
      auto* examples = menu->findChild<QMenu*>(QStringLiteral("mnuResume"));
      QVERIFY(examples);
      QCOMPARE(Captions(examples),
               QStringList({QStringLiteral("CarOptions"), QStringLiteral("-"),
                            QStringLiteral("WaterFalls"), QStringLiteral("-"),
                            QStringLiteral("おろし商店"), QStringLiteral("-"),
                            QStringLiteral("CheeseCake Set"), QStringLiteral("-"),
                            QStringLiteral("CheeseCake 練習"), QStringLiteral("-"),
                            QStringLiteral("[Oracle Example]")}));
      auto* falls = menu->findChild<QMenu*>(QStringLiteral("WaterFallsDB"));
      QCOMPARE(Captions(falls),
               QStringList({QStringLiteral("Helicopter"), QStringLiteral("-"),
                            QStringLiteral("Telescope"), QStringLiteral("-"),
                            QStringLiteral("Walk"), QStringLiteral("-"), QStringLiteral("ﾂｧｲｽ")}));
      QVERIFY(Item(menu, "mnuRsmEnv")->isEnabled());
      QVERIFY(examples->menuAction()->isEnabled());
      QVERIFY(Item(menu, "DoorMirrorSave"));
      checked = true;
    });
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(checked);
    // The hint comes back at the next move, not at once where the item was chosen.
    QVERIFY(!hint->isVisible());
    QApplication::sendEvent(canvas, &move);
    QVERIFY(hint->isVisible());

    // A table read through the menu switches both off for good.
    host.files_to_choose = {TestData(QStringLiteral("sales.2000.csv"))};
    ChooseFromNextPopup(QStringLiteral("表を読み込む"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(windows.tables->TableView(4)->isVisible());
    QCOMPARE(ws.tables.default_hint_picture, QStringLiteral(".\\F16MaskR.bmp"));
    checked = false;
    InspectNextPopup([&](QMenu* menu) {
      QVERIFY(!Item(menu, "mnuRsmEnv")->isEnabled());
      QVERIFY(!menu->findChild<QMenu*>(QStringLiteral("mnuResume"))->menuAction()->isEnabled());
      QVERIFY(Item(menu, "FrmOpen")->isEnabled());
      checked = true;
    });
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(600, 600));
    QVERIFY(checked);

    // "終了" ends the program as the close box does.
    ChooseFromNextPopup(QStringLiteral("終了"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(600, 600));
    QVERIFY(host.exited);
  }

  void resumeOffForGoodOnceOpenedWithAWindowMinimised() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QWidget* canvas = windows.tables->canvas();
    ws.result.window.state = mivora::WindowState::kMinimised;
    bool checked = false;
    InspectNextPopup([&](QMenu* menu) {
      QVERIFY(!Item(menu, "mnuRsmEnv")->isEnabled());
      QVERIFY(menu->findChild<QMenu*>(QStringLiteral("mnuResume"))->menuAction()->isEnabled());
      checked = true;
    });
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(checked);
    ws.result.window.state = mivora::WindowState::kNormal;
    checked = false;
    InspectNextPopup([&](QMenu* menu) {
      QVERIFY(!Item(menu, "mnuRsmEnv")->isEnabled());
      checked = true;
    });
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(checked);
  }

  void nameCellMenuRemovesATableThatFailedPartWay() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.csv"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("a,b\r\n1,2\r\n1,2,3\r\n4,5\r\n");
    f.close();
    mivora::LoadTableFile(ws, path, {});
    windows.SyncAll();
    QVERIFY(ws.tables.SlotInUse(4));
    QVERIFY(ws.TableGrid(4).Text(0, 0).isEmpty());

    auto* view = windows.tables->TableView(4);
    const mivora::Grid& grid = view->grid()->model();
    ChooseFromNextPopup(QStringLiteral("この表を画面から削除する"));
    QTest::mouseClick(view->grid(), Qt::RightButton, {}, NameCell(grid));
    QVERIFY(!ws.tables.SlotInUse(4));
    QVERIFY(!view->isVisible());
    QCOMPARE(mivora::TableFileName(ws, QStringLiteral("?"), 4), QString());
    // The next table takes the freed slot.
    QCOMPARE(mivora::LoadTableFile(ws, TestData(QStringLiteral("sales.2000.csv")), {}).slot, 4);
  }

  void pasteBoxShowsHidesAndReadsPastedHtml() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    windows.tables->show();
    QWidget* canvas = windows.tables->canvas();
    auto* box = canvas->findChild<mivora::ui::PasteBoxView*>(QStringLiteral("ReceiveTextBox"));
    QVERIFY(box);
    QVERIFY(!box->isVisible());

    ChooseFromNextPopup(QStringLiteral("html text の paste"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(box->isVisible());
    QVERIFY(box->hasFocus() || QApplication::focusWidget() == box);
    ChooseFromNextPopup(QStringLiteral("html text の paste"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(!box->isVisible());
    QVERIFY(!ws.tables.SlotInUse(4));
    QVERIFY(ws.tables.examples_menu_enabled);

    ChooseFromNextPopup(QStringLiteral("html text の paste"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    auto* data = new QMimeData;
    data->setHtml(
        QStringLiteral("<meta charset='utf-8'><table><tr><td>品名</td><td>数</td></tr>"
                       "<tr><td>りんご</td><td>3</td></tr></table>"));
    data->setText(QStringLiteral("品名\t数\nりんご\t3"));
    QApplication::clipboard()->setMimeData(data);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);

    QVERIFY(ws.tables.SlotInUse(4));
    const mivora::Grid& g = ws.TableGrid(4);
    QCOMPARE(g.Text(0, 1), QStringLiteral("品名"));
    QCOMPARE(g.Text(1, 1), QStringLiteral("りんご"));
    QCOMPARE(g.Text(1, 2), QStringLiteral("3"));
    QVERIFY(g.Text(0, 0).isEmpty());
    QVERIFY(!box->isVisible());
    QVERIFY(box->toPlainText().isEmpty());
    QVERIFY(!ws.tables.examples_menu_enabled);
    QVERIFY(!ws.tables.resume_menu_enabled);
    QVERIFY(host.messages.isEmpty());

    // One typed character: the message, and no window for it.
    ChooseFromNextPopup(QStringLiteral("html text の paste"));
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QTest::keyClick(box, Qt::Key_X);
    QCOMPARE(host.messages, QStringList{QStringLiteral("HTML 表ファイルに問題があります。")});
    QVERIFY(!ws.tables.SlotInUse(5));
    QVERIFY(!box->isVisible());
  }

  void ctrlShiftORunsTheOracleExampleWhileExamplesAreOn() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    windows.tables->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(windows.tables.get()));
    QTest::keyClick(windows.tables.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(u'\n')));
    for (int slot = 4; slot <= 12; ++slot) QVERIFY(ws.tables.SlotInUse(slot));
    QVERIFY(windows.tables->TableView(12)->isVisible());
    // Once tables are loaded the examples are off: a second press adds nothing.
    QTest::keyClick(windows.tables.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!ws.tables.SlotInUse(13));
  }

  void clickOnAJoinLineAsksAndDisconnects() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    mivora::SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
    const QString csv = TestData(QStringLiteral("sales.2000.csv"));
    const int a = mivora::LoadTableFile(ws, csv, {500, 600, 3000, 1500}).slot;
    const int b = mivora::LoadTableFile(ws, csv, {7000, 6000, 3000, 1500}).slot;
    mivora::BeginJoin(ws, a, 1);
    mivora::CompleteJoin(ws, b, 2);
    mivora::RedrawJoinLines(ws);
    windows.SyncAll();
    // A routed piece whose middle lies over the empty canvas.
    QWidget* canvas = windows.tables->canvas();
    QPoint middle;
    bool found = false;
    for (const mivora::Control& c : ws.tables.line2) {
      if (!c.visible) continue;
      const QPoint m(ToPixels(c.rect.left + c.rect.width / 2), ToPixels(c.rect.top + c.rect.height / 2));
      if (canvas->childAt(m) == nullptr) {
        middle = m;
        found = true;
        break;
      }
    }
    QVERIFY(found);

    host.answers = {false};
    QTest::mouseClick(canvas, Qt::LeftButton, {}, middle);
    QCOMPARE(host.questions, QStringList{QStringLiteral("切断しますか ？")});
    mivora::Join j;
    QCOMPARE(mivora::ReadJoin(ws, 1, j), 1);

    host.answers = {true};
    QTest::mouseClick(canvas, Qt::LeftButton, {}, middle);
    QCOMPARE(host.questions.size(), 2);
    QCOMPARE(mivora::ReadJoin(ws, 1, j), 0);

    // With the line gone the click is the canvas's own: nothing asked.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, middle);
    QCOMPARE(host.questions.size(), 2);
  }

  void qtButtonsSpeakJapanese() {
    QVERIFY(mivora::ui::InstallQtJapanese(*QCoreApplication::instance()));
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("はい(&Y)"));
  }
};

QTEST_MAIN(TablesMenusTest)
#include "tables_menus_test.moc"
