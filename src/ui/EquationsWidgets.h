#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

#include "canvas/MouseEvent.h"

namespace mivora::ui {

// What a widget of the Equations window does with its mouse events, each handed over in the
// widget's own twips; `after` runs once the core has handled the event (sync, grab).
struct MouseRoute {
  std::function<void(const MouseEvent&)> down, move, up;
  std::function<void(QWidget* widget, bool pressed)> after;
};

// A widget that hands its presses, moves and releases to the core, with mouse tracking on so
// that moves without a button are seen too.
template <class Base>
class RoutedWidget : public Base {
 public:
  explicit RoutedWidget(QWidget* parent) : Base(parent) { this->setMouseTracking(true); }
  MouseRoute route;

 protected:
  void mousePressEvent(QMouseEvent* event) override { Handle(event, route.down, true); }
  void mouseMoveEvent(QMouseEvent* event) override { Handle(event, route.move, false); }
  void mouseReleaseEvent(QMouseEvent* event) override { Handle(event, route.up, false); }

 private:
  void Handle(QMouseEvent* event, const std::function<void(const MouseEvent&)>& handler,
              bool pressed);
};

using RoutedFrame = RoutedWidget<QFrame>;
using RoutedLabel = RoutedWidget<QLabel>;
using RoutedGroupBox = RoutedWidget<QGroupBox>;

// A box's text field: changes go through the entry check; Enter and leaving the field end
// the edit; Escape and the erase keys in an empty field go to the core too.
class BoxTextField : public QLineEdit {
 public:
  BoxTextField(int box, QWidget* parent);
  std::function<void(const QString& typed)> edited;
  std::function<void()> edit_ended;
  std::function<void()> escape;
  std::function<void()> erase_in_empty;
  std::function<void(const MouseEvent&)> moved;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int box_;
};

}  // namespace mivora::ui
