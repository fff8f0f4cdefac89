#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "conditions/ConditionEvaluation.h"
#include "model/Grid.h"

namespace mivora {

// A condition expression read once against the joined grid's headers, so that a search does
// not scan the text again for every row. For every row it yields exactly what reading the
// text directly yields (EvaluateCondition), and it holds the parenthesis messages that reading
// would show. On a column of the joined grid that shows a smaller source table's cells
// through row references, an equation is read once per source row, in the source's order.
class ParsedCondition {
 public:
  ParsedCondition(const QString& expression, const Grid& joined);

  TruthValue Evaluate(const Grid& joined, int row) const;
  // out[i] = Evaluate(joined, first + i) for count rows, read kBlockRows at a time: each level
  // for the whole block at once, and an inner level or equation only for the rows whose value
  // still depends on it, as Evaluate skips it.
  void EvaluateRows(const Grid& joined, int first, int count, TruthValue* out) const;
  // The parenthesis messages, one per occurrence, in the order the reading meets them.
  const QStringList& Messages() const { return messages_; }

 private:
  struct Equation {
    EquationOperator op = EquationOperator::kNone;  // none: holds for no row
    QByteArray value;                               // UTF-8, blanks around it removed
    double number = 0;                              // the value read as a number
    std::vector<int> columns;                       // condition columns named before the operator
    QString direct;  // the equation's text when its value has no UTF-8 form, else empty
  };
  enum class FlatKind { kSingle, kAnd, kOr };
  struct Flat {
    FlatKind kind = FlatKind::kSingle;
    std::vector<int> equations;  // kSingle with none: no equation (-1)
  };
  enum class StepKind { kSetConstant, kSetFlat, kAddFlat, kMulFlat, kAddLevel, kMulLevel };
  struct Step {
    StepKind kind;
    int child = 0;  // index into flats_ or levels_
    TruthValue constant = 0;
  };
  struct Level {
    std::vector<Step> steps;
  };

  // Reads every level of the expression; gives the index of the outermost.
  int ParseLevels(const QString& text, const Grid& joined);
  int ParseFlat(const QString& text, const Grid& joined);
  // -1 for a piece that is no equation.
  int ParseEquation(const QString& text, const Grid& joined);

  TruthValue EvaluateFlat(const Grid& joined, int flat, int row) const;
  bool EquationHolds(const Grid& joined, const Equation& equation, int row) const;

  static constexpr int kBlockRows = 1024;
  // Room for one level of a block: values of an inner level or flat, and a selection of rows
  // with their places in the level's block.
  struct BlockRoom {
    std::vector<TruthValue> values;
    std::vector<int> rows;
    std::vector<int> places;
  };
  struct Block {
    const Grid& joined;
    std::vector<BlockRoom> rooms;  // by nesting depth
  };
  // values[i] for rows[i], i < n; `depth` picks the block's room the level may use.
  void LevelRows(Block& block, int level, const int* rows, int n, TruthValue* values,
                 std::size_t depth) const;
  void FlatRows(Block& block, int flat, const int* rows, int n, TruthValue* values,
                std::size_t depth) const;
  // holds[i] is set for the rows[i] where the equation holds (and left alone elsewhere).
  void EquationRows(const Grid& joined, const Equation& equation, const int* rows, int n,
                    TruthValue* holds) const;
  // Gathers into the room the rows whose value is not 0.
  static int NonZeroRows(const int* rows, const TruthValue* values, int n, BlockRoom& room);
  static bool CellHolds(const Equation& equation, QByteArrayView cell);

  // What an equation gives on one column, one bit per source row + 1 (bit 0: an empty cell).
  struct Memo {
    Grid::SharedRows rows;
    std::vector<std::uint64_t> holds;  // empty: read the joined row's cell instead
  };
  const Grid* memo_grid_ = nullptr;
  std::vector<std::vector<Memo>> memos_;  // [equation][column of the equation]

  std::vector<Equation> equations_;
  std::vector<Flat> flats_;
  std::vector<Level> levels_;
  int top_ = -1;
  int depth_ = 1;  // levels nested in each other at most
  QStringList messages_;
};

}  // namespace mivora
