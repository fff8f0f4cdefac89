#include "conditions/ConditionEvaluation.h"

#include <limits>

#include "model/Grid.h"
#include "model/NumberText.h"

namespace mivora {

namespace {

enum class Connective { kNone, kAnd, kOr };

// The connective a text next to a parenthesis names; And wins when both occur.
Connective ConnectiveIn(const QString& text) {
  if (text.contains(QStringLiteral("And"))) return Connective::kAnd;
  if (text.contains(QStringLiteral("Or"))) return Connective::kOr;
  return Connective::kNone;
}

void Combine(Connective op, TruthValue& value, TruthValue part) {
  if (op == Connective::kOr) value = TruthSum(value, part);
  if (op == Connective::kAnd) value = TruthProduct(value, part);
}

bool Holds(EquationOperator op, const QString& cell, const QString& value) {
  const QString trimmed = TrimBlanks(cell);
  switch (op) {
    case EquationOperator::kEqual:
      return trimmed == value;
    case EquationOperator::kNotEqual:
      return value != cell;
    case EquationOperator::kBeginsWith:
      return value.isEmpty() || trimmed.startsWith(value);
    case EquationOperator::kEndsWith:
      return value.isEmpty() || trimmed.endsWith(value);
    case EquationOperator::kContains:
      return value.isEmpty() || trimmed.contains(value);
    case EquationOperator::kGreater:
      return LeadingNumber(cell) > LeadingNumber(value);
    case EquationOperator::kGreaterEqual:
      return LeadingNumber(cell) >= LeadingNumber(value);
    case EquationOperator::kLess:
      return LeadingNumber(cell) < LeadingNumber(value);
    case EquationOperator::kLessEqual:
      return LeadingNumber(cell) <= LeadingNumber(value);
    case EquationOperator::kNone:
      return false;
  }
  return false;
}

}  // namespace

TruthValue TruthProduct(TruthValue a, TruthValue b) {
  TruthValue result = 0;
  if (!__builtin_mul_overflow(a, b, &result)) return result;
  return ((a < 0) == (b < 0)) ? std::numeric_limits<TruthValue>::max()
                              : std::numeric_limits<TruthValue>::min();
}

TruthValue TruthSum(TruthValue a, TruthValue b) {
  TruthValue result = 0;
  if (!__builtin_add_overflow(a, b, &result)) return result;
  return a < 0 ? std::numeric_limits<TruthValue>::min() : std::numeric_limits<TruthValue>::max();
}

QString LeftParenthesisMessage(const QString& before) {
  return QStringLiteral(u"左括弧の直前は ") + before +
         QStringLiteral(u" であり、AND OR では無かった！！");
}

QString RightParenthesisMessage(const QString& after) {
  return QStringLiteral(u"右括弧の直後は ") + after +
         QStringLiteral(u" であり、AND OR では無かった！！");
}

QString TrimBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  return text.mid(begin, end - begin);
}

TruthValue EvaluateCondition(const Grid& joined, const QString& text, int row,
                             QStringList* messages) {
  // Positions are counted from 1, as in the text's own terms: character i is text[i - 1].
  const qsizetype length = text.size();
  Connective op = Connective::kNone;
  TruthValue value = 0;
  int depth = 0;
  qsizetype pending = 1;  // start of the flat piece not yet evaluated
  qsizetype open = 0;     // the last top-level "("
  for (qsizetype i = 1; i <= length; ++i) {
    const QChar ch = text[i - 1];
    if (ch == u'(') {
      if (depth == 0) {
        if (i > 5 && op == Connective::kNone) {
          const QString before = text.mid(i - 6, 5);
          op = ConnectiveIn(before);
          if (op == Connective::kNone && messages) messages->append(LeftParenthesisMessage(before));
          if (op != Connective::kNone) value = op == Connective::kAnd ? 1 : 0;
        }
        if (op != Connective::kNone)
          Combine(op, value, EvaluateFlatSegment(joined, text.mid(pending - 1, i - pending), row));
        open = i;
      }
      ++depth;
    } else if (ch == u')') {
      if (depth == 1) {
        if (op == Connective::kNone) {
          const QString after = text.mid(i - 1, 5);
          op = ConnectiveIn(after);
          if (op != Connective::kNone) value = op == Connective::kAnd ? 1 : 0;
          if (op == Connective::kNone && i < length && messages)
            messages->append(RightParenthesisMessage(after));
        }
        if (op != Connective::kNone)
          Combine(op, value,
                  EvaluateCondition(joined, text.mid(open, i - 1 - open), row, messages));
        pending = i + 1;
      }
      --depth;
    }
    if (i == length && pending < i) {
      const TruthValue last = EvaluateFlatSegment(joined, text.mid(pending - 1), row);
      if (op == Connective::kNone)
        value = last;
      else
        Combine(op, value, last);
    }
  }
  return value;
}

TruthValue EvaluateFlatSegment(const Grid& joined, const QString& segment, int row) {
  static const QString kOr = QStringLiteral(" Or ");
  static const QString kAnd = QStringLiteral(" And ");
  if (segment.contains(kOr)) {
    TruthValue total = 0;
    for (const QString& piece : segment.split(kOr)) {
      const TruthValue e = EvaluateEquation(joined, piece, row);
      if (e >= 0) total = TruthSum(total, e);
    }
    return total;
  }
  if (segment.contains(kAnd)) {
    TruthValue value = 1;
    for (const QString& piece : segment.split(kAnd)) {
      const TruthValue e = EvaluateEquation(joined, piece, row);
      if (e >= 0) value = TruthProduct(value, e);
    }
    return value;
  }
  return EvaluateEquation(joined, segment, row);
}

TruthValue EvaluateEquation(const Grid& joined, const QString& equation, int row) {
  const QString q = TrimBlanks(equation);
  if (q.size() < 3) return -1;
  const FoundOperator found = FindEquationOperator(q);
  if (found.op == EquationOperator::kNone) return 0;
  const QString before = q.left(found.position);
  const QString value = TrimBlanks(q.mid(found.position + found.length));
  for (int i = 1; i < joined.Cols(); ++i) {
    const QString header = joined.Text(0, i);
    if (!header.startsWith(u'*')) continue;
    const QString name = header.mid(1);
    if (name.isEmpty() || !before.contains(name)) continue;
    if (Holds(found.op, joined.Text(row, i), value)) return 1;
  }
  return 0;
}

}  // namespace mivora
