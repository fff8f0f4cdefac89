// The batch workload end to end through the core library, for the paired comparison with
// DuckDB (bench/duckdb/, bench/compare_duckdb.sh):
//   batch_workload_bench generate DIR N   writes orders.csv (3 N rows), customers.csv (N) and
//                                         items.csv (N / 10) into DIR
//   batch_workload_bench run DIR OUT      loads them, joins orders to customers and items,
//                                         sets four report columns and the condition, searches
//                                         and writes the result to OUT with the CSV writer
// The run prints the time of each phase on standard error.
#include <QString>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "QuietHost.h"
#include "conditions/ConditionCells.h"
#include "conditions/ConditionTexts.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "tablefiles/CsvWriter.h"
#include "tablefiles/TableLoading.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;
using Clock = std::chrono::steady_clock;

constexpr const char* kCities[] = {"Tokyo", "Osaka", "Nagoya", "Sapporo", "Fukuoka",
                                   "Kobe",  "Kyoto", "Sendai", "Chiba",   "Sakai"};
constexpr const char* kCategories[] = {"Books", "Music", "Games", "Tools", "Garden"};

// A small deterministic generator, so both engines read the same files for the same N.
struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
  std::int64_t Below(std::int64_t n) { return static_cast<std::int64_t>(Next() % n); }
};

bool WriteFile(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

int Generate(const std::string& dir, std::int64_t n) {
  Random random{0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(n)};
  const std::int64_t items = std::max<std::int64_t>(1, n / 10);
  std::string text = "CustId,Name,City\n";
  for (std::int64_t i = 1; i <= n; ++i) {
    const std::string id = std::to_string(i);
    text.append("C").append(id).append(",Customer ").append(id).append(",");
    text.append(kCities[random.Below(10)]).append("\n");
  }
  if (!WriteFile(dir + "/customers.csv", text)) return 1;
  text = "ItemId,Title,Category\n";
  for (std::int64_t i = 1; i <= items; ++i) {
    const std::string id = std::to_string(i);
    text.append("I").append(id).append(",Item ").append(id).append(",");
    text.append(kCategories[random.Below(5)]).append("\n");
  }
  if (!WriteFile(dir + "/items.csv", text)) return 1;
  // About one order in fifty names a customer that does not exist, one in a hundred an
  // item that does not exist.
  text = "OrderId,CustId,ItemId,Qty\n";
  for (std::int64_t i = 1; i <= 3 * n; ++i) {
    const std::int64_t cust = random.Below(50) == 0 ? n + 1 + random.Below(n) : 1 + random.Below(n);
    const std::int64_t item =
        random.Below(100) == 0 ? items + 1 + random.Below(items) : 1 + random.Below(items);
    text.append("O").append(std::to_string(i)).append(",C").append(std::to_string(cust));
    text.append(",I").append(std::to_string(item)).append(",");
    text.append(std::to_string(1 + random.Below(10))).append("\n");
  }
  return WriteFile(dir + "/orders.csv", text) ? 0 : 1;
}

int Column(const Workspace& ws, int table, const char* name) {
  const Grid& g = ws.TableGrid(table);
  for (int c = 1; c < g.Cols(); ++c)
    if (g.Text(0, c) == QLatin1StringView(name)) return c;
  std::fprintf(stderr, "no column %s\n", name);
  std::exit(1);
}

// Wall seconds since `from`, and the process's CPU seconds (all threads) since the last call:
// on a busy machine the CPU time tells more.
double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}
double CpuSeconds() {
  static std::clock_t last = 0;
  const std::clock_t now = std::clock();
  const double seconds = static_cast<double>(now - last) / CLOCKS_PER_SEC;
  last = now;
  return seconds;
}

int Run(const std::string& dir, const std::string& out) {
  bench::QuietHost host;
  Workspace ws(host);
  StartUp(ws, {});
  CpuSeconds();
  auto t = Clock::now();
  const QString folder = QString::fromStdString(dir);
  const int orders = LoadTableFile(ws, folder + QStringLiteral("/orders.csv"), {}).slot;
  const int customers = LoadTableFile(ws, folder + QStringLiteral("/customers.csv"), {}).slot;
  const int items = LoadTableFile(ws, folder + QStringLiteral("/items.csv"), {}).slot;
  if (orders == 0 || customers == 0 || items == 0) return 1;
  std::fprintf(stderr, "load %.3f s (cpu %.3f s)\n", Seconds(t), CpuSeconds());

  t = Clock::now();
  BeginJoin(ws, orders, Column(ws, orders, "CustId"));
  CompleteJoin(ws, customers, Column(ws, customers, "CustId"));
  BeginJoin(ws, orders, Column(ws, orders, "ItemId"));
  CompleteJoin(ws, items, Column(ws, items, "ItemId"));
  std::fprintf(stderr, "join %.3f s (cpu %.3f s)\n", Seconds(t), CpuSeconds());

  t = Clock::now();
  ToggleReportColumn(ws, orders, Column(ws, orders, "OrderId"));
  ToggleReportColumn(ws, customers, Column(ws, customers, "Name"));
  ToggleReportColumn(ws, items, Column(ws, items, "Title"));
  ToggleReportColumn(ws, orders, Column(ws, orders, "Qty"));
  AddConditionCell(ws, customers, 1, Column(ws, customers, "City"), 1);
  AddConditionCell(ws, items, 1, Column(ws, items, "Category"), 2);
  AddConditionCell(ws, orders, 1, Column(ws, orders, "Qty"), 3);
  StoreConditionExpression(
      ws, QStringLiteral("customers.City = Osaka And (items.Category = Books Or orders.Qty > 7)"));
  RunSearch(ws);
  std::fprintf(stderr, "search %.3f s (cpu %.3f s; %d joined rows, %d kept)\n", Seconds(t),
               CpuSeconds(), ws.result.JoinedGrid().Rows() - 2, ws.result.ResultGrid().Rows() - 1);

  t = Clock::now();
  if (!CsvWriter().Write(ws.result.ResultGrid(), QString::fromStdString(out)).ok) return 1;
  std::fprintf(stderr, "write %.3f s (cpu %.3f s)\n", Seconds(t), CpuSeconds());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "generate")
    return Generate(argv[2], std::atoll(argv[3]));
  if (argc == 4 && std::string(argv[1]) == "run") return Run(argv[2], argv[3]);
  std::fprintf(stderr, "usage: %s generate DIR N | run DIR OUT\n", argv[0]);
  return 2;
}
