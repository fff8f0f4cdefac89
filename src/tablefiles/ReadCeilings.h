#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace mivora {

// Ceilings shared by the readers that can lay out cells no byte of the file stands for: the
// workbook readers (empty rows and columns up to a far cell) and the HTML reader (copies of a
// spanning cell). A table beyond one is refused with a message while it grows, so a small
// hostile file ends in time and memory bounded by the ceiling, not by the counts it declares.

// The most cells of one table, header row and row-number column included (rows × columns):
// 2^27, a gigabyte of cell handles. A full legacy worksheet (65,536 × 257) lies far below; a
// worksheet of 1,048,576 rows may use 127 columns.
inline constexpr std::int64_t kMaxReadCells = std::int64_t{1} << 27;

inline bool WithinReadCells(std::int64_t rows, std::int64_t cols) {
  return rows <= kMaxReadCells && cols <= kMaxReadCells && rows * cols <= kMaxReadCells;
}

// The message for a table beyond kMaxReadCells.
inline QString TooManyCellsMessage() {
  return QStringLiteral("表が大きすぎて読めません（行数 × 列数は ") +
         QLocale::c().toString(static_cast<qlonglong>(kMaxReadCells)) +
         QStringLiteral(" セルまでです）。");
}

}  // namespace mivora
