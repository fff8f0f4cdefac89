#pragma once

#include <QString>

namespace mivora {

class Grid;
class TextMeasurer;

// Gives every column a width that fits its header and the texts of the first rows (a sample,
// never every row), with padding and a cap.
void FitColumnWidths(Grid& grid, const TextMeasurer& measurer);

// Makes column 0 (the row numbers) wide enough for the last row number, e.g. "3000000": the
// digits are measured once each and the widest counts for every place, so the cost does not
// grow with the rows. Never narrows the column below its header.
void FitRowNumberColumn(Grid& grid, const TextMeasurer& measurer);

// At most this many characters of a cell are measured or painted: no column shows more, and
// a cell of many megabytes then costs no more to fit or paint than a short one.
inline constexpr int kShownCellChars = 4096;

// The start of a cell's text as it can show: its first kShownCellChars characters (fewer when
// the cell is shorter), decoded from the stored UTF-8 without touching the rest.
QString ShownCellText(const Grid& grid, int row, int col);

}  // namespace mivora
