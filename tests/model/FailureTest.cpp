#include "model/Failure.h"

#include <gtest/gtest.h>

#include <new>

#include "model/CellStore.h"
#include "model/Grid.h"
#include "support/FakeHost.h"

namespace mivora {
namespace {

class BatchHost : public testing::FakeHost {
 public:
  bool IsBatch() const override { return true; }
};

struct FailureCase {
  std::exception_ptr error;
  QString message;
};

TEST(FailureTest, EveryKindOfErrorGivesOneMessageAndTheStepEnds) {
  const FailureCase cases[] = {
      {std::make_exception_ptr(GridError("row outside the grid")),
       QStringLiteral("処理を続けられませんでした：row outside the grid")},
      {std::make_exception_ptr(CellStoreError("position beyond the column")),
       QStringLiteral("処理を続けられませんでした：position beyond the column")},
      {std::make_exception_ptr(std::bad_alloc()),
       QStringLiteral("処理を続けられませんでした：メモリが足りません。")},
      {std::make_exception_ptr(42), QStringLiteral("処理を続けられませんでした：原因不明のエラー")},
  };
  for (const FailureCase& c : cases) {
    testing::FakeHost host;
    host.last_progress_total = 7;
    bool after = false;
    const bool finished = RunGuarded(host, [&] {
      std::rethrow_exception(c.error);
      after = true;
    });
    EXPECT_FALSE(finished);
    EXPECT_FALSE(after);
    EXPECT_EQ(host.messages, QStringList{c.message});
    EXPECT_EQ(host.last_progress_total, 0) << "the progress bar ends with the step";
    EXPECT_FALSE(host.exited);
  }
}

TEST(FailureTest, AFinishedStepReportsNothing) {
  testing::FakeHost host;
  int runs = 0;
  EXPECT_TRUE(RunGuarded(host, [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(host.messages.isEmpty());
}

TEST(FailureDeathTest, ABatchRunEndsWithStatusOneAndOneLine) {
  EXPECT_EXIT(
      {
        BatchHost host;
        RunGuarded(host, [] { throw GridError("column outside\nthe grid"); });
      },
      ::testing::ExitedWithCode(1), "処理を続けられませんでした：column outside the grid\n$");
}

}  // namespace
}  // namespace mivora
