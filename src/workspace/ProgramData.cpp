#include "workspace/ProgramData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mivora {

QString ProgramDataPath(const QString& relative) {
  QString path = relative;
  path.replace(u'\\', u'/');
  while (path.startsWith(QStringLiteral("./"))) path.remove(0, 2);
  if (path.isEmpty()) return {};
  if (QFileInfo(path).isAbsolute()) return QFileInfo::exists(path) ? path : QString();
  QStringList folders;
  if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath();
  folders << QDir::currentPath();
  for (const QString& folder : folders) {
    QString candidate = QDir(folder).filePath(path);
    if (QFileInfo::exists(candidate)) return candidate;
  }
  return {};
}

}  // namespace mivora
