#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QtTest>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "search/JoinModel.h"
#include "support/FakeHost.h"
#include "support/MouseEvents.h"
#include "support/PopupMenus.h"
#include "tablefiles/TableLoading.h"
#include "ui/CanvasBarsView.h"
#include "ui/EquationsWindow.h"
#include "ui/MainWindows.h"
#include "ui/TablesWindow.h"
#include "ui/Units.h"
#include "workspace/Workspace.h"

using mivora::CanvasBarPart;
using mivora::TwipRect;
using mivora::Workspace;
using mivora::testing::FakeHost;
using mivora::testing::PressAndMove;
using mivora::testing::SendMouse;
using mivora::testing::TestData;
using mivora::ui::MainWindows;
using mivora::ui::ToPixels;

namespace {

void LoseGrab(QWidget* w) {
  QEvent ungrab(QEvent::UngrabMouse);
  QApplication::sendEvent(w, &ungrab);
}

int ShownSegments(const Workspace& ws) {
  int shown = 0;
  for (const auto& c : ws.tables.line2) shown += c.visible;
  return shown;
}

// Two joined copies of one table: b at the top left, a 600 below it.
struct JoinedPair {
  FakeHost host;
  Workspace ws{host};
  MainWindows windows{ws};
  static constexpr int a = 4, b = 5;
  JoinedPair() {
    windows.Start({});
    const QString csv = TestData(QStringLiteral("sales.2000.csv"));
    mivora::LoadTableFile(ws, csv, {});
    mivora::LoadTableFile(ws, csv, {});
    mivora::BeginJoin(ws, a, 1);
    mivora::CompleteJoin(ws, b, 1);
    windows.tables->Sync();
  }
  TwipRect Frame(int slot) const { return ws.tables.slots[slot].frame.rect; }
};

}  // namespace

class DragEndTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR)); }

  // Each way of losing the grab ends a border drag as its release: overlaps resolved, the
  // line relaid, the anchor reset; later moves with the button held move nothing.
  void borderDragThatLosesTheGrabEndsAsARelease_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("grab taken") << 0;
    QTest::newRow("window deactivated") << 1;
    QTest::newRow("escape") << 2;
    QTest::newRow("move without button") << 3;
  }
  void borderDragThatLosesTheGrabEndsAsARelease() {
    QFETCH(int, how);
    JoinedPair p;
    auto* view_b = p.windows.tables->TableView(p.b);
    PressAndMove(view_b, QPoint(ToPixels(1000), 2), QPoint(0, ToPixels(1500)), Qt::RightButton);
    QCOMPARE(ShownSegments(p.ws), 0);  // no lines while dragging
    QVERIFY(p.Frame(p.b).top > 1500);
    switch (how) {
      case 0: LoseGrab(view_b); break;
      case 1: {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(p.windows.tables.get(), &deactivate);
        break;
      }
      case 2: QTest::keyClick(p.windows.tables.get(), Qt::Key_Escape); break;
      case 3: SendMouse(view_b, QEvent::MouseMove, QPoint(ToPixels(1000), 2), Qt::NoButton, Qt::NoButton); break;
    }
    const TwipRect fb = p.Frame(p.b);
    QCOMPARE(p.Frame(p.a).top, fb.bottom() + 600);  // the centre rule, as at a release
    QVERIFY(ShownSegments(p.ws) >= 2);
    QCOMPARE(p.ws.tables.drag.anchor_x, -1.0f);
    // The button still held elsewhere: nothing follows the stale drag.
    SendMouse(view_b, QEvent::MouseMove, QPoint(ToPixels(1000), ToPixels(900)), Qt::NoButton,
         Qt::RightButton);
    QCOMPARE(p.Frame(p.b), fb);
    SendMouse(view_b, QEvent::MouseButtonRelease, QPoint(ToPixels(1000), ToPixels(900)),
         Qt::RightButton, Qt::NoButton);
    QCOMPARE(p.Frame(p.b), fb);
  }

  void cornerDragThatLosesTheGrabRelaysTheLines() {
    JoinedPair p;
    auto* view_b = p.windows.tables->TableView(p.b);
    QWidget* corner = view_b->PartWidget(mivora::TablePart::kCorner);
    const TwipRect before = p.Frame(p.b);
    PressAndMove(corner, QPoint(3, 3), QPoint(ToPixels(600), ToPixels(900)), Qt::LeftButton);
    QCOMPARE(ShownSegments(p.ws), 0);
    LoseGrab(corner);
    QVERIFY(p.Frame(p.b).height > before.height + 600);
    QVERIFY(p.Frame(p.a).top >= p.Frame(p.b).bottom() + 500);
    QVERIFY(ShownSegments(p.ws) >= 2);
    const TwipRect after = p.Frame(p.b);
    SendMouse(corner, QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(p.Frame(p.b), after);
  }

  void canvasSliderDragThatLosesTheGrabRelaysTheLines() {
    JoinedPair p;
    // A window far below makes the canvas scroll.
    p.ws.tables.slots[p.a].frame.rect.top = 40000;
    mivora::UpdateCanvasVScroll(p.ws);
    mivora::UpdateCanvasHScroll(p.ws);
    p.windows.tables->Sync();
    QWidget* slider = p.windows.tables->CanvasBars()->Part(CanvasBarPart::kVSlider);
    QVERIFY(slider->isVisible());
    PressAndMove(slider, QPoint(2, 2), QPoint(0, 40), Qt::LeftButton);
    QCOMPARE(ShownSegments(p.ws), 0);
    const float top = p.Frame(p.b).top;
    QVERIFY(top < 501);
    QTest::keyClick(p.windows.tables.get(), Qt::Key_Escape);
    QVERIFY(ShownSegments(p.ws) >= 2);
    SendMouse(slider, QEvent::MouseMove, QPoint(2, 80), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(p.Frame(p.b).top, top);
  }

  // A held canvas arrow repeats like a table's; a lost press stops it and clicks nothing.
  void heldCanvasArrowRepeatsUntilReleasedOrLost() {
    JoinedPair p;
    p.ws.tables.slots[p.a].frame.rect.top = 400000;
    mivora::UpdateCanvasVScroll(p.ws);
    mivora::UpdateCanvasHScroll(p.ws);
    p.windows.tables->Sync();
    QWidget* down = p.windows.tables->CanvasBars()->Part(CanvasBarPart::kDownArrow);
    // The windows' activation settles first: a deactivation while held ends the press.
    p.windows.tables->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.windows.tables.get()));
    QTest::qWait(100);
    const float start = p.Frame(p.b).top;
    QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(2, 2));
    const float one = start - p.Frame(p.b).top;
    QVERIFY(one > 0);
    const float before = p.Frame(p.b).top;
    SendMouse(down, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    QTest::qWait(750);
    SendMouse(down, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::LeftButton, Qt::NoButton);
    QVERIFY2(before - p.Frame(p.b).top >= 3 * one - 1, "a held arrow repeats");
    const float held = p.Frame(p.b).top;
    QTest::qWait(200);
    QCOMPARE(p.Frame(p.b).top, held);

    SendMouse(down, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    LoseGrab(down);
    QTest::qWait(600);
    QCOMPARE(p.Frame(p.b).top, held);
  }

  void sqlFrameDragThatLosesTheGrabEnds() {
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QGroupBox* frame = windows.equations->SqlTextFrame();
    const TwipRect start = ws.conditions.cnd_equation.rect;
    PressAndMove(frame, QPoint(3, 3), QPoint(ToPixels(300), ToPixels(200)), Qt::RightButton);
    const TwipRect moved = ws.conditions.cnd_equation.rect;
    QVERIFY(moved.left > start.left);
    LoseGrab(frame);
    SendMouse(frame, QEvent::MouseMove, QPoint(ToPixels(600), ToPixels(600)), Qt::NoButton,
         Qt::RightButton);
    QCOMPARE(ws.conditions.cnd_equation.rect, moved);
  }
};

QTEST_MAIN(DragEndTest)
#include "drag_end_test.moc"
