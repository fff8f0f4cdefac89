#include "support/FakeHost.h"

namespace mivora::testing {

bool FakeHost::AskOkCancel(const QString& text) {
  questions.push_back(text);
  if (answers.empty()) return true;
  bool a = answers.front();
  answers.pop_front();
  return a;
}

QString FakeHost::ChooseOpenFile(const QString& title, const QString& filter, const QString& dir) {
  dialogs.push_back({title, filter, dir});
  if (files_to_choose.empty()) return {};
  QString f = files_to_choose.front();
  files_to_choose.pop_front();
  return f;
}

QString FakeHost::ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) {
  return ChooseOpenFile(title, filter, dir);
}

bool FakeHost::AskYesNo(const QString& text) {
  yes_no_questions.push_back(text);
  if (yes_no_answers.empty()) return false;
  bool a = yes_no_answers.front();
  yes_no_answers.pop_front();
  return a;
}

QString FakeHost::ChooseSaveFileNoOverwritePrompt(const QString& title, const QString& filter,
                                                  const QString& dir) {
  ++no_overwrite_prompt_dialogs;
  return ChooseOpenFile(title, filter, dir);
}

int FakeHost::ChooseSheet(const QStringList& names) {
  sheet_lists.push_back(names);
  if (sheet_choices.empty()) return kSheetChoiceCancelled;
  int c = sheet_choices.front();
  sheet_choices.pop_front();
  return c;
}

QString TestData(const QString& name) { return QStringLiteral(MIVORA_TEST_DATA "/") + name; }

}  // namespace mivora::testing
