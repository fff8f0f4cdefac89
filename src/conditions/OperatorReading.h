#pragma once

#include <QString>

namespace mivora {

// The comparison operators of an equation.
enum class EquationOperator {
  kNone,
  kEqual,         // "="
  kEndsWith,      // "%="
  kBeginsWith,    // "=%"
  kContains,      // "%=%"
  kLess,          // "<"
  kLessEqual,     // "<="
  kGreater,       // ">"
  kGreaterEqual,  // ">="
  kNotEqual,      // "<>"
};

// Where an equation's operator stands.
struct FoundOperator {
  EquationOperator op = EquationOperator::kNone;
  qsizetype position = -1;  // 0-based
  qsizetype length = 0;
  qsizetype end() const { return position + length; }
};

// The one reading of an equation's operator, shared by the entry check, the operator palette,
// the SQL form, the evaluation and the saved state: the first of the nine operators from the
// left, the longest one where it starts ("<=" rather than "<", "%=%" rather than "%=").
// The search starts at `from`.
FoundOperator FindEquationOperator(const QString& equation, qsizetype from = 0);

// The same, for a box's text: when the text begins with the box's column reference, the
// search starts after it, so a reference holding an operator character stays a name.
FoundOperator FindBoxOperator(const QString& text, const QString& column_ref);

// The operator's own characters ("" for none), and the operator a text names exactly.
QString OperatorText(EquationOperator op);
EquationOperator OperatorFromText(const QString& text);

// True for the characters operators are made of: "<", ">", "=", "%".
bool IsOperatorCharacter(QChar ch);

// An equation read into its three parts; without an operator the column part is the whole
// text and the value is empty.
struct EquationParts {
  QString column;  // before the operator, blanks at its end removed
  FoundOperator found;
  QString value;  // after the operator and the one blank that follows it
};
EquationParts SplitEquation(const QString& text, const QString& column_ref = QString());

}  // namespace mivora
