#pragma once

namespace mivora {

class Workspace;

// "表を読み込む" of the canvas menu: reads a chosen table file into a new table window.
void MenuLoadTable(Workspace& ws);

}  // namespace mivora
