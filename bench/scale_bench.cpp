// Scale and hostile sizes, each loaded as the program loads a table file (a workspace with a
// quiet host): a 10,000,000-row × 6-column CSV file (about 600 MB), a 1 GB file of one line,
// a 2 GB file of empty lines and a zip bomb .xlsx whose sheet inflates past the archive's
// budget. The files are made in a temporary folder on first use and deleted at the end.
// Peak memory is the process's, so run one benchmark per process:
//   scale_bench --benchmark_filter=BM_Csv10M
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zip.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "QuietHost.h"
#include "model/Grid.h"
#include "tablefiles/TableLoading.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

// Writes a file in 1 MiB pieces from a function that appends the next piece.
template <typename Fill>
QString MakeFile(const char* name, Fill fill) {
  const QString path = Folder().filePath(QString::fromUtf8(name));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) std::abort();
  QByteArray chunk;
  chunk.reserve(2 << 20);
  while (fill(chunk)) {
    if (chunk.size() >= (1 << 20)) {
      f.write(chunk);
      chunk.clear();
    }
  }
  f.write(chunk);
  return path;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

class Host : public bench::QuietHost {
 public:
  void ShowMessage(const QString& text) override { messages << text; }
  QStringList messages;
};

// Loads the file once into a fresh workspace, as the program's open command does.
void Load(benchmark::State& state, const QString& path) {
  const qint64 size = QFile(path).size();
  const double rss_before = PeakRssMb();
  bool ok = false;
  qsizetype messages = 0;
  int rows = 0;
  for (auto _ : state) {
    Host host;
    Workspace ws(host);
    StartUp(ws, {});
    const LoadResult r = LoadTableFile(ws, path, {});
    ok = r.ok;
    messages = host.messages.size();
    if (r.slot != 0) rows = ws.TableGrid(r.slot).Rows();
    if (!host.messages.isEmpty())
      std::fprintf(stderr, "message: %s\n", qPrintable(host.messages.constFirst()));
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
  state.counters["ok"] = ok;
  state.counters["messages"] = static_cast<double>(messages);
  state.counters["rows"] = rows;
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["rss_before_MB"] = rss_before;
  state.counters["peak_x_file"] = PeakRssMb() / (static_cast<double>(size) / (1 << 20));
}

void BM_Csv10M(benchmark::State& state) {
  static const QString path = [] {
    int i = 0;
    return MakeFile("ten_million.csv", [&](QByteArray& chunk) {
      if (i == 0) chunk += "id,name,date,amount,category,note\r\n";
      char line[160];
      for (int k = 0; k < 1000 && i < 10'000'000; ++k) {
        ++i;
        chunk.append(line, std::snprintf(line, sizeof line,
                                         "%d,Customer %06d,2026-%02d-%02d,%d.%02d,cat%d,n%07d\r\n",
                                         i, i % 500000, 1 + i % 12, 1 + i % 28, i % 100000,
                                         i % 100, i % 17, i * 7 % 9999999));
      }
      return i < 10'000'000;
    });
  }();
  Load(state, path);
}
BENCHMARK(BM_Csv10M)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_OneLine1GB(benchmark::State& state) {
  static const QString path = [] {
    qint64 left = qint64{1} << 30;
    return MakeFile("one_line.csv", [&](QByteArray& chunk) {
      const qint64 n = std::min<qint64>(left, 1 << 20);
      chunk.append(n, 'x');
      left -= n;
      return left > 0;
    });
  }();
  Load(state, path);
}
BENCHMARK(BM_OneLine1GB)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_EmptyLines2GB(benchmark::State& state) {
  static const QString path = [] {
    qint64 left = qint64{2} << 30;
    return MakeFile("empty_lines.csv", [&](QByteArray& chunk) {
      const qint64 n = std::min<qint64>(left, 1 << 20);
      chunk.append(n, '\n');
      left -= n;
      return left > 0;
    });
  }();
  Load(state, path);
}
BENCHMARK(BM_EmptyLines2GB)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A workbook whose only sheet is a valid start followed by 4 GB of spaces inside sheetData
// (a few megabytes compressed).
void BM_ZipBombXlsx(benchmark::State& state) {
  static const QString path = [] {
    qint64 left = qint64{4} << 30;
    const QString sheet = MakeFile("sheet.xml", [&](QByteArray& chunk) {
      if (left == qint64{4} << 30)
        chunk += "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                 "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
      const qint64 n = std::min<qint64>(left, 1 << 20);
      chunk.append(n, ' ');
      left -= n;
      return left > 0;
    });
    const QString book = Folder().filePath(QStringLiteral("bomb.xlsx"));
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(book).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    auto add = [&](const char* name, const char* text) {
      zip_file_add(z, name, zip_source_buffer(z, text, std::strlen(text), 0), 0);
    };
    add("[Content_Types].xml",
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "</Types>");
    add("_rels/.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
        "</Relationships>");
    add("xl/workbook.xml",
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    add("xl/_rels/workbook.xml.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "</Relationships>");
    zip_file_add(z, "xl/worksheets/sheet1.xml",
                 zip_source_file(z, QFile::encodeName(sheet).constData(), 0, -1), 0);
    if (zip_close(z) != 0) std::abort();
    QFile::remove(sheet);
    return book;
  }();
  Load(state, path);
}
BENCHMARK(BM_ZipBombXlsx)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
