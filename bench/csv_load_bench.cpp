// Loading a large CSV file into a table grid: throughput and the loaded table's memory.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "tablefiles/CsvReader.h"
#include "model/Grid.h"

namespace {

constexpr int kRows = 1'000'000;

// A 1,000,000-row x 6-column file of about 60 MB, made once per run.
const QString& BigCsv() {
  static QTemporaryDir dir;
  static QString path = [] {
    QString p = dir.filePath(QStringLiteral("big.csv"));
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    QByteArray chunk;
    chunk.reserve(1 << 20);
    chunk += "id,name,date,amount,category,note\r\n";
    char line[160];
    for (int i = 1; i <= kRows; ++i) {
      int n = std::snprintf(
          line, sizeof line, "%d,Customer %06d,2026-%02d-%02d,%d.%02d,cat%d,n%07d\r\n", i,
          i % 500000, 1 + i % 12, 1 + i % 28, i % 100000, i % 100, i % 17, i * 7 % 9999999);
      chunk.append(line, n);
      if (chunk.size() > (1 << 20) - 200) {
        f.write(chunk);
        chunk.clear();
      }
    }
    f.write(chunk);
    return p;
  }();
  return path;
}

void BM_CsvLoad(benchmark::State& state) {
  QFile file(BigCsv());
  if (!file.open(QIODevice::ReadOnly)) {
    state.SkipWithError("cannot open the generated file");
    return;
  }
  const qint64 size = file.size();
  const uchar* mapped = file.map(0, size);
  QByteArrayView content(reinterpret_cast<const char*>(mapped), size);
  std::int64_t memory = 0;
  int rows = 0;
  for (auto _ : state) {
    mivora::Grid grid;
    mivora::CsvReader reader;
    auto result = reader.Read(content, BigCsv(), grid, {});
    if (!result.ok) state.SkipWithError("read failed");
    memory = grid.MemoryBytes();
    rows = grid.Rows();
    benchmark::DoNotOptimize(grid);
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
  state.counters["rows"] = rows;
  state.counters["memory_x_file"] = static_cast<double>(memory) / static_cast<double>(size);
}
BENCHMARK(BM_CsvLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Sorting a loaded million-row table by a text column and by a number column.
void BM_GridSortGeneric(benchmark::State& state) {
  QFile file(BigCsv());
  if (!file.open(QIODevice::ReadOnly)) return;
  QByteArray content = file.readAll();
  mivora::Grid grid;
  mivora::CsvReader reader;
  reader.Read(content, BigCsv(), grid, {});
  for (auto _ : state) {
    grid.SetCol(state.range(0));
    grid.SetRow(1);
    grid.SetRowSel(grid.Rows() - 1);
    grid.Sort(mivora::GridSortOrder::kGeneric);
  }
}
BENCHMARK(BM_GridSortGeneric)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
