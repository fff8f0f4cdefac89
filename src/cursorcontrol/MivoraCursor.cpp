#include "MivoraCursor.h"

#include <QBitmap>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

MivoraCursor::MivoraCursor(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
  resize(153, 153);
}

void MivoraCursor::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  if (!picture_.isNull()) resize(picture_.size());
  UpdateShape();
  update();
  Q_EMIT PropertyChanged(QStringLiteral("Picture"));
}

void MivoraCursor::SetMaskPicture(const QPixmap& mask) {
  mask_picture_ = mask;
  UpdateShape();
  update();
  Q_EMIT PropertyChanged(QStringLiteral("MaskPicture"));
}

void MivoraCursor::SetMaskColor(quint32 colour) {
  mask_color_ = colour;
  UpdateShape();
  update();
  Q_EMIT PropertyChanged(QStringLiteral("MaskColor"));
}

void MivoraCursor::UpdateShape() {
  if (mask_picture_.isNull()) {
    clearMask();
    return;
  }
  // Mask pixels in the mask colour are transparent. The region is made of the bitmap's
  // cleared bits' complement, which createMaskFromColor gives for the matching pixels in
  // MaskInColor mode. A mask that is all mask colour leaves nothing to see or to hit.
  const QColor key(static_cast<int>(mask_color_ & 0xFF),
                   static_cast<int>((mask_color_ >> 8) & 0xFF),
                   static_cast<int>((mask_color_ >> 16) & 0xFF));
  QBitmap shape =
      QBitmap::fromImage(mask_picture_.toImage().createMaskFromColor(key.rgb(), Qt::MaskInColor));
  QRegion region(shape);
  if (region.isEmpty()) region = QRegion(-1, -1, 1, 1);  // nothing visible, nothing to hit
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

void MivoraCursor::ShowAboutDlg() {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("MivoraCursor"),
                  QStringLiteral("Mivora のボタン表示\nhttps://mivora.app"), QMessageBox::NoButton,
                  this);
  box.addButton(QStringLiteral("O K"), QMessageBox::AcceptRole);
  box.exec();
}
