// Reading workbook sheets into tables and updating a sheet in place.
// Run each benchmark alone (--benchmark_filter) for its peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <xlsxwriter.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "model/Grid.h"
#include "tablefiles/Workbook.h"
#include "tablefiles/WorkbookUpdate.h"

namespace {

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

// 100,001 x 4: numbers, shared strings (default mode) or inline strings (constant memory).
QString BigXlsx(bool inline_strings) {
  const QString path = Dir().filePath(inline_strings ? QStringLiteral("inline.xlsx")
                                                     : QStringLiteral("shared.xlsx"));
  if (QFile::exists(path)) return path;
  lxw_workbook_options options{};
  options.constant_memory = inline_strings ? LXW_TRUE : LXW_FALSE;
  lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
  const char* headers[] = {"id", "name", "amount", "note"};
  for (int c = 0; c < 4; ++c)
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), headers[c], nullptr);
  for (int r = 1; r <= 100'000; ++r) {
    worksheet_write_number(sheet, static_cast<lxw_row_t>(r), 0, r, nullptr);
    const QByteArray name = "Customer " + QByteArray::number(r % 5000);
    worksheet_write_string(sheet, static_cast<lxw_row_t>(r), 1, name.constData(), nullptr);
    worksheet_write_number(sheet, static_cast<lxw_row_t>(r), 2, r * 1.25, nullptr);
    worksheet_write_string(sheet, static_cast<lxw_row_t>(r), 3, "note", nullptr);
  }
  workbook_close(book);
  return path;
}

// 65,536 x 4 legacy .xls made by python3-xlwt.
QString BigXls() {
  const QString path = Dir().filePath(QStringLiteral("big.xls"));
  if (QFile::exists(path)) return path;
  QProcess::execute(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-c"),
                     QStringLiteral("import xlwt,sys\n"
                                    "b=xlwt.Workbook();s=b.add_sheet('S')\n"
                                    "for r in range(65536):\n"
                                    "  s.write(r,0,r);s.write(r,1,'Customer %d'%(r%5000))\n"
                                    "  s.write(r,2,r*1.25);s.write(r,3,'note')\n"
                                    "b.save(sys.argv[1])"),
                     path});
  return path;
}

void PeakCounter(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void ReadSheet(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    QString reason;
    std::unique_ptr<mivora::Workbook> book = mivora::OpenWorkbook(path, &reason);
    if (!book) {
      state.SkipWithError("open failed");
      return;
    }
    mivora::Grid grid;
    if (!book->ReadSheet(0, grid, {}).ok) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(grid.Rows());
  }
  PeakCounter(state);
}

void BM_ReadXlsxSharedStrings(benchmark::State& state) { ReadSheet(state, BigXlsx(false)); }
BENCHMARK(BM_ReadXlsxSharedStrings)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ReadXlsxInlineStrings(benchmark::State& state) { ReadSheet(state, BigXlsx(true)); }
BENCHMARK(BM_ReadXlsxInlineStrings)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ReadXls(benchmark::State& state) { ReadSheet(state, BigXls()); }
BENCHMARK(BM_ReadXls)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Column "name" of 100,000 rows rewritten in place.
void BM_UpdateInPlace(benchmark::State& state) {
  const QString source = BigXlsx(false);
  const QString path = Dir().filePath(QStringLiteral("update.xlsx"));
  mivora::Grid result;
  result.SetCols(2);
  result.SetTextUtf8(0, 1, "name");
  for (int r = 1; r <= 100'000; ++r) {
    const QByteArray n = QByteArray::number(r), v = "New " + QByteArray::number(r);
    QByteArrayView cells[2] = {n, v};
    result.AppendRowUtf8(cells, 2);
  }
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(path);
    QFile::copy(source, path);
    state.ResumeTiming();
    QString sheet;
    if (!mivora::UpdateWorkbookInPlace(result, path, QStringLiteral("Sheet1"), &sheet).ok)
      state.SkipWithError("update failed");
  }
  PeakCounter(state);
}
BENCHMARK(BM_UpdateInPlace)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
