#include "search/ResultWindowCommands.h"

#include <algorithm>

#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kBar = BarThickness();

void Show(Control& c, float left, float top, float width, float height) {
  c.rect = TwipRect{left, top, std::max(width, 0.0f), std::max(height, 0.0f)};
  c.visible = true;
}

}  // namespace

void LayOutResultGridWindow(TableSlot& window) {
  const float w = window.frame.rect.width;
  const float h = window.frame.rect.height;
  Show(window.grid.control, kBar, kBar, w - 2 * kBar, h - 2 * kBar);
  Show(window.graph_box, kBar, kBar, w - 2 * kBar, h - 2 * kBar);
  Show(window.vsc_bar, w - kBar, kBar, kBar, h - 2 * kBar);
  Show(window.hsc_bar, kBar, h - kBar, w - 2 * kBar, kBar);
  Show(window.corner, w - kBar, h - kBar, kBar, kBar);
  window.vsc_bar.back_colour = window.hsc_bar.back_colour = kScrollBarColour;
  window.corner.back_colour = kCornerColour;
}

void LoadResultWindow(Workspace& ws) {
  ResultWindow& result = ws.result;
  const float outer_width = result.window.width > 0 ? result.window.width : kStartWindowWidth;
  const float outer_height = result.window.height > 0 ? result.window.height : kStartWindowHeight;
  const float client_width = outer_width - kWindowChromeWidth;
  const float client_height = outer_height - kWindowChromeHeight;
  const float width = std::max(client_width - 2 * kBar, 2 * kBar);

  TableSlot& joined = result.windows[0];
  Show(joined.frame, kBar, kBar, width, 2 * kBar);
  LayOutResultGridWindow(joined);

  TableSlot& found = result.windows[1];
  const float top = 4 * kBar;
  Show(found.frame, kBar, top, width, std::max(client_height - top - kBar, 2 * kBar));
  LayOutResultGridWindow(found);
  for (TableSlot* window : {&joined, &found}) {
    window->frame.back_colour = kTemplateFrameColour;
    window->frame.border = true;
  }

  Grid& grid = found.grid;
  if (grid.Rows() < 1) grid.SetRows(1);
  if (grid.Cols() < 1) grid.SetCols(1);
  grid.SetText(0, 0, QStringLiteral("="));
}

void ResultGridMousePress(Workspace& ws, int w) {
  if (w < 0 || w > 1) return;
  TableSlot& window = ws.result.windows[w];
  ws.BringToFront(window.frame);
  ws.BringToFront(window.grid.control);
}

void ResultGridMouseUp(Workspace& ws, int w, const MouseEvent& e) {
  if (w < 0 || w > 1) return;
  Grid& grid = ws.result.windows[w].grid;
  if (grid.Rows() < 1 || grid.Cols() < 1) return;
  const int r = std::min(grid.MouseRow(), grid.Rows() - 1);
  const int c = std::clamp(grid.MouseCol(), 0, grid.Cols() - 1);
  grid.SetCol(c);
  if (e.button == kRightButton && r >= 1 && c >= 1 && !grid.IsEmpty(r, c)) {
    ws.host.OpenDocument(grid.Text(r, c));
  }
  if (IsSortOrTraceClick(e) && r == 0) {
    // Window 0 keeps its header and tag rows in place.
    const int first = w == 0 ? 2 : 1;
    const int last = grid.Rows() - 1;
    if (last < first) return;
    grid.SetRow(first);
    grid.SetRowSel(last);
    ws.host.SetWaitCursor(true);  // a joined grid may hold millions of rows
    grid.Sort(c == 0 ? GridSortOrder::kNumeric : GridSortOrder::kGeneric);
    ws.host.SetWaitCursor(false);
    grid.SetRow(0);
    grid.SetRowSel(0);
    grid.SetCol(c);
  }
}

bool SaveStateMenuEnabled(const Workspace& ws) {
  return ws.tables.window.state == WindowState::kNormal &&
         ws.equations_window.state == WindowState::kNormal &&
         ws.result.window.state == WindowState::kNormal;
}

}  // namespace mivora
