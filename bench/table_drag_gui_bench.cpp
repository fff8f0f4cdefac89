// Dragging a table window among 30 tables joined by lines, under the offscreen platform: one
// step of a right-button border drag from the event to the repainted Tables window, and the
// release with the lines laid out again and shown. Run it once more with QT_SCALE_FACTOR=2
// for a device-pixel ratio of 2.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "QuietHost.h"
#include "search/JoinModel.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

QApplication& App() {
  static int argc = 1;
  static char name[] = "mivora";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

constexpr int kTables = 30;

// 30 tables of 20 rows × 4 columns in 6 columns of 5, each joined to its parent in a tree (29
// joins, the most the cycle check lets 30 tables hold), and one more join tried.
struct Canvas {
  Canvas() {
    windows.Start({});
    // The start shrinks `Tables` to the offscreen screen, which is smaller in logical pixels
    // at a ratio of 2: both ratios measure the same 12000 × 9100 twips window.
    ws.tables.window.width = 12000;
    ws.tables.window.height = 9100;
    for (int i = 0; i < kTables; ++i) {
      const int s = AllocateSlot(ws, 0, 0, 0, 0);
      Grid& g = ws.TableGrid(s);
      g.SetCols(5);
      g.SetRows(21);
      g.SetText(0, 0, QStringLiteral("T%1").arg(i));
      for (int c = 1; c < 5; ++c) g.SetText(0, c, QStringLiteral("col%1").arg(c));
      for (int r = 1; r < 21; ++r) {
        g.SetText(r, 0, QString::number(r));
        for (int c = 1; c < 5; ++c) g.SetText(r, c, QString::number(r * c));
      }
      slots.push_back(s);
    }
    for (int i = 0; i < kTables; ++i) {
      const float left = 501 + static_cast<float>(i % 6) * 4200;
      const float top = 501 + static_cast<float>(i / 6) * 1900;
      PlaceSlot(ws, slots[i], left, top, 1000, 3400);
      ws.tables.slots[slots[i]].frame.rect = {left, top, 3400, 1000};
    }
    for (int i = 1; i < kTables; ++i) {
      BeginJoin(ws, slots[i], 1 + i % 4);
      CompleteJoin(ws, slots[(i - 1) / 2], 1 + (i / 2) % 4);
    }
    BeginJoin(ws, slots[kTables - 1], 2);
    CompleteJoin(ws, slots[0], 3);
    windows.SyncAll();
    QApplication::processEvents();
  }
  QApplication& app = App();
  bench::QuietHost host;
  Workspace ws{host};
  ui::MainWindows windows{ws};
  std::vector<int> slots;
};

void Send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// The window in the middle of the canvas, dragged by its top border with the right button.
void BM_DragStepToRepaint(benchmark::State& state) {
  Canvas c;
  QWidget* view = c.windows.tables->TableView(c.slots[14]);
  const QPointF at(ui::ToPixels(1000), 2);
  Send(view, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
  int step = 0;
  for (auto _ : state) {
    // A pixel right and back: the window follows the pointer without meeting another.
    const QPointF to = at + QPointF((step++ & 1) ? 0 : 1, 0);
    Send(view, QEvent::MouseMove, view->mapFromGlobal(view->mapToGlobal(QPointF(0, 0)) + to),
         Qt::NoButton, Qt::RightButton);
    c.windows.tables->repaint();
  }
  Send(view, QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
  state.counters["segments"] = static_cast<double>(c.ws.tables.line2.size());
}
BENCHMARK(BM_DragStepToRepaint)->Unit(benchmark::kMillisecond);

// The release after a short drag: overlaps resolved, every line laid out again and shown.
void BM_DragReleaseToRepaint(benchmark::State& state) {
  Canvas c;
  QWidget* view = c.windows.tables->TableView(c.slots[14]);
  const QPointF at(ui::ToPixels(1000), 2);
  int step = 0;
  for (auto _ : state) {
    Send(view, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    const QPointF to = at + QPointF((step++ & 1) ? -1 : 1, 0);
    Send(view, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
    c.windows.tables->repaint();
    QElapsedTimer timer;
    timer.start();
    Send(view, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
    c.windows.tables->repaint();
    state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
  }
  int shown = 0;
  for (const auto& s : c.ws.tables.line2) shown += s.visible;
  state.counters["shown_segments"] = shown;
}
BENCHMARK(BM_DragReleaseToRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
