// Text and number semantics the worksheet language is defined in: 1-based string positions,
// wildcard character classes, Val/Str number conversion, banker's rounding and packed colours.
// Plain C++ over std::u16string; no locale is consulted anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

using Text = std::u16string;
using TextView = std::u16string_view;

// Conversions at the edges (probe output, Qt boundary, tests). Malformed input (a broken UTF-8
// sequence, a lone surrogate) becomes U+FFFD.
Text FromUtf8(std::string_view s);
std::string ToUtf8(TextView s);

// 1-based substring functions. A read outside the text yields "" (or the part inside) and never
// fails. start < 1 is treated as 1; a negative length as 0.
Text Mid(TextView s, long start);  // from start to the end
Text Mid(TextView s, long start, long length);
Text Left(TextView s, long length);
Text Right(TextView s, long length);
// Position (1-based) of find in s at or after start, 0 when absent. start < 1 is treated as 1. An
// empty find returns start when start <= Len(s) + 1, else 0.
long InStr(long start, TextView s, TextView find);
inline long InStr(TextView s, TextView find) {
  return InStr(1, s, find);
}
// Position of the last occurrence of find, 0 when absent; an empty find gives Len(s).
long InStrRev(TextView s, TextView find);
// Replaces every occurrence, left to right; inserted text is not rescanned. An empty find returns
// s unchanged.
Text Replace(TextView s, TextView find, TextView with);
Text LCase(TextView s);
inline long Len(TextView s) {
  return static_cast<long>(s.size());
}
// The character at 1-based position p; U+0000 outside the text.
inline char16_t CharAt(TextView s, long p) {
  return p >= 1 && p <= static_cast<long>(s.size()) ? s[static_cast<size_t>(p - 1)] : u'\0';
}
Text String(long n, char16_t c);

// One character against one wildcard element: "[...]" a character class with ranges ("a-z") and
// literal members, '!' negating in first place only, '-' literal in first or last place; '?' any
// character; '#' one digit; any other character itself. Compared by code point, no locale: the
// token characters U+00C8 to U+00FF are not letters. A class without its closing "]", with a range
// whose ends are out of order, or followed by more pattern text matches nothing; the empty
// character (c == 0) never matches, not even a negated class.
bool CharIs(char16_t c, TextView charClass);

// The character classes of the language: ASCII letters and digits only, compared by code point (the
// token characters U+00C8 to U+00FF are neither letters nor digits; the empty character 0 is none).
inline constexpr bool IsLower(char16_t c) {
  return c >= u'a' && c <= u'z';
}
inline constexpr bool IsUpper(char16_t c) {
  return c >= u'A' && c <= u'Z';
}
inline constexpr bool IsLetter(char16_t c) {
  return IsLower(c) || IsUpper(c);
}
inline constexpr bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Numbers.
// The number at the start of s, 0 when there is none: blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with at most one decimal point and an
// optional exponent (E, e, D or d, optional sign, digits). Reading stops at the first other
// character. A magnitude too large for a double gives +/-infinity.
double Val(TextView s);
// The strict numeric-text test: optional blanks around, optional sign, at least one digit with
// at most one decimal point, optional exponent (E, e, D or d, optional sign, at least one digit),
// and a value that fits a double. "", ".", "-", "1E" and "1,5" are not numeric.
bool IsNumeric(TextView s);
// The Str form: a blank before a number that is not negative and "-" before a negative one, up to
// 15 significant digits, trailing zeros dropped, no zero before the decimal point below 1
// (" .5", "-.25"). Magnitudes from 1E15 up and below 1E-15 are written in exponent form: the
// mantissa, "E", the exponent's sign and at least two exponent digits (" 1E+20", "-2.5E-16").
// Infinities and NaN are written " Inf", "-Inf" and " NaN".
Text Str(double v);
// The plain form used in evaluation texts, labels and message boxes: the same digits as Str with
// no blank before a number that is not negative and with a zero before the decimal point below 1
// ("0.25", "-0.5", "1.5", "1E+20").
Text NumText(double v);
// NumText's form with the fewest significant digits (up to 17) that read back as the same double
// ("0.30000000000000004", "0.1", "8.881784197001252E-16").
Text RoundTripText(double v);
Text IntText(long v);            // integer as text in concatenation: no blank
double RoundHalfEven(double v);  // to a whole number, halves to even
double RoundHalfEven(double v,
                     int decimals);  // to decimals places (0 when negative), halves to even
double Int(double v);                // largest whole number <= v
int Sgn(double v);                   // -1, 0 or 1 (0 for NaN)
// Conversion to the 16-bit integer type: rounds half to even; false (out unchanged) when out of
// range or not a number.
bool ToInt16(double v, int16_t& out);

// Packed colours: red + 256 * green + 65536 * blue.
constexpr int32_t RGB(int r, int g, int b) {
  return r + 256 * g + 65536 * b;
}
void SplitRGB(int32_t color, int& red, int& green, int& blue);

}  // namespace rt
