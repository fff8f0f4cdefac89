// The joined grid of the search against a plain reference: every far index sorted with the
// quicksort and every joined row looked up by its own bisection, equal neighbours of the
// landing appended as copies. Workspaces are random, with many equal keys, keys agreeing in
// their first eight units, Japanese, empty and "--------" keys, header-only tables and forests
// of joins; near indexes are left deferred, settled or stale.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "conditions/ConditionCells.h"
#include "conditions/ConditionEvaluation.h"
#include "conditions/ParsedCondition.h"
#include "model/CellStore.h"
#include "search/ColumnIndex.h"
#include "search/ColumnTag.h"
#include "search/JoinedColumnKind.h"
#include "search/ReportColumns.h"
#include "search/Search.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

const char* const kKeys[] = {"",          "--------",  "a",         "ab",   "abcdefgh",
                             "abcdefgh1", "abcdefgh2", "abcdefghX", "東京", "東京都",
                             "ｱｲｳｴｵｶｷｸｹ", "ｱｲｳｴｵｶｷｸｺ", "b",         " a",   "A"};

struct JoinSpec {
  int from, from_col, to, to_col;  // table indexes
};

class SearchReferenceTest : public SearchFixture {
 protected:
  // A table with a key column, a second key column and a value column. With `distinct`, no
  // two rows share a first key (at most `alphabet` rows then).
  int AddRandomTable(std::mt19937& random, int index, int rows, int alphabet,
                     bool distinct = false) {
    std::vector<int> firsts(static_cast<std::size_t>(alphabet));
    std::iota(firsts.begin(), firsts.end(), 0);
    std::shuffle(firsts.begin(), firsts.end(), random);
    if (distinct) rows = std::min(rows, alphabet);
    std::vector<QStringList> data;
    for (int r = 0; r < rows; ++r) {
      const int first =
          distinct ? firsts[static_cast<std::size_t>(r)] : static_cast<int>(random() % alphabet);
      data.push_back({QString::fromUtf8(kKeys[first]),
                      QString::fromUtf8(kKeys[random() % alphabet]),
                      QStringLiteral("v%1.%2").arg(index).arg(r + 1)});
    }
    return AddTable(QStringLiteral("T%1").arg(index), Q({"k", "j", "v"}), data);
  }

  // The joined rows as one source row per table slot (0 no match, -1 not reached).
  std::vector<std::vector<int>> ReferenceRows(int root) {
    const int slots = ws_.tables.SlotCount();
    std::vector<std::vector<int>> rows;
    const Grid& g = ws_.TableGrid(root);
    for (int r = 1; r < g.Rows(); ++r) {
      rows.emplace_back(slots, -1);
      rows.back()[root] = r;
    }
    std::vector<bool> filled(slots, false);
    filled[root] = true;
    Walk(rows, filled, 0, root);
    return rows;
  }

  void Walk(std::vector<std::vector<int>>& rows, std::vector<bool>& filled, int from, int cur) {
    Join j;
    for (int n = 1; ReadJoin(ws_, n, j) != -1; ++n) {
      if (ReadJoin(ws_, n, j) != n) continue;
      const std::optional<Join::Sides> sides = j.SidesFrom(cur);
      if (!sides) continue;
      const int other = sides->other.table;
      if (other == from || filled[other]) continue;
      filled[other] = true;
      // The far index made and sorted afresh.
      Gyou far;
      const Grid& fg = ws_.TableGrid(other);
      for (int r = 1; r < fg.Rows(); ++r)
        far.Append(fg.TextUtf8(r, sides->other.column), static_cast<std::int32_t>(r));
      SortColumnIndex(far, 1, far.Size());
      const std::size_t last = rows.size();
      for (std::size_t r = 0; r < last; ++r) {
        const int k = rows[r][cur];
        rows[r][other] = 0;
        if (k <= 0) continue;
        const QString key = ws_.TableGrid(cur).Text(k, sides->this_column);
        const IndexHit hit = FindInColumnIndex(far, key, 1, far.Size());
        if (!hit.Found()) continue;
        rows[r][other] = hit.row;
        for (std::int64_t q = hit.position - 1; q >= 1 && far.TextAt(q) == key; --q) {
          rows.push_back(rows[r]);
          rows.back()[other] = far.RowAt(q);
        }
        for (std::int64_t q = hit.position + 1; q <= far.Size() && far.TextAt(q) == key; ++q) {
          rows.push_back(rows[r]);
          rows.back()[other] = far.RowAt(q);
        }
      }
      Walk(rows, filled, cur, other);
    }
  }

  // Joins a to b on their first data columns, shows column `value` of each, builds the joined
  // grid and compares every `step`-th joined row, and the last, with the reference.
  void ExpectJoinGivesTheReference(int a, int b, int value, std::size_t step = 1) {
    MakeJoin(a, 1, b, 1);
    ToggleReportColumn(ws_, a, value);
    ToggleReportColumn(ws_, b, value);
    BuildJoinedGrid(ws_);
    const Grid& g = ws_.result.JoinedGrid();
    const std::vector<QStringList> expected = ReferenceTexts(a, {{a, value}, {b, value}});
    ASSERT_EQ(g.Rows() - 2, static_cast<int>(expected.size()));
    for (std::size_t r = 0; r < expected.size(); r += step)
      ASSERT_EQ(RowTexts(g, static_cast<int>(r) + 2, 0).mid(0, 3), expected[r]) << r + 1;
    if (!expected.empty()) {
      ASSERT_EQ(RowTexts(g, g.Rows() - 1, 0).mid(0, 3), expected.back());
    }
  }

  // The joined grid the reference gives, for the columns of the grid the search made.
  std::vector<QStringList> ReferenceTexts(int root, const std::vector<ColumnRef>& columns) {
    std::vector<QStringList> out;
    const std::vector<std::vector<int>> rows = ReferenceRows(root);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      QStringList texts{QString::number(r + 1)};
      for (const ColumnRef& c : columns) {
        const int source = rows[r][c.table];
        texts.push_back(source > 0    ? ws_.TableGrid(c.table).Text(source, c.column)
                        : source == 0 ? NoMatchMark()
                                      : QString());
      }
      out.push_back(texts);
    }
    return out;
  }
};

class RandomWorkspaces : public SearchReferenceTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomWorkspaces, GiveTheReferenceRows) {
  // Shapes over four tables: a chain, a star, joins drawn towards the root, a forest whose
  // second join starts at another table, and joins on the second key column.
  const std::vector<std::vector<JoinSpec>> shapes = {
      {{0, 1, 1, 1}, {1, 1, 2, 1}},
      {{0, 1, 1, 1}, {0, 2, 2, 1}, {0, 1, 3, 2}},
      {{1, 1, 0, 1}, {2, 2, 0, 2}},
      {{0, 1, 1, 1}, {1, 2, 2, 1}, {0, 2, 3, 1}},
      {{0, 2, 1, 2}, {2, 1, 1, 1}, {3, 2, 2, 2}},
  };
  std::mt19937 random(20260515 + GetParam());
  {
    const int alphabet = 2 + static_cast<int>(random() % (std::size(kKeys) - 1));
    std::vector<int> slots;
    for (int t = 0; t < 4; ++t) {
      const int rows = random() % 7 == 0 ? 0 : static_cast<int>(random() % 14);
      slots.push_back(AddRandomTable(random, t, rows, std::min<int>(alphabet, std::size(kKeys)),
                                     random() % 3 == 0));
    }
    const std::vector<JoinSpec>& shape = shapes[random() % shapes.size()];
    for (const JoinSpec& j : shape) MakeJoin(slots[j.from], j.from_col, slots[j.to], j.to_col);
    for (int t = 0; t < 4; ++t) ToggleReportColumn(ws_, slots[t], 3);
    // Condition columns on every table's keys and values.
    for (int t = 0; t < 4; ++t) {
      AddConditionCell(ws_, slots[t], 1, 1, 1);
      AddConditionCell(ws_, slots[t], 1, 3, 1);
    }
    // Near indexes: some settled (as a sort of their table would leave them), some stale.
    for (const JoinSpec& j : shape) {
      if (random() % 3 == 0) ws_.cell_store.Column(slots[j.from], j.from_col).Settle();
      if (random() % 3 == 0) ws_.cell_store.Column(slots[j.to], j.to_col).Settle();
    }

    std::vector<ColumnRef> columns;
    for (int t = 0; t < 4; ++t) columns.push_back({slots[t], 3});
    // The root: the departure of the last join whose departure column was new.
    int root = 0;
    std::vector<std::pair<int, int>> seen;
    for (const JoinSpec& j : shape) {
      const std::pair<int, int> dep{slots[j.from], j.from_col};
      if (std::find(seen.begin(), seen.end(), dep) == seen.end()) {
        seen.push_back(dep);
        root = slots[j.from];
      }
      const std::pair<int, int> dest{slots[j.to], j.to_col};
      if (std::find(seen.begin(), seen.end(), dest) == seen.end()) seen.push_back(dest);
    }
    // A row added to the root after the join leaves its near index stale.
    if (random() % 4 == 0) ws_.TableGrid(root).AppendRow(Q({"99", "a", "東京", "late"}));
    BuildJoinedGrid(ws_);
    const Grid& g = ws_.result.JoinedGrid();
    const std::vector<QStringList> expected = ReferenceTexts(root, columns);
    ASSERT_EQ(g.Rows() - 2, static_cast<int>(expected.size()));
    for (std::size_t r = 0; r < expected.size(); ++r) {
      ASSERT_EQ(RowTexts(g, static_cast<int>(r) + 2, 0).mid(0, 5), expected[r])
          << "joined row " << r + 1;
    }
    // Conditions read the same through the joined grid's shared columns (once per source row
    // where the source is smaller) as the direct reading of every joined row.
    QStringList names;
    for (int c = 1; c < g.Cols(); ++c)
      if (JoinedColumnKind(g, c) == kConditionColumnPrefix) names.push_back(g.Text(0, c).mid(1));
    const QStringList ops = {u" = "_s, u" <> "_s, u" > "_s, u" =% "_s, u" %=% "_s};
    for (int k = 0; k < 6 && !names.isEmpty(); ++k) {
      QString text;
      for (int e = 0; e < 3; ++e) {
        if (e > 0) text += random() % 2 ? u" And "_s : u" Or "_s;
        const int key = static_cast<int>(random() % std::size(kKeys));
        text += names[static_cast<int>(random() % names.size())] + ops[random() % ops.size()] +
                (random() % 2 ? QString::fromUtf8(kKeys[key]) : u"v1.%1"_s.arg(key));
      }
      const ParsedCondition parsed(text, g);
      std::vector<TruthValue> block(static_cast<std::size_t>(g.Rows() - 2));
      parsed.EvaluateRows(g, 2, g.Rows() - 2, block.data());
      for (int row = 2; row < g.Rows(); ++row) {
        const TruthValue direct = EvaluateCondition(g, text, row);
        ASSERT_EQ(parsed.Evaluate(g, row), direct) << text.toStdString();
        ASSERT_EQ(block[static_cast<std::size_t>(row - 2)], direct) << text.toStdString();
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWorkspaces, ::testing::Range(0, 150));

// A root big enough that its keys are looked up in two halves at once.
TEST_F(SearchReferenceTest, BigRootGivesTheReferenceRows) {
  std::mt19937 random(7);
  const int a = AddRandomTable(random, 0, 140000, 6);
  const int b = AddRandomTable(random, 1, 4, 6);
  ExpectJoinGivesTheReference(a, b, 3, 997);
}

// A far table with so many distinct keys that its runs' landings are worked out in two halves.
TEST_F(SearchReferenceTest, ManyFarRunsGiveTheReferenceRows) {
  std::mt19937 random(11);
  std::vector<QStringList> far, root;
  for (int r = 0; r < 150000; ++r)
    far.push_back({u"k%1"_s.arg((r * 7919) % 140000), u"x"_s, u"f%1"_s.arg(r + 1)});
  for (int r = 0; r < 3000; ++r)
    root.push_back({u"k%1"_s.arg(random() % 150000), u"x"_s, u"r%1"_s.arg(r + 1)});
  const int a = AddTable(u"A"_s, Q({"k", "j", "v"}), root);
  const int b = AddTable(u"B"_s, Q({"k", "j", "v"}), far);
  ExpectJoinGivesTheReference(a, b, 3);
}

// A far table of so many distinct keys that they are hashed as two regions at once, on two
// threads: as they are, and with a last key that repeats a first one or is ill-formed (the
// sorted index then gives the rows).
class ManyDistinctFarKeys : public SearchReferenceTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(ManyDistinctFarKeys, GiveTheReferenceRows) {
  std::mt19937 random(13);
  std::vector<QStringList> far, root;
  for (int r = 0; r < 140000; ++r)
    far.push_back({u"key%1"_s.arg((r * 7919) % 140000), u"x"_s, u"f%1"_s.arg(r + 1)});
  far.push_back({QString::fromUtf8(GetParam()), u"x"_s, u"last"_s});
  for (int r = 0; r < 3000; ++r)
    root.push_back({u"key%1"_s.arg(random() % 150000), u"x"_s, u"r%1"_s.arg(r + 1)});
  root.push_back({u"key0"_s, u"x"_s, u"r0"_s});
  const int a = AddTable(u"A"_s, Q({"k", "j", "v"}), root);
  const int b = AddTable(u"B"_s, Q({"k", "j", "v"}), far);
  if (QByteArrayView(GetParam()) == "\xff") ws_.TableGrid(b).SetTextUtf8(140001, 1, "\xff");
  ExpectJoinGivesTheReference(a, b, 3);
}

INSTANTIATE_TEST_SUITE_P(LastKeys, ManyDistinctFarKeys,
                         ::testing::Values("distinct", "key0", "\xff"));

// Ill-formed UTF-8 keys read as U+FFFD in the index: far keys "\xfe" and "\xff" are then
// one key, and a near key of either (or the well-formed U+FFFD) finds both. Far keys that
// are well-formed and distinct are hashed instead of sorted; near keys still read as U+FFFD.
class IllFormedKeys : public SearchReferenceTest, public ::testing::WithParamInterface<bool> {};

TEST_P(IllFormedKeys, JoinAsTheIndexReadsThem) {
  const bool far_distinct = GetParam();
  const int a =
      AddTable(u"A"_s, Q({"k", "v"}),
               {{u"x"_s, u"a1"_s}, {u"y"_s, u"a2"_s}, {u"z"_s, u"a3"_s}, {u"w"_s, u"a4"_s}});
  const int b = AddTable(u"B"_s, Q({"k", "v"}), {{u"x"_s, u"b1"_s}, {u"y"_s, u"b2"_s}});
  Grid& near = ws_.TableGrid(a);
  near.SetTextUtf8(1, 1, "\xff");
  near.SetTextUtf8(2, 1, "\xef\xbf\xbd");
  near.SetTextUtf8(3, 1, "a\xc3");
  Grid& far = ws_.TableGrid(b);
  far.SetTextUtf8(1, 1, far_distinct ? "\xef\xbf\xbd" : "\xfe");
  if (!far_distinct) far.SetTextUtf8(2, 1, "\xff");
  ExpectJoinGivesTheReference(a, b, 2);
  EXPECT_EQ(ws_.result.JoinedGrid().Rows() - 2, far_distinct ? 4 : 6);
}

INSTANTIATE_TEST_SUITE_P(FarKeys, IllFormedKeys, ::testing::Bool());

}  // namespace
}  // namespace mivora::testing

namespace mivora::testing {
namespace {

// Keys around 2^24 code units join only equal keys (ASCII and Japanese).
class LongKeys : public SearchFixture,
                 public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(LongKeys, JoinOnlyEqualKeys) {
  const QString unit = QString::fromUtf8(GetParam().first);
  const QString key = unit.repeated((std::int64_t{1} << 24) + GetParam().second);
  const QString prefix = unit.repeated(5);
  const int a = AddKeys(QStringLiteral("A"), {key, prefix, prefix + unit});
  const int b = AddTable(QStringLiteral("B"), Q({"k", "v"}),
                         {{prefix, QStringLiteral("b-prefix")}, {key, QStringLiteral("b-key")}});
  MakeJoin(a, 1, b, 1);
  ToggleReportColumn(ws_, b, 2);
  BuildJoinedGrid(ws_);
  const Grid& g = ws_.result.JoinedGrid();
  ASSERT_EQ(g.Rows(), 5);
  EXPECT_EQ(g.Text(2, 1), QStringLiteral("b-key"));
  EXPECT_EQ(g.Text(3, 1), QStringLiteral("b-prefix"));
  EXPECT_EQ(g.Text(4, 1), NoMatchMark());
  // The far index itself holds the whole key.
  const Gyou& index = ws_.cell_store.Column(b, 1);
  EXPECT_EQ(index.TextAt(2).size(), key.size());
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongKeys,
                         ::testing::Values(std::pair{"x", 5}, std::pair{"東", 0}));

}  // namespace
}  // namespace mivora::testing
