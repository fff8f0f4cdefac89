#pragma once

#include <QByteArrayView>
#include <QString>

namespace mivora {

// True when the whole text (blanks around it allowed) is a decimal number; *value gets it.
bool ReadsAsNumber(QByteArrayView utf8, double* value);

// The number a text begins with, after removing blanks, tabs and line breaks: an optional
// sign, digits, an optional point and decimals, an optional exponent (E or D); "&H" reads
// hexadecimal and "&O" octal digits. Reading stops at the first other character; no number
// gives 0. A number beyond the double range gives infinity with its sign ("-1e400"), one too
// small for it gives 0.
double LeadingNumber(QByteArrayView utf8);
double LeadingNumber(const QString& text);

}  // namespace mivora
