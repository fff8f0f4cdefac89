#include "canvas/ButtonHints.h"

namespace mivora {

namespace {
constexpr float kHintLeftOfPointer = 700;
QString LoadPicture() { return QStringLiteral(".\\F3MaskLCR.bmp"); }
HintPair Pair(const char16_t* mask, const char16_t* picture) {
  return {QString::fromUtf16(mask), QString::fromUtf16(picture)};
}
}  // namespace

HintPair HintPairFor(HintSpot spot, const QString& default_mask, const QString& default_picture) {
  switch (spot) {
    case HintSpot::kNone:
      return {};
    case HintSpot::kTablesCanvas:
      return {default_mask, default_picture};
    case HintSpot::kTablesBorder:
    case HintSpot::kEquationsPanel:
    case HintSpot::kEquationsSqlFrame:
    case HintSpot::kEquationsHandleWidth:
    case HintSpot::kResultBorder:
      return Pair(u".\\MaskLR.bmp", u".\\F7MaskLR.bmp");
    case HintSpot::kTablesHeaderCell:
      return Pair(u".\\MaskLCR.bmp", u".\\F12MaskLCR.bmp");
    case HintSpot::kTablesDataCell:
      return Pair(u".\\MaskLCR.bmp", u".\\F14MaskLCR.bmp");
    case HintSpot::kTablesRowNumberCell:
    case HintSpot::kEquationsCanvas:
    case HintSpot::kEquationsScroll:
    case HintSpot::kResultRowNumberCell:
      return Pair(u".\\Mask.bmp", u".\\Mask.bmp");
    case HintSpot::kTablesCornerCell:
      return Pair(u".\\MaskCR.bmp", u".\\F9MaskCR.bmp");
    case HintSpot::kTablesJoinLine:
      return Pair(u".\\MaskL.bmp", u".\\F17MaskL.bmp");
    case HintSpot::kTablesSlider:
    case HintSpot::kResultSlider:
      return Pair(u".\\MaskL.bmp", u".\\F5MaskL.bmp");
    case HintSpot::kTablesTrack:
      return Pair(u".\\Mask.bmp", u".\\F7MaskLR.bmp");
    case HintSpot::kEquationsLabel:
      return Pair(u".\\MaskL.bmp", u".\\F21MaskL.bmp");
    case HintSpot::kEquationsHandleDelete:
      return Pair(u".\\MaskLR.bmp", u".\\F22MaskLr.bmp");
    case HintSpot::kEquationsHandleEdge:
      return Pair(u".\\MaskLR.bmp", u"");
    case HintSpot::kResultEmpty:
      return Pair(u".\\MaskR.bmp", u".\\F16MaskR.bmp");
    case HintSpot::kResultHeader:
      return Pair(u".\\MaskC.bmp", u".\\F9MaskC.bmp");
    case HintSpot::kResultDataCell:
      return Pair(u".\\MaskR.bmp", u".\\F14MaskR.bmp");
    case HintSpot::kResultTrack:
      return Pair(u".\\Mask.bmp", u".\\F5MaskL.bmp");
  }
  return {};
}

void SetCanvasHintAtLoad(QString& mask, QString& picture) {
  mask = QStringLiteral(".\\MaskLR.bmp");
  picture = LoadPicture();
}

void SetCanvasHintAfterMenu(QString& mask, QString& picture) {
  mask = QStringLiteral(".\\MaskR.bmp");
  picture = QStringLiteral(".\\F16MaskR.bmp");
}

bool IsCanvasHintAtLoad(const QString& picture) { return picture == LoadPicture(); }

HintUpdate ShowButtonHint(ButtonHint& hint, const QString& mask, const QString& picture, float x,
                          float y) {
  HintUpdate update;
  if (mask != hint.mask_file) {
    hint.mask_file = mask;
    update.mask_changed = true;
  }
  if (!picture.isEmpty() && picture != hint.picture_file) {
    hint.picture_file = picture;
    update.picture_changed = true;
  }
  const bool was_hidden = !hint.control.visible;
  hint.control.visible = true;
  if (!was_hidden && x == hint.last_x && y == hint.last_y) return update;
  hint.last_x = x;
  hint.last_y = y;
  hint.control.rect.top = y;
  hint.control.rect.left = x - kHintLeftOfPointer;
  update.moved = true;
  return update;
}

void HideButtonHint(ButtonHint& hint) { hint.control.visible = false; }

}  // namespace mivora
