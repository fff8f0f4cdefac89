#include "conditions/EquationsCanvas.h"

#include "workspace/Workspace.h"

namespace mivora {

void ForEachEquationsCanvasElement(Conditions& c, const std::function<void(Control&)>& visit) {
  auto add = [&visit](Control& control) {
    if (control.visible) visit(control);
  };
  for (ParenthesesPanel& p : c.panels)
    if (p.container == kCanvas) add(p.kakko);
  add(c.cnd_equation);
  add(c.operator_palette);
  for (EquationBox& b : c.boxes)
    if (b.container == kCanvas) add(b.txt_hndl);
  add(c.rectngl);
}

std::vector<TwipRect> EquationsCanvasElements(const Workspace& ws) {
  std::vector<TwipRect> rects;
  // Only read here: the visitor copies each rectangle.
  ForEachEquationsCanvasElement(const_cast<Conditions&>(ws.conditions),
                                [&rects](const Control& control) { rects.push_back(control.rect); });
  return rects;
}

}  // namespace mivora
