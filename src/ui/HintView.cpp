#include "ui/HintView.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHash>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QSettings>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <vector>

#include "MivoraCur/MivoraCursor.h"
#include "canvas/MouseEvent.h"
#include "ui/MouseEvents.h"
#include "ui/Units.h"
#include "workspace/ProgramData.h"

namespace mivora::ui {

namespace {

const QString kSettingsKey = QStringLiteral("ShowButtonHints");

QSettings Settings() { return QSettings(QStringLiteral("Mivora"), QStringLiteral("mivora")); }

std::vector<HintView*>& AllHints() {
  static std::vector<HintView*> hints;
  return hints;
}

// A popup menu or a window that takes the input for itself (About box, message, question, file
// dialog, the sheet chooser).
bool TakesTheInput(const QWidget* w) {
  if (!w->isWindow()) return false;
  return qobject_cast<const QMenu*>(w) || w->isModal() || qobject_cast<const QDialog*>(w) ||
         w->windowType() == Qt::Popup;
}

QString TwiceName(const QString& name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? name + QStringLiteral("@2x")
                 : name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

}  // namespace

HintView::HintView(QWidget* window, QWidget* surface, ButtonHint& hint, PairAt pair_at)
    : QObject(window),
      window_(window),
      surface_(surface),
      hint_(hint),
      pair_at_(std::move(pair_at)) {
  control_ = static_cast<MivoraCursor*>(
      CreateMivoraControl(QLatin1String(MivoraCursor::kClassId), surface));
  // The hint takes no input and no focus: every press, move, release and wheel turn goes to
  // what lies beneath it.
  control_->setAttribute(Qt::WA_TransparentForMouseEvents);
  control_->setFocusPolicy(Qt::NoFocus);
  control_->hide();
  HideButtonHint(hint_);
  qApp->installEventFilter(this);
  AllHints().push_back(this);
}

HintView::~HintView() {
  std::erase(AllHints(), this);
  if (qApp) qApp->removeEventFilter(this);
}

namespace {
// The switch is read from the settings once and then kept: every mouse move asks for it.
std::optional<bool>& CachedSwitch() {
  static std::optional<bool> on;
  return on;
}
}  // namespace

bool HintView::Enabled() {
  std::optional<bool>& on = CachedSwitch();
  if (!on) on = Settings().value(kSettingsKey, true).toBool();
  return *on;
}

void HintView::SetEnabled(bool on) {
  CachedSwitch() = on;
  Settings().setValue(kSettingsKey, on);
  if (!on)
    for (HintView* h : AllHints()) h->Hide();
}

QAction* HintView::AddSwitch(QMenu* menu, std::function<void()> after) {
  QAction* action = menu->addAction(QStringLiteral("マウスボタンの説明を表示する"));
  action->setObjectName(QStringLiteral("mnuShowHints"));
  action->setCheckable(true);
  action->setChecked(Enabled());
  QObject::connect(action, &QAction::toggled, menu, [after = std::move(after)](bool on) {
    SetEnabled(on);
    if (after) after();
  });
  return action;
}

QPixmap HintView::HintFile(const QString& name, qreal device_pixel_ratio) {
  static QHash<QString, QPixmap> cache;
  const bool twice = device_pixel_ratio > 1;
  const QString key = twice ? TwiceName(name) : name;
  auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  QPixmap pixmap;
  const QString path = ProgramDataPath(key);
  if (!path.isEmpty()) pixmap.load(path);
  if (pixmap.isNull()) {
    std::fprintf(stderr, "mivora: the hint file %s cannot be read; no hint where it is needed\n",
                 qPrintable(key));
  } else if (twice) {
    pixmap.setDevicePixelRatio(2);
  }
  cache.insert(key, pixmap);
  return pixmap;
}

void HintView::PlaceAt(float x, float y) {
  const HintPair pair = Enabled() ? pair_at_(x, y) : HintPair{};
  if (pair.empty()) {
    Hide();
    return;
  }
  Sync(ShowButtonHint(hint_, pair.mask, pair.picture, x, y));
}

void HintView::Sync(const HintUpdate& update) {
  const qreal ratio = surface_->devicePixelRatioF();
  if (update.mask_changed || update.picture_changed) {
    const QPixmap mask = HintFile(hint_.mask_file, ratio);
    const QPixmap picture = HintFile(hint_.picture_file, ratio);
    files_ok_ = !mask.isNull() && !picture.isNull();
    if (files_ok_) {
      if (update.mask_changed) control_->SetMaskPicture(mask);
      if (update.picture_changed || control_->Picture().isNull()) control_->SetPicture(picture);
    }
  }
  if (!files_ok_) {
    control_->hide();
    return;
  }
  if (update.moved)
    control_->move(ToPixels(hint_.control.rect.left), ToPixels(hint_.control.rect.top));
  if (!control_->isVisible()) control_->show();
  control_->raise();
}

void HintView::Hide() {
  HideButtonHint(hint_);
  if (control_->isVisible()) control_->hide();
}

void HintView::Raise() {
  if (control_->isVisible()) control_->raise();
}

bool HintView::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Show:
      if (watched->isWidgetType() && TakesTheInput(static_cast<QWidget*>(watched))) Hide();
      break;
    case QEvent::Leave:
      if (watched == window_) Hide();
      break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      if (!watched->isWidgetType()) break;
      auto* w = static_cast<QWidget*>(watched);
      if (w == control_ || w->window() != window_) break;
      auto* me = static_cast<QMouseEvent*>(event);
      if (event->type() == QEvent::MouseButtonRelease) {
        if (hide_on_sort_click_ && IsSortOrTraceClick(ToMouseEvent(me))) Hide();
        break;
      }
      // Through the window: not every widget of the window lies on the surface.
      const QPointF p = w == surface_
                            ? me->position()
                            : surface_->mapFrom(window_, w->mapTo(window_, me->position()));
      PlaceAt(ToTwips(p.x()), ToTwips(p.y()));
      break;
    }
    default:
      break;
  }
  return false;
}

}  // namespace mivora::ui
