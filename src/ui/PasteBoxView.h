#pragma once

#include <QPlainTextEdit>

namespace mivora {
class Workspace;
}

namespace mivora::ui {

class SyncHub;

// The paste box `ReceiveTextBox` on the Tables canvas. A paste (Ctrl+V or its context menu)
// or a drop hands the text/html data (a browser's or spreadsheet's copied table), else the
// plain text, to the core, which reads the table and empties and hides the box; typed text
// goes the same way.
class PasteBoxView : public QPlainTextEdit {
 public:
  PasteBoxView(Workspace& ws, SyncHub& hub, QWidget* parent);
  void Sync();

 protected:
  void insertFromMimeData(const QMimeData* source) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;

 private:
  void Receive(const QString& text);

  Workspace& ws_;
  SyncHub& hub_;
  bool receiving_ = false;
};

}  // namespace mivora::ui
