#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "model/Control.h"

namespace mivora {
class Workspace;
}

namespace mivora::ui {

class TopLevelWindow;

// Re-syncs every window from the model after an event changed it.
class SyncHub {
 public:
  void Add(TopLevelWindow* window) { windows_.push_back(window); }
  void SyncAll();

 private:
  std::vector<TopLevelWindow*> windows_;
};

// A main window that mirrors a TopWindow model: caption, outer size in twips, window state.
// The client area is the outer size less the chrome allowances, so the layout is the same
// under any window manager. A close the user started minimises the window instead.
class TopLevelWindow : public QWidget {
 public:
  TopLevelWindow(Workspace& ws, TopWindow& model, SyncHub& hub);

  // Applies the model to the widget; subclasses mirror their controls and call this first.
  virtual void Sync();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  Workspace& ws_;
  TopWindow& model_;
  SyncHub& hub_;

 private:
  bool syncing_ = false;
};

}  // namespace mivora::ui
