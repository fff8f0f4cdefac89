#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "canvas/MouseEvent.h"
#include "canvas/TableWindowMouse.h"
#include "ui/ArrowRepeat.h"
#include "ui/DragEnd.h"
#include "ui/GridView.h"
#include "workspace/TableSlot.h"

namespace mivora::ui {

// The widgets of one table window (frame, background, grid, the two scroll bars with slider
// and arrows, resize corner), mirroring a TableSlot of the model.
class TableWindowView : public QFrame {
  Q_OBJECT

 public:
  TableWindowView(TableSlot& slot, QWidget* parent);
  // Applies the slot's geometry, colours, visibility and stacking to the widgets.
  void Sync();
  GridView* grid() { return grid_; }
  TableSlot& slot() { return slot_; }
  // The widget of a part (the frame itself for kFrame).
  QWidget* PartWidget(TablePart part) const;

 Q_SIGNALS:
  // Every press (kind 0), move (1) and release (2) on a part of the window, the frame
  // included, in the part's own twips; `part` is a mivora::TablePart.
  void partMouse(int part, int kind, const mivora::MouseEvent& e);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Hands one press (0), move (1) or release (2) of a part on, through the drag's end.
  void PartEvent(QWidget* widget, TablePart part, int kind, const MouseEvent& e);
  // The part a widget of the window shows (kFrame for the frame itself).
  TablePart PartOf(const QWidget* widget) const;

  TableSlot& slot_;
  QWidget* graph_box_;
  GridView* grid_;
  QFrame* vsc_bar_;
  QFrame* hsc_bar_;
  QWidget* vsldr_;
  QWidget* up_arrow_;
  QWidget* dn_arrow_;
  QWidget* hsldr_;
  QWidget* le_arrow_;
  QWidget* ri_arrow_;
  QPushButton* corner_;
  // A held arrow repeats its click; a drag that loses the grab ends as a release.
  ArrowRepeat* repeat_;
  DragEnd* drag_end_;
};

}  // namespace mivora::ui
