// Runs a fuzz target over every file of the folders (or files) given, as ordinary tests do
// without libFuzzer: each seed and each input that ever found a fault is replayed on every
// test run. A broken invariant or a sanitizer report ends the run with a failure.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "FuzzCheck.h"

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    QStringList files;
    if (QFileInfo(arg).isDir()) {
      const QDir dir(arg);
      // Absolute paths: a target may change the current folder.
      for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        files << dir.absoluteFilePath(name);
    } else {
      files << QFileInfo(arg).absoluteFilePath();
    }
    if (files.isEmpty()) {
      std::fprintf(stderr, "no inputs in %s\n", argv[i]);
      return 1;
    }
    for (const QString& path : files) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
      }
      const QByteArray bytes = file.readAll();
      std::fprintf(stderr, "%s\n", qPrintable(path));
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size()));
      ++replayed;
    }
  }
  std::fprintf(stderr, "%d inputs replayed\n", replayed);
  return 0;
}
