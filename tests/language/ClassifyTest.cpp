#include <gtest/gtest.h>

#include "language/Classify.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/ProgramState.h"
#include "language/UserInput.h"
#include "plotting/PlotRequest.h"

namespace ms {
namespace {

class ClassifyTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }

  // Reads a worksheet (each line ended by CR LF) through the whole pipeline.
  int16_t Read(std::initializer_list<const char16_t*> lines) {
    rt::Text text;
    for (const char16_t* l : lines) text += rt::Text(l) + u"\r\n";
    rt::Text stmtText;
    int16_t msgNo = 0;
    ProcessWorksheet(text, stmtText, msgNo);
    return msgNo;
  }

  int16_t Classify(const char16_t* stored) {
    rt::Text s = stored;
    int16_t msgNo = -5;
    ClassifyAndStore(s, msgNo);
    return msgNo;
  }
};

TEST_F(ClassifyTest, FunctionHeadersWithOneToFiveParameters) {
  struct Case {
    const char16_t* stored;
    int msgNo;
    int parms;  // parameters of the stored record, when stored
  };
  const Case cases[] = {
      {u"F_{x}=x^2", 0, 1},       {u"F_{x,y}=x*y", 0, 2},
      {u"F_{x,y,z,u,v}=x", 0, 5}, {u"F_{x,y,z,u,v,w}=x", 305, 0},  // six parameters
      {u"F_{1}=2", 305, 0},                                        // a digit as parameter
      {u"F_{x}x", 305, 0},                                         // no "}="
      {u"F_x=2", 307, 0},                                          // neither "{" nor "<"
      {u"A_<T>=<1,1,1>", 306, 0},                                  // parameter not lower case
      {u"A_<t>-<1,1,1>", 306, 0},                                  // no ">="
      {u"3x=2", 308, 0},          {u"+x", 308, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.stored));
    ResetProgramState();
    EXPECT_EQ(Classify(c.stored), c.msgNo);
    if (c.msgNo != 0) continue;
    ASSERT_EQ(Tables.FuncCount, 1);
    const FuncRec& f = Tables.FuncTable[1];
    EXPECT_EQ(f.Name, u"F_");
    const rt::Text* parms[5] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    for (int j = 0; j < 5; ++j) EXPECT_EQ(parms[j]->empty(), j >= c.parms) << "parameter " << j;
  }
}

TEST_F(ClassifyTest, DeferredCommandsAreFiledWithTheirFlags) {
  struct Case {
    const char16_t* statement;
    int16_t* flag;
    rt::Text* slot;
  };
  const Case cases[] = {
      {u"PlotSlopeField[F,{-2,2,1},{-2,2,1},r]", &Requests.SlopeFieldRequested,
       &Requests.SlopeFieldStmt},
      {u"plotdirfield[F,G,{-2,2,1},{-2,2,1}]", &Requests.DirFieldRequested, &Requests.DirFieldStmt},
      {u"IVP[F,{0,1,0,10},1]", &Requests.IVPRequested, &Requests.IVPStmt},
      {u"bvp[F,{0,1,0,1,10}]", &Requests.BVPRequested, &Requests.BVPStmt},
      {u"PlotField3D[A,{-1,1,1}]", &Requests.Field3DRequested, &Requests.Field3DStmt},
      {u"plotcontour[F,{-1,1,10}]", &Requests.ContourRequested, &Requests.ContourStmt},
      {u"PlotContour1[F,{-1,1,10}]", &Requests.Contour1Requested, &Requests.ContourStmt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    ResetProgramState();
    EXPECT_EQ(Classify(c.statement), 0);
    EXPECT_EQ(*c.flag, -1);
    EXPECT_EQ(*c.slot, c.statement);
    EXPECT_EQ(Tables.FuncCount, 0);
    EXPECT_EQ(Tables.ConstCount, 0);
  }
}

TEST_F(ClassifyTest, LaterStatementOfACommandWinsAndContourFlagsMoveTogether) {
  ASSERT_EQ(Read({u"IVP[F,{0,1,0,10},1]", u"IVP[G,{0,2,0,10},1]", u"PlotContour[F,{-1,1,10}]",
                  u"PlotContour1[G,{-1,1,10}]"}),
            0);
  EXPECT_EQ(Requests.IVPStmt, u"IVP[G,{0,2,0,10},1]");
  EXPECT_EQ(Requests.ContourRequested, 0);
  EXPECT_EQ(Requests.Contour1Requested, -1);
  EXPECT_EQ(Requests.ContourAllQuadrants, 0);
  EXPECT_EQ(Requests.ContourStmt, u"PlotContour1[G,{-1,1,10}]");
}

TEST_F(ClassifyTest, IntegralsShareOneCountAndFillTheirOwnLists) {
  ASSERT_EQ(Read({u"F{x}=x^2", u"G{x,y}=x*y", u"C{x}=0", u"D{x}=1", u"a=Integ[F,{0,1,3,0}]",
                  u"ab=dblInt[G,C,D,{0,1,2,2,y}]", u"c=integ[F,{0,3,3,0}]"}),
            0);
  EXPECT_EQ(Requests.IntegStmtCount, 3);
  EXPECT_EQ(Requests.IntegStmts[0], u"a=Integ[F,{0,1,3,0}]");
  EXPECT_EQ(Requests.IntegStmts[1], u"");
  EXPECT_EQ(Requests.IntegStmts[2], u"c=integ[F,{0,3,3,0}]");
  EXPECT_EQ(Requests.DblIntStmts[1], u"ab=dblInt[G,C,D,{0,1,2,2,y}]");
  EXPECT_EQ(Requests.IntegRequested, -1);
  EXPECT_EQ(Requests.DblIntRequested, 0);
  // One-letter result constants are stored padded, two-letter ones as written.
  const char16_t* names[] = {u"a_", u"ab", u"c_"};
  const double values[] = {1.0 / 3, 0.25, 9.0};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(rt::ToUtf8(names[k]));
    int found = 0;
    for (int i = 1; i <= Tables.ConstCount; ++i)
      if (Tables.ConstTable[i].Name == names[k]) found = i;
    ASSERT_NE(found, 0);
    EXPECT_NEAR(rt::Val(Tables.ConstTable[found].ValueText), values[k], 1e-9);
  }
}

TEST_F(ClassifyTest, IntegralConstantIsUsableLater) {
  ASSERT_EQ(Read({u"F{x}=x^2", u"a=Integ[F,{0,1,3,0}]", u"b=a*3"}), 0);
  int found = 0;
  for (int i = 1; i <= Tables.ConstCount; ++i)
    if (Tables.ConstTable[i].Name == u"b_") found = i;
  ASSERT_NE(found, 0);
  EXPECT_NEAR(rt::Val(Tables.ConstTable[found].ValueText.substr(1)), 1.0, 1e-9);
}

TEST_F(ClassifyTest, CommandsSkipTheClosingSteps) {
  ASSERT_EQ(Read({u"A<t>=<t,t,0>"}), 0);
  const int funcs = Tables.FuncCount;
  const rt::Text body = Tables.FuncTable[1].Expr;
  EXPECT_EQ(Classify(u"PlotSlopeField[F,{-2,2,1},{-2,2,1},r]"), 0);
  EXPECT_EQ(Tables.FuncCount, funcs);
  EXPECT_EQ(Tables.FuncTable[1].Expr, body);
  // A definition wraps every body once more and processes the last vector again.
  EXPECT_EQ(Classify(u"k_=2"), 0);
  EXPECT_EQ(Tables.FuncTable[1].Expr, u"(" + body + u")");
  EXPECT_EQ(Tables.FuncCount, funcs + 3);
}

TEST_F(ClassifyTest, PlotSetsTheRequestAndTheGraphButton) {
  ASSERT_EQ(Read({u"A<t>=<t,2*t,0>", u"Plot[A,{t,0,1,4}]"}), 0);
  EXPECT_EQ(Requests.PlotRequested, -1);
  EXPECT_EQ(Tables.PlotPending, -1);
  EXPECT_EQ(WorksheetSignals.GraphEnabled, -1);
  EXPECT_EQ(WorksheetSignals.GraphBackColor, kGraphAvailableColor);
  // While PlotPending stays set, PlotRequested survives later statements.
  EXPECT_EQ(Classify(u"k_=2"), 0);
  EXPECT_EQ(Requests.PlotRequested, -1);
  Tables.PlotPending = 0;
  EXPECT_EQ(Classify(u"k_=2"), 0);
  EXPECT_EQ(Requests.PlotRequested, 0);
  // A failing Plot[ leaves the button grey and disabled.
  EXPECT_EQ(Classify(u"Plot[A,{t,1,1,4}]"), 338);
  EXPECT_EQ(WorksheetSignals.GraphEnabled, 0);
  EXPECT_EQ(WorksheetSignals.GraphBackColor, kGraphUnavailableColor);
}

TEST_F(ClassifyTest, MacroStatementGoesToTheConstantPath) {
  // "vMacro[" begins with a lower-case letter: it is handed to the constant statements, which
  // know no macro definitions.
  rt::Text s = u"vMacro[vTwo[A],vAdd[A,A]]";
  int16_t msgNo = 0;
  ClassifyAndStore(s, msgNo);
  EXPECT_NE(msgNo, 0);
  EXPECT_EQ(Tables.FuncCount, 0);
  EXPECT_EQ(Tables.VecCount, 0);
}

}  // namespace
}  // namespace ms
