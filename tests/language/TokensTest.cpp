#include <gtest/gtest.h>

#include <set>

#include "language/Simplify.h"
#include "language/Tokens.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using TokensTest = LanguageTest;

// Every name becomes its own token (a longer name is read before the shorter name inside it) and
// back, except the three names whose shorter name is read first.
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

// What the user reads: every token spelled as its capitalised name, "_" dropped, anything else as
// it stands (blanks, characters next to the token range).
TEST_F(TokensTest, DisplayTextSpellsEveryToken) {
  const struct {
    rt::Text stored, shown;
  } cases[] = {
      {u"(\u00CA[((((t)^2)))])", u"(Tan[((((t)^2)))])"},
      {u"a_+\u00C8[x_]*\u00E4[2]", u"a+Sin[x]*Ln[2]"},
      {u"\u00D0", u"Inv"},
      {u"\u00F0[", u"- - -["},
      {u"\u00FF[\u00FE[\u00FC[", u"BVP[dblInt[Integ["},
      {u"\u00C7\u0100 x", u"\u00C7\u0100 x"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.shown));
    EXPECT_EQ(DetokenizeForDisplay(c.stored), c.shown);
  }
  for (int k = 0; k < kBuiltinCount / 2; ++k) {
    const BuiltinRec& b = Tables.BuiltinNames[k];
    SCOPED_TRACE(U8(b.Name));
    EXPECT_EQ(DetokenizeForDisplay(b.Token + u"t]"), b.Name + u"t]");
  }
}

}  // namespace
}  // namespace ms
