// Removing a 1,000,000-row x 10-column table joined to three others, with report columns and
// equation boxes on it, and the memory given back.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "QuietHost.h"
#include "conditions/EquationBoxes.h"
#include "model/Grid.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "workspace/Startup.h"
#include "workspace/TableRemoval.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

constexpr int kRows = 1'000'000;

int AddTable(mivora::Workspace& ws, const char* name, int rows, int cols) {
  const int slot = mivora::AllocateSlot(ws, 0, 0, 0, 0);
  mivora::Grid& g = ws.TableGrid(slot);
  g.SetRows(1);
  g.SetCols(cols + 1);
  g.SetText(0, 0, QString::fromLatin1(name));
  for (int c = 1; c <= cols; ++c) g.SetText(0, c, QStringLiteral("c%1").arg(c));
  g.Reserve(rows + 1, 0);
  std::vector<std::string> texts(static_cast<std::size_t>(cols) + 1);
  std::vector<QByteArrayView> cells(texts.size());
  char buf[32];
  for (int r = 1; r <= rows; ++r) {
    for (int c = 0; c <= cols; ++c) {
      int n = c == 0 ? std::snprintf(buf, sizeof buf, "%d", r)
                     : std::snprintf(buf, sizeof buf, "k%07d_%d", (r * 7 + c) % rows, c);
      texts[c].assign(buf, static_cast<std::size_t>(n));
      cells[c] = QByteArrayView(texts[c].data(), n);
    }
    g.AppendRowUtf8(cells.data(), static_cast<int>(cells.size()));
  }
  return slot;
}

void BM_RemoveJoinedTable(benchmark::State& state) {
  double before_mb = 0, after_mb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mivora::bench::QuietHost host;
    auto ws = std::make_unique<mivora::Workspace>(host);
    mivora::StartUp(*ws, {});
    const int big = AddTable(*ws, "big", kRows, 10);
    for (int i = 0; i < 3; ++i) {
      const int other = AddTable(*ws, "other", 1000, 2);
      mivora::BeginJoin(*ws, big, i + 1);
      mivora::CompleteJoin(*ws, other, 1);
    }
    for (int c = 1; c <= 4; ++c) mivora::ToggleReportColumn(*ws, big, c);
    for (int r = 1; r <= 5; ++r) mivora::CreateEquationBox(*ws, big, r, 5);
    before_mb = static_cast<double>(ws->TableGrid(big).MemoryBytes()) / 1e6;
    ws->tables.popup_table = big;
    state.ResumeTiming();

    mivora::RemovePopupTable(*ws);

    state.PauseTiming();
    after_mb = static_cast<double>(ws->TableGrid(big).MemoryBytes()) / 1e6;
    ws.reset();
    state.ResumeTiming();
  }
  state.counters["grid_MB_before"] = before_mb;
  state.counters["grid_MB_after"] = after_mb;
}
BENCHMARK(BM_RemoveJoinedTable)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
