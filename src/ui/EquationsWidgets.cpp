#include "ui/EquationsWidgets.h"

#include <QKeyEvent>

#include "ui/MouseEvents.h"

namespace mivora::ui {

template <class Base>
void RoutedWidget<Base>::Handle(QMouseEvent* event,
                                const std::function<void(const MouseEvent&)>& handler,
                                bool pressed) {
  event->accept();
  if (handler) handler(ToMouseEvent(event));
  if (route.after) route.after(this, pressed);
}

template class RoutedWidget<QFrame>;
template class RoutedWidget<QLabel>;
template class RoutedWidget<QGroupBox>;

BoxTextField::BoxTextField(int box, QWidget* parent) : QLineEdit(parent), box_(box) {
  setFrame(false);
  setMouseTracking(true);
  connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
    if (edited) edited(typed);
  });
}

void BoxTextField::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (edit_ended) edit_ended();
      return;
    case Qt::Key_Escape:
      if (escape) escape();
      return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      if (text().isEmpty()) {
        if (erase_in_empty) erase_in_empty();
        return;
      }
      break;
    default:
      break;
  }
  QLineEdit::keyPressEvent(event);
}

void BoxTextField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Only a move of the focus within the window ends the edit; another window or a popup
  // taking it (the message box itself) does not.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason &&
      edit_ended)
    edit_ended();
}

void BoxTextField::mouseMoveEvent(QMouseEvent* event) {
  QLineEdit::mouseMoveEvent(event);
  if (moved) moved(ToMouseEvent(event));
}

}  // namespace mivora::ui
