#include "tablefiles/WorkbookLoading.h"

#include <QFileInfo>

#include "canvas/ScrollBars.h"
#include "model/ColumnWidths.h"
#include "tablefiles/TableNames.h"
#include "tablefiles/Workbook.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool ReadSheetIntoSlot(Workspace& ws, Workbook& book, int index, const QString& book_path,
                       const TwipRect& geometry, int* slot) {
  const QString name = book.SheetNames().at(index);
  *slot = AllocateSlot(ws, geometry.left, geometry.top, geometry.height, geometry.width);
  TableFileName(ws, JoinWorkbookField(book_path, name), *slot);
  ws.tables.examples_menu_enabled = false;
  ws.tables.resume_menu_enabled = false;
  Grid& grid = ws.TableGrid(*slot);
  TableReadResult result = book.ReadSheet(index, grid, [&](std::int64_t done, std::int64_t total) {
    ws.host.ShowProgress(done, total);
  });
  ws.host.ShowProgress(0, 0);
  if (ws.measurer) FitColumnWidths(grid, *ws.measurer);
  UpdateTableHScroll(ws, *slot);
  UpdateTableVScroll(ws, *slot);
  if (!result.ok) {
    ws.host.ShowMessage(result.message);
    return false;
  }
  return true;
}

}  // namespace

LoadResult LoadWorkbookTables(Workspace& ws, const QString& field, const TwipRect& geometry) {
  QString book_path, sheet;
  SplitWorkbookField(field, &book_path, &sheet);
  WaitCursor wait(ws.host);
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(book_path, &reason);
  if (!book) {
    ws.host.ShowMessage(QStringLiteral("表ファイル「") + book_path +
                        QStringLiteral("」を開けません。\n") + reason);
    return {};
  }
  const QString full_path = QFileInfo(book_path).absoluteFilePath();
  const QStringList names = book->SheetNames();
  LoadResult result;
  if (!sheet.isEmpty()) {
    const int index = static_cast<int>(names.indexOf(sheet));
    if (index < 0) {
      ws.host.ShowMessage(QStringLiteral("ワークシート「") + sheet +
                          QStringLiteral("」がありません。"));
      return {};
    }
    result.ok = ReadSheetIntoSlot(ws, *book, index, full_path, geometry, &result.slot);
    return result;
  }
  result.ok = true;
  for (int i = 0; i < names.size(); ++i) {
    if (book->SheetIsEmpty(i)) continue;
    if (!ReadSheetIntoSlot(ws, *book, i, full_path, {}, &result.slot)) {
      result.ok = false;
      break;
    }
  }
  return result;
}

}  // namespace mivora
