#include "conditions/SqlFrameDrag.h"

#include "canvas/MouseEvent.h"

namespace mivora {

namespace {

constexpr float kTextLeft = 120;
constexpr float kTextTop = 240;

}  // namespace

void SqlFrameMouseDown(SqlFrameAnchor& anchor, float x, float y) {
  anchor.x0 = x;
  anchor.y0 = y;
}

void SqlFrameDragStep(Control& frame, Control& text_box, SqlFrameAnchor& anchor, int button,
                      float x, float y) {
  TwipRect& f = frame.rect;
  TwipRect& t = text_box.rect;
  const float dx = x - anchor.x0, dy = y - anchor.y0;
  if (button == kRightButton) {
    f.left += dx;
    f.top += dy;
    return;
  }
  if (button != kLeftButton) return;
  const float min_text_w = kSqlFrameMinimum - 2 * kTextLeft;
  const float min_text_h = kSqlFrameMinimum - kTextTop - kTextLeft;
  if (anchor.x0 < kTextLeft) {
    if (f.width - dx >= kSqlFrameMinimum) {
      f.left += dx;
      f.width -= dx;
      t.width -= dx;
    } else {
      const float right = f.right();
      f.width = kSqlFrameMinimum;
      t.width = min_text_w;
      f.left = right - f.width;
    }
  }
  if (anchor.x0 > t.width + kTextLeft) {
    if (f.width + dx >= kSqlFrameMinimum) {
      f.width += dx;
      t.width += dx;
      anchor.x0 = x;
    } else {
      f.width = kSqlFrameMinimum;
      t.width = min_text_w;
    }
  }
  if (anchor.y0 < kTextTop) {
    if (f.height - dy >= kSqlFrameMinimum) {
      f.top += dy;
      f.height -= dy;
      t.height -= dy;
    } else {
      const float bottom = f.bottom();
      f.height = kSqlFrameMinimum;
      t.height = min_text_h;
      f.top = bottom - f.height;
    }
  }
  if (anchor.y0 > t.height + kTextLeft) {
    if (f.height + dy >= kSqlFrameMinimum) {
      f.height += dy;
      t.height += dy;
      anchor.y0 = y;
    } else {
      f.height = kSqlFrameMinimum;
      t.height = min_text_h;
    }
  }
  t.left = kTextLeft;
  t.top = kTextTop;
}

}  // namespace mivora
