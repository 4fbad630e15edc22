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

// Conversions at the edges (probe output, Qt boundary, tests).
Text FromUtf8(std::string_view s);
std::string ToUtf8(TextView s);

// 1-based substring functions. A read outside the text yields "" (or the part inside) and never
// fails. start < 1 is treated as 1; a negative length as 0.
Text Mid(TextView s, long start, long length = -1);  // length -1: to the end
Text Left(TextView s, long length);
Text Right(TextView s, long length);
// Position (1-based) of find in s at or after start, 0 when absent. An empty find returns start
// when start <= Len(s) + 1, else 0.
long InStr(long start, TextView s, TextView find);
inline long InStr(TextView s, TextView find) { return InStr(1, s, find); }
// Position of the last occurrence of find, 0 when absent.
long InStrRev(TextView s, TextView find);
// Replaces every occurrence, left to right; inserted text is not rescanned.
Text Replace(TextView s, TextView find, TextView with);
Text Trim(TextView s);   // blanks (U+0020) at both ends
Text LTrim(TextView s);
Text RTrim(TextView s);
Text UCase(TextView s);  // ASCII letters only
Text LCase(TextView s);
inline long Len(TextView s) { return static_cast<long>(s.size()); }
Text Space(long n);
Text String(long n, char16_t c);

// Wildcard pattern match in the platform's "Like" form: '?' one character, '*' any run, '#' one
// digit, "[...]" a character class with ranges, '!' negating in first place only. Compared by
// code point, no locale.
bool Like(TextView s, TextView pattern);
// One character against a class written as "[...]" (e.g. u"[a-z0-9]", u"[!A-Z]"). An empty
// character (c == 0) never matches.
bool CharIs(char16_t c, TextView charClass);
// The character at 1-based position pos matches the class; false outside the text.
bool CharAtIs(TextView s, long pos, TextView charClass);

// Numbers.
double Val(TextView s);        // the number at the start of s, 0 when there is none
bool IsNumeric(TextView s);    // the strict numeric-text test
Text Str(double v);            // " 1.5", "-2", " .5", up to 15 significant digits
Text NumText(double v);        // plain form: Str without the blank before non-negative numbers
Text IntText(long v);          // integer as text in concatenation: no blank
double RoundHalfEven(double v);                 // to a whole number, halves to even
double RoundHalfEven(double v, int decimals);   // to decimals places, halves to even
double Int(double v);          // largest whole number <= v
double Fix(double v);          // truncation toward zero
// Conversion to the 16-bit integer type: rounds half to even; false when out of range.
bool ToInt16(double v, int16_t& out);

// Packed colours: red + 256 * green + 65536 * blue.
constexpr int32_t RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }
void SplitRGB(int32_t color, int& red, int& green, int& blue);

}  // namespace rt
