#pragma once

#include <QString>

#include "tablefiles/ResultWriter.h"

namespace mivora {

class Grid;

// True when the name says legacy .xls, a format this program reads but never writes.
bool IsLegacyWorkbookName(const QString& path);

// Writes the result into the named worksheet of the workbook at path: a new workbook when no
// file is there, else the existing one updated in place. Gives the worksheet written.
WriteResult WriteWorkbookResult(const Grid& grid, const QString& path, const QString& sheet,
                                QString* written_sheet);

// A new workbook holding the grid in one worksheet, written under a temporary name beside the
// target and then renamed.
class NewWorkbookWriter : public ResultWriter {
 public:
  explicit NewWorkbookWriter(QString sheet) : sheet_(std::move(sheet)) {}
  WriteResult Write(const Grid& grid, const QString& path) override;

 private:
  QString sheet_;
};

// Text of a cell that a workbook holds as a number: the reader's General form of it.
bool IsGeneralNumberText(const QString& text, double* value);

}  // namespace mivora
