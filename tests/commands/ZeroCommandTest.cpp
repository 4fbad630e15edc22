#include <gtest/gtest.h>

#include <cmath>
#include <span>

#include "commands/ProgramState.h"
#include "commands/ZeroCommand.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

// A function and a Zero[ statement for it: the message, and with 0 the root within 0.00001.
struct RootCase {
  const char16_t* function;
  const char16_t* zero;
  int msgNo;
  double root;  // message 0 only
};

class ZeroCommandTest : public WorksheetTest {
 protected:
  void ExpectRoots(std::span<const RootCase> cases) {
    for (const RootCase& c : cases) {
      SCOPED_TRACE(rt::ToUtf8(c.function) + " " + rt::ToUtf8(c.zero));
      ResetProgramState();
      Settings.DisplayDigits = 15;
      EXPECT_EQ(Run({c.function, c.zero}), c.msgNo);
      const ConstRec* r = FindConst(u"r_");
      ASSERT_EQ(r != nullptr, c.msgNo == 0);
      if (r) {
        EXPECT_NEAR(rt::Val(r->ValueText), c.root, 0.00001);
      }
    }
  }
};

TEST_F(ZeroCommandTest, StatementsAndTheirRootsOrMessages) {
  struct Case {
    const char16_t* zero;
    int msgNo;
    const char16_t* name;
    const char16_t* valueText;  // at four display digits
  };
  const Case cases[] = {
      {u"zero[F,{1,2,r}]", 0, u"r_", u" 1.414"},   {u"Zero[F,{1,2,rt}0.001]", 0, u"rt", u" 1.415"},
      {u"Zero[F,{1}]", 281, u"r_", nullptr},        // too short
      {u"Zero[F,{1,2}]", 333, u"r_", nullptr},      // ends before the result constant
      {u"Zero[G,{1,2,r}]", 57, u"r_", nullptr},     // unknown function
      {u"Zero[F{1,2,r}]", 282, u"r_", nullptr},     // missing comma
      {u"Zero[F,(1,2,r}]", 283, u"r_", nullptr},    // missing brace
      {u"Zero[F,{1,2,R}]", 284, u"r_", nullptr},    // upper-case result
      {u"Zero[F,{1,2,r]", 285, u"r_", nullptr},     // missing closing brace
      {u"Zero[F,{1,2,r}tt]", 339, u"r_", nullptr},  // unknown tolerance constant
      {u"Zero[F,{2,3,r}]", 287, u"r_", nullptr}     // same signs at both ends
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.zero));
    ResetProgramState();
    EXPECT_EQ(Run({u"F{x}=x^2-2", c.zero}), c.msgNo);
    const ConstRec* r = FindConst(c.name);
    ASSERT_EQ(r != nullptr, c.valueText != nullptr);
    if (r) {
      EXPECT_EQ(r->ValueText, c.valueText);
    }
  }
  // Other spellings are no command and never reach ProcessZero; the command still checks.
  EXPECT_EQ(ProcessZero(u"ZERO[F,{1,2,r}]"), 280);
  // An end where the function fails.
  EXPECT_EQ(Run({u"F{x}=Sqrt[x]-1", u"Zero[F,{-1,4,r}]"}), 288);
}

// A sign change through a pole or across a jump is no zero: 289 and no constant. Zeros where the
// function is steep, nearly a jump, or flat (a triple zero) are found all the same.
TEST_F(ZeroCommandTest, PolesAndJumpsAreNoZeros) {
  const RootCase cases[] = {{u"F{x}=1/x", u"Zero[F,{-1,2,r}]", 289, 0},
                            {u"F{x}=Tan[x]", u"Zero[F,{1,2,r}]", 289, 0},
                            {u"F{x}=1/(x-1)^3", u"Zero[F,{0,3,r}0]", 289, 0},
                            {u"F{x}=Sign[x-0.7]", u"Zero[F,{0,1,r}]", 289, 0},
                            {u"F{x}=Floor[x]-0.5", u"Zero[F,{0,2,r}]", 289, 0},
                            {u"F{x}=ATan[1000*x]", u"Zero[F,{-1,2,r}]", 0, 0},
                            {u"F{x}=Tanh[1000000*(x-1)]", u"Zero[F,{0,3,r}]", 0, 1},
                            {u"F{x}=x^3", u"Zero[F,{-1,2,r}]", 0, 0},
                            {u"F{x}=x-1", u"Zero[F,{0,3,r}0]", 0, 1},
                            {u"F{x}=Exp[x]-1000000", u"Zero[F,{0,20,r}]", 0, std::log(1e6)}};
  ExpectRoots(cases);
}

// The 0 of 0/0 is no value of the function: a zero is sought in its limit there, at an end of the
// bracket or at a midpoint, and a jump whose midpoint is the 0/0 point is still no zero.
TEST_F(ZeroCommandTest, ZeroOverZeroIsNoZero) {
  const RootCase cases[] = {
      {u"F{x}=x*(x-0.5)/x", u"Zero[F,{-1,1,r}]", 0, 0.5},                 // midpoint 0, limit -0.5
      {u"F{x}=x*(x-0.5)/x", u"Zero[F,{0,1,r}]", 0, 0.5},                  // end 0, limit -0.5
      {u"F{x}=x*x/x", u"Zero[F,{-1,1,r}]", 0, 0},                         // the limit 0 is the zero
      {u"F{x}=Sin[x]/x-0.5", u"Zero[F,{0,3,r}]", 0, 1.8954942670339809},  // sin x / x = 1/2
      {u"F{x}=(x^2-1)/(x-1)", u"Zero[F,{-3,1,r}]", 0, -1},                // end 1, limit 2
      {u"F{x}=x/Abs[x]", u"Zero[F,{-1,1,r}]", 289, 0},      // the jump at the first midpoint
      {u"F{x}=x/Abs[x]", u"Zero[F,{-1,2,r}]", 289, 0},      // the jump between midpoints
      {u"F{x}=(x-x)/(x-x)", u"Zero[F,{-1,2,r}]", 288, 0}};  // no value anywhere
  ExpectRoots(cases);
}

TEST_F(ZeroCommandTest, RootWithinTheToleranceStoredAtTheDisplayDigitsAndUsable) {
  Settings.DisplayDigits = 8;
  ASSERT_EQ(Run({u"a=0", u"b=2", u"F{x}=x^3-x-1", u"Zero[F,{a,b,r}0.00001]", u"c=r*2"}), 0);
  const ConstRec* r = FindConst(u"r_");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->ValueText.size(), 10u);    // blank, digit, point, seven digits
  const double root = 1.324717957244746;  // the real root of x^3 - x - 1
  EXPECT_NEAR(rt::Val(r->ValueText), root, 0.00001);
  EXPECT_NEAR(ConstValue(u"c_"), 2 * root, 0.00002);
  // A zero tolerance still ends.
  ASSERT_EQ(Run({u"F{x}=x-0.3", u"Zero[F,{0,1,r}0]"}), 0);
  EXPECT_NEAR(ConstValue(u"r_"), 0.3, 1e-4);
}

// Every halving polls for Esc, sixteen to a run of events; events also run after each statement
// read. Esc taken inside the search ends it there: the root's constant is stored, marked not
// computed, and the reading stops at once.
TEST_F(ZeroCommandTest, EscStopsTheSearchAndTheRootIsNotComputed) {
  const struct {
    const char* name;
    long escAt;  // 0 = never
    long events;
  } cases[] = {{"no Esc: halvings 1, 17 and 33 of 47, one in the check of the sign change, three "
                "statements",
                0, 7},
               {"Esc at the first halving", 2, 3},
               {"Esc at the seventeenth", 3, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProgramState();
    PressEscAtEvent(c.escAt);
    EXPECT_EQ(Run({u"F{x}=x^2-2", u"Zero[F,{1,2,r}0.00000000000001]", u"c=r*2"}), 0);
    screen_.onDoEvents = nullptr;
    EXPECT_EQ(screen_.doEventsCount, c.events);
    const ConstRec* r = FindConst(u"r_");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->NotComputed, c.escAt != 0);
    EXPECT_EQ(FindConst(u"c_") != nullptr, c.escAt == 0);  // the reading ended at the Zero[
  }
}

}  // namespace
}  // namespace ms::testing
