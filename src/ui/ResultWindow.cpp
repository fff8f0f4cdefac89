#include "ui/ResultWindow.h"

#include <QApplication>
#include <algorithm>
#include <QMouseEvent>

#include "canvas/HintSpots.h"
#include "canvas/ResultWindowMoveResize.h"
#include "canvas/ScrollBars.h"
#include "conditions/ConditionFilter.h"
#include "search/ResultWindowCommands.h"
#include "search/Search.h"
#include "state/SaveState.h"
#include "tablefiles/ResultWriters.h"
#include "ui/HintView.h"
#include "ui/MouseEvents.h"
#include "ui/Units.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

ResultWindow::ResultWindow(Workspace& ws, SyncHub& hub)
    : TopLevelWindow(ws, ws.result.window, hub) {
  for (int w = 0; w < 2; ++w) {
    views_[w] = new TableWindowView(ws.result.windows[w], this);
    ConnectGridWindow(w);
  }

  menu_ = new QMenu(QStringLiteral("file"), this);
  join_ = menu_->addAction(QStringLiteral("結合し、絞り込み検索する。"));
  connect(join_, &QAction::triggered, this, [this] {
    RunSearch(ws_);
    hub_.SyncAll();
  });
  menu_->addSeparator();
  cond_search_ = menu_->addAction(QStringLiteral("再検索する。"));
  cond_search_->setVisible(false);
  connect(cond_search_, &QAction::triggered, this, [this] {
    ws_.host.SetWaitCursor(true);
    FilterJoinedRows(ws_);
    ws_.host.SetWaitCursor(false);
    hub_.SyncAll();
  });
  env_save_ = menu_->addAction(QStringLiteral("現状を保存する"));
  connect(env_save_, &QAction::triggered, this, [this] {
    SaveState(ws_);
    hub_.SyncAll();
  });
  menu_->addSeparator();
  QMenu* save = menu_->addMenu(QStringLiteral("検索結果を保存する"));
  auto add_save = [&](const QString& caption, bool visible, std::function<void()> command) {
    QAction* a = save->addAction(caption);
    a->setVisible(visible);
    connect(a, &QAction::triggered, this, [this, command] {
      command();
      hub_.SyncAll();
    });
  };
  add_save(QStringLiteral("csv File"), true, [this] { WriteResultCsv(ws_); });
  save->addSeparator();
  add_save(QStringLiteral("html File"), true, [this] { WriteResultHtml(ws_); });
  save->addSeparator();
  add_save(QStringLiteral("新規 Excel file"), false, [this] { NotAvailableYet(); });
  add_save(QStringLiteral("Excel file"), true, [this] { ChooseResultWorkbook(ws_); });

  progress_ = new QProgressBar(this);
  progress_->setTextVisible(true);
  progress_->hide();
  hint_ = new HintView(this, this, [this](float x, float y) { return ResultHintAt(ws_, x, y); });
}

void ResultWindow::ConnectGridWindow(int w) {
  GridView* grid = views_[w]->grid();
  connect(grid, &GridView::mousePressed, this, [this, w](const MouseEvent&) {
    ResultGridMousePress(ws_, w);
    hub_.SyncAll();
  });
  connect(grid, &GridView::mouseReleased, this, [this, w](const MouseEvent& e) {
    ResultGridMouseUp(ws_, w, e);
    hub_.SyncAll();
  });
  // Moving, resizing and scrolling the grid window.
  connect(views_[w], &TableWindowView::partMouse, this,
          [this, w](int part, int kind, const MouseEvent& e) {
            const auto p = static_cast<TablePart>(part);
            if (kind == 0) ResultPartMouseDown(ws_, drag_, w, p, e);
            if (kind == 1) ResultPartMouseMove(ws_, drag_, w, p, e);
            if (kind == 2) ResultPartMouseUp(ws_, drag_, w, p, e);
            if (kind != 1 || e.button != 0) Sync();
          });
  connect(grid, &GridView::wheelTurned, this, [this, w](int steps, bool sideways) {
    TableSlot& s = ws_.result.windows[w];
    if (sideways)
      ScrollTableCols(s, std::clamp<long long>(steps, -ColsFullyInView(s), ColsFullyInView(s)));
    else
      ScrollTableRows(s, std::clamp<long long>(steps, -RowsFullyInView(s), RowsFullyInView(s)));
    views_[w]->Sync();
  });
}

void ResultWindow::NotAvailableYet() {
  ws_.host.ShowMessage(QStringLiteral("この機能はまだ使えません。"));
}

void ResultWindow::Sync() {
  TopLevelWindow::Sync();
  for (int w = 0; w < 2; ++w) views_[w]->Sync();
  // The window pressed last lies in front.
  views_[ws_.result.windows[0].frame.z > ws_.result.windows[1].frame.z ? 0 : 1]->raise();
  if (ws_.result.windows[0].frame.z > ws_.result.windows[1].frame.z) {
    views_[0]->raise();
  } else {
    views_[1]->raise();
  }
  if (progress_->isVisible()) progress_->raise();
  hint_->Raise();
}

void ResultWindow::PrepareMenu() { env_save_->setEnabled(SaveStateMenuEnabled(ws_)); }

void ResultWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    PrepareMenu();
    menu_->exec(event->globalPosition().toPoint());
    return;
  }
  TopLevelWindow::mouseReleaseEvent(event);
}

void ResultWindow::ShowSearchProgress(std::int64_t done, std::int64_t total) {
  if (total <= 0) {
    progress_->hide();
    return;
  }
  // Ranges of an int: the bar shows per mille.
  const int permille = static_cast<int>(done * 1000 / total);
  if (!progress_->isVisible()) {
    const int margin = ToPixels(600);
    progress_->setRange(0, 1000);
    progress_->setGeometry(margin, height() / 2 - ToPixels(150), width() - 2 * margin,
                           ToPixels(300));
    progress_->show();
    progress_->raise();
  }
  progress_->setValue(permille);
  // Only the bar repaints; input stays blocked until the search ends.
  progress_->repaint();
}

}  // namespace mivora::ui
