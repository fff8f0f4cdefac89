#pragma once

#include <QString>

namespace mivora {

class Workspace;

// Lays out the Equations window's model at load: root panel, box 0, the SQL text frame.
void LoadEquationsWindow(Workspace& ws);
// A new equation box from a table cell (row >= 1, column >= 1), or without a table (table 0).
// With row = column = 0 and table >= 1 it only declares `table` as the highest box index in
// use (boxes rebuilt from a saved state); an index below a live box is refused with a message.
void CreateEquationBox(Workspace& ws, int table, int row, int column);
QString EquationBoxInUseMessage(int declared, int live);
// Removes a box, asking first when ask is true.
void DeleteEquationBox(Workspace& ws, int box, bool ask);

// Creates hidden box controls (frame and text field, made like box 0) up to the index.
void EnsureEquationBoxes(Workspace& ws, int index);

// Every change of a box's text goes through here: stores the text, then checks it and
// rebuilds the condition texts.
void SetEquationBoxText(Workspace& ws, int box, const QString& text);

// The box's column reference ("table.column"): a non-empty `ref` replaces it; always returns
// the stored one (empty for a box made without a table).
QString BoxColumnRef(Workspace& ws, int box, const QString& ref = QString());
// The box the operator palette acts on: a non-negative index is stored; returns the stored one.
int SetOperatorBox(Workspace& ws, int box);

// The message shown when every condition cell is taken and a new box is refused.
QString ConditionCellsFullMessage();

}  // namespace mivora
