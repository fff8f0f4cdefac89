#include "ui/Units.h"

#include <cmath>

namespace mivora::ui {

namespace {
double g_dpi = 96.0;
}

void SetLogicalDpi(double dpi) {
  if (dpi > 0) g_dpi = dpi;
}
double LogicalDpi() { return g_dpi; }
int ToPixels(float twips) { return static_cast<int>(std::lround(twips * g_dpi / 1440.0)); }
float ToTwips(double pixels) { return static_cast<float>(pixels * 1440.0 / g_dpi); }
QRect ToPixels(const TwipRect& r) {
  int left = ToPixels(r.left);
  int top = ToPixels(r.top);
  return QRect(left, top, ToPixels(r.left + r.width) - left, ToPixels(r.top + r.height) - top);
}
QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace mivora::ui
