#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

#include "model/WriteMessages.h"

namespace mivora {

class Grid;

// What a writer gives back; on failure the message to show, and the old file is untouched.
struct WriteResult {
  bool ok = true;
  QString message;
};

// Writes the result grid (rows 0 to the last, columns from 1; column 0 holds row numbers) to a
// file. Every implementation replaces the target atomically.
class ResultWriter {
 public:
  virtual ~ResultWriter() = default;
  virtual WriteResult Write(const Grid& grid, const QString& path) = 0;
};

// Writes through a temporary file beside the target, renamed over it when complete. `write`
// writes the content to the device it is given, false when a write failed.
WriteResult SaveAtomically(const QString& path, const std::function<bool(QIODevice&)>& write);
WriteResult SaveBytesAtomically(const QString& path, const QByteArray& bytes);

}  // namespace mivora
