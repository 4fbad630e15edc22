// The picture build: the fixed order of the commands, their error boxes, the abort, the vertex
// limit, the axes chosen for each view box, grid crosses, the box and the Replot flag.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <string>
#include <vector>

#include "GraphTestSupport.h"
#include "language/Messages.h"
#include "plotting/PlotField.h"
#include "plotting/ZGrids.h"
#include "plotting/ZMath.h"

namespace gr::testing {
namespace {

// What the commands saw, in order: a letter per command and the slot, and Replot at the call.
std::vector<std::string> g_calls;
int16_t g_failAt = -1;  // index into g_calls whose command fails with g_failMsg
int16_t g_failMsg = 0;
bool g_abortAt = false;

void Record(const char* name, rt::Text& stmt, int16_t slot, int16_t& msgNo) {
  std::string entry = std::string(name) + ":" + std::to_string(slot) + ":" +
                      std::string(stmt.begin(), stmt.end()) +
                      (ms::RunFlags.Replot != 0 ? ":replot" : "");
  g_calls.push_back(entry);
  if (static_cast<int>(g_calls.size()) - 1 == g_failAt) {
    msgNo = g_failMsg;
    if (g_abortAt) ms::RunFlags.AbortRun = -1;
  }
}

void Integ(rt::Text& s, int16_t slot, int16_t& m) {
  Record("integ", s, slot, m);
}
void DblInt(rt::Text& s, int16_t slot, int16_t& m) {
  Record("dblint", s, slot, m);
}
void IVP(rt::Text& s, int16_t slot, int16_t& m) {
  Record("ivp", s, slot, m);
}
void BVP(rt::Text& s, int16_t slot, int16_t& m) {
  Record("bvp", s, slot, m);
}
void Slope(rt::Text& s, int16_t slot, int16_t& m) {
  Record("slope", s, slot, m);
}
void Dir(rt::Text& s, int16_t slot, int16_t& m) {
  Record("dir", s, slot, m);
}
void Field3D(rt::Text& s, int16_t slot, int16_t& m) {
  Record("field3d", s, slot, m);
}
void Contour(rt::Text& s, int16_t slot, int16_t& m) {
  Record("contour", s, slot, m);
}

// Counts the drawings: the title overlay is laid at the end of every one.
int g_draws = 0;
void CountDraw(draw::DrawTarget&) {
  ++g_draws;
}

class GenerateDataTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    g_calls.clear();
    g_failAt = -1;
    g_failMsg = 0;
    g_abortAt = false;
    CommandEntry(GraphCommand::kInteg) = Integ;
    CommandEntry(GraphCommand::kDblInt) = DblInt;
    CommandEntry(GraphCommand::kIVP) = IVP;
    CommandEntry(GraphCommand::kBVP) = BVP;
    CommandEntry(GraphCommand::kSlopeField) = Slope;
    CommandEntry(GraphCommand::kDirField) = Dir;
    CommandEntry(GraphCommand::kField3D) = Field3D;
    CommandEntry(GraphCommand::kContour) = Contour;
  }

  // The window loaded with nothing to build, then drawings counted from here on.
  frmGraph& LoadCounting() {
    ms::Requests = ms::CommandRequestState{};
    frmGraph& w = Load();
    g_calls.clear();
    Overlays().placeTitleText = CountDraw;
    Graph.ShowTitle = -1;
    g_draws = 0;
    ui_.Reset();
    return w;
  }

  void RequestEverything() {
    ms::CommandRequestState& r = ms::Requests;
    r.IntegRequested = r.DblIntRequested = r.IVPRequested = r.BVPRequested = -1;
    r.SlopeFieldRequested = r.DirFieldRequested = r.Field3DRequested = r.ContourRequested = -1;
    r.IntegStmtCount = 2;
    r.IntegStmts[0] = u"I1";
    r.DblIntStmts[1] = u"D2";
    r.IVPStmt = u"V";
    r.BVPStmt = u"B";
    r.SlopeFieldStmt = u"S";
    r.DirFieldStmt = u"R";
    r.Field3DStmt = u"F";
    r.ContourStmt = u"C";
  }
};

TEST_F(GenerateDataTest, CommandsRunInTheirFixedOrder) {
  RequestEverything();
  frmGraph& w = Load();
  const std::vector<std::string> expected = {
      "integ:1:I1", "integ:2:",  "dblint:1:", "dblint:2:D2", "ivp:0:V",
      "bvp:0:B",    "slope:0:S", "dir:0:R",   "field3d:0:F", "contour:0:C"};
  EXPECT_EQ(g_calls, expected);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_FALSE(w.cmdReturn->isHidden());
  // The integral blocks ask later builds to replot.
  EXPECT_NE(ms::RunFlags.Replot, 0);
  // Contour hides the frames and Update Graph at the end.
  EXPECT_TRUE(w.Frame2->isHidden());
  EXPECT_TRUE(w.cmdUpdate->isHidden());
}

TEST_F(GenerateDataTest, CommandsAfterAnIntegralAreNotToldToReplotOnTheFirstBuild) {
  ms::Requests.IntegRequested = -1;
  ms::Requests.IntegStmtCount = 1;
  ms::Requests.IVPRequested = -1;
  ms::Requests.SlopeFieldRequested = -1;
  ms::Requests.IVPStmt.clear();
  ms::Requests.SlopeFieldStmt.clear();
  Load();
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[1], "ivp:0:");
  EXPECT_EQ(g_calls[2], "slope:0:");
  // A later build draws every stored curve again.
  g_calls.clear();
  GraphWindow()->GenerateData();
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[1], "ivp:0::replot");
}

TEST_F(GenerateDataTest, ACommandErrorShowsTheStatementAndStops) {
  struct Case {
    const char* name;
    int failAt;
    int16_t msg;
    const char16_t* statement;
    const char16_t* separator;
    int callsMade;
  };
  const Case cases[] = {
      {"first integral", 0, 5010, u"I1", u" : ", 1},
      {"ivp", 4, 2005, u"V", u" : ", 5},
      {"slope field", 6, 1010, u"S", u" :  ", 7},
      {"contour", 9, 1400, u"C", u" : ", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_calls.clear();
    ui_.Reset();
    frmGraph& w = LoadCounting();
    RequestEverything();
    g_failAt = static_cast<int16_t>(c.failAt);
    g_failMsg = c.msg;
    w.GenerateData();
    EXPECT_EQ(static_cast<int>(g_calls.size()), c.callsMade);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    const rt::Text expected = u"Statement : " + rt::Text(c.statement) + u"\r\n" +
                              rt::NumText(c.msg) + c.separator + ms::GetMessageText(c.msg);
    EXPECT_EQ(ui_.boxes[0].text, expected);
    EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
    EXPECT_EQ(ui_.boxes[0].style, ui::kExclamation);
    // Nothing drawn, but the window is usable again.
    EXPECT_EQ(g_draws, 0);
    EXPECT_FALSE(w.cmdReturn->isHidden());
    EXPECT_FALSE(ui_.busy);
    EXPECT_EQ(Graph.Generating, 0);
    ReleaseGraphWindow();
  }
}

TEST_F(GenerateDataTest, TheErrorBoxSpellsTheStatementAsTheUserWroteIt) {
  frmGraph& w = LoadCounting();
  ms::Requests.IVPRequested = -1;
  ms::Requests.IVPStmt = u"IVP[F_,{0,1,10}]";
  g_failAt = 0;
  g_failMsg = 2005;
  w.GenerateData();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  const rt::Text& text = ui_.boxes[0].text;
  EXPECT_EQ(text.substr(0, text.find(u"\r\n")), u"Statement : IVP[F,{0,1,10}]");
}

TEST_F(GenerateDataTest, AbortAfterACommandReturnsSilentlyAndLeavesTheWindowUsable) {
  frmGraph& w = LoadCounting();
  RequestEverything();
  g_failAt = 4;  // the IVP command: Esc pressed while it ran
  g_abortAt = true;
  w.GenerateData();
  EXPECT_EQ(g_calls.size(), 5u);
  EXPECT_EQ(g_draws, 0);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_FALSE(w.cmdReturn->isHidden());
  EXPECT_FALSE(ui_.busy);
  EXPECT_EQ(Graph.Generating, 0);

  // The contour block and the curves do not test the flag.
  g_calls.clear();
  ms::RunFlags.AbortRun = 0;
  ms::Requests = ms::CommandRequestState{};
  ms::Requests.ContourRequested = -1;
  g_failAt = 0;
  g_abortAt = true;
  g_failMsg = 0;
  w.GenerateData();
  EXPECT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_EQ(g_draws, 1);
}

// A command that fills the store past the vertex limit.
void Overfill(rt::Text&, int16_t, int16_t& msgNo) {
  msgNo = 0;
  while (ms::Scene.VertexCount <= ms::kCurveVertexLimit) {
    const double x = ms::Scene.VertexCount;
    AddSegment({x, 0, 0}, {x + 1, 0, 0}, 0, 0, 0);
  }
}

TEST_F(GenerateDataTest, VertexLimitStopsTheBuildWithItsBox) {
  struct Case {
    GraphCommand command;
    const char16_t* text;
  };
  const Case cases[] = {
      {GraphCommand::kIVP, u"Vertical limit 30,000 vertices reached."},
      {GraphCommand::kField3D, u"Vertical limit 30,000 verticies reached."},
      {GraphCommand::kContour, u"Vertical limit 30,000 verticies reached."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::ToQString(c.text).toStdString());
    ResetAllState();
    frmGraph& w = LoadCounting();
    ms::Requests.IVPRequested = c.command == GraphCommand::kIVP ? -1 : 0;
    ms::Requests.Field3DRequested = c.command == GraphCommand::kField3D ? -1 : 0;
    ms::Requests.ContourRequested = c.command == GraphCommand::kContour ? -1 : 0;
    CommandEntry(c.command) = Overfill;
    if (c.command == GraphCommand::kContour) {
      // The contour command keeps the drawing count current itself.
      CommandEntry(c.command) = [](rt::Text& s, int16_t slot, int16_t& m) {
        Overfill(s, slot, m);
        ms::Scene.VertexCountD = ms::Scene.VertexCount;
      };
    }
    w.GenerateData();
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, c.text);
    EXPECT_GT(ms::Scene.VertexCountD, ms::kCurveVertexLimit);
    EXPECT_EQ(w.Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
    EXPECT_FALSE(w.mnuBox->menuAction()->isEnabled());
    EXPECT_EQ(g_draws, 0);
    EXPECT_FALSE(w.cmdReturn->isHidden());
    ReleaseGraphWindow();
    ResetGraphCommands();
  }
}

// A command that leaves a known view box: one segment from corner to corner.
ms::Point3 g_from, g_to;
void BoxMaker(rt::Text&, int16_t, int16_t& msgNo) {
  msgNo = 0;
  AddSegment(g_from, g_to, 255, 0, 0);
}

// The scene the build must leave: the command's segment, then the expected axes.
struct AxesCase {
  const char* name;
  ms::Point3 from, to;
  bool corner;  // the axes without letters
  std::array<double, 6> args;
};

TEST_F(GenerateDataTest, AxesFollowTheViewBox) {
  const AxesCase cases[] = {
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
  for (const AxesCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    ms::Requests.IVPRequested = -1;
    g_from = c.from;
    g_to = c.to;
    CommandEntry(GraphCommand::kIVP) = BoxMaker;
    // Keep the grid crosses out: only the axes are compared.
    frmGraph& w = Load();
    w.mnuXYPlane->setEnabled(false);
    w.GenerateData();
    const int built = ms::Scene.SegmentCount;
    const std::vector<ms::SegmentRow> got(ms::Scene.SegmentTable.begin(),
                                          ms::Scene.SegmentTable.begin() + built);

    // The same scene by hand.
    ms::StartSceneBuild();
    AddSegment(c.from, c.to, 255, 0, 0);
    ms::View.ZAxisNeeded = (ms::Scene.ViewZMin != 0 || ms::Scene.ViewZMax != 0) ? -1 : 0;
    const auto& a = c.args;
    if (c.corner) {
      ms::BuildCornerAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
    } else {
      ms::BuildAxes(a[0], a[1], a[2], a[3], a[4], a[5]);
    }
    ASSERT_EQ(built, ms::Scene.SegmentCount);
    for (int i = 0; i < built; ++i) {
      SCOPED_TRACE(i);
      const auto& r = ms::Scene.SegmentTable[i];
      for (int col = 0; col < ms::kSegmentColumns; ++col) EXPECT_EQ(got[i][col], r[col]);
      const ms::Point3 p = ms::Scene.VertexXYZ[static_cast<int>(r[0])];
      EXPECT_NEAR(p[0], ms::Scene.VertexXYZ[static_cast<int>(got[i][0])][0], 1e-12);
    }
    ReleaseGraphWindow();
  }
}

TEST_F(GenerateDataTest, GridCrossesOnlyForASmallBoxWithTheXYPlaneOn) {
  struct Case {
    const char* name;
    ms::Point3 from, to;
    bool planeOn;
    bool crosses;
  };
  const Case cases[] = {
      {"small box", {-2, -2, 0}, {2, 2, 0}, true, true},
      {"x reaches 100", {-2, -2, 0}, {100, 2, 0}, true, false},
      {"y just inside", {-2, -99.5, 0}, {2, 2, 0}, true, true},
      {"plane off", {-2, -2, 0}, {2, 2, 0}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    ms::Requests.IVPRequested = -1;
    g_from = c.from;
    g_to = c.to;
    CommandEntry(GraphCommand::kIVP) = BoxMaker;
    frmGraph& w = Load();
    w.mnuXYPlane->setEnabled(c.planeOn);
    w.GenerateData();
    int dashes = 0;
    int r = 0, g = 0, b = 0;
    rt::SplitRGB(ms::Settings.XYPlaneColor, r, g, b);
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      const auto& row = ms::Scene.SegmentTable[i];
      if (row[ms::kSegKind] == ms::kSegStructure && row[ms::kRed] == r && row[ms::kGreen] == g &&
          row[ms::kBlue] == b) {
        ++dashes;
      }
    }
    EXPECT_EQ(dashes > 0, c.crosses);
    ReleaseGraphWindow();
  }
}

TEST_F(GenerateDataTest, NothingRequestedDrawsTheStoredSceneWithoutAxes) {
  frmGraph& w = Load();
  EXPECT_EQ(ms::Scene.SegmentCountD, 0);
  EXPECT_EQ(w.Label12->text(), QStringLiteral("45"));
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

TEST_F(GenerateDataTest, BoundingBoxWhenAskedAndNoCommandAddsItsOwn) {
  struct Case {
    const char* name;
    bool ivp;
    int16_t plotKind;
    int boxes;
  };
  const Case cases[] = {
      {"integral alone", false, 1, 1},
      {"ivp plain view", true, 1, 0},
      {"ivp trajectory", true, 7, 1},
      {"ivp 3d trajectory", true, 22, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    ms::Requests.IntegRequested = c.ivp ? 0 : -1;
    ms::Requests.IntegStmtCount = 1;
    ms::Requests.IVPRequested = c.ivp ? -1 : 0;
    g_from = {-1, -1, -1};
    g_to = {1, 1, 1};
    CommandEntry(GraphCommand::kInteg) = BoxMaker;
    CommandEntry(GraphCommand::kIVP) = BoxMaker;
    frmGraph& w = Load();
    ms::View.PlotKind = c.plotKind;
    ms::View.ShowBox = -1;
    w.mnuYes->setChecked(true);
    w.mnuXYPlane->setEnabled(false);  // no grey grid crosses among the box edges
    w.GenerateData();
    int grey = 0;
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      const auto& row = ms::Scene.SegmentTable[i];
      if (row[ms::kRed] == 128 && row[ms::kGreen] == 128 && row[ms::kBlue] == 128) ++grey;
    }
    EXPECT_EQ(grey, 12 * c.boxes);
    ReleaseGraphWindow();
  }
}

}  // namespace
}  // namespace gr::testing
