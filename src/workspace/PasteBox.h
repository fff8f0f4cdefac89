#pragma once

#include <QString>

#include "model/Control.h"

namespace mivora {

class Workspace;

// The canvas's paste box `ReceiveTextBox`: shown by "html text の paste", it takes pasted or
// dropped HTML text (or plain text) and reads the table in it into a new table window.
struct PasteBox {
  Control control;
  QString text;
};

// "html text の paste": hides the box when it is shown, otherwise shows it in front.
void TogglePasteBox(Workspace& ws);
// A change of the box's text. Non-empty text disables "以前中断した処理を再開する" and
// "例題", is parsed into a new table window, and the box is emptied and hidden.
void PasteBoxTextChanged(Workspace& ws, const QString& text);
// OpenTable's "htmlDrop": parses the box's text into a new table window.
void ReadPasteBox(Workspace& ws);

}  // namespace mivora
