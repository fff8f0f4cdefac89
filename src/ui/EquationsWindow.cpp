#include "ui/EquationsWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>

#include "conditions/SqlFrameDrag.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/EquationsGestures.h"
#include "conditions/EquationsKeyboard.h"
#include "conditions/EquationsScroll.h"
#include "conditions/OperatorPalette.h"
#include "conditions/SqlText.h"
#include "ui/CanvasBarsView.h"
#include "ui/DragEnd.h"
#include "ui/EquationsWidgets.h"
#include "canvas/HintSpots.h"
#include "conditions/SqlText.h"
#include "ui/HintView.h"
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

}  // namespace

EquationsWindow::EquationsWindow(Workspace& ws, SyncHub& hub)
    : TopLevelWindow(ws, ws.equations_window, hub) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  auto after = [this](QWidget* w, bool pressed) { AfterMouseEvent(w, pressed); };

  auto* sql_frame = new RoutedGroupBox(this);
  sql_drag_end_ = new DragEnd(
      [this](QWidget* widget, const MouseEvent& release) {
        SqlTextFrameMouseUp(ws_, release.button, release.shift);
        AfterMouseEvent(widget, false);
      },
      this);
  // The right button moves the frame, the left resizes it by its strips.
  sql_frame->route.down = [this](const MouseEvent& e) {
    sql_drag_end_->Pressed(sql_frame_, e);
    SqlFrameMouseDown(sql_anchor_, e.x, e.y);
  };
  sql_frame->route.move = [this](const MouseEvent& e) {
    SqlFrameMouseMove(ws_, e);
    const bool dragging = sql_drag_end_->Moved(sql_frame_, e);
    if (e.button != 0 && dragging) {
      SqlFrameDragStep(ws_.conditions.cnd_equation, ws_.conditions.equation, sql_anchor_,
                       e.button, e.x, e.y);
    }
  };
  sql_frame->route.up = [this](const MouseEvent& e) {
    if (sql_drag_end_->Released(sql_frame_)) SqlTextFrameMouseUp(ws_, e.button, e.shift);
  };
  sql_frame->route.after = after;
  sql_frame_ = sql_frame;
  sql_text_ = new QPlainTextEdit(sql_frame_);
  sql_text_->setReadOnly(true);
  sql_text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sql_text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  sql_text_->setTabChangesFocus(true);
  sql_text_->viewport()->setMouseTracking(true);
  sql_text_->viewport()->installEventFilter(this);

  auto* palette = new RoutedFrame(this);
  palette->route.move = [this](const MouseEvent& e) { OperatorPaletteMouseMove(ws_, e); };
  palette->route.after = after;
  palette_ = palette;
  for (int i = 0; i < kOperatorLabelCount; ++i) {
    auto* label = new RoutedLabel(palette_);
    label->setAlignment(Qt::AlignCenter);
    label->route.move = [this, i](const MouseEvent& e) { OperatorLabelMouseMove(ws_, i, e); };
    label->route.up = [this, i](const MouseEvent&) { OperatorLabelMouseUp(ws_, i); };
    label->route.after = after;
    label->setObjectName(OperatorLabelName(i));
    palette_labels_.push_back(label);
  }

  band_ = new QFrame(this);
  band_->setFrameShape(QFrame::Box);
  band_->setAttribute(Qt::WA_TransparentForMouseEvents);
  band_->hide();
  bars_view_ = std::make_unique<CanvasBarsView>(
      this, [this](CanvasBarPart part, int kind, const MouseEvent& e) {
        if (kind == 0) EquationsBarMouseDown(ws_, part, e);
        if (kind == 1) EquationsBarMouseMove(ws_, part, e);
        if (kind == 2) EquationsBarMouseUp(ws_, part, e);
        if (kind == 1 && e.button == 0) return;
        hub_.SyncAll();
      });
  hint_ = new HintView(this, this, [this](float x, float y) { return EquationsHintAt(ws_, x, y); });
}

EquationsWindow::~EquationsWindow() = default;

void EquationsWindow::resizeEvent(QResizeEvent* event) {
  TopLevelWindow::resizeEvent(event);
  UpdateEquationsScrollBars(ws_);
  bars_view_->Sync(ws_.conditions.bars);
}

QWidget* EquationsWindow::ContainerWidget(int panel) const {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) return panels_[panel].frame;
  return const_cast<EquationsWindow*>(this);
}

QLineEdit* EquationsWindow::BoxTextField(int box) const {
  return box >= 0 && box < static_cast<int>(boxes_.size()) ? boxes_[box].text : nullptr;
}

QFrame* EquationsWindow::BoxFrame(int box) const {
  return box >= 0 && box < static_cast<int>(boxes_.size()) ? boxes_[box].frame : nullptr;
}

QFrame* EquationsWindow::PanelFrame(int panel) const {
  return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel].frame : nullptr;
}

QLabel* EquationsWindow::PanelLabel(int panel) const {
  return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel].label : nullptr;
}

QLabel* EquationsWindow::OperatorLabel(int label) const {
  return label >= 0 && label < static_cast<int>(palette_labels_.size()) ? palette_labels_[label]
                                                                         : nullptr;
}

void EquationsWindow::AfterMouseEvent(QWidget* widget, bool pressed) {
  if (pressed && EquationsDragActive(ws_)) dragging_ = widget;
  hub_.SyncAll();
  // Re-parenting a widget (a box or panel moved into the root) loses Qt's implicit grab, so
  // the widget that started the drag holds it explicitly until the drag ends.
  if (EquationsDragActive(ws_)) {
    if (dragging_ && QWidget::mouseGrabber() != dragging_) dragging_->grabMouse();
  } else if (dragging_) {
    if (QWidget::mouseGrabber() == dragging_) dragging_->releaseMouse();
    dragging_ = nullptr;
  }
  if (focus_after_event_ != kNoFocusChange) {
    FocusBox(focus_after_event_);
    focus_after_event_ = kNoFocusChange;
  }
}

void EquationsWindow::mouseMoveEvent(QMouseEvent* event) {
  const MouseEvent e = ToMouseEvent(event);
  EquationsCanvasMouseMove(ws_, e);
  AfterMouseEvent(this, false);
}

bool EquationsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sql_text_->viewport() && event->type() == QEvent::MouseMove) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    MouseEvent e = ToMouseEvent(mouse);
    SqlTextBoxMouseMove(ws_, e);
  }
  return TopLevelWindow::eventFilter(watched, event);
}

int EquationsWindow::FocusedBox() const {
  const QWidget* focus = focusWidget();
  for (std::size_t i = 0; i < boxes_.size(); ++i)
    if (boxes_[i].text == focus) return static_cast<int>(i);
  return -1;
}

void EquationsWindow::FocusBox(int box) {
  if (QLineEdit* field = BoxTextField(box); field && field->isVisible())
    field->setFocus(Qt::TabFocusReason);
  else
    setFocus(Qt::OtherFocusReason);
}

void EquationsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    EquationsEscape(ws_, FocusedBox());
    AfterMouseEvent(nullptr, false);
    return;
  }
  TopLevelWindow::keyPressEvent(event);
}

bool EquationsWindow::focusNextPrevChild(bool next) {
  // Tab goes through the box fields in the order of the condition text, then the SQL text.
  const int from = sql_text_->hasFocus() ? -1 : FocusedBox();
  const int to = NextBoxInTextOrder(ws_, from, !next);
  if (to >= 0)
    FocusBox(to);
  else
    sql_text_->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void EquationsWindow::SyncPanels() {
  const auto& panels = ws_.conditions.panels;
  while (panels_.size() < panels.size()) {
    const int index = static_cast<int>(panels_.size());
    auto* frame = new RoutedFrame(this);
    frame->route.down = [this, index](const MouseEvent& e) { PanelBorderMouseDown(ws_, index, e); };
    frame->route.move = [this, index](const MouseEvent& e) { PanelBorderMouseMove(ws_, index, e); };
    frame->route.up = [this, index](const MouseEvent& e) { PanelBorderMouseUp(ws_, index, e); };
    frame->route.after = [this](QWidget* w, bool pressed) { AfterMouseEvent(w, pressed); };
    auto* label = new RoutedLabel(frame);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->route.down = [this, index](const MouseEvent& e) { PanelLabelMouseDown(ws_, index, e); };
    label->route.move = [this, index](const MouseEvent& e) { PanelLabelMouseMove(ws_, index, e); };
    label->route.up = [this, index](const MouseEvent& e) { PanelLabelMouseUp(ws_, index, e); };
    label->route.after = [this](QWidget* w, bool pressed) { AfterMouseEvent(w, pressed); };
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
    auto* frame = new RoutedFrame(this);
    frame->route.down = [this, index](const MouseEvent& e) { BoxFrameMouseDown(ws_, index, e); };
    frame->route.move = [this, index](const MouseEvent& e) { BoxFrameMouseMove(ws_, index, e); };
    frame->route.up = [this, index](const MouseEvent& e) {
      // A box deleted while its field has the focus passes it to the next box.
      const bool had_focus = boxes_[index].text->hasFocus();
      int next = NextBoxInTextOrder(ws_, index, false);
      if (next < 0) next = NextBoxInTextOrder(ws_, index, true);
      BoxFrameMouseUp(ws_, index, e);
      if (had_focus && !ws_.conditions.boxes[index].live()) focus_after_event_ = next;
    };
    frame->route.after = [this](QWidget* w, bool pressed) { AfterMouseEvent(w, pressed); };
    auto* text = new mivora::ui::BoxTextField(index, frame);
    text->edited = [this, index, text](const QString& typed) {
      const qsizetype cursor = EditEquationBoxText(ws_, index, typed, text->cursorPosition());
      hub_.SyncAll();
      text->setCursorPosition(static_cast<int>(cursor));
    };
    text->edit_ended = [this, index] {
      EndEquationEdit(ws_, index);
      hub_.SyncAll();
    };
    text->escape = [this, index] {
      EquationsEscape(ws_, index);
      hub_.SyncAll();
    };
    text->erase_in_empty = [this, index] {
      const int next = EraseKeyInEmptyField(ws_, index);
      hub_.SyncAll();
      if (next != index) FocusBox(next);
    };
    text->moved = [this, index](const MouseEvent& e) {
      BoxTextMouseMove(ws_, index, e);
      AfterMouseEvent(nullptr, false);
    };
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
    if (w.text->text() != b.FieldText()) w.text->setText(b.FieldText());
    // A refused text stays shown, in red, until it is fixed.
    QPalette pal = w.text->palette();
    const QColor ink = b.refused ? QColor(Qt::red) : palette().color(QPalette::Text);
    if (pal.color(QPalette::Text) != ink) {
      pal.setColor(QPalette::Text, ink);
      w.text->setPalette(pal);
    }
    const QString tip = b.refused ? IrregularEquationMessage() : QString();
    if (w.text->toolTip() != tip) w.text->setToolTip(tip);
    w.text->setVisible(b.text1.visible);
  }
}

void EquationsWindow::SyncPalette() {
  const Conditions& c = ws_.conditions;
  Place(palette_, c.operator_palette);
  SetBackground(palette_, c.operator_palette.back_colour);
  for (std::size_t i = 0; i < palette_labels_.size(); ++i) {
    const Control& label = c.operator_labels[i];
    Place(palette_labels_[i], label);
    if (palette_labels_[i]->text() != label.caption) palette_labels_[i]->setText(label.caption);
    palette_labels_[i]->setVisible(label.visible);
  }
  palette_->setVisible(c.operator_palette.visible);
  Place(band_, c.rectngl);
  band_->setVisible(c.rectngl.visible);
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
  stack.emplace_back(c.operator_palette.z, palette_);
  std::stable_sort(stack.begin(), stack.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // Raising repaints; when neither the order nor any parent changed there is nothing to do.
  std::vector<std::pair<QWidget*, QWidget*>> order;
  order.reserve(stack.size());
  for (const auto& entry : stack) order.emplace_back(entry.second, entry.second->parentWidget());
  if (order == stacked_) return;
  stacked_ = std::move(order);
  for (const auto& entry : stack) entry.second->raise();
  for (const PanelWidgets& w : panels_) w.label->lower();
  bars_view_->Raise();
  band_->raise();
}

void EquationsWindow::Sync() {
  TopLevelWindow::Sync();
  // Every gesture, edit and command ends in a sync: the bars follow the elements they moved.
  UpdateEquationsScrollBars(ws_);
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
  SyncPalette();
  bars_view_->Sync(ws_.conditions.bars);
  SyncStacking();
  hint_->Raise();
}

}  // namespace mivora::ui
