// Sequences of condition-tree operations (new boxes, texts, deletions, drops, rectangles,
// tidying): after each one the tree holds together. Every live box and panel hangs from a live
// panel and reaches the root without a cycle, each live element is a member of exactly its
// container, and the expression's parentheses balance.
#include <QStringList>

#include "FuzzCheck.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "support/FakeHost.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

void CheckTree(const Workspace& ws) {
  const Conditions& c = ws.conditions;
  const int panels = static_cast<int>(c.panels.size());
  FUZZ_CHECK(panels >= 1 && c.panels[0].live());
  auto reaches_root = [&](int container) {
    for (int steps = 0; steps <= panels; ++steps) {
      if (container == 0) return true;
      if (container < 0 || container >= panels || !c.panels[container].live()) return false;
      container = c.panels[container].container;
    }
    return false;  // a cycle
  };
  std::vector<int> box_seen(c.boxes.size(), 0), panel_seen(c.panels.size(), 0);
  for (int p = 0; p < panels; ++p) {
    if (!c.panels[p].live()) continue;
    if (p > 0) FUZZ_CHECK(reaches_root(c.panels[p].container));
    for (const TreeMember& m : MembersOf(ws, p)) {
      if (m.is_panel) {
        FUZZ_CHECK(m.index > 0 && m.index < panels && c.panels[m.index].container == p);
        ++panel_seen[static_cast<std::size_t>(m.index)];
      } else {
        FUZZ_CHECK(m.index >= 0 && m.index < static_cast<int>(c.boxes.size()));
        FUZZ_CHECK(c.boxes[m.index].container == p);
        ++box_seen[static_cast<std::size_t>(m.index)];
      }
    }
  }
  for (std::size_t b = 0; b < c.boxes.size(); ++b)
    if (c.boxes[b].live() && c.boxes[b].container != kCanvas)
      FUZZ_CHECK(box_seen[b] == 1 && reaches_root(c.boxes[b].container));
  for (int p = 1; p < panels; ++p)
    if (c.panels[p].live()) FUZZ_CHECK(panel_seen[static_cast<std::size_t>(p)] == 1);
  int depth = 0;
  for (QChar ch : ConditionExpression(ws)) {
    if (ch == u'(') ++depth;
    if (ch == u')') FUZZ_CHECK(--depth >= 0);
  }
  FUZZ_CHECK(depth == 0);
}

const char* const kTexts[] = {"a = 1", "T.Code >= 10", "x", "", "(  b = 2 )", "c %=% d"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  testing::FakeHost host;
  Workspace ws(host);
  StartUp(ws, {});
  FuzzBytes in(data, size);
  while (!in.Empty()) {
    const int boxes = static_cast<int>(ws.conditions.boxes.size());
    const int panels = static_cast<int>(ws.conditions.panels.size());
    switch (in.Below(7)) {
      case 0:
        CreateEquationBox(ws, 0, 0, 0);
        break;
      case 1:
        SetEquationBoxText(ws, in.Below(boxes),
                           QString::fromUtf8(kTexts[in.Below(static_cast<int>(std::size(kTexts)))]));
        break;
      case 2: {
        const int box = in.Below(boxes);
        if (ws.conditions.boxes[box].live()) DeleteEquationBox(ws, box, false);
        break;
      }
      case 3: {
        const int box = in.Below(boxes);
        const float x = in.Twips(), y = in.Twips();
        if (ws.conditions.boxes[box].live()) DropBox(ws, box, x, y);
        break;
      }
      case 4: {
        const int panel = in.Below(panels);
        const TwipRect rect{in.Twips(), in.Twips(), in.Twips() + 4096, in.Twips() + 4096};
        if (ws.conditions.panels[panel].live()) CreatePanelFromRectangle(ws, panel, rect);
        break;
      }
      case 5:
        NormalizePanels(ws);
        break;
      case 6: {
        const int panel = in.Below(panels);
        if (ws.conditions.panels[panel].live()) AlternateConnectives(ws, panel);
        break;
      }
    }
    CheckTree(ws);
  }
  return 0;
}
