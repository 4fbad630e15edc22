#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "mathematics/Constants.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using ConstantsTest = LanguageTest;

// The shortest text that reads back as the same double (the runtime's RoundTripText, checked
// there) with its exceptions: an infinity is the 1E+20 stand-in, NaN and -0 are "0".
TEST_F(ConstantsTest, ValueTextIsThePlainNumberForm) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, const char*> cases[] = {{1.0 / 3, "0.3333333333333333"},
                                                  {0.1 + 0.2, "0.30000000000000004"},
                                                  {inf, "1E+20"},
                                                  {-inf, "-1E+20"},
                                                  {std::numeric_limits<double>::quiet_NaN(), "0"},
                                                  {-0.0, "0"}};
  for (const auto& [v, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(U8(ValueToText(v)), text);
  }
}

// A constant statement stores one record with its value (and the last vector is processed again,
// its new component records replacing those of the statement before); a failing one stores
// nothing.
TEST_F(ConstantsTest, ConstantStatements) {
  DefineAll({u"F_{x,y}=x*10+y", u"A_<s>=<s^2,s+1,-s>", u"k_=3"});
  const struct {
    const char16_t* statement;
    int16_t msg;
    double value = 0;
  } cases[] = {{u"zn=(2*3)", 0, 6},      {u"m_=2*F_{F_{0,1},2}", 0, 2 * 12},
               {u"mb=A_.y_|-k_", 0, -2}, {u"m_=F_{1,2}+2,3", 418},  // a comma outside a call
               {u"m_=A_.x_", 630},       {u"m_=A_.w_|2", 620},
               {u"m_=A_.x_|1.2.3", 375}, {u"m_=Sqrt[0-4]", 610},
               {u"m_=G_{1}", 502}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    const int16_t functions = Tables.FuncCount, constants = Tables.ConstCount;
    ASSERT_EQ(Define(c.statement), c.msg);
    EXPECT_EQ(Tables.FuncCount, functions);
    EXPECT_EQ(Tables.ConstCount, constants + (c.msg == 0 ? 1 : 0));
    if (c.msg != 0) continue;
    EXPECT_EQ(Tables.ConstTable[Tables.ConstCount].Name, rt::Text(c.statement).substr(0, 2));
    EXPECT_DOUBLE_EQ(LastConstantValue(), c.value);
  }
}

// The way plot construction and the numerical methods get a function value: an assignment comes
// back as "name=text" that reads back as the same double and leaves its constant record; a text
// comes back as the number alone and stores nothing, a plain number not even a literal. A failing
// request (full tables included) leaves no constant behind and none leaves the temporary function
// record; a valid request after failing ones still works.
TEST_F(ConstantsTest, ValueRequests) {
  DefineAll({u"ab=0.5", u"F_{t}=ab*t^2", u"G_{x,y}=Sin[x]*y", u"H_{t}=Sqrt[t]"});
  const int16_t functions = Tables.FuncCount, constants = Tables.ConstCount;
  const int32_t top = Tables.ValueTop;
  enum Full { kNone, kConstants, kFunctions };
  const struct {
    const char16_t* text;
    bool assignment;
    double v;
    int16_t msg = 0;
    Full full = kNone;
  } cases[] = {{u"Ln[0]", false, 0, 993},
               {u"f1=(qq)", true, 0, -1},
               {u"zn=1+1", true, 0, kMsgConstantsFull, kConstants},
               {u"1+1", false, 0, kMsgFunctionsFull, kFunctions},
               {u"f1=(F_{G_{1,1}})", true, 0.5 * std::sin(1) * std::sin(1)},
               {u"-7", false, -7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    Tables.ValueTop = top;
    Tables.ConstCount = c.full == kConstants ? kMaxConstants : constants;
    Tables.FuncCount = c.full == kFunctions ? kMaxFunctions : functions;
    const int16_t constsBefore = Tables.ConstCount, funcsBefore = Tables.FuncCount;
    rt::Text value;
    ASSERT_EQ((c.assignment ? EvaluateAssignment : EvaluateText)(c.text, value), c.msg);
    EXPECT_EQ(Tables.FuncCount, funcsBefore);
    EXPECT_TRUE(Tables.FuncTable[functions + 1].Name.empty());
    const bool stored = c.assignment && c.msg == 0;
    ASSERT_EQ(Tables.ConstCount, constsBefore + (stored ? 1 : 0));
    if (c.msg != 0) continue;
    const rt::Text name = c.assignment ? rt::Text(c.text).substr(0, 3) : u"";
    EXPECT_EQ(U8(value), U8(name + ValueToText(c.v)));
    if (stored) {
      EXPECT_NEAR(LastConstantValue(), c.v, 1e-14 * std::fabs(c.v));
    }
    EXPECT_TRUE(c.v != -7 || Tables.ValueTop == top);
  }
}

}  // namespace
}  // namespace ms
