#pragma once

#include <cstdint>
#include <vector>

namespace mivora {

// The routing of join lines through the corridors between windows, on whole twips and
// without any widget: the workspace adapter (JoinLines) feeds it the windows and joins and
// copies the resulting segments into `line2`.

// A window taking part in the layout; index = slot number (0-3 the boundary bars).
struct LayoutWindow {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool present = false;  // hidden table windows and unused slots take no part
};

// One join to route: from the departure window at anchor x to the destination window.
struct LayoutJoin {
  int from = 0;
  std::int64_t from_x = 0;
  int to = 0;
  std::int64_t to_x = 0;
};

// One drawn piece: a rectangle 50 thick; `last` marks the piece entering the destination.
struct LayoutSegment {
  std::int64_t left = 0, top = 0, width = 0, height = 0;
  bool last = false;
  bool operator==(const LayoutSegment&) const = default;
};

// A corridor line between windows (x1 = x2 vertical, y1 = y2 horizontal; first end smaller).
struct Corridor {
  std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const Corridor&) const = default;
};

constexpr std::int64_t kLineMargin = 500;
constexpr std::int64_t kLineThickness = 50;
constexpr std::int64_t kLineShift = 100;
constexpr std::int64_t kGridOffset = 120;

struct JoinLineLayout {
  std::vector<LayoutSegment> segments;
  // Per join (same order as given): whether a route was found.
  std::vector<bool> routed;
};

// The corridors of every ordered triple of windows, duplicates dropped, in triple order.
std::vector<Corridor> FindCorridors(const std::vector<LayoutWindow>& windows);
// Routes and draws every join in order; each join sees the graph the earlier ones left.
JoinLineLayout LayOutJoinLines(const std::vector<LayoutWindow>& windows,
                               const std::vector<LayoutJoin>& joins);

}  // namespace mivora
