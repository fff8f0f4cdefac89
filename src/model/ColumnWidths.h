#pragma once

namespace mivora {

class Grid;
class TextMeasurer;

// Gives every column a width that fits its header and the texts of the first rows (a sample,
// never every row), with padding and a cap.
void FitColumnWidths(Grid& grid, const TextMeasurer& measurer);

}  // namespace mivora
