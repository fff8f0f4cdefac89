#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "model/ColumnWidths.h"
#include "model/Grid.h"
#include "model/Host.h"

namespace mivora {
namespace {

// Records the longest text it was asked to measure; every character is 15 twips wide.
class RecordingMeasurer : public TextMeasurer {
 public:
  float TextWidthTwips(const QString& text, bool) const override {
    longest = std::max(longest, text.size());
    return 15.0f * static_cast<float>(text.size());
  }
  mutable qsizetype longest = 0;
};

QByteArray Cell(qsizetype bytes, const char* unit) {
  const qsizetype n = static_cast<qsizetype>(std::strlen(unit));
  QByteArray text = QByteArray(unit).repeated(bytes / n);
  text.append(QByteArray(bytes - text.size(), 'z'));
  text[0] = 'A';  // the ends tell a cut or shifted text from the whole one
  text[text.size() - 1] = 'Z';
  return text;
}

TEST(LongCellTest, CellsOfManyMegabytesAreStoredWholeAndShownByTheirStart) {
  constexpr qsizetype kMiB = 1 << 20;
  const struct {
    qsizetype bytes;
    const char* unit;
  } cases[] = {
      {kMiB, "x"},
      {(qsizetype{1} << 24) - 5, "x"},
      {qsizetype{1} << 24, "\xE3\x81\x82"},  // "あ": three bytes, one code unit
      {(qsizetype{1} << 24) + 5, "\xF0\x9F\x98\x80"},  // four bytes, two code units
      {17 * kMiB, "ab"},
  };
  Grid grid;
  grid.SetCols(2);
  grid.SetRows(1 + static_cast<int>(std::size(cases)));
  for (std::size_t i = 0; i < std::size(cases); ++i)
    grid.SetTextUtf8(static_cast<int>(i) + 1, 1, Cell(cases[i].bytes, cases[i].unit));
  grid.SetTextUtf8(0, 1, "short");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].bytes);
    const int row = static_cast<int>(i) + 1;
    EXPECT_EQ(grid.TextUtf8(row, 1), Cell(cases[i].bytes, cases[i].unit));
    const QString shown = ShownCellText(grid, row, 1);
    EXPECT_EQ(shown.size(), kShownCellChars);
    EXPECT_EQ(shown, QString::fromUtf8(grid.TextUtf8(row, 1)).left(kShownCellChars));
  }
  EXPECT_EQ(ShownCellText(grid, 0, 1), QStringLiteral("short"));

  RecordingMeasurer measurer;
  FitColumnWidths(grid, measurer);
  EXPECT_EQ(measurer.longest, kShownCellChars);
}

}  // namespace
}  // namespace mivora
