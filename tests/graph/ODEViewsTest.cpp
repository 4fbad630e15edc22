// The ODE view buttons: each button records its view code and rebuilds the picture from the stored
// solution, so that the drawn curve is the view the button names and its button is marked; each
// solve shows the frame of buttons of its views.
#include <cmath>
#include <functional>
#include <string>

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
  w.Navigation().ViewButtons[7]->click();
  double lo = 1e300, hi = -1e300;
  ForCurveEnds(0, [&](const ms::Point3& p, int32_t) {
    EXPECT_NEAR(p[0], std::cos(p[2]), 1e-2) << p[2];
    EXPECT_NEAR(p[1], -std::sin(p[2]), 1e-2) << p[2];
    lo = std::min(lo, p[2]);
    hi = std::max(hi, p[2]);
  });
  EXPECT_TRUE(lo >= -1e-3 && hi <= 3 + 1e-3 && hi - lo >= 1.5) << lo << " " << hi;
  EXPECT_EQ(w.Navigation().ViewButtonColor(7), kChosen);
  GraphWindow& two = Run("F{t,x,y} = y\nG{t,x,y} = -x\nIVP[F,G,{0,3,1,0}{1,0.0001,2}]\n");
  EXPECT_EQ(ms::View.PlotKind, 15);
  EXPECT_EQ(two.Navigation().ViewButtonColor(15), kChosen);
}

// Each solve shows the one frame of view buttons of its group of views and hides the others.
TEST_F(ODEViewsTest, EachSolveShowsTheFrameOfItsViews) {
  struct Case {
    const char* sheet;
    int frame;  // 0: none shown
  };
  const Case cases[] = {
      {"F{t,x} = x\nIVP[F,{0,1,1}{1,0.01}]\n", 5},
      {"F{t,x,y} = y\nG{t,x,y} = -x\nIVP[F,G,{0,1,1,0}{1,0.01,2}]\n", 8},
      {"F{t,x,y,z} = y\nG{t,x,y,z} = -x\nH{t,x,y,z} = 1\nIVP[F,G,H,{0,1,1,0,0}{1,0.01,2}]\n", 6},
      {"F{t,x,y,z} = y\nG{t,x,y,z} = -x\nH{t,x,y,z} = 1\nIVP[F,G,H,{0,1,1,0,0}{1,0.01,3}]\n", 0},
      {"F{t,x,y,z,w} = y\nG{t,x,y,z,w} = -x\nH{t,x,y,z,w} = w\nR{t,x,y,z,w} = -z\n"
       "IVP[F,G,H,R,{0,1,1,0,0,1}{1,0.01,2}]\n",
       7},
      {"F{t,x,y,z,w} = y\nG{t,x,y,z,w} = -x\nH{t,x,y,z,w} = w\nR{t,x,y,z,w} = -z\n"
       "IVP[F,G,H,R,{0,1,1,0,0,1}{1,0.01,3}]\n",
       9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sheet);
    GraphWindow& w = Run(c.sheet);
    const QGroupBox* frames[] = {w.Navigation().Frame5, w.Navigation().Frame6,
                                 w.Navigation().Frame7, w.Navigation().Frame8,
                                 w.Navigation().Frame9};
    for (int f = 5; f <= 9; ++f) EXPECT_EQ(!frames[f - 5]->isHidden(), f == c.frame) << f;
  }
  // A curve drawn after a solve in the same run offers none of the solve's views.
  Run(cases[0].sheet);
  GraphWindow* w = Regraph("A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}]\n");
  ASSERT_NE(w, nullptr);
  for (const QGroupBox* frame :
       {w->Navigation().Frame5, w->Navigation().Frame6, w->Navigation().Frame7,
        w->Navigation().Frame8, w->Navigation().Frame9})
    EXPECT_TRUE(frame->isHidden()) << frame->title().toStdString();
}

// "Box ?" is offered on the trajectory views (7 of three equations, 22 of four) and on no other
// view: every button of every frame is pressed.
TEST_F(ODEViewsTest, OnlyTheTrajectoryViewsOfferTheBox) {
  const char* four = "F{t,x,y,z,w} = y\nG{t,x,y,z,w} = -x\nH{t,x,y,z,w} = w\nR{t,x,y,z,w} = -z\n";
  const std::string sheets[] = {
      "F{t,x} = x\nIVP[F,{0,1,1}{1,0.01}]\n",
      "F{t,x,y} = y\nG{t,x,y} = -x\nIVP[F,G,{0,1,1,0}{1,0.01,2}]\n",
      "F{t,x,y,z} = y\nG{t,x,y,z} = -x\nH{t,x,y,z} = 1\nIVP[F,G,H,{0,1,1,0,0}{1,0.01,2}]\n",
      std::string(four) + "IVP[F,G,H,R,{0,1,1,0,0,1}{1,0.01,2}]\n",
      std::string(four) + "IVP[F,G,H,R,{0,1,1,0,0,1}{1,0.01,3}]\n",
  };
  int pressed = 0;
  for (const std::string& sheet : sheets) {
    GraphWindow& w = Run(sheet.c_str());
    for (int code = 1; code <= 22; ++code) {
      if (w.Navigation().ViewButtons[static_cast<size_t>(code)]->parentWidget()->isHidden())
        continue;
      SCOPED_TRACE(code);
      ++pressed;
      w.Navigation().ViewButtons[static_cast<size_t>(code)]->click();
      EXPECT_EQ(w.Menus().mnuBox->menuAction()->isEnabled(), code == 7 || code == 22);
    }
  }
  EXPECT_EQ(pressed, 22);
}

int g_builds = 0;
std::function<void()> g_duringBuild;
int16_t RecordingBuild(const rt::Text&, int16_t) {
  ++g_builds;
  if (g_duringBuild) g_duringBuild();
  return 0;
}

// Buttons and menu items that rebuild are dropped while the command lets events run (no nested
// build, nothing changed), and so are codes without a button and spacings without an item.
TEST_F(ODEViewsTest, APressDuringABuildOrWithoutACodeChangesNothing) {
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = RecordingBuild;
  GraphWindow& w = Load();
  w.Navigation().ViewButton_Click(5);
  const int builds = g_builds;
  g_duringBuild = [&w] {
    w.Navigation().ViewButtons[9]->click();
    w.mnuAxes_Click();
    w.mnuYes_Click();
  };
  w.Navigation().ViewButton_Click(6);
  g_duringBuild = nullptr;
  EXPECT_EQ(w.Navigation().ViewButtonColor(9), 0xFFFFFF);
  EXPECT_TRUE(ui_.colorRequests.empty());
  EXPECT_EQ(ms::View.ShowBox, 0);
  w.Navigation().ViewButton_Click(0);
  w.Navigation().ViewButton_Click(23);
  w.mnuDot_Click(30);
  EXPECT_EQ(ms::View.PlotKind, 6);
  EXPECT_EQ(ms::CurveWork.DotSpacingOn, 0);
  EXPECT_EQ(g_builds, builds + 1);
}

}  // namespace
}  // namespace gr::testing
