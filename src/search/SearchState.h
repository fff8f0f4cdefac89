#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/Control.h"

namespace mivora {

constexpr int kJoinSlots = 64;
constexpr int kReportSlots = 257;
constexpr int kSegmentCount = 1024;

// One slot of the join list: empty (all 0), pending (destination table 0) or valid.
// A (table slot, grid column) pair; table 0 is none.
struct ColumnRef {
  int table = 0;
  int column = 0;
  bool operator==(const ColumnRef&) const = default;
};

struct Join {
  int departure_table = 0;
  int departure_column = 0;
  int destination_table = 0;
  int destination_column = 0;
  bool operator==(const Join&) const = default;

  // Seen from one of its two tables: the join column on that table's side and the other end.
  struct Sides {
    int this_column = 0;
    ColumnRef other;
  };
  std::optional<Sides> SidesFrom(int table) const {
    if (departure_table == table)
      return Sides{departure_column, {destination_table, destination_column}};
    if (destination_table == table)
      return Sides{destination_column, {departure_table, departure_column}};
    return std::nullopt;
  }
};

// The join-drawing states; the text values are the ones the state file keeps.
inline QString JoinIdling() { return QStringLiteral("Idling"); }
inline QString JoinWorking() { return QStringLiteral("Working"); }

// The join list, join-drawing state, result columns and the line-disconnection trace.
struct SearchState {
  // Slots 1..64 (index 0 unused). Valid joins fill 1, 2, ... without gaps; at most one
  // pending join, right after them.
  std::array<Join, kJoinSlots + 1> joins{};
  // `JoinDrawState`: empty, "Idling" or "Working".
  QString join_draw_state;

  // `ReportColumns`: slots 1..257 (index 0 unused); table 0 marks an empty slot.
  std::array<ColumnRef, kReportSlots + 1> report_columns{};

  // `SegmentMarks` and the two counters of the disconnection trace.
  // Grows with the segment pool.
  std::vector<int> segment_marks = std::vector<int>(kSegmentCount, 0);
  int end_tables_found = 0;
  int last_end_table = 0;
};

}  // namespace mivora
