#include "ui/EquationsWindow.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>

#include "conditions/EquationBoxes.h"
#include "conditions/SqlText.h"
#include "ui/MouseEvents.h"
#include "ui/Units.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

namespace {

void SetBackground(QWidget* w, Colour colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  const QColor c = ToQColor(colour);
  if (pal.color(QPalette::Window) == c) return;
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
}

void Place(QWidget* w, const Control& c) {
  const QRect r = ToPixels(c.rect);
  if (w->geometry() != r) w->setGeometry(r);
}

// The frame "SQL text": hands its button releases to the core.
class SqlFrame : public QGroupBox {
 public:
  SqlFrame(Workspace& ws, SyncHub& hub, QWidget* parent) : QGroupBox(parent), ws_(ws), hub_(hub) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const MouseEvent e = ToMouseEvent(event);
    SqlTextFrameMouseUp(ws_, e.button, e.shift);
    hub_.SyncAll();
  }

 private:
  Workspace& ws_;
  SyncHub& hub_;
};

}  // namespace

EquationsWindow::EquationsWindow(Workspace& ws, SyncHub& hub)
    : TopLevelWindow(ws, ws.equations_window, hub) {
  sql_frame_ = new SqlFrame(ws, hub, this);
  sql_text_ = new QPlainTextEdit(sql_frame_);
  sql_text_->setReadOnly(true);
  sql_text_->setLineWrapMode(QPlainTextEdit::NoWrap);
}

QWidget* EquationsWindow::ContainerWidget(int panel) const {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) return panels_[panel].frame;
  return const_cast<EquationsWindow*>(this);
}

QLineEdit* EquationsWindow::BoxTextField(int box) const {
  return box >= 0 && box < static_cast<int>(boxes_.size()) ? boxes_[box].text : nullptr;
}

QFrame* EquationsWindow::PanelFrame(int panel) const {
  return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel].frame : nullptr;
}

QLabel* EquationsWindow::PanelLabel(int panel) const {
  return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel].label : nullptr;
}

void EquationsWindow::SyncPanels() {
  const auto& panels = ws_.conditions.panels;
  while (panels_.size() < panels.size()) {
    auto* frame = new QFrame(this);
    auto* label = new QLabel(frame);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panels_.push_back({frame, label});
  }
  // Parents first, so that every frame has its container's widget before it is placed.
  for (std::size_t i = 0; i < panels.size(); ++i) {
    QWidget* parent = i == 0 ? this : ContainerWidget(panels[i].container);
    if (panels_[i].frame->parentWidget() != parent) panels_[i].frame->setParent(parent);
  }
  for (std::size_t i = 0; i < panels.size(); ++i) {
    const ParenthesesPanel& p = panels[i];
    PanelWidgets& w = panels_[i];
    Place(w.frame, p.kakko);
    SetBackground(w.frame, p.kakko.back_colour);
    w.frame->setVisible(p.kakko.visible);
    Place(w.label, p.label_n);
    SetBackground(w.label, p.label_n.back_colour);
    if (w.label->text() != p.label_n.caption) w.label->setText(p.label_n.caption);
    w.label->setVisible(p.label_n.visible);
  }
}

void EquationsWindow::SyncBoxes() {
  const auto& boxes = ws_.conditions.boxes;
  while (boxes_.size() < boxes.size()) {
    const int index = static_cast<int>(boxes_.size());
    auto* frame = new QFrame(this);
    auto* text = new QLineEdit(frame);
    text->setFrame(false);
    connect(text, &QLineEdit::textEdited, this, [this, index](const QString& edited) {
      SetEquationBoxText(ws_, index, edited);
      hub_.SyncAll();
    });
    boxes_.push_back({frame, text});
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const EquationBox& b = boxes[i];
    BoxWidgets& w = boxes_[i];
    QWidget* parent = ContainerWidget(b.container);
    if (w.frame->parentWidget() != parent) w.frame->setParent(parent);
    Place(w.frame, b.txt_hndl);
    SetBackground(w.frame, b.txt_hndl.back_colour);
    w.frame->setVisible(b.txt_hndl.visible);
    Place(w.text, b.text1);
    if (w.text->text() != b.text) w.text->setText(b.text);
    w.text->setVisible(b.text1.visible);
  }
}

void EquationsWindow::SyncStacking() {
  // Raising in ascending z leaves the largest z in front among its siblings; a panel's label
  // is its background, below everything the panel holds.
  std::vector<std::pair<std::uint64_t, QWidget*>> stack;
  const auto& c = ws_.conditions;
  for (std::size_t i = 0; i < panels_.size(); ++i)
    stack.emplace_back(c.panels[i].kakko.z, panels_[i].frame);
  for (std::size_t i = 0; i < boxes_.size(); ++i)
    stack.emplace_back(c.boxes[i].txt_hndl.z, boxes_[i].frame);
  stack.emplace_back(c.cnd_equation.z, sql_frame_);
  std::stable_sort(stack.begin(), stack.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : stack) entry.second->raise();
  for (const PanelWidgets& w : panels_) w.label->lower();
}

void EquationsWindow::Sync() {
  TopLevelWindow::Sync();
  SyncPanels();
  SyncBoxes();
  const Conditions& c = ws_.conditions;
  Place(sql_frame_, c.cnd_equation);
  SetBackground(sql_frame_, c.cnd_equation.back_colour);
  if (sql_frame_->title() != c.cnd_equation.caption) sql_frame_->setTitle(c.cnd_equation.caption);
  sql_frame_->setVisible(c.cnd_equation.visible);
  Place(sql_text_, c.equation);
  const QString shown =
      QString(c.equation_text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (sql_text_->toPlainText() != shown) sql_text_->setPlainText(shown);
  sql_text_->setVisible(c.equation.visible);
  SyncStacking();
}

}  // namespace mivora::ui
