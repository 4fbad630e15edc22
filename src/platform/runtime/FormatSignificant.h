// The program's number formatter for results: a number with a given count of significant digits,
// in plain decimal form between 0.1 and 1,000 and in a short exponent form elsewhere.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace rt {

// value rounded to digits significant digits (halves to even) and written in the Str form: a
// blank before a number that is not negative, "-" before a negative one, no zero before the
// decimal point ("0" alone for zero). Values from 1 to below 1,000 and from 0.1 to below 1 are
// plain decimals (" 123.5", " .5"); from 1,000 up the mantissa is followed by "E" and the
// exponent in plain digits (" 1.235E4"); below 0.1 by "E" and the exponent in the Str form
// (" 1.235E-2"). Exponents are searched up to 10^30, beyond which the value is written whole
// (" 1E+30"); every value below 1 keeps its own exponent, down to the smallest denormal
// ("-6.626E-34", " 4.941E-324"), and the double nearest to a power of ten is that power
// (" 1E-40", " 1E-323"). digits below 1 count as 1, above 22 as 22. Infinities and NaN
// are written as Str writes them.
rt::Text FormatSignificant(double value, int16_t digits);

}  // namespace rt
