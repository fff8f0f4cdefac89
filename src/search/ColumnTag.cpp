#include "search/ColumnTag.h"

namespace mivora {

QString MakeColumnTag(int table, int column) {
  return QString::number(table) + u'/' + QString::number(column);
}

std::optional<ColumnRef> ParseColumnTag(const QString& tag) {
  const qsizetype slash = tag.indexOf(u'/');
  if (slash < 0) return std::nullopt;
  bool table_ok = false, column_ok = false;
  const int table = QStringView(tag).left(slash).toInt(&table_ok);
  const int column = QStringView(tag).mid(slash + 1).toInt(&column_ok);
  if (!table_ok || !column_ok) return std::nullopt;
  return ColumnRef{table, column};
}

}  // namespace mivora
