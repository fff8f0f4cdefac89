#include "search/ReportColumns.h"

#include <QStringList>

#include "conditions/SqlText.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

void ToggleReportColumn(Workspace& ws, int table, int column) {
  if (!ws.tables.IsTableSlot(table)) return;
  Grid& grid = ws.TableGrid(table);
  if (grid.Rows() < 1 || column < 0 || column >= grid.Cols()) return;
  grid.SetCol(column);
  grid.SetRow(0);
  auto& slots = ws.search.report_columns;
  const ColumnRef wanted{table, column};
  int held = 0;
  int first_free = 0;
  for (int i = 1; i <= kReportSlots; ++i) {
    if (slots[i] == wanted) {
      held = i;
      break;
    }
    if (first_free == 0 && slots[i].table == 0) first_free = i;
  }
  if (held != 0) {
    slots[held] = ColumnRef{};
    grid.SetCellBoldAt(0, column, false);
  } else {
    if (first_free == 0) return;
    slots[first_free] = wanted;
    grid.SetCellBoldAt(0, column, true);
  }
  RebuildSelectText(ws);
}

void RemoveReportColumns(Workspace& ws, int table) {
  for (int i = 1; i <= kReportSlots; ++i) {
    if (ws.search.report_columns[i].table == table) ws.search.report_columns[i] = ColumnRef{};
  }
  RebuildSelectText(ws);
}

std::optional<ColumnRef> ReadReportColumn(const Workspace& ws, int n) {
  if (n < 1 || n > kReportSlots) return std::nullopt;
  return ws.search.report_columns[n];
}

QString SelectTextPiece(const Workspace& ws) {
  const QString crlf = QStringLiteral("\r\n");
  const QString separator = QStringLiteral(" , ");
  QString text = QStringLiteral("Select ") + crlf;
  QStringList names;
  for (int i = 1; i <= kReportSlots; ++i) {
    const ColumnRef& r = ws.search.report_columns[i];
    if (r.table == 0) continue;
    text += TableName(ws, r.table) + u'.' + ColumnName(ws, r.table, r.column) + separator;
    names.push_back(TableName(ws, r.table));
  }
  if (names.isEmpty()) return text;
  text.chop(3);
  text += crlf + QStringLiteral(" From ") + crlf;
  QStringList listed;
  for (const QString& name : names) {
    if (listed.contains(name)) continue;
    listed.push_back(name);
    text += name + separator;
  }
  text.chop(3);
  return text;
}

void RebuildSelectText(Workspace& ws) {
  const QString unchanged = QStringLiteral("-");
  SetSqlTextPart(ws, SelectTextPiece(ws), unchanged, unchanged);
}

}  // namespace mivora
