#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace mivora::ui {

namespace {

// Watches the window's first exposure and moves its frame back where it was asked to be.
class PlaceWhenExposed : public QObject {
 public:
  PlaceWhenExposed(QWidget* widget, QPoint at) : QObject(widget), widget_(widget), at_(at) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && widget_ && widget_->windowHandle() &&
        widget_->windowHandle()->isExposed()) {
      // The window manager's own placement and decoration arrive around the first exposure:
      // ask once more right after it.
      QPointer<QWidget> w = widget_;
      const QPoint at = at_;
      QTimer::singleShot(0, w, [w, at] {
        if (w && w->frameGeometry().topLeft() != at) w->move(at);
      });
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QWidget> widget_;
  QPoint at_;
};

}  // namespace

void PlaceFrameAt(QWidget* window, QPoint at) {
  if (!window->isVisible()) {
    window->move(at);
    window->winId();  // the native window exists, so its exposure can be watched
    if (QWindow* handle = window->windowHandle())
      handle->installEventFilter(new PlaceWhenExposed(window, at));
    return;
  }
  if (window->frameGeometry().topLeft() != at) window->move(at);
}

}  // namespace mivora::ui
