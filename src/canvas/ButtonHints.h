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

// What a spot under the pointer is, in any of the three windows. kNone is a spot with no hint
// (scroll arrows, text fields, the SQL text box, a canvas slider being dragged): the hint hides.
enum class HintSpot {
  kNone,
  // Tables
  kTablesCanvas,  // empty canvas and boundary bars: the window's default pair
  kTablesBorder,  // table window border, `Corner`
  kTablesHeaderCell,
  kTablesDataCell,
  kTablesRowNumberCell,
  kTablesCornerCell,
  kTablesJoinLine,
  kTablesSlider,
  kTablesTrack,
  // Equations
  kEquationsCanvas,
  kEquationsPanel,
  kEquationsLabel,
  kEquationsSqlFrame,
  kEquationsHandleDelete,  // handle strip, x below 120
  kEquationsHandleWidth,   // rest of the handle, x above 120
  kEquationsHandleEdge,    // x exactly 120: the picture shown stays
  kEquationsScroll,        // vertical slider and track
  // Result
  kResultEmpty,
  kResultBorder,
  kResultHeader,
  kResultDataCell,
  kResultRowNumberCell,
  kResultSlider,
  kResultTrack,
};

// A mask file and a picture file. An empty picture with a mask keeps the loaded picture;
// both empty means no hint.
struct HintPair {
  QString mask;
  QString picture;
  bool empty() const { return mask.isEmpty() && picture.isEmpty(); }
  friend bool operator==(const HintPair&, const HintPair&) = default;
};

// The pair for a spot. The Tables canvas takes the window's default pair, given here.
HintPair HintPairFor(HintSpot spot, const QString& default_mask = {},
                     const QString& default_picture = {});

// The hint over the empty Tables canvas: from load until the first command of the canvas
// menu (its picture also tells that a left click opens the About box), and after it.
void SetCanvasHintAtLoad(QString& mask, QString& picture);
void SetCanvasHintAfterMenu(QString& mask, QString& picture);
bool IsCanvasHintAtLoad(const QString& picture);

// What one placement changed, so the ui reloads and moves only what it must.
struct HintUpdate {
  bool mask_changed = false;
  bool picture_changed = false;
  bool moved = false;
  bool files_changed() const { return mask_changed || picture_changed; }
};

// Shows the hint for a spot: the picture hangs below the pointer (Top := y), its left edge
// 700 twips left of it. A hidden hint is shown again, placed at this point. An empty picture
// keeps the loaded one.
HintUpdate ShowButtonHint(ButtonHint& hint, const QString& mask, const QString& picture, float x,
                          float y);
// Hides the hint; the next ShowButtonHint brings it back at its own point.
void HideButtonHint(ButtonHint& hint);

}  // namespace mivora
