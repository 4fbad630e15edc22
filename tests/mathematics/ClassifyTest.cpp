#include <gtest/gtest.h>

#include "commands/ExecuteCommands.h"
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
    return ClassifyAndRun(s);
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
               {u"F_x=2", 307},              // neither "{" nor "<"
               {u"A_<T>=<1,1,1>", 306},      // parameter not lower case
               {u"3x=2", 308}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stored));
    SetUp();
    EXPECT_EQ(Classify(c.stored), c.msgNo);
    ASSERT_EQ(Tables.FuncCount, c.msgNo == 0 ? 1 : 0);
    if (c.msgNo != 0) continue;
    const FuncRec& f = Tables.FuncTable[1];
    EXPECT_EQ(U8(f.Parm1 + f.Parm2 + f.Parm3 + f.Parm4 + f.Parm5), U8(c.parms));
  }
}

// A command is filed with its flag and stores no record (the end-to-end graph cases run each
// command from its slot); the later statement of a command wins; the two contour flags move
// together.
TEST_F(ClassifyTest, DeferredCommandsAreFiledWithTheirFlags) {
  ASSERT_EQ(Run({u"IVP[F,{0,1,0,10},1]", u"IVP[G,{0,2,0,10},1]", u"PlotContour[F,{-1,1,10}]",
                 u"PlotContour1[G,{-1,1,10}]"}),
            0);
  EXPECT_EQ(Requests.IVPStmt, u"IVP[G,{0,2,0,10},1]");
  EXPECT_EQ(Requests.IVPRequested, -1);
  EXPECT_EQ(Tables.FuncCount + Tables.ConstCount, 0);
  EXPECT_EQ(Requests.ContourRequested, 0);
  EXPECT_EQ(Requests.Contour1Requested, -1);
  EXPECT_EQ(Requests.ContourAllQuadrants, 0);
  EXPECT_EQ(Requests.ContourStmt, u"PlotContour1[G,{-1,1,10}]");
}

// Plot sets its request and lights the Graph button. A command skips the closing steps; a
// definition wraps every body once more and processes the last vector again; while PlotPending
// stays set, PlotRequested survives later statements. A failing Plot[ leaves the button disabled.
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
  EXPECT_EQ(Classify(u"kk=2"), 0);
  EXPECT_EQ(Requests.PlotRequested, 0);
  EXPECT_EQ(Classify(u"Plot[A,{t,1,1,4}]"), 338);
  EXPECT_EQ(WorksheetSignals.GraphAvailable, false);
}

}  // namespace
}  // namespace ms
