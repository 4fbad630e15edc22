#include "platform/runtime/FormatSignificant.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace rt {

namespace {

// 10^0 to 10^30 and 10^0 to 10^-30 as literals, so each power is the double nearest to it.
constexpr std::array<double, 31> kPow10 = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30};
constexpr std::array<double, 31> kPow10Neg = {
    1e0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,  1e-9,  1e-10,
    1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21,
    1e-22, 1e-23, 1e-24, 1e-25, 1e-26, 1e-27, 1e-28, 1e-29, 1e-30};

// The largest power of ten that is exact in a double, which bounds the rounding scale.
constexpr int kMaxDigits = 22;

double Pow10(int e) {
  return e >= 0 ? kPow10[static_cast<size_t>(e)] : kPow10Neg[static_cast<size_t>(-e)];
}

// The decimal scientific form of v (finite, not 0) correctly rounded to precision digits after the
// point, or with a negative precision the shortest form that reads back as v: its mantissa with
// the point and the exponent of its first digit.
void Scientific(double v, int precision, std::string_view& mantissa, int& exponent,
                std::array<char, 64>& buf) {
  char* const last = buf.data() + buf.size();
  const auto end =
      precision < 0
          ? std::to_chars(buf.data(), last, v, std::chars_format::scientific).ptr
          : std::to_chars(buf.data(), last, v, std::chars_format::scientific, precision).ptr;
  const std::string_view t(buf.data(), static_cast<size_t>(end - buf.data()));
  const size_t mark = t.find('e');
  mantissa = t.substr(0, mark);
  const char* first = t.data() + mark + 1;
  if (*first == '+') ++first;
  std::from_chars(first, t.data() + t.size(), exponent);
}

// A magnitude below the nearest double to 10^-30, denormals included, with d significant digits.
// The exponent e is chosen as the search above 10^-30 chooses it, with the nearest doubles to the
// powers of ten as the bounds: e is the exponent of v's shortest decimal form that reads back as v.
// That form lies in the same interval between those nearest doubles as v does, and it is "1Ee"
// exactly when v is the nearest double to 10^e, which then shows as 1Ee like 1E-7 (its mantissa
// is 1 there, as v / 10^e is above). Otherwise the mantissa is v's exact decimal expansion rounded
// to d digits; where that carries into the next power of ten it is 10 with the exponent kept, as
// the search's rounding leaves it above 10^-30.
rt::Text BelowSearch(double v, int d, bool negative) {
  std::array<char, 64> buf{};
  std::string_view mantissa;
  int e = 0, rounded = 0;
  Scientific(v, -1, mantissa, e, buf);
  double m = 1;
  if (mantissa != "1") {
    Scientific(v, d - 1, mantissa, rounded, buf);
    m = 10;
    if (rounded == e) std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), m);
  }
  return rt::Str(negative ? -m : m) + u"E" + rt::Str(e);
}

}  // namespace

rt::Text FormatSignificant(double value, int16_t digits) {
  if (value == 0) return u"0";
  if (!std::isfinite(value)) return rt::Str(value);
  const int d = digits < 1 ? 1 : (digits > kMaxDigits ? kMaxDigits : digits);
  const bool negative = value < 0;
  const double v = std::fabs(value);

  if (v < Pow10(-30)) return BelowSearch(v, d, negative);

  // Decimal exponent with 10^e <= v < 10^(e+1); it stays 0 from 10^30 up.
  int e = 0;
  if (v >= 1) {
    for (int k = 1; k <= 30; ++k) {
      if (Pow10(k - 1) == v || (Pow10(k - 1) < v && v < Pow10(k))) {
        e = k - 1;
        break;
      }
    }
  } else {
    for (int k = 1; k <= 30; ++k) {
      if (Pow10(-k) == v || (Pow10(-k) < v && v < Pow10(-k + 1))) {
        e = -k;
        break;
      }
    }
  }

  const double scale = kPow10[static_cast<size_t>(d - 1)];
  double m = v / Pow10(e);
  // Beyond the exponent search m is the whole value; near the top of the double range the scaled
  // mantissa overflows, and there is nothing left to round anyway.
  if (std::isfinite(m * scale)) m = rt::RoundHalfEven(m * scale) / scale;
  if (negative) m = -m;

  if (v >= 1 && e == 0) return rt::Str(m);
  if (e == 1) return rt::Str(m * 10);
  if (e == 2) return rt::Str(m * 100);
  if (v >= 1) return rt::Str(m) + u"E" + rt::IntText(e);
  if (e == -1) return rt::Str(m / 10);
  return rt::Str(m) + u"E" + rt::Str(e);
}

}  // namespace rt
