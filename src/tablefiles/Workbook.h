#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "tablefiles/TableReader.h"

namespace mivora {

class Grid;

// An open workbook: its worksheet names in order (chart sheets are not listed) and reading
// one worksheet into a table grid. The used range runs from A1 to the last row and column
// holding a value; sheet row 1 becomes the header row 0, cell (0, 0) the worksheet's name.
class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual QStringList SheetNames() const = 0;
  // Reads worksheet `index` (0-based, into SheetNames()). A failure midway keeps the rows read
  // and reports the row reached.
  virtual TableReadResult ReadSheet(int index, Grid& grid, const ReadProgress& progress) = 0;
  // True when the sheet holds no value at all.
  virtual bool SheetIsEmpty(int index) = 0;
};

// Opens a workbook, its format told by the first bytes (a zip archive or an OLE2 container),
// not by its name. Null and a plain reason when it cannot be read.
std::unique_ptr<Workbook> OpenWorkbook(const QString& path, QString* reason);

// The message for a worksheet that failed at a grid row.
QString WorkbookRowProblemMessage(int row);

// Ends a completely read worksheet's grid as every table's: the sheet's name in cell (0, 0),
// equal neighbours merged in the data columns, spare room given back.
void FinishWorksheetGrid(Grid& grid, const QString& name);

}  // namespace mivora
