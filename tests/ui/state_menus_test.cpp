#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "state/StateFile.h"
#include "support/FakeHost.h"
#include "support/PopupMenus.h"
#include "ui/MainWindows.h"
#include "workspace/Workspace.h"

using mivora::Workspace;
using mivora::testing::ChooseFromNextPopup;
using mivora::testing::FakeHost;
using mivora::ui::MainWindows;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  const QString path = dir.filePath(name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(text);
  return path;
}

// Chooses an entry by its control name in the next popup menu or any of its submenus.
void ChooseNamedFromNextPopup(const QString& name) {
  QTimer::singleShot(0, [name] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* found = menu->findChild<QAction*>(name);
    QVERIFY2(found, qPrintable(name));
    QVERIFY(found->isEnabled());
    found->trigger();
    menu->close();
  });
}

int SlotsInUse(const Workspace& ws) {
  int n = 0;
  for (int s = 4; s < ws.tables.SlotCount(); ++s) n += ws.tables.SlotInUse(s);
  return n;
}

}  // namespace

class StateMenusTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Resume from the canvas menu, then save from the Result window's menu: the same bytes.
  void resumeThenSave() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFile(dir, QStringLiteral("a.csv"), "id,name\r\n1,x\r\n2,y\r\n");
    const QByteArray state =
        "4, TableFileNames  Left Top Height Width#a#\r\n" + dir.path().toUtf8() +
        "/a.csv,4,501,1200,1500,4452,True,1,1\r\n9100,12000\r\n"
        "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# "
        "DestinationColumn#b#\r\n"
        "ReportTableColumn: Serial# Table# Column#c#\r\n1,4,2\r\n"
        "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth "
        "ConteinerPanel#d#,0,Pink\r\n"
        "0,600,600,3480,9252,<\r\n"
        "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
        "ContainerPanel#e#,0\r\n"
        "0,2040,400,252,4092,a.id = 2,<0\r\n"
        "#f#\r\n2280,4920,972,5412\r\n\r\nthis software is deveroped by mivora.app\r\n#g#\r\n"
        "120,240,9100,12000\r\nResultProperties#h#,\r\n120,120,240,11000,1,1\r\n"
        "120,480,6000,11000,1,1\r\n9100,12000\r\n"
        "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#\r\n1,0,4,2,1\r\n"
        "#j#\r\n\r\n\r\n#k#\r\n";
    const QString path = WriteFile(dir, QStringLiteral("s.rsm"), state);

    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    host.files_to_choose.push_back(path);
    ChooseFromNextPopup(QStringLiteral("以前中断した処理を再開する"));
    QTest::mouseClick(windows.tables->canvas(), Qt::RightButton, {}, QPoint(400, 400));
    QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(u'\n')));
    QCOMPARE(SlotsInUse(ws), 1);
    QVERIFY(windows.tables->TableView(4)->isVisible());
    QCOMPARE(ws.result.ResultGrid().Rows(), 2);
    QCOMPARE(ws.result.ResultGrid().Text(1, 1), QStringLiteral("y"));
    QVERIFY(!ws.tables.resume_menu_enabled);
    QVERIFY(!ws.tables.examples_menu_enabled);

    const QString saved = dir.filePath(QStringLiteral("again.rsm"));
    host.files_to_choose.push_back(saved);
    ChooseFromNextPopup(QStringLiteral("現状を保存する"));
    QTest::mouseClick(windows.result.get(), Qt::RightButton, {}, QPoint(5, 5));
    QFile f(saved);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), state);
  }

  // Each sample that names no result file resumes in the real windows without a message.
  void samples_data() {
    QTest::addColumn<QString>("command");
    for (const char* c : {"DoorMirrorSearch", "Heli", "Telescope", "Walk", "Zais", "ExcelExsearch",
                          "CheeseCake", "mnuTraining"})
      QTest::newRow(c) << QString::fromLatin1(c);
  }

  void samples() {
    QFETCH(QString, command);
    QVERIFY(QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR)));
    FakeHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    ChooseNamedFromNextPopup(command);
    QTest::mouseClick(windows.tables->canvas(), Qt::RightButton, {}, QPoint(400, 400));
    QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(u'\n')));
    QVERIFY(!host.exited);
    QVERIFY(SlotsInUse(ws) >= 1);
    QVERIFY(ws.result.ResultGrid().Rows() > 1);
    QVERIFY(!ws.tables.examples_menu_enabled);
  }
};

QTEST_MAIN(StateMenusTest)
#include "state_menus_test.moc"
