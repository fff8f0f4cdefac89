#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "conditions/OperatorReading.h"

namespace mivora {

class Grid;

// The truth value of a condition: 1 holds, 0 does not, -1 no equation. And multiplies, Or
// adds, -1 values are skipped; a row passes when the total is 1 or more.
using TruthValue = std::int64_t;

// The operators and where they stand: conditions/OperatorReading.h.

// And and Or of truth values; results beyond the 64-bit range stay at its end.
TruthValue TruthProduct(TruthValue a, TruthValue b);
TruthValue TruthSum(TruthValue a, TruthValue b);

// The two messages about a parenthesis with no connective next to it.
QString LeftParenthesisMessage(const QString& before);
QString RightParenthesisMessage(const QString& after);

// Reading the expression text directly against one data row of the joined grid (row 0 holds
// the headers; columns whose header begins with "*" are the condition columns).
//
// One level of parentheses: the connective of the level is the first one found next to a
// top-level parenthesis; flat pieces and the insides of parentheses are evaluated and combined
// with it. The parenthesis messages are appended to `messages` when it is given.
TruthValue EvaluateCondition(const Grid& joined, const QString& text, int row,
                             QStringList* messages = nullptr);
// Text without parentheses, split at the connectives " Or " (which take precedence) or
// " And ".
TruthValue EvaluateFlatSegment(const Grid& joined, const QString& segment, int row);
// One equation: column, operator, value. -1 for a piece shorter than three characters (blanks
// around it not counted); 1 when any condition column named in the text before the operator
// satisfies it; 0 otherwise (also without an operator).
TruthValue EvaluateEquation(const Grid& joined, const QString& equation, int row);

// For every "(" the position of the ")" that closes it, -1 when none does; -1 at every other
// position.
std::vector<qsizetype> MatchingParentheses(QStringView text);

// Removes the blanks (spaces) at both ends.
QString TrimBlanks(const QString& text);

}  // namespace mivora
