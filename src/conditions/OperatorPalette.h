#pragma once

#include <QString>

namespace mivora {

class Workspace;
struct Conditions;

// The palette's colour and its nine labels, top to bottom.
constexpr int kOperatorLabelCount = 9;
QString OperatorLabelName(int label);     // "EQ", "NE", "GT", "LT", "GE", "LE", "FC", "RC", "FR"
QString OperatorLabelCaption(int label);  // "=", "<>", ">", "<", ">=", "<=", "=%", "%=", "%=%"

// Lays out the hidden palette `Operator` and its labels as the window is loaded.
void LayOutOperatorPalette(Conditions& c);

// Shows the palette for box k beside the box: released at (x, y) in box coordinates, its
// Left is the canvas x less 530 and its Top the box's top on the canvas; kept inside the
// window. Brings it to the front and makes k the palette's box.
void ShowOperatorPalette(Workspace& ws, int box, float x, float y);
void HideOperatorPalette(Workspace& ws);
bool OperatorPaletteVisible(const Workspace& ws);

// Puts the operator into the palette's box: the operator the text has (read as everywhere)
// is replaced; a text without one gets it after its column reference, the rest becoming the
// value; an empty text becomes the operator. Then the palette hides. A palette whose box is
// gone changes nothing but hides.
void ReplaceOperator(Workspace& ws, const QString& op);

// Any button released on palette label `label`: ReplaceOperator with its caption.
void OperatorLabelMouseUp(Workspace& ws, int label);

}  // namespace mivora
