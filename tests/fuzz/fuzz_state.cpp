// State file bytes: the reader turns them into text and the resume rebuilds a workspace from it
// (with a quiet host), or stops with a message. Nothing crashes or hangs, and whatever was
// rebuilt can be saved again.
//
// The tables a state file names are looked up from the current folder, so the first input
// makes a temporary folder holding a copy of the example tables and works there. A result file
// is written only under that folder: a name that could reach outside it is blanked first.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "FuzzCheck.h"
#include "model/Constants.h"
#include "state/Resume.h"
#include "state/StateFile.h"
#include "support/FakeHost.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace {

using namespace mivora;

// The working folder, made once with the example tables copied in.
const QTemporaryDir& WorkFolder() {
  static const std::unique_ptr<QTemporaryDir> dir = [] {
    auto made = std::make_unique<QTemporaryDir>();
    FUZZ_CHECK(made->isValid());
    const QDir samples(QStringLiteral(MIVORA_SAMPLES_DIR));
    QDirIterator it(samples.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString from = it.next();
      const QString to = made->filePath(samples.relativeFilePath(from));
      QDir().mkpath(QFileInfo(to).absolutePath());
      QFile::copy(from, to);
    }
    FUZZ_CHECK(QDir::setCurrent(made->path()));
    return made;
  }();
  return *dir;
}

// Blanks a result file name that is absolute, climbs with "..", or holds anything but plain
// name characters, so the resume writes only inside the working folder.
QString KeepResultInside(const QString& text) {
  static const QRegularExpression kPlain(QStringLiteral("^[A-Za-z0-9_. \\\\/-]*$"));
  QStringList lines = text.split(QStringLiteral("\r\n"));
  for (qsizetype j = 0; j + 1 < lines.size(); ++j) {
    if (lines[j] != QStringLiteral("#j#")) continue;
    QString& name = lines[j + 1];
    if (!kPlain.match(name).hasMatch() || name.contains(QStringLiteral("..")) ||
        name.startsWith(u'/') || name.startsWith(u'\\'))
      name.clear();
  }
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const QTemporaryDir& folder = WorkFolder();
  const QString path = folder.filePath(QStringLiteral("input.rsm"));
  {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
               static_cast<qint64>(size));
  }
  QString text, reason;
  FUZZ_CHECK(ReadStateFile(path, &text, &reason));
  FUZZ_CHECK(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")));
  text = KeepResultInside(text);

  testing::FakeHost host;
  host.batch = true;
  Workspace ws(host);
  StartUp(ws, {});
  const ResumeOutcome outcome = ResumeState(ws, text, path);
  if (outcome == ResumeOutcome::kStopped) FUZZ_CHECK(!host.messages.isEmpty());
  FUZZ_CHECK(outcome != ResumeOutcome::kCancelled);

  // Whatever was rebuilt can be saved, and the saved text is a state file again.
  const QString saved = StateFileText(ws);
  FUZZ_CHECK(saved.startsWith(QString::number(std::max(ws.tables.SlotCount() - 1, kFirstTableSlot))));
  FUZZ_CHECK(saved.endsWith(QStringLiteral("#k#\r\n")));
  return 0;
}
