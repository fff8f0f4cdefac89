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

}  // namespace mivora
