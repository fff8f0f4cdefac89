#include "canvas/ButtonHints.h"

namespace mivora {

namespace {
constexpr float kHintLeftOfPointer = 700;
QString LoadPicture() { return QStringLiteral(".\\F3MaskLCR.bmp"); }
}  // namespace

void SetCanvasHintAtLoad(QString& mask, QString& picture) {
  mask = QStringLiteral(".\\MaskLR.bmp");
  picture = LoadPicture();
}

void SetCanvasHintAfterMenu(QString& mask, QString& picture) {
  mask = QStringLiteral(".\\MaskR.bmp");
  picture = QStringLiteral(".\\F16MaskR.bmp");
}

bool IsCanvasHintAtLoad(const QString& picture) { return picture == LoadPicture(); }

bool ShowButtonHint(ButtonHint& hint, const QString& mask, const QString& picture, float x,
                    float y) {
  bool files_changed = false;
  if (mask != hint.mask_file) {
    hint.mask_file = mask;
    files_changed = true;
  }
  if (picture != hint.picture_file) {
    hint.picture_file = picture;
    files_changed = true;
  }
  hint.control.visible = true;
  if (x == hint.last_x && y == hint.last_y) return files_changed;
  hint.last_x = x;
  hint.last_y = y;
  hint.control.rect.top = y;
  hint.control.rect.left = x - kHintLeftOfPointer;
  return files_changed;
}

}  // namespace mivora
