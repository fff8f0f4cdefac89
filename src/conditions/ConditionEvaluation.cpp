#include "conditions/ConditionEvaluation.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "model/Grid.h"
#include "model/NumberText.h"
#include "search/JoinedColumnKind.h"

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

std::vector<qsizetype> MatchingParentheses(QStringView text) {
  std::vector<qsizetype> match(static_cast<std::size_t>(text.size()), -1);
  std::vector<qsizetype> open;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'(') {
      open.push_back(i);
    } else if (text[i] == u')' && !open.empty()) {
      match[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
  }
  return match;
}

TruthValue EvaluateCondition(const Grid& joined, const QString& text, int row,
                             QStringList* messages) {
  // Each level of parentheses is read from its own text: its connective is the first one found
  // next to one of its top-level parentheses; its flat pieces and the insides of its
  // parentheses are evaluated and combined with it. The levels are kept on a stack of our own
  // and every level skips over its inner levels by the matching parenthesis, so the reading is
  // linear in the text's length and no nesting depth reaches the call stack. Positions are
  // 0-based in the whole text; a level is the part [begin, end).
  struct Level {
    qsizetype begin, end;
    qsizetype at;       // the next character to read
    qsizetype pending;  // start of the flat piece not yet evaluated
    qsizetype open;     // the last top-level "("
    int depth;
    Connective op;
    TruthValue value;
  };
  const std::vector<qsizetype> match = MatchingParentheses(text);
  std::vector<Level> levels;
  levels.push_back({0, text.size(), 0, 0, -1, 0, Connective::kNone, 0});
  auto set_connective = [](Level& l, Connective found) {
    l.op = found;
    if (found != Connective::kNone) l.value = found == Connective::kAnd ? 1 : 0;
  };
  auto flat = [&](qsizetype from, qsizetype to) {
    return EvaluateFlatSegment(joined, text.mid(from, to - from), row);
  };
  // The last piece of a level, once its last character has been read.
  auto last_piece = [&](Level& l) {
    if (l.pending >= l.end - 1) return;
    const TruthValue last = flat(l.pending, l.end);
    if (l.op == Connective::kNone)
      l.value = last;
    else
      Combine(l.op, l.value, last);
  };
  while (true) {
    Level& l = levels.back();
    if (l.at >= l.end) {
      const TruthValue inner = l.value;
      levels.pop_back();
      if (levels.empty()) return inner;
      // The inner level of the parent's ")" at its `at` is done.
      Level& parent = levels.back();
      Combine(parent.op, parent.value, inner);
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
          if (l.op == Connective::kNone && messages)
            messages->append(LeftParenthesisMessage(before));
        }
        if (l.op != Connective::kNone) Combine(l.op, l.value, flat(l.pending, i));
        l.open = i;
        l.depth = 1;
        const qsizetype close = match[static_cast<std::size_t>(i)];
        if (close < 0) {
          // Never closed: nothing more happens at this level but its last piece.
          last_piece(l);
          l.at = l.end;
        } else {
          l.at = close;  // the inside is read only if the level's connective asks for it
        }
        continue;
      }
      ++l.depth;
    } else if (ch == u')') {
      if (l.depth == 1) {
        if (l.op == Connective::kNone) {
          const QString after = text.mid(i, std::min<qsizetype>(5, l.end - i));
          set_connective(l, ConnectiveIn(after));
          if (l.op == Connective::kNone && i < l.end - 1 && messages)
            messages->append(RightParenthesisMessage(after));
        }
        if (l.op != Connective::kNone) {
          const qsizetype inner_begin = l.open + 1;
          levels.push_back({inner_begin, i, inner_begin, inner_begin, -1, 0, Connective::kNone, 0});
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
    if (JoinedColumnKind(joined, i) != kConditionColumnPrefix) continue;
    const QString name = header.mid(1);
    if (name.isEmpty() || !before.contains(name)) continue;
    if (Holds(found.op, joined.Text(row, i), value)) return 1;
  }
  return 0;
}

}  // namespace mivora
