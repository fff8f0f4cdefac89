// Speed of the Equations canvas's core: an accepted keystroke, a box drop, grouping, deletion,
// and one step of a panel move or resize, over 200 boxes in 40 panels of two and three levels.
#include <benchmark/benchmark.h>

#include <memory>

#include "EquationsCanvasFixture.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/EquationsGestures.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;
using mivora::bench::EquationsCanvas;

// Grouping two boxes of a panel and dissolving the group again, `cycles` times.
void GroupAndDissolve(EquationsCanvas& c, int cycles) {
  for (int i = 0; i < cycles; ++i) {
    CreatePanelFromRectangle(c.ws, 1, TwipRect{60, 660, 680, 620});
    DissolvePanel(c.ws, static_cast<int>(c.ws.conditions.panels.size()) - 1);
    NormalizePanels(c.ws);
  }
}

void BM_AcceptedKeystroke(benchmark::State& state) {
  EquationsCanvas c;
  GroupAndDissolve(c, static_cast<int>(state.range(0)));
  const QString texts[] = {QStringLiteral("T.C = 1x"), QStringLiteral("T.C = 1")};
  int n = 0;
  for (auto _ : state) {
    const QString& t = texts[n++ & 1];
    benchmark::DoNotOptimize(EditEquationBoxText(c.ws, 0, t, t.size()));
  }
}
BENCHMARK(BM_AcceptedKeystroke)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_RefreshConditionTexts(benchmark::State& state) {
  EquationsCanvas c;
  for (auto _ : state) RefreshConditionTexts(c.ws);
}
BENCHMARK(BM_RefreshConditionTexts)->Unit(benchmark::kMicrosecond);

// A box right-dragged from one panel into another and back: two presses, moves, drops.
void BM_BoxDrop(benchmark::State& state) {
  EquationsCanvas c;
  GroupAndDissolve(c, static_cast<int>(state.range(0)));
  const int box = 5;  // in the first panel, below its nested one
  for (auto _ : state) {
    for (float dx : {1100.0f, -1100.0f}) {
      BoxFrameMouseDown(c.ws, box, MouseEvent{kRightButton, 0, 60, 100});
      BoxFrameMouseMove(c.ws, box, MouseEvent{kRightButton, 0, 60 + dx, 100});
      BoxFrameMouseUp(c.ws, box, MouseEvent{kRightButton, 0, 60, 100});
    }
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_BoxDrop)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_GroupAndDissolve(benchmark::State& state) {
  EquationsCanvas c;
  GroupAndDissolve(c, static_cast<int>(state.range(0)));
  for (auto _ : state) GroupAndDissolve(c, 1);
}
BENCHMARK(BM_GroupAndDissolve)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_DeleteAndRecreateBox(benchmark::State& state) {
  EquationsCanvas c;
  for (auto _ : state) {
    DeleteEquationBox(c.ws, 150, false);
    CreateEquationBox(c.ws, 4, 1, 1);
  }
}
BENCHMARK(BM_DeleteAndRecreateBox)->Unit(benchmark::kMicrosecond);

// One pointer step while a panel is dragged or resized.
void BM_PanelDragStep(benchmark::State& state) {
  EquationsCanvas c;
  GroupAndDissolve(c, static_cast<int>(state.range(1)));
  const int button = state.range(0) == 0 ? kRightButton : kLeftButton;
  PanelBorderMouseDown(c.ws, 1, MouseEvent{button, 0, 790, 3190});
  float step = 0;
  for (auto _ : state) {
    step = step > 2000 ? 0 : step + 15;
    PanelBorderMouseMove(c.ws, 1, MouseEvent{button, 0, 790 + step, 3190 + step});
  }
}
BENCHMARK(BM_PanelDragStep)
    ->ArgNames({"resize", "cycles"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1000})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
