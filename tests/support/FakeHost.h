#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "model/Host.h"

namespace mivora::testing {

// A scripted Host: records every message and question, answers from queues.
class FakeHost : public Host {
 public:
  void ShowMessage(const QString& text) override { messages.push_back(text); }
  bool AskOkCancel(const QString& text) override;
  QString ChooseOpenFile(const QString& title, const QString& filter, const QString& dir) override;
  QString ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) override;
  void ShowFileProblem(const QString& path, const QString& line) override {
    file_problems.push_back(path + QStringLiteral(" | ") + line);
  }
  void SetWaitCursor(bool on) override { wait_cursor_depth += on ? 1 : -1; }
  void ShowProgress(std::int64_t done, std::int64_t total) override {
    last_progress_done = done;
    last_progress_total = total;
  }
  void OpenDocument(const QString& target) override { opened.push_back(target); }
  void ExitProgram() override { exited = true; }
  bool IsBatch() const override { return batch; }
  bool AskYesNo(const QString& text) override;
  QString ChooseSaveFileNoOverwritePrompt(const QString& title, const QString& filter,
                                          const QString& dir) override;
  int ChooseSheet(const QStringList& names) override;

  // Answers to give, front first; an empty queue answers OK / cancels a dialog.
  std::deque<bool> answers;
  std::deque<QString> files_to_choose;
  // Yes/No answers (an empty queue answers No) and sheet choices (empty: cancelled).
  std::deque<bool> yes_no_answers;
  std::deque<int> sheet_choices;
  bool batch = false;

  QStringList messages;
  QStringList questions;
  QStringList file_problems;
  QStringList opened;
  QStringList yes_no_questions;
  std::deque<QStringList> sheet_lists;
  int no_overwrite_prompt_dialogs = 0;
  struct DialogCall {
    QString title, filter, dir;
  };
  std::deque<DialogCall> dialogs;
  int wait_cursor_depth = 0;
  std::int64_t last_progress_done = 0, last_progress_total = 0;
  bool exited = false;
};

// The path of a fixture file in tests/data.
QString TestData(const QString& name);

}  // namespace mivora::testing
