// The picture build as the core runs it: a report per row in the fixed order, the views a solve
// made available, and the row that stops the build with its message.
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "commands/SceneBuild.h"
#include "commands/WorksheetRun.h"
#include "language/CommandRequests.h"
#include "language/Tokens.h"
#include "numerics/Ivp.h"
#include "plotting/Axes.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotTestSupport.h"
#include "plotting/SceneStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

class SceneBuildTest : public WorksheetTest {
 protected:
  // Executes the worksheet, then builds its picture.
  SceneBuildReport Build(const rt::Text& sheet, const SceneBuildOptions& options = {}) {
    EXPECT_EQ(RunExecute(sheet, {}).stage, ExecuteStage::kDone);
    EXPECT_EQ(CheckPlotVectors(), 0);  // as the Graph button does
    RunFlags.Replot = 0;
    seen_.clear();
    vertices_.clear();
    return BuildScene(options, [this](const SceneStepReport& r) {
      seen_.push_back(r.step);
      vertices_.push_back(Scene.VertexCount);
    });
  }
  std::vector<SceneStep> seen_;
  std::vector<int> vertices_;  // the store's count as each row was reported
};

// The scene's segments with their ends, one a line.
std::string SceneText() {
  std::string out;
  char buf[160];
  for (int k = 0; k < Scene.SegmentCount; ++k) {
    const SegmentRow& row = Scene.SegmentTable[k];
    const Point3& p = Scene.VertexXYZ[static_cast<int>(row[kStartPoint])];
    const Point3& q = Scene.VertexXYZ[static_cast<int>(row[kEndPoint])];
    std::snprintf(buf, sizeof buf, "%g,%g,%g>%g,%g,%g\n", p[0], p[1], p[2], q[0], q[1], q[2]);
    out += buf;
  }
  return out;
}

const rt::Text kIntegral = u"F{x}=x^2\r\nc=Integ[F,{0,1,10,0}]\r\nE{t,x}=x\r\n";

TEST_F(SceneBuildTest, ReportsEachRowInTheFixedOrder) {
  // The IVP is written before the slope field and after the integral's statement on purpose: the
  // build runs the integral, the IVP, then the slope field.
  const SceneBuildReport r =
      Build(u"G{x,y}=x\r\nPlotSlopeField[G, {-3,3,12}{-2,2,8} {0,1} {0,-1}]\r\n" + kIntegral +
            u"IVP[E,{0,1,1}{1,0.001}]\r\n");
  ASSERT_TRUE(r.completed);
  const std::vector<SceneStep> order = {SceneStep::kInteg, SceneStep::kIVP, SceneStep::kSlopeField,
                                        SceneStep::kFinish};
  ASSERT_EQ(seen_, order);
  ASSERT_EQ(r.steps.size(), order.size());
  for (const SceneStepReport& s : r.steps) {
    SCOPED_TRACE(static_cast<int>(s.step));
    EXPECT_EQ(s.end, StepEnd::kRan);
    EXPECT_EQ(s.msgNo, 0);
    EXPECT_EQ(s.statementsRun, s.step == SceneStep::kFinish ? 0 : 1);
    // The build starts with no views (the first row reports it); the solve of one equation
    // changes them to its phase views.
    EXPECT_EQ(s.odeViews.has_value(), s.step == SceneStep::kInteg || s.step == SceneStep::kIVP);
  }
  EXPECT_EQ(*r.steps[0].odeViews, OdeViewGroup::kNone);
  EXPECT_EQ(*r.steps[1].odeViews, OdeViewGroup::kPhase);
  // The integral row asks later builds to draw its stored curve again.
  EXPECT_NE(RunFlags.Replot, 0);
  // A later overlay keeps the curves and fields, not the axes the finishing row laid over them.
  EXPECT_EQ(r.keptVertexCount, vertices_[vertices_.size() - 2]);
  EXPECT_LT(r.keptVertexCount, Scene.VertexCount);
}

// What a picture shows of an ODE comes from its own build: a Plot[ or a direction field built
// after an IVP offers no ODE views and is lettered as in a fresh program, and a stopped build's
// counts are its own.
TEST_F(SceneBuildTest, APictureTakesNothingFromTheLastBuild) {
  for (const rt::Text& sheet : {rt::Text(u"A<t>=<t,t^2,0>\r\nPlot[A,{t,-2,2,40}]\r\n"),
                                rt::Text(u"F{x,y}=y\r\nH{x,y}=-x\r\n"
                                         u"PlotDirField[F,H,{-2,2,5}{-2,2,5}]\r\n")}) {
    SCOPED_TRACE(rt::ToUtf8(sheet));
    SetUp();  // a fresh program
    Build(sheet);
    const std::string fresh = SceneText();
    ASSERT_GT(fresh.size(), 100u);
    Build(u"E{t,x}=x\r\nIVP[E,{0,1,1}{1,0.001}]\r\n");
    ASSERT_NE(OdePicture.IVPOrder1, 0);
    View.PlotKind = 2;  // the "X' (t) : t" view pressed on the IVP's picture
    const SceneBuildReport r = Build(sheet);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.steps.front().odeViews, OdeViewGroup::kNone);
    EXPECT_EQ(SceneText(), fresh);
  }

  Scene.VertexCountD = Scene.SegmentCountD = 29999;  // as a large earlier picture left them
  const SceneBuildReport refused = Build(u"F{x,y}=x^2+y^2\r\nPlotContour[F,{-3,3,-3,3}{1,1}]\r\n");
  ASSERT_FALSE(refused.completed);
  EXPECT_EQ(refused.steps.back().msgNo, 1418);
  EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
  EXPECT_EQ(Scene.SegmentCountD, Scene.SegmentCount);
  EXPECT_LT(Scene.VertexCountD, 100);
}

// A picture depends on what is asked, not on what the last build or a stray key left: each row
// builds once fresh, then again after its disturbance, and must give the same segments. The axes
// of the one-equation IVP survive an Esc pressed while nothing ran; a slope field beside a curve
// with a z extent gets no z axis from the last build's box; the Plot[ arrow head is drawn on every
// rebuild (the keys rebuild without the window's own reset).
TEST_F(SceneBuildTest, EveryBuildStartsFromTheSameFlags) {
  struct Case {
    const char16_t* sheet;
    void (*disturb)();
  };
  const Case cases[] = {
      {u"F{t,x}=x\r\nIVP[F,{0,1,1}{1,0.00001}]\r\n", [] { RunFlags.AbortRun = -1; }},
      {u"F{t,x}=x\r\nIVP[F,{0,1,1}{1,0.00001}]\r\n", [] {}},
      {u"G{x,y}=x-y\r\nPlotSlopeField[G,{-2,2,4}{-2,2,4}]\r\nA<t>=<t,t,t>\r\n"
       u"Plot[A,{t,0,1,4}]\r\n",
       [] {}},
      {u"G{x,y}=x-y\r\nPlotSlopeField[G,{-2,2,4}{-2,2,4}]\r\n", [] {}},
      {u"A<x>=<x,x^2,0>\r\nPlot[A,{x,-3,3,100}a]\r\n", [] {}},
      {u"A<x>=<x,x^2,0>\r\nPlot[A,{x,-3,3,100}a]\r\n", [] { RunFlags.AbortRun = -1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    SetUp();
    ASSERT_TRUE(Build(c.sheet).completed);
    const std::string fresh = SceneText();
    const int structure = [] {
      int n = 0;
      for (int k = 0; k < Scene.SegmentCount; ++k)
        n += Scene.SegmentTable[k][kSegKind] == kSegStructure ? 1 : 0;
      return n;
    }();
    EXPECT_GT(structure, 0);  // axes were drawn
    c.disturb();
    seen_.clear();
    const SceneBuildReport again = BuildScene({}, {});
    EXPECT_TRUE(again.completed);
    EXPECT_EQ(SceneText(), fresh);
  }

  // The XY plane off and on again gives the slope field's first picture back.
  SetUp();
  const rt::Text field = u"G{x,y}=x-y\r\nPlotSlopeField[G,{-2,2,4}{-2,2,4}]\r\n";
  Build(field);
  const std::string on = SceneText();
  SceneBuildOptions off;
  off.fieldGridCrosses = off.gridCrossesAllowed = false;
  ASSERT_TRUE(BuildScene(off, {}).completed);
  EXPECT_NE(SceneText(), on);
  ASSERT_TRUE(BuildScene({}, {}).completed);
  EXPECT_EQ(SceneText(), on);

  // A curve after a slope field is a build without slope-field mode (its barb keys act again).
  ASSERT_NE(FieldGraph.SlopeFieldMode, 0);
  Build(u"A<x>=<x,x^2,0>\r\nPlot[A,{x,-3,3,10}]\r\n");
  EXPECT_EQ(FieldGraph.SlopeFieldMode, 0);
}

TEST_F(SceneBuildTest, ARefusedStatementStopsTheBuildWithItsMessage) {
  // A tolerance of 0 is refused when the IVP runs; the slope field after it does not run.
  const SceneBuildReport r = Build(kIntegral +
                                   u"IVP[E,{0,1,1}{1,0}]\r\nG{x,y}=x\r\n"
                                   u"PlotSlopeField[G, {-3,3,12}{-2,2,8} {0,1} {0,-1}]\r\n");
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(seen_, (std::vector<SceneStep>{SceneStep::kInteg, SceneStep::kIVP}));
  ASSERT_EQ(r.steps.size(), 2u);
  const SceneStepReport& ivp = r.steps[1];
  EXPECT_EQ(ivp.end, StepEnd::kMessage);
  EXPECT_EQ(ivp.msgNo, 2050);  // "A tolerance value < 1E-6 was detected. ..."
  EXPECT_EQ(DetokenizeForDisplay(ivp.statement), u"IVP[E,{0,1,1}{1,0}]");
  EXPECT_FALSE(ivp.boxAvailable);
  // The scene a later overlay appends after is the one the build started from.
  EXPECT_EQ(r.keptVertexCount, 0);
  // The integral row completed before the stop: its curve is still drawn again later.
  EXPECT_NE(RunFlags.Replot, 0);
}

// ASin[ and ACos[ of a solution grown past 1 have no value: the solve stops with 2100, as one
// taking Sqrt[ of a negative does (x' = asin x from x = 0.5 passes 1 before t = 1).
TEST_F(SceneBuildTest, AnInverseSineBeyondOneStopsTheSolve) {
  for (const char16_t* equation : {u"E{t,x}=ASin[x]", u"E{t,x}=ACos[0-x]"}) {
    SCOPED_TRACE(rt::ToUtf8(equation));
    const SceneBuildReport r = Build(rt::Text(equation) + u"\r\nIVP[E,{0,3,0.5}{1,0.001}]\r\n");
    EXPECT_FALSE(r.completed);
    ASSERT_EQ(r.steps.size(), 1u);
    EXPECT_EQ(r.steps[0].end, StepEnd::kMessage);
    EXPECT_EQ(r.steps[0].msgNo, 2100);
  }
}

// The time grid unit is the window's: it goes in with the options and comes back as a solve of
// three equations left it, reset to 1 when too small to divide by, and is not kept by the core.
TEST_F(SceneBuildTest, TheTimeGridUnitGoesInAndComesBackGuarded) {
  const rt::Text sheet =
      u"F{t,x,y,z}=y\r\nG{t,x,y,z}=-x\r\nH{t,x,y,z}=1\r\nIVP[F,G,H,{0,1,1,0,0}{1,0.001,1}]\r\n";
  const std::optional<double> none;
  for (const auto& [in, out] :
       {std::pair{std::optional(1e-5), std::optional(1.0)},
        std::pair{std::optional(0.5), std::optional(0.5)}, std::pair{none, none}}) {
    SCOPED_TRACE(in.value_or(-1));
    SceneBuildOptions options;
    options.timeGridUnit = in;
    EXPECT_EQ(Build(sheet, options).timeGridUnit, out);
    EXPECT_FALSE(IvpView.TimeGridUnit.has_value());
  }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapCounted = false;  // the sanitizer's allocator keeps its own books
#else
constexpr bool kHeapCounted = true;
#endif

// The axes of a picture carry their ticks: a curve left of the y axis (case x <= 0 <= y, the
// axes through the origin without letters) and a slope field right of it (the axes from the field
// box's corner, 1.1 times its ranges) get every tick across the line that was drawn for its axis.
TEST_F(SceneBuildTest, TicksLieOnTheAxesOfThePicture) {
  SceneBuildOptions options;
  options.gridCrossesAllowed = false;
  options.fieldGridCrosses = false;
  Build(u"A<t> = <0-t-1, t+1, 0>\r\nPlot[A,{t,0,1,10}]\r\n", options);
  {
    SCOPED_TRACE("curve");
    const double x0 = 1.1 * Scene.ViewXMin, y1 = 1.1 * Scene.ViewYMax;
    ASSERT_LT(x0, -2.2);
    ASSERT_LE(Scene.ViewXMax, 0);
    ASSERT_GE(Scene.ViewYMin, 0);
    const auto segs = Segments();
    size_t first = 0;
    while (first < segs.size() && segs[first].row[kSegKind] != kSegStructure) ++first;
    ASSERT_GE(segs.size(), first + 2);
    const Seg& xLine = segs[first];
    const Seg& yLine = segs[first + 1];
    ExpectPointNear(xLine.from, {x0, 0, 0});
    ExpectPointNear(xLine.to, {0, 0, 0});
    ExpectPointNear(yLine.from, {0, 0, 0});
    ExpectPointNear(yLine.to, {0, y1, 0});
    const std::vector<Seg> ticks(segs.begin() + static_cast<long>(first) + 2, segs.end());
    ExpectTicksOnAxisLines(ticks, {&xLine, &yLine, nullptr},
                           {TickPositions(x0, 0, false), TickPositions(0, y1, false), {}});
  }
  PlotRequest.PlotSpec.fill(0);  // as the Graph button does before it fills it again
  Build(u"F{x,y} = x - y\r\nPlotSlopeField[F,{1,5,4}{-2,2,4}]\r\n", options);
  {
    SCOPED_TRACE("slope field");
    const auto segs = Segments();
    const size_t first = 3 * 25;  // a segment and two barbs per grid point, then the axes
    ASSERT_GE(segs.size(), first + 3);
    const Seg* const lines[3] = {&segs[first], &segs[first + 1], &segs[first + 2]};
    ExpectPointNear(lines[1]->from, {1.1, -2.2, 0});
    ExpectPointNear(lines[1]->to, {1.1, 2.2, 0});
    const std::vector<double> positions[3] = {
        TickPositions(1.1, 5.5, true), TickPositions(-2.2, 2.2, true), {}};
    const size_t tickCount = positions[0].size() + positions[1].size();
    ASSERT_EQ(tickCount, 8u);
    const std::vector<Seg> ticks(segs.end() - static_cast<long>(tickCount), segs.end());
    ExpectTicksOnAxisLines(ticks, lines, positions);
  }
}

// A point of a Plot[ curve that rests on the ±1E+20 stand-in for a pole (1/t at t = 0, 0^-1) is
// left out, as one where Ln[ or Sqrt[ fails is: the view box fits the rest of the curve. A pole
// between two points still makes a jump segment for the discontinuity option to mark.
TEST_F(SceneBuildTest, APolesStandInIsNoCurvePoint) {
  const struct {
    const char16_t* sheet;
    double yMin, yMax;  // the view box: the values at the points kept, widened by 0.01
    bool jump;          // a segment classed as a jump
  } cases[] = {         // t = 0.1 .. 1.1 (the point beyond the range widens the box too).
               {u"A<t>=<t,1/t,0>\r\nPlot[A,{t,0,1,10}]\r\n", 1 / 1.1 - 0.01, 10.01, false},
               {u"A<t>=<t,t^(0-1),0>\r\nPlot[A,{t,0,1,10}]\r\n", 1 / 1.1 - 0.01, 10.01, false},
               // The fifth step lands on 0.5 exactly: the pole's point goes, ±10 beside it stay.
               {u"A<t>=<t,1/(t-0.5),0>\r\nPlot[A,{t,0,1,10}]\r\n", -10.01, 10.01, false},
               // Between 0.5 and 0.6: -20 to 20 in one step.
               {u"A<t>=<t,1/(t-0.55),0>\r\nPlot[A,{t,0,1,10}]\r\n", -20.01, 20.01, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.sheet));
    Build(c.sheet);
    EXPECT_NEAR(Scene.ViewYMin, c.yMin, 1e-9);
    EXPECT_NEAR(Scene.ViewYMax, c.yMax, 1e-9);
    bool jump = false;
    for (const Seg& s : Segments()) jump = jump || s.row[kSegKind] == kSegJumpUp;
    EXPECT_EQ(jump, c.jump);
  }
}

// Builds repeated in one process keep nothing: every table, cache and binding a build fills is
// either of fixed size or given back (the screen's own record of requests is emptied after each
// build). What stays per build in the window is Qt's: button pictures in its pixmap cache, up to
// the cache's limit, and layout animations freed once the event loop runs.
TEST_F(SceneBuildTest, RepeatedBuildsKeepNoMemory) {
  if (!kHeapCounted) GTEST_SKIP() << "heap not counted under the address sanitizer";
  const rt::Text sheets[] = {
      kIntegral + u"IVP[E,{0,1,1}{1,0.001}]\r\n",
      u"F{x,y}=x*y\r\nPlotContour[F,{-2,2,-2,2}{0.5,0.5}{-1,2,0.5}]\r\n",
      u"F{x,y}=x*y\r\nPlotSlopeField[F, {-2,2,6}{-2,2,6} {0,1} {0,-1}]\r\n",
      u"A<t>=<t,Sin[t],0>\r\nPlot[A,{t,0,1,50}]\r\n",
      u"F{x,y}=x*y\r\nC{x}=0\r\nD{x}=x\r\nv=dblInt[F,C,D,{0,1,6,6,y}]\r\n",
      // A table holding Inv[: its functions run the records on every value.
      u"N{x}=Inv[0]\r\nH{x}=x^2+1\r\nv=Integ[H,{0,1,8,0}]\r\n",
  };
  constexpr int kWarmUp = 30, kBuilds = 200;
  for (const rt::Text& sheet : sheets) {
    SCOPED_TRACE(rt::ToUtf8(sheet));
    ASSERT_EQ(RunExecute(sheet, {}).stage, ExecuteStage::kDone);
    auto build = [this] {
      RunFlags.Replot = 0;
      const SceneBuildReport r = BuildScene({}, {});
      EXPECT_TRUE(r.completed);
      screen_.Reset();
    };
    for (int i = 0; i < kWarmUp; ++i) build();
    const double before = static_cast<double>(mallinfo2().uordblks);
    for (int i = 0; i < kBuilds; ++i) build();
    const double perBuild = (static_cast<double>(mallinfo2().uordblks) - before) / kBuilds;
    EXPECT_LT(perBuild, 8.0) << "bytes kept per build";
  }
}

}  // namespace
}  // namespace ms::testing
