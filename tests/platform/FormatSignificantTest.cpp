#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/runtime/FormatSignificant.h"

namespace {

TEST(FormatSignificant, WritesResultsWithTheGivenDigits) {
  struct Case {
    double value;
    int16_t digits;
    const char* expected;
  };
  // The mantissa may round up to 10 with the exponent kept (999.96, 0.099999); halves go
  // to even; beyond the exponent search the whole value is written, or a zero mantissa with
  // exponent 0; digit counts outside the callers' range are limited.
  constexpr double kMax = std::numeric_limits<double>::max();
  const Case cases[] = {
      {0, 4, "0"},
      {-12.3456, 4, "-12.35"},
      {999.96, 4, " 1000"},
      {1000, 4, " 1E3"},
      {1.23456e4, 4, " 1.235E4"},
      {0.0123456, 4, " 1.235E-2"},
      {2.5, 1, " 2"},
      {0.099999, 4, " 10E-2"},
      {1e30, 4, " 1E+30"},
      {-1.23456e31, 4, "-1.23456E+31"},
      {5e-31, 4, " 0E 0"},
      {kMax, 4, " 1.79769313486232E+308"},
      {123.456, 0, " 100"},
      {1.0 / 3, 30000, " .333333333333333"},
      {NAN, 4, " NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " with " + std::to_string(c.digits));
    EXPECT_EQ(rt::ToUtf8(rt::FormatSignificant(c.value, c.digits)), c.expected);
  }
}

}  // namespace
