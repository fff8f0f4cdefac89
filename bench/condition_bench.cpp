// Speed of filtering the joined grid by a condition of six equations in two levels.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <array>
#include <string>

#include "QuietHost.h"
#include "conditions/ConditionFilter.h"
#include "conditions/ConditionTexts.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

using mivora::bench::QuietHost;

std::string Cat(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

// Five report columns, six condition columns and one join column; row 1 holds the tags.
void FillJoinedGrid(Grid& g, int rows) {
  const char* headers[] = {"Name", "City", "Code", "Price", "Note", "*A",
                           "*B",   "*C",   "*D",   "*E",    "*F",   "=Id"};
  g.SetCols(13);
  for (int c = 0; c < 12; ++c) g.SetText(0, c + 1, QString::fromLatin1(headers[c]));
  g.AppendRow(QStringList{QString()});
  g.Reserve(rows + 2, static_cast<std::int64_t>(rows) * 6);
  std::array<std::string, 13> text;
  std::array<QByteArrayView, 13> cells;
  for (int i = 0; i < rows; ++i) {
    text[0] = std::to_string(i + 1);
    text[1] = Cat("name", i);
    text[2] = Cat("city", i % 50);
    text[3] = std::to_string(i % 1000);
    text[4] = std::to_string((i * 7) % 10000);
    text[4] += ".50";
    text[5] = "note";
    text[6] = Cat("a", i % 10);
    text[7] = std::to_string(i % 97);
    text[8] = Cat(i % 3 == 0 ? "y" : "x", i % 31);
    text[9] = std::to_string(i % 1000);
    text[10] = std::to_string(i % 113);
    text[11] = Cat("f", i % 2);
    text[12] = std::to_string(i);
    for (int c = 0; c < 13; ++c) cells[c] = QByteArrayView(text[c].data(), text[c].size());
    g.AppendRowUtf8(cells.data(), 13);
  }
}

void BM_FilterJoinedRows(benchmark::State& state) {
  QuietHost host;
  Workspace ws(host);
  const int rows = static_cast<int>(state.range(0));
  FillJoinedGrid(ws.result.JoinedGrid(), rows);
  StoreConditionExpression(ws, QStringLiteral("(  T.A = a3 And  T.B >= 0 And  T.C =% x ) Or  "
                                              "(  T.D %=% 7 And  T.E < 20 And  T.F = f1 )"));
  for (auto _ : state) {
    FilterJoinedRows(ws);
    benchmark::DoNotOptimize(ws.result.ResultGrid().Rows());
  }
  state.counters["kept"] = ws.result.ResultGrid().Rows() - 1;
}
BENCHMARK(BM_FilterJoinedRows)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
