#include "conditions/SqlText.h"

#include <QSaveFile>

#include "conditions/ConditionTexts.h"
#include "model/WriteMessages.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool IsUnchanged(const QString& piece) { return piece == QStringLiteral("-"); }

void RebuildDisplay(Workspace& ws) {
  ws.conditions.equation_text = SqlDisplayText(ws.conditions.state);
}

struct SqlOperator {
  const char16_t* op;
  const char16_t* replacement;
  int skipped;  // the operator and the blank after it
  const char16_t* closing;
};

// Checked in this order; a later operator that occurs overrides an earlier one.
constexpr SqlOperator kSqlOperators[] = {
    {u"=", u"= '", 2, u"'"},        {u"%=", u"Like '%", 3, u"'"}, {u"=%", u"Like '", 3, u"%'"},
    {u"%=%", u"Like '%", 4, u"%'"}, {u"<", u"< '", 2, u"'"},      {u"<=", u"<= '", 3, u"'"},
    {u">", u"> '", 2, u"'"},        {u">=", u">= '", 3, u"'"},    {u"<>", u"<> '", 3, u"'"},
};

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

QString SqlFormOfBoxText(const QString& text) {
  QString form = text;
  for (const SqlOperator& op : kSqlOperators) {
    const qsizetype at = text.indexOf(QString::fromUtf16(op.op));
    if (at < 0) continue;
    form = text.left(at) + QString::fromUtf16(op.replacement) + text.mid(at + op.skipped) +
           QString::fromUtf16(op.closing);
  }
  return form;
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
