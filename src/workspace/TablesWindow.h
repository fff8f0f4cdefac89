#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "canvas/ButtonHints.h"
#include "canvas/ScrollBars.h"
#include "canvas/WindowMoveResize.h"
#include "model/Control.h"
#include "workspace/PasteBox.h"
#include "search/SearchState.h"
#include "workspace/TableSlot.h"

namespace mivora {

// The model of the main window `Tables`: the canvas with its table slots (0-3 are the
// boundary bars, of which only the frame is used; tables use 4 and up), the join-line
// segments `line2`, the rubber band `Line1`, the paths the tables came from and the menu states.
struct TablesWindow {
  TopWindow window;
  std::deque<TableSlot> slots;  // a deque keeps references valid as slots are added
  std::vector<Control> line2;
  LineShape line1;
  // Joins that found no route at the last layout (their message is not repeated).
  std::vector<Join> unroutable_joins;
  // Moving and resizing table windows, the canvas scroll bars, a table slider's press offset.
  WindowDragState drag;
  CanvasBars canvas_bars;
  float slider_press = 0;

  // `TableFileNames`: per slot, the path its table was read from.
  std::vector<QString> table_file_names;
  int popup_table = 0;

  bool resume_menu_enabled = true;    // "以前中断した処理を再開する"
  bool examples_menu_enabled = true;  // "例題"

  QString default_hint_mask;
  QString default_hint_picture;
  ButtonHint hint;
  PasteBox receive_text_box;  // `ReceiveTextBox`, hidden until "html text の paste"

  int SlotCount() const { return static_cast<int>(slots.size()); }
  bool IsTableSlot(int slot) const { return slot >= 4 && slot < SlotCount(); }
  bool SlotInUse(int slot) const { return IsTableSlot(slot) && slots[slot].frame.visible; }
};

}  // namespace mivora
