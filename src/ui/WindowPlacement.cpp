#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace mivora::ui {

namespace {

// Moves the frame to `at` once the window manager has told its frame: before that a move
// would put the client area there and the title bar off the screen. A window that gets no
// frame within two seconds (no window manager, or one that draws none) kept the place asked
// for before it was shown and is left alone.
void CorrectWhenFramed(QPointer<QWidget> w, QPoint at, int tries) {
  if (!w || !w->windowHandle()) return;
  if (w->windowHandle()->frameMargins().isNull()) {
    if (tries > 0)
      QTimer::singleShot(50, w, [w, at, tries] { CorrectWhenFramed(w, at, tries - 1); });
    return;
  }
  if (w->frameGeometry().topLeft() != at) w->move(at);
}

// Watches the window's first exposure: the window manager's own placement comes with it.
class PlaceWhenExposed : public QObject {
 public:
  PlaceWhenExposed(QWidget* widget, QPoint at) : QObject(widget), widget_(widget), at_(at) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && widget_ && widget_->windowHandle() &&
        widget_->windowHandle()->isExposed()) {
      CorrectWhenFramed(widget_, at_, 40);
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
  CorrectWhenFramed(window, at, 40);
}

}  // namespace mivora::ui
