// Writing a 300,001 x 4 result grid as CSV, HTML and a new workbook.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include "model/Grid.h"
#include "tablefiles/CsvWriter.h"
#include "tablefiles/HtmlWriter.h"
#include "tablefiles/WorkbookWriter.h"

namespace {

constexpr int kRows = 300'001;

const mivora::Grid& BigResult() {
  static mivora::Grid grid = [] {
    mivora::Grid g;
    g.SetCols(5);
    const QByteArray headers[] = {"id", "name", "amount", "note"};
    for (int c = 0; c < 4; ++c) g.SetTextUtf8(0, c + 1, headers[c]);
    QByteArray cells[5];
    QByteArrayView views[5];
    for (int r = 1; r < kRows; ++r) {
      cells[0] = QByteArray::number(r);
      cells[1] = QByteArray::number(r);
      cells[2] = "Customer " + QByteArray::number(r % 50000);
      cells[3] = QByteArray::number(r % 100000) + "." + QByteArray::number(r % 100);
      cells[4] = r % 7 == 0 ? QByteArray("a, \"quoted\" note") : QByteArray("plain note");
      for (int k = 0; k < 5; ++k) views[k] = cells[k];
      g.AppendRowUtf8(views, 5);
    }
    return g;
  }();
  return grid;
}

void BM_CsvBytes(benchmark::State& state) {
  const mivora::Grid& g = BigResult();
  for (auto _ : state) benchmark::DoNotOptimize(mivora::CsvResultBytes(g));
}
BENCHMARK(BM_CsvBytes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_HtmlBytes(benchmark::State& state) {
  const mivora::Grid& g = BigResult();
  for (auto _ : state) benchmark::DoNotOptimize(mivora::HtmlResultBytes(g));
}
BENCHMARK(BM_HtmlBytes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_NewWorkbook(benchmark::State& state) {
  const mivora::Grid& g = BigResult();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.xlsx"));
  for (auto _ : state) {
    QFile::remove(path);
    mivora::NewWorkbookWriter writer(QStringLiteral("Sheet1"));
    if (!writer.Write(g, path).ok) state.SkipWithError("write failed");
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_NewWorkbook)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
