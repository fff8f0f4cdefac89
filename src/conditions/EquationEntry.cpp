#include "conditions/EquationEntry.h"

#include <algorithm>

#include "conditions/ConditionTexts.h"
#include "conditions/EquationBoxes.h"
#include "conditions/OperatorReading.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

EquationBox* LiveBox(Workspace& ws, int box) {
  if (box < 0 || box >= static_cast<int>(ws.conditions.boxes.size())) return nullptr;
  EquationBox& b = ws.conditions.boxes[box];
  return b.live() ? &b : nullptr;
}

}  // namespace

QString IrregularEquationMessage() { return QStringLiteral("Irregal Equation !"); }

EntryCheck CheckEquationText(const QString& before, const QString& after, qsizetype cursor,
                             const QString& column_ref) {
  const qsizetype from_end = std::clamp<qsizetype>(after.size() - cursor, 0, after.size());
  // The characters the change put in: what lies between the common prefix and suffix.
  qsizetype prefix = 0;
  const qsizetype shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
  const bool added = !inserted.isEmpty();

  QString t = after;
  // An operator character typed after "operator, blank" joins the operator when the two are
  // one of the nine: the blank that followed the first part goes.
  if (added && prefix >= 2 && t[prefix - 1] == u' ' && IsOperatorCharacter(t[prefix - 2]) &&
      std::all_of(inserted.begin(), inserted.end(), IsOperatorCharacter)) {
    qsizetype run = prefix - 2;
    while (run > 0 && IsOperatorCharacter(t[run - 1])) --run;
    const QString joined = t.mid(run, prefix - 1 - run) + inserted;
    if (OperatorFromText(joined) != EquationOperator::kNone) t.remove(prefix - 1, 1);
  }

  FoundOperator found = FindBoxOperator(t, column_ref);
  if (found.op == EquationOperator::kNone) return EntryCheck{after, cursor, false};
  if (added && found.end() == t.size()) t += u' ';
  if (!column_ref.isEmpty()) t = column_ref + QStringLiteral(" ") + t.mid(found.position);
  return EntryCheck{t, std::clamp<qsizetype>(t.size() - from_end, 0, t.size()), true};
}

qsizetype EditEquationBoxText(Workspace& ws, int box, const QString& typed, qsizetype cursor) {
  EquationBox* b = LiveBox(ws, box);
  if (!b) return cursor;
  const EntryCheck check = CheckEquationText(b->FieldText(), typed, cursor, BoxColumnRef(ws, box));
  b->refusal_reported = false;
  if (!check.accepted) {
    b->refused = true;
    b->refused_text = check.text;
    return check.cursor;
  }
  const bool changed = b->refused || b->text != check.text;
  b->refused = false;
  b->refused_text.clear();
  b->text = check.text;
  if (changed) RefreshConditionTexts(ws);
  return check.cursor;
}

bool EndEquationEdit(Workspace& ws, int box) {
  EquationBox* b = LiveBox(ws, box);
  if (!b || !b->refused) return false;
  if (!b->refusal_reported) {
    b->refusal_reported = true;
    ws.host.ShowMessage(IrregularEquationMessage());
  }
  return true;
}

void CancelEquationEdit(Workspace& ws, int box) {
  EquationBox* b = LiveBox(ws, box);
  if (!b) return;
  b->refused = false;
  b->refused_text.clear();
  b->refusal_reported = false;
}

}  // namespace mivora
