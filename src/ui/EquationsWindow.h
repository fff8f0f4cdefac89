#pragma once

#include <vector>

#include "ui/TopLevelWindow.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace mivora::ui {

class HintView;

// The window `Equations`: mirrors the condition tree (panels with their labels, equation
// boxes with their text fields) and the SQL text frame. Box edits and releases over the SQL
// text frame go to the core; the window syncs from the model after each of them.
class EquationsWindow : public TopLevelWindow {
 public:
  EquationsWindow(Workspace& ws, SyncHub& hub);
  void Sync() override;

  // The widgets of a box, a panel and the SQL text (nullptr before they exist).
  QLineEdit* BoxTextField(int box) const;
  QFrame* PanelFrame(int panel) const;
  QLabel* PanelLabel(int panel) const;
  QGroupBox* SqlTextFrame() const { return sql_frame_; }
  QPlainTextEdit* SqlTextBox() const { return sql_text_; }

 private:
  struct PanelWidgets {
    QFrame* frame;
    QLabel* label;
  };
  struct BoxWidgets {
    QFrame* frame;
    QLineEdit* text;
  };
  QWidget* ContainerWidget(int panel) const;
  void SyncPanels();
  void SyncBoxes();
  void SyncStacking();

  std::vector<PanelWidgets> panels_;
  std::vector<BoxWidgets> boxes_;
  QGroupBox* sql_frame_;
  QPlainTextEdit* sql_text_;
  HintView* hint_;
};

}  // namespace mivora::ui
