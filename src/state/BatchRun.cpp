#include "state/BatchRun.h"

#include "state/Resume.h"
#include "state/StateFile.h"
#include "state/StatePaths.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace mivora {

void BatchHost::Print(const QString& text) {
  QString line = text;
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
  line.replace(u'\r', QStringLiteral(" / "));
  line.replace(u'\n', QStringLiteral(" / "));
  const QByteArray bytes = (QStringLiteral("mivora: ") + line + u'\n').toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
  std::fflush(out_);
}

void BatchHost::ShowMessage(const QString& text) { Print(text); }

bool BatchHost::AskOkCancel(const QString& text) {
  Print(text + QStringLiteral(" (Cancel)"));
  return false;
}

bool BatchHost::AskYesNo(const QString& text) {
  Print(text + QStringLiteral(" (No)"));
  return false;
}

QString BatchHost::ChooseOpenFile(const QString& title, const QString&, const QString&) {
  Print(title.trimmed() + QStringLiteral(" (Cancel)"));
  return {};
}

QString BatchHost::ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) {
  return ChooseOpenFile(title, filter, dir);
}

void BatchHost::ShowFileProblem(const QString& path, const QString& line) {
  Print(path + QStringLiteral(": ") + line);
}

CommandLine ParseCommandLine(const QStringList& arguments, const QString& platform_variable) {
  CommandLine c;
  c.platform = platform_variable;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QStringLiteral("--batch")) {
      c.batch_option = true;
    } else if (a == QStringLiteral("-platform") || a == QStringLiteral("--platform")) {
      if (i + 1 < arguments.size()) c.platform = arguments[++i];
    } else if (a.startsWith(QStringLiteral("--"))) {
      if (c.unknown_option.isEmpty()) c.unknown_option = a;
    } else if (a.startsWith(u'-') && a.size() > 1) {
      // Qt's own options; those taking a value take the next argument too.
      static const QStringList kWithValue = {
          QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
          QStringLiteral("-display"),         QStringLiteral("-geometry"),
          QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
          QStringLiteral("-qwindowicon"),     QStringLiteral("-platformpluginpath"),
          QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
          QStringLiteral("-session"),         QStringLiteral("-title")};
      if (kWithValue.contains(a) && i + 1 < arguments.size()) ++i;
    } else if (c.state_file.isEmpty()) {
      c.state_file = a;
    }
  }
  return c;
}

bool IsBatchRun(const CommandLine& c) {
  if (c.batch_option) return true;
  const QString platform = c.platform.section(u':', 0, 0);
  return !c.state_file.isEmpty() &&
         (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal"));
}

QString UnknownOptionMessage(const QString& option) {
  return QStringLiteral("オプション「") + option +
         QStringLiteral("」はわかりません。使い方: mivora [--batch] [状態保存ファイル]");
}

QString NoStateFileMessage() {
  return QStringLiteral(
      "状態保存ファイルが指定されていません。使い方: mivora --batch 状態保存ファイル");
}

int RunBatch(Workspace& ws, const QString& state_file) {
  QString text, reason;
  if (!ReadStateFile(state_file, &text, &reason)) {
    ws.host.ShowMessage(StateFileOpenMessage(state_file, reason));
    return kExitNothingToRun;
  }
  if (!NamesResultFile(text)) {
    ws.host.ShowMessage(QStringLiteral("状態保存ファイル「") + state_file +
                        QStringLiteral("」には結果ファイルの指定がありません。"));
    return kExitNothingToRun;
  }
  switch (StartUp(ws, {state_file})) {
    case ResumeOutcome::kResultWritten:
      return kExitDone;
    case ResumeOutcome::kComplete:
    case ResumeOutcome::kCancelled:
      return kExitNothingToRun;
    case ResumeOutcome::kStopped:
    case ResumeOutcome::kResultNotWritten:
      return kExitFailed;
  }
  return kExitFailed;
}

}  // namespace mivora
