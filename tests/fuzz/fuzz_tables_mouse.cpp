// Sequences of Tables mouse gestures (clicks and drags on grids, frames, corners, join lines
// and the canvas, with every button and Shift) mixed with searches, over two small joined-able
// tables: nothing throws or crashes, and the grids stay readable.
#include "FuzzCheck.h"
#include "canvas/TablesMouse.h"
#include "model/Grid.h"
#include "search/Search.h"
#include "support/FakeHost.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

int AddTable(Workspace& ws, const QString& name, const QStringList& headers,
             const std::vector<QStringList>& rows) {
  const int slot = AllocateSlot(ws, 0, 0, 0, 0);
  Grid& g = ws.TableGrid(slot);
  g.SetCols(static_cast<int>(headers.size()) + 1);
  g.SetText(0, 0, name);
  for (int c = 0; c < headers.size(); ++c) g.SetText(0, c + 1, headers[c]);
  int n = 1;
  for (const QStringList& row : rows) g.AppendRow(QStringList{QString::number(n++)} + row);
  return slot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  testing::FakeHost host;
  Workspace ws(host);
  StartUp(ws, {});
  const int orders = AddTable(ws, QStringLiteral("orders"),
                              {QStringLiteral("id"), QStringLiteral("item"), QStringLiteral("qty")},
                              {{QStringLiteral("1"), QStringLiteral("apple"), QStringLiteral("3")},
                               {QStringLiteral("2"), QStringLiteral("pear"), QStringLiteral("5")},
                               {QStringLiteral("3"), QStringLiteral("apple"), QStringLiteral("1")}});
  const int items = AddTable(ws, QStringLiteral("items"), {QStringLiteral("item"), QStringLiteral("price")},
                             {{QStringLiteral("apple"), QStringLiteral("100")},
                              {QStringLiteral("pear"), QStringLiteral("http://x")}});
  const int slots[] = {orders, items};
  FuzzBytes in(data, size);
  constexpr int kButtons[] = {0, kLeftButton, kRightButton, kMiddleButton};
  while (!in.Empty()) {
    const int op = in.Below(9);
    const int slot = slots[in.Below(2)];
    MouseEvent e;
    e.button = kButtons[in.Below(4)];
    e.shift = in.Below(4);
    e.x = in.Twips();
    e.y = in.Twips();
    Grid& grid = ws.TableGrid(slot);
    switch (op) {
      case 0:
      case 1: {
        // The ui sets the mouse cell from the point before it hands the event on.
        grid.SetMouseCell(in.Below(grid.Rows() + 1), in.Below(grid.Cols() + 1));
        if (grid.MouseRow() >= grid.Rows() || grid.MouseCol() >= grid.Cols())
          grid.SetMouseCell(grid.RowAt(e.y), grid.ColAt(e.x));
        if (op == 0)
          TablesGridMouseUp(ws, slot, e);
        else
          TablesGridMouseMove(ws, slot, e);
        break;
      }
      case 2:
        TablesCanvasMouseUp(ws, e);
        break;
      case 3:
        TablesCanvasMouseMove(ws, e);
        break;
      case 4:
        TablesFrameMouseMove(ws, slot, e);
        break;
      case 5:
        TablesCornerMouseMove(ws, slot, e);
        break;
      case 6:
        TablesSegmentMouseMove(ws, in.Below(8), e);
        break;
      case 7:
        TablesSegmentMouseUp(ws, in.Below(8), e);
        break;
      case 8:
        RunSearch(ws);
        break;
    }
    for (int s : slots) {
      const Grid& g = ws.TableGrid(s);
      FUZZ_CHECK(g.Rows() >= 1 && g.Cols() >= 1);
      for (int r = 0; r < g.Rows(); ++r)
        for (int c = 0; c < g.Cols(); ++c) (void)g.TextUtf8(r, c);
    }
  }
  return 0;
}
