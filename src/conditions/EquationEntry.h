#pragma once

#include <QString>

namespace mivora {

class Workspace;

// The outcome of checking a box text after a change.
struct EntryCheck {
  QString text;       // the text to show
  qsizetype cursor;   // where the text cursor goes: as far from the end as before
  bool accepted;      // false: no operator, the text stays as typed and is not used
};

// The entry check of a box's text after a change from `before` to `after` (the cursor at
// `cursor` in `after`):
// - an operator character typed right after an operator and its blank joins it when the two
//   make one operator (">" then "=" gives ">= ");
// - when the change added characters and the text ends with its operator, a blank follows;
// - the operator is read as everywhere (FindBoxOperator); none: refused;
// - with a column reference, whatever stands before the operator becomes the reference.
EntryCheck CheckEquationText(const QString& before, const QString& after, qsizetype cursor,
                             const QString& column_ref);

// The user changed box k's text field (typing, paste): runs the check; an accepted text
// becomes the box's equation and the condition texts are rebuilt, a refused one is only
// shown. Returns where the cursor goes.
qsizetype EditEquationBoxText(Workspace& ws, int box, const QString& typed, qsizetype cursor);

// The edit of box k ended (Enter, the focus moved elsewhere in the window): a refused text
// shows "Irregal Equation !", once per change. True when the text is refused.
bool EndEquationEdit(Workspace& ws, int box);

// Escape in box k's field: a refused text gives way to the last accepted one.
void CancelEquationEdit(Workspace& ws, int box);

QString IrregularEquationMessage();  // "Irregal Equation !"

}  // namespace mivora
