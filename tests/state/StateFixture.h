#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/FakeHost.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace mivora::testing {

// A started workspace and a temporary folder for tables and state files.
class StateFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    StartUp(ws_, {});
  }

  // Writes a file into the temporary folder (folders made as needed); returns its path.
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  // A second workspace, started like the first.
  struct Fresh {
    FakeHost host;
    Workspace ws{host};
    Fresh() { StartUp(ws, {}); }
  };

  QTemporaryDir dir_;
  FakeHost host_;
  Workspace ws_{host_};
};

}  // namespace mivora::testing
