#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "search/JoinModel.h"
#include "support/FakeHost.h"
#include "support/PopupMenus.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

using mivora::Grid;
using mivora::Workspace;
using mivora::testing::ChooseFromNextPopup;
using mivora::testing::FakeHost;
using mivora::testing::Screenshot;
using mivora::ui::MainWindows;
using mivora::ui::ToPixels;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const char* text) {
  const QString path = dir.filePath(name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(text);
  return path;
}

// The centre of a grid cell in the grid widget's pixels.
QPoint CellCentre(const Grid& g, int row, int col) {
  return QPoint(ToPixels(g.VisibleLeftOf(col) + g.ColWidth(col) / 2),
                ToPixels(g.VisibleTopOf(row) + g.RowHeight(row) / 2));
}

}  // namespace

class SearchFlowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void joinChooseFilterAndSearch() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString orders = WriteFile(dir, QStringLiteral("orders.csv"),
                                     "id,item,qty\r\n1,apple,3\r\n2,pear,5\r\n3,apple,1\r\n");
    const QString items =
        WriteFile(dir, QStringLiteral("items.csv"), "item,price\r\napple,100\r\npear,250\r\n");

    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    mivora::OpenTable(ws, orders, 0, 0, 0, 0);
    mivora::OpenTable(ws, items, 0, 0, 0, 0);
    windows.SyncAll();
    QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(u'\n')));

    int o = 0, i = 0;
    for (int s = 4; s < ws.tables.SlotCount(); ++s) {
      if (!ws.tables.SlotInUse(s)) continue;
      if (ws.TableGrid(s).Text(0, 0) == QStringLiteral("orders")) o = s;
      if (ws.TableGrid(s).Text(0, 0) == QStringLiteral("items")) i = s;
    }
    QVERIFY(o != 0 && i != 0);
    QWidget* og = windows.tables->TableView(o)->grid();
    QWidget* ig = windows.tables->TableView(i)->grid();
    const Grid& ogrid = ws.TableGrid(o);
    const Grid& igrid = ws.TableGrid(i);

    // A join by two right clicks on the item headers.
    QTest::mouseClick(og, Qt::RightButton, {}, CellCentre(ogrid, 0, 2));
    QVERIFY(ws.tables.line1.visible);
    // The rubber band follows the pointer onto the other table.
    const float x1 = ws.tables.line1.x1;
    // (Sent to the grid itself: offscreen, all three windows lie at the same place.)
    const QPoint over = CellCentre(igrid, 0, 1);
    QMouseEvent move(QEvent::MouseMove, over, ig->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(ig, &move);
    QVERIFY(ws.tables.line1.x2 != x1 || ws.tables.line1.y2 != ws.tables.line1.y1);
    Screenshot(windows.tables.get(), QStringLiteral("flow_rubber_band"));
    QTest::mouseClick(ig, Qt::RightButton, {}, CellCentre(igrid, 0, 1));
    QVERIFY(!ws.tables.line1.visible);
    mivora::Join j;
    QCOMPARE(mivora::ReadJoin(ws, 1, j), 1);
    QCOMPARE(j, (mivora::Join{o, 2, i, 1}));

    // Report columns: orders.id and items.price; a condition from the cell "apple".
    QTest::mouseClick(og, Qt::LeftButton, {}, CellCentre(ogrid, 0, 1));
    QTest::mouseClick(ig, Qt::LeftButton, {}, CellCentre(igrid, 0, 2));
    QVERIFY(ogrid.CellBold(0, 1));
    QTest::mouseClick(og, Qt::LeftButton, {}, CellCentre(ogrid, 1, 2));
    QVERIFY(!ws.conditions.condition_expression.isEmpty());

    // The search from the Result window's menu.
    ChooseFromNextPopup(QStringLiteral("結合し、絞り込み検索する。"));
    QTest::mouseClick(windows.result.get(), Qt::RightButton, {}, QPoint(2, 2));
    QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(u'\n')));

    const Grid& result = ws.result.ResultGrid();
    QCOMPARE(result.Rows(), 3);
    QCOMPARE(result.Cols(), 3);
    const QStringList expected[] = {
        {QString(), QStringLiteral("id"), QStringLiteral("price")},
        {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("100")},
        {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("100")}};
    for (int r = 0; r < 3; ++r) {
      QStringList row;
      for (int c = 0; c < 3; ++c) row.push_back(result.Text(r, c));
      QCOMPARE(row, expected[r]);
    }
    QCOMPARE(ws.result.JoinedGrid().Rows(), 5);  // headers, tags and the three orders
    Screenshot(windows.tables.get(), QStringLiteral("flow_tables"));
    Screenshot(windows.equations.get(), QStringLiteral("flow_equations"));
    Screenshot(windows.result.get(), QStringLiteral("flow_result"));
  }
};

QTEST_MAIN(SearchFlowTest)
#include "search_flow_test.moc"
