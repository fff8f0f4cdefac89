#include <gtest/gtest.h>

#include <QStringList>

#include "model/CellStore.h"

namespace mivora {
namespace {

TEST(CellStore, CreatesOnlyTheSlotsAndColumnsAskedFor) {
  CellStore store;
  store.EnsureTable(2);
  store.EnsureTable(7);
  EXPECT_EQ(store.AllocatedTables(), 7);
  EXPECT_TRUE(store.TableCreated(2));
  EXPECT_TRUE(store.TableCreated(7));
  for (int n : {0, 1, 3, 4, 5, 6}) EXPECT_FALSE(store.TableCreated(n)) << n;

  store.EnsureColumn(7, 5);
  store.SizeColumn(7, 5, 1);
  store.WriteText(QStringLiteral("kept"), 7, 5, 1);
  store.EnsureColumn(7, 3);
  EXPECT_EQ(store.Table(7).AllocatedColumns(), 5);
  EXPECT_TRUE(store.Table(7).ColumnCreated(3));
  EXPECT_FALSE(store.Table(7).ColumnCreated(4));
  // Asking again for an existing column or table keeps its entries.
  store.EnsureColumn(7, 5);
  store.EnsureTable(7);
  EXPECT_EQ(store.ReadText(7, 5, 1), QStringLiteral("kept"));
}

TEST(CellStore, ResizingKeepsEntriesAndClearsNewPositions) {
  CellStore store;
  store.EnsureTable(4);
  store.EnsureColumn(4, 1);
  store.SizeColumn(4, 1, 10);
  for (int i = 1; i <= 10; ++i) {
    store.WriteText(QString::number(i * 11), 4, 1, i);
    store.WriteRow(i, 4, 1, i);
  }
  store.SizeColumn(4, 1, 4);
  store.SizeColumn(4, 1, 10);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(store.ReadText(4, 1, i), QString::number(i * 11));
    EXPECT_EQ(store.ReadRow(4, 1, i), i);
  }
  for (int i = 5; i <= 10; ++i) {
    EXPECT_TRUE(store.ReadText(4, 1, i).isEmpty());
    EXPECT_EQ(store.ReadRow(4, 1, i), 0);
  }
}

TEST(CellStore, RowNumbersAreNotLimitedToSixteenBits) {
  CellStore store;
  store.EnsureTable(4);
  store.EnsureColumn(4, 2);
  store.SizeColumn(4, 2, 2);
  store.WriteRow(32767, 4, 2, 1);
  store.WriteRow(3'000'000, 4, 2, 2);
  EXPECT_EQ(store.ReadRow(4, 2, 1), 32767);
  EXPECT_EQ(store.ReadRow(4, 2, 2), 3'000'000);
}

TEST(CellStore, ReadsIgnoreThePassedThroughSlotArguments) {
  Gyou g;
  g.RedimGyou(1);
  g.WrtS(QStringLiteral("x"), 1);
  g.WrtL(9, 1);
  for (auto [t, c] : {std::pair{0, 0}, {4, 1}, {-3, 99}}) {
    EXPECT_EQ(g.RdS(t, c, 1), QStringLiteral("x"));
    EXPECT_EQ(g.RdL(t, c, 1), 9);
  }
}

TEST(CellStore, IndexesOutsideTheContractAreErrors) {
  CellStore store;
  EXPECT_THROW(store.EnsureColumn(4, 1), CellStoreError);  // table never created
  store.EnsureTable(4);
  EXPECT_THROW(store.SizeColumn(4, 2, 3), CellStoreError);  // column never created
  store.EnsureColumn(4, 2);
  EXPECT_THROW(store.EnsureColumn(4, 0), CellStoreError);
  store.SizeColumn(4, 2, 0);  // a header-only table: an empty index
  EXPECT_EQ(store.Column(4, 2).Size(), 0);
  EXPECT_THROW(store.ReadText(4, 2, 1), CellStoreError);
  store.SizeColumn(4, 2, 3);
  EXPECT_THROW(store.ReadText(4, 2, 0), CellStoreError);
  EXPECT_THROW(store.WriteRow(1, 4, 2, 4), CellStoreError);
  EXPECT_THROW(store.EnsureTable(-1), CellStoreError);
  EXPECT_THROW(store.SizeColumn(4, 2, -1), CellStoreError);
}

}  // namespace
}  // namespace mivora

namespace mivora {
namespace {

// Entries compare by their leading code units where they can; the order must always be the
// plain code-unit order of the texts.
TEST(CellStore, EntryComparisonIsOrdinal) {
  const char16_t nul[] = {u'a', u'b', 0};
  const QStringList texts = {QString(),
                             QStringLiteral("a"),
                             QStringLiteral("ab"),
                             QString::fromUtf16(nul, 3),
                             QStringLiteral("abc"),
                             QStringLiteral("Abc"),
                             QStringLiteral("12345678"),
                             QStringLiteral("123456789"),
                             QStringLiteral("12345679"),
                             QStringLiteral("c1234567x"),
                             QStringLiteral("c1234567y"),
                             QStringLiteral("りんご"),
                             QStringLiteral("ﾘﾝｺﾞ"),
                             QStringLiteral("𠀋"),
                             QStringLiteral("\uFF5E")};
  Gyou g;
  g.Reset(texts.size());
  for (int i = 0; i < texts.size(); ++i) g.Write(i + 1, texts[i].toUtf8(), i + 1);
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (int i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(g.TextAt(i + 1).toString(), texts[i]);
    for (int j = 0; j < texts.size(); ++j) {
      EXPECT_EQ(sign(g.Compare(i + 1, Gyou::Key(texts[j]))), sign(texts[i].compare(texts[j])))
          << texts[i].toStdString() << " vs " << texts[j].toStdString();
      EXPECT_EQ(g.SameText(i + 1, j + 1), texts[i] == texts[j]);
    }
  }
}

}  // namespace
}  // namespace mivora
