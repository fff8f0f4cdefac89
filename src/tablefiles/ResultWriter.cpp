#include "tablefiles/ResultWriter.h"

#include <QSaveFile>

namespace mivora {

WriteResult SaveAtomically(const QString& path, const std::function<bool(QIODevice&)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit()) {
    return {false, CannotWriteMessage(path, file.errorString())};
  }
  return {};
}

WriteResult SaveBytesAtomically(const QString& path, const QByteArray& bytes) {
  return SaveAtomically(path,
                        [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

}  // namespace mivora
