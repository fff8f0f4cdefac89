#include "ui/TopLevelWindow.h"

#include <QCloseEvent>
#include <QWindowStateChangeEvent>

#include "ui/Units.h"
#include "model/Constants.h"

namespace mivora::ui {

void SyncHub::SyncAll() {
  for (TopLevelWindow* w : windows_) w->Sync();
}

TopLevelWindow::TopLevelWindow(Workspace& ws, TopWindow& model, SyncHub& hub)
    : QWidget(nullptr), ws_(ws), model_(model), hub_(hub) {
  hub_.Add(this);
}

void TopLevelWindow::Sync() {
  syncing_ = true;
  if (windowTitle() != model_.caption) setWindowTitle(model_.caption);
  QSize client(ToPixels(model_.width - kWindowChromeWidth),
               ToPixels(model_.height - kWindowChromeHeight));
  if (model_.width > 0 && client != size() && model_.state == WindowState::kNormal) resize(client);
  if (model_.visible && !isVisible()) show();
  if (!model_.visible && isVisible()) hide();
  syncing_ = false;
}

void TopLevelWindow::closeEvent(QCloseEvent* event) {
  // Only a close the user started is turned into minimising; the program's own closes pass.
  if (event->spontaneous()) {
    event->ignore();
    showMinimized();
    return;
  }
  event->accept();
}

void TopLevelWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    Qt::WindowStates s = windowState();
    model_.state = (s & Qt::WindowMinimized)   ? WindowState::kMinimised
                   : (s & Qt::WindowMaximized) ? WindowState::kMaximised
                                               : WindowState::kNormal;
  }
  QWidget::changeEvent(event);
}

void TopLevelWindow::resizeEvent(QResizeEvent* event) {
  if (!syncing_ && model_.state == WindowState::kNormal && isVisible()) {
    model_.width = ToTwips(width()) + kWindowChromeWidth;
    model_.height = ToTwips(height()) + kWindowChromeHeight;
  }
  QWidget::resizeEvent(event);
}

}  // namespace mivora::ui
