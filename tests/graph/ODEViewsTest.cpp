// The ODE view buttons: each button records its view code and rebuilds the picture from the stored
// solution, so that the drawn curve is the view the button names; the buttons mark themselves
// within their frame, the 3-D views enable the box item and the three- and four-equation frames
// open the time-scales block of the display options.
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>
#include <functional>
#include <string>

#include "GraphTestSupport.h"
#include "graph/frmSetDisplay.h"

namespace gr::testing {
namespace {

constexpr int32_t kChosen = 0xFFFFC0;
constexpr int32_t kWhite = 0xFFFFFF;

class ODEViewsTest : public GraphTest {
 protected:
  // Executes the worksheet and presses Graph; the graph window or null.
  frmGraph* Run(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    return GraphWindow();
  }
};

// The curve's points (both ends of every segment that is not structure), in world units (the
// grid units are 1 here).
std::vector<ms::Point3> CurvePoints() {
  std::vector<ms::Point3> points;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    if (r[ms::kSegKind] == ms::kSegStructure) continue;
    points.push_back(ms::Scene.VertexXYZ[static_cast<int>(r[ms::kStartPoint])]);
    points.push_back(ms::Scene.VertexXYZ[static_cast<int>(r[ms::kEndPoint])]);
  }
  return points;
}

// Every curve point lies on the relation (its residual below tol) and within [lo, hi] of the
// coordinate `along`, over at least half of that stretch (the solver thins the stored points).
void ExpectCurveOn(const std::function<double(const ms::Point3&)>& residual, double tol, int along,
                   double lo, double hi) {
  const std::vector<ms::Point3> points = CurvePoints();
  ASSERT_GT(points.size(), 10u);
  double minAlong = 1e300, maxAlong = -1e300;
  for (const ms::Point3& p : points) {
    EXPECT_LT(std::fabs(residual(p)), tol) << "point " << p[0] << ", " << p[1] << ", " << p[2];
    minAlong = std::min(minAlong, p[static_cast<size_t>(along)]);
    maxAlong = std::max(maxAlong, p[static_cast<size_t>(along)]);
  }
  EXPECT_GE(minAlong, lo - 1e-3);
  EXPECT_LE(maxAlong, hi + 1e-3);
  EXPECT_GE(maxAlong - minAlong, (hi - lo) / 2);
}

using Residual = double (*)(const ms::Point3& p);

// Solved systems with exact solutions, each view button pressed in turn; the drawn curve must be
// the view the button names (A : B is A on the vertical axis against B):
// - x' = -x, x(0) = 1: x = e^-t;
// - x' = y, y' = -x from (1, 0) in plot mode 2: x = cos t, y = -sin t;
// - the same with z' = 1 from z = 0: the helix (cos t, -sin t, t);
// - x'' = 2 with x(0) = 0 and x(1) = 1: x = t^2, x' = 2t.
TEST_F(ODEViewsTest, EachViewButtonDrawsItsViewOfTheSolution) {
  struct View {
    int code;
    Residual residual;
    int along;  // the coordinate that runs over [lo, hi]
    double lo, hi;
    bool depth;  // a 3-D trajectory
  };
  struct Case {
    const char* name;
    const char* worksheet;
    QGroupBox* frmGraph::*frame;
    double tol;
    std::vector<View> views;
  };
  const double end = std::exp(-2.0);
  const Case cases[] = {
      {"one equation",
       "F{t,x} = -x\nIVP[F,{0,2,1}{1,0.00001}]\n",
       &frmGraph::Frame5,
       1e-3,
       {{2, [](const ms::Point3& p) { return p[1] + std::exp(-p[0]); }, 0, 0, 2, false},
        {3, [](const ms::Point3& p) { return p[1] + p[0]; }, 0, end, 1, false},
        {1, [](const ms::Point3& p) { return p[1] - std::exp(-p[0]); }, 1, end, 1, false}}},
      {"two equations",
       "F{t,x,y} = y\nG{t,x,y} = -x\nIVP[F,G,{0,3,1,0}{1,0.0001,2}]\n",
       &frmGraph::Frame8,
       1e-2,
       {{15, [](const ms::Point3& p) { return p[1] - std::cos(p[0]); }, 0, 0, 3, false},
        {16, [](const ms::Point3& p) { return p[1] + std::sin(p[0]); }, 0, 0, 3, false},
        {17, [](const ms::Point3& p) { return std::hypot(p[0], p[1]) - 1; }, 0, std::cos(3.0), 1,
         false}}},
      {"three equations",
       "F{t,x,y,z} = y\nG{t,x,y,z} = -x\nH{t,x,y,z} = 1\nIVP[F,G,H,{0,3,1,0,0}{1,0.0001,2}]\n",
       &frmGraph::Frame6,
       1e-2,
       {{4, [](const ms::Point3& p) { return p[1] - std::cos(p[0]); }, 0, 0, 3, false},
        {6, [](const ms::Point3& p) { return p[1] - p[0]; }, 0, 0, 3, false},
        {7,
         [](const ms::Point3& p) {
           return std::max(std::fabs(p[0] - std::cos(p[2])), std::fabs(p[1] + std::sin(p[2])));
         },
         2, 0, 3, true},
        {5, [](const ms::Point3& p) { return p[1] + std::sin(p[0]); }, 0, 0, 3, false}}},
      {"boundary value problem",
       "F{t,x,y} = y\nG{t,x,y} = 2\nBVP[F,G,{0,0,1,1,50}]\n",
       &frmGraph::Frame5,
       0.025,  // the last slope is a backward difference over one step of 0.02
       {{2, [](const ms::Point3& p) { return p[1] - 2 * p[0]; }, 0, 0, 1, false},
        {3, [](const ms::Point3& p) { return p[1] - 2 * std::sqrt(std::fabs(p[0])); }, 1, 0, 2,
         false},
        {1, [](const ms::Point3& p) { return p[1] - p[0] * p[0]; }, 0, 0, 1, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    frmGraph* w = Run(c.worksheet);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ui_.boxes.empty());
    ASSERT_FALSE((w->*c.frame)->isHidden());
    for (const View& v : c.views) {
      SCOPED_TRACE(v.code);
      ms::RunFlags.Replot = 0;
      w->ViewButtons[static_cast<size_t>(v.code)]->click();
      EXPECT_EQ(ms::View.ODEViewRequest, v.code);
      EXPECT_EQ(ms::View.PlotKind, v.code);
      EXPECT_NE(ms::RunFlags.Replot, 0);
      EXPECT_TRUE(ui_.boxes.empty());
      ExpectCurveOn(v.residual, c.tol, v.along, v.lo, v.hi);
      // Only the trajectory leaves the plane z = 0 and is built with a z axis.
      EXPECT_EQ(ms::Scene.ViewZMax > 1, v.depth);
      EXPECT_EQ(ms::View.ZAxisNeeded != 0, v.depth);
      EXPECT_EQ(w->ViewButtonColor(v.code), kChosen);
    }
    ReleaseGraphWindow();
  }
}

int g_builds = 0;
int16_t g_zAxisAtBuild = 0;
std::function<void()> g_duringBuild;
void RecordingBuild(rt::Text&, int16_t, int16_t& msgNo) {
  ++g_builds;
  g_zAxisAtBuild = ms::View.ZAxisNeeded;
  if (g_duringBuild) g_duringBuild();
  msgNo = 0;
}

class ViewButtonStateTest : public ODEViewsTest {
 protected:
  void SetUp() override {
    ODEViewsTest::SetUp();
    g_builds = 0;
    g_duringBuild = nullptr;
    ms::Requests.IVPRequested = -1;
    CommandEntry(GraphCommand::kIVP) = RecordingBuild;
  }
  void TearDown() override {
    g_duringBuild = nullptr;
    ODEViewsTest::TearDown();
  }
};

TEST_F(ViewButtonStateTest, ThePressedButtonIsMarkedWithinItsFrame) {
  struct Step {
    int press;
    std::vector<int> chosen;  // every other button is white
  };
  const Step steps[] = {
      {4, {4}},
      {6, {6}},
      {18, {6, 18}},
      {19, {6}},
      {18, {6, 18}},
      {22, {6}},
      {8, {6, 8}},
      {14, {6, 14}},
      {15, {6, 14, 15}},
      {2, {2, 6, 14, 15}},
      {2, {2, 6, 14, 15}},
  };
  frmGraph& w = Load();
  int builds = g_builds;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.press);
    w.ViewButtons[static_cast<size_t>(s.press)]->click();
    // Every press rebuilds, the chosen button's again too.
    EXPECT_EQ(g_builds, ++builds);
    EXPECT_EQ(ms::View.ODEViewRequest, s.press);
    for (int code = 1; code <= 22; ++code) {
      const bool chosen = std::find(s.chosen.begin(), s.chosen.end(), code) != s.chosen.end();
      EXPECT_EQ(w.ViewButtonColor(code), chosen ? kChosen : kWhite) << "code " << code;
    }
  }
}

TEST_F(ViewButtonStateTest, TrajectoryViewsClearTheZAxisFlagAndEnableTheBox) {
  frmGraph& w = Load();
  EXPECT_FALSE(w.mnuBox->menuAction()->isEnabled());
  struct Step {
    int press;
    int16_t zAxisBefore;  // ZAxisNeeded set before the press
    int16_t zAxisAtBuild;
    bool boxEnabled;
  };
  const Step steps[] = {
      {4, -1, -1, false},  // a plain view leaves the flag to the build
      {7, -1, 0, true},    // the three-equation trajectory clears it first
      {4, -1, -1, true},   // the box item stays enabled after leaving the 3-D view
      {22, -1, -1, true},  // the four-equation trajectory does not touch the flag
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.press);
    ms::View.ZAxisNeeded = s.zAxisBefore;
    w.ViewButton_Click(s.press);
    EXPECT_EQ(g_zAxisAtBuild, s.zAxisAtBuild);
    EXPECT_EQ(w.mnuBox->menuAction()->isEnabled(), s.boxEnabled);
  }
}

TEST_F(ViewButtonStateTest, OnlyTheOneEquationButtonsShowTheirFrame) {
  frmGraph& w = Load();
  struct Case {
    int press;
    bool frame5Shown;
  };
  const Case cases[] = {{4, false}, {15, false}, {22, false}, {1, true}, {3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.press);
    for (QGroupBox* f : {w.Frame5, w.Frame6, w.Frame7, w.Frame8, w.Frame9}) f->hide();
    w.ViewButton_Click(c.press);
    EXPECT_EQ(!w.Frame5->isHidden(), c.frame5Shown);
    for (QGroupBox* f : {w.Frame6, w.Frame7, w.Frame8, w.Frame9}) EXPECT_TRUE(f->isHidden());
  }
}

TEST_F(ViewButtonStateTest, ThreeAndFourEquationFramesOpenTheTimeScales) {
  frmGraph& w = Load();
  frmSetDisplay* options = frmSetDisplay::Instance();
  ASSERT_NE(options, nullptr);
  struct Case {
    int press;
    bool enabled;
    const char* caption;  // null: left as it was
  };
  const Case cases[] = {
      {1, false, nullptr}, {16, false, nullptr}, {4, true, nullptr},
      {12, true, nullptr}, {21, true, nullptr},  {7, true, "Elevation/Rotation"},
      {5, true, nullptr},  {22, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.press);
    options->Frame2->setEnabled(false);
    options->scrHTime->setEnabled(false);
    options->scrVTime->setEnabled(false);
    options->Frame2->setTitle(QStringLiteral("before"));
    w.ViewButton_Click(c.press);
    EXPECT_EQ(options->Frame2->isEnabled(), c.enabled);
    EXPECT_EQ(options->scrHTime->isEnabled(), c.enabled);
    EXPECT_EQ(options->scrVTime->isEnabled(), c.enabled);
    const QString caption = c.caption ? QString::fromLatin1(c.caption) : QStringLiteral("before");
    EXPECT_EQ(options->Frame2->title(), caption);
  }
}

TEST_F(ViewButtonStateTest, APressDuringABuildOrWithoutACodeChangesNothing) {
  frmGraph& w = Load();
  w.ViewButton_Click(5);
  const int builds = g_builds;
  // A click delivered while the command lets events run is dropped: no nested build, no new code.
  g_duringBuild = [&w] { w.ViewButtons[9]->click(); };
  w.ViewButton_Click(6);
  g_duringBuild = nullptr;
  EXPECT_EQ(g_builds, builds + 1);
  EXPECT_EQ(ms::View.PlotKind, 6);
  EXPECT_EQ(w.ViewButtonColor(9), kWhite);
  for (int code : {0, -1, 23, 1000}) {
    SCOPED_TRACE(code);
    ms::RunFlags.Replot = 0;
    w.ViewButton_Click(code);
    EXPECT_EQ(ms::View.PlotKind, 6);
    EXPECT_EQ(ms::RunFlags.Replot, 0);
    EXPECT_EQ(g_builds, builds + 1);
    EXPECT_EQ(w.ViewButtonColor(code), 0);
  }
}

}  // namespace
}  // namespace gr::testing
