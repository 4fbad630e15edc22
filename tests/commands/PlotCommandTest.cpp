#include "commands/PlotCommand.h"
#include "plotting/PlotTestSupport.h"

namespace ms::testing {
namespace {

class PlotCommandTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    ASSERT_EQ(Run({u"tb = 3"}), 0);  // range values may be constants
  }
};

// The names, the range (a negative start moved down by 0.0001), the steps and the flags of an
// accepted statement; the message of a refused one.
TEST_F(PlotCommandTest, ReadsNamesRangeStepsAndFlagsOrGivesTheMessage) {
  // Six names fit; a seventh is refused as it is read, and so are all longer lists.
  rt::Text six, twenty;
  for (int k = 0; k < 6; ++k) six += rt::Text(1, static_cast<char16_t>(u'A' + k)) + u",";
  for (int k = 0; k < 20; ++k) twenty += rt::Text(1, static_cast<char16_t>(u'A' + k)) + u",";
  struct Case {
    rt::Text statement;
    int msgNo;
    const char16_t *first = u"", *second = u"";
    int count = 0;
    double tmin = 0, tmax = 0;
    int steps = 0;
    double dt = 0;
    const char16_t* flags = u"";
  };
  const Case cases[] = {
      {u"Plot[Ab,Cd,{t,-1,1,4}aa]", 0, u"Ab", u"Cd", 2, -1.0001, 1, 4, 0.500025, u"aa"},
      {u"plot[A,B,{s,0,2,2.5}]", 0, u"A_", u"B_", 2, 0, 2, 2, 1.0, u""},
      {u"Plot[Q,{x,(0.5),tb,5}a]", 0, u"Q_", u"", 1, 0.5, 3, 5, 0.5, u"a"},
      {u"Plot[" + six + u"{t,0,1,10}]", 0, u"A_", u"B_", 6, 0, 1, 10, 0.1, u""},
      {u"Plot[" + six + u"Gh,{t,0,1,10}]", kMsgTooManyPlotVectors, u"A_", u"B_", 6},
      {u"Plot[" + twenty + u"{t,0,1,10}]", kMsgTooManyPlotVectors, u"A_", u"B_", 6},
      {u"PLOT[A,{t,0,1,10}]", 358},      // keyword spelling
      {u"Plot[A,{t,0,1}]", 333},         // shorter than 17 characters
      {u"Plot[A{t,0,1,10}]", 331},       // no comma after the name
      {u"Plot[A,{T,0,1,10}]", 330},      // parameter not lower case
      {u"Plot[A,{t0,1,10}]", 315},       // no comma after the parameter
      {u"Plot[A,{t,0,1,0.5}]", 337},     // steps round to 0
      {u"Plot[A,{t,2,1,10}]", 338},      // reversed range
      {u"Plot[A,{t,0,1,10}", 335},       // no closing bracket
      {u"Plot[A,{t,0,zz,10}]", 314},     // unknown constant for the end value
      {u"Plot[A,{t,0,1,qq}]", 339},      // unknown constant for the steps passes through
      {u"Plot[A,{t,0,1,100000}]", 337},  // more steps than the count can hold
      {u"Plot[" + twenty + u"U,{t,0,1,10}]", kMsgTooManyPlotVectors, u"A_", u"B_", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    EXPECT_EQ(ProcessPlot(c.statement), c.msgNo);
    if (c.count != 0) {
      EXPECT_EQ(PlotRequest.PlotVectorCount, c.count);
      EXPECT_EQ(PlotRequest.PlotVectorList[1], c.first);
      EXPECT_EQ(PlotRequest.PlotVectorList[2], c.second);
    }
    if (c.msgNo != 0) continue;
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMin, c.tmin);
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMax, c.tmax);
    EXPECT_EQ(PlotRequest.PlotSteps, c.steps);
    EXPECT_NEAR(PlotRequest.PlotDt, c.dt, 1e-12);
    EXPECT_EQ(PlotRequest.ArrowFlags, c.flags);
  }
}

}  // namespace
}  // namespace ms::testing
