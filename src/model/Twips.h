#pragma once

#include <cmath>
#include <ostream>

namespace mivora {

// Rounds to the nearest whole number, a half going to the even neighbour.
inline long long RoundHalfEven(double v) {
  double floor_v = std::floor(v);
  double frac = v - floor_v;
  long long base = static_cast<long long>(floor_v);
  if (frac > 0.5) return base + 1;
  if (frac < 0.5) return base;
  return (base % 2 == 0) ? base : base + 1;
}

// A rectangle in twips (1/1440 inch), left and top measured from the container.
struct TwipRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  float right() const { return left + width; }
  float bottom() const { return top + height; }
  bool operator==(const TwipRect&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TwipRect& r) {
  return os << "{left " << r.left << ", top " << r.top << ", width " << r.width << ", height "
            << r.height << "}";
}

}  // namespace mivora
