#pragma once

#include <QtCore/qglobal.h>

#include <QHash>
#include <QPair>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#if defined(MIVORACUR_LIBRARY)
#define MIVORACUR_EXPORT Q_DECL_EXPORT
#else
#define MIVORACUR_EXPORT Q_DECL_IMPORT
#endif

// The cursor control "CursMivora.MivoraCursor": a small borderless picture cut to the shape
// of a mask picture (mask pixels in the mask colour are transparent), which reports mouse
// moves over its visible part to its host. A new control has no pictures.
class MIVORACUR_EXPORT MivoraCursor : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(QPixmap MaskPicture READ MaskPicture WRITE SetMaskPicture)
  Q_PROPERTY(quint32 MaskColor READ MaskColor WRITE SetMaskColor)

 public:
  static constexpr const char* kClassId = "CursMivora.MivoraCursor";
  static constexpr quint32 kDefaultMaskColor = 65280;  // 0x00BBGGRR: pure green

  explicit MivoraCursor(QWidget* parent = nullptr);

  // The picture shown from the top-left; the control takes its logical size.
  QPixmap Picture() const { return picture_; }
  void SetPicture(const QPixmap& picture);
  // The shape: its pixels in MaskColor are see-through and let the mouse pass.
  QPixmap MaskPicture() const { return mask_picture_; }
  void SetMaskPicture(const QPixmap& mask);
  quint32 MaskColor() const { return mask_color_; }
  void SetMaskColor(quint32 colour);

  // The three properties in a property bag: "Picture", "MaskPicture", "MaskColor" (absent
  // when it is the default 65280). Reading takes absent names as none and the default colour.
  void WriteProperties(QVariantMap& bag) const;
  void ReadProperties(const QVariantMap& bag);

  // The control's About box, modal.
  void ShowAboutDlg();

 Q_SIGNALS:
  // Button bits 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt; position in the
  // control's own logical pixels.
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
  QHash<QPair<qint64, quint32>, QRegion> shapes_;  // by mask picture and colour
};

// Creates a control by its class identifier: a MivoraCursor for "CursMivora.MivoraCursor",
// nullptr for any other identifier.
MIVORACUR_EXPORT QWidget* CreateMivoraControl(const QString& class_id, QWidget* parent = nullptr);
