#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "language/ExpressionTypes.h"

namespace ms {
namespace {

using ExpressionTypesTest = LanguageTest;
using RewriteFn = int16_t (*)(const rt::Text&, rt::Text&);

// The messages the whole checker cannot reach first, and the rewrites to the stored form:
// {check, input (names spelled out), message, stored form when the message is 0}.
TEST_F(ExpressionTypesTest, RewritesAndTheirMessages) {
  const struct {
    RewriteFn check;
    const char16_t* text;
    int16_t msg;
    const char16_t* stored;
  } cases[] = {{CheckStatementKind, u"Zero[F,{0,1},r,1]", 0, u"Zero[F,{0,1},r,1]"},
               {CheckConstantStatement, u"a=F{x,2}", 0, u"a_=F_{x_,2}"},
               {CheckConstantStatement, u"Ab=1", 203, u""},
               {CheckFunctionStatement, u"G{y}=B.y", 0, u"G_{y}=B_.y_"},
               {CheckFunctionStatement, u"f{x}=x", 204, u""},
               {CheckFunctionStatement, u"F2{x}=x", 211, u""},
               {CheckFunctionStatement, u"F{1}=x", 212, u""},
               {CheckFunctionStatement, u"F{x}x", 213, u""},
               {CheckFunctionStatement, u"F{x,1}=x", 214, u""},
               {CheckFunctionStatement, u"F{x,y}x", 215, u""},
               {CheckFunctionStatement, u"F{x,y,1}=x", 216, u""},
               {CheckFunctionStatement, u"F{x,yz}=x", 217, u""},
               {CheckVectorStatement, u"A<t>=<E,Ex,1.5E2>", 0, u"A_<t>=<E_,Ex,1.5E2>"},
               {CheckVectorStatement, u"a<t>=<t,t,t>", 225, u""},
               {CheckVectorStatement, u"AB<t>=<t,t,t>", 226, u""},
               {CheckVectorStatement, u"A<1>=<t,t,t>", 231, u""},
               {CheckVectorStatement, u"A<t>x<t,t,t>", 232, u""},
               {CheckVectorStatement, u"A<t>=<2e,t,t>", 227, u""},
               {CheckVectorStatement, u"A<t>=<t>", 234, u""},
               {CheckVectorStatement, u"A<t>=<t,t,t", 235, u""},
               {CheckParameterSet, u"<t=2*a;u=b>", 0, u"<t=2*a;u=b_>"},
               {CheckParameterSet, u"<t=12", 243, u""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text out = u"untouched";
    EXPECT_EQ(c.check(Tok(c.text), out), c.msg);
    EXPECT_EQ(U8(out), c.msg == 0 ? U8(Tok(c.stored)) : "untouched");
  }
  // The checker passes one variable as both text and outText.
  int16_t msg = 0;
  rt::Text same = u"F{x}=x+k";
  msg = CheckStatementKind(same, same);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(same, u"F_{x}=x+k_");
}

}  // namespace
}  // namespace ms
