#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

const double kTruePi = std::acos(-1.0);
const double kLn10 = std::log(10.0);
const double kTrueLn2 = std::log(2.0);

// The code operand of literal k: five digits and the grave accent; its name has "$" before them.
rt::Text Lit(int k) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%05d`", k);
  return rt::FromUtf8(buf);
}

class EvaluatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    ResetMathState();
    ClearResultsList();
  }
  // Appends an entry the way the compiler and the parameter set do.
  void Append(const rt::Text& name, double v) {
    ++Tables.ValueTop;
    Tables.ValueList[static_cast<size_t>(Tables.ValueTop)] = {name, v};
  }
  // Literals 2..n+1 with the given values, as a compile leaves them (ValueTop at the last one).
  void Literals(const std::vector<double>& values) {
    Tables.ValueTop = 1;
    for (size_t i = 0; i < values.size(); ++i)
      Append(u"$" + Lit(static_cast<int>(i) + 2), values[i]);
  }
};

// Relative tolerance; 0 asks for the exact double.
void ExpectClose(double expected, double actual, double tolerance = 1e-12) {
  EXPECT_NEAR(actual, expected, expected == 0 ? 1e-15 : tolerance * std::fabs(expected));
}

// Every guard on both sides of its limit, against the exact value or the stand-in it gives.
TEST_F(EvaluatorTest, GuardedFunctionsAgainstExactValues) {
  struct Case {
    const char* what;
    double (*f)(double);
    double x1, expected1, x2, expected2;
  };
  const double p = kWorksheetPi;
  const Case cases[] = {
      {"tan at pi/2 and beside it", SafeTan, 1.5707963268, 1e20, 1.5, std::tan(1.5)},
      {"tan at -3pi/2 and -pi/2", SafeTan, -3 * p / 2, -1e20, -p / 2, -1e20},
      {"sqrt", SafeSqrt, -4, 0, 2.25, 1.5},
      {"unit step", UnitStep, 0, 1, -1e-300, 0},
      {"asin at and beyond 1", SafeASin, 1, p / 2, 1.5, 0},
      {"asin at -1 and inside", SafeASin, -1, -p / 2, 0.5, kTruePi / 6},
      {"acos at and beyond -1", SafeACos, -1, p, -1.01, 0},
      {"acos at 1 and inside", SafeACos, 1, 0, 0.5, kTruePi / 3},
      {"atan beyond 1E20 on both sides", SafeATan, 2e20, p / 2, -2e20, -p / 2},
      {"ln just below 1E25 and at it", SafeLn, 9.9e24, std::log(9.9) + 24 * kLn10, 1e25,
       25 * kLn10},
      {"ln of the largest double and 1E30", SafeLn, DBL_MAX, 1024 * kTrueLn2, 1e30, 30 * kLn10},
      {"ln at 0 and just above", SafeLn, 0, 0, 1e-300, -300 * kLn10},
      {"log10 just below 1E25 and at it", SafeLog10, 9.9e24, std::log10(9.9) + 24, 1e25, 25},
      {"log10 of 1E26 and 1E300", SafeLog10, 1e26, 26, 1e300, 300},
      {"log10 negative and 100", SafeLog10, -5, 0, 100, 2},
      {"exp beyond the doubles and inside", SafeExp, 1000, 1e20, 1, std::exp(1.0)},
      {"alog beyond the doubles and inside", Alog10, 400, 1e20, -2, 0.01},
      {"square wave", SquareWave, 0.1, 1, -0.1, -1},
      {"sign", [](double x) -> double { return SignOf(x); }, 0, 0, -3, -1},
      {"clip", ClipUnit, 2.5, 1, -2.5, -1},
      // Beyond the 16-bit range the integer functions stay exact.
      {"floor", FloorInt, -2.5, -3, 1e6 + 0.5, 1e6},
      {"int truncates", TruncInt, -2.5, -2, 2.5, 2},
      {"1/b", [](double b) { return SafeDivide(1, b); }, 0, 1e20, -4, -0.25},
      {"-1/b", [](double b) { return SafeDivide(-1, b); }, 0, -1e20, 1e-320, 0},  // overflow
      {"0/b", [](double b) { return SafeDivide(0, b); }, 0, 0, 2, 0},
      // ATan2 angles lie in [-pi/2, 3pi/2); on the negative x axis the angle is pi, so arrows
      // along -x point along -x.
      {"angle of (x, 1)", [](double x) { return ATan2(1, x); }, 0, p / 2, -1, p - kTruePi / 4},
      {"angle of (x, -1)", [](double x) { return ATan2(-1, x); }, -1, p + kTruePi / 4, 1,
       -kTruePi / 4},
      {"angle of (x, 0)", [](double x) { return ATan2(0, x); }, -1, p, 0, 0},
      // A vector pointing up is at pi/2 however short its x component.
      {"angle of (x, 1E305)", [](double x) { return ATan2(1e305, x); }, 1e-5, p / 2, -1e-9, p / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectClose(c.expected1, c.f(c.x1));
    ExpectClose(c.expected2, c.f(c.x2));
  }
}

// The angle of a vector is its true direction at every length: each direction (degrees, taken
// into [-90, 270)) scaled from 1E-300 to 1E+300 against the angle it was made from. The zero vector
// and a vector that is not a number point along +x.
TEST_F(EvaluatorTest, ATan2GivesTheTrueAngleAtEveryScale) {
  const double degrees[] = {0,   5,   45,       89.9,  90,  90.1, 135,    179.99, 180,
                            181, 225, 263.6598, 269.9, 270, 300,  359.99, -0.01};
  const double scales[] = {1e-300, 1e-12, 1e-9, 1e-5, 1, 1e5, 1e9, 1e300};
  for (const double deg : degrees) {
    const double wanted = (deg >= 270 ? deg - 360 : deg) * kTruePi / 180;
    for (const double s : scales) {
      SCOPED_TRACE(::testing::Message() << deg << " degrees, length " << s);
      const double x = s * std::cos(deg * kTruePi / 180), y = s * std::sin(deg * kTruePi / 180);
      const double a = ATan2(y, x);
      EXPECT_GE(a, -kWorksheetPi / 2);
      EXPECT_LT(a, 3 * kWorksheetPi / 2);
      // The worksheet's pi differs from pi by 1E-11.
      EXPECT_NEAR(a, wanted, 1e-10);
    }
  }
  struct Axis {
    double y, x, expected;
  };
  const double p = kWorksheetPi, nan = std::nan("");
  const Axis axes[] = {{0, 0, 0},          {-0.0, -0.0, 0},        {0, -1e-300, p},
                       {-0.0, -1, p},      {1e-300, 0, p / 2},     {-1e-300, -0.0, -p / 2},
                       {1, 1e-320, p / 2}, {-1, -1e-320, -p / 2},  {nan, 1, 0},
                       {1, nan, 0},        {INFINITY, INFINITY, 0}};
  for (const Axis& c : axes) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x << ", " << c.y << ")");
    EXPECT_EQ(ATan2(c.y, c.x), c.expected);
  }
}

TEST_F(EvaluatorTest, PowerRules) {
  struct Case {
    double x, y, expected, tolerance;
    int16_t msg;
  };
  const std::vector<Case> cases = {
      {-8, 2.0 / 3, 4, 1e-12, 0},  // p/q with even p is positive
      {-32, 0.6, -8, 1e-12, 0},    // 3/5: odd numerator, negative
      {-8, 0.5, 0, 0, 603},
      {-2, 3, -8, 0, 0},
      {0, -1, 1e20, 0, 0},
      {10, 400, 1e20, 0, 0},    // overflow gives the guard value, not 0
      {-10, 401, -1e20, 0, 0},  // negative overflow
      // Whole exponents 2 to 4 are products: the exact square 688780.715904003232... rounded
      // once (exact rational arithmetic); pow gives the next double up.
      {829.928139, 2, 688780.7159040032, 0, 0},
      {1.5, 4, 5.0625, 0, 0},
      {-1e103, 3, -1e20, 0, 0},  // overflow becomes the guard value of the power's sign
      {-0.0, 2, 0, 0, 0},        // a zero base gives +0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << " ^ " << c.y);
    double v = -1;
    EXPECT_EQ(c.msg, SafePower(c.x, c.y, v));
    ExpectClose(c.expected, v, c.tolerance);
    EXPECT_EQ(std::signbit(c.expected), std::signbit(v));
  }
}

TEST_F(EvaluatorTest, InverterRemembersTheLastNonZeroResult) {
  const std::pair<double, int16_t> steps[] = {{0, 0}, {-3, 1}, {0, 1}, {2, -1}, {0, -1}};
  for (const auto& [x, expected] : steps) EXPECT_EQ(expected, InverterMemory(x)) << x;
}

// Hand-written codes, with the stack the run starts from and the message standing before it. A
// refused pop gives -1 and yields 0, the run goes on; the result is not written on an error.
TEST_F(EvaluatorTest, EvaluatesHandWrittenCodes) {
  // Literals 2 = 2, 3 = 1, 4 = -4, 5 = 0, 6 = 8, 7 = 3, 8 = 2.5, 9 = 1E200; parameters x = 5
  // (the later entry hides the earlier one), y = 0.5; w stands just above ValueTop.
  Literals({2, 1, -4, 0, 8, 3, 2.5, 1e200});
  Append(u"x", -99);
  Append(u"y", 0.5);
  Append(u"x", 5);
  Tables.ValueList[static_cast<size_t>(Tables.ValueTop) + 1] = {u"w", 1};
  struct Case {
    const char* what;
    rt::Text code;
    double expected;
    int16_t msg, spBefore = 1, msgBefore = 0, spAfter = 1;
    int16_t slot = 0;  // a slot checked afterwards (0: none) and the value it holds
    double slotValue = 0;
  };
  const std::vector<Case> cases = {
      {"2*x-1", u"+*" + Lit(2) + u"x*M" + Lit(3), 9, 0},
      {"left grouping of /", u"//" + Lit(6) + Lit(2) + Lit(2), 2, 0},  // (8/2)/2
      {"negated power", u"*M^" + Lit(2) + Lit(7), -8, 0},
      {"sin of y", rt::Text(1, u'\u00C8') + u"y%", std::sin(0.5), 0},
      {"1/0", u"/" + Lit(3) + Lit(5), 1e20, 0},
      {"floor 2.5", rt::Text(1, u'\u00F4') + Lit(8) + u"%", 2, 0},
      {"ceil 2.5", rt::Text(1, u'\u00F5') + Lit(8) + u"%", 3, 0},
      {"int -4", rt::Text(1, u'\u00F6') + Lit(4) + u"%", -4, 0},
      // Sums and products beyond the range of doubles become the guard values.
      {"overflowing product", u"*" + Lit(9) + Lit(9), 1e20, 0},
      {"sqrt of -4", rt::Text(1, u'\u00CF') + Lit(4) + u"%", 0, 610},
      // A stop takes back what the run pushed, its values left in their slots: a logarithm's 0 in
      // place of its argument.
      {"ln of 0", rt::Text(1, u'\u00E4') + Lit(5) + u"%", 0, 993, 1, 0, 1, 2, 0},
      {"(-8)^0.5", u"^" + Lit(4) + u"y", 0, 603, 1, 0, 1},
      {"unknown parameter", u"+xz", 0, -1},
      {"parameter above ValueTop", u"+xw", 0, -1},
      {"literal 12 beyond ValueTop", u"+x" + Lit(12), 0, -1},
      {"grave accent too close to the start", u"1`", 0, -1},
      {"an operator without operands", u"+", 0, -1, 1, 0, 0},
      {"more operands than the slots: 611 at the first push past the end", rt::Text(30001, u'x'), 0,
       kMsgStackOverflow, 0, 0, 0},
      {"a square root stop leaves the other operand in its slot",
       u"+" + rt::Text(1, u'\u00CF') + Lit(4) + u"%x", 0, 610, 1, 0, 1, 2, 5},
      {"a look-up clears the standing message", u"x", 5, 0, 1, -1, 1, 1, 42},
      {"code without operands ends with the standing message", u"", 0, -1, 1, -1, 0},
      {"a zero base leaves the standing message", u"^", 0, -1, 2, -1, 1, 1, 0},
      // Every pushed value stays in its slot, above ValueSP too: x in slot 3 (y went to 2).
      {"pushed values stay in their slots", u"+xy", 5.5, 0, 1, 0, 1, 3, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MathVars.ValueSP = c.spBefore;
    MathVars.ValueStack[1] = 42;
    MathVars.ValueStack[2] = MathVars.ValueStack[3] = 0;
    double result = -12345;
    EXPECT_EQ(c.msg, Evaluate(c.code, result, c.msgBefore));
    EXPECT_EQ(c.spAfter, MathVars.ValueSP);  // well-formed code leaves it where it found it
    ExpectClose(c.msg == 0 ? c.expected : -12345, result);  // not written on an error
    EXPECT_EQ(c.slotValue, MathVars.ValueStack[static_cast<size_t>(c.slot)]);
  }
  // Each integer function sets its flag for the graph window.
  EXPECT_EQ(-3, MathVars.UsedFloor + MathVars.UsedCeil + MathVars.UsedInt);
}

TEST_F(EvaluatorTest, EvaluateFunctionsListsAndStops) {
  // x = 3 hides the earlier x; q stands just above ValueTop, so it is undefined.
  Literals({2, 9, -1});
  Append(u"x", -99);
  Append(u"x", 3);
  Tables.ValueList[static_cast<size_t>(Tables.ValueTop) + 1] = {u"q", 1};
  const rt::Text sqrtTok = rt::Text(1, u'\u00CF');
  struct Rec {
    const char16_t* name;
    rt::Text code;
    double value;  // -7: the record's value is kept
  };
  const Rec recs[] = {
      {u"F_", u"*" + Lit(2) + u"x", 6},      // listed
      {u"Gb", u"+x" + Lit(3), 12},           // not listed (two characters)
      {u"H_", u"*xq", -7},                   // q undefined: listed, goes on
      {u"K_", sqrtTok + Lit(3) + u"%", 3},   // listed
      {u"L_", sqrtTok + Lit(4) + u"%", -7},  // 610: stops here
      {u"N_", Lit(2), -7},                   // never reached
  };
  Tables.FuncCount = 6;
  for (int k = 1; k <= 6; ++k) {
    Tables.FuncTable[k].Name = recs[k - 1].name;
    Tables.FuncTable[k].Code = recs[k - 1].code;
    Tables.FuncTable[k].Value = -7;
  }
  MathVars.ValueSP = 1;
  EXPECT_EQ(610, EvaluateFunctions());
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(recs[k - 1].value, Tables.FuncTable[k].Value) << k;
  const std::vector<rt::Text> lines = {u"F :  6", u"H : Undefined Constant or Parameter",
                                       u"K :  3"};
  EXPECT_EQ(lines, ResultsList.Lines);
}

TEST_F(EvaluatorTest, CodesEvaluatedInTurnKeepTheirOwnResults) {
  // Curve generation evaluates its x, y and z codes in turn at every point, the value list
  // changing between runs; more codes than the decoder keeps at hand must still each give their
  // own value.
  Literals({1, 2, 3, 4, 5, 6, 7});
  Append(u"t", 10);
  for (int round = 0; round < 3; ++round) {
    Tables.ValueList[static_cast<size_t>(Tables.ValueTop)].Value = 10 + round;
    for (int k = 2; k <= 8; ++k) {
      double r = 0;
      EXPECT_EQ(0, Evaluate(u"*t" + Lit(k), r));  // t * (k - 1)
      EXPECT_EQ((10.0 + round) * (k - 1), r) << "round " << round << " literal " << k;
    }
  }
}

TEST_F(EvaluatorTest, ResultsListIsCapped) {
  // Plots recompile once per point and every compile lists its expansions; the list stops
  // growing at its cap instead of without end.
  for (size_t i = 0; i < kMaxResultLines + 10; ++i) AddResultLine(u"F_{t}");
  EXPECT_EQ(kMaxResultLines, ResultsList.Lines.size());
}

using EvaluatorWorksheetTest = testing::WorksheetTest;

// Functions whose evaluation stops (x has no value while the worksheet is read) each need the
// stack for one expression only: n functions Ga{x} = x+1+...+1 of 1,000 operands each, then
// constants. Every count of them fits, and the constants are right: 2 + 3 = 5, and at x = 1 the
// last function is 1 + 999 × 1 = 1000.
TEST_F(EvaluatorWorksheetTest, StoppedFunctionsEachNeedOneExpressionsStack) {
  for (const int count : {30, 31, 60}) {
    SCOPED_TRACE(count);
    rt::Text text, last;
    for (int i = 0; i < count; ++i) {
      last =
          rt::Text(1, static_cast<char16_t>(u'G' + i / 26)) + static_cast<char16_t>(u'a' + i % 26);
      text += last + u"{x}=x";
      for (int k = 1; k < 1000; ++k) text += u"+1";
      text += u"\r\n";
    }
    text += u"c=2+3\r\nk=" + last + u"{1}\r\n";
    ASSERT_EQ(RunText(text), 0);
    EXPECT_EQ(ConstValue(u"c_"), 5);
    EXPECT_EQ(ConstValue(u"k_"), 1000);
  }
}

}  // namespace
}  // namespace ms
