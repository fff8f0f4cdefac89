#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "search/ColumnIndex.h"
#include "search/SearchFixture.h"
#include "model/CellStore.h"
#include "model/Twips.h"

namespace mivora::testing {
namespace {

Gyou MakeIndex(const QStringList& texts) {
  Gyou g;
  g.RedimGyou(texts.size());
  for (int i = 0; i < texts.size(); ++i) {
    g.WrtS(texts[i], i + 1);
    g.WrtL(i + 1, i + 1);
  }
  return g;
}

std::vector<int> Rows(const Gyou& g) {
  std::vector<int> rows;
  for (std::int64_t p = 1; p <= g.Size(); ++p) rows.push_back(g.RowAt(p));
  return rows;
}

QStringList Texts(const Gyou& g) {
  QStringList texts;
  for (std::int64_t p = 1; p <= g.Size(); ++p) texts.push_back(g.TextAt(p).toString());
  return texts;
}

struct SortCase {
  const char* name;
  QStringList texts;
  std::vector<int> rows;  // grid rows in sorted order, as the exact steps leave them
};

class SortCases : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortCases, LeavesEntriesInTheExactOrder) {
  Gyou g = MakeIndex(GetParam().texts);
  SortColumnIndex(g, 1, g.Size());
  EXPECT_EQ(Rows(g), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Index, SortCases,
    ::testing::Values(
        // Pivot of 1..4 is position 2, of 3..4 position 4 (halves to the even one).
        SortCase{"DuplicatesNotStable", Q({"b", "a", "b", "a"}), {4, 2, 1, 3}},
        SortCase{"FiveWithDuplicates", Q({"c", "a", "b", "a", "c"}), {2, 4, 3, 5, 1}},
        SortCase{"Ordinal", Q({"9", "12", "a", "B", "a "}), {2, 1, 4, 3, 5}},
        SortCase{"Single", Q({"x"}), {1}}, SortCase{"Empty", QStringList{}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SortColumnIndexTest, ManyEqualAndSortedKeysStaySortedAndWhole) {
  for (bool equal : {true, false}) {
    QStringList texts;
    const int n = 60000;
    for (int i = 0; i < n; ++i) {
      texts.push_back(equal ? QStringLiteral("k")
                            : QStringLiteral("%1").arg(i, 6, 10, QChar(u'0')));
    }
    Gyou g = MakeIndex(texts);
    SortColumnIndex(g, 1, n);
    std::vector<bool> seen(n + 1, false);
    for (std::int64_t p = 1; p <= n; ++p) {
      if (p > 1) {
        ASSERT_LE(g.TextAt(p - 1).toString(), g.TextAt(p).toString());
      }
      seen[g.RowAt(p)] = true;
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), true), n) << equal;
  }
}

// The quicksort as the steps read, on a plain vector, to check the index's sort against.
void ReferenceSort(std::vector<std::pair<QString, int>>& v, std::int64_t lo, std::int64_t hi) {
  auto at = [&v](std::int64_t p) -> std::pair<QString, int>& { return v[p - 1]; };
  const QString pivot = at(RoundHalfEven(static_cast<double>(lo + hi) / 2)).first;
  std::int64_t i = lo, j = hi;
  do {
    while (at(i).first < pivot) ++i;
    while (at(j).first > pivot) --j;
    if (i > j) break;
    std::swap(at(i), at(j));
    ++i;
    --j;
  } while (j >= i);
  if (lo < j) ReferenceSort(v, lo, j);
  if (i < hi) ReferenceSort(v, i, hi);
}

// A big index is sorted on two threads after its first split; the order of equal keys must
// be exactly the one-threaded order.
TEST(SortColumnIndexTest, BigIndexKeepsTheExactOrderOfEqualKeys) {
  const int n = 300000;
  QStringList texts;
  std::vector<std::pair<QString, int>> reference;
  for (int i = 0; i < n; ++i) {
    const QString t = QStringLiteral("k%1").arg((std::int64_t{i} * 7919) % 5003);  // ~60 rows a key
    texts.push_back(t);
    reference.push_back({t, i + 1});
  }
  Gyou g = MakeIndex(texts);
  SortColumnIndex(g, 1, n);
  ReferenceSort(reference, 1, n);
  std::vector<int> expected;
  for (const auto& e : reference) expected.push_back(e.second);
  EXPECT_EQ(Rows(g), expected);
}

struct FindCase {
  const char* name;
  QStringList sorted;
  const char* key;
  std::int64_t position;  // 0: nothing found
};

class FindCases : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindCases, LandsWhereTheBisectionLands) {
  const Gyou g = MakeIndex(GetParam().sorted);
  const IndexHit hit = FindInColumnIndex(g, QString::fromUtf8(GetParam().key), 1, g.Size());
  if (GetParam().position == 0) {
    EXPECT_FALSE(hit.Found());
  } else {
    ASSERT_TRUE(hit.Found());
    EXPECT_EQ(hit.position, GetParam().position);
    EXPECT_EQ(hit.row, GetParam().position);  // rows were written equal to positions
  }
}

const QStringList kFive = Q({"a", "b", "b", "b", "c"});
const QStringList kSix = Q({"a", "b", "b", "b", "b", "c"});

INSTANTIATE_TEST_SUITE_P(
    Index, FindCases,
    ::testing::Values(
        FindCase{"MiddleOfRun", kFive, "b", 3}, FindCase{"EvenMiddleRoundsToEven", kSix, "b", 4},
        FindCase{"First", kFive, "a", 1}, FindCase{"Last", kFive, "c", 5},
        FindCase{"Between", kFive, "bb", 0}, FindCase{"Below", kFive, "0", 0},
        FindCase{"Above", kFive, "d", 0}, FindCase{"OtherCase", kFive, "B", 0},
        FindCase{"TrailingSpace", kFive, "b ", 0}, FindCase{"SingleHit", Q({"x"}), "x", 1},
        FindCase{"SingleMiss", Q({"x"}), "y", 0}, FindCase{"EmptyIndex", QStringList{}, "x", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LandingInRunTest, AgreesWithTheBisectionOnEveryRun) {
  // Sorted indexes of 1..40 entries whose runs of equal texts have lengths 1, 2, 3, ...
  // in several rotations.
  for (int n = 1; n <= 40; ++n) {
    for (int shift = 0; shift < 4; ++shift) {
      QStringList texts;
      int run = 0, left = 1 + shift;
      for (int i = 0; i < n; ++i) {
        texts.push_back(QStringLiteral("%1").arg(run, 3, 10, QChar(u'0')));
        if (--left == 0) left = ++run % 4 + 1;
      }
      const Gyou g = MakeIndex(texts);
      for (int p = 1; p <= n;) {
        int q = p;
        while (q < n && texts[q] == texts[p - 1]) ++q;
        const IndexHit hit = FindInColumnIndex(g, texts[p - 1], 1, n);
        ASSERT_EQ(LandingInRun(p, q, 1, n), hit.position) << n << " " << shift << " " << p;
        p = q + 1;
      }
    }
  }
}

class BuildColumnIndexTest : public SearchFixture {};

TEST_F(BuildColumnIndexTest, HeaderOnlyTableHasAnEmptyIndex) {
  const int t = AddTable(QStringLiteral("T"), Q({"x"}), {});
  BuildColumnIndex(ws_, t, 1);
  EXPECT_EQ(ws_.cell_store.Column(t, 1).Size(), 0);
  EXPECT_FALSE(FindInColumnIndex(ws_, u"", 1, 0, t, 1).Found());
}

TEST_F(BuildColumnIndexTest, IndexesTheGridsCurrentOrder) {
  const int t =
      AddTable(QStringLiteral("T"), Q({"x", "y"}), {Q({"1", "q"}), Q({"2", "p"}), Q({"3", "q"})});
  BuildColumnIndex(ws_, t, 2);
  const Gyou& g = ws_.cell_store.Column(t, 2);
  EXPECT_EQ(Texts(g), Q({"p", "q", "q"}));
  EXPECT_EQ(Rows(g), (std::vector<int>{2, 3, 1}));
  const IndexHit hit = FindInColumnIndex(ws_, u"p", 1, 3, t, 2);
  EXPECT_EQ(hit.row, 2);
}

// The index is made when first read, but from the cells as they were when it was built.
TEST_F(BuildColumnIndexTest, ReadsAsBuiltWhateverTheGridDoesLater) {
  const int t =
      AddTable(QStringLiteral("T"), Q({"x", "y"}), {Q({"1", "q"}), Q({"2", "p"}), Q({"3", "q"})});
  BuildColumnIndex(ws_, t, 2);
  Grid& grid = ws_.TableGrid(t);
  grid.SetText(2, 2, QStringLiteral("a"));
  grid.AppendRow(Q({"4", "z", "b"}));
  grid.Squeeze();
  const Gyou& g = ws_.cell_store.Column(t, 2);
  EXPECT_EQ(g.Size(), 3);
  EXPECT_EQ(Texts(g), Q({"p", "q", "q"}));
  EXPECT_EQ(Rows(g), (std::vector<int>{2, 3, 1}));
  // Building again takes the grid as it is now.
  BuildColumnIndex(ws_, t, 2);
  EXPECT_EQ(Texts(ws_.cell_store.Column(t, 2)), Q({"a", "b", "q", "q"}));
}

}  // namespace
}  // namespace mivora::testing
