#include "search/RelatedRows.h"

#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr Colour kClickedColour = Rgb(255, 128, 128);
constexpr Colour kReachedColour = Rgb(255, 128, 255);

// mode 0: the clicked cell (toggle); a table slot (4 or more) while colouring, the negated
// slot while clearing. The slot in mode is the table this call came from.
void Trace(Workspace& ws, int table, int row, int column, int mode) {
  if (!ws.tables.IsTableSlot(table)) return;
  Grid& grid = ws.TableGrid(table);
  if (row < 0 || row >= grid.Rows() || column < 0 || column >= grid.Cols()) return;
  int m = mode;
  if (m != 0) {
    grid.SetCellBackColourAt(row, column, m >= 4 ? kReachedColour : kDefaultCellColour);
  } else if (grid.CellBackColour(row, column) != kDefaultCellColour) {
    grid.SetCellBackColourAt(row, column, kDefaultCellColour);
    m = -table;
  } else {
    grid.SetCellBackColourAt(row, column, kClickedColour);
    m = table;
  }
  Join j;
  for (int n = 1; ReadJoin(ws, n, j) != -1; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    const std::optional<Join::Sides> sides = j.SidesFrom(table);
    if (!sides) continue;
    const int this_column = sides->this_column;
    const int other = sides->other.table;
    const int other_column = sides->other.column;
    if (this_column < 0 || this_column >= grid.Cols()) continue;
    grid.SetCellBackColourAt(row, this_column, m >= 4 ? kReachedColour : kDefaultCellColour);
    if (m + other == 0 || m == other) continue;
    if (!ws.tables.IsTableSlot(other)) continue;
    const Grid& other_grid = ws.TableGrid(other);
    if (other_column < 0 || other_column >= other_grid.Cols()) continue;
    const QByteArray key = grid.TextUtf8(row, this_column).toByteArray();
    const int next_mode = m >= 4 ? table : -table;
    for (int i = 1; i < other_grid.Rows(); ++i) {
      if (other_grid.TextUtf8(i, other_column) == key) Trace(ws, other, i, other_column, next_mode);
    }
  }
}

}  // namespace

void TraceRelatedRows(Workspace& ws, int table, int row, int column) {
  Trace(ws, table, row, column, 0);
}

}  // namespace mivora
