#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plotting/FormatSignificant.h"

namespace {

TEST(FormatSignificant, WritesResultsWithTheGivenDigits) {
  struct Case {
    double value;
    int16_t digits;
    const char* expected;
  };
  // The mantissa may round up to 10 with the exponent kept (999.96, 0.099999, 9999.6); halves go
  // to even; beyond the exponent search the whole value is written, or a zero mantissa with
  // exponent 0; digit counts outside the callers' range are limited.
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kTiny = std::numeric_limits<double>::denorm_min();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {0, 4, "0"},
      {1.5, 4, " 1.5"},
      {-12.3456, 4, "-12.35"},
      {123.456, 4, " 123.5"},
      {999.96, 4, " 1000"},
      {1000, 4, " 1E3"},
      {1.23456e4, 4, " 1.235E4"},
      {0.5, 4, " .5"},
      {-0.5, 4, "-.5"},
      {0.0123456, 4, " 1.235E-2"},
      {-0.000123, 4, "-1.23E-4"},
      {2.5, 1, " 2"},
      {3.5, 1, " 4"},
      {3.14159265358979, 8, " 3.1415927"},
      {0.09999, 4, " 9.999E-2"},
      {0.099999, 4, " 10E-2"},
      {9999.6, 4, " 10E3"},
      {1e-30, 4, " 1E-30"},
      {1e30, 4, " 1E+30"},
      {-1.23456e31, 4, "-1.23456E+31"},
      {5e-31, 4, " 0E 0"},
      {kMax, 4, " 1.79769313486232E+308"},
      {kTiny, 4, " 0E 0"},
      {123.456, 0, " 100"},
      {1.0 / 3, 30000, " .333333333333333"},
      {kInf, 4, " Inf"},
      {NAN, 4, " NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " with " + std::to_string(c.digits));
    EXPECT_EQ(rt::ToUtf8(ms::FormatSignificant(c.value, c.digits)), c.expected);
  }
}

TEST(FormatSignificant, ReadsBackAsTheRoundedValue) {
  // The root finder reads the text back with Val as the rounded root.
  struct Case {
    double value;
    int16_t digits;
    double rounded;
  };
  const Case cases[] = {
      {1.41421356237, 8, 1.4142136},
      {-0.000123456, 5, -0.00012346},
      {98765.4321, 6, 98765.4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " with " + std::to_string(c.digits));
    EXPECT_DOUBLE_EQ(rt::Val(ms::FormatSignificant(c.value, c.digits)), c.rounded);
  }
}

}  // namespace
