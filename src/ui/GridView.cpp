#include "ui/GridView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QMetaMethod>
#include <QWheelEvent>

#include "ui/MouseEvents.h"
#include "ui/Units.h"
#include "model/ColumnWidths.h"
#include "model/Constants.h"

namespace mivora::ui {

namespace {

const QColor kFixedColour(0xE4, 0xE4, 0xE4);
const QColor kLineColour(0xB8, 0xB8, 0xB8);
const QColor kDataColour(Qt::white);
const QColor kBackgroundColour(0xA8, 0xA8, 0xA8);  // beyond the last row and column
constexpr int kTextPadding = 3;

}  // namespace

GridView::GridView(Grid& model, QWidget* parent) : QWidget(parent), model_(model) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFont(GridFont());
}

QFont GridView::GridFont() {
  QFont f = QApplication::font();
  f.setPixelSize(std::max(8, ToPixels(kDefaultRowHeight) - 5));
  return f;
}

void GridView::paintEvent(QPaintEvent* event) {
  // Only the cells in the exposed part are painted: a hint moving over the grid exposes a strip.
  const QRect exposed = event->rect();
  QPainter p(this);
  p.fillRect(exposed, kBackgroundColour);
  const Grid& g = model_;
  if (g.Rows() == 0 || g.Cols() == 0) return;
  const int last_row = g.LastVisibleRow();
  const int last_col = g.LastVisibleCol();
  QFont normal = font();
  QFont bold = normal;
  bold.setBold(true);
  const QFontMetrics normal_metrics(normal, this);
  const QFontMetrics bold_metrics(bold, this);
  p.setFont(normal);
  bool painting_bold = false;

  std::vector<int> rows{0};
  for (int r = g.TopRow(); r <= last_row && r < g.Rows(); ++r) rows.push_back(r);
  std::vector<int> cols{0};
  for (int c = g.LeftCol(); c <= last_col && c < g.Cols(); ++c) cols.push_back(c);

  for (int c : cols) {
    const int x = ToPixels(g.VisibleLeftOf(c));
    const int w = ToPixels(g.VisibleLeftOf(c) + g.ColWidth(c)) - x;
    if (x > exposed.right() || x + w < exposed.left()) continue;
    const bool merge = c > 0 && g.MergeCol(c);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int r = rows[i];
      const int y = ToPixels(g.VisibleTopOf(r));
      const int h = ToPixels(g.VisibleTopOf(r) + g.RowHeight(r)) - y;
      if (y > exposed.bottom() || y + h < exposed.top()) continue;
      const bool fixed = r == 0 || c == 0;
      // A merge column shows a run of equal data cells as one: no text or line inside the run.
      const bool same_as_above = merge && r > 1 && i > 1 && !g.IsEmpty(r, c) &&
                                 g.TextUtf8(r, c) == g.TextUtf8(rows[i - 1], c);
      const bool same_as_below = merge && r > 0 && i + 1 < rows.size() && !g.IsEmpty(r, c) &&
                                 g.TextUtf8(r, c) == g.TextUtf8(rows[i + 1], c);
      Colour colour = g.CellBackColour(r, c);
      QRect cell(x, y, w, h);
      p.fillRect(cell, colour != kDefaultCellColour ? ToQColor(colour)
                                                    : (fixed ? kFixedColour : kDataColour));
      p.setPen(kLineColour);
      p.drawLine(cell.topRight(), cell.bottomRight());
      if (!same_as_below) p.drawLine(cell.bottomLeft(), cell.bottomRight());
      if (!same_as_above && !g.IsEmpty(r, c)) {
        const bool cell_bold = g.CellBold(r, c);
        if (cell_bold != painting_bold) {
          p.setFont(cell_bold ? bold : normal);
          painting_bold = cell_bold;
        }
        p.setPen(Qt::black);
        QRect text_rect = cell.adjusted(kTextPadding, 0, -kTextPadding, 0);
        QString text = ShownCellText(g, r, c);
        text.replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
        // Eliding lays the text out once more: only for texts that may not fit.
        const QFontMetrics& metrics = cell_bold ? bold_metrics : normal_metrics;
        if (text.size() * metrics.maxWidth() > text_rect.width())
          text = metrics.elidedText(text, Qt::ElideRight, text_rect.width());
        p.drawText(text_rect, Qt::AlignVCenter | Qt::AlignLeft, text);
      }
      if (r == g.Row() && c == g.Col() && r > 0 && c > 0) {
        QPen focus(Qt::black, 1, Qt::DotLine);
        p.setPen(focus);
        p.drawRect(cell.adjusted(1, 1, -2, -2));
      }
    }
  }
}

void GridView::mousePressEvent(QMouseEvent* event) {
  MouseEvent e = ToMouseEvent(event);
  model_.SetMouseCell(model_.RowAt(e.y), model_.ColAt(e.x));
  Q_EMIT mousePressed(e);
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
  MouseEvent e = ToMouseEvent(event);
  model_.SetMouseCell(model_.RowAt(e.y), model_.ColAt(e.x));
  Q_EMIT mouseMoved(e);
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  MouseEvent e = ToMouseEvent(event);
  model_.SetMouseCell(model_.RowAt(e.y), model_.ColAt(e.x));
  Q_EMIT mouseReleased(e);
}

void GridView::wheelEvent(QWheelEvent* event) {
  // A notch (120) moves the desktop's wheel lines; finer deltas add up row by row.
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const QPoint delta = event->angleDelta();
  const bool sideways = shift || (delta.x() != 0 && delta.y() == 0);
  const int per_row = std::max(1, 120 / std::max(1, QApplication::wheelScrollLines()));
  int& rest = sideways ? wheel_rest_x_ : wheel_rest_y_;
  rest += sideways ? (delta.x() != 0 ? delta.x() : delta.y()) : delta.y();
  const int steps = -(rest / per_row);
  rest %= per_row;
  event->accept();
  if (steps == 0) return;
  if (isSignalConnected(QMetaMethod::fromSignal(&GridView::wheelTurned))) {
    Q_EMIT wheelTurned(steps, sideways);
    return;
  }
  if (model_.Rows() < 2) return;
  if (sideways) {
    if (model_.Cols() > 1)
      model_.SetLeftCol(std::clamp(model_.LeftCol() + steps, 1, model_.Cols() - 1));
  } else {
    model_.SetTopRow(std::clamp(model_.TopRow() + steps, 1, model_.Rows() - 1));
  }
  update();
}

}  // namespace mivora::ui
