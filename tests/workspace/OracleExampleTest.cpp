#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>

#include "search/SearchFixture.h"
#include "tablefiles/TableLoading.h"
#include "workspace/OracleExample.h"
#include "workspace/TablesMenu.h"

namespace mivora {
namespace {

class OracleExample : public testing::SearchFixture {
 protected:
  // The example's paths resolve against the start folder; the samples lie in the source tree.
  void SetUp() override {
    old_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(MIVORA_TEST_DATA "/../../samples")));
  }
  void TearDown() override { QDir::setCurrent(old_); }
  QString old_;
};

TEST_F(OracleExample, NineTablesEightJoinsAndAResult) {
  MenuOracleExample(ws_);
  ASSERT_TRUE(host_.messages.isEmpty()) << host_.messages.join(u'\n').toStdString();
  const char* names[] = {"Location", "Job",   "Employee", "Customer",  "Sales_Order",
                         "Item",     "Price", "Product",  "Department"};
  for (int i = 0; i < 9; ++i) {
    EXPECT_TRUE(ws_.tables.SlotInUse(4 + i));
    EXPECT_EQ(ws_.TableGrid(4 + i).Text(0, 0), QString::fromUtf8(names[i]));
  }
  const std::vector<Join> expected = {{4, 1, 12, 3}, {12, 1, 6, 10}, {6, 5, 5, 1},  {6, 1, 7, 9},
                                      {7, 1, 8, 3},  {9, 1, 8, 1},   {9, 3, 10, 1}, {11, 1, 10, 1}};
  for (int n = 1; n <= 8; ++n) {
    Join j;
    EXPECT_EQ(ReadJoin(ws_, n, j), n);
    EXPECT_EQ(j, expected[n - 1]) << n;
  }
  // The key columns are the columns the joins name.
  EXPECT_EQ(ColumnName(ws_, 12, 3), QStringLiteral("location_id"));
  EXPECT_EQ(ColumnName(ws_, 6, 10), QStringLiteral("department_id"));
  EXPECT_EQ(ColumnName(ws_, 7, 9), QStringLiteral("salesperson_id"));
  EXPECT_EQ(ColumnName(ws_, 9, 3), QStringLiteral("product_id"));
  EXPECT_GT(ws_.result.JoinedGrid().Rows(), 2) << "joined rows follow the header and tag rows";
  const auto drawn = std::count_if(ws_.tables.line2.begin(), ws_.tables.line2.end(),
                                   [](const Control& c) { return c.visible; });
  EXPECT_GE(drawn, 8) << "every join is drawn with at least one piece";
  EXPECT_FALSE(ws_.tables.examples_menu_enabled);
  EXPECT_EQ(ws_.tables.default_hint_picture, QStringLiteral(".\\F16MaskR.bmp"));
  EXPECT_EQ(ws_.tables.slots[5].frame.rect.height, 2000);
}

TEST_F(OracleExample, AMissingTableStopsBeforeTheJoins) {
  ASSERT_TRUE(QDir::setCurrent(QDir::tempPath()));
  LoadOracleExample(ws_);
  EXPECT_FALSE(host_.messages.isEmpty());
  EXPECT_TRUE(JoinedPairs().empty());
}

}  // namespace
}  // namespace mivora
