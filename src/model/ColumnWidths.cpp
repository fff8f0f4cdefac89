#include "model/ColumnWidths.h"

#include <algorithm>

#include "model/Constants.h"
#include "model/Grid.h"
#include "model/Host.h"

namespace mivora {

void FitColumnWidths(Grid& grid, const TextMeasurer& measurer) {
  const int last_row = std::min(grid.Rows() - 1, kColumnFitSampleRows);
  for (int c = 0; c < grid.Cols(); ++c) {
    float widest = 0;
    for (int r = 0; r <= last_row; ++r) {
      if (grid.IsEmpty(r, c)) continue;
      // Headers are measured bold: choosing a result column makes its header bold.
      widest =
          std::max(widest, measurer.TextWidthTwips(grid.Text(r, c), r == 0 || grid.CellBold(r, c)));
    }
    grid.SetColWidth(c, std::min(kMaxFittedColWidth, widest + kColumnTextPadding));
  }
}

}  // namespace mivora
