#include "conditions/Conditions.h"

#include "conditions/Connectives.h"
#include "conditions/OperatorPalette.h"
#include "conditions/SqlText.h"

namespace mivora {

Conditions::Conditions() {
  SetCanvasBarGeometry(bars);
  ParenthesesPanel root;
  root.kakko.rect = TwipRect{600, 600, 9252, 3480};
  root.kakko.visible = true;
  root.kakko.back_colour = kPanelColour;
  root.label_n.rect = TwipRect{50, 50, 9252 - 100, 3480 - 100};
  root.label_n.visible = true;
  root.label_n.back_colour = kAndColour;
  root.label_n.caption = InitialAndCaption();
  root.container = kCanvas;
  root.order = next_order++;
  panels.push_back(root);

  // Box 0 waits at its home on the canvas until the first box is made.
  EquationBox box;
  box.txt_hndl.rect = TwipRect{2040, 1080, 4092, 252};
  box.txt_hndl.back_colour = kBoxColour;
  box.text1.rect = TwipRect{102, 0, 4092 - 204, 252};
  box.container = kCanvas;
  box.order = next_order++;
  boxes.push_back(box);

  cnd_equation.rect = TwipRect{2280, 4920, 5412, 972};
  cnd_equation.visible = true;
  cnd_equation.back_colour = kSqlFrameColour;
  cnd_equation.caption = QStringLiteral("SQL text");
  equation.rect = TwipRect{120, 240, 5172, 612};
  equation.visible = true;
  equation_text = SqlDisplayText(state);

  LayOutOperatorPalette(*this);
}

}  // namespace mivora
