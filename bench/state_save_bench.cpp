// SaveState's work (the state file's text, written through a temporary file) for the batch
// benchmark's workspace: three tables of 1,000,000, 300,000 and 10,000 rows, two joins, four
// report columns, nested panels. The workspace comes from bench/make_batch_data.py's folder
// (MIVORA_BATCH_DATA, default /tmp/mivora-batch-bench), resumed once before timing.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "QuietHost.h"
#include "state/Resume.h"
#include "state/StateFile.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace {

using mivora::bench::QuietHost;

void BM_SaveState(benchmark::State& state) {
  QString folder = qEnvironmentVariable("MIVORA_BATCH_DATA");
  if (folder.isEmpty()) folder = QStringLiteral("/tmp/mivora-batch-bench");
  QString text, reason;
  if (!mivora::ReadStateFile(folder + QStringLiteral("/batch.rsm"), &text, &reason)) {
    state.SkipWithError("run bench/make_batch_data.py first");
    return;
  }
  // Without its result file the resume only rebuilds the workspace.
  const qsizetype j = text.indexOf(QStringLiteral("#j#\r\n"));
  text = text.left(j) + QStringLiteral("#j#\r\n\r\n\r\n#k#\r\n");
  QuietHost host;
  mivora::Workspace ws(host);
  mivora::StartUp(ws, {});
  const QString start = QDir::currentPath();
  QDir::setCurrent(folder);
  mivora::ResumeState(ws, text);
  QDir::setCurrent(start);
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("state.rsm"));
  for (auto _ : state) {
    QString why;
    if (!mivora::WriteStateFile(target, mivora::StateFileText(ws), &why))
      state.SkipWithError("cannot write");
  }
}
BENCHMARK(BM_SaveState)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
