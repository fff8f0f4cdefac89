#include "ui/PasteBoxView.h"

#include <QMimeData>

#include "ui/TopLevelWindow.h"
#include "ui/Units.h"
#include "workspace/PasteBox.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

PasteBoxView::PasteBoxView(Workspace& ws, SyncHub& hub, QWidget* parent)
    : QPlainTextEdit(parent), ws_(ws), hub_(hub) {
  setObjectName(QStringLiteral("ReceiveTextBox"));
  setAcceptDrops(true);
  hide();
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!receiving_) Receive(toPlainText());
  });
}

void PasteBoxView::Sync() {
  const Control& c = ws_.tables.receive_text_box.control;
  const bool was_visible = isVisible();
  setGeometry(ToPixels(c.rect));
  setVisible(c.visible);
  if (c.visible && !was_visible) {
    raise();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
  }
}

bool PasteBoxView::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasHtml() || source->hasText();
}

void PasteBoxView::insertFromMimeData(const QMimeData* source) {
  Receive(source->hasHtml() ? source->html() : source->text());
}

void PasteBoxView::Receive(const QString& text) {
  if (text.isEmpty()) return;
  receiving_ = true;
  clear();
  receiving_ = false;
  PasteBoxTextChanged(ws_, text);
  hub_.SyncAll();
}

}  // namespace mivora::ui
