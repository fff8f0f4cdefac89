// Reading a large HTML table file (as the HTML result writer writes it) into a table grid:
// time, linearity in the file size, and peak memory beyond the grid.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

#include "model/Grid.h"
#include "tablefiles/HtmlReader.h"

namespace {

// A rows x 10-column HTML page of about 320 bytes a row, made once per size.
QString BigHtml(int rows) {
  static QTemporaryDir dir;
  static std::map<int, QString> made;
  if (auto it = made.find(rows); it != made.end()) return it->second;
  QString path = dir.filePath(QStringLiteral("big%1.htm").arg(rows));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) std::abort();
  QByteArray chunk =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
      "<META name=\"GENERATOR\" content=\"MIVORA for Windows\">\r\n<TITLE></TITLE>\r\n"
      "</HEAD>\r\n<BODY>\r\n<TABLE border=\"1\">\r\n  <TBODY>\r\n";
  char cell[96];
  for (int r = 0; r <= rows; ++r) {
    chunk += "    <TR>\r\n";
    for (int c = 1; c <= 10; ++c) {
      int n = r == 0 ? std::snprintf(cell, sizeof cell, "      <TD>column %02d</TD>\r\n", c)
                     : std::snprintf(cell, sizeof cell, "      <TD>v%07d-%02d x%04d</TD>\r\n", r, c,
                                     (r * c) % 9973);
      chunk.append(cell, n);
    }
    chunk += "    </TR>\r\n";
    if (chunk.size() > (1 << 20)) {
      f.write(chunk);
      chunk.clear();
    }
  }
  chunk += "  </TBODY>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n\r\n";
  f.write(chunk);
  made[rows] = path;
  return path;
}

double MaxRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_HtmlRead(benchmark::State& state) {
  const QString path = BigHtml(static_cast<int>(state.range(0)));
  const double rss_before = MaxRssMb();
  std::int64_t grid_bytes = 0;
  qint64 size = 0;
  int rows = 0;
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      state.SkipWithError("cannot open the generated file");
      return;
    }
    const QByteArray content = file.readAll();
    size = content.size();
    mivora::Grid grid;
    mivora::HtmlReader reader;
    auto result = reader.Read(content, path, grid, {});
    if (!result.ok) state.SkipWithError("read failed");
    grid_bytes = grid.MemoryBytes();
    rows = grid.Rows();
    benchmark::DoNotOptimize(grid);
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
  state.counters["rows"] = rows;
  state.counters["grid_MB"] = static_cast<double>(grid_bytes) / 1e6;
  // Peak resident growth over the run, less the grid: the file's bytes and the parser.
  state.counters["peak_beyond_grid_x_file"] =
      (MaxRssMb() - rss_before - static_cast<double>(grid_bytes) / 1048576.0) /
      (static_cast<double>(size) / 1048576.0);
}
// The larger size first, so the peak memory counter is not hidden by an earlier run.
BENCHMARK(BM_HtmlRead)->Arg(50'000)->Arg(25'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
