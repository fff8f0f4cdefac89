#include "ui/MouseEvents.h"

#include "ui/Units.h"

namespace mivora::ui {

int ButtonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= kLeftButton;
  if (buttons & Qt::RightButton) bits |= kRightButton;
  if (buttons & Qt::MiddleButton) bits |= kMiddleButton;
  return bits;
}

int ShiftBits(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= kShiftMask;
  if (modifiers & Qt::ControlModifier) bits |= 2;
  if (modifiers & Qt::AltModifier) bits |= 4;
  return bits;
}

MouseEvent ToMouseEvent(const QMouseEvent* event) {
  MouseEvent e;
  const bool changed = event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonRelease ||
                       event->type() == QEvent::MouseButtonDblClick;
  e.button = ButtonBits(changed ? Qt::MouseButtons(event->button()) : event->buttons());
  e.shift = ShiftBits(event->modifiers());
  e.x = ToTwips(event->position().x());
  e.y = ToTwips(event->position().y());
  return e;
}

}  // namespace mivora::ui
