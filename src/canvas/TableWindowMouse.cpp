#include "canvas/TableWindowMouse.h"

#include <algorithm>
#include <cmath>

#include "canvas/ButtonHints.h"
#include "canvas/ScrollBars.h"
#include "canvas/TablesMouse.h"
#include "canvas/WindowMoveResize.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// The canvas point of a part-local point, for the hint and the rubber band.
void Follow(Workspace& ws, int slot, TablePart part, const MouseEvent& e, const QString& mask,
            const QString& picture) {
  const TableSlot& s = ws.tables.slots[slot];
  float x = s.frame.rect.left + e.x, y = s.frame.rect.top + e.y;
  switch (part) {
    case TablePart::kFrame:
      break;
    case TablePart::kCorner:
      x += s.corner.rect.left;
      y += s.corner.rect.top;
      break;
    case TablePart::kVSlider:
      // Parked on the bar's line at the pointer's height.
      x = s.frame.rect.left + s.vsc_bar.rect.left;
      y += s.vsc_bar.rect.top + s.vsldr.rect.top;
      break;
    case TablePart::kHSlider:
      x += s.hsc_bar.rect.left + s.hsldr.rect.left;
      y = s.frame.rect.top + s.hsc_bar.rect.top;
      break;
    case TablePart::kVTrack:
      x = s.frame.rect.left + s.vsc_bar.rect.left;
      y += s.vsc_bar.rect.top;
      break;
    case TablePart::kHTrack:
      x += s.hsc_bar.rect.left;
      y = s.frame.rect.top + s.hsc_bar.rect.top;
      break;
    default:
      return;
  }
  ShowButtonHint(ws.tables.hint, mask, picture, x, y);
  TrackJoinLine(ws, x, y);
}

void EndOfDrag(Workspace& ws, int slot) {
  SettleWindows(ws, slot);
  UpdateCanvasVScroll(ws);
  UpdateCanvasHScroll(ws);
  RedrawJoinLines(ws);
}

}  // namespace

void TablePartMouseDown(Workspace& ws, int slot, TablePart part, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return;
  TableSlot& s = ws.tables.slots[slot];
  switch (part) {
    case TablePart::kFrame:
      ws.BringToFront(s.frame);
      BeginWindowDrag(ws, slot, e.x, e.y);
      EraseJoinLines(ws);
      break;
    case TablePart::kCorner:
      ws.BringToFront(s.frame);
      BeginCornerDrag(ws, slot, e.x, e.y);
      break;
    case TablePart::kVSlider:
      if (e.button == kLeftButton) ws.tables.slider_press = e.y;
      BeginCornerDrag(ws, slot, e.x, e.y);
      break;
    case TablePart::kHSlider:
      if (e.button == kLeftButton) ws.tables.slider_press = e.x;
      BeginCornerDrag(ws, slot, e.x, e.y);
      break;
    default:
      break;
  }
}

void TablePartMouseMove(Workspace& ws, int slot, TablePart part, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return;
  TableSlot& s = ws.tables.slots[slot];
  const QString lr_picture = QStringLiteral(".\\F7MaskLR.bmp");
  const QString l_mask = QStringLiteral(".\\MaskL.bmp");
  const QString l_picture = QStringLiteral(".\\F5MaskL.bmp");
  switch (part) {
    case TablePart::kFrame:
      if (e.button == kLeftButton || e.button == kRightButton)
        FrameDragStep(ws, slot, e.button, e.x, e.y);
      TablesFrameMouseMove(ws, slot, e);
      break;
    case TablePart::kCorner:
      if (e.button == kLeftButton || e.button == kRightButton)
        CornerDragStep(ws, slot, e.button, e.x, e.y);
      TablesCornerMouseMove(ws, slot, e);
      break;
    case TablePart::kVSlider:
      if (e.button != 0) ResizeWidthStep(ws, slot, e.button, e.x);
      if (e.button == kLeftButton) {
        s.vsldr.rect.top += e.y - ws.tables.slider_press;
        ApplyTableVScroll(ws, slot);
      }
      Follow(ws, slot, part, e, l_mask, l_picture);
      break;
    case TablePart::kHSlider:
      if (e.button == kLeftButton) {
        s.hsldr.rect.left += e.x - ws.tables.slider_press;
        ApplyTableHScroll(ws, slot);
      }
      if (e.button != 0) ResizeHeightStep(ws, slot, e.button, e.y);
      Follow(ws, slot, part, e, l_mask, l_picture);
      break;
    case TablePart::kVTrack:
    case TablePart::kHTrack:
      Follow(ws, slot, part, e, QStringLiteral(".\\Mask.bmp"), lr_picture);
      break;
    default:
      break;
  }
}

void TablePartMouseUp(Workspace& ws, int slot, TablePart part, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return;
  TableSlot& s = ws.tables.slots[slot];
  switch (part) {
    case TablePart::kFrame:
      EndOfDrag(ws, slot);
      EndWindowDrag(ws);
      break;
    case TablePart::kCorner:
    case TablePart::kVSlider:
      EndOfDrag(ws, slot);
      break;
    case TablePart::kHSlider:
      UpdateTableHScroll(ws, slot);
      EndOfDrag(ws, slot);
      break;
    case TablePart::kUpArrow:
    case TablePart::kDownArrow:
      if (e.button == kLeftButton) TableArrowV(s, part == TablePart::kUpArrow ? -1 : 1);
      break;
    case TablePart::kLeftArrow:
    case TablePart::kRightArrow:
      if (e.button == kLeftButton) {
        TableArrowH(s, JoinedColumns(ws, slot), part == TablePart::kLeftArrow ? -1 : 1);
        RedrawJoinLines(ws);
      }
      break;
    default:
      break;
  }
}

void TableWheel(Workspace& ws, int slot, long long steps, bool sideways) {
  if (!ws.tables.IsTableSlot(slot) || steps == 0) return;
  TableSlot& s = ws.tables.slots[slot];
  if (!sideways) {
    const long long full = RowsFullyInView(s);
    ScrollTableRows(s, std::clamp(steps, -full, full));
    return;
  }
  const long long full = ColsFullyInView(s);
  ScrollTableCols(s, std::clamp(steps, -full, full));
  ApplyTableHScroll(ws, slot);
  UpdateTableHScroll(ws, slot);
  RedrawJoinLines(ws);
}

void CanvasWheel(Workspace& ws, int steps, bool sideways) {
  for (int i = 0; i < std::abs(steps); ++i) {
    if (sideways)
      CanvasArrowH(ws, steps < 0 ? -1 : 1);
    else
      CanvasArrowV(ws, steps < 0 ? -1 : 1);
  }
}

namespace {

// The Tables canvas's bars: the table windows and the band's fixed end follow, the join
// lines are hidden while a slider is dragged and laid again when a scroll ends.
CanvasBarActions TablesBarActions(Workspace& ws) {
  CanvasBarActions act;
  act.apply_v = [&ws](float previous) { ApplyCanvasVScroll(ws, previous); };
  act.apply_h = [&ws](float previous) { ApplyCanvasHScroll(ws, previous); };
  act.slider_pressed = [&ws] { EraseJoinLines(ws); };
  act.slider_moved = [&ws](bool vertical, float along) {
    auto& t = ws.tables;
    const float x = vertical ? t.window.width : along;
    const float y = vertical ? along : t.window.height;
    ShowButtonHint(t.hint, QStringLiteral(".\\Mask.bmp"), QStringLiteral(".\\Mask.bmp"), x, y);
    TrackJoinLine(ws, x, y);
  };
  act.scrolled = [&ws] { RedrawJoinLines(ws); };
  return act;
}

}  // namespace

void CanvasBarMouseDown(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseDown(ws.tables.canvas_bars, part, e, TablesBarActions(ws));
}

void CanvasBarMouseMove(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseMove(ws.tables.canvas_bars, part, e, TablesBarActions(ws));
}

void CanvasBarMouseUp(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseUp(ws.tables.canvas_bars, part, e, TablesBarActions(ws));
}

void CanvasArrowV(Workspace& ws, int direction) {
  CanvasBarArrow(ws.tables.canvas_bars, true, direction, TablesBarActions(ws));
}

void CanvasArrowH(Workspace& ws, int direction) {
  CanvasBarArrow(ws.tables.canvas_bars, false, direction, TablesBarActions(ws));
}

}  // namespace mivora
