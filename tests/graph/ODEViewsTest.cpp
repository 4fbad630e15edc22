// The ODE view buttons: each button records its view code and rebuilds the picture from the stored
// solution, so that the drawn curve is the view the button names; the buttons mark themselves
// within their frame, the 3-D views enable the box item and the three- and four-equation frames
// open the time-scales block of the display options.
#include <cmath>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

constexpr int32_t kChosen = 0xFFFFC0;

using ODEViewsTest = GraphTest;

// The helix x' = y, y' = -x, z' = 1 from (1, 0, 0), solved exactly by (cos t, -sin t, t): its
// trajectory button (7, its only 3-D view) draws every curve point on the helix, over at least half
// of t in [0, 3] (which slot each view draws is checked in the numerics tests). A two-equation
// solve in a mode whose views leave out view 1 opens at its first view, x : t (15), with that
// view's button marked as a press would.
TEST_F(ODEViewsTest, ViewButtonsDrawTheirViewOfTheSolutionAndTheFirstViewIsMarked) {
  GraphWindow& w =
      Run("F{t,x,y,z} = y\nG{t,x,y,z} = -x\nH{t,x,y,z} = 1\nIVP[F,G,H,{0,3,1,0,0}{1,0.0001,2}]\n");
  w.ViewButtons[7]->click();
  EXPECT_EQ(ms::View.PlotKind, 7);
  double lo = 1e300, hi = -1e300;
  ForCurveEnds(0, [&](const ms::Point3& p, int32_t) {
    EXPECT_NEAR(p[0], std::cos(p[2]), 1e-2) << p[2];
    EXPECT_NEAR(p[1], -std::sin(p[2]), 1e-2) << p[2];
    lo = std::min(lo, p[2]);
    hi = std::max(hi, p[2]);
  });
  EXPECT_TRUE(lo >= -1e-3 && hi <= 3 + 1e-3 && hi - lo >= 1.5) << lo << " " << hi;
  EXPECT_EQ(w.ViewButtonColor(7), kChosen);
  EXPECT_TRUE(ui_.boxes.empty());
  GraphWindow& two = Run("F{t,x,y} = y\nG{t,x,y} = -x\nIVP[F,G,{0,3,1,0}{1,0.0001,2}]\n");
  EXPECT_EQ(ms::View.PlotKind, 15);
  EXPECT_EQ(two.ViewButtonColor(15), kChosen);
}

int g_builds = 0;
int16_t g_zAxisAtBuild = 0;
std::function<void()> g_duringBuild;
int16_t RecordingBuild(rt::Text&, int16_t) {
  ++g_builds;
  g_zAxisAtBuild = ms::View.ZAxisNeeded;
  if (g_duringBuild) g_duringBuild();
  return 0;
}

class ViewButtonStateTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    g_builds = 0;
    g_duringBuild = nullptr;
    ms::Requests.IVPRequested = -1;
    CommandEntry(GraphCommand::kIVP) = RecordingBuild;
  }
};

// Every press rebuilds (the chosen button's again too) and marks the button within its frame
// only; the four-equation frame marks none. Only the three-equation trajectory clears the z-axis
// flag before the build; the 3-D views enable the box item; only the one-equation buttons show
// their frame; the three- and four-equation frames open the time scales. One row per rule.
TEST_F(ViewButtonStateTest, ThePressedButtonIsMarkedAndSetsItsFrame) {
  struct Step {
    int press;
    std::vector<int> chosen;  // every other button is white
    int16_t zAxisAtBuild;     // the flag is -1 before each press
    bool boxEnabled, frame5Shown, timeScales;
  };
  const Step steps[] = {
      {22, {}, -1, true, false, true},
      {7, {7}, 0, true, false, true},
      {2, {2, 7}, -1, true, true, false},
      {2, {2, 7}, -1, true, true, false},
  };
  GraphWindow& w = Load();
  DisplaySettingsDialog* options = DisplaySettingsDialog::Instance();
  for (const Step& s : steps) {
    SCOPED_TRACE(s.press);
    ms::View.ZAxisNeeded = -1;
    w.Frame5->hide();
    options->Frame2->setEnabled(false);
    const int builds = g_builds;
    w.ViewButtons[static_cast<size_t>(s.press)]->click();
    EXPECT_EQ(g_builds, builds + 1);
    EXPECT_EQ(g_zAxisAtBuild, s.zAxisAtBuild);
    EXPECT_EQ(w.mnuBox->menuAction()->isEnabled(), s.boxEnabled);
    EXPECT_EQ(!w.Frame5->isHidden(), s.frame5Shown);
    EXPECT_EQ(options->Frame2->isEnabled(), s.timeScales);
    for (int code = 1; code <= 22; ++code) {
      const bool chosen = std::find(s.chosen.begin(), s.chosen.end(), code) != s.chosen.end();
      EXPECT_EQ(w.ViewButtonColor(code), chosen ? kChosen : 0xFFFFFF) << "code " << code;
    }
  }
}

// Buttons and menu items that rebuild are dropped while the command lets events run (no nested
// build, nothing changed), and so are codes without a button and spacings without an item.
TEST_F(ViewButtonStateTest, APressDuringABuildOrWithoutACodeChangesNothing) {
  GraphWindow& w = Load();
  w.ViewButton_Click(5);
  const int builds = g_builds;
  g_duringBuild = [&w] {
    w.ViewButtons[9]->click();
    w.mnuAxes_Click();
    w.mnuYes_Click();
  };
  w.ViewButton_Click(6);
  g_duringBuild = nullptr;
  EXPECT_EQ(w.ViewButtonColor(9), 0xFFFFFF);
  EXPECT_TRUE(ui_.colorRequests.empty());
  EXPECT_EQ(ms::View.ShowBox, 0);
  w.ViewButton_Click(0);
  w.ViewButton_Click(23);
  w.mnuDot_Click(30);
  EXPECT_EQ(ms::View.PlotKind, 6);
  EXPECT_EQ(ms::CurveWork.DotSpacingOn, 0);
  EXPECT_EQ(g_builds, builds + 1);
}

}  // namespace
}  // namespace gr::testing
