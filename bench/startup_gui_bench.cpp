// Start-up to three visible windows: the application object, the three main windows, the
// start-up sequence and the first round of events, under the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/MainWindows.h"
#include "ui/QtHost.h"
#include "workspace/Workspace.h"

namespace {

void BM_StartUpToThreeVisibleWindows(benchmark::State& state) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "mivora";
  char* argv[] = {name, nullptr};
  for (auto _ : state) {
    QApplication app(argc, argv);
    mivora::ui::QtHost host;
    mivora::Workspace ws(host);
    mivora::ui::MainWindows windows(ws);
    windows.Start({});
    QApplication::processEvents();
    if (!windows.tables->isVisible() || !windows.equations->isVisible() ||
        !windows.result->isVisible())
      state.SkipWithError("a window is not visible");
  }
}
BENCHMARK(BM_StartUpToThreeVisibleWindows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
