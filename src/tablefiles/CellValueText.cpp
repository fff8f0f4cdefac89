#include "tablefiles/CellValueText.h"

#include <QDate>
#include <cmath>
#include <cstdio>

namespace mivora {

QByteArray GeneralNumberText(double value) {
  if (value == 0 || !std::isfinite(value)) return QByteArrayLiteral("0");
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  return QByteArray(buf);
}

namespace {

bool IsBuiltInDate(int id) {
  return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) ||
         (id >= 50 && id <= 58);
}

bool IsBuiltInTimeOnly(int id) {
  return (id >= 18 && id <= 21) || (id >= 45 && id <= 47) || (id >= 32 && id <= 35);
}

// The letters of a custom code outside quotes, brackets and escapes, lower-cased.
QString CodeLetters(const QString& code) {
  QString out;
  bool quoted = false;
  int bracket = 0;
  for (qsizetype i = 0; i < code.size(); ++i) {
    const QChar c = code.at(i);
    if (quoted) {
      if (c == u'"') quoted = false;
      continue;
    }
    if (c == u'"') {
      quoted = true;
    } else if (c == u'[') {
      ++bracket;
    } else if (c == u']') {
      if (bracket > 0) --bracket;
    } else if (bracket > 0) {
      continue;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;  // the next character is shown literally (or is padding)
    } else {
      out.append(c.toLower());
    }
  }
  return out;
}

bool IsBuiltIn(int id) { return id >= 0 && id < 164; }

}  // namespace

bool IsDateFormat(int format_id, const QString& code) {
  if (IsBuiltInDate(format_id)) return true;
  if (IsBuiltIn(format_id) && code.isEmpty()) return false;
  const QString letters = CodeLetters(code);
  for (QChar c : letters) {
    if (c == u'y' || c == u'm' || c == u'd' || c == u'h' || c == u's') return true;
  }
  return false;
}

bool IsTimeOnlyFormat(int format_id, const QString& code) {
  if (IsBuiltInDate(format_id)) return IsBuiltInTimeOnly(format_id);
  const QString letters = CodeLetters(code);
  bool time = false;
  for (QChar c : letters) {
    if (c == u'y' || c == u'd') return false;
    if (c == u'h' || c == u's') time = true;
  }
  return time;  // "m" beside "h" or "s" is minutes
}

QByteArray DateSerialText(double serial, bool date1904, bool time_only) {
  if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return GeneralNumberText(serial);
  std::int64_t seconds = std::llround(serial * 86400.0);
  std::int64_t days = seconds / 86400;
  const std::int64_t secs = seconds % 86400;
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(secs / 3600),
                static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
  if (time_only || (days == 0 && !date1904)) return QByteArray(time);
  char date[16];
  if (!date1904 && days == 60) {
    std::snprintf(date, sizeof date, "1900-02-29");  // the 1900 system's day that never was
  } else {
    QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, days < 60 ? 31 : 30);
    const QDate d = base.addDays(days);
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year(), d.month(), d.day());
  }
  QByteArray out(date);
  if (secs != 0) out.append(' ').append(time);
  return out;
}

}  // namespace mivora
