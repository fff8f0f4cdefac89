#include "tablefiles/CsvWriter.h"

#include <algorithm>

#include "model/Grid.h"
#include "model/TwoHalves.h"

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

// Appends row r as one line.
void AppendRow(QByteArray& out, const Grid& grid, int r) {
  for (int c = 1; c < grid.Cols(); ++c) {
    if (c > 1) out.append(',');
    AppendField(out, grid.TextUtf8(r, c));
  }
  out.append("\r\n");
}

}  // namespace

QByteArray CsvResultBytes(const Grid& grid) {
  QByteArray out;
  std::int64_t estimate = 0;
  for (int c = 1; c < grid.Cols(); ++c) {
    for (int r = 0; r < std::min(grid.Rows(), 64); ++r) estimate += grid.TextUtf8(r, c).size() + 1;
  }
  if (grid.Rows() > 0) out.reserve(estimate * (grid.Rows() / std::min(grid.Rows(), 64) + 1));
  for (int r = 0; r < grid.Rows(); ++r) AppendRow(out, grid, r);
  return out;
}

WriteResult CsvWriter::Write(const Grid& grid, const QString& path) {
  // Written a piece of rows at a time, so a big result is never held twice; a big piece is
  // made as two halves at once, written one after the other.
  static constexpr int kPieceRows = 1 << 16;
  static constexpr int kAhead = 8;  // rows between fetching a row's cells and reading them
  return SaveAtomically(path, [&grid](QIODevice& file) {
    QByteArray halves[2];
    bool ok = true;
    for (int first = 0; first < grid.Rows() && ok; first += kPieceRows) {
      const int count = std::min(kPieceRows, grid.Rows() - first);
      auto make = [&](std::int64_t from, std::int64_t to) {
        QByteArray& out = halves[from == 0 ? 0 : 1];
        out.resize(0);  // keeps the room for the next piece
        for (std::int64_t i = from; i < to; ++i) {
          // Rows showing other tables' cells read them from scattered places: fetch ahead.
          const int r = first + static_cast<int>(i);
          grid.PrefetchRow(r + 2 * kAhead, false);
          grid.PrefetchRow(r + kAhead, true);
          AppendRow(out, grid, r);
        }
      };
      if (count == kPieceRows) {
        InTwoHalves(count, make);
      } else {
        halves[1].resize(0);
        make(0, count);
      }
      for (const QByteArray& half : halves) ok = ok && file.write(half) == half.size();
    }
    return ok;
  });
}

}  // namespace mivora
