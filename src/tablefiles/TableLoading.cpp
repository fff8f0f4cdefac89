#include "tablefiles/TableLoading.h"

#include <QFile>
#include <sys/mman.h>

#include <algorithm>

#include "canvas/ScrollBars.h"
#include "tablefiles/CsvReader.h"
#include "tablefiles/HtmlTableLoading.h"
#include "tablefiles/ReadShortage.h"
#include "tablefiles/TableNames.h"
#include "tablefiles/WorkbookLoading.h"
#include "model/ColumnWidths.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// The whole content of a file, mapped when possible.
class FileContent {
 public:
  bool Open(const QString& path, QString* reason) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
      *reason = file_.errorString();
      return false;
    }
    if (file_.size() == 0) return true;
    if (uchar* p = file_.map(0, file_.size())) {
      view_ = QByteArrayView(reinterpret_cast<const char*>(p), file_.size());
      return true;
    }
    bytes_ = file_.readAll();
    if (bytes_.size() != file_.size()) {
      *reason = file_.errorString();
      return false;
    }
    view_ = bytes_;
    return true;
  }
  QByteArrayView View() const { return view_; }
  // Lets the system take back the mapped pages behind `done`: read pages of a mapped file
  // count in the program's memory, though the table holds its own copy. A `done` below the
  // last one starts a new pass over the text (the check of the whole text, then the parse).
  // A page used again is read from the file again, so this is safe at any point.
  void ReleaseBefore(std::int64_t done) const {
    if (bytes_.size() > 0 || view_.isEmpty()) return;
    if (done < last_done_) released_ = 0;
    last_done_ = done;
    char* base = const_cast<char*>(view_.data());
    const std::int64_t page = 1 << 21;
    const std::int64_t keep_from = (std::min<std::int64_t>(done, view_.size()) / page - 1) * page;
    if (keep_from > released_) {
      madvise(base + released_, static_cast<std::size_t>(keep_from - released_), MADV_DONTNEED);
      released_ = keep_from;
    }
  }

 private:
  QFile file_;
  QByteArray bytes_;
  QByteArrayView view_;
  mutable std::int64_t released_ = 0;
  mutable std::int64_t last_done_ = 0;
};

// Opens a table file; a file that cannot be opened is reported with its path and the reason.
bool OpenTableFile(Workspace& ws, const QString& path, FileContent* content) {
  QString reason;
  if (content->Open(path, &reason)) return true;
  ws.host.ShowMessage(QStringLiteral("表ファイル「") + path + QStringLiteral("」を開けません。\n") +
                      reason);
  return false;
}

bool ReadIntoSlot(Workspace& ws, const FileContent& content, const QString& path, int slot) {
  ws.tables.examples_menu_enabled = false;
  ws.tables.resume_menu_enabled = false;
  WaitCursor wait(ws.host);
  Grid& grid = ws.TableGrid(slot);
  CsvReader reader;
  TableReadResult result;
  if (!ReadDroppingOnShortage(ws, path, slot, [&] {
        result = reader.Read(
            content.View(), path, grid,
            [&](std::int64_t done, std::int64_t total) {
              content.ReleaseBefore(done);
              ws.host.ShowProgress(done, total);
            });
      }))
    return false;
  ws.host.ShowProgress(0, 0);
  if (ws.measurer) FitColumnWidths(grid, *ws.measurer);
  if (!result.notice.isEmpty()) ws.host.ShowMessage(result.notice);
  if (!result.ok) {
    ws.host.ShowMessage(result.message);
    ws.host.ShowFileProblem(path, result.failed_line);
    return false;
  }
  return true;
}

}  // namespace

QString OpenTableDialogTitle() {
  return QStringLiteral("                        表編集画面に新たな表を読み込む。");
}

QString OpenTableDialogFilter() { return QStringLiteral("すべてのファイル (*)"); }

LoadResult LoadTableFile(Workspace& ws, const QString& path, const TwipRect& geometry) {
  if (path.isEmpty()) return {};
  switch (TableFormatForPath(path)) {
    case TableFormat::kWorkbook:
      return LoadWorkbookTables(ws, path, geometry);
    case TableFormat::kHtml:
      return ReadHtmlFile(ws, path, geometry);
    case TableFormat::kCsv:
      break;
  }
  FileContent content;
  if (!OpenTableFile(ws, path, &content)) return {};
  LoadResult result;
  result.slot = AllocateSlot(ws, geometry.left, geometry.top, geometry.height, geometry.width);
  TableFileName(ws, path, result.slot);
  result.ok = ReadIntoSlot(ws, content, path, result.slot);
  if (!ws.tables.slots[result.slot].frame.visible) return {};  // dropped for want of memory
  UpdateTableHScroll(ws, result.slot);
  UpdateTableVScroll(ws, result.slot);
  return result;
}

void ChooseAndLoadTable(Workspace& ws) {
  QString dir = ws.table_dialog_folders.DialogFolder();
  QString chosen = ws.host.ChooseOpenFile(OpenTableDialogTitle(), OpenTableDialogFilter(), dir);
  ws.table_dialog_folders.Remember(chosen);
  if (chosen.isEmpty()) return;
  WaitCursor wait(ws.host);
  LoadTableFile(ws, chosen, {});
}

}  // namespace mivora
