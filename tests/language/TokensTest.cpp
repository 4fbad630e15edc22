#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ms
