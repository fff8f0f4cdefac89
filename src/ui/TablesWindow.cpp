#include "ui/TablesWindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "canvas/ButtonHints.h"
#include "canvas/HintSpots.h"
#include "canvas/ScrollBars.h"
#include "canvas/TableWindowMouse.h"
#include "canvas/TablesMouse.h"
#include "ui/AboutBox.h"
#include "ui/CanvasBarsView.h"
#include "ui/HintView.h"
#include "ui/MouseEvents.h"
#include "ui/PasteBoxView.h"
#include "ui/TablesCanvasMenu.h"
#include "ui/Units.h"
#include "model/Constants.h"
#include "workspace/ProgramData.h"
#include "workspace/Startup.h"
#include "workspace/TablesMenu.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

// The empty canvas: paints the join-line segments (beneath every table window) and hands
// its mouse events to the window, to a segment's handlers when one lies under the pointer.
class TablesCanvas : public QWidget {
 public:
  TablesCanvas(TablesWindow* window, Workspace& ws) : QWidget(window), window_(window), ws_(ws) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kCanvasColour));
    setPalette(pal);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    for (const Control& c : ws_.tables.line2) {
      if (!c.visible) continue;
      const QRect r = ToPixels(c.rect);
      if (r.intersects(event->rect())) p.fillRect(r, ToQColor(c.back_colour));
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    MouseEvent e = ToMouseEvent(event);
    const int s = SegmentAt(event->position().toPoint());
    if (s < 0) {
      window_->CanvasMouseMoved(e);
      return;
    }
    e.x -= ws_.tables.line2[s].rect.left;
    e.y -= ws_.tables.line2[s].rect.top;
    window_->SegmentMouseMoved(s, e);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    MouseEvent e = ToMouseEvent(event);
    const int s = SegmentAt(event->position().toPoint());
    if (s < 0) {
      window_->CanvasMouseReleased(e, event->globalPosition().toPoint());
      return;
    }
    e.x -= ws_.tables.line2[s].rect.left;
    e.y -= ws_.tables.line2[s].rect.top;
    window_->SegmentMouseReleased(s, e);
  }
  void wheelEvent(QWheelEvent* event) override {
    const QPoint d = event->angleDelta();
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || (d.x() != 0 && d.y() == 0);
    rest_ += sideways && d.x() != 0 ? d.x() : d.y();
    const int notches = -(rest_ / 120);
    rest_ %= 120;
    if (notches != 0) window_->CanvasWheel(notches, sideways);
  }

 private:
  // The segment under a point, the last drawn first.
  int SegmentAt(QPoint pt) const {
    const auto& line2 = ws_.tables.line2;
    for (int i = static_cast<int>(line2.size()) - 1; i >= 0; --i)
      if (line2[i].visible && ToPixels(line2[i].rect).contains(pt)) return i;
    return -1;
  }
  TablesWindow* window_;
  Workspace& ws_;
  int rest_ = 0;
};

// Paints the rubber band above everything; lets the mouse through.
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

TablesWindow::TablesWindow(Workspace& ws, SyncHub& hub)
    : TopLevelWindow(ws, ws.tables.window, hub) {
  canvas_ = new TablesCanvas(this, ws);
  overlay_ = new CanvasOverlay(ws, canvas_);
  bars_view_ = std::make_unique<CanvasBarsView>(
      canvas_, [this](CanvasBarPart part, int kind, const MouseEvent& e) {
        CanvasBarMouse(part, kind, e);
      });
  hint_ = new HintView(this, canvas_, ws.tables.hint,
                       [this](float x, float y) { return TablesHintAt(ws_, x, y); });
  hint_->HideOnSortOrTraceClick(true);
  paste_box_ = new PasteBoxView(ws, hub, canvas_);
  InstallOracleExampleShortcut(this, ws, hub);
}

TablesWindow::~TablesWindow() = default;

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
  UpdateCanvasVScroll(ws_);
  UpdateCanvasHScroll(ws_);
  SyncCanvasBars();
}

void TablesWindow::ConnectSlot(TableWindowView* view, int slot) {
  GridView* grid = view->grid();
  connect(grid, &GridView::mouseMoved, this, [this, slot](const MouseEvent& e) {
    TablesGridMouseMove(ws_, slot, e);
    UpdateRubberBand();
  });
  connect(grid, &GridView::mouseReleased, this, [this, slot](const MouseEvent& e) {
    TablesMouseAction action = TablesGridMouseUp(ws_, slot, e);
    hub_.SyncAll();
    if (action == TablesMouseAction::kTablePopupMenu) ShowTableMenu(QCursor::pos());
  });
  connect(view, &TableWindowView::partMouse, this,
          [this, slot](int part, int kind, const MouseEvent& e) { TablePartMouse(slot, part, kind, e); });
  connect(grid, &GridView::wheelTurned, this, [this, slot](int steps, bool sideways) {
    TableWheel(ws_, slot, steps, sideways);
    if (sideways) {
      hub_.SyncAll();
    } else if (TableWindowView* v = TableView(slot)) {
      v->Sync();
    }
  });
}

void TablesWindow::TablePartMouse(int slot, int part, int kind, const MouseEvent& e) {
  const auto p = static_cast<TablePart>(part);
  if (kind == 0) {
    TablePartMouseDown(ws_, slot, p, e);
    Sync();
  } else if (kind == 1) {
    TablePartMouseMove(ws_, slot, p, e);
    // While a button is held the windows move: mirror the canvas, not the other windows.
    if (e.button != 0) Sync();
    UpdateRubberBand();
  } else {
    TablePartMouseUp(ws_, slot, p, e);
    hub_.SyncAll();
  }
}

void TablesWindow::CanvasBarMouse(CanvasBarPart part, int kind, const MouseEvent& e) {
  if (kind == 0) CanvasBarMouseDown(ws_, part, e);
  if (kind == 1) CanvasBarMouseMove(ws_, part, e);
  if (kind == 2) CanvasBarMouseUp(ws_, part, e);
  if (kind == 1 && e.button == 0) return;
  Sync();
  UpdateRubberBand();
}

void TablesWindow::CanvasWheel(int notches, bool sideways) {
  mivora::CanvasWheel(ws_, notches, sideways);
  Sync();
}

void TablesWindow::SyncCanvasBars() {
  bars_view_->Sync(ws_.tables.canvas_bars);
  bars_view_->Raise();
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
  paste_box_->Sync();
  stack.emplace_back(ws_.tables.receive_text_box.control.z, paste_box_);
  std::stable_sort(stack.begin(), stack.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [z, w] : stack) w->raise();
  SyncCanvasBars();
  overlay_->raise();
  overlay_->update();
  hint_->Raise();
}

void TablesWindow::SyncSegments() { canvas_->update(); }

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
  UpdateRubberBand();
}

void TablesWindow::CanvasMouseReleased(const MouseEvent& e, const QPoint& global) {
  TablesMouseAction action = TablesCanvasMouseUp(ws_, e);
  hub_.SyncAll();
  if (action == TablesMouseAction::kCanvasMenu) ShowCanvasMenu(global);
  if (action == TablesMouseAction::kAboutBox) {
    AboutBox about(this);
    about.exec();
    raise();
    activateWindow();
  }
}

void TablesWindow::ShowCanvasMenu(const QPoint& global) {
  // The hint stays hidden while a menu is open; it comes back at the next move.
  hint_->Hide();
  ExecCanvasMenu(this, ws_, hub_, global);
}

void TablesWindow::ShowTableMenu(const QPoint& global) {
  hint_->Hide();
  ExecTableMenu(this, ws_, hub_, global);
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
