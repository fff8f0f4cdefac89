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

QString TestData(const QString& name) { return QStringLiteral(MIVORA_TEST_DATA "/") + name; }

}  // namespace mivora::testing
