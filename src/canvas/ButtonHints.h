#pragma once

#include <QString>

#include "model/Control.h"

namespace mivora {

// The button hint of one window: the small picture under the pointer that tells which mouse
// buttons act on the spot. Pictures are (re)loaded only when another file is asked for, and
// the control moves only when the pointer did.
struct ButtonHint {
  QString mask_file;     // loaded mask, empty at start
  QString picture_file;  // loaded picture, empty at start
  float last_x = -1;
  float last_y = -1;
  Control control;  // left/top in the window's twips
};

// The hint over the empty Tables canvas: from load until the first command of the canvas
// menu (its picture also tells that a left click opens the About box), and after it.
void SetCanvasHintAtLoad(QString& mask, QString& picture);
void SetCanvasHintAfterMenu(QString& mask, QString& picture);
bool IsCanvasHintAtLoad(const QString& picture);

// Shows the hint for a spot: the picture hangs below the pointer, 700 twips left of it.
// Returns true when the files changed, so the ui reloads the pictures.
bool ShowButtonHint(ButtonHint& hint, const QString& mask, const QString& picture, float x,
                    float y);

}  // namespace mivora
