#include <gtest/gtest.h>

#include <cmath>

#include "support/WorksheetFixture.h"
#include "language/ProgramState.h"
#include "language/Settings.h"
#include "numerics/Roots.h"

namespace ms::testing {
namespace {

using RootsTest = WorksheetTest;

TEST_F(RootsTest, FindsTheRootAndStoresItAsAConstant) {
  struct Case {
    int digits;
    const char16_t* zero;
    const char16_t* name;
    const char16_t* valueText;
  };
  const Case cases[] = {
      {4, u"Zero[F,{1,2,r}]", u"r_", u" 1.414"},
      {4, u"zero[F,{1,2,r}]", u"r_", u" 1.414"},
      {4, u"Zero[F,{1,2,rt}0.001]", u"rt", u" 1.415"},
      {4, u"Zero[F,{-2,0,r}]", u"r_", u"-1.414"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.zero));
    ResetProgramState();
    Settings.DisplayDigits = static_cast<int16_t>(c.digits);
    ASSERT_EQ(Run({u"F{x}=x^2-2", c.zero}), 0);
    const ConstRec* r = FindConst(c.name);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->ValueText, c.valueText);
  }
}

TEST_F(RootsTest, StoredTextHasTheDisplayDigits) {
  Settings.DisplayDigits = 8;
  ASSERT_EQ(Run({u"F{x}=x^2-2", u"Zero[F,{0,2,r}]"}), 0);
  const ConstRec* r = FindConst(u"r_");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->ValueText.size(), 10u);  // blank, digit, point, seven digits
  EXPECT_NEAR(rt::Val(r->ValueText), std::sqrt(2.0), 0.00001);
}

TEST_F(RootsTest, RootIsWithinTheTolerance) {
  ASSERT_EQ(Run({u"F{x}=x^2-2", u"Zero[F,{0,2,r}]"}), 0);
  int16_t msgNo = 0;
  int16_t index = 0;
  rt::Text parm;
  // The stored text is rounded to the display digits; bisect again to see the raw root.
  double a = 0, b = 2, root = 0, tol = 0.00001;
  index = 1;
  BisectZero(index, a, b, root, tol, msgNo);
  ASSERT_EQ(msgNo, 0);
  EXPECT_NEAR(root, std::sqrt(2.0), 0.00001);
  EXPECT_LE(std::fabs(b - a), 0.00001);
}

TEST_F(RootsTest, BracketsMayBeConstantsAndLaterStatementsUseTheRoot) {
  ASSERT_EQ(Run({u"a=1", u"b=2", u"F{x}=x^3-x-1", u"Zero[F,{a,b,r}0.0001]", u"c=r*2"}), 0);
  // Stored at four digits: the real root is 1.32472.
  EXPECT_DOUBLE_EQ(ConstValue(u"r_"), 1.325);
  EXPECT_DOUBLE_EQ(ConstValue(u"c_"), 2.65);
}

TEST_F(RootsTest, MalformedStatementsAndBadBracketsGiveTheirMessages) {
  struct Case {
    const char16_t* zero;
    int msgNo;
  };
  const Case cases[] = {
      {u"Zero[F,{1}]", 281},          // too short
      {u"Zero[F,{1,2}]", 333},        // ends before the result constant
      {u"Zero[G,{1,2,r}]", 57},       // unknown function
      {u"Zero[F{1,2,r}]", 282},       // missing comma
      {u"Zero[F,(1,2,r}]", 283},      // missing brace
      {u"Zero[F,{1,2,R}]", 284},      // upper-case result
      {u"Zero[F,{1,2,r]", 285},       // missing closing brace
      {u"Zero[F,{1,2,r}tt]", 339},    // unknown tolerance constant
      {u"Zero[F,{2,3,r}]", 287},      // same signs at both ends
      {u"Zero[F,{qq,2,r}]", 339},     // unknown bracket constant
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.zero));
    ResetProgramState();
    EXPECT_EQ(Run({u"F{x}=x^2-2", c.zero}), c.msgNo);
    EXPECT_EQ(FindConst(u"r_"), nullptr);
  }
}

TEST_F(RootsTest, OnlyTheTwoSpellingsAreTheCommand) {
  // A worksheet statement in any other spelling is not a command and never reaches ProcessZero.
  for (const char16_t* s : {u"ZERO[F,{1,2,r}]", u"ZerO[F,{1,2,r}]", u"Zero(F,{1,2,r}]"}) {
    SCOPED_TRACE(rt::ToUtf8(s));
    rt::Text statement = s;
    int16_t msgNo = 0;
    ProcessZero(statement, msgNo);
    EXPECT_EQ(msgNo, 280);
  }
}

TEST_F(RootsTest, AnEndWhereTheFunctionFailsGives288) {
  EXPECT_EQ(Run({u"F{x}=Sqrt[x]-1", u"Zero[F,{-1,4,r}]"}), 288);
}

TEST_F(RootsTest, AZeroToleranceStillEnds) {
  ASSERT_EQ(Run({u"F{x}=x-0.3", u"Zero[F,{0,1,r}0]"}), 0);
  EXPECT_NEAR(ConstValue(u"r_"), 0.3, 1e-4);
}

}  // namespace
}  // namespace ms::testing
