#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include "model/Constants.h"
#include "search/JoinModel.h"
#include "support/FakeHost.h"
#include "support/MouseEvents.h"
#include "support/PopupMenus.h"
#include "tablefiles/TableLoading.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/Workspace.h"

using mivora::TwipRect;
using mivora::Workspace;
using mivora::testing::Drag;
using mivora::testing::FakeHost;
using mivora::testing::Screenshot;
using mivora::testing::TestData;
using mivora::ui::MainWindows;
using mivora::ui::ToPixels;

class TableWindowsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR)); }

  void dragsKeepJoinedWindowsApartAndRouteTheirLine() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    const QString csv = TestData(QStringLiteral("sales.2000.csv"));
    mivora::LoadTableFile(ws, csv, {});
    mivora::LoadTableFile(ws, csv, {});
    const int a = 4, b = 5;
    mivora::BeginJoin(ws, a, 1);
    mivora::CompleteJoin(ws, b, 1);
    windows.tables->Sync();
    auto& slots = ws.tables.slots;
    QCOMPARE(slots[b].frame.rect.top, 501.0f);
    QCOMPARE(slots[a].frame.rect.top, 501.0f + 700 + 600);

    // Right button on b's top border, dragged down onto a: at the release the centre rule
    // puts a 600 below b.
    auto* view_b = windows.tables->TableView(b);
    const int down = ToPixels(1500);
    Drag(view_b, QPoint(ToPixels(1000), 2), QPoint(0, down), Qt::RightButton);
    const TwipRect fb = slots[b].frame.rect;
    QVERIFY(fb.top > 1500);
    QCOMPARE(slots[a].frame.rect.top, fb.bottom() + 600);
    QCOMPARE(view_b->geometry(), ToPixels(fb));

    // Left button on b's corner: wider and taller, a pushed along.
    QWidget* corner = nullptr;
    for (QWidget* w : view_b->findChildren<QWidget*>()) {
      if (w->geometry() == ToPixels(slots[b].corner.rect) && w->parentWidget() == view_b)
        corner = w;
    }
    QVERIFY(corner);
    Drag(corner, QPoint(3, 3), QPoint(ToPixels(600), ToPixels(300)), Qt::LeftButton);
    QVERIFY(slots[b].frame.rect.width > fb.width + 400);
    QVERIFY(slots[b].frame.rect.height > fb.height + 200);
    QVERIFY(slots[a].frame.rect.top >= slots[b].frame.rect.bottom() + 500);
    QCOMPARE(slots[b].grid.control.rect.width, slots[b].frame.rect.width - 240);

    // The join line is routed again: its pieces shown, the last in the entering colour.
    int shown = 0, entering = 0;
    for (const auto& c : ws.tables.line2) {
      shown += c.visible;
      entering += c.visible && c.back_colour == mivora::kJoinLineLastColour;
    }
    QVERIFY(shown >= 2);
    QCOMPARE(entering, 1);
    QVERIFY(host.messages.isEmpty());
    Screenshot(windows.tables.get(), QStringLiteral("table_windows"));
  }
};

QTEST_MAIN(TableWindowsTest)
#include "table_windows_test.moc"
