#include "tablefiles/TableNames.h"

#include <QFileInfo>
#include <QRegularExpression>

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
  if (name.contains(QStringLiteral(".htm"), Qt::CaseInsensitive)) return TableFormat::kHtml;
  if (name.contains(QStringLiteral(".xls"), Qt::CaseInsensitive)) return TableFormat::kWorkbook;
  return TableFormat::kCsv;
}

QString JoinWorkbookField(const QString& book, const QString& sheet) {
  return book + u'+' + sheet;
}

void SplitWorkbookField(const QString& field, QString* book, QString* sheet) {
  // Sheet names cannot hold "/" or "\", so the workbook's file name starts after the last one.
  const qsizetype name_start = std::max(field.lastIndexOf(u'/'), field.lastIndexOf(u'\\')) + 1;
  static const QRegularExpression ending(QStringLiteral("\\.xls[xm]?\\+"),
                                         QRegularExpression::CaseInsensitiveOption);
  qsizetype split = -1;
  for (QRegularExpressionMatchIterator it = ending.globalMatch(field, name_start); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const qsizetype plus = m.capturedEnd() - 1;
    if (split < 0) split = plus;
    if (QFileInfo(field.left(plus)).isFile()) {  // an existing workbook settles it
      split = plus;
      break;
    }
  }
  if (split < 0) {
    *book = field;
    sheet->clear();
    return;
  }
  *book = field.left(split);
  *sheet = field.mid(split + 1);
}

}  // namespace mivora
