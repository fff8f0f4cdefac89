#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <deque>

#include "canvas/ScrollBars.h"
#include "conditions/ConditionCells.h"
#include "model/Colours.h"
#include "model/Control.h"
#include "workspace/FolderMemory.h"

namespace mivora {

// Colours of the condition canvas (red in the low byte).
constexpr Colour kAndColour = 12640511;             // label of an And panel
constexpr Colour kOrColour = 16777152;              // label of an Or panel
constexpr Colour kPanelColour = 8421504;            // panel frame, seen as its border
constexpr Colour kBoxColour = 33023;                // equation box handle frame
constexpr Colour kSqlFrameColour = 8421631;         // the SQL text frame
constexpr Colour kConditionHeaderColour = 8438015;  // header of a column used by a box
constexpr Colour kFreeHeaderColour = 65280;         // header of a column no box uses any more

// The container index of elements placed directly on the canvas.
constexpr int kCanvas = -1;

// One parentheses panel: the frame `Kakko`(i) and the label `LabelN`(i) inside it. The
// label's colour is the panel's connective. A panel is live while its frame is visible.
struct ParenthesesPanel {
  Control kakko;
  Control label_n;
  int container = kCanvas;  // parent panel; the root lies on the canvas
  int order = 0;            // place in the creation order of all boxes and panels
  bool live() const { return kakko.visible; }
};

// One equation box: the handle frame `txtHndl`(i) and the text field `Text1`(i) inside it.
struct EquationBox {
  Control txt_hndl;
  Control text1;
  QString text;  // the last accepted equation: the condition and the state file use it
  // A typed text the entry check refused: shown (in red) instead of `text` until it is fixed,
  // cancelled with Escape or the box is deleted.
  bool refused = false;
  QString refused_text;
  bool refusal_reported = false;  // "Irregal Equation !" shown since the last change
  // What the box's text field shows.
  const QString& FieldText() const { return refused ? refused_text : text; }
  int container = kCanvas;  // panel holding the box; box 0 starts on the canvas
  int order = 0;
  bool live() const { return txt_hndl.visible; }
};

// What a mouse drag on the Equations canvas is doing.
enum class EquationsDragKind {
  kNone,
  kBoxMove,      // right button on a box: the box follows the pointer
  kBoxHandle,    // left button pressed on a box's handle strip: a click deletes
  kBoxWidth,     // left button on a box's right strip: the width follows the pointer
  kPanelMove,    // right button on a panel's border
  kPanelResize,  // left button on a panel's border
  kBand,         // left button on a panel's label: the rubber band
  kOther,        // any other press: its release does what a click does
};

// The elements of the Equations window the pointer can be over.
enum class EquationsElement {
  kCanvas,
  kPanelBorder,
  kPanelLabel,
  kBoxFrame,
  kBoxText,
  kSqlFrame,
  kSqlTextBox,
  kPalette,
  kPaletteLabel,
};

// Where the pointer was last seen: the element, its index, the point in the element's own
// twips and on the canvas. Button hints are chosen from it.
struct EquationsPointer {
  EquationsElement element = EquationsElement::kCanvas;
  int index = 0;
  float x = 0, y = 0;
  float canvas_x = 0, canvas_y = 0;
};

// The drag under way: what is dragged, by which button, from where (canvas twips), and the
// tree as it was before the press, so that Escape can put everything back.
struct EquationsDrag {
  EquationsDragKind kind = EquationsDragKind::kNone;
  int index = -1;
  int button = 0;
  float press_x = 0, press_y = 0;        // the press point in the element's own twips
  float press_cx = 0, press_cy = 0;      // the press point on the canvas
  float last_cx = 0, last_cy = 0;        // the last pointer point on the canvas
  TwipRect start;                        // the element's geometry once the press was handled
  bool left_edge = false, right_edge = false, top_edge = false, bottom_edge = false;
  bool travelled = false;                // moved beyond the click distance
};

// The module state the condition operations share.
struct ConditionState {
  int high_box = 0;  // highest box index in use
  int new_box = 0;   // the box being created
  bool first_box_placed = false;
  int operator_box = 0;         // the box the operator palette acts on
  QStringList box_column_refs;  // per box: "table.column" of the cell it was made from
  QString sql_select_part;
  QString sql_join_part;
  QString sql_condition_part;
  QString line_break = QStringLiteral("\r\n");
};

// The condition tree of the Equations window, its cells, state, expression and SQL text.
// A fresh object holds the window's layout at load: the empty And root panel, box 0 at its
// home outside any panel (hidden), and the SQL text frame with its text box.
struct Conditions {
  Conditions();

  std::deque<ParenthesesPanel> panels;  // index 0 is the root
  std::deque<EquationBox> boxes;

  Control cnd_equation;   // the frame "SQL text"
  Control equation;       // its multi-line read-only text box
  QString equation_text;  // the SQL text shown in `equation`

  ConditionState state;
  // `ConditionCells`: entry n (1..kConditionCellCount) is condition_cells[n - 1].
  std::array<ConditionCell, kConditionCellCount> condition_cells{};
  QString condition_expression;  // the stored expression that a search evaluates

  // The operator palette `Operator` and its nine labels (EQ, NE, GT, LT, GE, LE, FC, RC, FR).
  Control operator_palette;
  std::array<Control, 9> operator_labels;
  Control rectngl;  // the rubber band, in canvas twips
  CanvasBars bars;  // the canvas's scroll bars

  EquationsDrag drag;
  // The panels, boxes and palette as they were before the drag's press.
  std::deque<ParenthesesPanel> panels_before_drag;
  std::deque<EquationBox> boxes_before_drag;
  EquationsPointer pointer;

  FolderMemory sql_folders;  // where the SQL text save dialog opens
  int next_order = 0;        // the next place in the creation order
};

}  // namespace mivora
