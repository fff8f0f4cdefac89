#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <new>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "ui/GuardedApplication.h"
#include "ui/MainWindows.h"
#include "ui/QtHost.h"
#include "workspace/Workspace.h"

using mivora::testing::FakeHost;

namespace {

// A widget whose mouse press runs a step that fails, as a command with a fault would.
class FailingWidget : public QWidget {
 public:
  std::function<void()> on_press;

 protected:
  void mousePressEvent(QMouseEvent*) override { on_press(); }
};

auto* App() { return static_cast<mivora::ui::GuardedApplication*>(QCoreApplication::instance()); }

// Closes the next modal box or dialog once it is up, after looking at it.
void InspectNextModal(const std::function<void(QWidget*)>& look) {
  QTimer::singleShot(0, [look] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    look(modal);
    modal->close();
  });
}

}  // namespace

class FailureBoundaryTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void anErrorEscapingAMouseHandlerIsShownAndTheWindowsStay() {
    FakeHost host;
    mivora::Workspace ws(host);
    mivora::ui::MainWindows windows(ws);
    windows.Start({});
    int resyncs = 0;
    App()->SetFailureHost(&host);
    App()->SetAfterFailure([&] {
      ++resyncs;
      windows.SyncAll();
    });
    const struct {
      std::function<void()> fail;
      QString message;
    } cases[] = {
        {[] { throw mivora::GridError("row outside the grid"); },
         QStringLiteral("処理を続けられませんでした：row outside the grid")},
        {[] { throw std::bad_alloc(); },
         QStringLiteral("処理を続けられませんでした：メモリが足りません。")},
    };
    for (const auto& c : cases) {
      host.messages.clear();
      FailingWidget widget;
      widget.on_press = [&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);  // left on by the failing step
        c.fail();
      };
      widget.resize(40, 40);
      widget.show();
      QTest::mouseClick(&widget, Qt::LeftButton);
      QCOMPARE(host.messages, QStringList{c.message});
      QVERIFY(!QApplication::overrideCursor());
      QVERIFY(windows.tables->isVisible());
    }
    QCOMPARE(resyncs, 2);

    // A queued step (a timer) goes through the same boundary, and the program goes on.
    host.messages.clear();
    QTimer::singleShot(0, [] { throw mivora::GridError("column outside the grid"); });
    QTRY_COMPARE(host.messages.size(), 1);
    QCOMPARE(host.messages[0], QStringLiteral("処理を続けられませんでした：column outside the grid"));
    App()->SetFailureHost(nullptr);
    App()->SetAfterFailure({});
  }

  void messagesAndForm2ShowMarkupAsPlainTextWithTheNormalCursor() {
    mivora::ui::QtHost host;
    const QString path = QStringLiteral("/tmp/<u>plain.csv");
    QApplication::setOverrideCursor(Qt::WaitCursor);  // long work is under way
    QString shown;
    Qt::TextFormat format = Qt::RichText;
    Qt::CursorShape cursor = Qt::WaitCursor;
    auto look_at_box = [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      shown = box->text();
      format = box->textFormat();
      cursor = QApplication::overrideCursor()->shape();
    };
    InspectNextModal(look_at_box);
    host.ShowMessage(path);
    QCOMPARE(shown, path);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(cursor, Qt::ArrowCursor);

    InspectNextModal(look_at_box);
    host.AskOkCancel(QStringLiteral("<img src=x>.csv"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(cursor, Qt::ArrowCursor);

    InspectNextModal([&](QWidget* modal) {
      auto* label = modal->findChild<QLabel*>(QStringLiteral("lblFile"));
      QVERIFY(label);
      shown = label->text();
      format = label->textFormat();
      cursor = QApplication::overrideCursor()->shape();
    });
    host.ShowFileProblem(path, QStringLiteral("<b>a</b>,b"));
    QCOMPARE(shown, path);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(cursor, Qt::ArrowCursor);

    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);  // back after the box
    QApplication::restoreOverrideCursor();
  }
};

int main(int argc, char** argv) {
  mivora::ui::GuardedApplication app(argc, argv);
  FailureBoundaryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "failure_boundary_test.moc"
