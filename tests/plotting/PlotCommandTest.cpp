#include "plotting/PlotCommand.h"

#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "plotting/PlotRequest.h"

namespace ms {
namespace {

class PlotCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearAll();
    ResetPlotRequest();
  }
};

TEST_F(PlotCommandTest, ReadsNamesRangeStepsAndFlags) {
  struct Case {
    const char16_t* statement;
    int count;
    const char16_t* first;
    const char16_t* second;
    double tmin, tmax;
    int steps;
    double dt;
    const char16_t* flags;
  };
  const Case cases[] = {
      {u"Plot[A,{t,0,1,10}]", 1, u"A_", u"", 0, 1, 10, 0.1, u""},
      {u"Plot[Ab,Cd,{t,-1,1,4}aa]", 2, u"Ab", u"Cd", -1.0001, 1, 4, 0.500025, u"aa"},
      {u"plot[A,B,{s,0,2,2.5}]", 2, u"A_", u"B_", 0, 2, 2, 1.0, u""},
      {u"Plot[Q,{x,(0.5),(2),3}a]", 1, u"Q_", u"", 0.5, 2, 3, 0.5, u"a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    rt::Text s = c.statement;
    int16_t msgNo = -7;
    ProcessPlot(s, msgNo);
    ASSERT_EQ(msgNo, 0);
    EXPECT_EQ(PlotRequest.PlotVectorCount, c.count);
    EXPECT_EQ(PlotRequest.PlotVectorList[1], c.first);
    EXPECT_EQ(PlotRequest.PlotVectorList[2], c.second);
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMin, c.tmin);
    EXPECT_DOUBLE_EQ(PlotRequest.PlotTMax, c.tmax);
    EXPECT_EQ(PlotRequest.PlotSteps, c.steps);
    EXPECT_NEAR(PlotRequest.PlotDt, c.dt, 1e-12);
    EXPECT_EQ(PlotRequest.ArrowFlags, c.flags);
  }
}

TEST_F(PlotCommandTest, RangeValuesMayBeConstants) {
  int16_t msgNo = 0;
  const int16_t k = AppendConstant(msgNo);
  ASSERT_EQ(msgNo, 0);
  Tables.ConstTable[k].Name = u"tb";
  Tables.ConstTable[k].ValueText = u"(3)";
  rt::Text s = u"Plot[A,{t,0,tb,6}]";
  ProcessPlot(s, msgNo);
  ASSERT_EQ(msgNo, 0);
  EXPECT_DOUBLE_EQ(PlotRequest.PlotTMax, 3.0);
  EXPECT_DOUBLE_EQ(PlotRequest.PlotDt, 0.5);
}

TEST_F(PlotCommandTest, MalformedStatementsGiveTheirMessages) {
  struct Case {
    const char16_t* statement;
    int msgNo;
  };
  const Case cases[] = {
      {u"PLOT[A,{t,0,1,10}]", 358},   // keyword spelling
      {u"Plot[A,{t,0,1}]", 333},      // shorter than 17 characters
      {u"Plot[A{t,0,1,10}]", 331},    // no comma after the name
      {u"Plot[a,{t,0,1,10}]", 358},   // lower-case vector name
      {u"Plot[A,{T,0,1,10}]", 330},   // parameter not lower case
      {u"Plot[A,{t0,1,10}]", 315},    // no comma after the parameter
      {u"Plot[A,{t,0,1,0.5}]", 337},  // steps round to 0
      {u"Plot[A,{t,1,1,10}]", 338},   // empty range
      {u"Plot[A,{t,2,1,10}]", 338},   // reversed range
      {u"Plot[A,{t,0,1,10}", 335},    // no closing bracket
      {u"Plot[A,{t,0,zz,10}]", 314},  // unknown constant for the end value
      {u"Plot[A,{t,,1,10}]", 314},    // empty start value
      {u"Plot[A,{t,0,1,qq}]", 339},   // unknown constant for the steps passes through
      {u"Plot[A,{t,0,1,100000}]", 337},  // more steps than the count can hold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.statement));
    rt::Text s = c.statement;
    int16_t msgNo = 0;
    ProcessPlot(s, msgNo);
    EXPECT_EQ(msgNo, c.msgNo);
  }
}

TEST_F(PlotCommandTest, TwentyNamesFitAndTheTwentyFirstIsRefused) {
  rt::Text names;
  for (int k = 0; k < 20; ++k) names += rt::Text(1, static_cast<char16_t>(u'A' + k)) + u",";
  rt::Text s = u"Plot[" + names + u"{t,0,1,10}]";
  int16_t msgNo = 0;
  ProcessPlot(s, msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_EQ(PlotRequest.PlotVectorCount, 20);
  s = u"Plot[" + names + u"U,{t,0,1,10}]";
  ProcessPlot(s, msgNo);
  EXPECT_EQ(msgNo, 358);
  EXPECT_EQ(PlotRequest.PlotVectorCount, 20);
}

}  // namespace
}  // namespace ms
