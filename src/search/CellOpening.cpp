#include "search/CellOpening.h"

#include <QFileInfo>
#include <QStringList>

namespace mivora {

bool MayOpenWithDesktop(const QString& target) {
  if (target.isEmpty()) return false;
  static const QStringList kAddressPrefixes = {
      QStringLiteral("http://"), QStringLiteral("https://"), QStringLiteral("mailto:")};
  for (const QString& prefix : kAddressPrefixes) {
    if (target.startsWith(prefix, Qt::CaseInsensitive)) return target.size() > prefix.size();
  }
  // Files whose handler would run them, whatever their permission bits say.
  static const QStringList kLauncherSuffixes = {
      QStringLiteral("desktop"), QStringLiteral("sh"),  QStringLiteral("exe"),
      QStringLiteral("bat"),     QStringLiteral("cmd"), QStringLiteral("com"),
      QStringLiteral("msi"),     QStringLiteral("jar"), QStringLiteral("appimage"),
      QStringLiteral("run"),     QStringLiteral("ps1"), QStringLiteral("vbs"),
      QStringLiteral("scr"),     QStringLiteral("lnk")};
  const QFileInfo info(target);
  if (!info.exists() || !info.isFile() || info.isExecutable()) return false;
  return !kLauncherSuffixes.contains(info.suffix(), Qt::CaseInsensitive);
}

}  // namespace mivora
