// The picture build: the fixed order of the commands, their error boxes, the abort and the
// vertex limit.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <string>
#include <vector>

#include "GraphTestSupport.h"
#include "language/Messages.h"

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
int16_t Record(rt::Text& stmt, int16_t slot) {
  g_calls.push_back(std::string(kNames[N]) + ":" + std::to_string(slot) + ":" +
                    std::string(stmt.begin(), stmt.end()) +
                    (ms::RunFlags.Replot != 0 ? ":replot" : ""));
  if (static_cast<int>(g_calls.size()) - 1 != g_failAt) return 0;
  if (g_abort) ms::RunFlags.AbortRun = -1;
  return g_failMsg;
}
const CommandBuilder kRecorders[] = {Record<0>, Record<1>, Record<2>, Record<3>,
                                     Record<4>, Record<5>, Record<6>, Record<7>};

// A command that fills the store past the vertex limit; the contour command keeps the drawing
// count current itself.
template <bool kKeepsCount>
int16_t Overfill(rt::Text&, int16_t) {
  while (ms::Scene.VertexCount <= ms::kCurveVertexLimit) {
    const double x = ms::Scene.VertexCount;
    AddSegment({x, 0, 0}, {x + 1, 0, 0}, 0, 0, 0);
  }
  if (kKeepsCount) ms::Scene.VertexCountD = ms::Scene.VertexCount;
  return 0;
}

class GenerateDataTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    g_calls.clear();
    g_failAt = -1;
    for (int c = 0; c < 8; ++c) CommandEntry(static_cast<GraphCommand>(c)) = kRecorders[c];
  }

  // A fresh window that built nothing; then every command requested and drawings counted.
  GraphWindow& LoadRequestingEverything() {
    ReleaseGraphWindow();
    ms::Requests = ms::CommandRequestState{};
    ms::RunFlags.Replot = ms::RunFlags.AbortRun = 0;
    GraphWindow& w = Load();
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
    r.SlopeFieldStmt = u"S";
    r.ContourStmt = u"C";
    return w;
  }

  // A fresh window whose one requested command runs builder, built again without grid crosses.
  GraphWindow& BuildWith(GraphCommand command, CommandBuilder builder) {
    ReleaseGraphWindow();
    ResetAllState();
    ms::Requests.IVPRequested = command == GraphCommand::kIVP ? -1 : 0;
    ms::Requests.Field3DRequested = command == GraphCommand::kField3D ? -1 : 0;
    ms::Requests.ContourRequested = command == GraphCommand::kContour ? -1 : 0;
    CommandEntry(command) = builder;
    GraphWindow& w = Load();
    w.mnuXYPlane->setEnabled(false);
    ui_.Reset();
    CountDraws();
    w.GenerateData();
    return w;
  }
};

TEST_F(GenerateDataTest, CommandsRunInOrderUntilAnErrorOrAnAbort) {
  const std::vector<std::string> order = {
      "integ:1:I1", "integ:2:",  "dblint:1:", "dblint:2:D2", "ivp:0:V_",
      "bvp:0:",     "slope:0:S", "dir:0:",    "field3d:0:",  "contour:0:C"};
  struct Case {
    int failAt;  // -1: none
    int16_t msg;
    bool abort;
    const char16_t *shown, *separator;  // the error box's, when msg is not 0
    int draws;
  };
  const Case cases[] = {
      {-1, 0, false, nullptr, nullptr, 1}, {0, 5010, false, u"I1", u" : ", 0},
      {4, 2005, false, u"V", u" : ", 0},   {6, 1010, false, u"S", u" :  ", 0},
      {9, 1400, false, u"C", u" : ", 0},   {4, 0, true, nullptr, nullptr, 0},
      {9, 0, true, nullptr, nullptr, 1},  // the contour block does not test the abort flag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.failAt << " " << c.msg << " " << c.abort);
    GraphWindow& w = LoadRequestingEverything();
    g_failAt = c.failAt;
    g_failMsg = c.msg;
    g_abort = c.abort;
    w.GenerateData();
    EXPECT_EQ(g_calls, std::vector<std::string>(
                           order.begin(), order.begin() + (c.failAt < 0 ? 10 : c.failAt + 1)));
    EXPECT_EQ(g_draws, c.draws);
    ASSERT_EQ(ui_.boxes.size(), c.msg != 0 ? 1u : 0u);
    if (c.msg != 0) {
      EXPECT_EQ(ui_.boxes[0].text, u"Statement : " + rt::Text(c.shown) + u"\r\n" +
                                       rt::NumText(c.msg) + c.separator +
                                       ms::GetMessageText(c.msg));
      EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
      EXPECT_EQ(ui_.boxes[0].style, ui::kExclamation);
    }
    // The window is usable again.
    EXPECT_FALSE(w.cmdReturn->isHidden());
    EXPECT_FALSE(ui_.busy);
    EXPECT_EQ(Graph.Generating, 0);
    if (c.failAt >= 0) continue;
    // A full build: the contour hides the frames and Update Graph; the integrals make every
    // later build (not the first) draw the stored curves again.
    EXPECT_TRUE(w.Frame2->isHidden());
    EXPECT_TRUE(w.cmdUpdate->isHidden());
    g_calls.clear();
    w.GenerateData();
    ASSERT_EQ(g_calls.size(), 10u);
    EXPECT_EQ(g_calls[4], "ivp:0:V_:replot");
  }
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
    GraphWindow& w = BuildWith(c.command, c.builder);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, c.text);
    EXPECT_GT(ms::Scene.VertexCountD, ms::kCurveVertexLimit);
    EXPECT_EQ(w.Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
    EXPECT_FALSE(w.mnuBox->menuAction()->isEnabled());
    EXPECT_EQ(g_draws, 0);
  }
}

}  // namespace
}  // namespace gr::testing
