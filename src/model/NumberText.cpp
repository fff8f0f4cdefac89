#include "model/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace mivora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A decimal number beyond what a double holds ("1e400", "1e-400"): its size decides between
// infinity and zero, its sign is kept. The number is sign, digits, point, digits, exponent.
double BeyondRange(const std::string& number) {
  const bool negative = number[0] == '-';
  std::size_t i = (number[0] == '-' || number[0] == '+') ? 1 : 0;
  // The decimal exponent of the first significant digit.
  std::int64_t magnitude = 0;
  bool seen_point = false;
  bool significant = false;
  std::int64_t before_point = 0;
  std::int64_t leading_zeros_after_point = 0;
  for (; i < number.size() && number[i] != 'e'; ++i) {
    const char c = number[i];
    if (c == '.') {
      seen_point = true;
    } else if (!significant && c == '0') {
      if (seen_point) ++leading_zeros_after_point;
    } else {
      significant = true;
      if (!seen_point) ++before_point;
    }
  }
  if (!significant) return negative ? -0.0 : 0.0;
  magnitude = before_point > 0 ? before_point - 1 : -(leading_zeros_after_point + 1);
  std::int64_t exponent = 0;
  if (i < number.size()) {
    // The exponent's digits may be many; a huge one only needs its sign.
    std::size_t j = i + 1;
    const bool minus = j < number.size() && number[j] == '-';
    if (j < number.size() && (number[j] == '-' || number[j] == '+')) ++j;
    for (; j < number.size(); ++j) {
      exponent = std::min<std::int64_t>(exponent * 10 + (number[j] - '0'), 1'000'000'000);
    }
    if (minus) exponent = -exponent;
  }
  const double size = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
  return negative ? -size : size;
}

}  // namespace

bool ReadsAsNumber(QByteArrayView utf8, double* value) {
  const char* begin = utf8.data();
  const char* end = begin + utf8.size();
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  if (begin == end) return false;
  if (*begin == '+') ++begin;  // from_chars takes no plus sign
  if (begin == end || (*begin != '-' && *begin != '.' && (*begin < '0' || *begin > '9')))
    return false;
  double d = 0;
  auto [ptr, ec] = std::from_chars(begin, end, d, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(d)) return false;
  *value = d;
  return true;
}

double LeadingNumber(QByteArrayView utf8) {
  std::string s;
  s.reserve(static_cast<std::size_t>(utf8.size()));
  for (char c : utf8)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s.push_back(c);
  std::size_t i = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    double v = 0;
    for (i = 2; i < s.size(); ++i) {
      char c = s[i];
      int d = -1;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      if (d < 0 || d >= base) break;
      v = v * base + d;
    }
    return v;
  }
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    number.push_back(s[i++]);
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    number.push_back(s[i++]);
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      number.push_back(s[i++]);
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    bool exp_digits = false;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      exponent.push_back(s[j++]);
      exp_digits = true;
    }
    if (exp_digits) number += exponent;
  }
  const char* b = number.data();
  if (*b == '+') ++b;
  double v = 0;
  const auto [ptr, ec] = std::from_chars(b, number.data() + number.size(), v,
                                         std::chars_format::general);
  if (ec == std::errc::result_out_of_range) return BeyondRange(number);
  return v;
}

double LeadingNumber(const QString& text) { return LeadingNumber(QByteArrayView(text.toUtf8())); }

}  // namespace mivora
