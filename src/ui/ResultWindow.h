#pragma once

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <cstdint>

#include "canvas/ResultWindowMoveResize.h"
#include "ui/TableWindowView.h"
#include "ui/TopLevelWindow.h"

namespace mivora::ui {

class HintView;

// The main window `Result`: the joined grid (window 0) and the result grid (window 1), the
// popup menu "file" on the window background, and a progress bar for long searches.
class ResultWindow : public TopLevelWindow {
 public:
  ResultWindow(Workspace& ws, SyncHub& hub);
  void Sync() override;
  // Shown while total > 0; (0, 0) hides it.
  void ShowSearchProgress(std::int64_t done, std::int64_t total);

  TableWindowView* GridWindow(int w) const { return views_[w]; }
  QMenu* menu() const { return menu_; }
  // Sets the entries' enabled states as the menu shows them; the ui test reads them here.
  void PrepareMenu();
  QAction* search_action() const { return join_; }
  QAction* save_state_action() const { return env_save_; }
  QProgressBar* progress_bar() const { return progress_; }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ConnectGridWindow(int w);
  void NotAvailableYet();

  TableWindowView* views_[2];
  ResultDragState drag_;
  QMenu* menu_;
  QAction* join_;
  QAction* cond_search_;
  QAction* env_save_;
  QProgressBar* progress_;
  HintView* hint_;
};

}  // namespace mivora::ui
