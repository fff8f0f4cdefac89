// CSV bytes: the reader never crashes, stays within its ceilings, and every cell it keeps is
// well-formed UTF-8 laid out as every table grid is.
#include "FuzzCheck.h"
#include "model/ColumnWidths.h"
#include "model/Grid.h"
#include "tablefiles/CsvReader.h"
#include "tablefiles/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mivora;
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Grid grid;
  CsvReader reader;
  std::int64_t last_done = 0;
  const TableReadResult result =
      reader.Read(bytes, QStringLiteral("/d/fuzz.csv"), grid, [&](std::int64_t done, std::int64_t total) {
        FUZZ_CHECK(done >= last_done && done <= total);
        last_done = done;
      });
  FUZZ_CHECK(grid.Rows() >= 1 && grid.Cols() >= 1 && grid.Cols() <= kMaxCsvColumns + 1);
  FUZZ_CHECK(result.ok == result.message.isEmpty());
  for (int r = 0; r < grid.Rows(); ++r) {
    if (r > 0) FUZZ_CHECK(grid.Text(r, 0) == QString::number(r));
    for (int c = 0; c < grid.Cols(); ++c) {
      FUZZ_CHECK(IsValidUtf8(grid.TextUtf8(r, c)));
      FUZZ_CHECK(ShownCellText(grid, r, c).size() <= kShownCellChars);
    }
  }
  if (result.ok) FUZZ_CHECK(grid.Text(0, 0) == QStringLiteral("fuzz"));
  return 0;
}
