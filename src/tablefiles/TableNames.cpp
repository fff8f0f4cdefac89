#include "tablefiles/TableNames.h"

namespace mivora {

QString FileNameOf(const QString& path) {
  qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  return path.mid(cut + 1);
}

QString TableNameFromPath(const QString& path) {
  QString name = FileNameOf(path);
  qsizetype dot = name.indexOf(u'.');
  return dot < 0 ? name : name.left(dot);
}

TableFormat TableFormatForPath(const QString& path) {
  QString name = FileNameOf(path);
  // ".xls" is looked for first: "report.xls.htm" is a workbook.
  if (name.contains(QStringLiteral(".xls"), Qt::CaseInsensitive)) return TableFormat::kWorkbook;
  if (name.contains(QStringLiteral(".htm"), Qt::CaseInsensitive)) return TableFormat::kHtml;
  return TableFormat::kCsv;
}

}  // namespace mivora
