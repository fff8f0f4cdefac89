#include "search/Search.h"

#include <QHash>
#include <QString>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "conditions/ConditionCells.h"
#include "conditions/ConditionFilter.h"
#include "search/ColumnIndex.h"
#include "search/ColumnTag.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr std::int64_t kProgressStep = 1 << 16;

// One column of the joined grid: its source column and its kind (0 for a report column,
// '*' for a condition column, '=' for a join column).
struct JoinedColumn {
  int table = 0;
  int column = 0;
  char16_t kind = 0;
  bool operator==(const JoinedColumn&) const = default;
};

// Where a lookup landed in a sorted index: the first match p and the run lo..hi of entries
// with the same text around it; p 0 when nothing matched.
struct Landing {
  std::int64_t p = 0;
  std::int64_t lo = 0;
  std::int64_t hi = 0;
};

// Joined rows held as one source row number per table (a reference, not a copy): 0 is the
// no-match mark, -1 a table not filled in that row. The texts are written once at the end.
class JoinedRows {
 public:
  JoinedRows(Workspace& ws, const std::vector<JoinedColumn>& columns)
      : ws_(ws), columns_(columns), refs_(ws.tables.SlotCount()) {}

  std::int64_t Count() const { return count_; }

  void FillRootRows(int root) {
    const Grid& grid = ws_.TableGrid(root);
    count_ = grid.Rows() > 1 ? grid.Rows() - 1 : 0;
    std::vector<std::int32_t>& refs = refs_[root];
    refs.resize(count_);
    for (std::int64_t i = 0; i < count_; ++i) refs[i] = static_cast<std::int32_t>(i + 1);
    filled_.push_back(root);
  }

  void JoinFromTable(int from, int cur) {
    Join j;
    for (int n = 1; ReadJoin(ws_, n, j) != -1; ++n) {
      if (ReadJoin(ws_, n, j) != n) continue;
      int cur_column, other, other_column;
      if (j.departure_table == cur) {
        cur_column = j.departure_column;
        other = j.destination_table;
        other_column = j.destination_column;
      } else if (j.destination_table == cur) {
        cur_column = j.destination_column;
        other = j.departure_table;
        other_column = j.departure_column;
      } else {
        continue;
      }
      if (other == from) continue;
      if (!HasJoinColumn(cur, cur_column) || !HasJoinColumn(other, other_column)) continue;
      if (!ws_.tables.IsTableSlot(other) || !refs_[other].empty()) continue;
      FillFromJoin(cur, cur_column, other, other_column);
      JoinFromTable(cur, other);
    }
  }

  // The text of joined row i (0-based) in a column of table t; empty for none.
  QByteArrayView Text(int t, int column, std::int64_t i) const {
    static constexpr char kMark[] = "--------";
    if (t < 0 || t >= static_cast<int>(refs_.size()) || refs_[t].empty()) return {};
    const std::int32_t k = refs_[t][i];
    if (k == 0) return QByteArrayView(kMark, 8);
    const Grid& grid = ws_.TableGrid(t);
    if (k < 0 || k >= grid.Rows() || column < 0 || column >= grid.Cols()) return {};
    return grid.TextUtf8(k, column);
  }

 private:
  bool HasJoinColumn(int table, int column) const {
    for (const JoinedColumn& c : columns_) {
      if (c == JoinedColumn{table, column, kJoinColumnPrefix}) return true;
    }
    return false;
  }

  // Looks up every joined row made so far in the index of (t, c), keyed by the near table's
  // join column; further matches append copies of the row.
  void FillFromJoin(int cur, int cur_column, int t, int c) {
    const std::int64_t last = count_;
    const Grid& cur_grid = ws_.TableGrid(cur);
    const CellStore& store = ws_.cell_store;
    const Gyou* index = nullptr;
    if (store.TableCreated(t) && store.Table(t).ColumnCreated(c)) index = &store.Column(t, c);
    const std::int64_t n = index ? index->Size() : 0;

    refs_[t].assign(last, -1);
    filled_.push_back(t);
    // The landing depends only on the index and the key, so each distinct key is bisected once.
    std::unordered_map<std::string_view, Landing> landings;
    const QHash<QString, Landing> runs = index ? Runs(*index) : QHash<QString, Landing>();
    const std::vector<std::int32_t>& near = refs_[cur];
    for (std::int64_t r = 0; r < last; ++r) {
      if (r % kProgressStep == 0) ws_.host.ShowProgress(r, last);
      const std::int32_t k = near[r];
      // A no-match row finds nothing further from the root.
      if (k <= 0 || n == 0 || k >= cur_grid.Rows() || cur_column >= cur_grid.Cols()) {
        refs_[t][r] = 0;
        continue;
      }
      const QByteArrayView key = cur_grid.TextUtf8(k, cur_column);
      const std::string_view key_view(key.data(), static_cast<std::size_t>(key.size()));
      auto it = landings.find(key_view);
      if (it == landings.end()) it = landings.emplace(key_view, Land(runs, n, key)).first;
      const Landing land = it->second;
      if (land.p == 0) {
        refs_[t][r] = 0;
        continue;
      }
      refs_[t][r] = index->At(land.p).row;
      for (std::int64_t q = land.p - 1; q >= land.lo; --q) AppendCopy(r, t, index->At(q).row);
      for (std::int64_t q = land.p + 1; q <= land.hi; ++q) AppendCopy(r, t, index->At(q).row);
    }
  }

  // The bisection's landing, found from the run of equal entries instead of by reading texts.
  static Landing Land(const QHash<QString, Landing>& runs, std::int64_t n,
                      QByteArrayView key_utf8) {
    const auto it = runs.constFind(QString::fromUtf8(key_utf8));
    if (it == runs.constEnd()) return {};
    Landing land = it.value();
    land.p = LandingInRun(land.lo, land.hi, 1, n);
    return land.p == 0 ? Landing{} : land;
  }

  // The runs of equal texts of a sorted index, by text.
  static QHash<QString, Landing> Runs(const Gyou& index) {
    QHash<QString, Landing> runs;
    const std::int64_t n = index.Size();
    runs.reserve(static_cast<qsizetype>(n));
    for (std::int64_t p = 1; p <= n;) {
      std::int64_t q = p;
      while (q < n && index.At(q + 1).text == index.At(p).text) ++q;
      runs.insert(index.At(p).text, Landing{0, p, q});
      p = q + 1;
    }
    return runs;
  }

  // A new joined row copying row r, with table t taken from its grid row `row`.
  void AppendCopy(std::int64_t r, int t, std::int32_t row) {
    for (int table : filled_) {
      std::vector<std::int32_t>& refs = refs_[table];
      const std::int32_t v = refs[r];
      refs.push_back(v);
    }
    refs_[t].back() = row;
    ++count_;
  }

  Workspace& ws_;
  const std::vector<JoinedColumn>& columns_;
  std::vector<std::vector<std::int32_t>> refs_;  // by table slot; empty: not filled
  std::vector<int> filled_;
  std::int64_t count_ = 0;
};

void AddColumn(std::vector<JoinedColumn>& columns, const JoinedColumn& c) {
  for (const JoinedColumn& existing : columns) {
    if (existing == c) return;
  }
  columns.push_back(c);
}

bool Appended(std::vector<JoinedColumn>& columns, const JoinedColumn& c) {
  const std::size_t before = columns.size();
  AddColumn(columns, c);
  return columns.size() != before;
}

// Writes headers, tags and the joined rows' texts into a fresh joined grid.
void WriteJoinedGrid(Workspace& ws, const std::vector<JoinedColumn>& columns,
                     const JoinedRows* rows) {
  Grid& grid = ws.result.JoinedGrid();
  {
    // A fresh grid gives back the text pool of the previous search.
    Grid fresh;
    fresh.CopySettingsFrom(grid);
    fresh.control = grid.control;
    grid = std::move(fresh);
  }
  const std::int64_t count = rows ? rows->Count() : 0;
  const int cols = static_cast<int>(columns.size()) + 1;
  grid.Reserve(static_cast<int>(count + 2), (count + 2) * cols * 8);
  grid.SetCols(cols);
  grid.SetRows(static_cast<int>(count + 2));
  for (int ci = 1; ci < cols; ++ci) {
    const JoinedColumn& c = columns[ci - 1];
    QString header = ColumnName(ws, c.table, c.column);
    if (c.kind != 0) header.prepend(QChar(c.kind));
    grid.SetText(0, ci, header);
    grid.SetText(1, ci, MakeColumnTag(c.table, c.column));
    grid.SetMergeCol(ci, true);
  }
  if (count == 0) return;
  const std::int64_t total = count * cols;
  std::int64_t done = 0;
  char buffer[24];
  for (std::int64_t i = 0; i < count; ++i) {
    auto end = std::to_chars(buffer, buffer + sizeof buffer, i + 1).ptr;
    grid.SetTextUtf8(static_cast<int>(i + 2), 0, QByteArrayView(buffer, end - buffer));
  }
  done += count;
  for (int ci = 1; ci < cols; ++ci) {
    const JoinedColumn& c = columns[ci - 1];
    for (std::int64_t i = 0; i < count; ++i) {
      if ((done + i) % kProgressStep == 0) ws.host.ShowProgress(done + i, total);
      const QByteArrayView text = rows->Text(c.table, c.column, i);
      if (!text.isEmpty()) grid.SetTextUtf8(static_cast<int>(i + 2), ci, text);
    }
    done += count;
  }
}

}  // namespace

JoinedGridOutcome BuildJoinedGrid(Workspace& ws) {
  std::vector<JoinedColumn> columns;
  for (int n = 1; n <= kReportSlots; ++n) {
    const std::optional<ColumnRef> r = ReadReportColumn(ws, n);
    if (r && r->table != 0) AddColumn(columns, {r->table, r->column, 0});
  }
  for (int n = 1; n <= 258; ++n) {
    const std::optional<ConditionCell> cell = ReadConditionCell(ws, n);
    if (cell && cell->table != 0) {
      AddColumn(columns, {cell->table, cell->column, kConditionColumnPrefix});
    }
  }
  int root = 0;
  bool any_join = false;
  Join j;
  for (int n = 1; ReadJoin(ws, n, j) != -1; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    any_join = true;
    if (Appended(columns, {j.departure_table, j.departure_column, kJoinColumnPrefix})) {
      root = j.departure_table;
    }
    AddColumn(columns, {j.destination_table, j.destination_column, kJoinColumnPrefix});
  }

  JoinedGridOutcome outcome = JoinedGridOutcome::kFilled;
  if (!any_join) {
    // Without joins, columns of a single table search that table alone.
    for (const JoinedColumn& c : columns) {
      if (root == 0) {
        root = c.table;
      } else if (c.table != root) {
        root = -1;
        break;
      }
    }
    if (root == 0) outcome = JoinedGridOutcome::kNothingToJoin;
    if (root < 0) outcome = JoinedGridOutcome::kUnjoinedTables;
  }
  if (root > 0 && !ws.tables.IsTableSlot(root)) root = 0;
  if (root <= 0) {
    WriteJoinedGrid(ws, columns, nullptr);
    return outcome;
  }
  JoinedRows rows(ws, columns);
  rows.FillRootRows(root);
  rows.JoinFromTable(0, root);
  WriteJoinedGrid(ws, columns, &rows);
  return outcome;
}

void RunSearch(Workspace& ws) {
  ws.host.SetWaitCursor(true);
  const JoinedGridOutcome outcome = BuildJoinedGrid(ws);
  FilterJoinedRows(ws);
  ws.host.ShowProgress(0, 0);
  ws.host.SetWaitCursor(false);
  if (outcome == JoinedGridOutcome::kUnjoinedTables) {
    ws.host.ShowMessage(QStringLiteral("表が結合されていません。結合してから検索してください。"));
  }
}

}  // namespace mivora
