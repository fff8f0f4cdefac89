#include "tablefiles/CsvWriter.h"

#include "model/Grid.h"

namespace mivora {

namespace {

bool NeedsQuotes(QByteArrayView text) {
  for (char c : text) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  }
  return false;
}

void AppendField(QByteArray& out, QByteArrayView text) {
  if (!NeedsQuotes(text)) {
    out.append(text);
    return;
  }
  out.append('"');
  for (char c : text) {
    if (c == '"') out.append('"');
    out.append(c);
  }
  out.append('"');
}

}  // namespace

QByteArray CsvResultBytes(const Grid& grid) {
  QByteArray out;
  std::int64_t estimate = 0;
  for (int c = 1; c < grid.Cols(); ++c) {
    for (int r = 0; r < std::min(grid.Rows(), 64); ++r) estimate += grid.TextUtf8(r, c).size() + 1;
  }
  if (grid.Rows() > 0) out.reserve(estimate * (grid.Rows() / std::min(grid.Rows(), 64) + 1));
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 1; c < grid.Cols(); ++c) {
      if (c > 1) out.append(',');
      AppendField(out, grid.TextUtf8(r, c));
    }
    out.append("\r\n");
  }
  return out;
}

WriteResult CsvWriter::Write(const Grid& grid, const QString& path) {
  return SaveBytesAtomically(path, CsvResultBytes(grid));
}

}  // namespace mivora
