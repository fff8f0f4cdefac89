#pragma once

#include <QObject>
#include <QPixmap>
#include <functional>

#include "canvas/ButtonHints.h"

class MivoraCursor;
class QAction;
class QMenu;
class QWidget;

namespace mivora::ui {

// Shows one window's button hint: a MivoraCursor child of the window's surface that follows
// the pointer. It watches the mouse events of every widget of its window (the hint itself takes
// no input, so they reach the control beneath), maps their positions into the surface and asks
// `pair_at` for the pair of that spot. It hides while a popup menu or a modal window is open,
// when the pointer leaves the window, over spots with no pair, when a pair's file cannot be read,
// and while hints are switched off; it comes back at the next move.
class HintView : public QObject {
 public:
  using PairAt = std::function<HintPair(float x, float y)>;
  // `hint` is the window's hint state; without one the view keeps its own.
  HintView(QWidget* window, QWidget* surface, ButtonHint& hint, PairAt pair_at);
  HintView(QWidget* window, QWidget* surface, PairAt pair_at)
      : HintView(window, surface, own_hint_, std::move(pair_at)) {}
  ~HintView() override;

  MivoraCursor* control() const { return control_; }
  // Places the hint for a point of the surface (twips), as a mouse move there does.
  void PlaceAt(float x, float y);
  void Hide();
  // Keeps the hint in front of its siblings.
  void Raise();
  // Also hide on a middle or Shift+left release (a sort or a trace runs until it returns).
  void HideOnSortOrTraceClick(bool on) { hide_on_sort_click_ = on; }

  // The switch "マウスボタンの説明を表示する", kept with QSettings; off hides every hint.
  static bool Enabled();
  static void SetEnabled(bool on);

  // Adds the switch to a menu as a checkable item; `after` runs when it is toggled.
  static QAction* AddSwitch(QMenu* menu, std::function<void()> after);

  // A hint file at the given device-pixel ratio: "NAME@2x.bmp" above 1. Each file is read at
  // most once per run; a missing or unreadable one is reported once and gives a null pixmap.
  static QPixmap HintFile(const QString& name, qreal device_pixel_ratio);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Sync(const HintUpdate& update);

  ButtonHint own_hint_;  // before the reference that may point to it
  QWidget* window_;
  QWidget* surface_;
  ButtonHint& hint_;
  PairAt pair_at_;
  MivoraCursor* control_;
  bool files_ok_ = false;
  bool hide_on_sort_click_ = false;
};

}  // namespace mivora::ui
