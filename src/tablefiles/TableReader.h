#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>

namespace mivora {

class Grid;

// Progress of a long read: bytes done out of total.
using ReadProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// What a reader gives back. On failure the rows read so far stay in the grid.
struct TableReadResult {
  bool ok = true;
  QString name;         // the table's name (also written into cell (0, 0) on success)
  QString message;      // the message to show on failure
  QString failed_line;  // the text of the line being read when it failed
  QString notice;       // told once after the read, failed or not (text no encoding could read)
};

// Reads a table file's content into a grid, laid out as every table grid is: row 0 the
// column names, column 0 the row numbers, cell (0, 0) the table's name.
class TableReader {
 public:
  virtual ~TableReader() = default;
  virtual TableReadResult Read(QByteArrayView content, const QString& path, Grid& grid,
                               const ReadProgress& progress) = 0;
};

}  // namespace mivora
