#include "ui/TablesWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPainter>

#include "MivoraCursor.h"
#include "canvas/ButtonHints.h"
#include "canvas/TablesMouse.h"
#include "ui/AboutBox.h"
#include "ui/MouseEvents.h"
#include "ui/ResumeMenu.h"
#include "ui/Units.h"
#include "model/Constants.h"
#include "workspace/ProgramData.h"
#include "workspace/Startup.h"
#include "workspace/TablesMenu.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

// The empty canvas: hands its mouse events to the window.
class TablesCanvas : public QWidget {
 public:
  TablesCanvas(TablesWindow* window) : QWidget(window), window_(window) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kCanvasColour));
    setPalette(pal);
  }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    window_->CanvasMouseMoved(ToMouseEvent(event));
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    window_->CanvasMouseReleased(ToMouseEvent(event), event->globalPosition().toPoint());
  }

 private:
  TablesWindow* window_;
};

// Paints the rubber band and the join lines above everything; lets the mouse through.
class CanvasOverlay : public QWidget {
 public:
  CanvasOverlay(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ToQColor(kJoinLineColour), 2));
    for (const LineShape& l : ws_.search.join_lines) {
      if (l.visible)
        p.drawLine(QPointF(ToPixels(l.x1), ToPixels(l.y1)),
                   QPointF(ToPixels(l.x2), ToPixels(l.y2)));
    }
    const LineShape& band = ws_.tables.line1;
    if (band.visible) {
      p.setPen(QPen(Qt::black, 1, Qt::DashLine));
      p.drawLine(QPointF(ToPixels(band.x1), ToPixels(band.y1)),
                 QPointF(ToPixels(band.x2), ToPixels(band.y2)));
    }
  }

 private:
  Workspace& ws_;
};

// One join-line segment: a thin bar that hands its mouse events to the mouse layer.
class SegmentView : public QFrame {
 public:
  SegmentView(int index, TablesWindow* window, QWidget* parent)
      : QFrame(parent), index_(index), window_(window) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    window_->SegmentMouseMoved(index_, ToMouseEvent(event));
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    window_->SegmentMouseReleased(index_, ToMouseEvent(event));
  }

 private:
  int index_;
  TablesWindow* window_;
};

TablesWindow::TablesWindow(Workspace& ws, SyncHub& hub)
    : TopLevelWindow(ws, ws.tables.window, hub) {
  canvas_ = new TablesCanvas(this);
  overlay_ = new CanvasOverlay(ws, canvas_);
  hint_ = new MivoraCursor(canvas_);
  hint_->hide();
  // Moving onto the hint makes it slide 500 twips down, out from under the pointer.
  connect(hint_, &MivoraCursor::MouseMove, this, [this](int, int, float, float) {
    ws_.tables.hint.control.rect.top += 500;
    SyncHint(false);
  });
}

void TablesWindow::SyncHint(bool reload_pictures) {
  const ButtonHint& hint = ws_.tables.hint;
  if (reload_pictures) {
    // A missing or unreadable file keeps the picture shown before.
    QPixmap mask(ProgramDataPath(hint.mask_file));
    QPixmap picture(ProgramDataPath(hint.picture_file));
    if (!mask.isNull()) hint_->SetMaskPicture(mask);
    if (!picture.isNull()) hint_->SetPicture(picture);
  }
  hint_->move(ToPixels(hint.control.rect.left), ToPixels(hint.control.rect.top));
  hint_->setVisible(hint.control.visible && !hint_->Picture().isNull());
  hint_->raise();
}

QWidget* TablesWindow::canvas() const { return canvas_; }

TableWindowView* TablesWindow::TableView(int slot) const {
  return slot >= 0 && slot < static_cast<int>(views_.size()) ? views_[slot] : nullptr;
}

void TablesWindow::LayoutCanvas() {
  canvas_->setGeometry(rect());
  overlay_->setGeometry(canvas_->rect());
  overlay_->raise();
}

void TablesWindow::resizeEvent(QResizeEvent* event) {
  TopLevelWindow::resizeEvent(event);
  LayoutCanvas();
}

void TablesWindow::ConnectSlot(TableWindowView* view, int slot) {
  GridView* grid = view->grid();
  connect(grid, &GridView::mouseMoved, this, [this, slot](const MouseEvent& e) {
    TablesGridMouseMove(ws_, slot, e);
    UpdateRubberBand();
  });
  connect(grid, &GridView::mouseReleased, this, [this, slot](const MouseEvent& e) {
    TablesMouseAction action = TablesGridMouseUp(ws_, slot, e);
    (void)action;  // the table's popup menu comes with the table commands
    hub_.SyncAll();
  });
  connect(view, &TableWindowView::frameMoved, this, [this, slot](const MouseEvent& e) {
    TablesFrameMouseMove(ws_, slot, e);
    UpdateRubberBand();
  });
}

void TablesWindow::Sync() {
  TopLevelWindow::Sync();
  LayoutCanvas();
  auto& slots = ws_.tables.slots;
  // Boundary bars and table windows, created as the model grows.
  while (bars_.size() < std::min<std::size_t>(4, slots.size())) {
    auto* bar = new QFrame(canvas_);
    bars_.push_back(bar);
  }
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const Control& c = slots[i].frame;
    bars_[i]->setGeometry(ToPixels(c.rect));
    bars_[i]->setAutoFillBackground(true);
    QPalette pal = bars_[i]->palette();
    pal.setColor(QPalette::Window, ToQColor(c.back_colour));
    bars_[i]->setPalette(pal);
    bars_[i]->setVisible(c.visible && c.rect.width > 0 && c.rect.height > 0);
  }
  views_.resize(slots.size(), nullptr);
  std::vector<std::pair<std::uint64_t, QWidget*>> stack;
  for (int s = kFirstTableSlot; s < static_cast<int>(slots.size()); ++s) {
    if (!views_[s]) {
      views_[s] = new TableWindowView(slots[s], canvas_);
      ConnectSlot(views_[s], s);
    }
    views_[s]->Sync();
    stack.emplace_back(slots[s].frame.z, views_[s]);
  }
  SyncSegments();
  for (std::size_t i = 0; i < segments_.size(); ++i)
    stack.emplace_back(ws_.tables.line2[i].z, segments_[i]);
  std::stable_sort(stack.begin(), stack.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [z, w] : stack) w->raise();
  overlay_->raise();
  overlay_->update();
  hint_->raise();
}

void TablesWindow::SyncSegments() {
  const auto& line2 = ws_.tables.line2;
  // Segment widgets exist only up to the last one ever shown.
  std::size_t needed = 0;
  for (std::size_t i = 0; i < line2.size(); ++i)
    if (line2[i].visible) needed = i + 1;
  while (segments_.size() < needed)
    segments_.push_back(new SegmentView(static_cast<int>(segments_.size()), this, canvas_));
  for (std::size_t i = 0; i < segments_.size(); ++i) {
    const Control& c = line2[i];
    segments_[i]->setGeometry(ToPixels(c.rect));
    QPalette pal = segments_[i]->palette();
    pal.setColor(QPalette::Window, ToQColor(c.back_colour));
    segments_[i]->setPalette(pal);
    segments_[i]->setVisible(c.visible);
  }
}

void TablesWindow::UpdateRubberBand() {
  // Only the strip the band covered and now covers is repainted, not the whole canvas.
  const LineShape& band = ws_.tables.line1;
  QRect now;
  if (band.visible) {
    now = QRect(QPoint(ToPixels(band.x1), ToPixels(band.y1)),
                QPoint(ToPixels(band.x2), ToPixels(band.y2)))
              .normalized()
              .adjusted(-3, -3, 3, 3);
  }
  const QRect dirty = now.united(band_rect_);
  band_rect_ = now;
  if (!dirty.isEmpty()) overlay_->update(dirty);
}

void TablesWindow::SegmentMouseMoved(int segment, const MouseEvent& e) {
  TablesSegmentMouseMove(ws_, segment, e);
  UpdateRubberBand();
}

void TablesWindow::SegmentMouseReleased(int segment, const MouseEvent& e) {
  TablesSegmentMouseUp(ws_, segment, e);
  hub_.SyncAll();
}

void TablesWindow::CanvasMouseMoved(const MouseEvent& e) {
  TablesCanvasMouseMove(ws_, e);
  SyncHint(ShowButtonHint(ws_.tables.hint, ws_.tables.default_hint_mask,
                          ws_.tables.default_hint_picture, e.x, e.y));
  UpdateRubberBand();
}

void TablesWindow::CanvasMouseReleased(const MouseEvent& e, const QPoint& global) {
  TablesMouseAction action = TablesCanvasMouseUp(ws_, e);
  hub_.SyncAll();
  if (action == TablesMouseAction::kCanvasMenu) ShowCanvasMenu(global);
  if (action == TablesMouseAction::kAboutBox) {
    hint_->hide();
    AboutBox about(this);
    about.exec();
    raise();
    activateWindow();
    SyncHint(false);
  }
}

void TablesWindow::ShowCanvasMenu(const QPoint& global) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("FrmMenu"));
  AddResumeCommand(menu, ws_, [this] { hub_.SyncAll(); });
  menu.addSeparator();
  menu.addAction(QStringLiteral("表を読み込む"), this, [this] {
    MenuLoadTable(ws_);
    hub_.SyncAll();
  });
  menu.addSeparator();
  AddExamplesMenu(menu, ws_, [this] { hub_.SyncAll(); });
  menu.exec(global);
}

void TablesWindow::closeEvent(QCloseEvent* event) {
  if (event->spontaneous()) {
    event->ignore();
    EndProgram(ws_);
    return;
  }
  event->accept();
}

}  // namespace mivora::ui
