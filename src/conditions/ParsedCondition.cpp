#include "conditions/ParsedCondition.h"

#include "model/Grid.h"
#include "model/NumberText.h"

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
  top_ = ParseLevel(expression, joined);
}

int ParsedCondition::ParseLevel(const QString& text, const Grid& joined) {
  // The same scan as EvaluateCondition, recording what it would compute instead of computing it.
  Level level;
  const qsizetype length = text.size();
  Connective op = Connective::kNone;
  int depth = 0;
  qsizetype pending = 1;
  qsizetype open = 0;
  auto set_connective = [&](Connective found) {
    op = found;
    if (op != Connective::kNone)
      level.steps.push_back({StepKind::kSetConstant, 0, op == Connective::kAnd ? 1 : 0});
  };
  for (qsizetype i = 1; i <= length; ++i) {
    const QChar ch = text[i - 1];
    if (ch == u'(') {
      if (depth == 0) {
        if (i > 5 && op == Connective::kNone) {
          const QString before = text.mid(i - 6, 5);
          set_connective(ConnectiveIn(before));
          if (op == Connective::kNone) messages_.append(LeftParenthesisMessage(before));
        }
        if (op != Connective::kNone) {
          const int flat = ParseFlat(text.mid(pending - 1, i - pending), joined);
          level.steps.push_back(
              {op == Connective::kOr ? StepKind::kAddFlat : StepKind::kMulFlat, flat, 0});
        }
        open = i;
      }
      ++depth;
    } else if (ch == u')') {
      if (depth == 1) {
        if (op == Connective::kNone) {
          const QString after = text.mid(i - 1, 5);
          set_connective(ConnectiveIn(after));
          if (op == Connective::kNone && i < length)
            messages_.append(RightParenthesisMessage(after));
        }
        if (op != Connective::kNone) {
          const int inner = ParseLevel(text.mid(open, i - 1 - open), joined);
          level.steps.push_back(
              {op == Connective::kOr ? StepKind::kAddLevel : StepKind::kMulLevel, inner, 0});
        }
        pending = i + 1;
      }
      --depth;
    }
    if (i == length && pending < i) {
      const int flat = ParseFlat(text.mid(pending - 1), joined);
      const StepKind kind = op == Connective::kNone ? StepKind::kSetFlat
                            : op == Connective::kOr ? StepKind::kAddFlat
                                                    : StepKind::kMulFlat;
      level.steps.push_back({kind, flat, 0});
    }
  }
  levels_.push_back(std::move(level));
  return static_cast<int>(levels_.size()) - 1;
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
    for (int i = 1; i < joined.Cols(); ++i) {
      const QString header = joined.Text(0, i);
      if (!header.startsWith(u'*')) continue;
      const QString name = header.mid(1);
      if (!name.isEmpty() && before.contains(name)) equation.columns.push_back(i);
    }
  }
  equations_.push_back(std::move(equation));
  return static_cast<int>(equations_.size()) - 1;
}

TruthValue ParsedCondition::Evaluate(const Grid& joined, int row) const {
  return EvaluateLevel(joined, top_, row);
}

TruthValue ParsedCondition::EvaluateLevel(const Grid& joined, int level, int row) const {
  TruthValue value = 0;
  for (const Step& step : levels_[level].steps) {
    switch (step.kind) {
      case StepKind::kSetConstant:
        value = step.constant;
        break;
      case StepKind::kSetFlat:
        value = EvaluateFlat(joined, step.child, row);
        break;
      case StepKind::kAddFlat:
        value = TruthSum(value, EvaluateFlat(joined, step.child, row));
        break;
      case StepKind::kAddLevel:
        value = TruthSum(value, EvaluateLevel(joined, step.child, row));
        break;
      case StepKind::kMulFlat:
        if (value != 0) value = TruthProduct(value, EvaluateFlat(joined, step.child, row));
        break;
      case StepKind::kMulLevel:
        if (value != 0) value = TruthProduct(value, EvaluateLevel(joined, step.child, row));
        break;
    }
  }
  return value;
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
  const QByteArrayView value(equation.value);
  for (int column : equation.columns) {
    const QByteArrayView cell = joined.TextUtf8(row, column);
    bool holds = false;
    switch (equation.op) {
      case EquationOperator::kEqual:
        holds = TrimBlanks(cell) == value;
        break;
      case EquationOperator::kNotEqual:
        holds = cell != value;
        break;
      case EquationOperator::kBeginsWith:
        holds = value.isEmpty() || TrimBlanks(cell).startsWith(value);
        break;
      case EquationOperator::kEndsWith:
        holds = value.isEmpty() || TrimBlanks(cell).endsWith(value);
        break;
      case EquationOperator::kContains:
        holds = value.isEmpty() || TrimBlanks(cell).contains(value);
        break;
      case EquationOperator::kGreater:
        holds = LeadingNumber(cell) > equation.number;
        break;
      case EquationOperator::kGreaterEqual:
        holds = LeadingNumber(cell) >= equation.number;
        break;
      case EquationOperator::kLess:
        holds = LeadingNumber(cell) < equation.number;
        break;
      case EquationOperator::kLessEqual:
        holds = LeadingNumber(cell) <= equation.number;
        break;
      case EquationOperator::kNone:
        break;
    }
    if (holds) return true;
  }
  return false;
}

}  // namespace mivora
