#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "model/Host.h"

namespace mivora::ui {

// The Host for the running program: Qt message boxes, file dialogs, the wait cursor, the
// desktop's document opening, and ending the program.
class QtHost : public Host {
 public:
  void SetDialogParent(QWidget* parent) { parent_ = parent; }
  // Where long-work progress goes once the work has taken about a third of a second.
  void SetProgressSink(std::function<void(std::int64_t, std::int64_t)> sink) {
    progress_sink_ = std::move(sink);
  }

  // Runs before every message or question, so the windows show what the question is about
  // (a join line coloured for disconnection, say).
  void SetBeforeAsking(std::function<void()> sync) { before_asking_ = std::move(sync); }

  void ShowMessage(const QString& text) override;
  bool AskOkCancel(const QString& text) override;
  QString ChooseOpenFile(const QString& title, const QString& filter, const QString& dir) override;
  QString ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) override;
  void ShowFileProblem(const QString& path, const QString& line) override;
  void SetWaitCursor(bool on) override;
  void ShowProgress(std::int64_t done, std::int64_t total) override;
  void OpenDocument(const QString& target) override;
  void ExitProgram() override;
  // True once the program was asked to end (also before the event loop runs).
  bool exit_requested() const { return exit_requested_; }
  bool AskYesNo(const QString& text) override;
  QString ChooseSaveFileNoOverwritePrompt(const QString& title, const QString& filter,
                                          const QString& dir) override;
  int ChooseSheet(const QStringList& names) override;

 private:
  QPointer<QWidget> parent_;
  std::function<void(std::int64_t, std::int64_t)> progress_sink_;
  std::function<void()> before_asking_;
  QElapsedTimer progress_timer_;
  bool progress_shown_ = false;
  bool exit_requested_ = false;
};

// Measures grid texts with the grid font.
class FontMeasurer : public TextMeasurer {
 public:
  explicit FontMeasurer(const QFont& font) : normal_(font), bold_(font) { bold_.setBold(true); }
  float TextWidthTwips(const QString& text, bool bold) const override;

 private:
  QFont normal_;
  QFont bold_;
};

}  // namespace mivora::ui
