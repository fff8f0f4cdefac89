#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "canvas/MouseEvent.h"

namespace mivora::ui {

// Ends a mouse drag that loses the pointer grab exactly as its release would: another widget
// or a popup takes the grab (QEvent::UngrabMouse), the window is deactivated, Escape is
// pressed, or a move arrives with no button held (the release went elsewhere). The release
// is given at the last place the drag saw, with the pressed button.
// Between a press and its end, moves with a button held belong to the drag; after a lost
// grab they are ignored until the next press, so a stale anchor never moves anything.
class DragEnd : public QObject {
 public:
  using Release = std::function<void(QWidget* widget, const MouseEvent& release)>;
  explicit DragEnd(Release release, QObject* parent = nullptr);
  ~DragEnd() override;

  // A press with a button on `widget` begins a drag.
  void Pressed(QWidget* widget, const MouseEvent& press);
  // A move on `widget`: whether it should be handled (moves with a button held count only
  // while a drag is on).
  bool Moved(QWidget* widget, const MouseEvent& move);
  // A real release on `widget`: whether it should be handled (false after a lost grab).
  bool Released(QWidget* widget);
  bool Active() const { return !widget_.isNull(); }
  // Ends the drag now as a release would; nothing when none is on.
  void End();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();
  Release release_;
  QPointer<QWidget> widget_;  // the pressed widget while a drag is on
  MouseEvent last_;            // the press's button, the last place seen
  bool lost_ = false;          // a grab was lost: ignore the rest until the next press
};

}  // namespace mivora::ui
