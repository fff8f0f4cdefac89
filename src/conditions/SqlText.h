#pragma once

#include <QString>

namespace mivora {

class Workspace;
struct ConditionState;

// Replaces one of the three pieces of the SQL text ("-" leaves a piece unchanged; a piece is
// taken only when the other two arguments are "-") and rebuilds the displayed text.
void SetSqlTextPart(Workspace& ws, const QString& select_part, const QString& join_part,
                    const QString& condition_part);

// Stores the condition piece as it is and rebuilds the displayed text.
void SetSqlConditionPart(Workspace& ws, const QString& condition_part);

// The displayed text: select piece, two line breaks, join piece, a line break, then the
// condition piece in parentheses.
QString SqlDisplayText(const ConditionState& state);

// The SQL form of one box text: the value after the operator is quoted, and the operators
// "%=", "=%" and "%=%" become Like with the wildcard on the open side. The operator is read
// as everywhere else (after the box's column reference when the text begins with it).
QString SqlFormOfBoxText(const QString& text, const QString& column_ref = QString());

// Asks for a file and writes the displayed SQL text to it (UTF-8, lines ending in CR LF),
// replacing the file only once the new content is complete.
void SaveSqlText(Workspace& ws);

// A mouse button released over the SQL text frame (button bits 1 left, 2 right, 4 middle;
// shift bit 1): the frame comes to the front; Shift + left or the middle button saves the
// text; a left click rebuilds the condition texts.
void SqlTextFrameMouseUp(Workspace& ws, int button, int shift);

}  // namespace mivora
