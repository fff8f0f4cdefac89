#pragma once

#include <QMouseEvent>

#include "canvas/MouseEvent.h"

namespace mivora::ui {

// Mouse button and shift bits of a Qt event, as the core's handlers take them.
int ButtonBits(Qt::MouseButtons buttons);
int ShiftBits(Qt::KeyboardModifiers modifiers);
// A Qt mouse event in the widget's own twips: a press or release carries the button that
// changed, a move the buttons held.
MouseEvent ToMouseEvent(const QMouseEvent* event);

}  // namespace mivora::ui
