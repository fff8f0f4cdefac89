#pragma once

#include "canvas/MouseEvent.h"

namespace mivora {

class Workspace;

// What the ui has to show after a mouse event of the Tables canvas.
enum class TablesMouseAction { kNone, kCanvasMenu, kAboutBox, kTablePopupMenu };

// The empty canvas (coordinates are canvas twips).
TablesMouseAction TablesCanvasMouseUp(Workspace& ws, const MouseEvent& e);
void TablesCanvasMouseMove(Workspace& ws, const MouseEvent& e);
// A table slot's grid; the grid's mouse cell has been set by the caller. Coordinates are
// the grid's own twips.
TablesMouseAction TablesGridMouseUp(Workspace& ws, int slot, const MouseEvent& e);
void TablesGridMouseMove(Workspace& ws, int slot, const MouseEvent& e);
// Moves over a frame (a table window's or a boundary bar's), a corner and a join-line
// segment, in their own twips: the rubber band follows in canvas twips.
void TablesFrameMouseMove(Workspace& ws, int slot, const MouseEvent& e);
void TablesCornerMouseMove(Workspace& ws, int slot, const MouseEvent& e);
void TablesSegmentMouseMove(Workspace& ws, int segment, const MouseEvent& e);
// A release on a join-line segment: the left button asks to disconnect its join.
void TablesSegmentMouseUp(Workspace& ws, int segment, const MouseEvent& e);

// The rules of a grid release, each on its own; the dispatch above runs them in this order.
// Rule 1: right button on the corner cell: the table's popup menu.
bool GridRuleTablePopup(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 2: right button on a header cell: the two-click join gesture.
void GridRuleJoinClick(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 3: left button on a header cell: toggles a report column.
void GridRuleReportColumn(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 4: middle, or left with exactly Shift, on the header row: sorts the table by the
// column (numeric for column 0) and rebuilds the indexes of its joins.
void GridRuleSort(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 5: middle, or left with exactly Shift, on a data cell: related-row tracing.
void GridRuleTrace(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 6: left button on a data cell: a new equation box.
void GridRuleEquationBox(Workspace& ws, int slot, int row, int col, const MouseEvent& e);
// Rule 7: right button on a data cell: a CSV name opens as a new table, other text goes to
// the desktop.
void GridRuleOpenCell(Workspace& ws, int slot, int row, int col, const MouseEvent& e);

}  // namespace mivora
