#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "commands/ExecuteCommands.h"
#include "language/CommandRequests.h"
#include "mathematics/Classify.h"
#include "plotting/PlotRequest.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

// A vector of the worksheet written out: its components at t.
using Vec3Of = std::array<double, 3> (*)(double t);

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

// n distinct two-character names of constants (a letter and a digit or a second letter).
std::vector<rt::Text> ConstantNames(int n) {
  std::vector<rt::Text> names;
  const rt::Text firsts = u"bcdfghjkmnpqrsuvwxyz", seconds = u"0123456789abcdfghjkmnpqrsuvwxyz";
  for (char16_t a : firsts) {
    for (char16_t b : seconds) {
      if (static_cast<int>(names.size()) < n) names.push_back(rt::Text{a, b});
    }
  }
  return names;
}

// The last vector is made again after every statement that is not a command. From its third
// making on the new component records replace those of the making before, so a worksheet of 400
// statements (the most a worksheet holds) fits the function table whatever follows the vector;
// the records of the defining statement stay, and the last vector's components stay the last
// records of the table, evaluated last as before.
TEST_F(ClassifyTest, VectorsMadeAgainDoNotFillTheFunctionTable) {
  const struct {
    const char16_t* name;
    std::vector<const char16_t*> head;  // the statements before the 398 or 300 that follow
    bool functionsFollow;
    int records;  // function records at the end
    Vec3Of value;
  } cases[] = {
      {u"list vector, then constants",
       {u"A<t>=<t,t^2,0>"},
       false,
       6,
       [](double t) {
         return std::array<double, 3>{t, t * t, 0};
       }},
      {u"operation vector, then constants",
       {u"A<t>=<t,t^2,0>", u"C<t>=<1,0,t>", u"B<t>=vCross[A,C]"},
       false,
       12,
       [](double t) {
         return std::array<double, 3>{t * t * t, -t * t, -t * t};
       }},
      {u"list vector, then functions",
       {u"A<t>=<t,t^2,0>"},
       true,
       300 + 6,
       [](double t) {
         return std::array<double, 3>{t, t * t, 0};
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.name));
    LanguageTest::SetUp();
    std::vector<rt::Text> lines(c.head.begin(), c.head.end());
    if (c.functionsFollow) {
      // G_a{x}=x+0 ... : 300 functions of x, each its own number.
      for (int k = 0; k < 300; ++k) {
        const rt::Text name{static_cast<char16_t>(u'G' + k / 26),
                            static_cast<char16_t>(u'a' + k % 26)};
        lines.push_back(name + u"{x}=x+" + rt::IntText(k));
      }
    } else {
      for (const rt::Text& name : ConstantNames(400 - 1 - static_cast<int>(c.head.size())))
        lines.push_back(name + u"=1");
    }
    lines.push_back(u"<t=3>");
    ASSERT_LE(lines.size(), 400u);
    rt::Text text;
    for (const rt::Text& line : lines) text += line + u"\r\n";
    ASSERT_EQ(RunText(text), 0);
    EXPECT_EQ(Tables.FuncCount, c.records);
    const VecRec& last = Tables.VecTable[Tables.VecCount];
    const rt::Text* names[3] = {&last.XFuncName, &last.YFuncName, &last.ZFuncName};
    for (double t : {-1.5, 3.0}) {
      const std::array<double, 3> v = c.value(t);
      for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(ValueOf(*names[k], t), v[k]);
    }
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(Tables.FuncTable[Tables.FuncCount - 2 + k].Name, *names[k]);
    if (c.functionsFollow) {
      EXPECT_DOUBLE_EQ(ValueOf(u"Ga", 2), 2);
      EXPECT_DOUBLE_EQ(ValueOf(rt::Text{u'G' + 299 / 26, u'a' + 299 % 26}, 2), 2 + 299);
    }
  }
}

}  // namespace
}  // namespace ms
