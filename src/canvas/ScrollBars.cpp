#include "canvas/ScrollBars.h"

#include <algorithm>
#include <cmath>

#include "model/Constants.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kBar = BarThickness();
constexpr float kArrow = kCanvasArrowLength;
// The Tables canvas keeps this much room around its windows.
constexpr float kCanvasRoom = CanvasMargin() + 1;

float F(double v) { return static_cast<float>(v); }

// Rows fully in view below the header, at least 1.
long long FullRows(const Grid& g) {
  const double space = static_cast<double>(g.control.rect.height) - g.RowHeight(0);
  const double per = g.Rows() > 1 ? g.RowHeight(1) : 0;
  if (per <= 0) return 1;
  return std::max(1LL, static_cast<long long>(std::floor(space / per)));
}

// The greatest top row: the last row then stands at the bottom of the view.
int MaxTopRow(const Grid& g) {
  const long long n = g.Rows();
  if (n < 2) return 1;
  return static_cast<int>(std::clamp(n - FullRows(g), 1LL, n - 1));
}

// The greatest left column: the last column then stands at the right of the view.
int MaxLeftCol(const Grid& g) {
  const int m = g.Cols() - 1;
  if (m < 1) return 1;
  const double space = static_cast<double>(g.control.rect.width) - g.ColWidth(0);
  double used = 0;
  int c = m;
  while (c >= 1) {
    used += g.ColWidth(c);
    if (used > space) break;
    --c;
  }
  return std::clamp(c + 1, 1, m);
}

// Columns fully in view from the left column, at least 1.
int FullCols(const Grid& g) {
  const double space = static_cast<double>(g.control.rect.width) - g.ColWidth(0);
  double used = 0;
  int k = 0;
  for (int c = g.LeftCol(); c < g.Cols(); ++c) {
    used += g.ColWidth(c);
    if (used > space) break;
    ++k;
  }
  return std::max(1, k);
}

// A table slider is never shorter than this, so that it can be grabbed even on millions of
// rows; the travel its offset maps onto shrinks by the added length.
constexpr double kMinTableSlider = 90;

// The slider's length for `shown` of `total` rows over travel t, and the travel its offset
// maps onto.
void TableSliderLength(double shown, double total, double t, double& length, double& travel) {
  length = total > 0 ? shown * t / total : 0;
  travel = t;
  const double least = std::min(kMinTableSlider, t / 2);
  if (length < least) {
    travel = t - (least - length);
    length = least;
  }
}

void KeepJoinedInView(Grid& g, const std::vector<int>& joined) {
  const int m = g.Cols() - 1;
  int lo = 0, hi = 0;
  for (int c : joined) {
    if (c < 1 || c > m) continue;
    lo = lo == 0 ? c : std::min(lo, c);
    hi = std::max(hi, c);
  }
  if (lo != 0 && !g.ColIsVisible(lo)) g.SetLeftCol(lo);
  if (hi != 0 && !g.ColIsVisible(hi)) g.SetLeftCol(std::clamp(hi - FullCols(g) + 1, 1, m));
}

// Rounded element extent along one axis.
void Extent(const std::vector<TwipRect>& elements, bool vertical, long long& lo, long long& hi) {
  for (const TwipRect& r : elements) {
    const double a = vertical ? r.top : r.left;
    const double len = vertical ? r.height : r.width;
    lo = std::min(lo, RoundHalfEven(a));
    hi = std::max(hi, RoundHalfEven(a + len));
  }
}

// Widens an extent lo..hi to hold `pieces`.
void WidenBy(const std::vector<TwipRect>& pieces, bool vertical, long long& lo, long long& hi) {
  Extent(pieces, vertical, lo, hi);
}

// Slider length and offset for a content range lo..hi over a view of `view`, travel t.
void PlaceSlider(double view, double t, long long lo, long long hi, float& length,
                 float& offset, bool& shown, bool hide_when_empty) {
  double len, off = 0;
  if (lo >= 0) {
    len = view * t / static_cast<double>(hi);
  } else if (view >= static_cast<double>(hi)) {
    len = view * t / (view - static_cast<double>(lo));
    off = -t * static_cast<double>(lo) / (view - static_cast<double>(lo));
  } else {
    const double range = static_cast<double>(hi - lo);
    len = static_cast<double>(RoundHalfEven(view * t / range));
    off = -t * static_cast<double>(lo) / range;
  }
  shown = !(hide_when_empty && len < 1);
  if (shown) length = F(len);
  offset = F(kArrow + off);
}

}  // namespace

void SetCanvasBarGeometry(CanvasBars& b) {
  const float t = kCanvasBarThickness;
  b.vbar.rect.width = t;
  b.vbar.rect.top = 0;
  b.up.rect = {0, 0, t, kArrow};
  b.dn.rect.left = 0;
  b.dn.rect.width = t;
  b.dn.rect.height = kArrow;
  b.vsldr.rect.left = 0;
  b.vsldr.rect.width = t;
  b.hbar.rect.left = -10;
  b.hbar.rect.height = t;
  b.le.rect = {0, 0, kArrow, t};
  b.ri.rect.top = 0;
  b.ri.rect.width = kArrow;
  b.ri.rect.height = t;
  b.hsldr.rect.top = 0;
  b.hsldr.rect.height = t;
  for (Control* c : {&b.up, &b.dn, &b.vsldr, &b.le, &b.ri, &b.hsldr}) c->visible = true;
}

void LayOutCanvasVBar(CanvasBars& b, float fw, float fh, const std::vector<TwipRect>& elements,
                      float margin, const std::function<void(long long, long long)>& extent,
                      const std::vector<TwipRect>& also) {
  const float chrome = kWindowChromeHeight;
  if (fh > chrome) b.vbar.rect.height = fh - chrome; else b.vbar.visible = false;
  if (b.hbar.visible) {
    if (fh - kCanvasBarThickness - chrome > 0)
      b.vbar.rect.height = fh - kCanvasBarThickness - chrome;
    else
      b.vbar.visible = false;
  }
  const long long view = RoundHalfEven(b.vbar.rect.height);
  b.view_height = view;
  b.vbar.rect.left = fw - kCanvasBarThickness - 45;
  b.dn.rect.top = b.vbar.rect.height - kArrow;
  long long top = RoundHalfEven(fh - chrome), bottom = 0;
  Extent(elements, true, top, bottom);
  const long long m = RoundHalfEven(margin);
  bottom += m;
  top -= m;
  if (extent) extent(top, bottom);
  WidenBy(also, true, top, bottom);
  if (top >= 0 && bottom <= view) {
    b.vbar.visible = false;
    b.top = 0;
    b.bottom = view;
    return;
  }
  // The scrolled range holds the view as well: the slider's length and place are shares of it,
  // so a slider at either end brings the content's end (or the view's) into view.
  b.top = std::min(top, 0LL);
  b.bottom = std::max(bottom, view);
  const long long t = RoundHalfEven(b.vbar.rect.height - 2 * kArrow);
  b.v_travel = t;
  if (t > 0) {
    bool shown = true;
    PlaceSlider(static_cast<double>(view), static_cast<double>(t), top, bottom,
                b.vsldr.rect.height, b.vsldr.rect.top, shown, true);
    b.vsldr.visible = shown;
  } else {
    b.vsldr.visible = false;
  }
  b.vbar.visible = true;
}

void LayOutCanvasHBar(CanvasBars& b, float fw, float fh, const std::vector<TwipRect>& elements,
                      float margin, const std::function<void(long long, long long)>& extent,
                      const std::vector<TwipRect>& also) {
  b.hbar.rect.width = fw - kWindowChromeWidth - (b.vbar.visible ? kCanvasBarThickness : 0);
  const long long view = RoundHalfEven(b.hbar.rect.width);
  b.view_width = view;
  b.hbar.rect.top = fh - kCanvasBarThickness - kWindowChromeHeight;
  b.ri.rect.left = b.hbar.rect.width - kArrow;
  long long left = RoundHalfEven(fw), right = 0;
  Extent(elements, false, left, right);
  const long long m = RoundHalfEven(margin);
  right += m;
  left -= m;
  if (extent) extent(left, right);
  WidenBy(also, false, left, right);
  if (left >= 0 && right <= view) {
    b.hbar.visible = false;
    b.left = 0;
    b.right = view;
    return;
  }
  b.left = std::min(left, 0LL);
  b.right = std::max(right, view);
  const long long t = RoundHalfEven(b.hbar.rect.width - 2 * kArrow);
  b.h_travel = t;
  if (t > 0) {
    bool shown = true;
    PlaceSlider(static_cast<double>(view), static_cast<double>(t), left, right,
                b.hsldr.rect.width, b.hsldr.rect.left, shown, false);
  }
  b.hsldr.visible = t > 0;
  b.hbar.visible = true;
}

float ApplyCanvasVBar(CanvasBars& b, float previous) {
  TwipRect& s = b.vsldr.rect;
  const bool at_start = s.top <= kArrow;
  if (at_start) s.top = kArrow;
  const bool at_end = s.top + s.height >= b.dn.rect.top;
  if (at_end) s.top = b.dn.rect.top - s.height;
  if (b.v_travel <= 0) return 0;
  // A slider at an end shows that end of the range exactly, whatever the rounding of the
  // steps before.
  if (at_end) return F(static_cast<double>(b.view_height - b.bottom));
  if (at_start) return F(static_cast<double>(-b.top));
  const double range = static_cast<double>(b.bottom - b.top);
  const double t = static_cast<double>(b.v_travel);
  const long long now = RoundHalfEven(s.top / t * range);
  const long long old = RoundHalfEven(previous / t * range);
  return F(static_cast<double>(old - now));
}

float ApplyCanvasHBar(CanvasBars& b, float previous) {
  TwipRect& s = b.hsldr.rect;
  const bool at_start = s.left <= kArrow;
  if (at_start) s.left = kArrow;
  const bool at_end = s.left + s.width >= b.ri.rect.left;
  if (at_end) s.left = b.ri.rect.left - s.width;
  if (b.h_travel <= 0) return 0;
  if (at_end) return F(static_cast<double>(b.view_width - b.right));
  if (at_start) return F(static_cast<double>(-b.left));
  const double range = static_cast<double>(b.right - b.left);
  const double t = static_cast<double>(b.h_travel);
  const long long now = RoundHalfEven(s.left / t * range);
  const long long old = RoundHalfEven(previous / t * range);
  return F(static_cast<double>(old - now));
}

// ---- The Tables canvas ----

namespace {

std::vector<TwipRect> TableFrames(const Workspace& ws) {
  std::vector<TwipRect> out;
  // Hidden (removed) windows count too: their place is kept for the next table.
  for (int s = kFirstTableSlot; s < ws.tables.SlotCount(); ++s)
    out.push_back(ws.tables.slots[s].frame.rect);
  return out;
}

// The join-line pieces shown on the canvas.
std::vector<TwipRect> LinePieces(const Workspace& ws) {
  std::vector<TwipRect> out;
  for (const Control& c : ws.tables.line2)
    if (c.visible) out.push_back(c.rect);
  return out;
}

}  // namespace

void SetCanvasScrollBarGeometry(Workspace& ws) {
  SetCanvasBarGeometry(ws.tables.canvas_bars);
  auto& slots = ws.tables.slots;
  if (slots.size() >= 4) {
    for (int s : {0, 1}) slots[s].frame.rect.height = kBoundaryBarThickness;
    for (int s : {2, 3}) slots[s].frame.rect.width = kBoundaryBarThickness;
  }
}

void UpdateCanvasVScroll(Workspace& ws) {
  auto& t = ws.tables;
  if (t.slots.size() < 4) return;
  LayOutCanvasVBar(t.canvas_bars, t.window.width, t.window.height, TableFrames(ws), kCanvasRoom,
                   [&t](long long top, long long bottom) {
                     TwipRect& b0 = t.slots[0].frame.rect;
                     b0.top = F(static_cast<double>(top) - b0.height);
                     t.slots[1].frame.rect.top = F(static_cast<double>(bottom));
                     for (int s : {2, 3}) {
                       t.slots[s].frame.rect.top = F(static_cast<double>(top));
                       t.slots[s].frame.rect.height = F(static_cast<double>(bottom - top));
                     }
                   },
                   LinePieces(ws));
}

void UpdateCanvasHScroll(Workspace& ws) {
  auto& t = ws.tables;
  if (t.slots.size() < 4) return;
  LayOutCanvasHBar(t.canvas_bars, t.window.width, t.window.height, TableFrames(ws), kCanvasRoom,
                   [&t](long long left, long long right) {
                     for (int s : {0, 1}) {
                       t.slots[s].frame.rect.left = F(static_cast<double>(left));
                       t.slots[s].frame.rect.width = F(static_cast<double>(right - left));
                     }
                     TwipRect& b2 = t.slots[2].frame.rect;
                     b2.left = F(static_cast<double>(left) - b2.width);
                     t.slots[3].frame.rect.left = F(static_cast<double>(right));
                   },
                   LinePieces(ws));
}

void ApplyCanvasVScroll(Workspace& ws, float previous) {
  auto& t = ws.tables;
  const float d = ApplyCanvasVBar(t.canvas_bars, previous);
  for (int s = kFirstTableSlot; s < t.SlotCount(); ++s) t.slots[s].frame.rect.top += d;
  // Shown line pieces move with the windows until they are laid out again.
  for (Control& c : t.line2) c.rect.top += d;
  t.line1.y1 += d;
  UpdateCanvasVScroll(ws);
}

void ApplyCanvasHScroll(Workspace& ws, float previous) {
  auto& t = ws.tables;
  const float d = ApplyCanvasHBar(t.canvas_bars, previous);
  for (int s = kFirstTableSlot; s < t.SlotCount(); ++s) t.slots[s].frame.rect.left += d;
  for (Control& c : t.line2) c.rect.left += d;
  t.line1.x1 += d;
  UpdateCanvasHScroll(ws);
}

// ---- Table windows ----

void SetTableScrollBarGeometry(TableSlot& slot) {
  const TwipRect& f = slot.frame.rect;
  slot.vsc_bar.rect = {f.width - kBar, kBar, kBar, f.height - 2 * kBar};
  slot.hsc_bar.rect = {kBar, f.height - kBar, f.width - 2 * kBar, kBar};
  slot.corner.rect = {f.width - kBar, f.height - kBar, kBar, kBar};
  slot.up_arrow.rect = {0, 0, kBar, kBar};
  slot.dn_arrow.rect = {0, slot.vsc_bar.rect.height - kBar, kBar, kBar};
  slot.vsldr.rect.left = 0;
  slot.vsldr.rect.width = kBar;
  slot.le_arrow.rect = {0, 0, kBar, kBar};
  slot.ri_arrow.rect = {slot.hsc_bar.rect.width - kBar, 0, kBar, kBar};
  slot.hsldr.rect.top = 0;
  slot.hsldr.rect.height = kBar;
}

void UpdateTableVScroll(TableSlot& s) {
  const float w = s.frame.rect.width, h = s.frame.rect.height;
  Grid& g = s.grid;
  s.vsc_bar.rect.height = h - 2 * kBar;
  const long long limit = RoundHalfEven(s.vsc_bar.rect.height - 40);
  s.vsc_bar.rect.left = w - kBar;
  s.dn_arrow.rect.top = s.vsc_bar.rect.height - kBar;
  const long long n = g.Rows();
  // The visible block comes from the top row and the view height, not a scan of the rows.
  const long long first = g.TopRow();
  const long long last = std::min<long long>(n, g.LastVisibleRow() + 1LL);
  const double bottom = n >= 1 ? static_cast<double>(g.RowPos(int(n - 1))) + g.RowHeight(int(n - 1)) : 0;
  g.control.rect.width = w - 2 * kBar;
  if (n < 2 || (bottom < static_cast<double>(limit) && first == 1)) {
    s.vsc_bar.visible = false;
  } else {
    const long long t = RoundHalfEven(s.vsc_bar.rect.height - 2 * kBar);
    if (t >= 1) {
      const double rows = static_cast<double>(n - 1);
      double length, travel;
      TableSliderLength(static_cast<double>(std::max(0LL, last - first)), rows,
                        static_cast<double>(t), length, travel);
      s.vsldr.rect.height = F(length);
      s.vsldr.rect.top = F(std::min(static_cast<double>(first - 1) * travel / rows,
                                    static_cast<double>(t) - length) +
                           kBar);
      s.vsc_bar.visible = true;
    } else {
      s.vsc_bar.visible = false;
    }
  }
  s.corner.rect.top = s.vsc_bar.rect.height + kBar;
  s.corner.rect.left = s.hsc_bar.rect.width + kBar;
}

void UpdateTableHScroll(TableSlot& s) {
  const float w = s.frame.rect.width, h = s.frame.rect.height;
  Grid& g = s.grid;
  s.hsc_bar.rect.width = w - 2 * kBar;
  const long long limit = RoundHalfEven(s.hsc_bar.rect.width - 40);
  s.hsc_bar.rect.top = h - kBar;
  s.ri_arrow.rect.left = s.hsc_bar.rect.width - kBar;
  const long long m = g.Cols() - 1LL;
  const long long first = g.LeftCol();
  const long long last = std::min<long long>(m + 1, g.LastVisibleCol() + 1LL);
  g.control.rect.height = h - 2 * kBar;
  const double right =
      last >= 1 ? static_cast<double>(g.ColPos(int(last - 1))) + g.ColWidth(int(last - 1)) : 0;
  if (m < 1 || (right < static_cast<double>(limit) && first == 1)) {
    s.hsc_bar.visible = false;
  } else {
    const long long t = RoundHalfEven(s.hsc_bar.rect.width - 2 * kBar);
    if (t > 0) {
      const double td = static_cast<double>(t), cols = static_cast<double>(m);
      s.hsldr.rect.left = F(static_cast<double>(first - 1) * td / cols + kBar);
      if (last == m + 1) {
        // Fully right, the slider reaches the right arrow.
        s.hsldr.rect.width = F(td + kBar - s.hsldr.rect.left);
      } else {
        s.hsldr.rect.width = F(static_cast<double>(std::max(0LL, last - first)) * td / cols);
      }
      s.hsc_bar.visible = true;
    } else {
      s.hsc_bar.visible = false;
    }
  }
  s.corner.rect.top = s.vsc_bar.rect.height + kBar;
  s.corner.rect.left = s.hsc_bar.rect.width + kBar;
}

void UpdateTableVScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot)) UpdateTableVScroll(ws.tables.slots[slot]);
}

void UpdateTableHScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot)) UpdateTableHScroll(ws.tables.slots[slot]);
}

void ApplyTableVScroll(TableSlot& s) {
  Grid& g = s.grid;
  const long long n = g.Rows();
  TwipRect& sl = s.vsldr.rect;
  if (sl.top <= kBar) sl.top = kBar;
  if (sl.top + sl.height >= s.dn_arrow.rect.top) sl.top = s.dn_arrow.rect.top - sl.height;
  const long long t = RoundHalfEven(s.vsc_bar.rect.height - 2 * kBar);
  if (n >= 2 && t > 0) {
    const int max_top = MaxTopRow(g);
    const long long first = g.TopRow();
    const long long last = std::min<long long>(n, g.LastVisibleRow() + 1LL);
    double length, travel;
    TableSliderLength(static_cast<double>(std::max(0LL, last - first)),
                      static_cast<double>(n - 1), static_cast<double>(t), length, travel);
    long long r = RoundHalfEven((sl.top - kBar) / travel * static_cast<double>(n));
    if (sl.top <= kBar) r = 1;
    if (sl.top + sl.height >= s.dn_arrow.rect.top) r = max_top;
    g.SetTopRow(static_cast<int>(std::clamp<long long>(r, 1, max_top)));
  }
  UpdateTableVScroll(s);
}

void ApplyTableVScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot)) ApplyTableVScroll(ws.tables.slots[slot]);
}

std::vector<int> JoinedColumns(const Workspace& ws, int slot) {
  std::vector<int> out;
  Join j;
  for (int n = 1; n <= kJoinSlots; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (auto sides = j.SidesFrom(slot)) out.push_back(sides->this_column);
  }
  return out;
}

void ApplyTableHScroll(TableSlot& s, const std::vector<int>& joined) {
  Grid& g = s.grid;
  const long long m = g.Cols() - 1LL;
  TwipRect& sl = s.hsldr.rect;
  if (sl.left <= kBar) sl.left = kBar;
  if (sl.left + sl.width >= s.ri_arrow.rect.left) sl.left = s.ri_arrow.rect.left - sl.width;
  const long long t = RoundHalfEven(s.hsc_bar.rect.width - 2 * kBar);
  if (m < 1 || t <= 0) return;
  const int max_left = MaxLeftCol(g);
  long long c = RoundHalfEven((sl.left - kBar) / static_cast<double>(t) *
                                  static_cast<double>(m + 1) + 1);
  if (sl.left + sl.width >= s.ri_arrow.rect.left) c = max_left;
  g.SetLeftCol(static_cast<int>(std::clamp<long long>(c, 1, max_left)));
  KeepJoinedInView(g, joined);
}

void ApplyTableHScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot))
    ApplyTableHScroll(ws.tables.slots[slot], JoinedColumns(ws, slot));
}

int RowsFullyInView(const TableSlot& slot) { return static_cast<int>(FullRows(slot.grid)); }
int ColsFullyInView(const TableSlot& slot) { return FullCols(slot.grid); }

void ScrollTableRows(TableSlot& slot, long long rows) {
  Grid& g = slot.grid;
  if (g.Rows() < 2) return;
  const long long r = std::clamp<long long>(g.TopRow() + rows, 1, MaxTopRow(g));
  g.SetTopRow(static_cast<int>(r));
  UpdateTableVScroll(slot);
}

void ScrollTableCols(TableSlot& slot, long long cols) {
  Grid& g = slot.grid;
  if (g.Cols() < 2) return;
  const long long c = std::clamp<long long>(g.LeftCol() + cols, 1, MaxLeftCol(g));
  g.SetLeftCol(static_cast<int>(c));
  UpdateTableHScroll(slot);
}

namespace {

// The step an arrow made, kept to at least one and at most the fully visible count.
long long ArrowStep(long long before, long long after, int direction, long long full) {
  long long step = (after - before) * direction;
  return direction * std::clamp(step, 1LL, std::max(1LL, full));
}

}  // namespace

void TableArrowV(TableSlot& slot, int direction) {
  Grid& g = slot.grid;
  if (g.Rows() < 2) return;
  const int before = g.TopRow();
  slot.vsldr.rect.top += direction * kArrowStep;
  ApplyTableVScroll(slot);
  const long long step = ArrowStep(before, g.TopRow(), direction, FullRows(g));
  g.SetTopRow(static_cast<int>(std::clamp<long long>(before + step, 1, MaxTopRow(g))));
  UpdateTableVScroll(slot);
}

void TableArrowH(TableSlot& slot, const std::vector<int>& joined, int direction) {
  Grid& g = slot.grid;
  if (g.Cols() < 2) return;
  const int before = g.LeftCol();
  const double step_twips =
      direction < 0 ? kArrowStep : static_cast<double>(g.control.rect.width) * 1.4 / g.Cols();
  slot.hsldr.rect.left += F(direction * step_twips);
  ApplyTableHScroll(slot, {});
  const long long step = ArrowStep(before, g.LeftCol(), direction, FullCols(g));
  g.SetLeftCol(static_cast<int>(std::clamp<long long>(before + step, 1, MaxLeftCol(g))));
  KeepJoinedInView(g, joined);
  UpdateTableHScroll(slot);
}

}  // namespace mivora
