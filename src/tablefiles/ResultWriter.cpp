#include "tablefiles/ResultWriter.h"

#include <QSaveFile>

namespace mivora {

QString CannotWriteMessage(const QString& path, const QString& reason) {
  QString text = QStringLiteral("ファイル「") + path + QStringLiteral("」に書き込めません。");
  if (!reason.isEmpty()) text += u'\n' + reason;
  return text;
}

WriteResult SaveBytesAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return {false, CannotWriteMessage(path, file.errorString())};
  }
  return {};
}

}  // namespace mivora
