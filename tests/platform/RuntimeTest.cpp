#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

#include "platform/runtime/Runtime.h"

namespace {

using rt::Text;

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(RuntimeText, SubstringsAndReplaceStayInsideTheText) {
  struct Case {
    const char* what;
    Text got, expected;
  };
  const Case cases[] = {
      {"Mid length past end", rt::Mid(u"abc", 3, 5), u"c"},
      {"Mid start past end", rt::Mid(u"abc", 100, 1), u""},
      {"Mid negative start is 1", rt::Mid(u"abc", -5, 2), u"ab"},
      {"Mid negative length", rt::Mid(u"abc", 2, -1), u""},
      {"Left too long", rt::Left(u"abc", 9), u"abc"},
      {"Left negative", rt::Left(u"abc", -1), u""},
      {"Right too long", rt::Right(u"abc", 9), u"abc"},
      {"LCase ASCII only", rt::LCase(u"ABZ\u00C0\u00C8["), u"abz\u00C0\u00C8["},
      // Replace works left to right and does not rescan what it put in.
      {"Replace growing", rt::Replace(u"aaa", u"a", u"aa"), u"aaaaaa"},
      {"Replace overlapping", rt::Replace(u"aaa", u"aa", u"b"), u"ba"},
      {"Replace nothing", rt::Replace(u"x", u"", u"y"), u"x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(rt::ToUtf8(c.got), rt::ToUtf8(c.expected));
  }
}

TEST(RuntimeText, InStrFindsOneBasedPositions) {
  struct Case {
    long start;
    const char16_t *s, *find;
    long expected;
  };
  const Case cases[] = {
      {1, u"abcabc", u"c", 3}, {4, u"abcabc", u"c", 6},   {7, u"abcabc", u"c", 0},
      {0, u"abcabc", u"a", 1}, {-3, u"abcabc", u"bc", 2}, {1, u"abc", u"abcd", 0},
      {1, u"", u"a", 0},       {4, u"abc", u"", 4},       {5, u"abc", u"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.s) + " / " + rt::ToUtf8(c.find) + " from " + std::to_string(c.start));
    EXPECT_EQ(rt::InStr(c.start, c.s, c.find), c.expected);
  }
  EXPECT_EQ(rt::InStrRev(u"abcabc", u"bc"), 5);
  EXPECT_EQ(rt::InStrRev(u"abcabc", u"x"), 0);
  EXPECT_EQ(rt::InStrRev(u"abc", u""), 3);
}

// Tokens (U+00C8 and up) are never letters; E is left out of "A-DF-Z"; a comma, '!' not in first
// place and '-' first or last are members; a reversed range, an unterminated class, "[]" and the
// character 0 match nothing; "?" and "#" are the one-character patterns.
TEST(RuntimeText, CharacterClassesCompareByCodePoint) {
  struct Case {
    char16_t c;
    const char16_t* cls;
    bool expected;
  };
  const Case cases[] = {
      {u'a', u"[a-z0-9]", true},
      {u'A', u"[!A-Z]", false},
      {u'\u00FF', u"[!A-Z]", true},
      {u'E', u"[a-zA-DF-Z(]", false},
      {u'(', u"[a-zA-DF-Z(]", true},
      {u',', u"[a-d,f-z,A-D,F-Z]", true},
      {u'!', u"[a-z,0-9,!@#$%^&*()_=+`~\\|;:'<.>/?]", true},
      {u'\u00D5', u"[!A-Za-z0-9.(\u00C8-\u00D5\u00DD\u00DE\u00E4]", false},
      {u'\u00D6', u"[!A-Za-z0-9.(\u00C8-\u00D5\u00DD\u00DE\u00E4]", true},
      {u'-', u"[-+]", true},
      {u'-', u"[+-]", true},
      {u',', u"[+-]", false},
      {u'b', u"[z-a]", false},
      {u'a', u"[a-z", false},
      {u'a', u"[]", false},
      {u'x', u"?", true},
      {u'7', u"#", true},
      {u'\0', u"[!A-Z]", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(Text(1, c.c)) + " in " + rt::ToUtf8(c.cls));
    EXPECT_EQ(rt::CharIs(c.c, c.cls), c.expected);
  }
  // The named classes are the wildcard classes, edges and tokens included.
  for (char32_t c = 0; c <= 0x1FF; ++c) {
    const auto ch = static_cast<char16_t>(c);
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_EQ(rt::IsLower(ch), rt::CharIs(ch, u"[a-z]"));
    EXPECT_EQ(rt::IsUpper(ch), rt::CharIs(ch, u"[A-Z]"));
    EXPECT_EQ(rt::IsLetter(ch), rt::CharIs(ch, u"[a-zA-Z]"));
    EXPECT_EQ(rt::IsDigit(ch), rt::CharIs(ch, u"[0-9]"));
  }
}

// Val reads the number at the start of a text (blanks inside it skipped, D as E); IsNumeric is
// true only for a whole text that is one finite number.
TEST(RuntimeNumbers, ValReadsTheNumberAtTheStartAndIsNumericTheWholeText) {
  struct Case {
    Text s;
    double value;
    bool numeric;
  };
  const Case cases[] = {
      {u" 2.5 ", 2.5, true},
      {u"+.5", 0.5, true},
      {u"2.5E+3", 2500, true},
      {u"1.5D2", 150, true},
      {u"2d+1", 20, true},
      {u"12abc", 12, false},
      {u"", 0, false},
      {u"1E", 1, false},
      {u" 0E 0", 0, false},
      {u"1 2", 12, false},
      {u"\t1", 1, false},
      {u"1,5", 1, false},
      {u"-1E400", -kInf, false},
      {u"1.5E-400", 0, true},
      {u"1E0000000000000000002", 100, true},
      {u"1E99999999999", kInf, false},
      {u"0.0000000000000000000000000000001E40", 1e9, true},
      // Long digit runs: overflow is decided by magnitude, not by the count of digits.
      {u"0." + Text(400, u'0') + u"1", 0, true},
      {u"1" + Text(400, u'0'), kInf, false},
      {u"-" + Text(400, u'9') + u"e-10", -kInf, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("\"" + rt::ToUtf8(c.s).substr(0, 40) + "\"");
    EXPECT_EQ(rt::Val(c.s), c.value);  // from_chars rounds correctly: exact to the literal
    EXPECT_EQ(rt::IsNumeric(c.s), c.numeric);
  }
}

TEST(RuntimeNumbers, StrAndNumTextForms) {
  struct Case {
    double v;
    const char16_t *str, *plain;
  };
  const Case cases[] = {
      {-0.0, u" 0", u"0"},
      {-0.25, u"-.25", u"-0.25"},
      {2.0 / 3, u" .666666666666667", u"0.666666666666667"},
      {123456789012345, u" 123456789012345", u"123456789012345"},
      {1234567890123456, u" 1.23456789012346E+15", u"1.23456789012346E+15"},
      {999999999999999.9, u" 1E+15", u"1E+15"},
      {1e-15, u" .000000000000001", u"0.000000000000001"},
      {2.5e-16, u" 2.5E-16", u"2.5E-16"},
      {kInf, u" Inf", u"Inf"},
      {kNan, u" NaN", u"NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v));
    EXPECT_EQ(rt::ToUtf8(rt::Str(c.v)), rt::ToUtf8(c.str));
    EXPECT_EQ(rt::ToUtf8(rt::NumText(c.v)), rt::ToUtf8(c.plain));
  }
  EXPECT_EQ(rt::ToUtf8(rt::IntText(-32768) + u"|" + rt::IntText(1230)), "-32768|1230");
}

// The round-trip form: NumText's layout with the fewest digits that read back as the same double
// (the shortest texts as IEEE arithmetic gives them: 0.1 + 0.2, 2/3, (0.1 + 0.2) - 0.3).
TEST(RuntimeNumbers, RoundTripTextIsTheShortestExactForm) {
  const std::pair<double, const char*> cases[] = {
      {0.1 + 0.2, "0.30000000000000004"},
      {2.0 / 3, "0.6666666666666666"},
      {-1.0 / 3, "-0.3333333333333333"},
      {(0.1 + 0.2) - 0.3, "5.551115123125783E-17"},
      {0.1, "0.1"},
      {1e-5, "0.00001"},
      {2.5, "2.5"},
      {123456789012345.67, "123456789012345.67"},
      {1e23, "1E+23"},
      {std::numeric_limits<double>::max(), "1.7976931348623157E+308"},
      {0x1p-1074, "5E-324"},
      {0x1p-1074 * 3, "1.5E-323"},
      {-0.0, "0"},
      {kInf, "Inf"},
  };
  for (const auto& [v, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(rt::ToUtf8(rt::RoundTripText(v)), text);
  }
  // Over random bit patterns: Val reads every text back to the same double, and one digit fewer
  // (the C library's rounding of it) would not.
  std::mt19937_64 bits(20261207);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::bit_cast<double>(bits());
    if (!std::isfinite(v) || v == 0) continue;
    const Text text = rt::RoundTripText(v);
    SCOPED_TRACE(rt::ToUtf8(text));
    ASSERT_EQ(rt::Val(text), v);
    // The significant digits: those of the mantissa without leading or trailing zeros.
    const std::string u8 = rt::ToUtf8(text);
    std::string digits;
    for (const char c : u8.substr(0, u8.find('E')))
      if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits.push_back(c);
    const size_t significant = digits.find_last_not_of('0') + 1;
    std::array<char, 64> fewer{};
    if (significant > 1) {
      std::snprintf(fewer.data(), fewer.size(), "%.*e", static_cast<int>(significant) - 2, v);
      ASSERT_NE(std::strtod(fewer.data(), nullptr), v);
    }
  }
}

// RoundHalfEven takes halves to the even neighbour, Int rounds down.
TEST(RuntimeNumbers, RoundingIntSgnSixteenBitsAndColours) {
  struct Case {
    double v, even, intV;
    int sgn;
  };
  const Case cases[] = {
      {0.5, 0, 0, 1},
      {1.5, 2, 1, 1},
      {2.5, 2, 2, 1},
      {-2.5, -2, -3, -1},
      {0, 0, 0, 0},
      {-0.2, 0, -1, -1},
      {0.49999999999999994, 0, 0, 1},
      {2.5000000000000004, 3, 2, 1},
      {4503599627370497.0, 4503599627370497.0, 4503599627370497.0, 1},
      {-1e300, -1e300, -1e300, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v));
    EXPECT_EQ(rt::RoundHalfEven(c.v), c.even);
    EXPECT_EQ(rt::Int(c.v), c.intV);
    EXPECT_EQ(rt::Sgn(c.v), c.sgn);
  }
  EXPECT_FALSE(std::signbit(rt::RoundHalfEven(-0.3)));
  EXPECT_TRUE(std::isnan(rt::RoundHalfEven(kNan)));
  EXPECT_EQ(rt::Sgn(kNan), 0);
  // To a number of decimals (a negative count is 0, a count past the digits keeps the value).
  const std::array<double, 3> decimals[] = {
      {0.125, 2, 0.12},  {0.375, 2, 0.38},     {-0.125, 2, -0.12}, {2.5, -1, 2},
      {1e300, 5, 1e300}, {12.3456, 3, 12.346}, {1.5, 400, 1.5}};
  for (const auto& [v, n, expected] : decimals)
    EXPECT_DOUBLE_EQ(rt::RoundHalfEven(v, static_cast<int>(n)), expected) << v << " to " << n;
  // Halves to even, and both sides of either end of the 16-bit range.
  const std::pair<double, int> i16[] = {{2.5, 2},       {3.5, 4},           {32767.4, 32767},
                                        {32767.5, 123}, {-32768.5, -32768}, {-32769, 123},
                                        {kNan, 123},    {kInf, 123}};
  for (const auto& [v, expected] : i16) {
    SCOPED_TRACE(std::to_string(v));
    int16_t out = 123;
    EXPECT_EQ(rt::ToInt16(v, out), expected != 123);
    EXPECT_EQ(out, expected);
  }
  // Packed colours: red in the low byte.
  for (const auto& [color, rgb] :
       {std::pair{0x808040, std::array{64, 128, 128}}, {-1, {255, 255, 255}}}) {
    SCOPED_TRACE(color);
    int r = -1, g = -1, b = -1;
    rt::SplitRGB(color, r, g, b);
    EXPECT_EQ((std::array{r, g, b}), rgb);
  }
  EXPECT_EQ(rt::RGB(192, 255, 192), 0xC0FFC0);
}

TEST(RuntimeText, Utf8ConversionAtTheEdges) {
  struct Case {
    std::string utf8;
    Text utf16;
    bool roundTrip;
  };
  const Case cases[] = {
      {"\xC3\x88[x]", u"\u00C8[x]", true},             // a token character
      {"\xE2\x82\xAC", u"\u20AC", true},               // three bytes
      {"\xF0\x9F\x98\x80", u"\U0001F600", true},       // surrogate pair
      {"a\xFF", u"a\uFFFD", false},                    // not a lead byte
      {"\xC3", u"\uFFFD", false},                      // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD", false},            // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},  // an encoded surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(rt::FromUtf8(c.utf8), c.utf16);
    EXPECT_EQ(rt::ToUtf8(c.utf16) == c.utf8, c.roundTrip);
  }
  EXPECT_EQ(rt::ToUtf8(Text(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
