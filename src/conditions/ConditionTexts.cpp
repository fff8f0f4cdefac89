#include "conditions/ConditionTexts.h"

#include <algorithm>

#include "conditions/ConditionTree.h"
#include "conditions/Connectives.h"
#include "conditions/SqlText.h"
#include "workspace/Workspace.h"

namespace mivora {

void RefreshConditionTexts(Workspace& ws) {
  QString expression;
  QString sql;
  BuildConditionTexts(ws, 0, expression, sql);
  TidyConditionText(expression);
  StoreConditionExpression(ws, expression);
  TidyConditionText(sql);
  SetSqlConditionPart(ws, sql);
}

void BuildConditionTexts(const Workspace& ws, int panel, QString& expression, QString& sql) {
  const Conditions& c = ws.conditions;
  if (panel < 0 || panel >= static_cast<int>(c.panels.size()) || !c.panels[panel].live()) return;
  const QString connective = ConnectiveText(c.panels[panel]);
  for (const TreeMember& m : MembersOf(ws, panel)) {
    if (m.is_panel) {
      expression += connective + QStringLiteral("(");
      sql += connective + QStringLiteral("(");
      BuildConditionTexts(ws, m.index, expression, sql);
      expression += QStringLiteral(")") + connective;
      sql += QStringLiteral(")") + connective;
    } else {
      const QString& text = c.boxes[m.index].text;
      const QStringList& refs = c.state.box_column_refs;
      const QString ref = m.index < refs.size() ? refs[m.index] : QString();
      expression += connective + text + connective;
      sql += connective + SqlFormOfBoxText(text, ref) + connective;
    }
  }
}

void TidyConditionText(QString& text) {
  static const std::pair<QString, QString> kRules[] = {
      {QStringLiteral("( Or "), QStringLiteral("(  ")},
      {QStringLiteral("( And "), QStringLiteral("(  ")},
      {QStringLiteral(" Or )"), QStringLiteral(" )")},
      {QStringLiteral(" And )"), QStringLiteral(" )")},
      {QStringLiteral(" Or  Or "), QStringLiteral(" Or  ")},
      {QStringLiteral(" And  And "), QStringLiteral(" And  ")},
  };
  for (const auto& [pattern, replacement] : kRules) {
    if (!text.contains(pattern)) continue;
    // Replacing the first occurrence again and again, in one pass: the text is copied
    // character by character and an occurrence is replaced as soon as the copy ends with it.
    // The copy never holds an occurrence before its end, so the one found is always the
    // first one of the whole text. Each replacement is shorter than its pattern.
    QString out;
    out.reserve(text.size());
    for (const QChar ch : std::as_const(text)) {
      out.append(ch);
      while (out.endsWith(pattern)) {
        out.chop(pattern.size());
        out.append(replacement);
      }
    }
    text = out;
  }
  if (text.startsWith(QStringLiteral(" And"))) text.remove(0, 5);
  if (text.endsWith(QStringLiteral("And "))) text.chop(5);
  if (text.startsWith(QStringLiteral(" Or "))) text.remove(0, 4);
  if (text.endsWith(QStringLiteral(" Or "))) text.chop(4);
}

void StoreConditionExpression(Workspace& ws, const QString& expression) {
  ws.conditions.condition_expression = expression;
}

const QString& ConditionExpression(const Workspace& ws) {
  return ws.conditions.condition_expression;
}

}  // namespace mivora
