#include "conditions/ParsedCondition.h"

#include <algorithm>

#include "model/Grid.h"
#include "model/NumberText.h"
#include "search/JoinedColumnKind.h"

namespace mivora {

namespace {

enum class Connective { kNone, kAnd, kOr };

Connective ConnectiveIn(const QString& text) {
  if (text.contains(QStringLiteral("And"))) return Connective::kAnd;
  if (text.contains(QStringLiteral("Or"))) return Connective::kOr;
  return Connective::kNone;
}

QByteArrayView TrimBlanks(QByteArrayView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return text.sliced(begin, end - begin);
}

}  // namespace

ParsedCondition::ParsedCondition(const QString& expression, const Grid& joined) {
  top_ = ParseLevels(expression, joined);
  memo_grid_ = &joined;
  memos_.resize(equations_.size());
  for (std::size_t e = 0; e < equations_.size(); ++e) {
    if (!equations_[e].direct.isEmpty()) continue;
    for (int column : equations_[e].columns) {
      Memo memo;
      // Worth it when the source has fewer rows than the joined grid shows from it.
      const auto rows = joined.SharedRowsOf(column);
      if (rows && rows->source_rows <= static_cast<std::int64_t>(rows->refs->size())) {
        memo.rows = *rows;
        memo.holds.assign(static_cast<std::size_t>(rows->source_rows) / 64 + 1, 0);
        for (std::int32_t r = -1; r < rows->source_rows; ++r) {
          if (CellHolds(equations_[e], joined.SharedSourceText(column, r))) {
            const auto bit = static_cast<std::size_t>(r + 1);
            memo.holds[bit / 64] |= std::uint64_t{1} << (bit % 64);
          }
        }
      }
      memos_[e].push_back(std::move(memo));
    }
  }
}

int ParsedCondition::ParseLevels(const QString& text, const Grid& joined) {
  // The same reading as EvaluateCondition (a stack of levels of our own, each skipping its
  // inner levels by the matching parenthesis), recording what it would compute instead of
  // computing it. Inner levels are finished, and stored, before the levels around them.
  struct Open {
    qsizetype begin, end, at, pending, open;
    int depth;
    Connective op;
    Level level;
  };
  const std::vector<qsizetype> match = MatchingParentheses(text);
  std::vector<Open> stack;
  stack.push_back({0, text.size(), 0, 0, -1, 0, Connective::kNone, {}});
  auto set_connective = [](Open& l, Connective found) {
    l.op = found;
    if (found != Connective::kNone)
      l.level.steps.push_back({StepKind::kSetConstant, 0, found == Connective::kAnd ? 1 : 0});
  };
  auto flat = [&](qsizetype from, qsizetype to) {
    return ParseFlat(text.mid(from, to - from), joined);
  };
  auto last_piece = [&](Open& l) {
    if (l.pending >= l.end - 1) return;
    const int piece = flat(l.pending, l.end);
    const StepKind kind = l.op == Connective::kNone ? StepKind::kSetFlat
                          : l.op == Connective::kOr ? StepKind::kAddFlat
                                                    : StepKind::kMulFlat;
    l.level.steps.push_back({kind, piece, 0});
  };
  while (true) {
    Open& l = stack.back();
    if (l.at >= l.end) {
      levels_.push_back(std::move(l.level));
      const int inner = static_cast<int>(levels_.size()) - 1;
      stack.pop_back();
      depth_ = std::max(depth_, static_cast<int>(stack.size()) + 1);
      if (stack.empty()) return inner;
      Open& parent = stack.back();
      parent.level.steps.push_back(
          {parent.op == Connective::kOr ? StepKind::kAddLevel : StepKind::kMulLevel, inner, 0});
      parent.pending = parent.at + 1;
      parent.depth = 0;
      ++parent.at;
      continue;
    }
    const qsizetype i = l.at;
    const QChar ch = text[i];
    if (ch == u'(') {
      if (l.depth == 0) {
        if (i - l.begin >= 5 && l.op == Connective::kNone) {
          const QString before = text.mid(i - 5, 5);
          set_connective(l, ConnectiveIn(before));
          if (l.op == Connective::kNone) messages_.append(LeftParenthesisMessage(before));
        }
        if (l.op != Connective::kNone) {
          const int piece = flat(l.pending, i);
          l.level.steps.push_back(
              {l.op == Connective::kOr ? StepKind::kAddFlat : StepKind::kMulFlat, piece, 0});
        }
        l.open = i;
        l.depth = 1;
        const qsizetype close = match[static_cast<std::size_t>(i)];
        if (close < 0) {
          last_piece(l);
          l.at = l.end;
        } else {
          l.at = close;
        }
        continue;
      }
      ++l.depth;
    } else if (ch == u')') {
      if (l.depth == 1) {
        if (l.op == Connective::kNone) {
          const QString after = text.mid(i, std::min<qsizetype>(5, l.end - i));
          set_connective(l, ConnectiveIn(after));
          if (l.op == Connective::kNone && i < l.end - 1)
            messages_.append(RightParenthesisMessage(after));
        }
        if (l.op != Connective::kNone) {
          const qsizetype inner = l.open + 1;
          stack.push_back({inner, i, inner, inner, -1, 0, Connective::kNone, {}});
          continue;
        }
        l.pending = i + 1;
      }
      --l.depth;
    }
    if (i == l.end - 1) last_piece(l);
    ++l.at;
  }
}

int ParsedCondition::ParseFlat(const QString& text, const Grid& joined) {
  static const QString kOr = QStringLiteral(" Or ");
  static const QString kAnd = QStringLiteral(" And ");
  Flat flat;
  if (text.contains(kOr) || text.contains(kAnd)) {
    flat.kind = text.contains(kOr) ? FlatKind::kOr : FlatKind::kAnd;
    for (const QString& piece : text.split(flat.kind == FlatKind::kOr ? kOr : kAnd)) {
      const int equation = ParseEquation(piece, joined);
      if (equation >= 0) flat.equations.push_back(equation);  // no equation: skipped
    }
  } else {
    const int equation = ParseEquation(text, joined);
    if (equation >= 0) flat.equations.push_back(equation);
  }
  flats_.push_back(std::move(flat));
  return static_cast<int>(flats_.size()) - 1;
}

int ParsedCondition::ParseEquation(const QString& text, const Grid& joined) {
  const QString q = mivora::TrimBlanks(text);
  if (q.size() < 3) return -1;
  Equation equation;
  const FoundOperator found = FindEquationOperator(q);
  equation.op = found.op;
  if (found.op != EquationOperator::kNone) {
    const QString before = q.left(found.position);
    const QString value = mivora::TrimBlanks(q.mid(found.position + found.length));
    equation.value = value.toUtf8();
    equation.number = LeadingNumber(value);
    // A lone surrogate has no UTF-8 form (toUtf8 makes it "?"): such a value is compared in
    // code units against each cell's text, exactly as the direct reading compares it.
    if (QString::fromUtf8(equation.value) != value) equation.direct = q;
    for (int i = 1; i < joined.Cols(); ++i) {
      const QString header = joined.Text(0, i);
      if (JoinedColumnKind(joined, i) != kConditionColumnPrefix) continue;
      const QString name = header.mid(1);
      if (!name.isEmpty() && before.contains(name)) equation.columns.push_back(i);
    }
  }
  equations_.push_back(std::move(equation));
  return static_cast<int>(equations_.size()) - 1;
}

TruthValue ParsedCondition::Evaluate(const Grid& joined, int row) const {
  // Levels are evaluated with a stack of our own (on the call stack while it is shallow), so
  // a deeply nested expression cannot overflow the call stack. A level waiting for an inner
  // one keeps the step it is at and its value so far.
  struct Waiting {
    int level;
    std::size_t step;
    TruthValue value;
  };
  constexpr std::size_t kShallow = 16;
  Waiting shallow[kShallow];
  std::vector<Waiting> deep;
  if (static_cast<std::size_t>(depth_) > kShallow) deep.resize(static_cast<std::size_t>(depth_));
  Waiting* stack = deep.empty() ? shallow : deep.data();
  std::size_t size = 0;
  stack[size++] = {top_, 0, 0};
  bool returned = false;
  TruthValue inner = 0;
  while (true) {
    Waiting& w = stack[size - 1];
    const std::vector<Step>& steps = levels_[w.level].steps;
    if (returned) {
      w.value = steps[w.step].kind == StepKind::kAddLevel ? TruthSum(w.value, inner)
                                                          : TruthProduct(w.value, inner);
      ++w.step;
      returned = false;
    }
    bool descend = false;
    for (; w.step < steps.size() && !descend; ++w.step) {
      const Step& step = steps[w.step];
      switch (step.kind) {
        case StepKind::kSetConstant:
          w.value = step.constant;
          break;
        case StepKind::kSetFlat:
          w.value = EvaluateFlat(joined, step.child, row);
          break;
        case StepKind::kAddFlat:
          w.value = TruthSum(w.value, EvaluateFlat(joined, step.child, row));
          break;
        case StepKind::kMulFlat:
          if (w.value != 0) w.value = TruthProduct(w.value, EvaluateFlat(joined, step.child, row));
          break;
        case StepKind::kAddLevel:
        case StepKind::kMulLevel:
          // A product already 0 stays 0: its inner level need not be read.
          descend = step.kind == StepKind::kAddLevel || w.value != 0;
          break;
      }
      if (descend) break;
    }
    if (descend) {
      stack[size++] = {steps[w.step].child, 0, 0};
      continue;
    }
    inner = w.value;
    if (--size == 0) return inner;
    returned = true;
  }
}

TruthValue ParsedCondition::EvaluateFlat(const Grid& joined, int flat, int row) const {
  const Flat& f = flats_[flat];
  switch (f.kind) {
    case FlatKind::kSingle:
      if (f.equations.empty()) return -1;
      return EquationHolds(joined, equations_[f.equations[0]], row) ? 1 : 0;
    case FlatKind::kAnd:
      for (int e : f.equations)
        if (!EquationHolds(joined, equations_[e], row)) return 0;
      return 1;
    case FlatKind::kOr: {
      TruthValue total = 0;
      for (int e : f.equations)
        if (EquationHolds(joined, equations_[e], row)) ++total;
      return total;
    }
  }
  return 0;
}

bool ParsedCondition::EquationHolds(const Grid& joined, const Equation& equation, int row) const {
  TruthValue holds = 0;
  EquationRows(joined, equation, &row, 1, &holds);
  return holds != 0;
}

void ParsedCondition::EquationRows(const Grid& joined, const Equation& equation, const int* rows,
                                   int n, TruthValue* holds) const {
  if (!equation.direct.isEmpty()) {
    for (int i = 0; i < n; ++i)
      if (EvaluateEquation(joined, equation.direct, rows[i]) == 1) holds[i] = 1;
    return;
  }
  const std::vector<Memo>* memos =
      &joined == memo_grid_ ? &memos_[static_cast<std::size_t>(&equation - equations_.data())]
                            : nullptr;
  for (std::size_t k = 0; k < equation.columns.size(); ++k) {
    const Memo* memo = memos && !(*memos)[k].holds.empty() ? &(*memos)[k] : nullptr;
    const std::int64_t refs = memo ? static_cast<std::int64_t>(memo->rows.refs->size()) : 0;
    for (int i = 0; i < n; ++i) {
      if (holds[i] != 0) continue;
      const std::int64_t at = memo ? std::int64_t{rows[i]} - memo->rows.first_row : -1;
      if (at < 0 || at >= refs) {
        if (CellHolds(equation, joined.TextUtf8(rows[i], equation.columns[k]))) holds[i] = 1;
        continue;
      }
      // Source row r (0 the no-match text) is bit r + 1; other references show an empty cell.
      const std::int32_t r = (*memo->rows.refs)[static_cast<std::size_t>(at)];
      const std::size_t bit =
          r >= 0 && r < memo->rows.source_rows ? static_cast<std::size_t>(r) + 1 : 0;
      if ((memo->holds[bit / 64] >> (bit % 64)) & 1) holds[i] = 1;
    }
  }
}

void ParsedCondition::EvaluateRows(const Grid& joined, int first, int count,
                                   TruthValue* out) const {
  // A level is read with the call stack here, so a deeply nested expression is read row by
  // row instead, with Evaluate's stack of its own.
  constexpr int kMaxBlockDepth = 64;
  if (depth_ > kMaxBlockDepth) {
    for (int i = 0; i < count; ++i) out[i] = Evaluate(joined, first + i);
    return;
  }
  Block block{joined, std::vector<BlockRoom>(static_cast<std::size_t>(depth_) + 2)};
  for (BlockRoom& room : block.rooms) {
    room.values.resize(kBlockRows);
    room.rows.resize(kBlockRows);
    room.places.resize(kBlockRows);
  }
  int rows[kBlockRows];
  for (int done = 0; done < count; done += kBlockRows) {
    const int n = std::min(kBlockRows, count - done);
    for (int i = 0; i < n; ++i) rows[i] = first + done + i;
    LevelRows(block, top_, rows, n, out + done, 0);
  }
}

int ParsedCondition::NonZeroRows(const int* rows, const TruthValue* values, int n,
                                 BlockRoom& room) {
  // Written for every row and kept by moving on, so that no branch depends on the values.
  int m = 0;
  for (int i = 0; i < n; ++i) {
    room.rows[static_cast<std::size_t>(m)] = rows[i];
    room.places[static_cast<std::size_t>(m)] = i;
    m += values[i] != 0 ? 1 : 0;
  }
  return m;
}

void ParsedCondition::LevelRows(Block& block, int level, const int* rows, int n, TruthValue* values,
                                std::size_t depth) const {
  // The room at this depth holds an inner level's or flat's values and the rows it is read
  // for; an inner level uses the next room, a flat the one after this level's.
  BlockRoom& room = block.rooms[depth];
  TruthValue* inner = room.values.data();
  std::fill(values, values + n, 0);
  for (const Step& step : levels_[level].steps) {
    switch (step.kind) {
      case StepKind::kSetConstant:
        std::fill(values, values + n, step.constant);
        break;
      case StepKind::kSetFlat:
        FlatRows(block, step.child, rows, n, values, depth + 1);
        break;
      case StepKind::kAddFlat:
      case StepKind::kAddLevel:
        if (step.kind == StepKind::kAddFlat)
          FlatRows(block, step.child, rows, n, inner, depth + 1);
        else
          LevelRows(block, step.child, rows, n, inner, depth + 1);
        for (int i = 0; i < n; ++i) values[i] = TruthSum(values[i], inner[i]);
        break;
      case StepKind::kMulFlat:
      case StepKind::kMulLevel: {
        // A product already 0 stays 0: the inner part is read only for the other rows.
        const int m = NonZeroRows(rows, values, n, room);
        if (step.kind == StepKind::kMulFlat)
          FlatRows(block, step.child, room.rows.data(), m, inner, depth + 1);
        else
          LevelRows(block, step.child, room.rows.data(), m, inner, depth + 1);
        for (int j = 0; j < m; ++j) {
          TruthValue& v = values[room.places[static_cast<std::size_t>(j)]];
          v = TruthProduct(v, inner[j]);
        }
        break;
      }
    }
  }
}

void ParsedCondition::FlatRows(Block& block, int flat, const int* rows, int n, TruthValue* values,
                               std::size_t depth) const {
  const Flat& f = flats_[flat];
  BlockRoom& room = block.rooms[depth];
  TruthValue* holds = room.values.data();
  switch (f.kind) {
    case FlatKind::kSingle:
      std::fill(values, values + n, f.equations.empty() ? -1 : 0);
      if (!f.equations.empty())
        EquationRows(block.joined, equations_[f.equations[0]], rows, n, values);
      return;
    case FlatKind::kAnd:
      // Each equation is read only for the rows every earlier one holds on.
      std::fill(values, values + n, 1);
      for (int e : f.equations) {
        const int m = NonZeroRows(rows, values, n, room);
        std::fill(holds, holds + m, 0);
        EquationRows(block.joined, equations_[e], room.rows.data(), m, holds);
        for (int j = 0; j < m; ++j)
          if (holds[j] == 0) values[room.places[static_cast<std::size_t>(j)]] = 0;
      }
      return;
    case FlatKind::kOr:
      std::fill(values, values + n, 0);
      for (int e : f.equations) {
        std::fill(holds, holds + n, 0);
        EquationRows(block.joined, equations_[e], rows, n, holds);
        for (int i = 0; i < n; ++i) values[i] += holds[i];
      }
      return;
  }
}

bool ParsedCondition::CellHolds(const Equation& equation, QByteArrayView cell) {
  const QByteArrayView value(equation.value);
  switch (equation.op) {
    case EquationOperator::kEqual:
      return TrimBlanks(cell) == value;
    case EquationOperator::kNotEqual:
      return cell != value;
    case EquationOperator::kBeginsWith:
      return value.isEmpty() || TrimBlanks(cell).startsWith(value);
    case EquationOperator::kEndsWith:
      return value.isEmpty() || TrimBlanks(cell).endsWith(value);
    case EquationOperator::kContains:
      return value.isEmpty() || TrimBlanks(cell).contains(value);
    case EquationOperator::kGreater:
      return LeadingNumber(cell) > equation.number;
    case EquationOperator::kGreaterEqual:
      return LeadingNumber(cell) >= equation.number;
    case EquationOperator::kLess:
      return LeadingNumber(cell) < equation.number;
    case EquationOperator::kLessEqual:
      return LeadingNumber(cell) <= equation.number;
    case EquationOperator::kNone:
      break;
  }
  return false;
}

}  // namespace mivora
