#pragma once

#include <QWidget>

#include "canvas/MouseEvent.h"
#include "model/Grid.h"

namespace mivora::ui {

// Paints a Grid model like a classic grid control (shaded fixed header row and column,
// per-cell colour and bold, merged equal cells in merge columns, the current cell marked)
// and hands every mouse press, move and release on in grid twips, after setting the
// model's mouse cell. Only the rows in view are painted.
class GridView : public QWidget {
  Q_OBJECT

 public:
  GridView(Grid& model, QWidget* parent);
  // The font grids paint with, sized to the default row height.
  static QFont GridFont();
  Grid& model() { return model_; }

 Q_SIGNALS:
  void mousePressed(const mivora::MouseEvent& e);
  void mouseMoved(const mivora::MouseEvent& e);
  void mouseReleased(const mivora::MouseEvent& e);
  // Whole rows (columns when `sideways`) the wheel asks to scroll, positive downwards;
  // fine-grained wheels and touchpads add up until a row is reached. Without a receiver the
  // view scrolls its model itself.
  void wheelTurned(int steps, bool sideways);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  Grid& model_;
  int wheel_rest_y_ = 0;  // eighths of a degree not yet turned into rows
  int wheel_rest_x_ = 0;
};

}  // namespace mivora::ui
