#include "tablefiles/HtmlTableLoading.h"

#include <QFile>

#include "canvas/ScrollBars.h"
#include "model/ColumnWidths.h"
#include "tablefiles/HtmlReader.h"
#include "tablefiles/TableNames.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// Parses into a table slot taken only when the text holds a table cell; shows the wait
// cursor and the progress, reports a failure. `path` empty for pasted text.
LoadResult ParseIntoNewSlot(Workspace& ws, QByteArrayView utf8, const QString& path,
                            const TwipRect& geometry) {
  ws.host.SetWaitCursor(true);
  LoadResult result;
  auto take_slot = [&]() -> Grid& {
    ws.tables.examples_menu_enabled = false;
    ws.tables.resume_menu_enabled = false;
    result.slot = AllocateSlot(ws, geometry.left, geometry.top, geometry.height, geometry.width);
    TableFileName(ws, path, result.slot);
    Grid& grid = ws.TableGrid(result.slot);
    grid.ClearCells();  // a reused slot keeps nothing of its former table
    return grid;
  };
  QString why;
  HtmlParseOutcome outcome = ParseHtmlTableText(
      utf8, take_slot,
      [&](std::int64_t done, std::int64_t total) { ws.host.ShowProgress(done, total); }, &why);
  ws.host.ShowProgress(0, 0);
  result.ok = outcome == HtmlParseOutcome::kFilled;
  if (result.slot != 0) {
    Grid& grid = ws.TableGrid(result.slot);
    if (!path.isEmpty()) grid.SetText(0, 0, TableNameFromPath(path));
    grid.SetRow(0);
    grid.SetCol(0);
    if (ws.measurer) FitColumnWidths(grid, *ws.measurer);
    UpdateTableHScroll(ws, result.slot);
    UpdateTableVScroll(ws, result.slot);
  }
  ws.host.SetWaitCursor(false);
  if (!result.ok) ws.host.ShowMessage(why.isEmpty() ? HtmlTableProblemMessage() : why);
  return result;
}

}  // namespace

LoadResult ReadHtmlFile(Workspace& ws, const QString& path, const TwipRect& geometry) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) {
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) bytes.clear();
  }
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    ws.host.ShowMessage(QStringLiteral("表ファイル「") + path +
                        QStringLiteral("」を開けません。\n") + file.errorString());
    return {};
  }
  file.close();
  QByteArray converted;
  QByteArrayView utf8 = HtmlFileTextAsUtf8(bytes, &converted);
  if (!converted.isEmpty()) bytes = QByteArray();  // only the converted text is needed
  return ParseIntoNewSlot(ws, utf8, path, geometry);
}

LoadResult ParseHtmlTable(Workspace& ws, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return ParseIntoNewSlot(ws, utf8, QString(), {});
}

}  // namespace mivora
