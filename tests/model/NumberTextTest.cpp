#include "model/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mivora {
namespace {

TEST(NumberTextTest, NumbersBeyondTheDoubleRangeAreInfiniteOrZero) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1e400", HUGE_VAL},
      {"-1e400", -HUGE_VAL},
      {"+1E+400", HUGE_VAL},
      {"1D400", HUGE_VAL},
      {"-0.5e309", -HUGE_VAL},
      {"123456789e99999999999999999999", HUGE_VAL},  // an exponent beyond any integer
      {"1e-400", 0.0},
      {"-1e-400", -0.0},
      {"0.0001e-330", 0.0},
      {"000.00e999", 0.0},  // zero stays zero with any exponent
      {"0.001e310", 1e307},
      {"1e308x", 1e308},
      {"12abc", 12.0},
      {"", 0.0},
  };
  for (const auto& c : cases) {
    const double v = LeadingNumber(QByteArrayView(c.text));
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << c.text;
  }
}

}  // namespace
}  // namespace mivora
