#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "model/CellHandle.h"
#include "model/Colours.h"
#include "model/Control.h"
#include "model/LargeVector.h"

namespace mivora {

// A cell address outside the grid, or another misuse of the grid's operations.
class GridError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

enum class GridSortOrder {
  kGeneric,  // values that read as numbers compare as numbers (before text), others as text
  kNumeric,  // every value read as a number; text that is no number reads as 0
};

// The model of one grid control: the only copy of a table's cells, its current cell,
// scrolling position, per-cell colour and bold, per-column merge flag, and the row heights
// and column widths in twips. Row 0 and column 0 are the fixed header row and column.
//
// Cells are kept as UTF-8, addressed by one 64-bit handle per cell: a text of up to seven
// bytes (or of eight ASCII ones) lives in its handle, a longer one in the column's
// append-only text pool. So a million-row table of short cells costs little more than its
// file, and appending a row is amortised O(1). Text once written is never changed in place
// (a new text is appended), so another grid may share a column's pool and show its cells
// without copying them. A column's handles are shared copy-on-write with its snapshots and
// with the columns that show its cells; rows past the end of a column's handles are empty,
// so growing a grid costs nothing until its new cells are written. A view of a cell's text
// is valid until the next write to its column.
class Grid {
 public:
  Grid();

  // The control's own geometry inside its window frame.
  Control control;

  int Rows() const { return rows_; }
  int Cols() const { return static_cast<int>(columns_.size()); }
  // Growing adds empty cells and keeps every existing one; shrinking drops the cells beyond.
  void SetRows(int rows);
  void SetCols(int cols);
  // Reserves room for rows, and for text bytes in every column, ahead of a bulk fill.
  void Reserve(int rows, std::int64_t text_bytes_per_column);
  void ReserveColumnText(int col, std::int64_t text_bytes);
  // Gives back the spare capacity after a bulk fill.
  void Squeeze();

  QString Text(int row, int col) const;
  QByteArrayView TextUtf8(int row, int col) const;
  // Asks the processor to fetch a row's cells ahead of reading them: their handles, or with
  // `texts` the texts the handles point to (so the handles are best fetched a few rows earlier).
  void PrefetchRow(int row, bool texts) const;
  bool IsEmpty(int row, int col) const;
  void SetText(int row, int col, const QString& text);
  void SetTextUtf8(int row, int col, QByteArrayView utf8);

  // Appends a row; cells[0] goes to column 0. Missing cells stay empty; more cells than
  // columns is a GridError.
  void AppendRow(const QStringList& cells);
  // Columns before first_col are left empty (see ShowRowNumbers). The cells must not be views
  // of this grid's own texts.
  void AppendRowUtf8(const QByteArrayView* cells, int count, int first_col = 0);

  // Appends every row of `tail`, a grid of as many columns filled by appending rows; its
  // texts are copied into this grid's pools, its short texts travel in their handles. Each
  // column of `tail` is emptied once copied, so the two are never both whole.
  void AppendRowsOf(Grid&& tail);

  // Source row numbers, one per shown row.
  using RowRefs = LargeVector<std::int32_t>;

  // Makes column col show, from row first_row on, the cells of another grid's column at the
  // given source rows (source row 0 gives the `missing` text, a negative one an empty cell).
  // Nothing is copied: the column refers to the source column's cells as they are now, so
  // later changes to the source grid (new texts, sorting, a new table in its place) do not
  // change what this column shows. The rows must lie inside the grid. Writing to the column
  // (or sorting, or shrinking the grid) first turns it into an ordinary column.
  void ShareColumnCells(int col, int first_row, const Grid& source, int source_col,
                        std::shared_ptr<const RowRefs> source_rows, QByteArrayView missing);
  void ShareColumnCells(int col, int first_row, const Grid& source, int source_col,
                        std::span<const std::int32_t> source_rows, QByteArrayView missing);
  // Makes column col show, from row first_row on, what column from_col of `from` shows at the
  // given rows, when that column shows another grid's cells through ShareColumnCells at all
  // of them: the new column then refers to those cells too, and nothing is copied. False
  // (and nothing changed) otherwise.
  bool ShareSharedCells(int col, int first_row, const Grid& from, int from_col,
                        std::span<const int> from_rows);
  // Makes column col show the numbers 1, 2, ... count from row first_row on, without storing
  // a text per row until the column is written to.
  void ShowRowNumbers(int col, int first_row, std::int64_t count);

  // For a column filled by ShareColumnCells: row first_row + i shows source row (*refs)[i] of
  // a grid of source_rows rows. The same source row always shows the same text.
  struct SharedRows {
    const RowRefs* refs = nullptr;
    int first_row = 0;
    int source_rows = 0;
  };
  std::optional<SharedRows> SharedRowsOf(int col) const;
  // What such a column shows for source row r: row 0 the no-match text, rows outside the
  // source (a negative one too) an empty cell.
  QByteArrayView SharedSourceText(int col, std::int32_t r) const;

  // Current cell and selection end row (the last row of a sort range).
  // The cells of a column from first_row down as they are now. The texts stay in the column's
  // append-only pool, so later changes to the grid do not show in a snapshot.
  class ColumnCells;
  ColumnCells SnapshotColumn(int col, int first_row) const;

  int Row() const { return row_; }
  int Col() const { return col_; }
  void SetRow(int row);
  void SetCol(int col);
  QString CurrentText() const { return Text(row_, col_); }
  void SetCurrentText(const QString& text) { SetText(row_, col_, text); }
  int RowSel() const { return row_sel_; }
  void SetRowSel(int row);

  // Sorts the rows from the current row to the selection end row (either order) by the
  // current column, ascending; equal keys keep their order. Cell colours move with their rows.
  void Sort(GridSortOrder order);

  // Scrolling: the first data row and data column shown after the fixed ones.
  int TopRow() const { return top_row_; }
  int LeftCol() const { return left_col_; }
  void SetTopRow(int row);
  void SetLeftCol(int col);
  bool RowIsVisible(int row) const;
  bool ColIsVisible(int col) const;
  // The last data row and column that are at least partly in view.
  int LastVisibleRow() const;
  int LastVisibleCol() const;

  // The cell under the mouse, as of the last mouse event over the grid.
  int MouseRow() const { return mouse_row_; }
  int MouseCol() const { return mouse_col_; }
  void SetMouseCell(int row, int col);
  // The row and column at a point of the visible area (twips); the nearest cell beyond the edge.
  int RowAt(float y) const;
  int ColAt(float x) const;

  // Geometry in twips. Positions are measured in the whole (unscrolled) grid.
  float RowHeight(int row) const;
  void SetRowHeight(float height);  // every row; a height not above 0 is a GridError
  float RowPos(int row) const;
  float ColWidth(int col) const;
  void SetColWidth(int col, float width);
  float ColPos(int col) const;
  // The current cell's place relative to the grid's visible area (scrolling applied).
  float CellLeft() const;
  float CellTop() const;
  float CellWidth() const { return ColWidth(col_); }
  float CellHeight() const { return RowHeight(row_); }
  // Left and top of any cell in the visible area (scrolling applied).
  float VisibleLeftOf(int col) const;
  float VisibleTopOf(int row) const;

  // Per-cell background colour (0 = default) and bold flag.
  Colour CellBackColour(int row, int col) const;
  bool CellBold(int row, int col) const;
  void SetCellBackColour(Colour colour);  // current cell
  void SetCellBold(bool bold);            // current cell
  void SetCellBackColourAt(int row, int col, Colour colour);
  void SetCellBoldAt(int row, int col, bool bold);

  // Whether equal adjacent cells of a column are shown merged.
  bool MergeCol(int col) const;
  void SetMergeCol(int col, bool merge);

  // A column's kind, set by the grid's maker (the joined grid marks its condition and join
  // columns so they are told apart without reading their headers); -1 where none was set.
  int ColumnKind(int col) const;
  void SetColumnKind(int col, char16_t kind);

  // Empties the grid to one row and one column, keeping its settings; the room its texts took
  // is given back (another grid sharing them keeps them).
  void ClearCells();

  // Copies the settings (geometry, colours, row height, default column width) but no cells.
  void CopySettingsFrom(const Grid& other);

  float DefaultColWidth() const { return default_col_width_; }

  // Bytes held for cell texts and handles, for the memory benchmark.
  std::int64_t MemoryBytes() const;

 private:
  struct CellStyle {
    Colour back = 0;
    bool bold = false;
  };
  static std::uint64_t StyleKey(int row, int col) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) |
           static_cast<std::uint32_t>(col);
  }
  using Pool = LargeVector<char>;
  using Handles = LargeVector<std::uint64_t>;
  struct SharedCells;
  struct Column {
    // handles[row]; rows past the end are empty. Shared with snapshots, copied before a write.
    std::shared_ptr<Handles> handles = std::make_shared<Handles>();
    std::shared_ptr<Pool> pool = std::make_shared<Pool>();  // UTF-8 texts, append only
    // When set, the rows from shared->first_row on show these cells instead.
    std::shared_ptr<const SharedCells> shared;
  };

  void CheckCell(int row, int col, const char* what) const;
  static std::uint64_t StoreText(Pool& pool, QByteArrayView utf8);
  // The text of a handle; a short text is read from the handle itself, so the view is valid
  // as long as the handle stays where it is.
  static QByteArrayView View(const Pool& pool, const std::uint64_t& handle);
  static const std::uint64_t& HandleAt(const Column& column, std::int64_t row) {
    static constexpr std::uint64_t kEmpty = 0;
    const Handles& h = *column.handles;
    return row < static_cast<std::int64_t>(h.size()) ? h[static_cast<std::size_t>(row)] : kEmpty;
  }
  QByteArrayView CellText(const Column& column, int row) const;
  // The column's own handles, for writing: shared cells made ordinary, the handles unshared
  // and at least `rows` long.
  Handles& Writable(Column& column, int rows);
  static void MakeOrdinary(Column& column);
  // Empties a column from first_row on, keeping the cells above.
  void KeepRowsAbove(int col, int first_row);
  void SetStyle(int row, int col, const CellStyle& style);

  int rows_ = 0;
  std::vector<Column> columns_;
  QHash<std::uint64_t, CellStyle> styles_;
  std::vector<bool> merge_;
  std::vector<int> kinds_;  // empty until a kind is set
  std::vector<float> col_widths_;
  float default_col_width_;
  float row_height_;
  int row_ = 0, col_ = 0, row_sel_ = 0;
  int top_row_ = 1, left_col_ = 1;
  int mouse_row_ = 0, mouse_col_ = 0;
};

inline QByteArrayView Grid::View(const Pool& pool, const std::uint64_t& handle) {
  using namespace cell_handle;
  if (handle == 0) return {};
  if (IsShortInline(handle)) {
    return QByteArrayView(reinterpret_cast<const char*>(&handle) + 1,
                          static_cast<qsizetype>((handle >> kLengthShift) & 7));
  }
  if (!(handle & kPoolMark)) return QByteArrayView(reinterpret_cast<const char*>(&handle), 8);
  std::uint64_t offset = (handle & ~kPoolMark) >> kOffsetShift;
  std::uint64_t length = (handle >> kLengthShift) & kLengthMask;
  if (length == kLongText) {
    std::memcpy(&length, pool.data() + offset, 8);
    offset += 8;
  }
  return QByteArrayView(pool.data() + offset, static_cast<qsizetype>(length));
}

class Grid::ColumnCells {
 public:
  ColumnCells() = default;
  std::int64_t Size() const { return size_; }
  // Position i from 0 (grid row first_row + i).
  QByteArrayView TextUtf8(std::int64_t i) const {
    const std::int64_t at = first_ + i;
    return at < static_cast<std::int64_t>(handles_->size())
               ? View(*pool_, (*handles_)[static_cast<std::size_t>(at)])
               : QByteArrayView();
  }
  // Position i's handle (0 past the end), and the text of a handle of this column: a short
  // text is read from the handle itself, so its view is valid while the handle stays put.
  std::uint64_t HandleAt(std::int64_t i) const {
    const std::int64_t at = first_ + i;
    return at < static_cast<std::int64_t>(handles_->size())
               ? (*handles_)[static_cast<std::size_t>(at)]
               : 0;
  }
  QByteArrayView TextOf(const std::uint64_t& handle) const { return View(*pool_, handle); }

 private:
  friend class Grid;
  std::shared_ptr<const Pool> pool_;
  std::shared_ptr<const Handles> handles_;
  std::int64_t first_ = 0;
  std::int64_t size_ = 0;
};

}  // namespace mivora
