#include <gtest/gtest.h>

#include "model/ColumnWidths.h"
#include "model/Constants.h"
#include "model/Grid.h"
#include "model/Host.h"

namespace mivora {
namespace {

// Digits of different widths ('8' the widest), letters 10 twips; counts the calls.
class DigitMeasurer : public TextMeasurer {
 public:
  float TextWidthTwips(const QString& text, bool) const override {
    ++calls;
    float w = 0;
    for (QChar c : text) w += c == u'8' ? 40.0f : (c.isDigit() ? 25.0f : 10.0f);
    return w;
  }
  mutable int calls = 0;
};

TEST(RowNumberWidthTest, ColumnZeroFitsTheLastRowNumberWithTheWidestDigit) {
  const struct {
    int rows;
    QString header;
    float width;  // expected width of column 0
  } cases[] = {
      {2, QStringLiteral("t"), 40 + kColumnTextPadding},       // "1" measured as one "8"
      {11, QStringLiteral("t"), 2 * 40 + kColumnTextPadding},  // "10": two widest digits
      {3000001, QStringLiteral("t"), 7 * 40 + kColumnTextPadding},  // "3000000"
      // A header wider than the row numbers keeps its width.
      {3000001, QString(35, u'a'), 35 * 10 + kColumnTextPadding},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    Grid grid;
    grid.SetCols(2);
    grid.SetRows(c.rows);
    grid.SetText(0, 0, c.header);
    for (int r = 1; r < std::min(c.rows, 200); ++r) grid.SetText(r, 0, QString::number(r));
    DigitMeasurer measurer;
    FitColumnWidths(grid, measurer);
    EXPECT_FLOAT_EQ(grid.ColWidth(0), c.width);
    // The sample rows of both columns and the ten digits: never a call per row.
    EXPECT_LE(measurer.calls, 2 * (kColumnFitSampleRows + 1) + 10);
  }
}

TEST(RowNumberWidthTest, GrowingTheRowsWidensColumnZeroButNeverNarrowsIt) {
  Grid grid;
  grid.SetCols(2);
  grid.SetRows(10);
  grid.SetColWidth(0, 100);
  DigitMeasurer measurer;
  FitRowNumberColumn(grid, measurer);
  const float one_digit = grid.ColWidth(0);
  grid.SetRows(100001);
  FitRowNumberColumn(grid, measurer);
  EXPECT_FLOAT_EQ(grid.ColWidth(0), 6 * 40 + kColumnTextPadding);
  grid.SetRows(3);
  FitRowNumberColumn(grid, measurer);
  EXPECT_FLOAT_EQ(grid.ColWidth(0), 6 * 40 + kColumnTextPadding);
  EXPECT_LE(one_digit, grid.ColWidth(0));
}

}  // namespace
}  // namespace mivora
