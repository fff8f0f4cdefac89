#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include "MivoraCur/MivoraCursor.h"
#include "canvas/HintSpots.h"
#include "support/FakeHost.h"
#include "support/PopupMenus.h"
#include "ui/GridView.h"
#include "ui/HintView.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

using mivora::HintPair;
using mivora::Workspace;
using mivora::testing::ChooseFromNextPopup;
using mivora::testing::FakeHost;
using mivora::testing::Screenshot;
using mivora::testing::TestData;
using mivora::ui::HintView;
using mivora::ui::MainWindows;
using mivora::ui::ToPixels;
using mivora::ui::ToTwips;

// The button hints of the three windows driven as the user's mouse does: events go to the
// windows (QWindow overloads), so Qt finds the widget under the pointer as it does on screen.
class HintFlowTest : public QObject {
  Q_OBJECT

 private:
  static MivoraCursor* Hint(QWidget* surface) { return surface->findChild<MivoraCursor*>(); }
  static QPoint In(QWidget* window, QWidget* w, QPoint p) { return w->mapTo(window, p); }
  static int LiveBoxes(const Workspace& ws) {
    int n = 0;
    for (const auto& b : ws.conditions.boxes) n += b.live() ? 1 : 0;
    return n;
  }

 private Q_SLOTS:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR));
    HintView::SetEnabled(true);
  }

  void followsThePointerAndTakesNoInput() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    host.files_to_choose = {TestData(QStringLiteral("sales.2000.csv"))};
    ChooseFromNextPopup(QStringLiteral("表を読み込む"));
    QTest::mouseClick(windows.tables->windowHandle(), Qt::RightButton, {}, QPoint(400, 400));
    mivora::PlaceSlot(ws, 4, 0, 0, 3000, 0);  // room for a few rows under the hint
    windows.SyncAll();
    QWindow* tables = windows.tables->windowHandle();
    QWidget* canvas = windows.tables->canvas();
    mivora::ui::GridView* grid = windows.tables->TableView(4)->grid();
    MivoraCursor* hint = Hint(canvas);
    QVERIFY(hint);
    int grid_moves = 0;
    connect(grid, &mivora::ui::GridView::mouseMoved, [&] { ++grid_moves; });

    // Down 20 px per event, from the canvas over header and data cells of column 2, then of
    // the row-number column: the grid gets every move over it, the hint shows each spot's pair.
    const mivora::Grid& g = grid->model();
    const QList<int> xs = {ToPixels(g.ColWidth(0) + g.ColWidth(1)) + 5, 5};
    QSet<QString> pictures;
    for (int gx : xs) {
      for (int gy = -40; gy < grid->height(); gy += 20) {
        const QPoint p = In(windows.tables.get(), grid, QPoint(gx, gy));
        const int before = grid_moves;
        QTest::mouseMove(tables, p);
        const QPoint c = canvas->mapFrom(windows.tables.get(), p);
        const HintPair want = mivora::TablesHintAt(ws, ToTwips(c.x()), ToTwips(c.y()));
        QCOMPARE(ws.tables.hint.mask_file, want.mask);
        QCOMPARE(ws.tables.hint.picture_file, want.picture);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->pos(), QPoint(ToPixels(ToTwips(c.x()) - 700), ToPixels(ToTwips(c.y()))));
        if (gy >= 0) QCOMPARE(grid_moves, before + 1);
        pictures << want.picture;
      }
    }
    QVERIFY(pictures.contains(QStringLiteral(".\\F12MaskLCR.bmp")));
    QVERIFY(pictures.contains(QStringLiteral(".\\F14MaskLCR.bmp")));
    QVERIFY(pictures.contains(QStringLiteral(".\\Mask.bmp")));
    QVERIFY(pictures.contains(QStringLiteral(".\\F16MaskR.bmp")));  // the canvas, after the menu

    // A data cell, then a left click on the hint's visible part: the grid below gets it and
    // an equation box is made.
    const QPoint cell = In(windows.tables.get(), grid, QPoint(xs[0], ToPixels(g.RowHeight(0)) + 2));
    QTest::mouseMove(tables, cell);
    QCOMPARE(ws.tables.hint.picture_file, QStringLiteral(".\\F14MaskLCR.bmp"));
    const QPoint on_hint = cell + QPoint(0, 30);
    QVERIFY(hint->mask().contains(hint->mapFrom(windows.tables.get(), on_hint)));
    QVERIFY(grid->rect().contains(grid->mapFrom(windows.tables.get(), on_hint)));
    const int boxes = LiveBoxes(ws);
    QTest::mouseClick(tables, Qt::LeftButton, {}, on_hint);
    QCOMPARE(LiveBoxes(ws), boxes + 1);
    Screenshot(windows.tables.get(), QStringLiteral("hint_over_data_cell"));

    // The canvas menu hides it; closed, it comes back at the next move only.
    const QPoint empty(20, windows.tables->height() - 40);
    QTest::mouseMove(tables, empty);
    QVERIFY(hint->isVisible());
    bool hidden_while_open = false;
    QTimer::singleShot(0, [&] {
      hidden_while_open = !hint->isVisible();
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) menu->close();
    });
    QTest::mouseClick(tables, Qt::RightButton, {}, empty);
    QVERIFY(hidden_while_open);
    QVERIFY(!hint->isVisible());
    QTest::mouseMove(tables, empty + QPoint(4, 4));
    QVERIFY(hint->isVisible());

    // Into the Equations window: the Tables hint goes, the Equations one follows, and it hides
    // over a box's text field.
    QWindow* equations = windows.equations->windowHandle();
    MivoraCursor* eq_hint = Hint(windows.equations.get());
    QVERIFY(eq_hint);
    QTest::mouseMove(equations, QPoint(windows.equations->width() - 10, 10));
    QVERIFY(!hint->isVisible());
    QVERIFY(eq_hint->isVisible());
    QLineEdit* field = nullptr;
    for (int b = 0; windows.equations->BoxTextField(b); ++b)
      if (windows.equations->BoxTextField(b)->isVisible())
        field = windows.equations->BoxTextField(b);
    QVERIFY(field);
    QTest::mouseMove(equations, In(windows.equations.get(), field, field->rect().center()));
    QVERIFY(!eq_hint->isVisible());

    // Switched off: no hint anywhere, and still off in a new set of windows.
    HintView::SetEnabled(false);
    QTest::mouseMove(tables, empty);
    QTest::mouseMove(equations, QPoint(windows.equations->width() - 10, 10));
    QVERIFY(!hint->isVisible());
    QVERIFY(!eq_hint->isVisible());
    {
      FakeHost host2;
      Workspace ws2(host2);
      MainWindows again(ws2);
      again.Start({});
      QTest::mouseMove(again.tables->windowHandle(), QPoint(30, 30));
      QVERIFY(!Hint(again.tables->canvas())->isVisible());
    }
    HintView::SetEnabled(true);
    QTest::mouseMove(tables, empty + QPoint(8, 8));
    QVERIFY(hint->isVisible());
  }

  void aPairWithAnUnreadableFileShowsNoHint() {
    QWidget window;
    window.resize(300, 200);
    QString picture = QStringLiteral(".\\NoSuchPicture.bmp");
    HintView view(&window, &window, [&picture](float, float) {
      return HintPair{QStringLiteral(".\\MaskLR.bmp"), picture};
    });
    window.show();
    QTest::mouseMove(window.windowHandle(), QPoint(100, 50));
    QVERIFY(!view.control()->isVisible());
    QVERIFY(HintView::HintFile(picture, 1).isNull());
    picture = QStringLiteral(".\\F7MaskLR.bmp");
    QTest::mouseMove(window.windowHandle(), QPoint(110, 60));
    QVERIFY(view.control()->isVisible());
    // A screen with a device-pixel ratio above 1 gets the files drawn at twice the pixels.
    const QPixmap twice = HintView::HintFile(picture, 2);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.deviceIndependentSize().toSize(), HintView::HintFile(picture, 1).size());
  }

  void theSwitchIsTheCanvasMenusCheckableItem() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    bool was_checked = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      // The switch stands after a separator, right above "終了".
      const QList<QAction*> actions = menu->actions();
      const qsizetype n = actions.size();
      QAction* item = n >= 3 ? actions.at(n - 2) : nullptr;
      const bool placed = item && item->text() == QStringLiteral("マウスボタンの説明を表示する") &&
                          actions.at(n - 3)->isSeparator() &&
                          actions.at(n - 1)->text() == QStringLiteral("終了");
      if (placed) {
        was_checked = item->isChecked();
        item->trigger();
      }
      menu->close();
      QVERIFY(placed);
    });
    QTest::mouseClick(windows.tables->windowHandle(), Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(was_checked);
    QVERIFY(!HintView::Enabled());
    // One key in the user's settings (the test-mode folder here), read by the next run.
    QCOMPARE(QSettings(QStringLiteral("Mivora"), QStringLiteral("mivora"))
                 .value(QStringLiteral("ShowButtonHints")),
             QVariant(false));
    // Like every canvas-menu command, it sets the after-menu pair.
    QCOMPARE(ws.tables.default_hint_picture, QStringLiteral(".\\F16MaskR.bmp"));
    HintView::SetEnabled(true);
  }
};

QTEST_MAIN(HintFlowTest)
#include "hint_flow_test.moc"
