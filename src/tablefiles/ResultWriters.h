#pragma once

#include <QString>

namespace mivora {

class Workspace;

// The result grid written to a file. With an empty path each asks for a file first (the
// Result window's commands); the resume and batch runs pass a path. True when the file was
// written; failures are shown through the Host and leave any old file as it was.
bool WriteResultCsv(Workspace& ws, const QString& path = QString());
bool WriteResultHtml(Workspace& ws, const QString& path = QString());
// Into a worksheet of a workbook; with an empty path asks for the workbook and the sheet.
bool WriteResultWorkbook(Workspace& ws, const QString& path = QString(),
                         const QString& sheet = QString());

// Asks for a workbook (a new name after a Yes to "create it?") and, when it holds several
// worksheets, for one of them; then writes the result there.
bool ChooseResultWorkbook(Workspace& ws);

// Store-or-query: "?" gives the stored value, anything else replaces it (and is given back).
QString LastResultFile(Workspace& ws, const QString& value);
QString LastResultSheet(Workspace& ws, const QString& value);

// Titles and filters of the save dialogs.
QString ResultFileDialogTitle();
QString ResultWorkbookDialogTitle();
QString CsvResultFilter();
QString HtmlResultFilter();
QString WorkbookResultFilter();

}  // namespace mivora
