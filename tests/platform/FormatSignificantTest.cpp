#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "platform/runtime/FormatSignificant.h"

namespace {

TEST(FormatSignificant, WritesResultsWithTheGivenDigits) {
  struct Case {
    double value;
    int16_t digits;
    const char* expected;
  };
  // The mantissa may round up to 10 with the exponent kept (999.96, 0.099999, 9.99996E-31);
  // halves go to even; from 10^30 up the whole value is written; below 10^-30 every value keeps
  // its digits, exponent and sign down to the smallest denormal (4.9406564584124654E-324, whose
  // neighbour 2^-1073 = 9.8813129168249309E-324 is the double read from "1E-323", and so is shown
  // as that power, as every double nearest to a power of ten is); digit counts outside the
  // callers' range are limited.
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
      {5e-31, 4, " 5E-31"},
      {1e-31, 5, " 1E-31"},
      {-6.626e-34, 4, "-6.626E-34"},
      {9.99996e-31, 4, " 10E-31"},
      {1e-300, 4, " 1E-300"},
      {-2.2250738585072014e-308, 8, "-2.2250739E-308"},
      {0x1p-1074, 4, " 4.941E-324"},
      {0x1p-1074, 8, " 4.9406565E-324"},
      {0x1p-1073, 4, " 1E-323"},
      {-1e-31, 30000, "-1E-31"},
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

// Below 10^-30 as above, the double nearest to a power of ten counts as that power, whether it
// lies above or below it (about half of those from 10^-31 to 10^-323 lie below; 1E-40 does), so
// each lists as 1E-k; its neighbour below only rounds up to the power and keeps the 10E form.
TEST(FormatSignificant, TheNearestDoubleToAPowerOfTenBelowTheSearchIsThatPower) {
  for (int k = 31; k <= 323; ++k) {
    const std::string power = "1E-" + std::to_string(k);
    const double p = std::strtod(power.c_str(), nullptr);
    SCOPED_TRACE(power);
    EXPECT_EQ(rt::ToUtf8(rt::FormatSignificant(p, 4)), " " + power);
    EXPECT_EQ(rt::ToUtf8(rt::FormatSignificant(-p, 8)), "-" + power);
  }
  struct Case {
    double value;
    const char* expected;
  };
  const Case neighbours[] = {
      {std::nextafter(1e-40, 0.0), " 10E-41"},
      {std::nextafter(1e-40, 1.0), " 1E-40"},
      {std::nextafter(1e-7, 0.0), " 10E-8"},
  };
  for (const auto& c : neighbours) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(rt::ToUtf8(rt::FormatSignificant(c.value, 4)), c.expected);
  }
}

// A value's sign, significant digits without trailing zeros and the exponent of its first digit,
// read from a decimal text "[ -]digits[.digits][E|e[+-]exponent]".
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
  bool operator==(const Decimal&) const = default;
};

Decimal ReadDecimal(const std::string& text) {
  Decimal d;
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == ' ')) d.negative = text[i++] == '-';
  int point = -1;
  for (; i < text.size() && text[i] != 'E' && text[i] != 'e'; ++i) {
    if (text[i] == '.') {
      point = static_cast<int>(d.digits.size());
    } else {
      d.digits.push_back(text[i]);
    }
  }
  if (point < 0) point = static_cast<int>(d.digits.size());
  if (i < text.size()) d.exponent = std::stoi(text.substr(i + 1));
  d.exponent += point - 1;
  while (!d.digits.empty() && d.digits.front() == '0') {
    d.digits.erase(0, 1);
    --d.exponent;
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Across the whole range below 10^30, down to the denormals, at every display digits setting, a
// result is the value correctly rounded to that many digits with its sign: compared with the C
// library's exact decimal conversion (which rounds the exact binary value). The double nearest to
// a power of ten is that power (among the denormals it may lie a few percent from it). Powers of
// two with several mantissas cover every binary exponent; the doubles nearest to each power of ten
// and their neighbours cover the places where the exponent changes.
TEST(FormatSignificant, EveryValueIsCorrectlyRounded) {
  std::vector<double> values;
  for (int e2 = -1074; e2 <= 99; ++e2) {
    for (const double mantissa : {1.0, 1.2345678901234567, 1.5, 1.9999999}) {
      values.push_back(std::ldexp(mantissa, e2));
    }
  }
  for (int k = -323; k < 30; ++k) {
    const double p = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
    for (const double v : {std::nextafter(p, 0.0), p, std::nextafter(p, 1.0), p * 9.99996}) {
      values.push_back(v);
    }
  }
  for (int digits = 4; digits <= 8; ++digits) {
    for (const double v : values) {
      if (v == 0 || v >= 1e30) continue;
      for (const double signed_v : {v, -v}) {
        std::array<char, 64> buf{};
        std::snprintf(buf.data(), buf.size(), "%.0e", signed_v);
        const char* power = buf[0] == '-' ? buf.data() + 1 : buf.data();
        if (power[0] != '1' || std::strtod(buf.data(), nullptr) != signed_v) {
          std::snprintf(buf.data(), buf.size(), "%.*e", digits - 1, signed_v);
        }
        const std::string text =
            rt::ToUtf8(rt::FormatSignificant(signed_v, static_cast<int16_t>(digits)));
        SCOPED_TRACE(std::string(buf.data()) + " shown as \"" + text + "\"");
        ASSERT_EQ(text.front(), signed_v < 0 ? '-' : ' ');
        // From 10^-30 up the mantissa is rounded in double arithmetic: within a few units of
        // the last bit of a halfway point it may round the other way.
        const double shown = std::strtod(text.c_str(), nullptr);
        const double exact = std::strtod(buf.data(), nullptr);
        const bool halfway = v >= 1e-30 && std::fabs(std::fabs(shown + exact) / 2 - v) <= 1e-15 * v;
        ASSERT_TRUE(ReadDecimal(text) == ReadDecimal(buf.data()) || halfway);
      }
    }
  }
}

}  // namespace
