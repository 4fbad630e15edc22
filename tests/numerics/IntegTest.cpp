#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "mathematics/Math.h"
#include "numerics/Integ.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneTestSupport.h"

namespace ms {
namespace {

using testing::SegmentsFrom;

class IntegTest : public testing::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ClearAll();
    ResetMathState();
    InitBuiltinNames();
    ResetIntegChain();
    IntegResult = 0;
    StartSceneBuild();
    Define(u"F_", u"x", u"", u"x^2");
    Define(u"G_", u"x", u"", u"2");
    Define(u"H_", u"x", u"", u"1");
    Define(u"R_", u"x", u"", u"1/x");
    Define(u"P_", u"x", u"y", u"x+y");
    Define(u"N_", u"", u"", u"3");
  }

  static void Define(const char16_t* name, const char16_t* p1, const char16_t* p2,
                     const char16_t* expr) {
    FuncRec& f = Tables.FuncTable[++Tables.FuncCount];
    f.Name = name;
    f.Parm1 = p1;
    f.Parm2 = p2;
    TokenizeNames(expr, f.Expr);
  }

  // The result constant as the statement's classification appends it before the computation.
  static int AddResultConstant(const char16_t* name) {
    ConstRec& c = Tables.ConstTable[++Tables.ConstCount];
    c.Name = name;
    c.ValueText = rt::Str(IntegResult);
    return Tables.ConstCount;
  }

  static int16_t Run(const rt::Text& statement, int16_t slot, bool fromGraph = false) {
    rt::Text s = statement;
    int16_t msgNo = -99;
    ProcessInteg(s, slot, msgNo, fromGraph);
    return msgNo;
  }
};

TEST_F(IntegTest, StatementFormsAndTheirMessages) {
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
  };
  const Case cases[] = {
      {u"c=Integ[F,{0,1,10,0}]", 0},       {u"c=integ[F,{0,1,10,0}]", 0},
      {u"cd=Integ[F,{0,1,10,0}]", 0},      {u"c=INTEG[F,{0,1,10,0}]", 5000},
      {u"c=Integ(F,{0,1,10,0}]", 5005},    {u"c=Integ[f,{0,1,10,0}]", 5010},
      {u"c=Integ[Q,{0,1,10,0}]", 5050},    {u"c=Integ[N,{0,1,10,0}]", 5050},
      {u"c=Integ[P,{0,1,10,0}]", 5060},    {u"c=Integ[F{0,1,10,0}]", 5020},
      {u"c=Integ[F,G{0,1,10,0}]", 5040},   {u"c=Integ[F,1,{0,1,10,0}]", 5050},
      {u"c=Integ[F,G,H{0,1,10,0}]", 5050}, {u"c=Integ[F,G,H,x{0,1,10,0}]", 5050},
      {u"c=Integ[F,Q,{0,1,10,0}]", 5050},  {u"c=Integ[F,G,P,{0,1,10,0}]", 5060},
      {u"c=Integ[F,{0,1,10,0})", 5080},    {u"c=Integ[F,{1,1,10,0}]", 5090},
      {u"c=Integ[F,{0,1,0,0}]", 5095},     {u"c=Integ[F,{0,1,-3,0}]", 5095},
      {u"c=Integ[F,{0,1,0.4,0}]", 5095},   {u"c=Integ[F,{0,zz,10,0}]", 339},
      {u"c=Integ[F,{0,1,10,0", 333},       {u"", 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    EXPECT_EQ(Run(c.statement, 1), c.msgNo);
  }
}

TEST_F(IntegTest, ValuesAgainstExactIntegrals) {
  struct Case {
    const char16_t* statement;
    double exact;
  };
  // The 3/8 rule is exact for cubics, so every case here is exact up to rounding.
  const Case cases[] = {
      {u"c=Integ[F,{0,1,10,0}]", 1.0 / 3},
      {u"c=Integ[F,{1,0,10,0}]", -1.0 / 3},
      {u"c=Integ[F,{-1,2,7,0}]", 3.0},
      {u"c=Integ[F,G,{0,1,10,0}]", 2.0 / 3},
      {u"c=Integ[F,G,H,{0,1,10,0}]", 2.0 / 3 + 1},
      {u"c=Integ[F,{0,3,2.5,0}]", 9.0},  // 2.5 panels: two whole panels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    SetUp();
    const int k = AddResultConstant(u"c");
    ASSERT_EQ(Run(c.statement, 1), 0);
    EXPECT_NEAR(IntegResult, c.exact, 1e-12 * std::fabs(c.exact));
    EXPECT_EQ(Tables.ConstTable[k].Name, u"c_");
    EXPECT_EQ(Tables.ConstTable[k].Expr, u"0");
    EXPECT_EQ(Tables.ConstTable[k].ValueText, rt::Str(IntegResult));
    EXPECT_NEAR(rt::Val(Tables.ConstTable[k].ValueText), c.exact, 1e-12 * std::fabs(c.exact));
    EXPECT_EQ(Requests.IntegRequested, -1);
  }
}

TEST_F(IntegTest, XSquaredStoresAThirdWithALeadingBlank) {
  const int k = AddResultConstant(u"c");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  const rt::Text& text = Tables.ConstTable[k].ValueText;
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text[0], u' ');
  EXPECT_NEAR(rt::Val(text), 1.0 / 3, 1e-14);
  // The running integral in the slot: x^3/3 at every node, the work column cleared.
  for (int i = 0; i <= 10; ++i) {
    SCOPED_TRACE(i);
    const double x = SolutionAt(i, 1, 1);
    EXPECT_NEAR(x, 0.1 * i, 1e-14);
    EXPECT_NEAR(SolutionAt(i, 2, 1), x * x * x / 3, 1e-14);
    EXPECT_EQ(SolutionAt(i, 3, 1), 0);
  }
  // The curve: nodes 0..9 to the next node and a dot at node 10, in the integral colour.
  const auto segs = SegmentsFrom(0);
  ASSERT_EQ(segs.size(), 11u);
  testing::ExpectPointNear(segs[10].from, segs[10].to, 0);
  EXPECT_EQ(segs[0].row[kRed] + segs[0].row[kGreen] + segs[0].row[kBlue], 0);
  EXPECT_NEAR(Scene.ViewYMax, 1.0 / 3, 1e-14);
  EXPECT_EQ(Scene.VertexCountD, 22);
  EXPECT_EQ(Solutions.SphereMarkersOn, -1);
  EXPECT_EQ(CurveWork.DotSpacingOn, -1);
  // A later run finds the constant under its padded name.
  ASSERT_EQ(Run(u"c=Integ[F,{0,2,10,0}]", 1), 0);
  EXPECT_NEAR(rt::Val(Tables.ConstTable[k].ValueText), 8.0 / 3, 1e-13);
}

TEST_F(IntegTest, PanelCountIsCappedAtTheRowsOfASlot) {
  AddResultConstant(u"c");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,2000,0}]", 1), 0);
  EXPECT_NEAR(SolutionAt(1, 1, 1), 0.001, 1e-15);
  EXPECT_NEAR(SolutionAt(1000, 1, 1), 1, 1e-12);
  EXPECT_NEAR(IntegResult, 1.0 / 3, 1e-12);
}

TEST_F(IntegTest, SphereMarkersOnEverySecondPoint) {
  struct Case {
    const char16_t* statement;
    std::vector<int> marked;
  };
  const std::vector<Case> cases = {
      {u"c=Integ[F,{0,1,6,2}]", {2, 4, 6}},
      {u"c=Integ[F,{0,1,6,0}]", {}},
      {u"c=Integ[F,{0,1,6,-3}]", {}},
      {u"c=Integ[F,{0,1,6,2.95}]", {3, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    StartSceneBuild();
    ClearSegmentMarks();
    ASSERT_EQ(Run(c.statement, 1), 0);
    std::vector<int> marked;
    const auto segs = SegmentsFrom(0);
    for (size_t k = 0; k < segs.size(); ++k)
      if (segs[k].row[kDotMark] == 1.0) marked.push_back(static_cast<int>(k));
    EXPECT_EQ(marked, c.marked);
  }
}

TEST_F(IntegTest, ALaterStatementContinuesTheCurveBeforeIt) {
  AddResultConstant(u"c");
  AddResultConstant(u"d");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  ASSERT_EQ(Run(u"d=Integ[F,{1,2,10,0}]", 2), 0);
  EXPECT_NEAR(SolutionAt(0, 2, 2), 1.0 / 3, 1e-14);
  EXPECT_NEAR(IntegResult, 1.0 / 3 + 7.0 / 3, 1e-13);
  EXPECT_NEAR(rt::Val(Tables.ConstTable[2].ValueText), 8.0 / 3, 1e-13);
}

TEST_F(IntegTest, AStartValueNeverComesFromOutsideTheRun) {
  AddResultConstant(u"c");
  AddResultConstant(u"d");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  // A new run whose slot 1 is not a single integral: slot 2 starts from 0.
  ResetIntegChain();
  ASSERT_EQ(Run(u"d=Integ[F,{1,2,10,0}]", 2), 0);
  EXPECT_EQ(SolutionAt(0, 2, 2), 0);
  EXPECT_NEAR(IntegResult, 7.0 / 3, 1e-13);
  // Slot 1 again starts a new chain by itself.
  ASSERT_EQ(Run(u"d=Integ[F,{1,2,10,0}]", 2), 0);
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  EXPECT_EQ(SolutionAt(0, 2, 1), 0);
}

TEST_F(IntegTest, APoleStopsTheRunWithAMessage) {
  IntegResult = 5;
  const int k = AddResultConstant(u"c");
  const int16_t msgNo = Run(u"c=Integ[R,{0,1,10,0}]", 1);
  EXPECT_NE(msgNo, 0);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text,
            u"A division by zero encounted given the integral range.\r\nKey Return button to "
            u"return to the worksheet.");
  EXPECT_EQ(Scene.SegmentCount, 0);
  EXPECT_EQ(IntegResult, 5);
  EXPECT_EQ(Tables.ConstTable[k].ValueText, rt::Str(5));
}

TEST_F(IntegTest, ReplotInTheGraphDrawsTheStoredSlotWithoutComputing) {
  const int k = AddResultConstant(u"c");
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  SetSolution(10, 2, 1, 42);  // marks the stored slot
  StartSceneBuild();
  RunFlags.Replot = -1;
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1, true), 0);
  EXPECT_EQ(SolutionAt(10, 2, 1), 42);
  EXPECT_EQ(Scene.ViewYMax, 42);
  EXPECT_NEAR(rt::Val(Tables.ConstTable[k].ValueText), 1.0 / 3, 1e-14);
  // At Execute Replot does not stop the computation.
  ASSERT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", 1), 0);
  EXPECT_NEAR(SolutionAt(10, 2, 1), 1.0 / 3, 1e-14);
}

TEST_F(IntegTest, SlotsOutsideTheIntegralListAreRefused) {
  for (int16_t slot : {0, 13, -1}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", slot), kMsgIntegralListFull);
    RunFlags.Replot = -1;
    EXPECT_EQ(Run(u"c=Integ[F,{0,1,10,0}]", slot, true), kMsgIntegralListFull);
    RunFlags.Replot = 0;
  }
}

TEST_F(IntegTest, OnePanelByTheThreeEighthsRule) {
  double panel = 0;
  int16_t msgNo = 0;
  Simpson38Panel(u"F_", 1, 0.5, panel, msgNo);
  ASSERT_EQ(msgNo, 0);
  EXPECT_NEAR(panel, (1.5 * 1.5 * 1.5 - 1) / 3, 1e-14);
  double v = 0;
  EvalFunc1(u"Q_", 1, v, msgNo);
  EXPECT_NE(msgNo, 0);
  EXPECT_EQ(Tables.ConstCount, 0);
}

}  // namespace
}  // namespace ms
