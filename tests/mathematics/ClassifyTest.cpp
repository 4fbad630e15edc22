#include <gtest/gtest.h>

#include "language/CommandRequests.h"
#include "mathematics/Classify.h"
#include "plotting/PlotRequest.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

class ClassifyTest : public LanguageTest {
 protected:
  static int16_t Classify(const char16_t* stored) {
    rt::Text s = stored;
    return ClassifyAndStore(s);
  }
};

TEST_F(ClassifyTest, FunctionHeadersWithOneToFiveParameters) {
  const struct {
    const char16_t* stored;
    int msgNo;
    const char16_t* parms = u"";  // parameters of the stored record, when stored
  } cases[] = {{u"F_{x}=x^2", 0, u"x"},
               {u"F_{x,y,z,u,v}=x+y", 0, u"xyzuv"},
               {u"F_{x,y,z,u,v,w}=x", 305},  // six parameters
               {u"F_{x}x", 305},             // no "}="
               {u"F_x=2", 307},              // neither "{" nor "<"
               {u"A_<T>=<1,1,1>", 306},      // parameter not lower case
               {u"3x=2", 308},
               // "vMacro[" begins with a lower-case letter: it goes to the constant statements.
               {u"vMacro[vTwo[A],vAdd[A,A]]", 418}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stored));
    SetUp();
    EXPECT_EQ(Classify(c.stored), c.msgNo);
    EXPECT_EQ(Tables.VecCount, 0);
    if (c.msgNo != 0) {
      EXPECT_EQ(Tables.FuncCount, 0);
      continue;
    }
    ASSERT_EQ(Tables.FuncCount, 1);
    const FuncRec& f = Tables.FuncTable[1];
    EXPECT_EQ(U8(f.Parm1 + f.Parm2 + f.Parm3 + f.Parm4 + f.Parm5), U8(c.parms));
    EXPECT_NE(f.Expr.find(rt::Text(c.stored).substr(4 + 2 * rt::Text(c.parms).size())),
              rt::Text::npos);
  }
}

TEST_F(ClassifyTest, DeferredCommandsAreFiledWithTheirFlags) {
  const struct {
    const char16_t* statement;
    int16_t* flag;
    rt::Text* slot;
  } cases[] = {
      {u"PlotSlopeField[F,{-2,2,1},{-2,2,1},r]", &Requests.SlopeFieldRequested,
       &Requests.SlopeFieldStmt},
      {u"plotdirfield[F,G,{-2,2,1},{-2,2,1}]", &Requests.DirFieldRequested, &Requests.DirFieldStmt},
      {u"IVP[F,{0,1,0,10},1]", &Requests.IVPRequested, &Requests.IVPStmt},
      {u"bvp[F,{0,1,0,1,10}]", &Requests.BVPRequested, &Requests.BVPStmt},
      {u"PlotField3D[A,{-1,1,1}]", &Requests.Field3DRequested, &Requests.Field3DStmt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    SetUp();
    EXPECT_EQ(Classify(c.statement), 0);
    EXPECT_EQ(*c.flag, -1);
    EXPECT_EQ(*c.slot, c.statement);
    EXPECT_EQ(Tables.FuncCount + Tables.ConstCount, 0);
  }
  // The later statement of a command wins; the two contour flags move together.
  ASSERT_EQ(Run({u"IVP[F,{0,1,0,10},1]", u"IVP[G,{0,2,0,10},1]", u"PlotContour[F,{-1,1,10}]",
                 u"PlotContour1[G,{-1,1,10}]"}),
            0);
  EXPECT_EQ(Requests.IVPStmt, u"IVP[G,{0,2,0,10},1]");
  EXPECT_EQ(Requests.ContourRequested, 0);
  EXPECT_EQ(Requests.Contour1Requested, -1);
  EXPECT_EQ(Requests.ContourAllQuadrants, 0);
  EXPECT_EQ(Requests.ContourStmt, u"PlotContour1[G,{-1,1,10}]");
}

// Integ[ and dblInt[ share one count, each slot filled in one list only; one-letter result
// constants are stored padded, two-letter ones as written, with an empty expression, and a later
// statement uses them. Every run starts with empty slots.
TEST_F(ClassifyTest, IntegralsShareOneCountAndFillTheirOwnLists) {
  const rt::Text functions = u"F{x}=x^2\r\nG{x,y}=x*y\r\nC{x}=0\r\nD{x}=1\r\n";
  const rt::Text integ = u"a=Integ[F,{0,1,3,0}]\r\n";
  const rt::Text dblInt = u"ab=dblInt[G,C,D,{0,1,2,2,y}]\r\n";
  ASSERT_EQ(RunText(functions + integ + dblInt + u"c=integ[F,{0,3,3,0}]\r\nb=a*3\r\n"), 0);
  EXPECT_EQ(Requests.IntegStmtCount, 3);
  EXPECT_EQ(Requests.IntegStmts[0], u"a=Integ[F,{0,1,3,0}]");
  EXPECT_EQ(Requests.IntegStmts[1], u"");
  EXPECT_EQ(Requests.IntegStmts[2], u"c=integ[F,{0,3,3,0}]");
  EXPECT_EQ(Requests.DblIntStmts[1], u"ab=dblInt[G,C,D,{0,1,2,2,y}]");
  EXPECT_EQ(Requests.IntegRequested, -1);
  EXPECT_EQ(Requests.DblIntRequested, 0);
  EXPECT_EQ(FindConst(u"ab")->Expr, u"");
  const std::pair<const char16_t*, double> results[] = {
      {u"a_", 1.0 / 3}, {u"ab", 0.25}, {u"c_", 9.0}, {u"b_", 1.0}};
  for (const auto& [name, value] : results) {
    SCOPED_TRACE(U8(name));
    EXPECT_NEAR(ConstValue(name), value, 1e-9);
  }
  ASSERT_EQ(RunText(functions + dblInt + integ), 0);
  EXPECT_EQ(Requests.IntegStmtCount, 2);
  EXPECT_EQ(Requests.IntegStmts[0] + Requests.DblIntStmts[1] + Requests.IntegStmts[2], u"");
  EXPECT_EQ(Requests.IntegStmts[1], integ.substr(0, integ.size() - 2));
}

// Plot sets its request and lights the Graph button. A command skips the closing steps; a
// definition wraps every body once more and processes the last vector again; while PlotPending
// stays set, PlotRequested survives later statements. A failing Plot[ leaves the button grey and
// disabled.
TEST_F(ClassifyTest, ClosingStepsAndThePlotRequest) {
  ASSERT_EQ(Run({u"A<t>=<t,2*t,0>", u"Plot[A,{t,0,1,4}]"}), 0);
  EXPECT_EQ(Requests.PlotRequested, -1);
  EXPECT_EQ(Tables.PlotPending, -1);
  EXPECT_EQ(WorksheetSignals.GraphAvailable, true);
  const int funcs = Tables.FuncCount;
  const rt::Text body = Tables.FuncTable[1].Expr;
  EXPECT_EQ(Classify(u"PlotSlopeField[F,{-2,2,1},{-2,2,1},r]"), 0);
  EXPECT_EQ(Tables.FuncCount, funcs);
  EXPECT_EQ(Tables.FuncTable[1].Expr, body);
  EXPECT_EQ(Classify(u"k_=2"), 0);
  EXPECT_EQ(Tables.FuncTable[1].Expr, u"(" + body + u")");
  EXPECT_EQ(Tables.FuncCount, funcs + 3);
  EXPECT_EQ(Requests.PlotRequested, -1);
  Tables.PlotPending = 0;
  EXPECT_EQ(Classify(u"k_=2"), 0);
  EXPECT_EQ(Requests.PlotRequested, 0);
  EXPECT_EQ(Classify(u"Plot[A,{t,1,1,4}]"), 338);
  EXPECT_EQ(WorksheetSignals.GraphAvailable, false);
}

}  // namespace
}  // namespace ms
