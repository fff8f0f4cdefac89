#include "conditions/OperatorPalette.h"

#include <algorithm>

#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/ConditionTree.h"
#include "conditions/OperatorReading.h"
#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr Colour kPaletteColour = 32896;
constexpr TwipRect kPaletteHome{9360, 4800, 612, 3360};
constexpr float kLabelLeft = 60;
constexpr float kLabelWidth = 492;
constexpr float kLabelHeight = 360;
constexpr float kFirstLabelTop = 60;
// The palette opens this far left of the pointer.
constexpr float kPaletteOffset = 530;

struct OperatorLabel {
  const char16_t* name;
  const char16_t* caption;
};
constexpr OperatorLabel kLabels[kOperatorLabelCount] = {
    {u"EQ", u"="},  {u"NE", u"<>"}, {u"GT", u">"},  {u"LT", u"<"},   {u"GE", u">="},
    {u"LE", u"<="}, {u"FC", u"=%"}, {u"RC", u"%="}, {u"FR", u"%=%"},
};

bool IsLiveBox(const Workspace& ws, int box) {
  return box >= 0 && box < static_cast<int>(ws.conditions.boxes.size()) &&
         ws.conditions.boxes[box].live();
}

}  // namespace

QString OperatorLabelName(int label) {
  return label >= 0 && label < kOperatorLabelCount ? QString::fromUtf16(kLabels[label].name)
                                                    : QString();
}

QString OperatorLabelCaption(int label) {
  return label >= 0 && label < kOperatorLabelCount ? QString::fromUtf16(kLabels[label].caption)
                                                    : QString();
}

void LayOutOperatorPalette(Conditions& c) {
  c.operator_palette.rect = kPaletteHome;
  c.operator_palette.visible = false;
  c.operator_palette.back_colour = kPaletteColour;
  c.operator_palette.caption = QStringLiteral("Operator");
  for (int i = 0; i < kOperatorLabelCount; ++i) {
    Control& label = c.operator_labels[i];
    label.rect = TwipRect{kLabelLeft, kFirstLabelTop + i * kLabelHeight, kLabelWidth, kLabelHeight};
    label.visible = true;
    label.caption = OperatorLabelCaption(i);
  }
}

void ShowOperatorPalette(Workspace& ws, int box, float x, float y) {
  if (!IsLiveBox(ws, box)) return;
  float cx = x, cy = y;
  BoxPointToCanvas(ws, box, cx, cy);
  Control& palette = ws.conditions.operator_palette;
  // Inside the window's client area, as far as it is large enough.
  const float client_w = ws.equations_window.width - kWindowChromeWidth;
  const float client_h = ws.equations_window.height - kWindowChromeHeight;
  palette.rect.left = std::max(0.0f, std::min(cx - kPaletteOffset, client_w - palette.rect.width));
  palette.rect.top = std::max(0.0f, std::min(cy - y, client_h - palette.rect.height));
  palette.visible = true;
  ws.BringToFront(palette);
  SetOperatorBox(ws, box);
}

void HideOperatorPalette(Workspace& ws) { ws.conditions.operator_palette.visible = false; }

bool OperatorPaletteVisible(const Workspace& ws) {
  return ws.conditions.operator_palette.visible;
}

void ReplaceOperator(Workspace& ws, const QString& op) {
  HideOperatorPalette(ws);
  const int k = SetOperatorBox(ws, -1);
  if (!IsLiveBox(ws, k) || OperatorFromText(op) == EquationOperator::kNone) return;
  const QString text = ws.conditions.boxes[k].FieldText();
  const QString ref = BoxColumnRef(ws, k);
  const FoundOperator found = FindBoxOperator(text, ref);
  QString replaced;
  if (found.op != EquationOperator::kNone) {
    replaced = text.left(found.position) + op + text.mid(found.end());
  } else if (text.trimmed().isEmpty()) {
    replaced = op;
  } else {
    // No operator: it goes after the column reference, the rest becomes the value.
    QString column = ref;
    QString value = text;
    if (ref.isEmpty()) {
      column = text.trimmed();
      value.clear();
    } else if (text.startsWith(ref)) {
      value = text.mid(ref.size());
    }
    value = value.trimmed();
    replaced = column + QStringLiteral(" ") + op;
    if (!value.isEmpty()) replaced += QStringLiteral(" ") + value;
  }
  // The same check as typing: a blank after a trailing operator, the reference in front.
  EditEquationBoxText(ws, k, replaced, replaced.size());
}

void OperatorLabelMouseUp(Workspace& ws, int label) {
  if (label < 0 || label >= kOperatorLabelCount) return;
  ReplaceOperator(ws, OperatorLabelCaption(label));
}

}  // namespace mivora
