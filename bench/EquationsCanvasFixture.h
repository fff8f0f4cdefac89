#pragma once

// The Equations canvas the benchmarks work on: 200 boxes in 40 panels of two and three levels.
#include "QuietHost.h"
#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "workspace/Workspace.h"

namespace mivora::bench {

constexpr int kGroups = 20;
constexpr int kBoxesPerGroup = 10;

// 20 panels of ten boxes under the root, each with a nested panel around its first two boxes.
struct EquationsCanvas {
  EquationsCanvas() {
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    ws.tables.slots.resize(5);
    ws.tables.slots[4].frame.visible = true;
    Grid& g = ws.TableGrid(4);
    g.SetCols(2);
    g.SetText(0, 0, QStringLiteral("T"));
    g.SetText(0, 1, QStringLiteral("C"));
    for (int i = 1; i <= kGroups * kBoxesPerGroup; ++i)
      g.AppendRow({QString::number(i), QString::number(i)});
    ParenthesesPanel& root = ws.conditions.panels[0];
    root.kakko.rect = TwipRect{100, 100, 11300, 7000};
    root.label_n.rect = TwipRect{50, 50, 11200, 6900};
    for (int i = 1; i <= kGroups * kBoxesPerGroup; ++i) CreateEquationBox(ws, 4, i, 1);
    for (int group = 0; group < kGroups; ++group) {
      const float ox = 100 + (group % 10) * 1100.0f, oy = 100 + (group / 10) * 3400.0f;
      for (int k = 0; k < kBoxesPerGroup; ++k) {
        EquationBox& b = ws.conditions.boxes[group * kBoxesPerGroup + k];
        b.txt_hndl.rect = TwipRect{ox + 100, oy + 100 + 300.0f * k, 500, 252};
        b.text1.rect = TwipRect{120, 0, 260, 252};
      }
    }
    for (int group = 0; group < kGroups; ++group) {
      const float ox = 100 + (group % 10) * 1100.0f, oy = 100 + (group / 10) * 3400.0f;
      CreatePanelFromRectangle(ws, 0, TwipRect{ox, oy, 800, 3200});
      const int panel = static_cast<int>(ws.conditions.panels.size()) - 1;
      CreatePanelFromRectangle(ws, panel, TwipRect{60, 60, 680, 620});
    }
  }
  QuietHost host;
  Workspace ws{host};
};

}  // namespace mivora::bench
