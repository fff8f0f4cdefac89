#include "conditions/OperatorReading.h"

#include <algorithm>

namespace mivora {

namespace {

struct OperatorSpelling {
  const char16_t* text;
  EquationOperator op;
};

// Longest first, so that the first match at a position is the longest operator there.
constexpr OperatorSpelling kSpellings[] = {
    {u"%=%", EquationOperator::kContains},    {u"%=", EquationOperator::kEndsWith},
    {u"=%", EquationOperator::kBeginsWith},   {u"<>", EquationOperator::kNotEqual},
    {u"<=", EquationOperator::kLessEqual},    {u">=", EquationOperator::kGreaterEqual},
    {u"=", EquationOperator::kEqual},         {u"<", EquationOperator::kLess},
    {u">", EquationOperator::kGreater},
};

qsizetype SpellingLength(const char16_t* text) {
  qsizetype n = 0;
  while (text[n] != 0) ++n;
  return n;
}

bool StartsAt(const QString& text, qsizetype at, const char16_t* spelling, qsizetype length) {
  if (at + length > text.size()) return false;
  for (qsizetype i = 0; i < length; ++i)
    if (text[at + i].unicode() != spelling[i]) return false;
  return true;
}

}  // namespace

bool IsOperatorCharacter(QChar ch) {
  return ch == u'<' || ch == u'>' || ch == u'=' || ch == u'%';
}

FoundOperator FindEquationOperator(const QString& equation, qsizetype from) {
  for (qsizetype at = std::max<qsizetype>(from, 0); at < equation.size(); ++at) {
    if (!IsOperatorCharacter(equation[at])) continue;
    for (const OperatorSpelling& s : kSpellings) {
      const qsizetype length = SpellingLength(s.text);
      // A lone "%" is no operator; it is read on as part of the text.
      if (StartsAt(equation, at, s.text, length)) return FoundOperator{s.op, at, length};
    }
  }
  return FoundOperator{};
}

FoundOperator FindBoxOperator(const QString& text, const QString& column_ref) {
  const qsizetype from =
      !column_ref.isEmpty() && text.startsWith(column_ref) ? column_ref.size() : 0;
  return FindEquationOperator(text, from);
}

QString OperatorText(EquationOperator op) {
  for (const OperatorSpelling& s : kSpellings)
    if (s.op == op) return QString::fromUtf16(s.text);
  return QString();
}

EquationOperator OperatorFromText(const QString& text) {
  for (const OperatorSpelling& s : kSpellings)
    if (text == QString::fromUtf16(s.text)) return s.op;
  return EquationOperator::kNone;
}

EquationParts SplitEquation(const QString& text, const QString& column_ref) {
  EquationParts parts;
  parts.found = FindBoxOperator(text, column_ref);
  if (parts.found.op == EquationOperator::kNone) {
    parts.column = text;
    return parts;
  }
  parts.column = text.left(parts.found.position);
  while (parts.column.endsWith(u' ')) parts.column.chop(1);
  qsizetype value_at = parts.found.end();
  if (value_at < text.size() && text[value_at] == u' ') ++value_at;
  parts.value = text.mid(value_at);
  return parts;
}

}  // namespace mivora
