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

namespace {

void BuildTexts(const Workspace& ws, const std::vector<std::vector<TreeMember>>& members,
                int panel, QString& expression, QString& sql, std::size_t depth) {
  const Conditions& c = ws.conditions;
  // The containers form a tree; the depth bound guards a broken one.
  if (panel < 0 || panel >= static_cast<int>(c.panels.size()) || !c.panels[panel].live() ||
      depth > c.panels.size())
    return;
  const QString connective = ConnectiveText(c.panels[panel]);
  for (const TreeMember& m : members[panel]) {
    if (m.is_panel) {
      expression += connective + QStringLiteral("(");
      sql += connective + QStringLiteral("(");
      BuildTexts(ws, members, m.index, expression, sql, depth + 1);
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

}  // namespace

void BuildConditionTexts(const Workspace& ws, int panel, QString& expression, QString& sql) {
  BuildTexts(ws, MembersOfAllPanels(ws), panel, expression, sql, 0);
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
    QString out(text.size(), Qt::Uninitialized);
    QChar* const d = out.data();
    const qsizetype n = pattern.size();
    const QChar last = pattern.back();
    qsizetype length = 0;
    for (const QChar ch : std::as_const(text)) {
      d[length++] = ch;
      while (length >= n && d[length - 1] == last &&
             std::equal(pattern.begin(), pattern.end(), d + length - n)) {
        length -= n;
        for (const QChar r : replacement) d[length++] = r;
      }
    }
    out.truncate(length);
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
