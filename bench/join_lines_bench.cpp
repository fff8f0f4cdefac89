// Join-line layout, window placing and table scrolling at the sizes the canvas meets.
#include <benchmark/benchmark.h>

#include "QuietHost.h"
#include "canvas/ScrollBars.h"
#include "canvas/WindowMoveResize.h"
#include "search/JoinLineLayout.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;
using bench::QuietHost;

// 8 × 8 windows with the boundary bars 501 outside them, and 60 joins among them.
void BM_LayOutJoinLines(benchmark::State& state) {
  std::vector<LayoutWindow> w(4 + 64);
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) {
      const std::int64_t left = 501 + c * 5500, top = 501 + r * 1700;
      w[4 + r * 8 + c] = {left, top, left + 4452, top + 700, true};
    }
  const std::int64_t right = 501 + 7 * 5500 + 4452 + 501, bottom = 501 + 7 * 1700 + 700 + 501;
  w[0] = {0, -15, right, 0, true};
  w[1] = {0, bottom, right, bottom + 15, true};
  w[2] = {-15, 0, 0, bottom, true};
  w[3] = {right, 0, right + 15, bottom, true};
  std::vector<LayoutJoin> joins;
  for (int i = 0; i < 60; ++i) {
    const int a = 4 + i, b = 4 + (i * 7 + 3) % 64;
    if (a != b) joins.push_back({a, w[a].left + 800, b, w[b].left + 1800});
  }
  for (auto _ : state) benchmark::DoNotOptimize(LayOutJoinLines(w, joins));
}
BENCHMARK(BM_LayOutJoinLines)->Unit(benchmark::kMillisecond);

// 64 tables opened at the default place one after another, each settling the others.
void BM_PlaceSixtyFourTables(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    QuietHost host;
    Workspace ws(host);
    StartUp(ws, {});
    state.ResumeTiming();
    for (int i = 0; i < 64; ++i) AllocateSlot(ws, 0, 0, 0, 0);
  }
}
BENCHMARK(BM_PlaceSixtyFourTables)->Unit(benchmark::kMillisecond);

// The 64th table opened at the default place, 63 already there.
void BM_PlaceSixtyFourthTable(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    QuietHost host;
    Workspace ws(host);
    StartUp(ws, {});
    for (int i = 0; i < 63; ++i) AllocateSlot(ws, 0, 0, 0, 0);
    state.ResumeTiming();
    AllocateSlot(ws, 0, 0, 0, 0);
  }
}
BENCHMARK(BM_PlaceSixtyFourthTable)->Unit(benchmark::kMicrosecond);

// One slider step on a 3,000,000-row table.
void BM_SliderStepThreeMillionRows(benchmark::State& state) {
  QuietHost host;
  Workspace ws(host);
  StartUp(ws, {});
  const int s = AllocateSlot(ws, 0, 0, 4000, 6000);
  TableSlot& slot = ws.tables.slots[s];
  slot.grid.SetCols(3);
  slot.grid.SetRows(3000001);
  UpdateTableVScroll(slot);
  float step = 1;
  for (auto _ : state) {
    slot.vsldr.rect.top += step;
    if (slot.vsldr.rect.top > 3000 || slot.vsldr.rect.top < 130) step = -step;
    ApplyTableVScroll(slot);
    benchmark::DoNotOptimize(slot.grid.TopRow());
  }
}
BENCHMARK(BM_SliderStepThreeMillionRows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
