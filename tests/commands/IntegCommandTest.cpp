#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "commands/IntegCommand.h"
#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"
#include "numerics/SecantShooting.h"
#include "numerics/SolutionStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class IntegCommandTest : public SolverTest {
 protected:
  void SetUp() override {
    SolverTest::SetUp();
    ClearAll();
    ResetMathState();
    InitBuiltinNames();
    ResetIntegChain();
    IntegResult = 0;
    StartSceneBuild();
    const char16_t* functions[][4] = {{u"F_", u"x", u"", u"x^2"},
                                      {u"G_", u"x", u"", u"2"},
                                      {u"H_", u"x", u"", u"1"},
                                      {u"P_", u"x", u"y", u"x+y"},
                                      {u"N_", u"", u"", u"3"},
                                      {u"Up", u"x", u"", u"1/(x-0.3000001)^2"},
                                      {u"Dn", u"x", u"", u"-1/(x-0.3000001)^2"}};
    for (const auto& d : functions) {
      FuncRec& f = Tables.FuncTable[++Tables.FuncCount];
      f.Name = d[0];
      f.Parm1 = d[1];
      f.Parm2 = d[2];
      TokenizeNames(d[3], f.Expr);
    }
  }
  // The result constant as the statement's classification appends it before the computation.
  static int AddResultConstant(const char16_t* name) {
    ConstRec& c = Tables.ConstTable[++Tables.ConstCount];
    c.Name = name;
    c.ValueText = rt::Str(IntegResult);
    return Tables.ConstCount;
  }
  static int16_t Run(const rt::Text& statement, int16_t slot, bool fromGraph = false) {
    return ProcessInteg(statement, slot, fromGraph);
  }
};

TEST_F(IntegCommandTest, StatementFormsAndTheirMessages) {
  const std::pair<const char16_t*, int16_t> cases[] = {
      {u"cd=integ[F,{0,1,10,0}]", 0},     {u"c=INTEG[F,{0,1,10,0}]", 5000},
      {u"c=Integ(F,{0,1,10,0}]", 5005},   {u"c=Integ[f,{0,1,10,0}]", 5010},
      {u"c=Integ[F{0,1,10,0}]", 5020},    {u"c=Integ[F,G{0,1,10,0}]", 5040},
      {u"c=Integ[F,Q,{0,1,10,0}]", 5050}, {u"c=Integ[F,G,P,{0,1,10,0}]", 5060},
      {u"c=Integ[F,{0,1,10,0})", 5080},   {u"c=Integ[F,{1,1,10,0}]", 5090},
      {u"c=Integ[F,{0,1,0.4,0}]", 5095},  {u"c=Integ[F,{0,zz,10,0}]", 339},
      {u"c=Integ[F,{0,1,10,0", 333}};
  for (const auto& [statement, msgNo] : cases) {
    SCOPED_TRACE(rt::ToUtf8(statement));
    EXPECT_EQ(Run(statement, 1), msgNo);
  }
  // Slots outside the integral list, at Execute and in the graph's redraw.
  for (const bool replot : {false, true}) {
    RunFlags.Replot = replot ? -1 : 0;
    for (int16_t slot : {0, 13})
      EXPECT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", slot, replot), kMsgIntegralListFull);
  }
  RunFlags.Replot = 0;
}

TEST_F(IntegCommandTest, ValuesAgainstExactIntegrals) {
  // The 3/8 rule is exact for cubics, so every case here is exact up to rounding.
  const std::pair<const char16_t*, double> cases[] = {
      {u"c=Integ[F,{1,0,10,0}]", -1.0 / 3},
      {u"c=Integ[F,G,H,{0,1,10,0}]", 2.0 / 3 + 1},
      {u"c=Integ[F,{0,3,2.5,0}]", 9.0},      // 2.5 panels: two whole panels
      {u"c=Integ[F,{0,1,2000,0}]", 1.0 / 3}  // capped at the 1000 rows of a slot
  };
  for (const auto& [statement, exact] : cases) {
    SCOPED_TRACE(rt::ToUtf8(statement));
    SetUp();
    const int k = AddResultConstant(u"c");
    ASSERT_EQ(Run(statement, 1), 0);
    EXPECT_NEAR(IntegResult, exact, 1e-12 * std::fabs(exact));
    EXPECT_EQ(Tables.ConstTable[k].ValueText, rt::Str(IntegResult));
  }
  EXPECT_NEAR(SolutionAt(1, 1, IntegSlot(1)), 0.001, 1e-15);
  // A statement right after another of the same run continues its running integral (x^2 from 0
  // to 1, then from 1 to 2: 8/3 in all); one that does not follow starts from 0 (7/3).
  SetUp();
  for (const auto& [statement, slot, exact] : {std::tuple{u"c=Integ[F,{0,1,10,0}]", 1, 1.0 / 3},
                                               {u"d=Integ[F,{1,2,10,0}]", 2, 8.0 / 3},
                                               {u"e=Integ[F,{1,2,10,0}]", 4, 7.0 / 3}}) {
    AddResultConstant(u"c");
    ASSERT_EQ(Run(statement, static_cast<int16_t>(slot)), 0);
    EXPECT_NEAR(IntegResult, exact, 1e-12) << slot;
  }
}

// A pole inside the range, whatever the sign of the integrand near it (a panel of 2.5e12 or
// -2.5e12 next to 0.3000001).
TEST_F(IntegCommandTest, APoleStopsTheRunWithAMessage) {
  for (const char16_t* statement : {u"c=Integ[Up,{0,1,10,0}]", u"c=Integ[Dn,{0,1,10,0}]"}) {
    SCOPED_TRACE(rt::ToUtf8(statement));
    StartSceneBuild();
    screen_.boxes.clear();
    Tables.ConstCount = 0;
    IntegResult = 5;
    const int k = AddResultConstant(u"c");
    EXPECT_NE(Run(statement, 1), 0);
    ASSERT_EQ(screen_.boxes.size(), 1u);
    EXPECT_EQ(screen_.boxes[0].text,
              u"A division by zero encounted given the integral range.\r\nKey Return button to "
              u"return to the worksheet.");
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_EQ(Tables.ConstTable[k].ValueText, rt::Str(5));
  }
}

// Every panel counts its four values for the abort poll: events run every four panels, and Esc
// taken by them ends the run there, at Execute and in the picture build alike. A stopped run
// stores nothing (the constant keeps its text and stays not computed) and draws nothing.
TEST_F(IntegCommandTest, EscStopsTheRunWithNothingStoredOrDrawn) {
  const struct {
    const char* name;
    bool fromGraph;
    long escAt;  // 0 = never
    long events;
  } cases[] = {{"at Execute", false, 0, 250},
               {"Esc at Execute", false, 3, 3},
               {"Esc in the picture build", true, 3, 3},
               {"Esc at once", false, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartSceneBuild();
    ResetIntegChain();
    Tables.ConstCount = 0;
    IntegResult = 5;
    const int k = AddResultConstant(u"c");
    Tables.ConstTable[k].NotComputed = true;
    PressEscAtEvent(c.escAt);
    EXPECT_EQ(Run(u"c=Integ[F,{0,1,1000,0}]", 1, c.fromGraph), 0);
    screen_.onDoEvents = nullptr;
    EXPECT_EQ(screen_.doEventsCount, c.events);
    const ConstRec& rec = Tables.ConstTable[k];
    if (c.escAt == 0) {
      EXPECT_NEAR(IntegResult, 1.0 / 3.0, 1e-14);  // the 3/8 rule is exact for x^2
      EXPECT_FALSE(rec.NotComputed);
      EXPECT_GT(Scene.SegmentCount, 0);
    } else {
      EXPECT_EQ(IntegResult, 5);
      EXPECT_TRUE(rec.NotComputed);
      EXPECT_EQ(rec.ValueText, rt::Str(5));
      EXPECT_EQ(Scene.SegmentCount, 0);
    }
    RunFlags.AbortRun = 0;
  }
}

// An integral, an initial value problem and the boundary value methods in one worksheet: each
// keeps its rows in slots of its own, so that the redraws still draw e^t and x^3/3.
TEST_F(IntegCommandTest, EachCommandRedrawsItsOwnRows) {
  AddResultConstant(u"c");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  Log().native[u"Ea"] = [](const std::vector<double>& a) { return a[1]; };
  Log().native[u"Fo"] = [](const std::vector<double>& a) { return a[2]; };
  Log().native[u"Go"] = [](const std::vector<double>& a) { return -a[1]; };
  StartSceneBuild();
  ASSERT_EQ(SolveIVP1(Rhs({u"Ea"}), 0, 1, 1, 1, 1e-4, Progress(false)), 0);
  ASSERT_EQ(PlotBVPFamily(Rhs({u"Fo", u"Go"}), 0, 0, 1, 1, 0, 2, 4), 0);
  double s0 = 0, s1 = 2;
  ASSERT_EQ(ShootBVP(Rhs({u"Fo", u"Go"}), 0, 0, 1, 1, s0, s1, 1, 1e-5, Progress()), 0);
  RunFlags.Replot = -1;
  StartSceneBuild();
  ASSERT_EQ(SolveIVP1(Rhs({u"Ea"}), 0, 1, 1, 1, 1e-4, Progress(false)), 0);
  auto segs = Segments();
  ASSERT_GT(segs.size(), 3u);
  EXPECT_TRUE(NearRel(segs.back().to[1], std::exp(1.0), 1e-4));
  for (const Seg& seg : segs) EXPECT_TRUE(NearRel(seg.from[1], std::exp(seg.from[0]), 1e-4));
  // The integral's redraw draws its stored slot, the running integral x^3/3, without computing
  // (row 10 marked).
  SetSolution(10, 2, IntegSlot(1), 42);
  StartSceneBuild();
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1, true), 0);
  segs = Segments();
  ASSERT_EQ(segs.size(), 11u);
  for (int i = 0; i < 10; ++i)
    EXPECT_NEAR(segs[i].from[1], std::pow(segs[i].from[0], 3) / 3, 1e-14) << i;
  EXPECT_EQ(segs[10].from[1], 42);
  // At Execute Replot does not stop the computation.
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  RunFlags.Replot = 0;
  EXPECT_NEAR(SolutionAt(10, 2, IntegSlot(1)), 1.0 / 3, 1e-14);
}

// Integ[ at Execute, as the worksheet runs it: the range's ends reach the integrand as typed, to
// 17 digits, and every node is taken from the start of the range (a sum of steps would drift).
// Expected values: the 3/8 rule over the same nodes with <cmath>, or the exact integral where the
// rule is exact.
TEST_F(IntegCommandTest, NodesReachTheIntegrandAsTyped) {
  const auto rule = [](double (*f)(double), double a, double b, int panels) {
    const double h = (b - a) / panels;
    double sum = 0;
    for (int i = 0; i < panels; ++i) {
      const double x = a + i * h;
      sum += (3 * f(x + h / 3) + f(x) + 3 * f(x + 2 * h / 3) + f(x + h)) * (3 * h) / 24;
    }
    return sum;
  };
  const struct {
    const char16_t* function;
    const char16_t* statement;
    double expected;
    const char16_t* listed;  // the constant's text, when it is exact
  } cases[] = {
      // The last node is the double below π/2, where the cosine is still positive (6.1e-17).
      {u"F{x}=Ln[Cos[x]]", u"s=Integ[F,{0,1.5707963267948966,10,0}]",
       rule([](double x) { return std::log(std::cos(x)); }, 0, 1.5707963267948966, 10), nullptr},
      {u"F{x}=x^2", u"s=Integ[F,{0,3,30,0}]", 9.0, u" 9"},
      {u"F{x}=x^3", u"s=Integ[F,{0.1,0.7,60,0}]", (0.7 * 0.7 * 0.7 * 0.7 - 0.0001) / 4, u" .06"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ASSERT_EQ(WorksheetTest::Run({c.function, c.statement}), 0);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(NearRel(IntegResult, c.expected, 1e-14)) << IntegResult;
    if (c.listed != nullptr) {
      ASSERT_NE(FindConst(u"s_"), nullptr);
      EXPECT_EQ(rt::ToUtf8(FindConst(u"s_")->ValueText), rt::ToUtf8(c.listed));
    }
  }
}

}  // namespace
}  // namespace ms::testing
