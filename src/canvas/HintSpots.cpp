#include "canvas/HintSpots.h"

#include <cstdint>
#include <optional>

#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool Contains(const Control& c, float x, float y) {
  return c.visible && x >= c.rect.left && x < c.rect.right() && y >= c.rect.top &&
         y < c.rect.bottom();
}

// The spot kinds of one table window, which the Tables and Result windows name differently.
struct TableWindowSpots {
  HintSpot border, header, data, row_number, corner_cell, slider, track;
};

constexpr TableWindowSpots kTablesSpots{HintSpot::kTablesBorder,     HintSpot::kTablesHeaderCell,
                                        HintSpot::kTablesDataCell,   HintSpot::kTablesRowNumberCell,
                                        HintSpot::kTablesCornerCell, HintSpot::kTablesSlider,
                                        HintSpot::kTablesTrack};
constexpr TableWindowSpots kResultSpots{HintSpot::kResultBorder,   HintSpot::kResultHeader,
                                        HintSpot::kResultDataCell, HintSpot::kResultRowNumberCell,
                                        HintSpot::kResultHeader,   HintSpot::kResultSlider,
                                        HintSpot::kResultTrack};

// A scroll bar at a point of its own twips: slider, arrow (no hint) or track.
HintSpot ScrollBarSpot(const Control& slider, const Control& arrow1, const Control& arrow2, float x,
                       float y, const TableWindowSpots& spots) {
  if (Contains(arrow1, x, y) || Contains(arrow2, x, y)) return HintSpot::kNone;
  if (Contains(slider, x, y)) return spots.slider;
  return spots.track;
}

// A point inside a table window's frame, in the frame's twips.
HintSpot TableWindowSpot(const TableSlot& s, float x, float y, const TableWindowSpots& spots) {
  // The children in front first.
  struct Child {
    const Control* control;
    int kind;
  };
  Child children[] = {{&s.corner, 0}, {&s.vsc_bar, 1}, {&s.hsc_bar, 2}, {&s.grid.control, 3}};
  const Child* hit = nullptr;
  for (const Child& c : children) {
    if (!Contains(*c.control, x, y)) continue;
    if (!hit || c.control->z > hit->control->z) hit = &c;
  }
  if (!hit) return spots.border;
  const float lx = x - hit->control->rect.left;
  const float ly = y - hit->control->rect.top;
  switch (hit->kind) {
    case 0:
      return spots.border;
    case 1:
      return ScrollBarSpot(s.vsldr, s.up_arrow, s.dn_arrow, lx, ly, spots);
    case 2:
      return ScrollBarSpot(s.hsldr, s.le_arrow, s.ri_arrow, lx, ly, spots);
    default:
      break;
  }
  const Grid& g = s.grid;
  if (g.Rows() == 0 || g.Cols() == 0) return spots.border;
  const int row = g.RowAt(ly);
  const int col = static_cast<std::int16_t>(g.ColAt(lx));
  if (row == 0) return col == 0 ? spots.corner_cell : spots.header;
  return col == 0 ? spots.row_number : spots.data;
}

// The innermost element of a container of the Equations canvas under a point given in the
// container's twips; nothing when no member of the container lies there.
std::optional<HintSpot> EquationsSpotIn(const Conditions& c, int container, float x, float y) {
  const Control* best = nullptr;
  int best_panel = -1;
  int best_box = -1;
  for (std::size_t i = 0; i < c.panels.size(); ++i) {
    const ParenthesesPanel& p = c.panels[i];
    if (p.container != container || !p.live() || !Contains(p.kakko, x, y)) continue;
    if (best && p.kakko.z <= best->z) continue;
    best = &p.kakko;
    best_panel = static_cast<int>(i);
    best_box = -1;
  }
  for (std::size_t i = 0; i < c.boxes.size(); ++i) {
    const EquationBox& b = c.boxes[i];
    if (b.container != container || !b.live() || !Contains(b.txt_hndl, x, y)) continue;
    if (best && b.txt_hndl.z <= best->z) continue;
    best = &b.txt_hndl;
    best_box = static_cast<int>(i);
    best_panel = -1;
  }
  if (container == kCanvas && Contains(c.cnd_equation, x, y) &&
      (!best || c.cnd_equation.z > best->z)) {
    const float lx = x - c.cnd_equation.rect.left;
    const float ly = y - c.cnd_equation.rect.top;
    return Contains(c.equation, lx, ly) ? HintSpot::kNone : HintSpot::kEquationsSqlFrame;
  }
  if (!best) return std::nullopt;
  const float lx = x - best->rect.left;
  const float ly = y - best->rect.top;
  if (best_box >= 0) {
    // The delete strip is the handle's first 120 twips; the text field starts there.
    if (lx < 120) return HintSpot::kEquationsHandleDelete;
    if (lx == 120) return HintSpot::kEquationsHandleEdge;
    if (Contains(c.boxes[best_box].text1, lx, ly)) return HintSpot::kNone;
    return HintSpot::kEquationsHandleWidth;
  }
  // Inside a panel its members lie in front of its label, the label in front of its border.
  if (std::optional<HintSpot> inner = EquationsSpotIn(c, best_panel, lx, ly)) return inner;
  if (Contains(c.panels[best_panel].label_n, lx, ly)) return HintSpot::kEquationsLabel;
  return HintSpot::kEquationsPanel;
}

}  // namespace

HintSpot TablesHintSpotAt(const Workspace& ws, float x, float y) {
  const TablesWindow& t = ws.tables;
  const Control* best = nullptr;
  int best_slot = -1;
  for (int s = 0; s < t.SlotCount(); ++s) {
    const Control& f = t.slots[s].frame;
    if (!Contains(f, x, y) || (best && f.z <= best->z)) continue;
    best = &f;
    best_slot = s;
  }
  for (const Control& seg : t.line2) {
    if (!Contains(seg, x, y) || (best && seg.z <= best->z)) continue;
    best = &seg;
    best_slot = -1;
  }
  if (!best) return HintSpot::kTablesCanvas;
  if (best_slot < 0) return HintSpot::kTablesJoinLine;
  if (!t.IsTableSlot(best_slot)) return HintSpot::kTablesCanvas;  // boundary bar
  return TableWindowSpot(t.slots[best_slot], x - best->rect.left, y - best->rect.top, kTablesSpots);
}

HintSpot ResultHintSpotAt(const Workspace& ws, float x, float y) {
  const TableSlot* best = nullptr;
  for (const TableSlot& s : ws.result.windows) {
    if (!Contains(s.frame, x, y) || (best && s.frame.z <= best->frame.z)) continue;
    best = &s;
  }
  if (!best) return HintSpot::kResultEmpty;
  return TableWindowSpot(*best, x - best->frame.rect.left, y - best->frame.rect.top, kResultSpots);
}

HintSpot EquationsHintSpotAt(const Conditions& c, float x, float y) {
  return EquationsSpotIn(c, kCanvas, x, y).value_or(HintSpot::kEquationsCanvas);
}

HintPair TablesHintAt(const Workspace& ws, float x, float y) {
  return HintPairFor(TablesHintSpotAt(ws, x, y), ws.tables.default_hint_mask,
                     ws.tables.default_hint_picture);
}

HintPair ResultHintAt(const Workspace& ws, float x, float y) {
  return HintPairFor(ResultHintSpotAt(ws, x, y));
}

HintPair EquationsHintAt(const Workspace& ws, float x, float y) {
  return HintPairFor(EquationsHintSpotAt(ws.conditions, x, y));
}

}  // namespace mivora
