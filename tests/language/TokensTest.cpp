#include <gtest/gtest.h>

#include <random>
#include <set>

#include "LanguageFixture.h"
#include "language/Simplify.h"
#include "language/Tokens.h"

namespace ms {
namespace {

using TokensTest = LanguageTest;

rt::Text T(char16_t token) {
  return rt::Text(1, token);
}

// Every name becomes its own token (the repairs undo a shorter name found inside a longer one)
// and back, except the three names no repair covers.
TEST_F(TokensTest, EveryNameRoundTripsThroughItsToken) {
  const std::set<std::string> noRepair = {"alog[", "dblInt[", "dblint["};
  for (int k = 0; k < kBuiltinCount; ++k) {
    const BuiltinRec& b = Tables.BuiltinNames[k];
    SCOPED_TRACE(U8(b.Name));
    rt::Text tok;
    TokenizeNames(b.Name + u"x]", tok);
    if (noRepair.count(U8(b.Name))) {
      EXPECT_NE(tok, b.Token + u"x]");
      continue;
    }
    EXPECT_EQ(tok, b.Token + u"x]");
    rt::Text back;
    DetokenizeNames(tok, back);
    EXPECT_EQ(U8(back), U8(RemoveBlanks(Tables.BuiltinNames[k % 55].Name) + u"x]"));
  }
}

TEST_F(TokensTest, TokenizeInTextAndInPlace) {
  const struct {
    rt::Text in, out;
  } cases[] = {{u"F{x}=sin[x]+ASin[x]", u"F{x}=" + T(u'\u00C8') + u"[x]+" + T(u'\u00CB') + u"[x]"},
               {u"Sin[Cos[x]]", T(u'\u00C8') + u"[" + T(u'\u00C9') + u"[x]]"},
               {u"Sin(x)+Tan", u"Sin(x)+Tan"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.in));
    rt::Text out;
    TokenizeNames(c.in, out);
    EXPECT_EQ(U8(out), U8(c.out));
    rt::Text same = c.in;
    TokenizeNames(same, same);
    EXPECT_EQ(U8(same), U8(c.out));
  }
}

TEST_F(TokensTest, DetokenizeForNamesAndForDisplay) {
  const struct {
    rt::Text in;
    const char *names, *display;
  } cases[] = {{u"b_ = 2 * c_", "b_=2*c_", "b = 2 * c"},
               {T(u'\u00C8') + u"+" + T(u'\u00FE') + u"[F]", "\u00C8+dblInt[F]", "Sin+dblInt[F]"},
               {u"", "", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.in));
    rt::Text out;
    DetokenizeNames(c.in, out);
    EXPECT_EQ(U8(out), c.names);
    EXPECT_EQ(U8(DetokenizeForDisplay(c.in)), c.display);
  }
}

// The name look-up skips names that cannot occur; on texts mixing names, their pieces, brackets
// and tokens it gives what replacing every name in table order gives.
TEST_F(TokensTest, SkippingAbsentNamesChangesNothing) {
  const char16_t* const pieces[] = {u"Sin[",
                                    u"ASin[",
                                    u"aTan[",
                                    u"vTan[",
                                    u"vUnit[",
                                    u"Diff[",
                                    u"vDiff[",
                                    u"Sinh[",
                                    u"sin[",
                                    u"Cos",
                                    u"[",
                                    u"x",
                                    u"A",
                                    u"v",
                                    u"3",
                                    u"-",
                                    u"+",
                                    u"\u00C8[",
                                    u"PlotField3D[",
                                    u"Ln[",
                                    u"lN[",
                                    u"Int[",
                                    u"Integ["};
  std::mt19937 rng(3);
  for (int n = 0; n < 3000; ++n) {
    rt::Text text;
    const int count = 1 + static_cast<int>(rng() % 12);
    for (int k = 0; k < count; ++k) text += pieces[rng() % std::size(pieces)];
    rt::Text expected = text;
    for (const BuiltinRec& b : Tables.BuiltinNames)
      expected = rt::Replace(expected, b.Name, b.Token);
    rt::Text tokens;
    TokenizeNames(text, tokens);
    rt::Text plain = expected;
    // The repairs of a longer name found as a shorter one follow in both.
    TokenizeNames(expected, plain);
    EXPECT_EQ(tokens, plain) << rt::ToUtf8(text);
    rt::Text back, expectedBack = tokens;
    for (const BuiltinRec& b : Tables.BuiltinNames) {
      if (!b.Token.empty()) expectedBack = rt::Replace(expectedBack, b.Token, b.Name);
    }
    DetokenizeNames(tokens, back);
    EXPECT_EQ(back, RemoveBlanks(expectedBack)) << rt::ToUtf8(text);
  }
}

}  // namespace
}  // namespace ms
