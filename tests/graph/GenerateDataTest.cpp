// The picture build: the fixed order of the commands, their error boxes, the abort, the vertex
// limit, the axes chosen for each view box, grid crosses and the bounding box.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <string>
#include <vector>

#include "GraphTestSupport.h"
#include "language/Messages.h"
#include "plotting/ZGrids.h"

namespace gr::testing {
namespace {

// What the commands saw, in order: name:slot:statement, and ":replot" when told to replot.
std::vector<std::string> g_calls;
int g_failAt = -1;  // the call that fails with g_failMsg (and sets the abort flag when g_abort)
int16_t g_failMsg = 0;
bool g_abort = false;
const char* const kNames[] = {"integ", "dblint", "ivp",     "bvp",
                              "slope", "dir",    "field3d", "contour"};

template <int N>
void Record(rt::Text& stmt, int16_t slot, int16_t& msgNo) {
  g_calls.push_back(std::string(kNames[N]) + ":" + std::to_string(slot) + ":" +
                    std::string(stmt.begin(), stmt.end()) +
                    (ms::RunFlags.Replot != 0 ? ":replot" : ""));
  if (static_cast<int>(g_calls.size()) - 1 != g_failAt) return;
  msgNo = g_failMsg;
  if (g_abort) ms::RunFlags.AbortRun = -1;
}
const CommandBuilder kRecorders[] = {Record<0>, Record<1>, Record<2>, Record<3>,
                                     Record<4>, Record<5>, Record<6>, Record<7>};

// A command that leaves a known view box: one segment from corner to corner.
ms::Point3 g_from, g_to;
void BoxMaker(rt::Text&, int16_t, int16_t& msgNo) {
  msgNo = 0;
  AddSegment(g_from, g_to, 255, 0, 0);
}

// A command that fills the store past the vertex limit; the contour command keeps the drawing
// count current itself.
template <bool kKeepsCount>
void Overfill(rt::Text&, int16_t, int16_t& msgNo) {
  msgNo = 0;
  while (ms::Scene.VertexCount <= ms::kCurveVertexLimit) {
    const double x = ms::Scene.VertexCount;
    AddSegment({x, 0, 0}, {x + 1, 0, 0}, 0, 0, 0);
  }
  if (kKeepsCount) ms::Scene.VertexCountD = ms::Scene.VertexCount;
}

class GenerateDataTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    g_calls.clear();
    g_failAt = -1;
    g_abort = false;
    for (int c = 0; c < 8; ++c) CommandEntry(static_cast<GraphCommand>(c)) = kRecorders[c];
  }

  // A fresh window that built nothing; then every command requested and drawings counted.
  frmGraph& LoadRequestingEverything() {
    ReleaseGraphWindow();
    ms::Requests = ms::CommandRequestState{};
    frmGraph& w = Load();
    ui_.Reset();
    g_calls.clear();
    CountDraws();
    ms::CommandRequestState& r = ms::Requests;
    r.IntegRequested = r.DblIntRequested = r.IVPRequested = r.BVPRequested = -1;
    r.SlopeFieldRequested = r.DirFieldRequested = r.Field3DRequested = r.ContourRequested = -1;
    r.IntegStmtCount = 2;
    r.IntegStmts[0] = u"I1";
    r.DblIntStmts[1] = u"D2";
    r.IVPStmt = u"V_";  // shown in an error box without the name mark
    r.BVPStmt = u"B";
    r.SlopeFieldStmt = u"S";
    r.DirFieldStmt = u"R";
    r.Field3DStmt = u"F";
    r.ContourStmt = u"C";
    return w;
  }

  // A fresh window whose one requested command runs builder, built again after prepare.
  template <typename Prepare>
  frmGraph& BuildWith(GraphCommand command, CommandBuilder builder, Prepare prepare) {
    ReleaseGraphWindow();
    ResetAllState();
    ms::Requests.IntegRequested = command == GraphCommand::kInteg ? -1 : 0;
    ms::Requests.IntegStmtCount = 1;
    ms::Requests.IVPRequested = command == GraphCommand::kIVP ? -1 : 0;
    ms::Requests.Field3DRequested = command == GraphCommand::kField3D ? -1 : 0;
    ms::Requests.ContourRequested = command == GraphCommand::kContour ? -1 : 0;
    CommandEntry(command) = builder;
    frmGraph& w = Load();
    prepare(w);
    ui_.Reset();
    CountDraws();
    w.GenerateData();
    return w;
  }

  static int SegmentsColoured(int r, int g, int b) {
    int n = 0;
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      const auto& row = ms::Scene.SegmentTable[i];
      n += row[ms::kRed] == r && row[ms::kGreen] == g && row[ms::kBlue] == b ? 1 : 0;
    }
    return n;
  }
};

TEST_F(GenerateDataTest, CommandsRunInTheirFixedOrderAndLaterBuildsReplot) {
  frmGraph& w = LoadRequestingEverything();
  w.GenerateData();
  const std::vector<std::string> expected = {
      "integ:1:I1", "integ:2:",  "dblint:1:", "dblint:2:D2", "ivp:0:V_",
      "bvp:0:B",    "slope:0:S", "dir:0:R",   "field3d:0:F", "contour:0:C"};
  EXPECT_EQ(g_calls, expected);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(g_draws, 1);
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_FALSE(w.cmdReturn->isHidden());
  // The contour block hides the frames and Update Graph.
  EXPECT_TRUE(w.Frame2->isHidden());
  EXPECT_TRUE(w.cmdUpdate->isHidden());
  // The integral blocks ask every later build (not the first) to draw the stored curves again.
  g_calls.clear();
  w.GenerateData();
  ASSERT_EQ(g_calls.size(), expected.size());
  EXPECT_EQ(g_calls[4], "ivp:0:V_:replot");
}

TEST_F(GenerateDataTest, ACommandErrorShowsTheStatementAndStops) {
  struct Case {
    int failAt;
    int16_t msg;
    const char16_t* shown;
    const char16_t* separator;
  };
  const Case cases[] = {{0, 5010, u"I1", u" : "},
                        {4, 2005, u"V", u" : "},
                        {6, 1010, u"S", u" :  "},
                        {9, 1400, u"C", u" : "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failAt);
    frmGraph& w = LoadRequestingEverything();
    g_failAt = c.failAt;
    g_failMsg = c.msg;
    w.GenerateData();
    EXPECT_EQ(static_cast<int>(g_calls.size()), c.failAt + 1);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"Statement : " + rt::Text(c.shown) + u"\r\n" +
                                     rt::NumText(c.msg) + c.separator + ms::GetMessageText(c.msg));
    EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
    EXPECT_EQ(ui_.boxes[0].style, ui::kExclamation);
    // Nothing drawn, but the window is usable again.
    EXPECT_EQ(g_draws, 0);
    EXPECT_FALSE(w.cmdReturn->isHidden());
    EXPECT_FALSE(ui_.busy);
    EXPECT_EQ(Graph.Generating, 0);
  }
}

TEST_F(GenerateDataTest, AbortAfterACommandReturnsSilentlyButNotAfterTheContour) {
  frmGraph& w = LoadRequestingEverything();
  g_failAt = 4;  // Esc pressed while the IVP command ran
  g_abort = true;
  w.GenerateData();
  EXPECT_EQ(g_calls.size(), 5u);
  EXPECT_EQ(g_draws, 0);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_FALSE(w.cmdReturn->isHidden());
  EXPECT_FALSE(ui_.busy);
  EXPECT_EQ(Graph.Generating, 0);
  // The contour block does not test the flag: the picture is drawn.
  g_calls.clear();
  ms::RunFlags.AbortRun = 0;
  ms::Requests = ms::CommandRequestState{};
  ms::Requests.ContourRequested = -1;
  g_failAt = 0;
  g_failMsg = 0;
  w.GenerateData();
  EXPECT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_draws, 1);
}

TEST_F(GenerateDataTest, VertexLimitStopsTheBuildWithItsBox) {
  struct Case {
    GraphCommand command;
    CommandBuilder builder;
    const char16_t* text;
  };
  const Case cases[] = {
      {GraphCommand::kIVP, Overfill<false>, u"Vertical limit 30,000 vertices reached."},
      {GraphCommand::kField3D, Overfill<false>, u"Vertical limit 30,000 verticies reached."},
      {GraphCommand::kContour, Overfill<true>, u"Vertical limit 30,000 verticies reached."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.command));
    frmGraph& w = BuildWith(c.command, c.builder, [](frmGraph&) {});
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, c.text);
    EXPECT_GT(ms::Scene.VertexCountD, ms::kCurveVertexLimit);
    EXPECT_EQ(w.Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
    EXPECT_FALSE(w.mnuBox->menuAction()->isEnabled());
    EXPECT_EQ(g_draws, 0);
    EXPECT_FALSE(w.cmdReturn->isHidden());
  }
}

TEST_F(GenerateDataTest, AxesFollowTheViewBox) {
  struct Case {
    const char* name;
    ms::Point3 from, to;
    bool corner;  // the axes without letters
    std::array<double, 6> args;
  };
  const Case cases[] = {
      {"straddles both", {-2, -3, 0}, {4, 5, 0}, false, {-2.2, 4.4, -3.3, 5.5, -1, 1}},
      {"first quadrant flat", {1, 2, 0}, {3, 4, 0}, false, {0, 3.3, 0, 4.4, 0, 0}},
      {"first quadrant 3D", {1, 2, -1}, {3, 4, 2}, true, {0, 3.3, 0, 4.4, -1.1, 2.2}},
      {"upper half", {-2, 1, 0}, {3, 4, 0}, false, {-2.2, 3.3, 0, 4.4, -1, 1}},
      {"lower half", {-2, -4, 0}, {3, -1, 0}, false, {-2.2, 3.3, -4.4, 0, -1, 1}},
      {"right half", {1, -2, 0}, {3, 4, 0}, false, {0, 3.3, -2.2, 4.4, -1, 1}},
      {"left half", {-3, -2, 0}, {-1, 4, 0}, false, {-3.3, 0, -2.2, 4.4, -1, 1}},
      {"second quadrant", {-3, 1, 0}, {-1, 4, 0}, true, {-3.3, 0, 0, 4.4, 0, 0}},
      {"third quadrant", {-3, -4, 0}, {-1, -1, 0}, true, {-3.3, 0, -4.4, 0, 0, 0}},
      {"fourth quadrant", {1, -4, 0}, {3, -1, 0}, true, {0, 3.3, -4.4, 0, 0, 0}},
      {"a single point at the origin", {0, 0, 0}, {0, 0, 0}, false, {0, 0, 0, 0, -1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_from = c.from;
    g_to = c.to;
    // Without grid crosses: only the axes are compared.
    BuildWith(GraphCommand::kIVP, BoxMaker, [](frmGraph& w) { w.mnuXYPlane->setEnabled(false); });
    const auto& scene = ms::Scene;
    const std::vector<ms::SegmentRow> rows(scene.SegmentTable.begin(),
                                           scene.SegmentTable.begin() + scene.SegmentCount);
    const std::vector<ms::Point3> points(scene.VertexXYZ.begin(),
                                         scene.VertexXYZ.begin() + scene.VertexCount);
    // The same scene by hand.
    ms::StartSceneBuild();
    AddSegment(c.from, c.to, 255, 0, 0);
    ms::View.ZAxisNeeded = (scene.ViewZMin != 0 || scene.ViewZMax != 0) ? -1 : 0;
    const auto& a = c.args;
    (c.corner ? ms::BuildCornerAxes : ms::BuildAxes)(a[0], a[1], a[2], a[3], a[4], a[5]);
    EXPECT_EQ(rows, std::vector<ms::SegmentRow>(scene.SegmentTable.begin(),
                                                scene.SegmentTable.begin() + scene.SegmentCount));
    ASSERT_EQ(static_cast<int>(points.size()), scene.VertexCount);
    for (size_t i = 0; i < points.size(); ++i) {
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(points[i][k], scene.VertexXYZ[i][k], 1e-9) << i;
    }
  }
}

TEST_F(GenerateDataTest, GridCrossesAndTheBoundingBox) {
  struct Case {
    const char* name;
    ms::Point3 from, to;
    bool planeOn;
    GraphCommand command;
    int16_t plotKind;  // 0: no box asked for
    bool crosses;
    int boxes;  // grey boxes of 12 edges
  };
  const Case cases[] = {
      {"small box", {-2, -2, 0}, {2, 2, 0}, true, GraphCommand::kIVP, 0, true, 0},
      {"x reaches 100", {-2, -2, 0}, {100, 2, 0}, true, GraphCommand::kIVP, 0, false, 0},
      {"y just inside", {-2, -99.5, 0}, {2, 2, 0}, true, GraphCommand::kIVP, 0, true, 0},
      {"plane off", {-2, -2, 0}, {2, 2, 0}, false, GraphCommand::kIVP, 0, false, 0},
      {"ivp plain view", {-1, -1, -1}, {1, 1, 1}, false, GraphCommand::kIVP, 1, false, 0},
      {"integral alone", {-1, -1, -1}, {1, 1, 1}, false, GraphCommand::kInteg, 1, false, 1},
      {"ivp trajectory", {-1, -1, -1}, {1, 1, 1}, false, GraphCommand::kIVP, 7, false, 1},
      {"ivp 3d trajectory", {-1, -1, -1}, {1, 1, 1}, false, GraphCommand::kIVP, 22, false, 1},
  };
  int r = 0, g = 0, b = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_from = c.from;
    g_to = c.to;
    BuildWith(c.command, BoxMaker, [&](frmGraph& w) {
      w.mnuXYPlane->setEnabled(c.planeOn);
      if (c.plotKind == 0) return;
      ms::View.PlotKind = c.plotKind;
      ms::View.ShowBox = -1;
      w.mnuYes->setChecked(true);
    });
    rt::SplitRGB(ms::Settings.XYPlaneColor, r, g, b);
    // The box edges are grey like the crosses: one or the other is counted.
    if (c.plotKind == 0) {
      EXPECT_EQ(SegmentsColoured(r, g, b) > 0, c.crosses);
    } else {
      EXPECT_EQ(SegmentsColoured(128, 128, 128), 12 * c.boxes);
    }
  }
}

TEST_F(GenerateDataTest, NothingRequestedDrawsTheStoredSceneWithoutAxes) {
  frmGraph& w = Load();
  EXPECT_EQ(ms::Scene.SegmentCountD, 0);
  // Overlay mode appends after the counts saved by the last build.
  Graph.OverlayMode = -1;
  Graph.SavedVertexCount = 4;
  Graph.SavedSegmentCount = 2;
  w.GenerateData();
  EXPECT_EQ(ms::Scene.VertexCountD, 4);
  EXPECT_EQ(ms::Scene.SegmentCountD, 2);
  EXPECT_EQ(ms::Scene.ViewXMin, 10000);
  EXPECT_EQ(ms::Scene.ViewXMax, -10000);
}

}  // namespace
}  // namespace gr::testing
