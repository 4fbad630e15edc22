#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "platform/runtime/Runtime.h"

namespace {

using rt::Text;

std::string U8(const Text& t) {
  return rt::ToUtf8(t);
}

const double kInf = std::numeric_limits<double>::infinity();

TEST(RuntimeText, SubstringsStayInsideTheText) {
  struct Case {
    const char* what;
    Text got, expected;
  };
  const Case cases[] = {
      {"Mid to end", rt::Mid(u"abcdef", 3), u"cdef"},
      {"Mid with length", rt::Mid(u"abcdef", 2, 3), u"bcd"},
      {"Mid length past end", rt::Mid(u"abc", 3, 5), u"c"},
      {"Mid start past end", rt::Mid(u"abc", 100, 1), u""},
      {"Mid start 0 is 1", rt::Mid(u"abc", 0, 2), u"ab"},
      {"Mid negative start", rt::Mid(u"abc", -5), u"abc"},
      {"Mid negative length", rt::Mid(u"abc", 2, -1), u""},
      {"Left too long", rt::Left(u"abc", 9), u"abc"},
      {"Left negative", rt::Left(u"abc", -1), u""},
      {"Right", rt::Right(u"abc", 2), u"bc"},
      {"Right too long", rt::Right(u"abc", 9), u"abc"},
      {"Trim keeps tabs", rt::Trim(u" \ta\t "), u"\ta\t"},
      {"RTrim", rt::RTrim(u"  a  "), u"  a"},
      {"UCase ASCII only", rt::UCase(u"abz\u00C8\u00E0{"), u"ABZ\u00C8\u00E0{"},
      {"LCase ASCII only", rt::LCase(u"ABZ\u00C0\u00C8["), u"abz\u00C0\u00C8["},
      {"String", rt::String(2, u'#'), u"##"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(U8(c.got), U8(c.expected));
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
      {2, u"(-(-", u"(-", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.s) + " / " + U8(c.find) + " from " + std::to_string(c.start));
    EXPECT_EQ(rt::InStr(c.start, c.s, c.find), c.expected);
  }
  EXPECT_EQ(rt::InStrRev(u"abcabc", u"bc"), 5);
  EXPECT_EQ(rt::InStrRev(u"abcabc", u"x"), 0);
  EXPECT_EQ(rt::InStrRev(u"abc", u""), 3);
}

TEST(RuntimeText, ReplaceIsLeftToRightWithoutRescanning) {
  struct Case {
    const char16_t *s, *find, *with, *expected;
  };
  const Case cases[] = {
      {u"aaa", u"a", u"aa", u"aaaaaa"},
      {u"aaa", u"aa", u"b", u"ba"},
      {u"(-(-x", u"(-", u"(0-", u"(0-(0-x"},
      {u"abab", u"ab", u"", u""},
      {u"x", u"", u"y", u"x"},
      {u"", u"a", u"b", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.s) + " : " + U8(c.find) + " -> " + U8(c.with));
    EXPECT_EQ(U8(rt::Replace(c.s, c.find, c.with)), U8(c.expected));
  }
}

TEST(RuntimeText, CharacterClassesCompareByCodePoint) {
  struct Case {
    char16_t c;
    const char16_t* cls;
    bool expected;
  };
  // Tokens (U+00C8 and up) are never letters; E is left out of "A-DF-Z"; a comma, '!' not in
  // first place and '-' first or last are members; a reversed range, an unterminated class and
  // an empty character match nothing.
  const Case cases[] = {
      {u'a', u"[a-z0-9]", true},
      {u'5', u"[a-z0-9]", true},
      {u'A', u"[a-z0-9]", false},
      {u'\u00C8', u"[a-z0-9]", false},
      {u'A', u"[!A-Z]", false},
      {u'\u00FF', u"[!A-Z]", true},
      {u'E', u"[a-zA-DF-Z(]", false},
      {u'F', u"[a-zA-DF-Z(]", true},
      {u'(', u"[a-zA-DF-Z(]", true},
      {u',', u"[a-d,f-z,A-D,F-Z]", true},
      {u'e', u"[a-d,f-z,A-D,F-Z]", false},
      {u'!', u"[a-z,0-9,!@#$%^&*()_=+`~\\|;:'<.>/?]", true},
      {u'\\', u"[a-z,0-9,!@#$%^&*()_=+`~\\|;:'<.>/?]", true},
      {u'\u00D5', u"[!A-Za-z0-9.(\u00C8-\u00D5\u00DD\u00DE\u00E4]", false},
      {u'\u00D6', u"[!A-Za-z0-9.(\u00C8-\u00D5\u00DD\u00DE\u00E4]", true},
      {u'\u00E1', u"[\u00D8-\u00DC\u00F7\u00F8\u00F9\u00FA,\u00DF-\u00E3]", true},
      {u'\u00DD', u"[\u00D8-\u00DC\u00F7\u00F8\u00F9\u00FA,\u00DF-\u00E3]", false},
      {u'-', u"[-+]", true},
      {u'-', u"[+-]", true},
      {u',', u"[+-]", false},
      {u'\0', u"[!A-Z]", false},
      {u'b', u"[z-a]", false},
      {u'a', u"[a-z", false},
      {u'a', u"[]", false},
      {u'x', u"?", true},
      {u'7', u"#", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(Text(1, c.c)) + " in " + U8(c.cls));
    EXPECT_EQ(rt::CharIs(c.c, c.cls), c.expected);
  }
  // Outside the text no class matches, negated or not.
  for (long pos : {0L, 4L, -1L}) {
    SCOPED_TRACE(pos);
    EXPECT_FALSE(rt::CharAtIs(u"ab1", pos, u"[a-z0-9]"));
    EXPECT_FALSE(rt::CharAtIs(u"ab1", pos, u"[!a-z0-9]"));
  }
  EXPECT_TRUE(rt::CharAtIs(u"ab1", 3, u"[a-z0-9]"));
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

TEST(RuntimeText, LikeMatchesWholeTexts) {
  struct Case {
    const char16_t *s, *pattern;
    bool expected;
  };
  const Case cases[] = {
      {u"Plot[A,{t,0,1}]", u"Plot[[]*", true},
      {u"plot[A", u"Plot*", false},
      {u"ac", u"a?c", false},
      {u"1.5", u"#.#", true},
      {u"ab9", u"*[!0-9]", false},
      {u"", u"*", true},
      {u"aaab", u"*ab", true},
      {u"aXbc", u"*X*X*", false},
      {u"abc", u"ab", false},
      {u"a", u"[a", false},
      {u"F_{x}=x", u"[A-Z][a-z_]{*", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.s) + " Like " + U8(c.pattern));
    EXPECT_EQ(rt::Like(c.s, c.pattern), c.expected);
  }
}

TEST(RuntimeNumbers, ValReadsTheNumberAtTheStart) {
  struct Case {
    Text s;
    double expected;
  };
  const Case cases[] = {
      {u" 2.5", 2.5},
      {u"+7", 7},
      {u"12abc", 12},
      {u"abc", 0},
      {u"-", 0},
      {u"-.5", -0.5},
      {u"5.", 5},
      {u"1e-2", 0.01},
      {u"1.5D2", 150},
      {u"2d+1", 20},
      {u" 0E 0", 0},
      {u"1 2", 12},
      {u"- 3", -3},
      {u"1.2.3", 1.2},
      {u"1E+x", 1},
      {u"(2.5)", 0},
      {u"&H10", 0},
      {u"1,5", 1},
      {u"-1E400", -kInf},
      {u"1E-400", 0},
      {u"1E0000000000000000002", 100},
      {u"1E99999999999", kInf},
      {u"0.0000000000000000000000000000001E40", 1e9},
      // Long digit runs: overflow is decided by magnitude, not by the count of digits.
      {u"0." + Text(400, u'0') + u"1", 0},
      {u"1" + Text(400, u'0'), kInf},
      {u"-" + Text(400, u'9') + u"e-10", -kInf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.s).substr(0, 40));
    const double got = rt::Val(c.s);
    if (std::isinf(c.expected) || c.expected == 0) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_DOUBLE_EQ(got, c.expected);
    }
  }
}

TEST(RuntimeNumbers, IsNumericIsStrict) {
  struct Case {
    const char16_t* s;
    bool expected;
  };
  const Case cases[] = {
      {u" 1 ", true},   {u"+.5", true},   {u"5.", true},     {u"2.5E+3", true}, {u"1.5D3", true},
      {u"", false},     {u" ", false},    {u".", false},     {u"-", false},     {u"1E", false},
      {u"1e+", false},  {u"1,5", false},  {u"1.2.3", false}, {u"1 2", false},   {u"--1", false},
      {u"1-", false},   {u"&H10", false}, {u"\t1", false},   {u"1E400", false}, {u"1.5E-400", true},
      {u"-.E1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("\"" + U8(c.s) + "\"");
    EXPECT_EQ(rt::IsNumeric(c.s), c.expected);
  }
}

TEST(RuntimeNumbers, StrAndNumTextForms) {
  struct Case {
    double v;
    const char16_t *str, *plain;
  };
  const Case cases[] = {
      {-0.0, u" 0", u"0"},
      {2.5, u" 2.5", u"2.5"},
      {-0.25, u"-.25", u"-0.25"},
      {0.1 + 0.2, u" .3", u"0.3"},
      {2.0 / 3, u" .666666666666667", u"0.666666666666667"},
      {123456789012345, u" 123456789012345", u"123456789012345"},
      {1234567890123456, u" 1.23456789012346E+15", u"1.23456789012346E+15"},
      {999999999999999.9, u" 1E+15", u"1E+15"},
      {-1.5e100, u"-1.5E+100", u"-1.5E+100"},
      {1e-15, u" .000000000000001", u"0.000000000000001"},
      {2.5e-16, u" 2.5E-16", u"2.5E-16"},
      {kInf, u" Inf", u"Inf"},
      {-kInf, u"-Inf", u"-Inf"},
      {std::nan(""), u" NaN", u"NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v));
    EXPECT_EQ(U8(rt::Str(c.v)), U8(c.str));
    EXPECT_EQ(U8(rt::NumText(c.v)), U8(c.plain));
  }
  EXPECT_EQ(U8(rt::IntText(-32768) + u"|" + rt::IntText(1230)), "-32768|1230");
  // The numerical commands write numbers into evaluation texts and read them back with Val:
  // the round trip keeps 15 significant digits.
  for (double v : {1.0 / 3, 123456.789, 1e-12, -7e22, 6.02214076e23}) {
    SCOPED_TRACE(std::to_string(v));
    EXPECT_NEAR(rt::Val(rt::Str(v)), v, std::fabs(v) * 1e-14);
    EXPECT_NEAR(rt::Val(rt::NumText(v)), v, std::fabs(v) * 1e-14);
    EXPECT_TRUE(rt::IsNumeric(rt::Str(v)));
  }
}

TEST(RuntimeNumbers, RoundingHalvesGoToEven) {
  // The last: the viewing-angle labels, -90 degrees back from radians.
  const std::pair<double, double> cases[] = {{0.5, 0},
                                             {1.5, 2},
                                             {2.5, 2},
                                             {-1.5, -2},
                                             {-2.5, -2},
                                             {2.6, 3},
                                             {0.49999999999999994, 0},
                                             {2.5000000000000004, 3},
                                             {4503599627370497.0, 4503599627370497.0},
                                             {1e300, 1e300},
                                             {-3.1415926536 / 2 * 180 / 3.1415926536, -90}};
  for (const auto& [v, expected] : cases) EXPECT_EQ(rt::RoundHalfEven(v), expected) << v;
  EXPECT_FALSE(std::signbit(rt::RoundHalfEven(-0.3)));
  EXPECT_TRUE(std::isnan(rt::RoundHalfEven(std::nan(""))));

  struct DecCase {
    double v;
    int decimals;
    double expected;
  };
  const DecCase decCases[] = {
      {0.125, 2, 0.12},  {0.375, 2, 0.38},     {-0.125, 2, -0.12}, {2.5, -1, 2},
      {1e300, 5, 1e300}, {12.3456, 3, 12.346}, {1.5, 400, 1.5},
  };
  for (const auto& c : decCases) {
    SCOPED_TRACE(std::to_string(c.v) + " to " + std::to_string(c.decimals));
    EXPECT_DOUBLE_EQ(rt::RoundHalfEven(c.v, c.decimals), c.expected);
  }
}

TEST(RuntimeNumbers, IntFixSgnAndSixteenBitConversion) {
  struct Case {
    double v, intV, fixV;
    int sgn;
  };
  const Case cases[] = {{2.7, 2, 2, 1}, {-2.7, -3, -2, -1}, {0, 0, 0, 0}, {-0.2, -1, -0, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v));
    EXPECT_EQ(rt::Int(c.v), c.intV);
    EXPECT_EQ(rt::Fix(c.v), c.fixV);
    EXPECT_EQ(rt::Sgn(c.v), c.sgn);
  }
  EXPECT_EQ(rt::Sgn(std::nan("")), 0);

  struct I16Case {
    double v;
    bool ok;
    int16_t expected;
  };
  const I16Case i16[] = {
      {2.5, true, 2},           {3.5, true, 4},     {32767.4, true, 32767},   {32767.5, false, 0},
      {-32768.5, true, -32768}, {-32769, false, 0}, {std::nan(""), false, 0}, {kInf, false, 0},
  };
  for (const auto& c : i16) {
    SCOPED_TRACE(std::to_string(c.v));
    int16_t out = 123;
    EXPECT_EQ(rt::ToInt16(c.v, out), c.ok);
    EXPECT_EQ(out, c.ok ? c.expected : 123);
  }
}

TEST(RuntimeColours, PackedRgbSplitsIntoBytes) {
  struct Case {
    int32_t color;
    int r, g, b;
  };
  const Case cases[] = {
      {0xFF, 255, 0, 0}, {0xFF0000, 0, 0, 255}, {0x808040, 64, 128, 128},
      {0, 0, 0, 0},      {-1, 255, 255, 255},   {rt::RGB(192, 255, 192), 192, 255, 192},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.color));
    int r = -1, g = -1, b = -1;
    rt::SplitRGB(c.color, r, g, b);
    EXPECT_EQ((std::array{r, g, b}), (std::array{c.r, c.g, c.b}));
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
    if (c.roundTrip) {
      EXPECT_EQ(rt::ToUtf8(c.utf16), c.utf8);
    }
  }
  EXPECT_EQ(rt::ToUtf8(Text(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}

// The numeric 15-digit rounding is the text round trip it replaces, to the bit, over every range
// of doubles: bit patterns at random (subnormals and the ends of the range included) and decimals
// whose 16th digit is a 5.
TEST(RuntimeNumbers, RoundSignificant15IsTheTextRoundTrip) {
  std::mt19937_64 rng(7);
  std::vector<double> values = {1.0000000000000049, 2.0000000000000051, 123456789012345.5,
                                0.1234567890123455, 1.7976931348623157e308, 4.9e-324,
                                2.2250738585072014e-308, 9.99999999999999e-310, 1e22,
                                // exact ties of the 16th digit, both ways to even
                                1234567890123455.0, 1234567890123465.0, 999999999999999.5,
                                99999999999999.95, 1e-8, 9.99999999999999e36, 1e37};
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-30, 40);
  // Decimals of 16 digits (their 16th a 5 in a tenth of them) at every scale of the fast range.
  for (int i = 0; i < 100000; ++i) {
    const double digits = static_cast<double>(rng() % 9000000000000000ULL + 1000000000000000ULL);
    values.push_back(digits * std::pow(10.0, exponent(rng) - 15));
  }
  for (int i = 0; i < 200000; ++i) {
    values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
    const uint64_t bits = rng();
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
  }
  for (double v : values)
    for (double s : {v, -v}) {
      const double byText = rt::Val(rt::NumText(s));
      const double byNumber = rt::RoundSignificant15(s);
      uint64_t a = 0, b = 0;
      std::memcpy(&a, &byText, sizeof a);
      std::memcpy(&b, &byNumber, sizeof b);
      ASSERT_EQ(a, b) << s;
    }
}

}  // namespace
