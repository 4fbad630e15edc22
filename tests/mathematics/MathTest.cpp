#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"

namespace ms {
namespace {

const double kTruePi = std::acos(-1.0);

rt::Text LiteralName(int k) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%05d`", k);
  return rt::FromUtf8(buf);
}

// The code operand of literal k: five digits and the grave accent.
rt::Text Lit(int k) {
  return LiteralName(k).substr(1);
}

class MathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearValueList();
    ClearFunctions();
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
      Append(LiteralName(static_cast<int>(i) + 2), values[i]);
  }
};

void ExpectClose(double expected, double actual) {
  EXPECT_NEAR(actual, expected, expected == 0 ? 1e-15 : 1e-12 * std::fabs(expected));
}

TEST_F(MathTest, OneArgumentGuardsAgainstExactValues) {
  struct Case {
    const char* what;
    std::function<double(double)> f;
    double x;
    double expected;
  };
  const double halfPi = 3.1415926536 / 2;
  const std::vector<Case> cases = {
      {"tan at pi/2 clamps", SafeTan, 1.5707963268, 1e20},
      {"sqrt negative", SafeSqrt, -4, 0},
      {"unit at 0", UnitStep, 0, 1},
      {"asin beyond 1", SafeASin, 1.5, 0},
      {"acos -1 is the worksheet pi", SafeACos, -1, 3.1415926536},
      {"acos beyond -1", SafeACos, -1.01, 0},
      {"atan huge", SafeATan, 2e20, halfPi},
      {"ln 0", SafeLn, 0, 0},
      {"ln at 1E25", SafeLn, 1e25, 0},
      {"ln below the guard", SafeLn, 1e20, 20 * 2.302585092994046},
      {"exp 1000 clamps", SafeExp, 1000, 1e20},
      {"log10 negative", SafeLog10, -5, 0},
      {"alog 400 clamps", Alog10, 400, 1e20},
      {"square wave +", SquareWave, 0.1, 1},
      {"clip above", ClipUnit, 2.5, 1},
      {"floor -2.5", FloorInt, -2.5, -3},
      {"ceil -2.5", CeilInt, -2.5, -2},
      {"int -2.5 truncates", TruncInt, -2.5, -2},
      // Beyond the 16-bit range the integer functions stay exact.
      {"floor 1E6 + 0.5", FloorInt, 1e6 + 0.5, 1e6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectClose(c.expected, c.f(c.x));
  }
}

TEST_F(MathTest, DivisionAndATan2Guards) {
  struct Case {
    double a, b, divide, atan2;  // atan2 is ATan2(a, b): y = a, x = b
  };
  const double p = 3.1415926536;
  const std::vector<Case> cases = {
      {1, 0, 1e20, p / 2},
      {0, 0, 0, 0},
      {1, -1, -1, p - kTruePi / 4},
      // On the negative x axis the angle is pi, so arrows along -x point along -x.
      {0, -1, 0, p},
      {1e305, 1e-5, 0, 0},  // an overflowing quotient
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " , " << c.b);
    ExpectClose(c.divide, SafeDivide(c.a, c.b));
    ExpectClose(c.atan2, ATan2(c.a, c.b));
  }
}

TEST_F(MathTest, PowerRules) {
  struct Case {
    double x, y, expected;
    int16_t msgIn, msgOut;
  };
  const std::vector<Case> cases = {
      {-8, 2.0 / 3, 4, 7, 0},  // p/q with even p is positive
      {-32, 0.6, -8, 7, 0},    // 3/5: odd numerator, negative
      {-8, 0.5, 0, 7, 603},    {-2, 3, -8, 7, 0},
      {0, -1, 1e20, 7, 0},     {10, 400, 1e20, 7, 0},  // overflow gives the guard value, not 0
      {-10, 401, -1e20, 7, 0},                         // negative overflow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " ^ " << c.y);
    double v = -1;
    EXPECT_EQ(c.msgOut, SafePower(c.x, c.y, v));
    ExpectClose(c.expected, v);
  }
}

TEST_F(MathTest, WholePowersTwoToFourAreProducts) {
  struct Case {
    double x, y, expected;
    int16_t msgOut;
  };
  const std::vector<Case> cases = {
      // The exact square 688780.715904003232... rounded once (exact rational arithmetic); pow
      // gives the next double up.
      {829.928139, 2, 688780.7159040032, 0},
      {-3, 3, -27, 0},
      {1.5, 4, 5.0625, 0},
      {-0.5, 4, 0.0625, 0},
      {1e80, 4, 1e20, 0},     // overflow becomes the guard value
      {-1e103, 3, -1e20, 0},  // of the power's sign
      {-0.0, 2, 0, 0},        // a zero base gives +0
      {0, 4, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " ^ " << c.y);
    double v = -1;
    const int16_t msg = SafePower(c.x, c.y, v);
    EXPECT_EQ(c.expected, v);
    EXPECT_EQ(std::signbit(c.expected), std::signbit(v));
    EXPECT_EQ(c.msgOut, msg);
  }
}

TEST_F(MathTest, InverterRemembersTheLastNonZeroResult) {
  const std::pair<double, int16_t> steps[] = {{0, 0}, {-3, 1}, {0, 1}, {2, -1}, {0, -1}};
  for (const auto& [x, expected] : steps) EXPECT_EQ(expected, InverterMemory(x)) << x;
}

TEST_F(MathTest, EvaluatesHandWrittenCodes) {
  // Literals 2 = 2, 3 = 1, 4 = -4, 5 = 0, 6 = 8, 7 = 3, 8 = 1000, 9 = 1E200; parameters x = 5,
  // y = 0.5.
  Literals({2, 1, -4, 0, 8, 3, 1000, 1e200});
  Append(u"x", 5);
  Append(u"y", 0.5);
  const rt::Text sinTok(1, u'\u00C8'), sqrtTok(1, u'\u00CF'), lnTok(1, u'\u00E4');
  struct Case {
    const char* what;
    rt::Text code;
    double expected;
    int16_t msg;
  };
  const std::vector<Case> cases = {
      {"2*x-1", u"+*" + Lit(2) + u"x*M" + Lit(3), 9, 0},
      {"left grouping of /", u"//" + Lit(6) + Lit(2) + Lit(2), 2, 0},  // (8/2)/2
      {"negated power", u"*M^" + Lit(2) + Lit(7), -8, 0},
      {"sin of y", sinTok + u"y%", std::sin(0.5), 0},
      {"1/0", u"/" + Lit(3) + Lit(5), 1e20, 0},
      // Sums and products beyond the range of doubles become the guard values.
      {"overflowing product", u"*" + Lit(9) + Lit(9), 1e20, 0},
      {"sqrt of -4", sqrtTok + Lit(4) + u"%", 0, 610},
      {"ln of 0", lnTok + Lit(5) + u"%", 0, 993},
      {"(-8)^0.5", u"^" + Lit(4) + u"y", 0, 603},
      {"unknown parameter", u"+xz", 0, -1},
      {"literal 12 beyond ValueTop", u"+x" + Lit(12), 0, -1},
      {"grave accent too close to the start", u"1`", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MathVars.ValueSP = 1;
    double result = -12345;
    const int16_t msg = Evaluate(c.code, result);
    EXPECT_EQ(c.msg, msg);
    if (c.msg == 0) {
      ExpectClose(c.expected, result);
      EXPECT_EQ(1, MathVars.ValueSP);  // well-formed code leaves the stack where it found it
    } else {
      EXPECT_EQ(-12345, result);  // not written on an error
    }
  }
}

TEST_F(MathTest, NameLookupsFollowTheValueList) {
  Literals({2});
  Append(u"x", 1);
  Append(u"t", 7);
  Append(u"x", 3);  // the later entry hides the earlier one
  int16_t msg = 0;

  struct Case {
    const char* what;
    std::function<void()> change;
    double expected;
    int16_t msg;
  };
  const rt::Text code = u"*" + Lit(2) + u"x";  // 2 * x
  const std::vector<Case> cases = {
      {"latest x wins", [] {}, 6, 0},
      {"the value list changes between runs", [] { Tables.ValueList[5].Value = 10; }, 20, 0},
      {"x above ValueTop is not seen", [] { Tables.ValueTop = 4; }, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.change();
    double result = -1;
    MathVars.ValueSP = 1;
    msg = Evaluate(code, result);
    EXPECT_EQ(c.msg, msg);
    if (c.msg == 0) ExpectClose(c.expected, result);
  }
}

TEST_F(MathTest, StackEdgesAndStops) {
  Literals({-4});
  Append(u"x", 3);
  Append(u"y", 5);
  const rt::Text sqrtTok(1, u'\u00CF');
  struct Case {
    const char* what;
    rt::Text code;
    int16_t spBefore, msgIn, msgOut, spAfter;
    double top;  // the slot at spAfter afterwards (NaN: not checked)
  };
  const double none = std::nan("");
  // A refused pop gives -1 and yields 0, the run goes on; nothing is written on an error.
  const Case cases[] = {{"an operator without operands", u"+", 1, 0, -1, 0, none},
                        {"more operands than the slots: 611 at the first push past the end",
                         rt::Text(30001, u'x'), 0, 0, kMsgStackOverflow, kValueStackTop, none},
                        {"a square root stop keeps the other operand",
                         u"+" + sqrtTok + Lit(2) + u"%x", 1, 0, 610, 2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MathVars.ValueSP = c.spBefore;
    MathVars.ValueStack[1] = 42;
    double result = -1;
    const int16_t msg = Evaluate(c.code, result, c.msgIn);
    EXPECT_EQ(c.msgOut, msg);
    EXPECT_EQ(c.spAfter, MathVars.ValueSP);
    if (c.msgOut != 0) {
      EXPECT_EQ(-1, result);
    }
    if (!std::isnan(c.top)) {
      EXPECT_EQ(c.top, MathVars.ValueStack[static_cast<size_t>(c.spAfter)]);
    }
  }
}

// Every value a run pushes stays in its slot after the run, above ValueSP too: code that pops
// more than it pushes, run after ValueSP was raised again, reads them.
TEST_F(MathTest, PushedValuesStayInTheirSlots) {
  Append(u"x", 3);
  Append(u"y", 5);
  MathVars.ValueStack[3] = 42;
  MathVars.ValueSP = 1;
  double result = -1;
  int16_t msg = Evaluate(u"+xy", result);  // y to slot 2, x to slot 3, x + y back to slot 2
  EXPECT_EQ(0, msg);
  EXPECT_EQ(8, result);
  EXPECT_EQ(1, MathVars.ValueSP);
  EXPECT_EQ(8, MathVars.ValueStack[2]);
  EXPECT_EQ(3, MathVars.ValueStack[3]);
  MathVars.ValueSP = 3;
  msg = Evaluate(u"+", result);  // slot 3 plus slot 2
  EXPECT_EQ(0, msg);
  EXPECT_EQ(11, result);
  EXPECT_EQ(1, MathVars.ValueSP);
}

TEST_F(MathTest, UsedFlagsAreSetByTheIntegerFunctions) {
  Literals({2.5});
  for (const auto& [token, flag] : {std::pair{u'\u00F4', &MathVars.UsedFloor},
                                    {u'\u00F5', &MathVars.UsedCeil},
                                    {u'\u00F6', &MathVars.UsedInt}}) {
    EXPECT_EQ(0, *flag);
    double r = 0;
    EXPECT_EQ(0, Evaluate(rt::Text(1, token) + Lit(2) + u"%", r));
    EXPECT_EQ(-1, *flag) << static_cast<int>(token);
  }
}

TEST_F(MathTest, EvaluateFunctionsListsAndStops) {
  Literals({2, 9, -1});
  Append(u"x", 3);
  const rt::Text sqrtTok(1, u'\u00CF');
  struct Rec {
    const char* name;
    rt::Text code;
  };
  const std::vector<Rec> recs = {
      {"F_", u"*" + Lit(2) + u"x"},     // 6, listed
      {"Gb", u"+x" + Lit(3)},           // 12, not listed (two characters)
      {"H_", u"*xq"},                   // q undefined: listed, goes on
      {"K_", sqrtTok + Lit(3) + u"%"},  // 3
      {"L_", sqrtTok + Lit(4) + u"%"},  // 610: stops here
      {"N_", Lit(2)},                   // never reached
  };
  for (const Rec& r : recs) {
    int16_t m = 0;
    const int16_t k = AppendFunction(m);
    ASSERT_NE(0, k);
    Tables.FuncTable[static_cast<size_t>(k)].Name = rt::FromUtf8(r.name);
    Tables.FuncTable[static_cast<size_t>(k)].Code = r.code;
    Tables.FuncTable[static_cast<size_t>(k)].Value = -7;
  }
  MathVars.ValueSP = 1;
  const int16_t msg = EvaluateFunctions();
  EXPECT_EQ(610, msg);
  const std::vector<double> values = {6, 12, -7, 3, -7, -7};
  for (size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(recs[i].name);
    EXPECT_EQ(values[i], Tables.FuncTable[i + 1].Value);
  }
  const std::vector<rt::Text> lines = {u"F :  6", u"H : Undefined Constant or Parameter",
                                       u"K :  3"};
  EXPECT_EQ(lines, ResultsList.Lines);
}

TEST_F(MathTest, CodesEvaluatedInTurnKeepTheirOwnResults) {
  // Curve generation evaluates its x, y and z codes in turn at every point; more codes than the
  // decoder keeps at hand must still each give their own value.
  Literals({1, 2, 3, 4, 5, 6, 7});
  Append(u"t", 10);
  std::vector<rt::Text> codes;
  for (int k = 2; k <= 8; ++k) codes.push_back(u"*t" + Lit(k));  // t * (k - 1)
  for (int round = 0; round < 3; ++round) {
    for (size_t i = 0; i < codes.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "round " << round << " code " << i);
      Tables.ValueList[static_cast<size_t>(Tables.ValueTop)].Value = 10 + round;
      double r = 0;
      const int16_t msg = Evaluate(codes[i], r);
      EXPECT_EQ(0, msg);
      EXPECT_EQ((10.0 + round) * static_cast<double>(i + 1), r);
    }
  }
}

TEST_F(MathTest, ResultsListIsCapped) {
  // Plots recompile once per point and every compile lists its expansions; the list stops
  // growing at its cap instead of without end.
  for (size_t i = 0; i < kMaxResultLines + 10; ++i) AddResultLine(u"F_{t}");
  EXPECT_EQ(kMaxResultLines, ResultsList.Lines.size());
  ClearResultsList();
  EXPECT_TRUE(ResultsList.Lines.empty());
}

}  // namespace
}  // namespace ms
