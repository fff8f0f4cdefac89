#include "ui/TableWindowView.h"

#include <QMouseEvent>
#include <algorithm>
#include <vector>

#include "ui/MouseEvents.h"
#include "ui/Units.h"

namespace mivora::ui {

namespace {

void Paint(QWidget* w, Colour c) {
  // A palette change notifies the widget and its children: only when the colour changes.
  if (w->autoFillBackground() && w->palette().color(QPalette::Window) == ToQColor(c) &&
      w->palette().color(QPalette::Button) == ToQColor(c))
    return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(c));
  pal.setColor(QPalette::Button, ToQColor(c));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

void Mirror(QWidget* w, const Control& c) {
  QRect r = ToPixels(c.rect);
  if (w->geometry() != r) w->setGeometry(r);
  if (c.back_colour != 0 || w->autoFillBackground()) Paint(w, c.back_colour);
  w->setVisible(c.visible);
}

// Stacks sibling widgets by their controls' z values, lowest first.
void Stack(std::vector<std::pair<std::uint64_t, QWidget*>> children) {
  std::stable_sort(children.begin(), children.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [z, w] : children) w->raise();
}

QWidget* Arrow(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setPixelSize(std::max(6, ToPixels(100)));
  label->setFont(f);
  return label;
}

}  // namespace

TableWindowView::TableWindowView(TableSlot& slot, QWidget* parent) : QFrame(parent), slot_(slot) {
  setMouseTracking(true);
  graph_box_ = new QWidget(this);
  grid_ = new GridView(slot.grid, this);
  vsc_bar_ = new QFrame(this);
  hsc_bar_ = new QFrame(this);
  vsldr_ = new QWidget(vsc_bar_);
  up_arrow_ = Arrow(vsc_bar_, QStringLiteral("▲"));
  dn_arrow_ = Arrow(vsc_bar_, QStringLiteral("▼"));
  hsldr_ = new QWidget(hsc_bar_);
  le_arrow_ = Arrow(hsc_bar_, QStringLiteral("◀"));
  ri_arrow_ = Arrow(hsc_bar_, QStringLiteral("▶"));
  corner_ = new QPushButton(this);
  corner_->setFlat(true);
  corner_->setFocusPolicy(Qt::NoFocus);
  repeat_ = new ArrowRepeat(this);
  drag_end_ = new DragEnd(
      [this](QWidget* widget, const MouseEvent& release) {
        repeat_->Stop();
        // A lost arrow press clicks nothing; the drags end as their release.
        const TablePart part = PartOf(widget);
        const bool arrow = part == TablePart::kUpArrow || part == TablePart::kDownArrow ||
                           part == TablePart::kLeftArrow || part == TablePart::kRightArrow;
        if (!arrow) Q_EMIT partMouse(static_cast<int>(part), 2, release);
      },
      this);
  // The bar parts and the corner hand their mouse events to the window's mouse layer.
  for (QWidget* w : std::initializer_list<QWidget*>{corner_, vsldr_, hsldr_, up_arrow_, dn_arrow_,
                                                    le_arrow_, ri_arrow_, vsc_bar_, hsc_bar_}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  QPalette pal = grid_->palette();
  pal.setColor(QPalette::Window, Qt::white);
  grid_->setPalette(pal);
  Sync();
}

void TableWindowView::Sync() {
  Mirror(this, slot_.frame);
  setFrameShape(slot_.frame.border ? QFrame::Box : QFrame::NoFrame);
  Mirror(graph_box_, slot_.graph_box);
  QRect g = ToPixels(slot_.grid.control.rect);
  if (grid_->geometry() != g) grid_->setGeometry(g);
  grid_->setVisible(slot_.grid.control.visible);
  Mirror(vsc_bar_, slot_.vsc_bar);
  Mirror(hsc_bar_, slot_.hsc_bar);
  Mirror(vsldr_, slot_.vsldr);
  Mirror(up_arrow_, slot_.up_arrow);
  Mirror(dn_arrow_, slot_.dn_arrow);
  Mirror(hsldr_, slot_.hsldr);
  Mirror(le_arrow_, slot_.le_arrow);
  Mirror(ri_arrow_, slot_.ri_arrow);
  Mirror(corner_, slot_.corner);
  Stack({{slot_.graph_box.z, graph_box_},
         {slot_.grid.control.z, grid_},
         {slot_.vsc_bar.z, vsc_bar_},
         {slot_.hsc_bar.z, hsc_bar_},
         {slot_.corner.z, corner_}});
  grid_->update();
}

QWidget* TableWindowView::PartWidget(TablePart part) const {
  switch (part) {
    case TablePart::kFrame: return const_cast<TableWindowView*>(this);
    case TablePart::kCorner: return corner_;
    case TablePart::kVSlider: return vsldr_;
    case TablePart::kHSlider: return hsldr_;
    case TablePart::kUpArrow: return up_arrow_;
    case TablePart::kDownArrow: return dn_arrow_;
    case TablePart::kLeftArrow: return le_arrow_;
    case TablePart::kRightArrow: return ri_arrow_;
    case TablePart::kVTrack: return vsc_bar_;
    case TablePart::kHTrack: return hsc_bar_;
  }
  return nullptr;
}

TablePart TableWindowView::PartOf(const QWidget* widget) const {
  for (int p = static_cast<int>(TablePart::kCorner); p <= static_cast<int>(TablePart::kHTrack); ++p)
    if (PartWidget(static_cast<TablePart>(p)) == widget) return static_cast<TablePart>(p);
  return TablePart::kFrame;
}

void TableWindowView::PartEvent(QWidget* widget, TablePart part, int kind, const MouseEvent& e) {
  if (kind == 0) drag_end_->Pressed(widget, e);
  if (kind == 1 && !drag_end_->Moved(widget, e)) return;
  if (kind == 2) {
    repeat_->Stop();
    if (!drag_end_->Released(widget)) return;
  }
  const bool arrow = part == TablePart::kUpArrow || part == TablePart::kDownArrow ||
                     part == TablePart::kLeftArrow || part == TablePart::kRightArrow;
  if (arrow && kind == 0 && e.button == kLeftButton) {
    const int p = static_cast<int>(part);
    repeat_->Start([this, p] { Q_EMIT partMouse(p, 2, MouseEvent{kLeftButton, 0, 0, 0}); });
  }
  Q_EMIT partMouse(static_cast<int>(part), kind, e);
}

void TableWindowView::mousePressEvent(QMouseEvent* event) {
  PartEvent(this, TablePart::kFrame, 0, ToMouseEvent(event));
}
void TableWindowView::mouseMoveEvent(QMouseEvent* event) {
  PartEvent(this, TablePart::kFrame, 1, ToMouseEvent(event));
}
void TableWindowView::mouseReleaseEvent(QMouseEvent* event) {
  PartEvent(this, TablePart::kFrame, 2, ToMouseEvent(event));
}

bool TableWindowView::eventFilter(QObject* watched, QEvent* event) {
  int kind = -1;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      kind = 0;
      break;
    case QEvent::MouseMove:
      kind = 1;
      break;
    case QEvent::MouseButtonRelease:
      kind = 2;
      break;
    default:
      return QFrame::eventFilter(watched, event);
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  const TablePart part = PartOf(widget);
  if (!widget || part == TablePart::kFrame) return QFrame::eventFilter(watched, event);
  PartEvent(widget, part, kind, ToMouseEvent(static_cast<QMouseEvent*>(event)));
  return true;
}

}  // namespace mivora::ui
