#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

namespace mivora::testing {

// A mouse event as the platform delivers it, with the buttons held.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// A press and a pointer travel from `from` by `by` pixels in four steps, without the release;
// the pressed widget may move under the pointer, so each event is given in the widget's place
// at that moment.
inline void PressAndMove(QWidget* w, QPoint from, QPoint by, Qt::MouseButton button) {
  const QPoint start = w->mapToGlobal(from);
  SendMouse(w, QEvent::MouseButtonPress, from, button, button);
  for (int i = 1; i <= 4; ++i)
    SendMouse(w, QEvent::MouseMove, w->mapFromGlobal(start + by * i / 4), Qt::NoButton, button);
}

// PressAndMove, then the release where the travel ends.
inline void Drag(QWidget* w, QPoint from, QPoint by, Qt::MouseButton button) {
  const QPoint end = w->mapToGlobal(from) + by;
  PressAndMove(w, from, by, button);
  SendMouse(w, QEvent::MouseButtonRelease, w->mapFromGlobal(end), button, Qt::NoButton);
}

}  // namespace mivora::testing
