#include <gtest/gtest.h>

#include <random>
#include <set>

#include "language/Simplify.h"
#include "language/Tokens.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using TokensTest = LanguageTest;

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

// On texts mixing names, their pieces, brackets and tokens, tokenising (in place as well) gives
// what replacing every name in table order gives, and detokenising gives the names back.
TEST_F(TokensTest, TokenizingEqualsReplacingEveryNameInTableOrder) {
  // The pieces, separated by blanks.
  const rt::Text pieceList =
      u"Sin[ ASin[ aTan[ vTan[ vUnit[ Diff[ vDiff[ Sinh[ sin[ Cos [ x A v 3 - + \u00C8[ "
      u"PlotField3D[ Ln[ lN[ Int[ Integ[ Sin( Tan";
  std::vector<rt::Text> pieces;
  for (size_t from = 0, to; from < pieceList.size(); from = to + 1) {
    to = std::min(pieceList.find(u' ', from), pieceList.size());
    pieces.push_back(pieceList.substr(from, to - from));
  }
  std::mt19937 rng(3);
  for (int n = 0; n < 3000; ++n) {
    rt::Text text;
    const int count = 1 + static_cast<int>(rng() % 12);
    for (int k = 0; k < count; ++k) text += pieces[rng() % pieces.size()];
    rt::Text expected = text;
    for (const BuiltinRec& b : Tables.BuiltinNames)
      expected = rt::Replace(expected, b.Name, b.Token);
    rt::Text tokens = text;
    TokenizeNames(tokens, tokens);
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
