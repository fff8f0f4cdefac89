#pragma once

#include <QByteArray>
#include <QString>

namespace mivora {

// The text of a number as the General format shows it: integers below 1E15 without a point,
// else up to 15 significant digits without trailing zeros, an exponent when very small or big
// ("1E-07", "1E+15").
QByteArray GeneralNumberText(double value);

// True when a number format (built-in id, or the custom code when id is not built in) shows
// dates or times.
bool IsDateFormat(int format_id, const QString& code);
// True for formats that show a time of day only.
bool IsTimeOnlyFormat(int format_id, const QString& code);

// A date serial as "yyyy-mm-dd", plus " hh:mm:ss" when it has a time; a time alone (a
// 1900-system serial below 1, or a time-only format) as "hh:mm:ss". Serials outside the calendar give the
// number's General text.
QByteArray DateSerialText(double serial, bool date1904, bool time_only);

}  // namespace mivora
