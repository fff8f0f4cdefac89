#pragma once

#include <QString>

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

// The one message for a file the program cannot write, with the reason on a second line.
QString CannotWriteMessage(const QString& path, const QString& reason);

// Writes bytes through a temporary file beside the target, renamed over it when complete.
WriteResult SaveBytesAtomically(const QString& path, const QByteArray& bytes);

}  // namespace mivora
