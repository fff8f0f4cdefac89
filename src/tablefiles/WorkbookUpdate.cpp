#include "tablefiles/WorkbookUpdate.h"

namespace mivora {

WriteResult UpdateWorkbookInPlace(const Grid& grid, const QString& path, const QString& sheet,
                                  QString* written_sheet) {
  (void)grid;
  (void)sheet;
  (void)written_sheet;
  return {false, CannotWriteMessage(path, QStringLiteral("既存のブックへの書き込みはまだできません。"))};
}

}  // namespace mivora
