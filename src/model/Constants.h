#pragma once

#include <QString>

#include "model/Colours.h"
#include "model/ProductInfo.h"

namespace mivora {

// Values shared by the whole program, each in one place.

// Table windows are placed CanvasMargin + 1 twips from the canvas's left and top, and kept
// that far apart.
constexpr int CanvasMargin() { return 500; }
// Inset of a table's grid inside its frame, size of its resize corner, scroll-bar thickness.
constexpr int BarThickness() { return 120; }
// Inset of a parentheses panel's label inside its panel; also the panel's grab border.
constexpr int PanelLabelInset() { return 50; }

// Every window's outer size at start-up.
constexpr float kStartWindowHeight = 9100;
constexpr float kStartWindowWidth = 12000;
// A window's outer size includes the title bar and borders; the client area is this much smaller.
constexpr float kWindowChromeHeight = 320;
constexpr float kWindowChromeWidth = 20;

// Appearance of the Tables canvas.
constexpr Colour kCanvasColour = Rgb(0x80, 0x80, 0x80);
constexpr Colour kNewFrameColour = Rgb(192, 192, 0);
constexpr float kBoundaryBarThickness = 15;
constexpr float kLine2Thickness = 50;
constexpr Colour kJoinLineColour = Rgb(0, 192, 0);
// The piece by which a join line enters its destination table.
constexpr Colour kJoinLineLastColour = Rgb(0, 192, 192);
constexpr Colour kJoinLineSelectedColour = Rgb(255, 192, 128);
constexpr int kLine2Count = 1024;

// The template table window (slot 4) as designed.
constexpr float kTemplateFrameLeft = 501;
constexpr float kTemplateFrameTop = 1200;
constexpr float kTemplateFrameWidth = 4452;
constexpr float kTemplateFrameHeight = 700;
constexpr Colour kTemplateFrameColour = Rgb(192, 192, 0);
constexpr Colour kScrollBarColour = Rgb(0xD8, 0xD8, 0xD8);
constexpr Colour kSliderColour = Rgb(0x90, 0x90, 0x90);
constexpr Colour kCornerColour = Rgb(0xC0, 0xC0, 0xC0);

// New slots created beyond slot 4.
constexpr float kNewSlotLeft = 501;
constexpr float kNewSlotTop = 501;
constexpr float kNewSlotWidth = 4652;
constexpr float kNewSlotHeight = 700;

// Grid defaults.
constexpr float kDefaultRowHeight = 240;
constexpr float kDefaultColWidth = 960;
constexpr float kMaxFittedColWidth = 3600;
constexpr float kColumnTextPadding = 120;
constexpr int kColumnFitSampleRows = 100;

// The first table slot; slots 0-3 are the canvas's boundary bars.
constexpr int kFirstTableSlot = 4;

}  // namespace mivora
