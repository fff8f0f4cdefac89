#include "tablefiles/XlsWorkbook.h"

namespace mivora {

std::unique_ptr<Workbook> OpenXlsWorkbook(const QString& path, QString* reason) {
  (void)path;
  *reason = QStringLiteral("旧形式 (.xls) のブックはまだ読めません。");
  return nullptr;
}

}  // namespace mivora
