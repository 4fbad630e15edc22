#include <gtest/gtest.h>

#include "language/Simplify.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using SimplifyTest = LanguageTest;

// Each pass on its own (the digit of a one-pass list) and lists run in order.
TEST_F(SimplifyTest, PassListsRunInOrder) {
  const struct {
    const char16_t *expr, *list, *out;
  } cases[] = {{u" a + b ", u"[0]", u"a+b"},
               {u"F{(t)}", u"[1]", u"F{t}"},
               {u"F{(-)}", u"[1]", u"F{(-)}"},
               {u"((2.5))", u"[2]", u"(2.5)"},
               {u"S[T[(x)]]+U[(y)]", u"[3]", u"S[T[x]]+U[(y)]"},
               {u"S[C[(a)+(b)]]", u"[3]", u"S[C[(a)+(b)]]"},
               {u"x+0*(a+b)", u"[4]", u"x+0"},
               {u"x^0*(a)", u"[4]", u"x^0*(a)"},
               {u"(a+b)*0+x", u"[5]", u"0+x"},
               {u"F{(a)*0}", u"[5]", u"F{0}"},
               {u"x-1*y", u"[6]", u"x-y"},
               {u"2E+1*y", u"[6]", u"2E+1*y"},
               {u"x*1+y", u"[7]", u"x+y"},
               {u"x*1E3", u"[7]", u"x*1E3"},
               {u"+x", u"[8]", u"0+x"},
               {u"(a)+(b)", u"[9]", u"(a)+(b)"},
               {u"((a)+(b))", u"[9]", u"(a)+(b)"},
               {u"(x)", u"[3,9]", u"x"},
               {u"(((7)))", u"[2,2,2]", u"7"},
               {u"(-7)", u"[2,2,2]", u"(-7)"},
               {u"(x)", u"[x,9]", u"x"},  // an unknown selector runs no pass
               {u"((2))", u"[2,2", u"2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.expr) + " " + U8(c.list));
    rt::Text r = c.expr;
    Simplify(r, c.list, r);
    EXPECT_EQ(U8(r), U8(c.out));
  }
  // A list without its "[" is a programming error: a box, then the program ends.
  rt::Text r = u"(x)";
  Simplify(r, u"3,9]", r);
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(U8(screen_.boxes[0].text), "?");
  EXPECT_EQ(screen_.endProgramCalls, 1);
  EXPECT_EQ(U8(r), "(x)");
}

// A text beyond 32,000 characters is refused with 512, directly and inside a pass list; nothing is
// emptied and no box is shown (the caller stops its run with the message).
TEST_F(SimplifyTest, DropParensOnSingleLengthLimit) {
  const rt::Text atLimit = u"F{(t)}" + rt::String(kMaxSimplifyLength - 6, u'x');
  int16_t msg = -1;
  EXPECT_EQ(DropParensOnSingle(atLimit, msg).size(), static_cast<size_t>(kMaxSimplifyLength - 2));
  EXPECT_EQ(0, msg);
  const rt::Text over = atLimit + u"x";
  EXPECT_EQ(DropParensOnSingle(over, msg), over);
  EXPECT_EQ(kMsgSimplifyTooLong, msg);
  rt::Text result = u"untouched";
  Simplify(over, u"[2,1,9]", result, msg);
  EXPECT_EQ(kMsgSimplifyTooLong, msg);
  EXPECT_EQ(u"untouched", result);
  EXPECT_TRUE(screen_.boxes.empty());
}

}  // namespace
}  // namespace ms
