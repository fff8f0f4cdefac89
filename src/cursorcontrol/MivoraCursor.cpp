#include "MivoraCur/MivoraCursor.h"

#include <QBitmap>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <utility>

#include "model/ProductInfo.h"

namespace {

const QString kPicture = QStringLiteral("Picture");
const QString kMaskPicture = QStringLiteral("MaskPicture");
const QString kMaskColor = QStringLiteral("MaskColor");

QSize LogicalSize(const QPixmap& p) { return p.deviceIndependentSize().toSize(); }

}  // namespace

MivoraCursor::MivoraCursor(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
  resize(153, 153);
}

void MivoraCursor::SetPicture(const QPixmap& picture) {
  // The shape depends on the mask and its colour only.
  picture_ = picture;
  if (!picture_.isNull()) resize(LogicalSize(picture_));
  update();
  Q_EMIT PropertyChanged(kPicture);
}

void MivoraCursor::SetMaskPicture(const QPixmap& mask) {
  mask_picture_ = mask;
  UpdateShape();
  update();
  Q_EMIT PropertyChanged(kMaskPicture);
}

void MivoraCursor::SetMaskColor(quint32 colour) {
  mask_color_ = colour;
  UpdateShape();
  update();
  Q_EMIT PropertyChanged(kMaskColor);
}

void MivoraCursor::UpdateShape() {
  if (mask_picture_.isNull()) {
    clearMask();
    return;
  }
  // Hosts switch between a few masks as the pointer moves: their shapes are kept.
  const auto key_of = std::make_pair(mask_picture_.cacheKey(), mask_color_);
  if (auto it = shapes_.constFind(key_of); it != shapes_.constEnd()) {
    setMask(*it);
    return;
  }
  if (shapes_.size() >= 16) shapes_.clear();
  // The shape is cut at the mask's logical size, so a 2x mask cuts the same control as a 1x one.
  QImage image = mask_picture_.toImage();
  const QSize logical = LogicalSize(mask_picture_);
  if (image.size() != logical) image = image.scaled(logical, Qt::IgnoreAspectRatio);
  const QRgb key =
      qRgb(static_cast<int>(mask_color_ & 0xFF), static_cast<int>((mask_color_ >> 8) & 0xFF),
           static_cast<int>((mask_color_ >> 16) & 0xFF));
  // The bitmap made in MaskInColor mode gives a region of the pixels not in the key colour.
  QRegion region(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
  // An empty region would mean "no mask" to Qt: a one-pixel region off the widget shows
  // nothing and takes no mouse.
  if (region.isEmpty()) region = QRegion(-1, -1, 1, 1);
  shapes_.insert(key_of, region);
  setMask(region);
}

void MivoraCursor::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter p(this);
  p.drawPixmap(0, 0, picture_);
}

void MivoraCursor::mouseMoveEvent(QMouseEvent* event) {
  int button = 0;
  if (event->buttons() & Qt::LeftButton) button |= 1;
  if (event->buttons() & Qt::RightButton) button |= 2;
  if (event->buttons() & Qt::MiddleButton) button |= 4;
  int shift = 0;
  if (event->modifiers() & Qt::ShiftModifier) shift |= 1;
  if (event->modifiers() & Qt::ControlModifier) shift |= 2;
  if (event->modifiers() & Qt::AltModifier) shift |= 4;
  Q_EMIT MouseMove(button, shift, static_cast<float>(event->position().x()),
                   static_cast<float>(event->position().y()));
}

void MivoraCursor::WriteProperties(QVariantMap& bag) const {
  bag.insert(kPicture, picture_);
  bag.insert(kMaskPicture, mask_picture_);
  if (mask_color_ == kDefaultMaskColor) {
    bag.remove(kMaskColor);
  } else {
    bag.insert(kMaskColor, mask_color_);
  }
}

void MivoraCursor::ReadProperties(const QVariantMap& bag) {
  SetPicture(bag.value(kPicture).value<QPixmap>());
  SetMaskPicture(bag.value(kMaskPicture).value<QPixmap>());
  SetMaskColor(bag.value(kMaskColor, kDefaultMaskColor).toUInt());
}

void MivoraCursor::ShowAboutDlg() {
  QMessageBox box(
      QMessageBox::NoIcon, QStringLiteral("MivoraCursor"),
      QStringLiteral("%1 MivoraCursor\n%2\n%3")
          .arg(mivora::ProductName(), mivora::ProductMaker(), mivora::ProductWebAddress()),
      QMessageBox::NoButton, this);
  box.addButton(QStringLiteral("O K"), QMessageBox::AcceptRole);
  box.exec();
}

QWidget* CreateMivoraControl(const QString& class_id, QWidget* parent) {
  if (class_id != QLatin1String(MivoraCursor::kClassId)) return nullptr;
  return new MivoraCursor(parent);
}
