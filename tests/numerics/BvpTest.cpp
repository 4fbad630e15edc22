#include <gtest/gtest.h>

#include <cmath>

#include "BvpTestSupport.h"
#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

class BvpCommandTest : public BvpFixture {
 protected:
  void SetUp() override {
    BvpFixture::SetUp();
    // x'' = -x as X' = F = y, Y' = G = -x; H has only two parameters.
    Define({u"F{t,x,y} = y", u"G{t,x,y} = -x", u"H{t,x} = x", u"a = 0.5", u"ta = 0", u"xa = 0",
            u"tb = 1", u"xb = 1", u"n = 10"});
    // The same right-hand sides evaluated natively: the statement's road is what is tested here
    // (the road by text is tested with the methods and in TheStoredStatementOfTheWorksheetRuns).
    UseNative({{u"F_", [](double, double, double y) { return y; }},
               {u"G_", [](double, double x, double) { return -x; }}});
  }
};

TEST_F(BvpCommandTest, StatementFormsAndTheirMessages) {
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      // Keyword, length and brackets.
      {u"Bvp[F,G,{0,0,1,1,10}]", 3500},
      {u"BVp[F,G,{0,0,1,1,10}]", 3500},
      {u"BVP[F,G,{0,0,1,1]", 3501},  // 17 characters
      {u"BVP", 3501},
      {u"", 3500},
      {u"BVP(F,G,{0,0,1,1,10}]", 3505},
      // Function identifiers.
      {u"BVP[f,G,{0,0,1,1,10}]", 3510},
      {u"BVP[F,g,{0,0,1,1,10}]", 3510},
      {u"BVP[F2,G,{0,0,1,1,10}]", 3530},
      {u"BVP[F;G,{0,0,1,1,10}]", 3530},
      {u"BVP[F,G{0,0,1,1,10}]", 3515},
      {u"BVP[Q,G,{0,0,1,1,10}]", 57},
      {u"BVP[F,Qa,{0,0,1,1,10}]", 57},
      {u"BVP[H,G,{0,0,1,1,10}]", 3520},
      {u"BVP[F,H,{0,0,1,1,10}]", 3520},
      {u"BVP[F,G,(0,0,1,1,10}]", 3535},
      // Linear form.
      {u"BVP[F,G,{0,0,1,1,10})", 3045},
      {u"BVP[F,G,{0,0,1,1,10}", 3045},
      {u"BVP[F,G,{1,0,1,1,10}]", 3050},
      {u"BVP[F,G,{1,0,0,1,10}]", 3050},
      {u"BVP[F,G,{0,0,1,zz,10}]", 339},
      {u"BVP[F,G,{0,0,1,1,0}]", 336},
      {u"BVP[F,G,{0,0,1,1,0.5}]", 336},
      {u"BVP[F,G,{0,0,1,1,-3}]", 336},
      {u"BVP[F,G,{ta,xa,tb,xb,-n}]", 336},
      {u"BVP[F,G,{0,,1,1,10}]", 6097},
      // Shooting forms.
      {u"BVP[F,G,{0,0,1,1}(0,2}{1,0.001,0}]", 3552},
      {u"BVP[F,G,{0,0,1,1}{0,2}(1,0.001,0}]", 3556},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.001,0})", 3557},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.000009,0}]", 3558},
      {u"BVP[F,G,{0,0,1,1}{0,2}{-1,0.001,0}]", 3059},
      {u"BVP[F,G,{1,0,1,1}{0,2}{1,0.001,0}]", 3560},
      {u"BVP[F,G,{0,0,1,1}{0.5}{1,0.001,0}]", 313},
      {u"BVP[F,G,{0,0,1,1}{a}{1,0.001,0}]", 1220},
      {u"BVP[F,G,{0,0,1,1}{0;1", 3555},
      {u"BVP[F,G,{0,0,1,1}{1;2;3;4;5;6;7;8;9;10;11;12}{1,0.001,4}]", 3556},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.statement, c.statement + rt::Text(c.statement).size()));
    StartSceneBuild();
    EXPECT_EQ(Process(c.statement), c.msgNo);
    // A statement that fails its parse runs no method.
    EXPECT_EQ(Scene.SegmentCount, 0);
  }
}

TEST_F(BvpCommandTest, AcceptedStatementsRunTheirMethod) {
  struct Case {
    const char16_t* statement;
    int linearRows;  // rows of the linear solution (-1: no linear solve)
    int trialCount;  // entry 0 of the slopes afterwards
    int16_t solved;  // BVPSolved afterwards
    int16_t roots;   // BVPRootsMode afterwards
    int16_t list;    // BVPListGiven afterwards
  };
  const Case cases[] = {
      {u"BVP[F,G,{0,0,1,1,10}]", 10, 0, 0, 0, 0},
      {u"bvp[F,G,{0,0,1,1,10}]", 10, 0, 0, 0, 0},
      {u"BVP[F,G,{ta,xa,tb,xb,n}]", 10, 0, 0, 0, 0},
      {u"BVP[F,G,{0,0,1,1,10.5}]", 10, 0, 0, 0, 0},
      {u"BVP[F,G,{0,0,1,1,11.5}]", 12, 0, 0, 0, 0},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.00001,4}]", -1, 4, -1, 0, 0},
      {u"BVP[F,G,{0,0,1,1}{0,2}{0,0.001,-4}]", -1, 4, -1, -1, 0},
      {u"BVP[F,G,{0,0,1,1}{0.5;1;1.5}{1,0.001,1}]", -1, 3, -1, 0, -1},
      {u"BVP[F,G,{0,0,1,1}{0,2}{1,0.001,0}]", -1, 0, -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.statement, c.statement + rt::Text(c.statement).size()));
    ResetBvpState();
    OdeResults.BVPSolved = 7;
    StartSceneBuild();
    ASSERT_EQ(Process(c.statement), 0);
    EXPECT_EQ(LinearShooting.SolutionLastRow, c.linearRows);
    EXPECT_EQ(Bvp.BVPTrialSlopes[0], c.trialCount);
    EXPECT_EQ(OdeResults.BVPSolved, c.solved);
    EXPECT_EQ(Bvp.BVPRootsMode, c.roots);
    EXPECT_EQ(Bvp.BVPListGiven, c.list);
    EXPECT_GT(Scene.SegmentCount, 0);
  }
}

TEST_F(BvpCommandTest, EveryRunMarksTheOneEquationViewsAndItsFrame) {
  Solutions.IVPOrder1 = 0;
  View.ZAxisNeeded = -1;
  EXPECT_EQ(Process(u"BVP(F,G,{0,0,1,1,10}]"), 3505);
  EXPECT_EQ(Solutions.IVPOrder1, -1);
  EXPECT_EQ(View.ZAxisNeeded, 0);
  EXPECT_EQ(Bvp.Frame5Shown, -1);
  EXPECT_EQ(Bvp.Frame5Caption, u"BVP: {ta,X(ta)} --> {tb,X(tb)}");
}

TEST_F(BvpCommandTest, SlopeListsKeepAtMostTenSlopes) {
  // With a list only the sign of the mode counts: 0.4 draws the listed slopes' trial curves.
  struct Case {
    const char16_t* slopes;
    std::vector<double> expected;  // entries 1..count
  };
  const Case cases[] = {
      {u"{0.5;1;1.5}", {0.5, 1, 1.5}},
      {u"{-a;a}", {-0.5, 0.5}},
      {u"{1;2;3;4;5;6;7;8;9;10}", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {u"{1;2;3;4;5;6;7;8;9;10;11}", {1, 2, 3, 4, 5, 6, 7, 8, 9, 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.slopes, c.slopes + rt::Text(c.slopes).size()));
    ResetBvpState();
    StartSceneBuild();
    const rt::Text statement = rt::Text(u"BVP[F,G,{0,0,1,1}") + c.slopes + u"{1,0.001,0.4}]";
    ASSERT_EQ(Process(statement), 0);
    EXPECT_EQ(Bvp.BVPListGiven, -1);
    ASSERT_EQ(Bvp.BVPTrialSlopes[0], static_cast<double>(c.expected.size()));
    for (size_t k = 0; k < c.expected.size(); ++k)
      EXPECT_DOUBLE_EQ(Bvp.BVPTrialSlopes[k + 1], c.expected[k]) << "slope " << k + 1;
  }
  // A failing list keeps the slopes read so far.
  ResetBvpState();
  EXPECT_EQ(Process(u"BVP[F,G,{0,0,1,1}{4;5;zz}{1,0.001,1}]"), 339);
  EXPECT_EQ(Bvp.BVPTrialSlopes[1], 4);
  EXPECT_EQ(Bvp.BVPTrialSlopes[2], 5);
}

TEST_F(BvpCommandTest, ListWithModeZeroShootsFromTheLastSlopeAndZero) {
  // x'' = -x, x(0) = 0, x(1) = 1: the secant iteration from 0 and 1.5 finds 1/sin 1.
  ASSERT_EQ(Process(u"BVP[F,G,{0,0,1,1}{3;1.5}{1,0.00001,0}]"), 0);
  EXPECT_TRUE(NearRel(OdeResults.InitialSlope, 1 / std::sin(1.0), 1e-4));
  EXPECT_EQ(OdeResults.BVPSolved, -1);
  EXPECT_EQ(Bvp.BVPTrialSlopes[0], 0);
}

TEST_F(BvpCommandTest, TheStoredStatementOfTheWorksheetRuns) {
  RhsEvaluatorEntry() = &CountingEvaluator;
  ASSERT_EQ(Run({u"F{t,x,y} = y", u"G{t,x,y} = -x", u"BVP[F,G,{0,0,1.5707963268,1,20}]"}), 0);
  ASSERT_NE(Requests.BVPRequested, 0);
  rt::Text statement = Requests.BVPStmt;
  int16_t msgNo = -1;
  StartSceneBuild();
  ProcessBVP(statement, msgNo);
  ASSERT_EQ(msgNo, 0);
  ASSERT_EQ(LinearShooting.SolutionLastRow, 20);
  for (int i = 0; i <= 20; ++i) {
    const auto& row = LinearShooting.BVPSolutionTable[static_cast<size_t>(i)];
    EXPECT_TRUE(NearRel(row[2], std::sin(row[1]), 1e-6)) << "row " << i;
  }
}

TEST_F(BvpCommandTest, ResetRestoresTheStartUpState) {
  ASSERT_EQ(Process(u"BVP[F,G,{0,0,1,1}{0.5;1}{1,0.001,-1}]"), 0);
  ResetBvpState();
  EXPECT_EQ(Bvp.BVPTrialSlopes[0], 0);
  EXPECT_EQ(Bvp.BVPTrialSlopes[1], 0);
  EXPECT_EQ(Bvp.BVPListGiven, 0);
  EXPECT_EQ(Bvp.BVPRootsMode, 0);
  EXPECT_EQ(Bvp.Frame5Shown, 0);
  EXPECT_EQ(LinearShooting.SolutionLastRow, -1);
  EXPECT_EQ(BvpTrials.BVPEndMiss[0], 0);
}

}  // namespace
}  // namespace ms::testing
