#include "model/ColumnWidths.h"

#include <algorithm>

#include "model/Constants.h"
#include "model/Grid.h"
#include "model/Host.h"

namespace mivora {

QString ShownCellText(const Grid& grid, int row, int col) {
  QByteArrayView utf8 = grid.TextUtf8(row, col);
  // A character takes at most four bytes of UTF-8; cut before a continuation byte.
  constexpr qsizetype kBytes = qsizetype{kShownCellChars} * 4;
  if (utf8.size() > kBytes) {
    qsizetype cut = kBytes;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    utf8 = utf8.first(cut);
  }
  QString text = QString::fromUtf8(utf8);
  if (text.size() > kShownCellChars) text.truncate(kShownCellChars);
  return text;
}

void FitColumnWidths(Grid& grid, const TextMeasurer& measurer) {
  const int last_row = std::min(grid.Rows() - 1, kColumnFitSampleRows);
  for (int c = 0; c < grid.Cols(); ++c) {
    float widest = 0;
    for (int r = 0; r <= last_row; ++r) {
      if (grid.IsEmpty(r, c)) continue;
      // Headers are measured bold: choosing a result column makes its header bold.
      widest = std::max(widest, measurer.TextWidthTwips(ShownCellText(grid, r, c),
                                                        r == 0 || grid.CellBold(r, c)));
    }
    grid.SetColWidth(c, std::min(kMaxFittedColWidth, widest + kColumnTextPadding));
  }
  FitRowNumberColumn(grid, measurer);
}

void FitRowNumberColumn(Grid& grid, const TextMeasurer& measurer) {
  if (grid.Cols() < 1 || grid.Rows() < 2) return;
  float digit = 0;
  for (char16_t d = u'0'; d <= u'9'; ++d)
    digit = std::max(digit, measurer.TextWidthTwips(QString(QChar(d)), false));
  const int places = static_cast<int>(QString::number(grid.Rows() - 1).size());
  const float need = digit * static_cast<float>(places) + kColumnTextPadding;
  if (need > grid.ColWidth(0)) grid.SetColWidth(0, need);
}

}  // namespace mivora
