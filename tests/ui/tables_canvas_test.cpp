#include <QtTest/qtestspontaneevent.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "MivoraCur/MivoraCursor.h"
#include "support/FakeHost.h"
#include "support/PopupMenus.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/Workspace.h"

using mivora::Workspace;
using mivora::testing::ChooseFromNextPopup;
using mivora::testing::FakeHost;
using mivora::testing::Screenshot;
using mivora::testing::TestData;
using mivora::ui::MainWindows;

class TablesCanvasTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The program starts in its own folder, where its data lies.
  void initTestCase() { QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR)); }

  void startsWithThreeWindows() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QVERIFY(windows.tables->isVisible());
    QVERIFY(windows.equations->isVisible());
    QVERIFY(windows.result->isVisible());
    QVERIFY(windows.tables->windowTitle().startsWith(QStringLiteral("表編集 ")));
    // Client area = outer 12000 x 9100 twips less the chrome allowances.
    QCOMPARE(windows.tables->width(), mivora::ui::ToPixels(12000 - 20));
    QCOMPARE(windows.tables->height(), mivora::ui::ToPixels(9100 - 320));
    // `Tables` at the top left of the available area, also once the windows are shown.
    QTest::qWait(50);
    QCOMPARE(windows.tables->frameGeometry().topLeft(),
             windows.tables->screen()->availableGeometry().topLeft());
  }

  void readsACsvThroughTheCanvasMenu() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    host.files_to_choose = {TestData(QStringLiteral("sales.2000.csv"))};

    ChooseFromNextPopup(QStringLiteral("表を読み込む"));
    QTest::mouseClick(windows.tables->canvas(), Qt::RightButton, {}, QPoint(400, 400));

    auto* view = windows.tables->TableView(4);
    QVERIFY(view);
    QVERIFY(view->isVisible());
    QCOMPARE(view->geometry(), mivora::ui::ToPixels(mivora::TwipRect{501, 1200, 4452, 700}));
    const mivora::Grid& grid = view->grid()->model();
    QCOMPARE(grid.Rows(), 4);
    QCOMPARE(grid.Cols(), 4);
    QCOMPARE(grid.Text(0, 0), QStringLiteral("sales"));
    QCOMPARE(grid.Text(0, 2), QStringLiteral("name"));
    QCOMPARE(grid.Text(3, 2), QStringLiteral("apple"));
    QCOMPARE(grid.Text(2, 0), QStringLiteral("2"));
    QVERIFY(host.messages.isEmpty());
    // The fitted column is wide enough for "banana" and the header.
    QVERIFY(grid.ColWidth(2) > 400);
    // The button hint follows the pointer over the empty canvas.
    QTest::mouseMove(windows.tables->canvas(), QPoint(500, 300));
    auto* hint = windows.tables->canvas()->findChild<MivoraCursor*>();
    QVERIFY(hint);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->y(), 300);
    Screenshot(windows.tables.get(), QStringLiteral("tables_after_load"));
  }

  void leftClickOnTheEmptyCanvasShowsTheAboutBox() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QString title;
    QTimer::singleShot(0, [&title] {
      if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        title = box->windowTitle();
        box->accept();
      }
    });
    QTest::mouseClick(windows.tables->canvas(), Qt::LeftButton, {}, QPoint(600, 500));
    QCOMPARE(title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  }

  void closingSecondaryWindowsMinimisesThem() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    // A close from the window manager, as the title bar's close box sends it.
    auto user_close = [](QWidget* w) {
      QCloseEvent close;
      QSpontaneKeyEvent::setSpontaneous(&close);
      QApplication::instance()->notify(w, &close);  // keeps the event spontaneous
      QVERIFY(!close.isAccepted());
    };
    user_close(windows.result.get());
    QVERIFY(windows.result->windowState() & Qt::WindowMinimized);
    QVERIFY(!host.exited);
    user_close(windows.tables.get());
    QVERIFY(host.exited);
  }
};

QTEST_MAIN(TablesCanvasTest)
#include "tables_canvas_test.moc"
