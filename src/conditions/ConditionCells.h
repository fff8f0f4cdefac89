#pragma once

#include <optional>

namespace mivora {

class Workspace;

// The number of entries of `ConditionCells`, numbered 1 to kConditionCellCount.
constexpr int kConditionCellCount = 258;

// One entry of `ConditionCells`: the table cell an equation box was made from.
struct ConditionCell {
  int table = 0;  // 0 marks a free entry
  int row = 0;
  int column = 0;
  int box = 0;
  bool operator==(const ConditionCell&) const = default;
};

// Entries 1..258; any other n, and a free entry, give nothing.
std::optional<ConditionCell> ReadConditionCell(const Workspace& ws, int n);

// True while at least one entry is free.
bool HasFreeConditionCell(const Workspace& ws);

// Marks the column's header cell as used by a condition and stores the cell in the lowest
// free entry. Returns false (and stores nothing) when every entry is taken.
bool AddConditionCell(Workspace& ws, int table, int row, int column, int box);

// Frees every entry of the box whose table, row and column match (-1 matches any). A column
// that no entry refers to any more gets its header colour back.
void RemoveConditionCells(Workspace& ws, int table, int row, int column, int box);

}  // namespace mivora
