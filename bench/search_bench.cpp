// Speed of the search end to end: orders (the root) joined to customers and to items, four
// report columns, a two-equation condition keeping about a tenth of the rows.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "QuietHost.h"
#include "conditions/ConditionCells.h"
#include "conditions/ConditionTexts.h"
#include "search/ColumnIndex.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

using mivora::bench::QuietHost;

// A table whose cell (i, c) is make(i, c) for data rows 1..rows.
template <typename Make>
int AddTable(Workspace& ws, const char* name, std::initializer_list<const char*> headers, int rows,
             Make make) {
  const int slot = AllocateSlot(ws, 0, 0, 0, 0);
  Grid& g = ws.TableGrid(slot);
  const int cols = static_cast<int>(headers.size()) + 1;
  g.SetRows(1);
  g.SetCols(cols);
  g.SetText(0, 0, QString::fromLatin1(name));
  int c = 1;
  for (const char* h : headers) g.SetText(0, c++, QString::fromLatin1(h));
  g.Reserve(rows + 1, static_cast<std::int64_t>(rows) * 8);
  std::array<std::string, 8> text;
  std::array<QByteArrayView, 8> cells;
  for (int i = 1; i <= rows; ++i) {
    text[0] = std::to_string(i);
    for (int k = 1; k < cols; ++k) text[k] = make(i, k);
    for (int k = 0; k < cols; ++k) cells[k] = QByteArrayView(text[k].data(), text[k].size());
    g.AppendRowUtf8(cells.data(), cols);
  }
  return slot;
}

std::string Cat(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

// Keys spread over the customers and items in a scrambled order.
int Scramble(int i, int n) {
  return static_cast<int>((static_cast<std::int64_t>(i) * 7919) % n) + 1;
}

struct Tables {
  explicit Tables(int orders_rows) : ws(host) {
    StartUp(ws, {});
    customers_rows = std::max(1, orders_rows / 3);
    items_rows = std::max(1, orders_rows / 30);
    orders = AddTable(ws, "orders", {"id", "customer", "item", "amount", "qty"}, orders_rows,
                      [&](int i, int c) -> std::string {
                        switch (c) {
                          case 1:
                            return Cat("o", i);
                          case 2:
                            return Cat("c", Scramble(i, customers_rows));
                          case 3:
                            return Cat("i", Scramble(i * 13, items_rows));
                          case 4:
                            return std::to_string(i % 1000);
                          default:
                            return std::to_string(i % 50);
                        }
                      });
    customers = AddTable(ws, "customers", {"id", "name", "level"}, customers_rows,
                         [](int i, int c) -> std::string {
                           if (c == 1) return Cat("c", i);
                           if (c == 2) return Cat("name", i);
                           return std::to_string(i % 10);
                         });
    items = AddTable(ws, "items", {"id", "title"}, items_rows,
                     [](int i, int c) -> std::string { return Cat(c == 1 ? "i" : "title", i); });
  }
  void Join() {
    BeginJoin(ws, orders, 2);
    CompleteJoin(ws, customers, 1);
    BeginJoin(ws, orders, 3);
    CompleteJoin(ws, items, 1);
  }
  void ChooseColumns() {
    ToggleReportColumn(ws, orders, 1);
    ToggleReportColumn(ws, customers, 2);
    ToggleReportColumn(ws, items, 2);
    ToggleReportColumn(ws, orders, 4);
    AddConditionCell(ws, orders, 1, 4, 1);
    AddConditionCell(ws, customers, 1, 3, 2);
    StoreConditionExpression(ws, QStringLiteral("orders.amount < 100 And  customers.level < 10"));
  }
  QuietHost host;
  Workspace ws;
  int customers_rows, items_rows;
  int orders, customers, items;
};

void BM_BuildJoinIndexes(benchmark::State& state) {
  Tables t(static_cast<int>(state.range(0)));
  // Indexes are made on first read: each is read once so that making and sorting it counts.
  const std::array<std::pair<int, int>, 4> columns = {
      {{t.orders, 2}, {t.customers, 1}, {t.orders, 3}, {t.items, 1}}};
  for (auto _ : state) {
    for (auto [table, column] : columns) {
      BuildColumnIndex(t.ws, table, column);
      t.ws.cell_store.Column(table, column).Settle();
    }
  }
}

// The process's resident memory and its peak since the last ResetPeak, in MB (Linux).
double StatusMb(const char* field) {
  double kb = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    const std::size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
      if (std::strncmp(line, field, n) == 0) kb = std::atof(line + n);
    }
    std::fclose(f);
  }
  return kb / 1e3;
}
void ResetPeak() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

void BM_RunSearch(benchmark::State& state) {
  Tables t(static_cast<int>(state.range(0)));
  t.Join();
  t.ChooseColumns();
  // Peak memory of the search beyond the loaded tables and their indexes.
  const double before = StatusMb("VmRSS:");
  ResetPeak();
  for (auto _ : state) {
    RunSearch(t.ws);
    benchmark::DoNotOptimize(t.ws.result.ResultGrid().Rows());
  }
  state.counters["joined"] = t.ws.result.JoinedGrid().Rows() - 2;
  state.counters["kept"] = t.ws.result.ResultGrid().Rows() - 1;
  state.counters["joined_MB"] = static_cast<double>(t.ws.result.JoinedGrid().MemoryBytes()) / 1e6;
  state.counters["search_peak_MB"] = StatusMb("VmHWM:") - before;
}

void BM_BuildJoinedGrid(benchmark::State& state) {
  Tables t(static_cast<int>(state.range(0)));
  t.Join();
  t.ChooseColumns();
  for (auto _ : state) benchmark::DoNotOptimize(BuildJoinedGrid(t.ws));
}

#define ROOT_ROWS Arg(10000)->Arg(100000)->Arg(1000000)->Arg(3000000)
BENCHMARK(BM_BuildJoinIndexes)->ROOT_ROWS->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BuildJoinedGrid)->ROOT_ROWS->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RunSearch)->ROOT_ROWS->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
