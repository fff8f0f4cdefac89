#pragma once

#include <QtCore/qglobal.h>

#include <QPixmap>
#include <QWidget>

#if defined(MIVORACUR_LIBRARY)
#define MIVORACUR_EXPORT Q_DECL_EXPORT
#else
#define MIVORACUR_EXPORT Q_DECL_IMPORT
#endif

// The cursor control "CursMivora.MivoraCursor": a small borderless picture cut to the shape
// of a mask picture (mask pixels in the mask colour are transparent), which reports mouse
// moves over its visible part to its host.
class MIVORACUR_EXPORT MivoraCursor : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kClassId = "CursMivora.MivoraCursor";
  static constexpr quint32 kDefaultMaskColor = 65280;  // pure green, red in the low byte

  explicit MivoraCursor(QWidget* parent = nullptr);

  QPixmap Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture);
  QPixmap MaskPicture() const { return mask_picture_; }
  void SetMaskPicture(const QPixmap& mask);
  quint32 MaskColor() const { return mask_color_; }
  void SetMaskColor(quint32 colour);

  // The control's About box.
  void ShowAboutDlg();

 Q_SIGNALS:
  // Button bits 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt; position in the
  // control's own pixels.
  void MouseMove(int button, int shift, float x, float y);
  // A property changed, by name ("Picture", "MaskColor", "MaskPicture").
  void PropertyChanged(const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void UpdateShape();

  QPixmap picture_;
  QPixmap mask_picture_;
  quint32 mask_color_ = kDefaultMaskColor;
};
