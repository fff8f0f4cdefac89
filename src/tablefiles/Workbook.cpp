#include "tablefiles/Workbook.h"

#include <QFile>

#include "model/Grid.h"
#include "tablefiles/XlsWorkbook.h"
#include "tablefiles/XlsxWorkbook.h"

namespace mivora {

QString WorkbookRowProblemMessage(int row) {
  return QStringLiteral("Excel ワークシートの ") + QString::number(row) +
         QStringLiteral(" 行目に問題があります。");
}

void FinishWorksheetGrid(Grid& grid, const QString& name) {
  grid.SetRow(0);
  grid.SetCol(0);
  grid.SetCurrentText(name);
  for (int c = 1; c < grid.Cols(); ++c) grid.SetMergeCol(c, true);
  grid.Squeeze();
}

std::unique_ptr<Workbook> OpenWorkbook(const QString& path, QString* reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = file.errorString();
    return nullptr;
  }
  const QByteArray head = file.read(8);
  file.close();
  if (head.startsWith("PK\x03\x04")) return OpenXlsxWorkbook(path, reason);
  if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
    return OpenXlsWorkbook(path, reason);
  *reason = QStringLiteral("Excel のブックではありません。");
  return nullptr;
}

}  // namespace mivora
