#include "state/StatePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace mivora {

namespace {

QStringList WrittenForms(const QString& written) {
  QStringList forms{written};
  if (written.contains(u'\\')) forms << QString(written).replace(u'\\', u'/');
  return forms;
}

// The start folder first, then the folder of the program's data.
QStringList BaseFolders() {
  QStringList folders{QDir::currentPath()};
  if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath();
  return folders;
}

}  // namespace

QString ResolveStateFilePath(const QString& written) {
  if (written.isEmpty()) return {};
  for (const QString& form : WrittenForms(written)) {
    if (QFileInfo(form).isAbsolute()) {
      if (QFileInfo(form).isFile()) return form;
      continue;
    }
    for (const QString& folder : BaseFolders()) {
      const QString candidate = QDir::cleanPath(QDir(folder).filePath(form));
      if (QFileInfo(candidate).isFile()) return candidate;
    }
  }
  return {};
}

QString ResolveResultFilePath(const QString& written) {
  // A new file's folder always exists for a name without "/", so "\" is taken as the
  // separator first here.
  QStringList forms = WrittenForms(written);
  std::reverse(forms.begin(), forms.end());
  for (const QString& form : forms) {
    if (QFileInfo(form).isAbsolute()) {
      if (QFileInfo(form).absoluteDir().exists()) return form;
      continue;
    }
    for (const QString& folder : BaseFolders()) {
      const QString candidate = QDir::cleanPath(QDir(folder).filePath(form));
      if (QFileInfo(candidate).absoluteDir().exists()) return candidate;
    }
  }
  // Nowhere to put it: the writer reports the missing folder.
  const QString& last = forms.constLast();
  return QFileInfo(last).isAbsolute() ? last
                                      : QDir::cleanPath(QDir(BaseFolders().first()).filePath(last));
}

}  // namespace mivora
