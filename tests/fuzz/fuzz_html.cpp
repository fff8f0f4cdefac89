// HTML bytes, read as a file and as pasted text: the reader never crashes, and every cell it
// keeps is well-formed UTF-8 laid out as every table grid is.
#include <QString>

#include "FuzzCheck.h"
#include "model/ColumnWidths.h"
#include "model/Grid.h"
#include "tablefiles/HtmlReader.h"
#include "tablefiles/TextEncoding.h"

namespace {

void CheckGrid(const mivora::Grid& grid) {
  using namespace mivora;
  FUZZ_CHECK(grid.Rows() >= 1 && grid.Cols() >= 1);
  for (int r = 0; r < grid.Rows(); ++r) {
    if (r > 0) FUZZ_CHECK(grid.Text(r, 0) == QString::number(r));
    for (int c = 0; c < grid.Cols(); ++c) {
      FUZZ_CHECK(IsValidUtf8(grid.TextUtf8(r, c)));
      FUZZ_CHECK(ShownCellText(grid, r, c).size() <= kShownCellChars);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mivora;
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  // As a file: the encoding is found from the bytes.
  Grid file_grid;
  HtmlReader reader;
  std::int64_t last_done = 0;
  const TableReadResult result =
      reader.Read(bytes, QStringLiteral("/d/fuzz.html"), file_grid,
                  [&](std::int64_t done, std::int64_t total) {
                    FUZZ_CHECK(done >= last_done && done <= total);
                    last_done = done;
                  });
  FUZZ_CHECK(result.ok == result.message.isEmpty());
  FUZZ_CHECK(file_grid.Text(0, 0) == QStringLiteral("fuzz"));
  CheckGrid(file_grid);

  // As pasted text: already a string, so the same bytes as UTF-8 (bad sequences replaced).
  const QByteArray pasted = QString::fromUtf8(bytes).toUtf8();
  Grid paste_grid;
  bool asked = false;
  const HtmlParseOutcome outcome = ParseHtmlTableText(pasted, [&]() -> Grid& {
    FUZZ_CHECK(!asked);
    asked = true;
    return paste_grid;
  });
  FUZZ_CHECK(asked == (outcome != HtmlParseOutcome::kNoTable));
  CheckGrid(paste_grid);
  return 0;
}
