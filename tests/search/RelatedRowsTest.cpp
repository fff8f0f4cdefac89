#include <set>
#include <tuple>

#include "search/RelatedRows.h"
#include "search/SearchFixture.h"

namespace mivora::testing {
namespace {

constexpr Colour kClicked = Rgb(255, 128, 128);
constexpr Colour kReached = Rgb(255, 128, 255);

using Cell = std::tuple<int, int, int>;  // table index, row, column

struct TraceCase {
  const char* name;
  Cell start;
  std::set<Cell> reached;  // coloured kReached; the start keeps kClicked unless listed
};

// A(k) -- B(k, j) -- C(j): A.k = B.k, B.j = C.j.
class TraceCases : public SearchFixture, public ::testing::WithParamInterface<TraceCase> {
 protected:
  void SetUp() override {
    t_ = {AddTable(QStringLiteral("A"), Q({"k"}), {Q({"x"}), Q({"y"})}),
          AddTable(QStringLiteral("B"), Q({"k", "j"}),
                   {Q({"x", "p"}), Q({"x", "q"}), Q({"y", "p"}), Q({"w", "r"})}),
          AddTable(QStringLiteral("C"), Q({"j", "v"}),
                   {Q({"p", "1"}), Q({"q", "2"}), Q({"r", "3"})})};
    MakeJoin(t_[0], 1, t_[1], 1);
    MakeJoin(t_[1], 2, t_[2], 1);
  }
  std::set<std::pair<Cell, Colour>> Coloured() const {
    std::set<std::pair<Cell, Colour>> out;
    for (int i = 0; i < 3; ++i) {
      const Grid& g = ws_.TableGrid(t_[i]);
      for (int r = 0; r < g.Rows(); ++r) {
        for (int c = 0; c < g.Cols(); ++c) {
          if (g.CellBackColour(r, c) != kDefaultCellColour) {
            out.insert({{i, r, c}, g.CellBackColour(r, c)});
          }
        }
      }
    }
    return out;
  }
  std::vector<int> t_;
};

TEST_P(TraceCases, ColoursTheChainAndClearsItAgain) {
  const auto [ti, row, col] = GetParam().start;
  TraceRelatedRows(ws_, t_[ti], row, col);
  std::set<std::pair<Cell, Colour>> expected;
  for (const Cell& c : GetParam().reached) expected.insert({c, kReached});
  if (!GetParam().reached.count(GetParam().start)) expected.insert({GetParam().start, kClicked});
  EXPECT_EQ(Coloured(), expected);
  TraceRelatedRows(ws_, t_[ti], row, col);
  EXPECT_TRUE(Coloured().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Trace, TraceCases,
    ::testing::Values(
        // The start's own join column turns to the reached colour.
        TraceCase{"FromTheRootThroughThreeTables",
                  {0, 1, 1},
                  {{0, 1, 1}, {1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {1, 2, 2}, {2, 1, 1}, {2, 2, 1}}},
        TraceCase{"FromTheMiddleBothWays", {1, 3, 1}, {{0, 2, 1}, {1, 3, 1}, {1, 3, 2}, {2, 1, 1}}},
        TraceCase{"FromTheEndAndBack",
                  {2, 1, 1},
                  {{2, 1, 1}, {1, 1, 2}, {1, 1, 1}, {1, 3, 2}, {1, 3, 1}, {0, 1, 1}, {0, 2, 1}}},
        TraceCase{
            "NonJoinColumnKeepsTheClickColour", {2, 3, 2}, {{2, 3, 1}, {1, 4, 2}, {1, 4, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mivora::testing
