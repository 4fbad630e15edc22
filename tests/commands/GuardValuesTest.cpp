// Values the guarded built-ins have no real number for are refused, through every command that
// evaluates them, and numbers a double holds get their true value: the inverse sine and cosine
// outside [-1, 1], the logarithms of large numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "commands/IntegCommand.h"
#include "commands/ProgramState.h"
#include "language/Settings.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

struct Case {
  std::vector<const char16_t*> lines;
  int16_t msgNo;
  const char16_t* constant = nullptr;  // with msgNo 0: the constant ("" for Integ's result) ...
  double value = 0;                    // ... its value
  double rel = 1e-14;                  // ... within this relative error
};

class GuardValuesTest : public WorksheetTest {
 protected:
  void Expect(const Case& c) {
    ResetProgramState();
    Settings.DisplayDigits = 15;
    IntegResult = 0;
    SCOPED_TRACE(rt::ToUtf8(c.lines.back()));
    rt::Text text;
    for (const char16_t* line : c.lines) text += rt::Text(line) + u"\r\n";
    ASSERT_EQ(RunText(text), c.msgNo);
    if (c.constant == nullptr) return;
    const double value = *c.constant == 0 ? IntegResult : ConstValue(c.constant);
    EXPECT_TRUE(NearRel(value, c.value, c.rel)) << value;
  }
};

// ASin[ and ACos[ have no real value outside [-1, 1]: 612, as Sqrt[ of a negative gives 610, in a
// constant, in every Integ[ node and at a Zero[ bracket's end. The ends ±1 themselves keep their
// values, with no rounding margin beyond them.
TEST_F(GuardValuesTest, InverseSinesOutsideTheirRangeAreRefused) {
  const Case cases[] = {
      {{u"c=ASin[2]"}, 612},
      {{u"c=ACos[-3]"}, 612},
      {{u"c=ASin[1.0000000001]"}, 612},
      {{u"c=ACos[-1.0000000001]"}, 612},
      {{u"F{x}=ASin[x]", u"c=Integ[F,{0,2,10,0}]"}, 612},
      {{u"F{x}=ASin[x/2]", u"c=Integ[F,{0,2,1000,0}]"}, 0, u"", 1.1415926535897932, 1e-4},  // π - 2
      {{u"F{x}=ACos[x]-1", u"Zero[F,{-2,1,r}]"}, 288},
      {{u"F{x}=ACos[x]-1", u"Zero[F,{-1,1,r}]"}, 0, u"r_", std::cos(1.0), 1e-5}};
  for (const Case& c : cases) Expect(c);
}

// Ln[ and Log[ of every positive finite number: 1E+25 and above are no overflow of a double. Log[
// of a power of ten is its whole exponent.
TEST_F(GuardValuesTest, LogarithmsOfLargeNumbers) {
  const double e30 = 10686474581524.462147;  // e^30
  const Case cases[] = {
      {{u"c=Ln[1E30]"}, 0, u"c_", 69.07755278982137},
      {{u"c=Log[1E26]"}, 0, u"c_", 26, 0},  // to the double, as every power of ten
      {{u"c=Log[1E-3]"}, 0, u"c_", -3, 0},
      {{u"c=Log[1E99]"}, 0, u"c_", 99, 0},
      // ∫_1^2 ln(1E25 x) dx = 25 ln 10 + 2 ln 2 - 1; the 3/8 rule on 30 panels is within 1E-9.
      {{u"F{x}=Ln[x*1E25]", u"c=Integ[F,{1,2,30,0}]"}, 0, u"", 57.950921685971033, 1e-9},
      // ∫_1^1E30 ln x dx = 1E30 (ln 1E30 - 1) + 1; the 3/8 rule on 1000 panels is 1.08E-4 below
      // it (its first panel meets ln x as a logarithmic end). Its panels are wide, not poles.
      {{u"F{x}=Ln[x]", u"c=Integ[F,{1,1E30,1000,0}]"}, 0, u"", 6.8077552789821371e31, 2e-4},
      {{u"F{x}=1/x^2", u"c=Integ[F,{-10,10,2,0}]"}, 5085},  // a wide panel on a pole still is
      {{u"F{x}=Ln[x]-30", u"Zero[F,{1,1E30,r}]"}, 0, u"r_", e30, 1e-12}};
  for (const Case& c : cases) Expect(c);
}

}  // namespace
}  // namespace ms::testing
