#include "conditions/EquationsGestures.h"

#include <algorithm>
#include <cmath>

#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/EquationBoxes.h"
#include "conditions/OperatorPalette.h"
#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// The box's handle strip, and the least sizes a drag leaves.
constexpr float kHandleStrip = 120;
constexpr float kMinBoxWidth = 500;
constexpr float kBoxTextInset = 120;
constexpr float kMinPanelSize = 1000;

bool IsLiveBox(const Workspace& ws, int box) {
  return box >= 0 && box < static_cast<int>(ws.conditions.boxes.size()) &&
         ws.conditions.boxes[box].live();
}
bool IsLivePanel(const Workspace& ws, int panel) {
  return panel >= 0 && panel < static_cast<int>(ws.conditions.panels.size()) &&
         ws.conditions.panels[panel].live();
}

void BoxCanvasPoint(const Workspace& ws, int box, float x, float y, float& cx, float& cy) {
  cx = x;
  cy = y;
  BoxPointToCanvas(ws, box, cx, cy);
}
void PanelCanvasPoint(const Workspace& ws, int panel, float x, float y, float& cx, float& cy) {
  cx = x;
  cy = y;
  PanelPointToCanvas(ws, panel, cx, cy);
}
// A label's point is measured from the label, which sits at the panel's label inset.
void LabelCanvasPoint(const Workspace& ws, int panel, float x, float y, float& cx, float& cy) {
  PanelCanvasPoint(ws, panel, x + PanelLabelInset(), y + PanelLabelInset(), cx, cy);
}

// A move without the drag's button held means the mouse grab was lost (the release went
// elsewhere): the drag ends as that release would have. True when it did.
bool EndsLostDrag(Workspace& ws, const MouseEvent& e) {
  const EquationsDrag& d = ws.conditions.drag;
  if (d.kind == EquationsDragKind::kNone || (e.button & d.button)) return false;
  EndEquationsDrag(ws);
  return true;
}

void Record(Workspace& ws, EquationsElement element, int index, const MouseEvent& e, float cx,
            float cy) {
  ws.conditions.pointer = EquationsPointer{element, index, e.x, e.y, cx, cy};
  ws.conditions.drag.last_cx = cx;
  ws.conditions.drag.last_cy = cy;
}

void StartDrag(Workspace& ws, EquationsDragKind kind, int index, const MouseEvent& e, float cx,
               float cy) {
  Conditions& c = ws.conditions;
  c.panels_before_drag = c.panels;
  c.boxes_before_drag = c.boxes;
  EquationsDrag& d = c.drag;
  d = EquationsDrag{};
  d.kind = kind;
  d.index = index;
  d.button = e.button;
  d.press_x = e.x;
  d.press_y = e.y;
  d.press_cx = d.last_cx = cx;
  d.press_cy = d.last_cy = cy;
}

void FinishDrag(Workspace& ws) {
  Conditions& c = ws.conditions;
  c.drag = EquationsDrag{};
  c.panels_before_drag.clear();
  c.boxes_before_drag.clear();
}

// True when the event belongs to the drag under way on this element.
bool OwnsDrag(const Workspace& ws, EquationsDragKind kind, int index) {
  const EquationsDrag& d = ws.conditions.drag;
  return d.kind == kind && d.index == index;
}
bool ReleasesDrag(const Workspace& ws, int index, const MouseEvent& e) {
  const EquationsDrag& d = ws.conditions.drag;
  return d.kind != EquationsDragKind::kNone && d.index == index && e.button == d.button;
}

// Follows the pointer: the canvas travel since the press.
void Travel(Workspace& ws, float cx, float cy, float& dx, float& dy) {
  EquationsDrag& d = ws.conditions.drag;
  dx = cx - d.press_cx;
  dy = cy - d.press_cy;
  if (std::fabs(dx) > kEquationsClickDistance || std::fabs(dy) > kEquationsClickDistance)
    d.travelled = true;
}

// Puts an element into the root panel at its place on screen, in front.
void MoveIntoRoot(Workspace& ws, Control& frame, int& container, float canvas_left,
                  float canvas_top) {
  const TwipRect& root = ws.conditions.panels[0].kakko.rect;
  container = 0;
  frame.rect.left = canvas_left - root.left;
  frame.rect.top = canvas_top - root.top;
  ws.BringToFront(frame);
}

// Moves every element inside the panel by (dx, dy), live or hidden.
void ShiftContents(Workspace& ws, int panel, float dx, float dy) {
  if (dx == 0 && dy == 0) return;
  Conditions& c = ws.conditions;
  for (EquationBox& b : c.boxes)
    if (b.container == panel) b.txt_hndl.rect.left += dx, b.txt_hndl.rect.top += dy;
  for (int i = 0; i < static_cast<int>(c.panels.size()); ++i)
    if (i != panel && c.panels[i].container == panel)
      c.panels[i].kakko.rect.left += dx, c.panels[i].kakko.rect.top += dy;
}

// One axis of a border drag: the near edge moves the start, the far edge the size; at the
// least size the other edge stays where it was.
void ResizeAxis(float start_pos, float start_size, float delta, bool near_edge, bool far_edge,
                float& pos, float& size) {
  pos = start_pos;
  size = start_size;
  if (near_edge) {
    size = std::max(kMinPanelSize, start_size - delta);
    pos = start_pos + start_size - size;
  } else if (far_edge) {
    size = std::max(kMinPanelSize, start_size + delta);
  }
}

void FollowPanelResize(Workspace& ws, int panel, float dx, float dy) {
  const EquationsDrag& d = ws.conditions.drag;
  ParenthesesPanel& p = ws.conditions.panels[panel];
  TwipRect r = p.kakko.rect;
  ResizeAxis(d.start.left, d.start.width, dx, d.left_edge, d.right_edge, r.left, r.width);
  ResizeAxis(d.start.top, d.start.height, dy, d.top_edge, d.bottom_edge, r.top, r.height);
  // Members keep their place on screen when the left or top border moves.
  ShiftContents(ws, panel, p.kakko.rect.left - r.left, p.kakko.rect.top - r.top);
  p.kakko.rect = r;
  p.label_n.rect.width = r.width - 2 * PanelLabelInset();
  p.label_n.rect.height = r.height - 2 * PanelLabelInset();
}

void UpdateBand(Workspace& ws, float cx, float cy) {
  const EquationsDrag& d = ws.conditions.drag;
  TwipRect& band = ws.conditions.rectngl.rect;
  band.left = std::min(d.press_cx, cx);
  band.top = std::min(d.press_cy, cy);
  band.width = std::max(1.0f, std::fabs(cx - d.press_cx));
  band.height = std::max(1.0f, std::fabs(cy - d.press_cy));
  ws.BringToFront(ws.conditions.rectngl);
}

}  // namespace

// ---- boxes ----

void BoxFrameMouseDown(Workspace& ws, int box, const MouseEvent& e) {
  if (EquationsDragActive(ws) || !IsLiveBox(ws, box)) return;
  float cx, cy;
  BoxCanvasPoint(ws, box, e.x, e.y, cx, cy);
  EquationBox& b = ws.conditions.boxes[box];
  EquationsDragKind kind = EquationsDragKind::kOther;
  if (e.button == kRightButton) {
    kind = EquationsDragKind::kBoxMove;
  } else if (e.button == kLeftButton && e.x < kHandleStrip) {
    kind = EquationsDragKind::kBoxHandle;
  } else if (e.button == kLeftButton && e.x > b.text1.rect.right()) {
    kind = EquationsDragKind::kBoxWidth;
  }
  StartDrag(ws, kind, box, e, cx, cy);
  if (kind == EquationsDragKind::kBoxMove) {
    float left = 0, top = 0;
    BoxPointToCanvas(ws, box, left, top);
    MoveIntoRoot(ws, b.txt_hndl, b.container, left, top);
  }
  ws.conditions.drag.start = b.txt_hndl.rect;
}

void BoxFrameMouseMove(Workspace& ws, int box, const MouseEvent& e) {
  if (EndsLostDrag(ws, e) || !IsLiveBox(ws, box)) return;
  float cx, cy;
  BoxCanvasPoint(ws, box, e.x, e.y, cx, cy);
  Record(ws, EquationsElement::kBoxFrame, box, e, cx, cy);
  const EquationsDrag& d = ws.conditions.drag;
  if (d.index != box || !(e.button & d.button)) return;
  float dx, dy;
  Travel(ws, cx, cy, dx, dy);
  EquationBox& b = ws.conditions.boxes[box];
  if (d.kind == EquationsDragKind::kBoxMove) {
    b.txt_hndl.rect.left = d.start.left + dx;
    b.txt_hndl.rect.top = d.start.top + dy;
  } else if (d.kind == EquationsDragKind::kBoxWidth) {
    b.txt_hndl.rect.width = std::max(kMinBoxWidth, d.start.width + dx);
    b.text1.rect.left = kBoxTextInset;
    b.text1.rect.width = b.txt_hndl.rect.width - 2 * kBoxTextInset;
  }
}

void BoxFrameMouseUp(Workspace& ws, int box, const MouseEvent& e) {
  if (!ReleasesDrag(ws, box, e)) return;
  const EquationsDrag d = ws.conditions.drag;
  if (!IsLiveBox(ws, box)) {
    FinishDrag(ws);
    return;
  }
  if (d.kind == EquationsDragKind::kBoxMove) {
    float cx, cy;
    BoxCanvasPoint(ws, box, e.x, e.y, cx, cy);
    const bool click = !d.travelled && std::fabs(cx - d.press_cx) <= kEquationsClickDistance &&
                       std::fabs(cy - d.press_cy) <= kEquationsClickDistance;
    FinishDrag(ws);
    // A click on the handle strip calls the palette; any release drops the box.
    if (click && d.press_x < kHandleStrip) ShowOperatorPalette(ws, box, e.x, e.y);
    DropBox(ws, box, e.x, e.y);
    return;
  }
  FinishDrag(ws);
  if (d.kind == EquationsDragKind::kBoxHandle) {
    if (e.x < 0)
      DeleteEquationBox(ws, box, false);
    else if (e.x < kHandleStrip)
      DeleteEquationBox(ws, box, true);
  }
}

// ---- panels ----

void PanelBorderMouseDown(Workspace& ws, int panel, const MouseEvent& e) {
  if (EquationsDragActive(ws) || !IsLivePanel(ws, panel)) return;
  ParenthesesPanel& p = ws.conditions.panels[panel];
  ws.BringToFront(p.kakko);
  float cx, cy;
  PanelCanvasPoint(ws, panel, e.x, e.y, cx, cy);
  EquationsDragKind kind = EquationsDragKind::kOther;
  if (e.button == kRightButton) kind = EquationsDragKind::kPanelMove;
  if (e.button == kLeftButton) kind = EquationsDragKind::kPanelResize;
  StartDrag(ws, kind, panel, e, cx, cy);
  EquationsDrag& d = ws.conditions.drag;
  if (kind == EquationsDragKind::kPanelMove && panel != 0) {
    float left = 0, top = 0;
    PanelPointToCanvas(ws, panel, left, top);
    MoveIntoRoot(ws, p.kakko, p.container, left, top);
  }
  if (kind == EquationsDragKind::kPanelResize) {
    const TwipRect& label = p.label_n.rect;
    d.left_edge = e.x < PanelLabelInset();
    d.right_edge = e.x > label.width + PanelLabelInset();
    d.top_edge = e.y < PanelLabelInset();
    d.bottom_edge = e.y > label.height + PanelLabelInset();
  }
  d.start = p.kakko.rect;
}

void PanelBorderMouseMove(Workspace& ws, int panel, const MouseEvent& e) {
  if (EndsLostDrag(ws, e) || !IsLivePanel(ws, panel)) return;
  float cx, cy;
  PanelCanvasPoint(ws, panel, e.x, e.y, cx, cy);
  Record(ws, EquationsElement::kPanelBorder, panel, e, cx, cy);
  HideOperatorPalette(ws);
  const EquationsDrag& d = ws.conditions.drag;
  if (d.index != panel || !(e.button & d.button)) return;
  float dx, dy;
  Travel(ws, cx, cy, dx, dy);
  if (d.kind == EquationsDragKind::kPanelMove) {
    ParenthesesPanel& p = ws.conditions.panels[panel];
    p.kakko.rect.left = d.start.left + dx;
    p.kakko.rect.top = d.start.top + dy;
  } else if (d.kind == EquationsDragKind::kPanelResize) {
    FollowPanelResize(ws, panel, dx, dy);
  }
}

void PanelBorderMouseUp(Workspace& ws, int panel, const MouseEvent& e) {
  if (!ReleasesDrag(ws, panel, e)) return;
  const EquationsDrag d = ws.conditions.drag;
  FinishDrag(ws);
  if (!IsLivePanel(ws, panel)) return;
  if (d.kind == EquationsDragKind::kPanelMove && panel != 0) {
    ParenthesesPanel& p = ws.conditions.panels[panel];
    float x = p.kakko.rect.left;
    float y = p.kakko.rect.top;
    const int target = InnermostPanelAt(ws, 0, x, y);
    if (target != panel) {
      p.container = target;
      p.kakko.rect.left = x;
      p.kakko.rect.top = y;
    }
    KeepCornerInsideLabel(ws, p.container, p.kakko.rect);
    ws.BringToFront(p.kakko);
    // Joining a panel of its own connective: it merges, so the condition keeps its meaning.
    if (IsAndPanel(p) == IsAndPanel(ws.conditions.panels[p.container])) DissolvePanel(ws, panel);
  }
  NormalizePanels(ws);
}

// ---- labels and the rubber band ----

void PanelLabelMouseDown(Workspace& ws, int panel, const MouseEvent& e) {
  if (EquationsDragActive(ws) || !IsLivePanel(ws, panel)) return;
  if (e.button != kLeftButton || ws.conditions.rectngl.visible) return;
  float cx, cy;
  LabelCanvasPoint(ws, panel, e.x, e.y, cx, cy);
  StartDrag(ws, EquationsDragKind::kBand, panel, e, cx, cy);
  ws.conditions.rectngl.visible = true;
  UpdateBand(ws, cx, cy);
}

void PanelLabelMouseMove(Workspace& ws, int panel, const MouseEvent& e) {
  if (EndsLostDrag(ws, e) || !IsLivePanel(ws, panel)) return;
  float cx, cy;
  LabelCanvasPoint(ws, panel, e.x, e.y, cx, cy);
  Record(ws, EquationsElement::kPanelLabel, panel, e, cx, cy);
  HideOperatorPalette(ws);
  if (OwnsDrag(ws, EquationsDragKind::kBand, panel) && (e.button & kLeftButton))
    UpdateBand(ws, cx, cy);
}

void PanelLabelMouseUp(Workspace& ws, int panel, const MouseEvent& e) {
  if (!ReleasesDrag(ws, panel, e) || !OwnsDrag(ws, EquationsDragKind::kBand, panel)) return;
  float cx, cy;
  LabelCanvasPoint(ws, panel, e.x, e.y, cx, cy);
  UpdateBand(ws, cx, cy);
  TwipRect band = ws.conditions.rectngl.rect;
  ws.conditions.rectngl.visible = false;
  FinishDrag(ws);
  if (!IsLivePanel(ws, panel)) return;
  float ox = 0, oy = 0;
  PanelPointToCanvas(ws, panel, ox, oy);
  band.left -= ox;
  band.top -= oy;
  CreatePanelFromRectangle(ws, panel, band);
}

// ---- moves over the other elements ----

void EquationsCanvasMouseMove(Workspace& ws, const MouseEvent& e) {
  if (EndsLostDrag(ws, e)) return;
  Record(ws, EquationsElement::kCanvas, 0, e, e.x, e.y);
}

void BoxTextMouseMove(Workspace& ws, int box, const MouseEvent& e) {
  if (!IsLiveBox(ws, box)) return;
  const Control& field = ws.conditions.boxes[box].text1;
  float cx, cy;
  BoxCanvasPoint(ws, box, e.x + field.rect.left, e.y + field.rect.top, cx, cy);
  Record(ws, EquationsElement::kBoxText, box, e, cx, cy);
}

void SqlFrameMouseMove(Workspace& ws, const MouseEvent& e) {
  const TwipRect& frame = ws.conditions.cnd_equation.rect;
  Record(ws, EquationsElement::kSqlFrame, 0, e, e.x + frame.left, e.y + frame.top);
}

void SqlTextBoxMouseMove(Workspace& ws, const MouseEvent& e) {
  const TwipRect& frame = ws.conditions.cnd_equation.rect;
  const TwipRect& box = ws.conditions.equation.rect;
  Record(ws, EquationsElement::kSqlTextBox, 0, e, e.x + frame.left + box.left,
         e.y + frame.top + box.top);
}

void OperatorPaletteMouseMove(Workspace& ws, const MouseEvent& e) {
  const TwipRect& palette = ws.conditions.operator_palette.rect;
  Record(ws, EquationsElement::kPalette, 0, e, e.x + palette.left, e.y + palette.top);
}

void OperatorLabelMouseMove(Workspace& ws, int label, const MouseEvent& e) {
  if (label < 0 || label >= static_cast<int>(ws.conditions.operator_labels.size())) return;
  const TwipRect& palette = ws.conditions.operator_palette.rect;
  const TwipRect& r = ws.conditions.operator_labels[label].rect;
  Record(ws, EquationsElement::kPaletteLabel, label, e, e.x + palette.left + r.left,
         e.y + palette.top + r.top);
}

// ---- the drag as a whole ----

bool EquationsDragActive(const Workspace& ws) {
  return ws.conditions.drag.kind != EquationsDragKind::kNone;
}

void CancelEquationsDrag(Workspace& ws) {
  Conditions& c = ws.conditions;
  if (!EquationsDragActive(ws)) return;
  c.panels = c.panels_before_drag;
  c.boxes = c.boxes_before_drag;
  c.rectngl.visible = false;
  FinishDrag(ws);
  RefreshConditionTexts(ws);
}

void EndEquationsDrag(Workspace& ws) {
  const EquationsDrag d = ws.conditions.drag;
  if (d.kind == EquationsDragKind::kNone) return;
  MouseEvent e;
  e.button = d.button;
  // The last pointer point, in the dragged element's own twips.
  float ox = 0, oy = 0;
  switch (d.kind) {
    case EquationsDragKind::kBoxMove:
    case EquationsDragKind::kBoxHandle:
    case EquationsDragKind::kBoxWidth:
      BoxPointToCanvas(ws, d.index, ox, oy);
      e.x = d.last_cx - ox, e.y = d.last_cy - oy;
      BoxFrameMouseUp(ws, d.index, e);
      break;
    case EquationsDragKind::kPanelMove:
    case EquationsDragKind::kPanelResize:
      PanelPointToCanvas(ws, d.index, ox, oy);
      e.x = d.last_cx - ox, e.y = d.last_cy - oy;
      PanelBorderMouseUp(ws, d.index, e);
      break;
    case EquationsDragKind::kBand:
      LabelCanvasPoint(ws, d.index, 0, 0, ox, oy);
      e.x = d.last_cx - ox, e.y = d.last_cy - oy;
      PanelLabelMouseUp(ws, d.index, e);
      break;
    case EquationsDragKind::kOther:
    case EquationsDragKind::kNone:
      break;
  }
  // Whatever the element was, the drag is over.
  if (EquationsDragActive(ws)) FinishDrag(ws);
}

}  // namespace mivora
