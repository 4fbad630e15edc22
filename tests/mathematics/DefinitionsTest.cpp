#include <gtest/gtest.h>

#include <cmath>

#include "mathematics/Definitions.h"
#include "mathematics/VectorOperations.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using DefinitionsTest = LanguageTest;

// A vector appends three component functions: the component counter stops at 999, and a vector
// needs room for all three in the function table (the full tables' messages are checked with the
// tables).
TEST_F(DefinitionsTest, ComponentListVectorAppendsThreeFunctions) {
  ASSERT_EQ(Define(u"A_<t>=<t,t^2,0>", false), 0);
  ASSERT_EQ(Tables.FuncCount, 3);
  const VecRec& a = Tables.VecTable[1];
  EXPECT_EQ(U8(a.YFuncName + u"=" + Tables.FuncTable[2].Name + Tables.FuncTable[2].Expr),
            "Y1=Y1(t^2)");
  VectorStacks.ComponentFuncCounter = 998;
  EXPECT_EQ(Define(u"B_<t>=<t,t,t>"), 0);
  EXPECT_EQ(U8(Tables.VecTable[2].XFuncName), "X999");
  EXPECT_EQ(Define(u"C_<t>=<t,t,t>"), 515);
  EXPECT_EQ(VectorStacks.ComponentFuncCounter, 1000);
  VectorStacks.ComponentFuncCounter = 0;
  Tables.FuncCount = kMaxFunctions - 2;
  ASSERT_EQ(StoreVectorDefinition(u"D_<t>=<t,t,t>"), 0);
  EXPECT_EQ(ProcessVectorDefinition(Tables.VecTable[Tables.VecCount]), kMsgFunctionsFull);
  EXPECT_EQ(Tables.FuncCount, kMaxFunctions);
}

// After k_=3, A_<s>=<s^2,s+1,5>, G_{x,y}=x+y: the statement's message and, when it is a function
// F_, its value at t = 0.5.
TEST_F(DefinitionsTest, VectorsAndComponentReferences) {
  const struct {
    const char16_t* statement;
    int16_t msg;
    double value = 0;
  } cases[] = {
      {u"B_<t>=<t,t^2>", 310},       {u"B_<t>=t,t,t", 309},
      {u"B_<t>=<G_,0,0>", 667},      {u"B_<t>=<A_.w_,0,0>", 316},
      {u"B_<t>=<Q_,0,0>", 57},       {u"F_{t}=A_.x_|-2", 0, 4},
      {u"F_{t}=A_.y_|-k_", 0, -2},   {u"F_{t}=2*A_.y_|1.5E1*t", 0, 16},
      {u"F_{t}=A_.z_", 0, 5},        {u"F_{t}=A_.y_|q_", 377},
      {u"F_{t}=A_.w_", 374},         {u"F_{t}=A_.y_|*2", 376},
      {u"F_{t}=A_.y_|1.2.3", 375},   {u"F_{t}=B_.x_", 325},
      {u"F_{t}=A_.y_|1.5E1+t", 375},  // the number runs on over "+"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    LanguageTest::SetUp();
    DefineAll({u"k_=3", u"A_<s>=<s^2,s+1,5>", u"G_{x,y}=x+y"});
    EXPECT_EQ(Define(c.statement), c.msg);
    if (c.msg == 0) {
      EXPECT_DOUBLE_EQ(ValueOf(u"F_", 0.5), c.value);
    }
  }
}

TEST_F(DefinitionsTest, ComponentsKeepTheirValueInExpressions) {
  // B's x component is 2 times A's x component t + 1, not 2 * t + 1.
  DefineAll({u"A_<t>=<t+1,0,0>", u"B_<t>=<2*A_.x_,A_.x_^2,0>"});
  EXPECT_DOUBLE_EQ(ValueOf(Tables.VecTable[2].XFuncName, 1), 4);
  EXPECT_DOUBLE_EQ(ValueOf(Tables.VecTable[2].YFuncName, 2), 9);
}

}  // namespace
}  // namespace ms
