// From a user's event to the repainted Equations window, under the offscreen platform: an
// accepted keystroke in a box, one step of a panel drag and one step of a canvas slider drag,
// over 200 boxes in 40 panels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "EquationsCanvasFixture.h"
#include "ui/CanvasBarsView.h"
#include "ui/EquationsWindow.h"

namespace {

using mivora::bench::EquationsCanvas;

QApplication& App() {
  static int argc = 1;
  static char name[] = "mivora";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives until the process ends; destroying it among the static objects at exit crashes.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct Shown {
  // A window `height` twips high (0: the fixture's 9100).
  explicit Shown(float height = 0) {
    if (height > 0) canvas.ws.equations_window.height = height;
    canvas.ws.equations_window.visible = true;
    hub.Add(&window);
    hub.SyncAll();
    QApplication::processEvents();
  }
  QApplication& app = App();  // before any widget
  EquationsCanvas canvas;
  mivora::ui::SyncHub hub;
  mivora::ui::EquationsWindow window{canvas.ws, hub};
};

void BM_KeystrokeToRepaint(benchmark::State& state) {
  Shown s;
  QLineEdit* field = s.window.BoxTextField(0);
  field->setFocus();
  field->end(false);
  int n = 0;
  for (auto _ : state) {
    const bool type = (n++ & 1) == 0;
    QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                    type ? QStringLiteral("x") : QString());
    QApplication::sendEvent(field, &press);
    s.window.repaint();
  }
}
BENCHMARK(BM_KeystrokeToRepaint)->Unit(benchmark::kMillisecond);

void BM_PanelMoveStepToRepaint(benchmark::State& state) {
  Shown s;
  QFrame* frame = s.window.PanelFrame(1);
  const QPointF at(2, 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, frame->mapToGlobal(at), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &press);
  int step = 0;
  for (auto _ : state) {
    step = step > 100 ? 0 : step + 1;
    const QPointF to(2 + (step & 1), 2 + (step & 1));
    QMouseEvent move(QEvent::MouseMove, to, frame->mapToGlobal(to), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &move);
    s.window.repaint();
  }
}
BENCHMARK(BM_PanelMoveStepToRepaint)->Unit(benchmark::kMillisecond);

// The window 5000 twips high, so that the panels reach beyond its bottom: each step drags the
// vertical slider by a pixel, which moves every canvas element and lays the bars out again.
void BM_ScrollStepToRepaint(benchmark::State& state) {
  Shown s(5000);
  QWidget* slider = s.window.ScrollBars()->Part(mivora::CanvasBarPart::kVSlider);
  if (!slider->isVisible()) {
    state.SkipWithError("the slider is hidden");
    return;
  }
  const QPointF at(2, 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, slider->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(slider, &press);
  int step = 0;
  for (auto _ : state) {
    // One pixel down, then one up: the slider moves with the pointer.
    const QPointF to(2, (step++ & 1) ? 1 : 3);
    QMouseEvent move(QEvent::MouseMove, to, slider->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    s.window.repaint();
  }
}
BENCHMARK(BM_ScrollStepToRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
