#include "conditions/EquationsCanvas.h"

#include "workspace/Workspace.h"

namespace mivora {

std::vector<TwipRect> EquationsCanvasElements(const Workspace& ws) {
  const Conditions& c = ws.conditions;
  std::vector<TwipRect> rects;
  auto add = [&rects](const Control& control) {
    if (control.visible) rects.push_back(control.rect);
  };
  for (const ParenthesesPanel& p : c.panels)
    if (p.container == kCanvas) add(p.kakko);
  add(c.cnd_equation);
  add(c.operator_palette);
  for (const EquationBox& b : c.boxes)
    if (b.container == kCanvas) add(b.txt_hndl);
  add(c.rectngl);
  return rects;
}

}  // namespace mivora
