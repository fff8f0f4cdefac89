#include "tablefiles/ResultWriter.h"

#include <QSaveFile>

namespace mivora {

WriteResult SaveBytesAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return {false, CannotWriteMessage(path, file.errorString())};
  }
  return {};
}

}  // namespace mivora
