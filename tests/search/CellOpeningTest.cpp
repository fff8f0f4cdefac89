#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "search/CellOpening.h"
#include "support/FakeHost.h"

namespace mivora::testing {
namespace {

TEST(CellOpeningTest, OnlyAddressesAndPlainExistingFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto make = [&](const QString& name, bool executable) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
  };
  struct {
    QString target;
    bool opens;
  } cases[] = {{QStringLiteral("https://example.org/a?b"), true},
               {QStringLiteral("HTTP://example.org"), true},
               {QStringLiteral("mailto:someone@example.org"), true},
               {QStringLiteral("https://"), false},
               {QStringLiteral("ftp://example.org"), false},
               {QStringLiteral("javascript:alert(1)"), false},
               {QString(), false},
               {TestData(QStringLiteral("sales.2000.csv")), true},
               {make(QStringLiteral("notes.txt"), false), true},
               {make(QStringLiteral("tool"), true), false},
               {make(QStringLiteral("start.desktop"), false), false},
               {make(QStringLiteral("run.SH"), false), false},
               {dir.filePath(QStringLiteral("missing.txt")), false},
               {dir.path(), false}};
  for (const auto& c : cases)
    EXPECT_EQ(MayOpenWithDesktop(c.target), c.opens) << c.target.toStdString();
}

}  // namespace
}  // namespace mivora::testing
