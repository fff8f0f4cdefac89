#pragma once

#include <QString>

namespace mivora {

// The one message for a file the program cannot write, with the reason on a second line.
inline QString CannotWriteMessage(const QString& path, const QString& reason) {
  QString text = QStringLiteral("ファイル「") + path + QStringLiteral("」に書き込めません。");
  if (!reason.isEmpty()) text += u'\n' + reason;
  return text;
}

}  // namespace mivora
