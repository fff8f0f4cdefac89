#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "conditions/SqlFrameDrag.h"
#include "ui/TopLevelWindow.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace mivora::ui {

class DragEnd;

class BoxTextField;
class CanvasBarsView;
class HintView;

// The window `Equations`: mirrors the condition tree (panels with their labels, equation
// boxes with their text fields), the operator palette, the rubber band and the SQL text
// frame. Every mouse event and edit goes to the core (conditions/EquationsGestures.h,
// EquationEntry.h, EquationsKeyboard.h); the windows sync from the model after each.
class EquationsWindow : public TopLevelWindow {
 public:
  EquationsWindow(Workspace& ws, SyncHub& hub);
  ~EquationsWindow() override;
  void Sync() override;

  // The widgets of a box, a panel, the palette and the SQL text (nullptr before they exist).
  QLineEdit* BoxTextField(int box) const;
  QFrame* BoxFrame(int box) const;
  QFrame* PanelFrame(int panel) const;
  QLabel* PanelLabel(int panel) const;
  QFrame* OperatorPalette() const { return palette_; }
  QLabel* OperatorLabel(int label) const;
  QFrame* Band() const { return band_; }
  QGroupBox* SqlTextFrame() const { return sql_frame_; }
  QPlainTextEdit* SqlTextBox() const { return sql_text_; }
  // The canvas's scroll bars.
  CanvasBarsView* ScrollBars() const { return bars_view_.get(); }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct PanelWidgets {
    QFrame* frame;
    QLabel* label;
  };
  struct BoxWidgets {
    QFrame* frame;
    mivora::ui::BoxTextField* text;
  };
  QWidget* ContainerWidget(int panel) const;
  void SyncPanels();
  void SyncBoxes();
  void SyncPalette();
  void SyncStacking();
  // After a mouse event: sync, and keep the mouse grab with the widget that started a drag.
  void AfterMouseEvent(QWidget* widget, bool pressed);
  void FocusBox(int box);
  int FocusedBox() const;

  std::vector<PanelWidgets> panels_;
  std::vector<BoxWidgets> boxes_;
  QFrame* palette_;
  std::vector<QLabel*> palette_labels_;
  QFrame* band_;
  QGroupBox* sql_frame_;
  SqlFrameAnchor sql_anchor_;  // where a drag of the SQL frame began
  DragEnd* sql_drag_end_;  // a drag of the SQL frame that loses the grab ends there
  QPlainTextEdit* sql_text_;
  QWidget* dragging_ = nullptr;  // the widget holding the grab during a drag
  std::vector<std::pair<QWidget*, QWidget*>> stacked_;  // last stacking order, with parents
  static constexpr int kNoFocusChange = -2;
  int focus_after_event_ = kNoFocusChange;  // a box (-1 the window) to focus after an event
  HintView* hint_;
  std::unique_ptr<CanvasBarsView> bars_view_;
};

}  // namespace mivora::ui
