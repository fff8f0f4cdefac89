#include "tablefiles/ResultWriters.h"

#include <QFileInfo>

#include "tablefiles/CsvWriter.h"
#include "tablefiles/HtmlWriter.h"
#include "tablefiles/Workbook.h"
#include "tablefiles/WorkbookWriter.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// A typed file name without an ending gets the format's own.
QString WithEnding(const QString& path, const QString& ending) {
  if (path.isEmpty() || QFileInfo(path).fileName().contains(u'.')) return path;
  return path + ending;
}

QString AskForResultFile(Workspace& ws, FolderMemory& folders, const QString& filter,
                         const QString& ending) {
  const QString dir = folders.DialogFolder();
  QString chosen = ws.host.ChooseSaveFile(ResultFileDialogTitle(), filter, dir);
  folders.Remember(chosen);
  return WithEnding(chosen, ending);
}

bool WriteWith(Workspace& ws, ResultWriter& writer, const QString& path) {
  WriteResult result;
  {
    WaitCursor wait(ws.host);
    result = writer.Write(ws.result.ResultGrid(), path);
  }
  if (!result.ok) {
    ws.host.ShowMessage(result.message);
    return false;
  }
  ws.last_result_file = path;
  ws.last_result_sheet.clear();
  return true;
}

QString StoreOrQuery(QString& stored, const QString& value) {
  if (value != QStringLiteral("?")) stored = value;
  return stored;
}

// The worksheet of an existing workbook to write into: its only sheet, or the user's choice.
// Empty when the user cancelled or the workbook cannot be read (then reported).
QString ChooseSheetOf(Workspace& ws, const QString& path, bool* cancelled) {
  QString reason;
  std::unique_ptr<Workbook> book = OpenWorkbook(path, &reason);
  if (!book) {
    ws.host.ShowMessage(QStringLiteral("ファイル「") + path + QStringLiteral("」を開けません。\n") +
                        reason);
    *cancelled = true;
    return {};
  }
  QStringList names = book->SheetNames();
  for (QString& n : names) n = n.trimmed();
  if (names.isEmpty()) return QStringLiteral("Sheet1");
  if (names.size() == 1) return names.front();
  for (;;) {
    const int choice = ws.host.ChooseSheet(names);
    if (choice == Host::kSheetChoiceCancelled) {
      *cancelled = true;
      return {};
    }
    if (choice >= 0 && choice < names.size()) return names.at(choice);
    ws.host.ShowMessage(QStringLiteral("ワークシートを選択してください。"));
  }
}

}  // namespace

QString ResultFileDialogTitle() {
  return QString(26, u' ') + QStringLiteral("検索結果をファイルに保存する。");
}

QString ResultWorkbookDialogTitle() {
  return QString(26, u' ') + QStringLiteral("検索結果を Excel ファイルに書き込む。");
}

QString CsvResultFilter() { return QStringLiteral("CSV File (*.csv);;すべてのファイル (*)"); }

QString HtmlResultFilter() {
  return QStringLiteral("HTML File (*.htm *.html);;すべてのファイル (*)");
}

QString WorkbookResultFilter() { return QStringLiteral("Excel File (*.xlsx *.xlsm *.xls)"); }

bool WriteResultCsv(Workspace& ws, const QString& path) {
  QString target = path;
  if (target.isEmpty()) {
    target = AskForResultFile(ws, ws.csv_result_folders, CsvResultFilter(), QStringLiteral(".csv"));
    if (target.isEmpty()) return false;
  }
  CsvWriter writer;
  return WriteWith(ws, writer, target);
}

bool WriteResultHtml(Workspace& ws, const QString& path) {
  QString target = path;
  if (target.isEmpty()) {
    target =
        AskForResultFile(ws, ws.html_result_folders, HtmlResultFilter(), QStringLiteral(".htm"));
    if (target.isEmpty()) return false;
  }
  HtmlWriter writer;
  return WriteWith(ws, writer, target);
}

bool ChooseResultWorkbook(Workspace& ws) {
  for (;;) {
    FolderMemory& folders = ws.workbook_result_folders;
    const QString dir = folders.DialogFolder();
    QString chosen = ws.host.ChooseSaveFileNoOverwritePrompt(ResultWorkbookDialogTitle(),
                                                             WorkbookResultFilter(), dir);
    folders.Remember(chosen);
    chosen = WithEnding(chosen, QStringLiteral(".xlsx"));
    if (chosen.isEmpty()) return false;
    if (!QFileInfo::exists(chosen)) {
      if (!ws.host.AskYesNo(QStringLiteral("入力したファイル名は存在しません。　作成しますか。")))
        continue;
      return WriteResultWorkbook(ws, chosen, QStringLiteral("Sheet1"));
    }
    if (IsLegacyWorkbookName(chosen)) return WriteResultWorkbook(ws, chosen, QString());
    bool cancelled = false;
    QString sheet;
    {
      WaitCursor wait(ws.host);
      sheet = ChooseSheetOf(ws, chosen, &cancelled);
    }
    if (cancelled) return false;
    return WriteResultWorkbook(ws, chosen, sheet);
  }
}

bool WriteResultWorkbook(Workspace& ws, const QString& path, const QString& sheet) {
  if (path.isEmpty()) return ChooseResultWorkbook(ws);
  WriteResult result;
  QString written_sheet;
  {
    WaitCursor wait(ws.host);
    result = WriteWorkbookResult(ws.result.ResultGrid(), path, sheet, &written_sheet);
  }
  if (!result.ok) {
    ws.host.ShowMessage(result.message);
    return false;
  }
  ws.last_result_file = path;
  ws.last_result_sheet = written_sheet;
  if (!ws.host.IsBatch()) ws.host.OpenDocument(QFileInfo(path).absoluteFilePath());
  return true;
}

QString LastResultFile(Workspace& ws, const QString& value) {
  return StoreOrQuery(ws.last_result_file, value);
}

QString LastResultSheet(Workspace& ws, const QString& value) {
  return StoreOrQuery(ws.last_result_sheet, value);
}

}  // namespace mivora
