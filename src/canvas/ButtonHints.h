#pragma once

#include <QString>

#include "workspace/Control.h"

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

// Shows the hint for a spot: the picture hangs below the pointer, 700 twips left of it.
// Returns true when the files changed, so the ui reloads the pictures.
bool ShowButtonHint(ButtonHint& hint, const QString& mask, const QString& picture, float x,
                    float y);

}  // namespace mivora
