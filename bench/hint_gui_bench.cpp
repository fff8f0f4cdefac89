// The button hint following the pointer over a full Tables window, offscreen: 64 table windows
// of 1,000 rows (1400 x 1000 twips, 8 x 8), joined in a chain, the pointer swept 3-4 px per move
// across canvas, borders, cells and join lines. Each move is timed with the repaint it causes;
// the median and the 90th percentile per move are reported as counters.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "QuietHost.h"
#include "search/JoinModel.h"
#include "ui/HintView.h"
#include "ui/MainWindows.h"
#include "ui/Units.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void FillTables(mivora::Workspace& ws) {
  for (int i = 0; i < 64; ++i) {
    const int slot = mivora::AllocateSlot(ws, 0, 0, 0, 0);
    mivora::PlaceSlot(ws, slot, 600 + (i % 8) * 1400, 300 + (i / 8) * 1100, 1000, 1300);
    mivora::Grid& g = ws.TableGrid(slot);
    g.SetRows(1);
    g.SetCols(4);
    g.SetText(0, 0, QStringLiteral("T%1").arg(i));
    for (int c = 1; c < 4; ++c) g.SetText(0, c, QStringLiteral("col%1").arg(c));
    for (int r = 1; r <= 1000; ++r)
      g.AppendRow({QString::number(r), QStringLiteral("k%1").arg(r % 97),
                   QStringLiteral("name %1").arg(r), QString::number(r * 7)});
    if (i > 0) {
      mivora::BeginJoin(ws, slot - 1, 1);
      mivora::CompleteJoin(ws, slot, 1);
    }
  }
}

void BM_HintFollowsThePointer(benchmark::State& state) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "mivora";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QDir::setCurrent(QStringLiteral(MIVORA_PROGRAM_DIR));
  mivora::bench::QuietHost host;
  mivora::Workspace ws(host);
  mivora::ui::MainWindows windows(ws);
  // Argument 0: hints switched off, the cost of the move alone.
  const bool was_on = mivora::ui::HintView::Enabled();
  mivora::ui::HintView::SetEnabled(state.range(0) != 0);
  windows.Start({});
  FillTables(ws);
  windows.SyncAll();
  QApplication::processEvents();
  QWindow* window = windows.tables->windowHandle();
  const int w = windows.tables->width();
  const int h = windows.tables->height();

  std::vector<double> micros, cpu_micros;
  int step = 0;
  for (auto _ : state) {
    // Diagonal sweeps, 3 or 4 px a move, over rows of table windows and the gaps between them.
    const int x = 5 + (step * 3 + (step / 2) % 2) % (w - 10);
    const int y = 5 + ((step * 4) / (w / 3) * 13 + step % 40) % (h - 10);
    ++step;
    const double cpu_start = ThreadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseMove(window, QPoint(x, y));
    QApplication::sendPostedEvents();
    const auto end = std::chrono::steady_clock::now();
    cpu_micros.push_back((ThreadCpuSeconds() - cpu_start) * 1e6);
    const double s = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(s);
    micros.push_back(s * 1e6);
  }
  mivora::ui::HintView::SetEnabled(was_on);
  std::sort(micros.begin(), micros.end());
  if (!micros.empty()) {
    state.counters["p50_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
    // The same on the thread's own CPU clock: what the move costs without the machine's load.
    std::sort(cpu_micros.begin(), cpu_micros.end());
    state.counters["cpu_p50_us"] = cpu_micros[cpu_micros.size() / 2];
    state.counters["cpu_p90_us"] = cpu_micros[cpu_micros.size() * 9 / 10];
  }
}
BENCHMARK(BM_HintFollowsThePointer)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3000);

}  // namespace

BENCHMARK_MAIN();
