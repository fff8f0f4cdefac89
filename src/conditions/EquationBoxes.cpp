#include "conditions/EquationBoxes.h"

#include "conditions/ConditionCells.h"
#include "conditions/ConditionTexts.h"
#include "conditions/ConditionTree.h"
#include "conditions/OperatorPalette.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kBoxSpacing = 400;
// The text field's inset inside a new box's handle frame.
constexpr float kTextFieldLeft = 102;

bool IsBox(const Workspace& ws, int box) {
  return box >= 0 && box < static_cast<int>(ws.conditions.boxes.size());
}

// A fresh box made with the properties of box 0, hidden.
EquationBox FreshBox(Conditions& c) {
  EquationBox box;
  box.txt_hndl = c.boxes[0].txt_hndl;
  box.txt_hndl.visible = false;
  box.text1 = c.boxes[0].text1;
  box.text1.visible = false;
  box.container = c.boxes[0].container;
  box.order = c.next_order++;
  return box;
}

bool IsTableCell(const Workspace& ws, int table, int row, int column) {
  if (!ws.tables.IsTableSlot(table)) return false;
  const Grid& grid = ws.TableGrid(table);
  return row >= 1 && row < grid.Rows() && column >= 1 && column < grid.Cols();
}

}  // namespace

QString EquationBoxInUseMessage(int declared, int live) {
  return QStringLiteral("式ボックスの最大番号 ") + QString::number(declared) +
         QStringLiteral(" は使用中の式ボックス ") + QString::number(live) +
         QStringLiteral(" より小さいため、使えません。");
}

void LoadEquationsWindow(Workspace& ws) { RefreshConditionTexts(ws); }

void EnsureEquationBoxes(Workspace& ws, int index) {
  Conditions& c = ws.conditions;
  while (static_cast<int>(c.boxes.size()) <= index) c.boxes.push_back(FreshBox(c));
}

void CreateEquationBox(Workspace& ws, int table, int row, int column) {
  Conditions& c = ws.conditions;
  ConditionState& s = c.state;
  if (row == 0 && column == 0 && table >= 1) {
    // A declared highest index below a live box would hand that box out again.
    for (int box = static_cast<int>(c.boxes.size()) - 1; box > table; --box) {
      if (c.boxes[box].live()) {
        ws.host.ShowMessage(EquationBoxInUseMessage(table, box));
        return;
      }
    }
    EnsureEquationBoxes(ws, table);
    s.high_box = table;
    // Box 0's place is taken by the rebuilt boxes.
    s.first_box_placed = true;
    return;
  }
  if (table != 0) {
    if (!IsTableCell(ws, table, row, column)) return;
    if (!HasFreeConditionCell(ws)) {
      ws.host.ShowMessage(ConditionCellsFullMessage());
      return;
    }
  }

  if (!s.first_box_placed) {
    EnsureEquationBoxes(ws, s.high_box);
    c.boxes[s.high_box].txt_hndl.rect.top = kBoxSpacing;
    s.first_box_placed = true;
  } else {
    s.new_box = 1;
    while (s.new_box <= s.high_box && IsBox(ws, s.new_box) && c.boxes[s.new_box].live())
      ++s.new_box;
    if (s.new_box > s.high_box) {
      ++s.high_box;
      EnsureEquationBoxes(ws, s.high_box - 1);
      const EquationBox fresh = FreshBox(c);
      if (static_cast<int>(c.boxes.size()) <= s.high_box)
        c.boxes.push_back(fresh);
      else
        c.boxes[s.high_box] = fresh;
      c.boxes[s.high_box].txt_hndl.rect.top =
          c.boxes[s.high_box - 1].txt_hndl.rect.top + kBoxSpacing;
      s.new_box = s.high_box;
    }
  }
  const int k = s.new_box;
  EnsureEquationBoxes(ws, k);

  EquationBox& box = c.boxes[k];
  box.txt_hndl.visible = true;
  box.text1.visible = true;
  box.container = 0;
  box.text1.rect = TwipRect{kTextFieldLeft, 0, box.txt_hndl.rect.width - 2 * kTextFieldLeft,
                            box.txt_hndl.rect.height};
  KeepCornerInsideLabel(ws, 0, box.txt_hndl.rect);
  GrowRootDownTo(ws, box.txt_hndl.rect.bottom());
  ws.BringToFront(box.txt_hndl);

  if (table != 0) {
    AddConditionCell(ws, table, row, column, k);
    const Grid& grid = ws.TableGrid(table);
    const QString ref = grid.Text(0, 0) + QStringLiteral(".") + grid.Text(0, column);
    BoxColumnRef(ws, k, ref);
    SetEquationBoxText(ws, k, ref + QStringLiteral(" = ") + grid.Text(row, column));
  } else {
    SetEquationBoxText(ws, k, QStringLiteral(u"条件 = 式 ") + QString::number(k));
  }
}

void DeleteEquationBox(Workspace& ws, int box, bool ask) {
  if (!IsBox(ws, box)) return;
  if (ask && !ws.host.AskOkCancel(QStringLiteral(u"この式を消しますか ？"))) return;
  EquationBox& b = ws.conditions.boxes[box];
  b.text1.visible = false;
  b.txt_hndl.visible = false;
  b.refused = false;
  b.refused_text.clear();
  if (ws.conditions.state.operator_box == box) HideOperatorPalette(ws);
  RemoveConditionCells(ws, -1, -1, -1, box);
  NormalizePanels(ws);
  RefreshConditionTexts(ws);
}

void SetEquationBoxText(Workspace& ws, int box, const QString& text) {
  if (!IsBox(ws, box)) return;
  EquationBox& b = ws.conditions.boxes[box];
  // Texts the program sets are accepted as they stand.
  b.text = text;
  b.refused = false;
  b.refused_text.clear();
  b.refusal_reported = false;
  RefreshConditionTexts(ws);
}

QString BoxColumnRef(Workspace& ws, int box, const QString& ref) {
  QStringList& refs = ws.conditions.state.box_column_refs;
  if (box < 0) return QString();
  if (!ref.isEmpty()) {
    while (refs.size() <= box) refs.append(QString());
    refs[box] = ref;
  }
  return box < refs.size() ? refs[box] : QString();
}

int SetOperatorBox(Workspace& ws, int box) {
  if (box >= 0) ws.conditions.state.operator_box = box;
  return ws.conditions.state.operator_box;
}

QString ConditionCellsFullMessage() { return QStringLiteral(u"これ以上条件式を作れません。"); }

}  // namespace mivora
