// The picture build through the window: each command's failure shown in its error box (the order
// of the rows and where a build stops are checked in the core's scene build tests), the abort,
// and the vertex limit's box.
#include <QLabel>

#include "GraphTestSupport.h"
#include "language/Messages.h"

namespace gr::testing {
namespace {

// What the commands saw, in order; the call that fails with g_failMsg (setting the abort flag
// when g_abort).
std::vector<GraphCommand> g_calls;
size_t g_failAt = 99;
int16_t g_failMsg = 0;
bool g_abort = false;

template <GraphCommand N>
int16_t Record(const rt::Text&, int16_t) {
  g_calls.push_back(N);
  if (g_calls.size() - 1 != g_failAt) return 0;
  if (g_abort) ms::RunFlags.AbortRun = -1;
  return g_failMsg;
}

// A command that fills the store past the vertex limit; the contour command keeps the drawing
// count current itself.
template <bool kKeepsCount>
int16_t Overfill(const rt::Text&, int16_t) {
  while (ms::Scene.VertexCount <= ms::kCurveVertexLimit) {
    const double x = ms::Scene.VertexCount;
    AddSegment({x, 0, 0}, {x + 1, 0, 0}, 0, 0, 0);
  }
  if (kKeepsCount) ms::Scene.VertexCountD = ms::Scene.VertexCount;
  return 0;
}

using GenerateDataTest = GraphTest;

// Every build is drawn, a stopped one too: the picture shows what it made before it stopped.
TEST_F(GenerateDataTest, ACommandsFailureShowsItsStatementAndMessageAndEveryBuildIsDrawn) {
  using enum GraphCommand;
  CommandEntry(kInteg) = Record<kInteg>;
  CommandEntry(kIVP) = Record<kIVP>;
  CommandEntry(kSlopeField) = Record<kSlopeField>;
  CommandEntry(kContour) = Record<kContour>;
  struct Case {
    size_t failAt;  // 99: none
    int16_t msg;
    bool abort;
    const char16_t *shown, *separator;  // the error box's, when msg is not 0
  };
  const Case cases[] = {
      {99, 0, false, nullptr, nullptr}, {1, 2005, false, u"V", u" : "},
      {2, 1010, false, u"S", u" :  "},  {1, 0, true, nullptr, nullptr},
      {3, 0, true, nullptr, nullptr},  // the contour block does not test the abort flag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.failAt << " " << c.msg << " " << c.abort);
    ReleaseGraphWindow();
    ms::Requests = ms::CommandRequestState{};
    ms::RunFlags.Replot = ms::RunFlags.AbortRun = 0;
    GraphWindow& w = Load();
    ui_.Reset();
    g_calls.clear();
    CountDraws();
    ms::CommandRequestState& r = ms::Requests;
    r.IntegRequested = r.IVPRequested = r.SlopeFieldRequested = r.ContourRequested = -1;
    r.IntegStmtCount = 1;
    r.IntegStmts[0] = u"I1";
    r.IVPStmt = u"V_";  // shown in an error box without the name mark
    r.SlopeFieldStmt = u"S";
    r.ContourStmt = u"C";
    g_failAt = c.failAt;
    g_failMsg = c.msg;
    g_abort = c.abort;
    w.GenerateData();
    EXPECT_EQ(g_calls.size(), std::min<size_t>(4, c.failAt + 1));
    EXPECT_EQ(g_draws, 1);
    ASSERT_EQ(ui_.boxes.size(), c.msg != 0 ? 1u : 0u);
    if (c.msg != 0) {
      EXPECT_EQ(ui_.boxes[0].text, u"Statement : " + rt::Text(c.shown) + u"\r\n" +
                                       rt::NumText(c.msg) + c.separator +
                                       ms::GetMessageText(c.msg));
      EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
    }
    EXPECT_FALSE(ui_.busy);  // the window is usable again
    EXPECT_EQ(Graph.Generating, 0);
  }
}

TEST_F(GenerateDataTest, VertexLimitStopsTheBuildWithItsBox) {
  const std::tuple<GraphCommand, CommandBuilder, const char16_t*> cases[] = {
      {GraphCommand::kIVP, Overfill<false>, u"Vertical limit 30,000 vertices reached."},
      {GraphCommand::kContour, Overfill<true>, u"Vertical limit 30,000 verticies reached."},
  };
  for (const auto& [command, builder, text] : cases) {
    SCOPED_TRACE(static_cast<int>(command));
    ReleaseGraphWindow();
    ResetAllState();
    ms::Requests.IVPRequested = command == GraphCommand::kIVP ? -1 : 0;
    ms::Requests.ContourRequested = command == GraphCommand::kContour ? -1 : 0;
    CommandEntry(command) = builder;
    GraphWindow& w = Load();
    ui_.Reset();
    CountDraws();
    w.GenerateData();
    ExpectBox(text);
    EXPECT_EQ(g_draws, 1);
    EXPECT_EQ(w.Label5->text(), QString::number(ms::Scene.VertexCount));
  }
}

// Whether the picture had anything on it as the command ran, and the rotation it showed.
bool g_inkWhileBuilding = true;
QString g_rotationWhileBuilding;
int16_t LookAtThePicture(const rt::Text&, int16_t) {
  GraphWindow* w = GraphWindow::Instance();
  g_inkWhileBuilding = AnyInk(w->Display().Image());
  g_rotationWhileBuilding = w->Navigation().Label12->text();
  return 0;
}

// The picture, its angles and its count are those of the build that just ran: a refused contour
// after a direction field leaves a blank picture counting 0, and a command being built (an IVP
// showing a box of its own) never has the last picture behind it.
TEST_F(GenerateDataTest, NothingOfTheLastPictureOutlivesTheNextBuild) {
  GraphWindow* w = &Run("F{x,y}=y\nH{x,y}=-x\nPlotDirField[F,H,{-2,2,10}{-2,2,10}]\n");
  ASSERT_TRUE(AnyInk(w->Display().Image()));
  ASSERT_NE(w->Label5->text(), QStringLiteral("0"));
  ms::View.SavedRotation = 0.5;  // the angles the next load turns to
  w = Regraph("F{x,y}=x^2+y^2\nPlotContour[F,{-3,3,-3,3}{1,1}]\n");
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_NE(ui_.boxes[0].text.find(u"1418 : "), rt::Text::npos);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(AnyInk(w->Display().Image()));
  EXPECT_EQ(w->Label5->text(), QStringLiteral("0"));
  EXPECT_EQ(w->Navigation().Label12->text(), QStringLiteral("29"));  // 0.5 rad in whole degrees

  ms::Requests = ms::CommandRequestState{};
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = LookAtThePicture;
  w->Display().Line(0, 0, 5000, 5000, 0);  // a picture from before
  w->GenerateData();
  EXPECT_FALSE(g_inkWhileBuilding);

  // A build that shows a box of its own has the angles it turns to behind it, not the last ones.
  ms::View.SavedRotation = 1.0;
  Regraph("F{t,x}=x\nIVP[F,{0,1,1}{1,0.001}]\n");
  EXPECT_EQ(g_rotationWhileBuilding, QStringLiteral("57"));
}

}  // namespace
}  // namespace gr::testing
