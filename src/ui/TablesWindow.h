#pragma once

#include <QFrame>
#include <memory>
#include <vector>

#include "canvas/TableWindowMouse.h"
#include "ui/TableWindowView.h"
#include "ui/TopLevelWindow.h"

namespace mivora::ui {

class HintView;
class TablesCanvas;
class CanvasOverlay;
class PasteBoxView;
class CanvasBarsView;

// The main window `Tables`: the canvas with its table windows, boundary bars, join lines and
// the rubber band. Mouse events go to the core's Tables mouse layer; the window mirrors the
// model after each of them.
class TablesWindow : public TopLevelWindow {
 public:
  TablesWindow(Workspace& ws, SyncHub& hub);
  ~TablesWindow() override;
  void Sync() override;

  QWidget* canvas() const;
  // The widgets of a table slot (nullptr before the slot exists).
  TableWindowView* TableView(int slot) const;
  CanvasBarsView* CanvasBars() const { return bars_view_.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class TablesCanvas;
  friend class CanvasBarsView;
  void TablePartMouse(int slot, int part, int kind, const MouseEvent& e);
  void CanvasBarMouse(CanvasBarPart part, int kind, const MouseEvent& e);
  void CanvasWheel(int notches, bool sideways);
  void SyncCanvasBars();
  void CanvasMouseMoved(const MouseEvent& e);
  void CanvasMouseReleased(const MouseEvent& e, const QPoint& global);
  void SegmentMouseMoved(int segment, const MouseEvent& e);
  void SegmentMouseReleased(int segment, const MouseEvent& e);
  void ConnectSlot(TableWindowView* view, int slot);
  void ShowCanvasMenu(const QPoint& global);
  void ShowTableMenu(const QPoint& global);
  void LayoutCanvas();
  void SyncSegments();
  void UpdateRubberBand();

  TablesCanvas* canvas_;
  CanvasOverlay* overlay_;
  std::vector<TableWindowView*> views_;  // index = slot; nullptr for the boundary bars
  std::vector<QFrame*> bars_;
  std::unique_ptr<CanvasBarsView> bars_view_;
  HintView* hint_;
  PasteBoxView* paste_box_;
  QRect band_rect_;  // where the rubber band was painted last
};

}  // namespace mivora::ui
