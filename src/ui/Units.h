#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include "model/Colours.h"
#include "model/Twips.h"

namespace mivora::ui {

// Twips become pixels by the screen's logical DPI (1440 twips per inch).
void SetLogicalDpi(double dpi);
double LogicalDpi();
int ToPixels(float twips);
float ToTwips(double pixels);
QRect ToPixels(const TwipRect& r);

// The one place where a stored colour (red in the low byte) becomes a QColor.
QColor ToQColor(Colour c);

}  // namespace mivora::ui
