#include "conditions/SqlText.h"

#include <QSaveFile>

#include "conditions/ConditionTexts.h"
#include "conditions/OperatorReading.h"
#include "model/WriteMessages.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool IsUnchanged(const QString& piece) { return piece == QStringLiteral("-"); }

void RebuildDisplay(Workspace& ws) {
  ws.conditions.equation_text = SqlDisplayText(ws.conditions.state);
}

// What the SQL form puts in place of the operator, and after the value.
struct SqlSpelling {
  QString replacement;
  QString closing;
};

SqlSpelling SqlSpellingOf(EquationOperator op) {
  switch (op) {
    case EquationOperator::kEndsWith:
      return {QStringLiteral("Like '%"), QStringLiteral("'")};
    case EquationOperator::kBeginsWith:
      return {QStringLiteral("Like '"), QStringLiteral("%'")};
    case EquationOperator::kContains:
      return {QStringLiteral("Like '%"), QStringLiteral("%'")};
    default:
      return {OperatorText(op) + QStringLiteral(" '"), QStringLiteral("'")};
  }
}

}  // namespace

void SetSqlTextPart(Workspace& ws, const QString& select_part, const QString& join_part,
                    const QString& condition_part) {
  ConditionState& state = ws.conditions.state;
  const bool keep_select = IsUnchanged(select_part);
  const bool keep_join = IsUnchanged(join_part);
  const bool keep_condition = IsUnchanged(condition_part);
  if (!keep_select && keep_join && keep_condition) state.sql_select_part = select_part;
  if (keep_select && !keep_join && keep_condition) state.sql_join_part = join_part;
  if (keep_select && keep_join && !keep_condition) state.sql_condition_part = condition_part;
  RebuildDisplay(ws);
}

void SetSqlConditionPart(Workspace& ws, const QString& condition_part) {
  ws.conditions.state.sql_condition_part = condition_part;
  RebuildDisplay(ws);
}

QString SqlDisplayText(const ConditionState& state) {
  return state.sql_select_part + state.line_break + state.line_break + state.sql_join_part +
         state.line_break + QStringLiteral("(") + state.sql_condition_part + QStringLiteral(")");
}

QString SqlFormOfBoxText(const QString& text, const QString& column_ref) {
  const FoundOperator found = FindBoxOperator(text, column_ref);
  if (found.op == EquationOperator::kNone) return text;
  // The blank after the operator is skipped only when there is one.
  qsizetype value_at = found.end();
  if (value_at < text.size() && text[value_at] == u' ') ++value_at;
  const SqlSpelling sql = SqlSpellingOf(found.op);
  return text.left(found.position) + sql.replacement + text.mid(value_at) + sql.closing;
}

void SaveSqlText(Workspace& ws) {
  FolderMemory& folders = ws.conditions.sql_folders;
  const QString dir = folders.DialogFolder();
  const QString path = ws.host.ChooseSaveFile(
      QString(), QStringLiteral(u"CSV File (*.sql);;すべてのファイル (*)"), dir);
  if (path.isEmpty()) return;
  folders.Remember(path);

  QSaveFile file(path);
  const QByteArray bytes = (ws.conditions.equation_text + ws.conditions.state.line_break).toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    ws.host.ShowMessage(CannotWriteMessage(path, file.errorString()));
  }
}

void SqlTextFrameMouseUp(Workspace& ws, int button, int shift) {
  constexpr int kLeft = 1;
  constexpr int kMiddle = 4;
  constexpr int kShift = 1;
  ws.BringToFront(ws.conditions.cnd_equation);
  if ((button == kLeft && (shift & kShift)) || button == kMiddle) SaveSqlText(ws);
  if (button == kLeft) RefreshConditionTexts(ws);
}

}  // namespace mivora
