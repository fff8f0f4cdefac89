#include "ui/DragEnd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace mivora::ui {

DragEnd::DragEnd(Release release, QObject* parent) : QObject(parent), release_(std::move(release)) {}

DragEnd::~DragEnd() { Stop(); }

void DragEnd::Pressed(QWidget* widget, const MouseEvent& press) {
  lost_ = false;
  if (press.button == 0) return;
  // A second button pressed during a drag leaves the first drag on.
  if (Active()) return;
  widget_ = widget;
  last_ = press;
  // Deactivation and Escape reach other objects than the pressed widget: watch them all
  // while the drag lasts.
  qApp->installEventFilter(this);
}

bool DragEnd::Moved(QWidget* widget, const MouseEvent& move) {
  if (move.button == 0) {
    // A move without a button on the pressed widget: its release never came.
    if (Active() && widget == widget_) End();
    return true;
  }
  if (!Active()) return !lost_;
  if (widget == widget_) {
    last_.x = move.x;
    last_.y = move.y;
    last_.shift = move.shift;
  }
  return true;
}

bool DragEnd::Released(QWidget*) {
  if (lost_ && !Active()) {
    lost_ = false;
    return false;
  }
  Stop();
  return true;
}

void DragEnd::End() {
  if (!Active()) return;
  QWidget* widget = widget_;
  const MouseEvent release = last_;
  Stop();
  lost_ = true;
  if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
  release_(widget, release);
}

void DragEnd::Stop() {
  if (widget_) qApp->removeEventFilter(this);
  widget_ = nullptr;
}

bool DragEnd::eventFilter(QObject* watched, QEvent* event) {
  if (!Active()) return false;
  switch (event->type()) {
    case QEvent::UngrabMouse:
      if (watched == widget_) End();
      break;
    case QEvent::WindowDeactivate:
      if (watched == widget_->window()) End();
      break;
    case QEvent::ApplicationDeactivate:
      End();
      break;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        End();
        return true;
      }
      break;
    default:
      break;
  }
  return false;
}

}  // namespace mivora::ui
