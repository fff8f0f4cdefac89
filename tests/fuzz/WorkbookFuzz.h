#pragma once

#include <QString>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "FuzzCheck.h"
#include "model/ColumnWidths.h"
#include "model/Grid.h"
#include "tablefiles/TextEncoding.h"
#include "tablefiles/Workbook.h"

// The workbook readers open a path, so each input is written to a file of this process's own
// first. Every sheet listed is read: the reader never crashes, and every cell it keeps is
// well-formed UTF-8 laid out as every table grid is.
inline void FuzzWorkbook(const std::uint8_t* data, std::size_t size, const char* suffix,
                         std::unique_ptr<mivora::Workbook> (*open)(const QString&, QString*)) {
  using namespace mivora;
  static const std::string path =
      "/tmp/mivora_fuzz_" + std::to_string(static_cast<long>(getpid())) + suffix;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
  std::fclose(file);

  QString reason;
  const std::unique_ptr<Workbook> book = open(QString::fromStdString(path), &reason);
  if (!book) {
    FUZZ_CHECK(!reason.isEmpty());
    return;
  }
  const QStringList names = book->SheetNames();
  for (int i = 0; i < names.size() && i < 8; ++i) {
    book->SheetIsEmpty(i);
    Grid grid;
    std::int64_t last_done = 0;
    const TableReadResult result = book->ReadSheet(i, grid, [&](std::int64_t done, std::int64_t total) {
      FUZZ_CHECK(done >= last_done && done <= total);
      last_done = done;
    });
    FUZZ_CHECK(result.ok == result.message.isEmpty());
    FUZZ_CHECK(grid.Rows() >= 1 && grid.Cols() >= 1);
    // Rows further down are laid out as these: checking every cell of a sparse sheet's full
    // range would cost more than reading it.
    for (int r = 0; r < grid.Rows() && r < 2000; ++r) {
      if (r > 0) FUZZ_CHECK(grid.Text(r, 0) == QString::number(r));
      for (int c = 0; c < grid.Cols(); ++c) {
        FUZZ_CHECK(IsValidUtf8(grid.TextUtf8(r, c)));
        FUZZ_CHECK(ShownCellText(grid, r, c).size() <= kShownCellChars);
      }
    }
  }
}
