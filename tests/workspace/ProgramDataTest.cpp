#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "workspace/ProgramData.h"

namespace mivora {
namespace {

TEST(ProgramData, ResolvesWithEitherSeparatorAgainstTheStartFolder) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("Options"));
  QFile f(dir.filePath(QStringLiteral("Options/a.rsm")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  const QString before = QDir::currentPath();
  QDir::setCurrent(dir.path());
  const QString expected = QDir(dir.path()).filePath(QStringLiteral("Options/a.rsm"));
  for (const char* name : {".\\Options\\a.rsm", "./Options/a.rsm", "Options\\a.rsm"})
    EXPECT_EQ(QFileInfo(ProgramDataPath(QString::fromUtf8(name))).canonicalFilePath(),
              QFileInfo(expected).canonicalFilePath())
        << name;
  EXPECT_TRUE(ProgramDataPath(QStringLiteral(".\\Options\\missing.rsm")).isEmpty());
  QDir::setCurrent(before);
}

}  // namespace
}  // namespace mivora
