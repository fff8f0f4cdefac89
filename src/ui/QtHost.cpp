#include "ui/QtHost.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QUrl>

#include "search/CellOpening.h"
#include "ui/Form2.h"
#include "ui/SheetSelect.h"
#include "ui/Units.h"

namespace mivora::ui {

namespace {

constexpr qint64 kProgressDelayMs = 333;

// The normal cursor for as long as a message or dialog is up, even in the middle of long work
// that holds the wait cursor; the wait cursor comes back afterwards.
class NormalCursorWhileAsking {
 public:
  NormalCursorWhileAsking() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~NormalCursorWhileAsking() { QApplication::restoreOverrideCursor(); }
  NormalCursorWhileAsking(const NormalCursorWhileAsking&) = delete;
  NormalCursorWhileAsking& operator=(const NormalCursorWhileAsking&) = delete;
};

}  // namespace

void QtHost::ShowMessage(const QString& text) {
  if (before_asking_) before_asking_();
  NormalCursorWhileAsking cursor;
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent_);
  box.setTextFormat(Qt::PlainText);  // paths and cell texts are never markup
  box.exec();
}

bool QtHost::AskOkCancel(const QString& text) {
  if (before_asking_) before_asking_();
  NormalCursorWhileAsking cursor;
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text,
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

bool QtHost::AskYesNo(const QString& text) {
  if (before_asking_) before_asking_();
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                  QMessageBox::Yes | QMessageBox::No, parent_);
  return box.exec() == QMessageBox::Yes;
}

QString QtHost::ChooseSaveFileNoOverwritePrompt(const QString& title, const QString& filter,
                                                const QString& dir) {
  return QFileDialog::getSaveFileName(parent_, title, dir, filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

int QtHost::ChooseSheet(const QStringList& names) {
  if (before_asking_) before_asking_();
  SheetSelect dialog(names, parent_);
  if (dialog.exec() != QDialog::Accepted) return kSheetChoiceCancelled;
  const int index = dialog.SelectedIndex();
  return index < 0 ? kNoSheetSelected : index;
}

QString QtHost::ChooseOpenFile(const QString& title, const QString& filter, const QString& dir) {
  NormalCursorWhileAsking cursor;
  return QFileDialog::getOpenFileName(parent_, title, dir, filter);
}

QString QtHost::ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) {
  NormalCursorWhileAsking cursor;
  return QFileDialog::getSaveFileName(parent_, title, dir, filter);
}

void QtHost::ShowFileProblem(const QString& path, const QString& line) {
  NormalCursorWhileAsking cursor;
  Form2 form(path, line, parent_);
  form.exec();
}

void QtHost::SetWaitCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::ShowProgress(std::int64_t done, std::int64_t total) {
  if (total <= 0) {
    if (progress_shown_ && progress_sink_) progress_sink_(0, 0);
    progress_shown_ = false;
    progress_timer_.invalidate();
    return;
  }
  if (!progress_timer_.isValid()) progress_timer_.start();
  if (!progress_shown_ && progress_timer_.elapsed() < kProgressDelayMs) return;
  progress_shown_ = true;
  if (progress_sink_) progress_sink_(done, total);
}

void QtHost::OpenDocument(const QString& target) {
  if (!MayOpenWithDesktop(target)) return;
  QUrl url(target);
  const QString scheme = url.scheme().toLower();
  if (scheme == QStringLiteral("http") || scheme == QStringLiteral("https") ||
      scheme == QStringLiteral("mailto"))
    QDesktopServices::openUrl(url);
  else
    QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

void QtHost::ExitProgram() {
  exit_requested_ = true;
  // Not quit(): that closes every window and stops at the first one that refuses.
  QCoreApplication::exit(0);
}

float FontMeasurer::TextWidthTwips(const QString& text, bool bold) const {
  QFontMetricsF metrics(bold ? bold_ : normal_);
  return ToTwips(metrics.horizontalAdvance(text));
}

}  // namespace mivora::ui
