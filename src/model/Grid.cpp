#include "model/Grid.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

#include "model/Constants.h"
#include "model/NumberText.h"

namespace mivora {

namespace {

using namespace cell_handle;

bool IsEightAscii(QByteArrayView utf8) {
  if (utf8.size() != 8 || static_cast<unsigned char>(utf8[0]) < 0x10) return false;
  std::uint64_t word;
  std::memcpy(&word, utf8.data(), 8);
  return (word & 0x8080808080808080ull) == 0;
}

std::string Describe(const char* what, int row, int col, int rows, int cols) {
  return std::string(what) + ": cell (" + std::to_string(row) + ", " + std::to_string(col) +
         ") outside a grid of " + std::to_string(rows) + " rows and " + std::to_string(cols) +
         " columns";
}

// The digits of the numbers 1, 2, ... n one after another, and where number k sits in them.
std::string NumberDigits(std::int64_t n) {
  std::string digits;
  char buffer[24];
  for (std::int64_t k = 1; k <= n; ++k) {
    auto end = std::to_chars(buffer, buffer + sizeof buffer, k).ptr;
    digits.append(buffer, end);
  }
  return digits;
}

QByteArrayView NumberIn(const std::string& digits, std::int64_t k) {
  std::int64_t offset = 0;
  std::int64_t lo = 1;
  std::int64_t width = 1;
  while (k >= lo * 10) {
    offset += (lo * 10 - lo) * width;
    lo *= 10;
    ++width;
  }
  offset += (k - lo) * width;
  return QByteArrayView(digits.data() + offset, static_cast<qsizetype>(width));
}

}  // namespace

// Rows first_row .. first_row + count - 1 of a column that show another grid's cells through
// source row numbers, or the numbers 1 .. count when there are no references.
struct Grid::SharedCells {
  int first_row = 0;
  std::int64_t count = 0;
  std::shared_ptr<const RowRefs> refs;
  std::shared_ptr<const Handles> source_handles;
  std::shared_ptr<Pool> source_pool;
  int source_rows = 0;
  QByteArray missing;  // what source row 0 shows
  // Row numbers: their digits, made when first read (grids are used from one thread).
  mutable std::shared_ptr<const std::string> digits;

  QByteArrayView Text(std::int64_t i) const {
    if (i >= count) return {};
    if (!refs) {
      if (!digits) digits = std::make_shared<const std::string>(NumberDigits(count));
      return NumberIn(*digits, i + 1);
    }
    return SourceText((*refs)[static_cast<std::size_t>(i)]);
  }

  // Source row r's handle in source_pool (r not 0): rows outside are empty.
  const std::uint64_t& SourceHandle(std::int32_t r) const {
    static constexpr std::uint64_t kEmpty = 0;
    if (r < 1 || r >= source_rows || r >= static_cast<std::int64_t>(source_handles->size()))
      return kEmpty;
    return (*source_handles)[static_cast<std::size_t>(r)];
  }
  // Row 0 gives the no-match text, rows outside an empty cell.
  QByteArrayView SourceText(std::int32_t r) const {
    return r == 0 ? QByteArrayView(missing) : View(*source_pool, SourceHandle(r));
  }
};

Grid::Grid() : default_col_width_(kDefaultColWidth), row_height_(kDefaultRowHeight) {
  // A new grid control has one fixed row and one fixed column.
  SetCols(1);
  SetRows(1);
}

void Grid::SetRows(int rows) {
  if (rows < 0) throw GridError("negative row count");
  // Growing writes nothing: rows past a column's handles are empty.
  if (rows < rows_) {
    for (int c = 0; c < Cols(); ++c) KeepRowsAbove(c, rows);
    for (auto it = styles_.begin(); it != styles_.end();) {
      if (static_cast<int>(it.key() >> 32) >= rows)
        it = styles_.erase(it);
      else
        ++it;
    }
  }
  rows_ = rows;
  if (row_ >= rows_) row_ = std::max(0, rows_ - 1);
  if (row_sel_ >= rows_) row_sel_ = std::max(0, rows_ - 1);
  if (top_row_ >= std::max(rows_, 2)) top_row_ = std::max(1, rows_ - 1);
}

void Grid::SetCols(int cols) {
  if (cols < 0) throw GridError("negative column count");
  int old = Cols();
  columns_.resize(static_cast<std::size_t>(cols));
  merge_.resize(static_cast<std::size_t>(cols), false);
  if (!kinds_.empty()) kinds_.resize(static_cast<std::size_t>(cols), -1);
  col_widths_.resize(static_cast<std::size_t>(cols), default_col_width_);
  if (cols < old) {
    for (auto it = styles_.begin(); it != styles_.end();) {
      if (static_cast<int>(it.key() & 0xFFFFFFFFu) >= cols)
        it = styles_.erase(it);
      else
        ++it;
    }
  }
  if (col_ >= cols) col_ = std::max(0, cols - 1);
  if (left_col_ >= std::max(cols, 2)) left_col_ = std::max(1, cols - 1);
}

void Grid::Reserve(int rows, std::int64_t text_bytes_per_column) {
  for (int c = 0; c < Cols(); ++c) {
    Writable(columns_[c], 0).reserve(static_cast<std::size_t>(rows));
    ReserveColumnText(c, text_bytes_per_column);
  }
}

void Grid::ReserveColumnText(int col, std::int64_t text_bytes) {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  Pool& pool = *columns_[col].pool;
  if (text_bytes > 0) pool.reserve(pool.size() + static_cast<std::size_t>(text_bytes));
}

void Grid::Squeeze() {
  // Shrinking copies, so only a clearly oversized array is shrunk.
  auto oversized = [](const auto& v) { return v.capacity() > v.size() + v.size() / 8 + 4096; };
  for (auto& column : columns_) {
    if (column.handles.use_count() == 1 && oversized(*column.handles))
      column.handles->shrink_to_fit();
    if (column.pool.use_count() == 1 && oversized(*column.pool)) column.pool->shrink_to_fit();
  }
}

Grid::Handles& Grid::Writable(Column& column, int rows) {
  MakeOrdinary(column);
  if (column.handles.use_count() > 1) column.handles = std::make_shared<Handles>(*column.handles);
  if (static_cast<int>(column.handles->size()) < rows)
    column.handles->resize(static_cast<std::size_t>(rows), 0);
  return *column.handles;
}

void Grid::MakeOrdinary(Column& column) {
  if (!column.shared) return;
  const std::shared_ptr<const SharedCells> cells = std::move(column.shared);
  const std::size_t first = static_cast<std::size_t>(cells->first_row);
  auto handles = std::make_shared<Handles>(first + static_cast<std::size_t>(cells->count), 0);
  if (cells->refs) {
    // The rows above move into the source pool with the rest.
    Pool& pool = *cells->source_pool;
    for (std::size_t r = 0; r < first; ++r) {
      QByteArray text =
          View(*column.pool, HandleAt(column, static_cast<std::int64_t>(r))).toByteArray();
      (*handles)[r] = StoreText(pool, text);
    }
    std::optional<std::uint64_t> missing;  // stored on first use
    for (std::int64_t i = 0; i < cells->count; ++i) {
      const std::int32_t r = (*cells->refs)[static_cast<std::size_t>(i)];
      if (r == 0 && !missing) missing = StoreText(pool, cells->missing);
      (*handles)[first + static_cast<std::size_t>(i)] = r == 0 ? *missing : cells->SourceHandle(r);
    }
    column.pool = cells->source_pool;
  } else {
    for (std::size_t r = 0; r < first; ++r)
      (*handles)[r] = HandleAt(column, static_cast<std::int64_t>(r));
    for (std::int64_t i = 0; i < cells->count; ++i)
      (*handles)[first + static_cast<std::size_t>(i)] = StoreText(*column.pool, cells->Text(i));
  }
  column.handles = std::move(handles);
}

QByteArrayView Grid::CellText(const Column& column, int row) const {
  if (column.shared && row >= column.shared->first_row)
    return column.shared->Text(row - column.shared->first_row);
  return View(*column.pool, HandleAt(column, row));
}

void Grid::CheckCell(int row, int col, const char* what) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= Cols())
    throw GridError(Describe(what, row, col, rows_, Cols()));
}

std::uint64_t Grid::StoreText(Pool& pool, QByteArrayView utf8) {
  if (utf8.isEmpty()) return 0;
  const auto n = static_cast<std::size_t>(utf8.size());
  if (n <= kInlineBytes) {
    // The bytes go above the length byte, read in at most two loads that may overlap.
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::uint64_t bytes = p[0];
    if (n >= 4) {
      std::uint32_t head, tail;
      std::memcpy(&head, p, 4);
      std::memcpy(&tail, p + n - 4, 4);
      bytes = head | (std::uint64_t{tail} << ((n - 4) * 8));
    } else {
      if (n > 1) bytes |= std::uint64_t{p[1]} << 8;
      if (n > 2) bytes |= std::uint64_t{p[2]} << 16;
    }
    return (bytes << 8) | (static_cast<std::uint64_t>(n) << kLengthShift) | 1;
  }
  if (IsEightAscii(utf8)) {
    std::uint64_t handle;
    std::memcpy(&handle, utf8.data(), 8);
    return handle;
  }
  std::uint64_t offset = pool.size();
  if (offset > kMaxPoolOffset) throw GridError("a column holds more text than a grid can");
  std::uint64_t length = static_cast<std::uint64_t>(utf8.size());
  if (length >= kLongText) {
    char prefix[8];
    std::memcpy(prefix, &length, 8);
    pool.append(prefix, 8);
    length = kLongText;
  }
  pool.append(utf8.data(), static_cast<std::size_t>(utf8.size()));
  return kPoolMark | (offset << kOffsetShift) | (length << kLengthShift);
}

Grid::ColumnCells Grid::SnapshotColumn(int col, int first_row) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  ColumnCells cells;
  Column column = columns_[col];
  // A column showing shared cells is snapshotted as an ordinary copy of its own.
  MakeOrdinary(column);
  cells.pool_ = column.pool;
  cells.handles_ = column.handles;
  cells.first_ = std::max(first_row, 0);
  cells.size_ = std::max<std::int64_t>(0, rows_ - cells.first_);
  return cells;
}

QString Grid::Text(int row, int col) const { return QString::fromUtf8(TextUtf8(row, col)); }

QByteArrayView Grid::TextUtf8(int row, int col) const {
  CheckCell(row, col, "read");
  return CellText(columns_[col], row);
}

void Grid::PrefetchRow(int row, bool texts) const {
  if (row < 0 || row >= rows_) return;
  for (const Column& column : columns_) {
    const std::uint64_t* handle = nullptr;
    const Pool* pool = column.pool.get();
    if (column.shared && row >= column.shared->first_row) {
      const SharedCells& cells = *column.shared;
      const std::int64_t i = row - cells.first_row;
      if (!cells.refs || i >= cells.count) continue;
      handle = &cells.SourceHandle((*cells.refs)[static_cast<std::size_t>(i)]);
      pool = cells.source_pool.get();
    } else if (row < static_cast<std::int64_t>(column.handles->size())) {
      handle = &(*column.handles)[static_cast<std::size_t>(row)];
    } else {
      continue;
    }
    if (!texts) {
      __builtin_prefetch(handle);
    } else if (IsInPool(*handle)) {
      __builtin_prefetch(View(*pool, *handle).data());
    }
  }
}

bool Grid::IsEmpty(int row, int col) const {
  CheckCell(row, col, "read");
  const Column& column = columns_[col];
  if (column.shared && row >= column.shared->first_row) return CellText(column, row).isEmpty();
  return HandleAt(column, row) == 0;
}

void Grid::SetText(int row, int col, const QString& text) {
  CheckCell(row, col, "write");
  Column& column = columns_[col];
  Handles& handles = Writable(column, row + 1);
  handles[row] = StoreText(*column.pool, text.toUtf8());
}

void Grid::SetTextUtf8(int row, int col, QByteArrayView utf8) {
  CheckCell(row, col, "write");
  Column& column = columns_[col];
  // The view may point into the column's own pool or handles, which may move as they grow:
  // copy it first.
  auto inside = [&utf8](const char* data, std::size_t bytes) {
    return bytes != 0 && utf8.data() >= data && utf8.data() < data + bytes;
  };
  const Handles& own = *column.handles;
  if (!utf8.isEmpty() &&
      (inside(column.pool->data(), column.pool->size()) ||
       inside(reinterpret_cast<const char*>(own.data()), own.size() * sizeof(std::uint64_t)))) {
    const QByteArray copy = utf8.toByteArray();
    SetTextUtf8(row, col, copy);
    return;
  }
  Handles& handles = Writable(column, row + 1);
  handles[row] = StoreText(*column.pool, utf8);
}

void Grid::AppendRow(const QStringList& cells) {
  if (cells.size() > Cols()) throw GridError("row has more cells than the grid has columns");
  SetRows(rows_ + 1);
  for (int c = 0; c < cells.size(); ++c) {
    Column& column = columns_[c];
    Writable(column, rows_)[rows_ - 1] = StoreText(*column.pool, cells[c].toUtf8());
  }
}

void Grid::AppendRowUtf8(const QByteArrayView* cells, int count, int first_col) {
  if (first_col < 0 || first_col + count > Cols())
    throw GridError("row has more cells than the grid has columns");
  for (int c = first_col; c < Cols(); ++c) {
    Column& column = columns_[c];
    const int k = c - first_col;
    // A column being filled row by row is already writable and as long as the grid.
    const bool ready = !column.shared && column.handles.use_count() == 1 &&
                       column.handles->size() == static_cast<std::size_t>(rows_);
    Handles& handles = ready ? *column.handles : Writable(column, rows_);
    handles.push_back(k < count ? StoreText(*column.pool, cells[k]) : 0);
  }
  ++rows_;
}

void Grid::AppendRowsOf(Grid&& tail) {
  if (tail.Cols() != Cols()) throw GridError("appended rows have another number of columns");
  for (int c = 0; c < Cols(); ++c) {
    Column from = std::exchange(tail.columns_[c], Column{});
    MakeOrdinary(from);
    if (from.handles->empty()) continue;  // rows past the handles are empty
    Column& column = columns_[c];
    Handles& handles = Writable(column, rows_);
    handles.resize(static_cast<std::size_t>(rows_));
    const std::uint64_t base = column.pool->size();
    if (base + from.pool->size() > kMaxPoolOffset)
      throw GridError("a column holds more text than a grid can");
    // The tail's arrays are taken over, their pages moved rather than copied, unless a
    // snapshot still reads them.
    auto taken = [](auto& shared) {
      return shared.use_count() == 1 ? std::move(*shared)
                                     : std::decay_t<decltype(*shared)>(*shared);
    };
    column.pool->AppendTaking(taken(from.pool));
    const std::uint64_t moved = base << kOffsetShift;
    handles.AppendTaking(taken(from.handles), [moved](std::uint64_t handle) {
      // A text in the pool moves with it; an empty or short one is the handle itself.
      return IsInPool(handle) ? handle + moved : handle;
    });
  }
  rows_ += tail.rows_;
}

void Grid::ShareColumnCells(int col, int first_row, const Grid& source, int source_col,
                            std::span<const std::int32_t> source_rows, QByteArrayView missing) {
  ShareColumnCells(col, first_row, source, source_col,
                   std::make_shared<const RowRefs>(source_rows.begin(), source_rows.end()),
                   missing);
}

void Grid::ShareColumnCells(int col, int first_row, const Grid& source, int source_col,
                            std::shared_ptr<const RowRefs> source_rows, QByteArrayView missing) {
  if (col < 0 || col >= Cols() || source_col < 0 || source_col >= source.Cols())
    throw GridError("column outside the grid");
  if (!source_rows || first_row < 0 ||
      first_row + static_cast<std::int64_t>(source_rows->size()) > rows_)
    throw GridError("rows outside the grid");
  Column from = source.columns_[source_col];
  MakeOrdinary(from);
  auto cells = std::make_shared<SharedCells>();
  cells->first_row = first_row;
  cells->count = static_cast<std::int64_t>(source_rows->size());
  cells->refs = std::move(source_rows);
  cells->source_handles = from.handles;
  cells->source_pool = from.pool;
  cells->source_rows = source.rows_;
  cells->missing = missing.toByteArray();
  KeepRowsAbove(col, first_row);
  columns_[col].shared = std::move(cells);
}

bool Grid::ShareSharedCells(int col, int first_row, const Grid& from, int from_col,
                            std::span<const int> from_rows) {
  if (col < 0 || col >= Cols() || from_col < 0 || from_col >= from.Cols())
    throw GridError("column outside the grid");
  if (first_row < 0 || first_row + static_cast<std::int64_t>(from_rows.size()) > rows_)
    throw GridError("rows outside the grid");
  const std::shared_ptr<const SharedCells>& shown = from.columns_[from_col].shared;
  if (!shown || !shown->refs) return false;
  auto refs = std::make_shared<RowRefs>();
  refs->reserve(from_rows.size());
  for (const int r : from_rows) {
    const std::int64_t i = std::int64_t{r} - shown->first_row;
    if (i < 0 || i >= shown->count) return false;
    refs->push_back((*shown->refs)[static_cast<std::size_t>(i)]);
  }
  auto cells = std::make_shared<SharedCells>(*shown);
  cells->first_row = first_row;
  cells->count = static_cast<std::int64_t>(refs->size());
  cells->refs = std::move(refs);
  KeepRowsAbove(col, first_row);
  columns_[col].shared = std::move(cells);
  return true;
}

void Grid::ShowRowNumbers(int col, int first_row, std::int64_t count) {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  if (first_row < 0 || count < 0 || first_row + count > rows_)
    throw GridError("rows outside the grid");
  auto cells = std::make_shared<SharedCells>();
  cells->first_row = first_row;
  cells->count = count;
  KeepRowsAbove(col, first_row);
  columns_[col].shared = std::move(cells);
}

void Grid::KeepRowsAbove(int col, int first_row) {
  Column& column = columns_[col];
  // Shared cells wholly at or below first_row are simply dropped; others become ordinary.
  if (column.shared && column.shared->first_row >= first_row) column.shared.reset();
  MakeOrdinary(column);
  if (static_cast<int>(column.handles->size()) > first_row) {
    if (column.handles.use_count() > 1) column.handles = std::make_shared<Handles>(*column.handles);
    column.handles->resize(static_cast<std::size_t>(first_row));
  }
}

QByteArrayView Grid::SharedSourceText(int col, std::int32_t r) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  const Column& column = columns_[col];
  if (!column.shared || !column.shared->refs) throw GridError("column shows no shared cells");
  return column.shared->SourceText(r);
}

std::optional<Grid::SharedRows> Grid::SharedRowsOf(int col) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  const Column& column = columns_[col];
  if (!column.shared || !column.shared->refs) return std::nullopt;
  return SharedRows{column.shared->refs.get(), column.shared->first_row,
                    column.shared->source_rows};
}

void Grid::SetRow(int row) {
  if (row < 0 || row >= rows_) throw GridError(Describe("current row", row, col_, rows_, Cols()));
  row_ = row;
}

void Grid::SetCol(int col) {
  if (col < 0 || col >= Cols())
    throw GridError(Describe("current column", row_, col, rows_, Cols()));
  col_ = col;
}

void Grid::SetRowSel(int row) {
  if (row < 0 || row >= rows_) throw GridError(Describe("selection row", row, col_, rows_, Cols()));
  row_sel_ = row;
}

void Grid::Sort(GridSortOrder order) {
  int lo = std::min(row_, row_sel_);
  int hi = std::max(row_, row_sel_);
  if (lo < 1) lo = 1;  // the fixed header row stays
  if (hi <= lo || col_ >= Cols()) return;
  const int n = hi - lo + 1;

  struct Key {
    bool is_number;
    bool ascii;  // a text of ASCII characters only
    double number;
    QByteArrayView text;
  };
  std::vector<Key> keys(static_cast<std::size_t>(n));
  for (auto& col : columns_) Writable(col, hi + 1);
  const Column& column = columns_[col_];
  for (int i = 0; i < n; ++i) {
    QByteArrayView v = View(*column.pool, (*column.handles)[lo + i]);
    if (order == GridSortOrder::kNumeric) {
      keys[i] = {true, true, LeadingNumber(v), v};
    } else {
      double d = 0;
      bool ok = ReadsAsNumber(v, &d);
      bool ascii = std::all_of(v.begin(), v.end(), [](char c) { return (c & 0x80) == 0; });
      keys[i] = {ok, ascii, d, v};
    }
  }
  // Texts compare without regard to case, then by code units. ASCII texts compare as bytes;
  // others as UTF-16, made once each when first needed.
  std::vector<QString> wide(static_cast<std::size_t>(n));
  auto wide_text = [&](int i) -> const QString& {
    if (wide[i].isNull()) wide[i] = QString::fromUtf8(keys[i].text);
    return wide[i];
  };
  auto text_less = [&](int a, int b) {
    if (keys[a].ascii && keys[b].ascii) {
      const QByteArrayView ta = keys[a].text, tb = keys[b].text;
      int ci = qstrnicmp(ta.data(), ta.size(), tb.data(), tb.size());
      if (ci != 0) return ci < 0;
      return std::string_view(ta.data(), ta.size()) < std::string_view(tb.data(), tb.size());
    }
    const QString& ta = wide_text(a);
    const QString& tb = wide_text(b);
    int ci = ta.compare(tb, Qt::CaseInsensitive);
    if (ci != 0) return ci < 0;
    return ta < tb;
  };
  std::vector<int> perm(static_cast<std::size_t>(n));
  std::iota(perm.begin(), perm.end(), 0);
  std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
    const Key& ka = keys[a];
    const Key& kb = keys[b];
    if (ka.is_number != kb.is_number) return ka.is_number;  // numbers before text
    if (ka.is_number) return ka.number < kb.number;
    return text_less(a, b);
  });

  std::vector<std::uint64_t> scratch(static_cast<std::size_t>(n));
  for (auto& col : columns_) {
    Handles& handles = *col.handles;
    for (int i = 0; i < n; ++i) scratch[i] = handles[lo + perm[i]];
    std::copy(scratch.begin(), scratch.end(), handles.begin() + lo);
  }
  if (!styles_.isEmpty()) {
    std::vector<int> new_place(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) new_place[perm[i]] = i;
    QHash<std::uint64_t, CellStyle> moved;
    for (auto it = styles_.cbegin(); it != styles_.cend(); ++it) {
      int r = static_cast<int>(it.key() >> 32);
      int c = static_cast<int>(it.key() & 0xFFFFFFFFu);
      if (r >= lo && r <= hi) r = lo + new_place[r - lo];
      moved.insert(StyleKey(r, c), it.value());
    }
    styles_ = std::move(moved);
  }
}

void Grid::SetTopRow(int row) {
  if (row < 1 || row >= std::max(rows_, 2)) throw GridError("top row outside the grid");
  top_row_ = row;
}

void Grid::SetLeftCol(int col) {
  if (col < 1 || col >= std::max(Cols(), 2)) throw GridError("left column outside the grid");
  left_col_ = col;
}

int Grid::LastVisibleRow() const {
  float space = control.rect.height - RowHeight(0);
  if (space <= 0 || rows_ <= 1) return top_row_ - 1;
  int shown = static_cast<int>(std::ceil(space / row_height_));
  return std::min(rows_ - 1, top_row_ + shown - 1);
}

int Grid::LastVisibleCol() const {
  float x = (Cols() > 0 ? ColWidth(0) : 0);
  int c = left_col_;
  int last = left_col_ - 1;
  while (c < Cols() && x < control.rect.width) {
    x += col_widths_[c];
    last = c;
    ++c;
  }
  return last;
}

bool Grid::RowIsVisible(int row) const {
  if (row == 0) return rows_ > 0 && control.rect.height > 0;
  return row >= top_row_ && row <= LastVisibleRow();
}

bool Grid::ColIsVisible(int col) const {
  if (col == 0) return Cols() > 0 && control.rect.width > 0;
  return col >= left_col_ && col <= LastVisibleCol();
}

void Grid::SetMouseCell(int row, int col) {
  mouse_row_ = row;
  mouse_col_ = col;
}

int Grid::RowAt(float y) const {
  if (rows_ == 0) return 0;
  float header = RowHeight(0);
  if (y < header || rows_ == 1) return 0;
  int r = top_row_ + static_cast<int>((y - header) / row_height_);
  return std::clamp(r, 0, rows_ - 1);
}

int Grid::ColAt(float x) const {
  if (Cols() == 0) return 0;
  float edge = ColWidth(0);
  if (x < edge || Cols() == 1) return 0;
  for (int c = left_col_; c < Cols(); ++c) {
    edge += col_widths_[c];
    if (x < edge) return c;
  }
  return Cols() - 1;
}

float Grid::RowHeight(int) const { return row_height_; }

void Grid::SetRowHeight(float height) {
  // Row positions divide by the height: a height of 0, below 0 or not a number is refused.
  if (!(height > 0)) throw GridError("row height must be above 0");
  row_height_ = height;
}

float Grid::RowPos(int row) const { return static_cast<float>(row) * row_height_; }

float Grid::ColWidth(int col) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  return col_widths_[col];
}

void Grid::SetColWidth(int col, float width) {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  col_widths_[col] = std::max(0.0f, width);
}

float Grid::ColPos(int col) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  float x = 0;
  for (int c = 0; c < col; ++c) x += col_widths_[c];
  return x;
}

float Grid::VisibleLeftOf(int col) const {
  if (col == 0) return 0;
  float x = ColWidth(0);
  if (col >= left_col_) {
    for (int c = left_col_; c < col; ++c) x += col_widths_[c];
  } else {
    for (int c = col; c < left_col_; ++c) x -= col_widths_[c];
  }
  return x;
}

float Grid::VisibleTopOf(int row) const {
  if (row == 0) return 0;
  return RowHeight(0) + static_cast<float>(row - top_row_) * row_height_;
}

float Grid::CellLeft() const { return VisibleLeftOf(col_); }
float Grid::CellTop() const { return VisibleTopOf(row_); }

Colour Grid::CellBackColour(int row, int col) const {
  CheckCell(row, col, "colour");
  auto it = styles_.constFind(StyleKey(row, col));
  return it == styles_.cend() ? kDefaultCellColour : it->back;
}

bool Grid::CellBold(int row, int col) const {
  CheckCell(row, col, "bold");
  auto it = styles_.constFind(StyleKey(row, col));
  return it != styles_.cend() && it->bold;
}

void Grid::SetStyle(int row, int col, const CellStyle& style) {
  if (style.back == kDefaultCellColour && !style.bold)
    styles_.remove(StyleKey(row, col));
  else
    styles_.insert(StyleKey(row, col), style);
}

void Grid::SetCellBackColourAt(int row, int col, Colour colour) {
  CheckCell(row, col, "colour");
  SetStyle(row, col, {colour, CellBold(row, col)});
}

void Grid::SetCellBoldAt(int row, int col, bool bold) {
  CheckCell(row, col, "bold");
  SetStyle(row, col, {CellBackColour(row, col), bold});
}

void Grid::SetCellBackColour(Colour colour) { SetCellBackColourAt(row_, col_, colour); }
void Grid::SetCellBold(bool bold) { SetCellBoldAt(row_, col_, bold); }

bool Grid::MergeCol(int col) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  return merge_[col];
}

void Grid::SetMergeCol(int col, bool merge) {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  merge_[col] = merge;
}

int Grid::ColumnKind(int col) const {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  return kinds_.empty() ? -1 : kinds_[col];
}

void Grid::SetColumnKind(int col, char16_t kind) {
  if (col < 0 || col >= Cols()) throw GridError("column outside the grid");
  if (kinds_.empty()) kinds_.assign(static_cast<std::size_t>(Cols()), -1);
  kinds_[col] = kind;
}

void Grid::CopySettingsFrom(const Grid& other) {
  control = other.control;
  default_col_width_ = other.default_col_width_;
  row_height_ = other.row_height_;
  if (Cols() > 0 && other.Cols() > 0) col_widths_[0] = other.col_widths_[0];
}

void Grid::ClearCells() {
  Grid fresh;
  fresh.CopySettingsFrom(*this);
  *this = std::move(fresh);
}

std::int64_t Grid::MemoryBytes() const {
  std::int64_t bytes = 0;
  for (const auto& column : columns_) {
    bytes += static_cast<std::int64_t>(column.handles->capacity() * sizeof(std::uint64_t)) /
             static_cast<std::int64_t>(column.handles.use_count());
    if (column.shared && column.shared->refs) {
      bytes += static_cast<std::int64_t>(column.shared->refs->capacity() * sizeof(std::int32_t)) /
               static_cast<std::int64_t>(column.shared->refs.use_count());
    }
    // A shared pool is counted by the grid that has it first.
    bytes += static_cast<std::int64_t>(column.pool->capacity()) /
             static_cast<std::int64_t>(column.pool.use_count());
  }
  return bytes;
}

}  // namespace mivora
