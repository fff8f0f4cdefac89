#include "search/Search.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "conditions/ConditionCells.h"
#include "conditions/ConditionFilter.h"
#include "model/TwoHalves.h"
#include "search/ColumnIndex.h"
#include "search/ColumnTag.h"
#include "search/IndexRuns.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "search/UniqueKeyRows.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr std::int64_t kProgressStep = 1 << 16;
constexpr std::int64_t kParallelLookups = 1 << 17;

// One column of the joined grid: its source column and its kind (0 for a report column,
// '*' for a condition column, '=' for a join column).
struct JoinedColumn {
  int table = 0;
  int column = 0;
  char16_t kind = 0;
  bool operator==(const JoinedColumn&) const = default;
};

// Joined rows held as one source row number per table (a reference, not a copy): 0 is the
// no-match mark, -1 a table not filled in that row. The texts are written once at the end.
class JoinedRows {
 public:
  using Refs = Grid::RowRefs;

  JoinedRows(Workspace& ws, const std::vector<JoinedColumn>& columns)
      : ws_(ws), columns_(columns), refs_(ws.tables.SlotCount()), shared_(refs_.size()) {}

  std::int64_t Count() const { return count_; }

  void FillRootRows(int root) {
    const Grid& grid = ws_.TableGrid(root);
    count_ = grid.Rows() > 1 ? grid.Rows() - 1 : 0;
    Refs& refs = refs_[root];
    refs.resize(count_);
    // The first call starts the progress clock, so the bar shows while a big root is filled.
    for (std::int64_t i = 0; i < count_; ++i) {
      if (i % kProgressStep == 0) ws_.host.ShowProgress(i, count_);
      refs[i] = static_cast<std::int32_t>(i + 1);
    }
    filled_.push_back(root);
    root_ = root;
  }

  void JoinFromTable(int from, int cur) {
    Join j;
    for (int n = 1; ReadJoin(ws_, n, j) != -1; ++n) {
      if (ReadJoin(ws_, n, j) != n) continue;
      const std::optional<Join::Sides> sides = j.SidesFrom(cur);
      if (!sides) continue;
      const int cur_column = sides->this_column;
      const int other = sides->other.table;
      const int other_column = sides->other.column;
      if (other == from) continue;
      if (!HasJoinColumn(cur, cur_column) || !HasJoinColumn(other, other_column)) continue;
      if (!ws_.tables.IsTableSlot(other) || !refs_[other].empty()) continue;
      FillFromJoin(cur, cur_column, other, other_column);
      JoinFromTable(cur, other);
    }
  }

  // Per joined row, the source row of table t (0 the no-match mark, -1 none); null when the
  // table was not reached. The rows are handed over once filling is done, to be shared by
  // every joined column of the table.
  std::shared_ptr<const Refs> SharedRefsOf(int t) {
    if (t < 0 || t >= static_cast<int>(refs_.size())) return nullptr;
    if (!shared_[t] && !refs_[t].empty())
      shared_[t] = std::make_shared<const Refs>(std::move(refs_[t]));
    return shared_[t];
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
    const Gyou* far = IndexOf(t, c);
    // While the joined rows are still the root's rows one for one, the near rows' hits are
    // the joined rows' far rows, so they are written in place.
    const bool in_place = cur == root_ && !copied_;
    refs_[t].assign(last, in_place ? 0 : -1);
    filled_.push_back(t);
    const FarSide side(far);
    // The landing depends only on the index and the key, so it is found once per near row.
    NearHits by_row;
    if (in_place) {
      HitsByNearRow(cur, cur_column, side, refs_[t], 1);
    } else {
      by_row.assign(static_cast<std::size_t>(ws_.TableGrid(cur).Rows()), 0);
      HitsByNearRow(cur, cur_column, side, by_row, 0);
    }
    for (std::int64_t r = 0; r < last; ++r) {
      if (r % kProgressStep == 0) ws_.host.ShowProgress(r, last);
      const std::int32_t k = refs_[cur][r];
      // A no-match row finds nothing further from the root.
      const std::int32_t hit =
          in_place ? refs_[t][r]
                   : ((k > 0 && k < static_cast<std::int64_t>(by_row.size())) ? by_row[k] : 0);
      if (hit >= 0) {
        refs_[t][r] = hit;
        continue;
      }
      const IndexRuns::Run& land = side.runs->At(-hit - 1);
      refs_[t][r] = land.row;
      for (std::int64_t q = land.landing - 1; q >= land.lo; --q) AppendCopy(r, t, far->RowAt(q));
      for (std::int64_t q = land.landing + 1; q <= land.hi; ++q) AppendCopy(r, t, far->RowAt(q));
    }
  }

  const Gyou* IndexOf(int t, int c) const {
    const CellStore& store = ws_.cell_store;
    if (store.TableCreated(t) && store.Table(t).ColumnCreated(c)) return &store.Column(t, c);
    return nullptr;
  }

  // The far index of a join, as looked up by near keys. When no two of its cells hold the
  // same text, their hash gives every landing; otherwise the sorted index's runs do.
  struct FarSide {
    explicit FarSide(const Gyou* far) {
      if (!far || far->Size() == 0) return;
      if (const Grid::ColumnCells* cells = far->Pending()) unique = UniqueKeyRows::Make(*cells);
      if (!unique) runs.emplace(*far);
    }
    bool Empty() const { return !unique && !runs; }
    std::size_t BatchSize() const { return unique ? UniqueKeyRows::kBatch : IndexRuns::kBatch; }
    // out[i]: what texts[i] finds: the far row at the landing (0 for none), or -(run + 1)
    // when the key's run holds more entries than the one landed on.
    void FindBatch(const QByteArrayView* texts, std::size_t n, std::int32_t* out) const {
      if (unique) {
        unique->FindBatch(texts, n, out);
        return;
      }
      runs->FindUtf8Batch(texts, n, out);
      for (std::size_t i = 0; i < n; ++i) {
        if (out[i] < 0) {
          out[i] = 0;
          continue;
        }
        const IndexRuns::Run& r = runs->At(out[i]);
        out[i] = r.landing == 0 ? 0 : (r.lo < r.hi ? -out[i] - 1 : r.row);
      }
    }
    std::optional<UniqueKeyRows> unique;
    std::optional<IndexRuns> runs;
  };
  static constexpr std::size_t kMaxBatch = std::max(UniqueKeyRows::kBatch, IndexRuns::kBatch);

  using NearHits = LargeVector<std::int32_t>;

  // For every row k of the near table, what its key finds on the far side, into
  // out[k - shift] (out holds a zero for every near row, left where nothing is found). The near
  // column's index, when it matches the grid's size, gives the keys as they were indexed
  // (without being sorted: only its rows' keys matter); otherwise the grid gives them.
  void HitsByNearRow(int cur, int cur_column, const FarSide& far, std::span<std::int32_t> out,
                     int shift) const {
    const Grid& near_grid = ws_.TableGrid(cur);
    auto by_row = [&out, shift](std::int64_t k) -> std::int32_t& {
      return out[static_cast<std::size_t>(k - shift)];
    };
    if (far.Empty() || cur_column < 0 || cur_column >= near_grid.Cols()) return;
    const Gyou* near = IndexOf(cur, cur_column);
    if (near && near->Size() == near_grid.Rows() - 1) {
      if (const Grid::ColumnCells* cells = near->Pending()) {
        // Each row's lookup stands alone, so a big table is looked up in two halves at once.
        auto look_up = [&](std::int64_t from, std::int64_t to) {
          QByteArrayView texts[kMaxBatch];
          const auto batch = static_cast<std::int64_t>(far.BatchSize());
          for (std::int64_t i = from; i < to; i += batch) {
            const auto n = static_cast<std::size_t>(std::min(batch, to - i));
            for (std::size_t b = 0; b < n; ++b)
              texts[b] = cells->TextUtf8(i + static_cast<std::int64_t>(b));
            far.FindBatch(texts, n, &by_row(i + 1));
          }
        };
        const std::int64_t n = cells->Size();
        if (n >= kParallelLookups) {
          InTwoHalves(n, look_up);
        } else {
          look_up(0, n);
        }
      } else {
        for (std::int64_t q = 1; q <= near->Size(); ++q) {
          const QByteArray text = near->TextAt(q).toUtf8();
          const QByteArrayView view(text);
          far.FindBatch(&view, 1, &by_row(near->RowAt(q)));
        }
      }
      return;
    }
    for (int k = 1; k < near_grid.Rows(); ++k) {
      const QByteArrayView text = near_grid.TextUtf8(k, cur_column);
      far.FindBatch(&text, 1, &by_row(k));
    }
  }

  // A new joined row copying row r, with table t taken from its grid row `row`.
  void AppendCopy(std::int64_t r, int t, std::int32_t row) {
    for (int table : filled_) {
      Refs& refs = refs_[table];
      const std::int32_t v = refs[r];
      refs.push_back(v);
    }
    refs_[t].back() = row;
    ++count_;
    copied_ = true;
  }

  Workspace& ws_;
  const std::vector<JoinedColumn>& columns_;
  std::vector<Refs> refs_;  // by table slot; empty: not filled
  std::vector<std::shared_ptr<const Refs>> shared_;
  std::vector<int> filled_;
  std::int64_t count_ = 0;
  int root_ = 0;
  bool copied_ = false;  // rows have been added beyond the root's own
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
void WriteJoinedGrid(Workspace& ws, const std::vector<JoinedColumn>& columns, JoinedRows* rows) {
  Grid& grid = ws.result.JoinedGrid();
  grid.ClearCells();  // gives back the texts of the previous search
  const std::int64_t count = rows ? rows->Count() : 0;
  const int cols = static_cast<int>(columns.size()) + 1;
  grid.SetCols(cols);
  grid.SetRows(static_cast<int>(count + 2));
  for (int ci = 1; ci < cols; ++ci) {
    const JoinedColumn& c = columns[ci - 1];
    QString header = ColumnName(ws, c.table, c.column);
    if (c.kind != 0) header.prepend(QChar(c.kind));
    grid.SetText(0, ci, header);
    grid.SetText(1, ci, MakeColumnTag(c.table, c.column));
    grid.SetMergeCol(ci, true);
    grid.SetColumnKind(ci, c.kind);
  }
  if (count == 0) return;
  // The joined rows are numbered, and their columns show the source tables' cells through
  // the row references, without a text or handle per cell.
  grid.ShowRowNumbers(0, 2, count);
  static constexpr char kNoMatch[] = "--------";
  for (int ci = 1; ci < cols; ++ci) {
    ws.host.ShowProgress(ci, cols);
    const JoinedColumn& c = columns[ci - 1];
    std::shared_ptr<const JoinedRows::Refs> refs = rows->SharedRefsOf(c.table);
    if (!refs || !ws.tables.IsTableSlot(c.table)) continue;
    const Grid& source = ws.TableGrid(c.table);
    if (c.column < 0 || c.column >= source.Cols()) continue;
    grid.ShareColumnCells(ci, 2, source, c.column, refs, QByteArrayView(kNoMatch, 8));
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
