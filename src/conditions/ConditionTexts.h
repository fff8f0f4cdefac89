#pragma once

#include <QString>

namespace mivora {

class Workspace;

// Rebuilds the condition expression and the condition piece of the SQL text from the tree.
void RefreshConditionTexts(Workspace& ws);

// Appends the texts of a live panel's members, each wrapped in the panel's connective on both
// sides, child panels in parentheses: the expression to `expression`, the SQL form to `sql`.
void BuildConditionTexts(const Workspace& ws, int panel, QString& expression, QString& sql);

// Folds the doubled connectives and the connectives next to parentheses and at the ends.
void TidyConditionText(QString& text);

// Stores the expression a search evaluates (an empty one means no condition), and reads it.
void StoreConditionExpression(Workspace& ws, const QString& expression);
const QString& ConditionExpression(const Workspace& ws);

}  // namespace mivora
