#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "support/FakeHost.h"
#include "tablefiles/Workbook.h"
#include "ui/MainWindows.h"
#include "ui/SheetSelect.h"
#include "workspace/Workspace.h"

using mivora::Grid;
using mivora::Workspace;
using mivora::testing::FakeHost;
using mivora::ui::MainWindows;
using mivora::ui::SheetSelect;

namespace {

// The scripted host, except that the worksheet choice is the real dialog.
class SheetDialogHost : public FakeHost {
 public:
  int ChooseSheet(const QStringList& names) override {
    sheet_lists.push_back(names);
    return qt.ChooseSheet(names);
  }
  mivora::ui::QtHost qt;
};

QAction* SaveAction(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      if (QAction* found = SaveAction(a->menu(), text)) return found;
    } else if (a->text() == text) {
      return a;
    }
  }
  return nullptr;
}

}  // namespace

class WorkbookSaveTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void excelFileThroughTheSheetList() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString book = dir.filePath(QStringLiteral("existing.xlsx"));
    QVERIFY(
        QFile::copy(mivora::testing::TestData(QStringLiteral("workbooks/existing.xlsx")), book));

    SheetDialogHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    Grid& g = ws.result.ResultGrid();
    g.SetRows(3);
    g.SetCols(3);
    g.SetText(0, 1, QStringLiteral("name"));
    g.SetText(0, 2, QStringLiteral("id"));
    g.SetText(1, 1, QStringLiteral("x1"));
    g.SetText(1, 2, QStringLiteral("7"));
    g.SetText(2, 1, QStringLiteral("x2"));
    g.SetText(2, 2, QStringLiteral("8"));
    windows.SyncAll();

    // First "選択終了" with nothing selected, then "Data" chosen with the mouse.
    int shown = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<SheetSelect*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      ++shown;
      QCOMPARE(dialog->windowTitle(), QStringLiteral("　　　ワークシートの選択"));
      QCOMPARE(dialog->List()->count(), 2);
      if (shown == 1) {
        QTest::mouseClick(dialog->DoneButton(), Qt::LeftButton);
        return;
      }
      QListWidget* list = dialog->List();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->item(0)).center());
      QTest::mouseClick(dialog->DoneButton(), Qt::LeftButton);
    });
    poll.start(20);

    host.files_to_choose = {book};
    QAction* excel = SaveAction(windows.result->menu(), QStringLiteral("Excel file"));
    QVERIFY(excel);
    excel->trigger();
    poll.stop();

    QCOMPARE(shown, 2);
    QCOMPARE(host.messages, QStringList{QStringLiteral("ワークシートを選択してください。")});
    QCOMPARE(ws.last_result_file, book);
    QCOMPARE(ws.last_result_sheet, QStringLiteral("Data"));
    QCOMPARE(host.opened.size(), 1);

    QString reason;
    std::unique_ptr<mivora::Workbook> written = mivora::OpenWorkbook(book, &reason);
    QVERIFY2(written, qPrintable(reason));
    Grid back;
    QVERIFY(written->ReadSheet(0, back, {}).ok);
    QCOMPARE(back.Text(1, 1), QStringLiteral("7"));
    QCOMPARE(back.Text(2, 2), QStringLiteral("x2"));
    QCOMPARE(back.Text(3, 1), QString());  // old rows cleared
    QCOMPARE(back.Text(3, 3), QStringLiteral("keep3"));
  }

  void cancelWritesNothing() {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("existing.xlsx"));
    QVERIFY(
        QFile::copy(mivora::testing::TestData(QStringLiteral("workbooks/existing.xlsx")), book));
    SheetDialogHost host;
    Workspace ws(host);
    MainWindows windows(ws);
    windows.Start({});
    QTimer::singleShot(50, [] {
      auto* dialog = qobject_cast<SheetSelect*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    });
    host.files_to_choose = {book};
    SaveAction(windows.result->menu(), QStringLiteral("Excel file"))->trigger();
    QVERIFY(ws.last_result_file.isEmpty());
    QVERIFY(host.messages.isEmpty());
  }
};

QTEST_MAIN(WorkbookSaveTest)
#include "workbook_save_test.moc"
