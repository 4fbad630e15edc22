// From the worksheet to the picture: a worksheet is executed, Graph opens the graph window, which
// builds and draws the curves and integrals of the worksheet, and Return goes back.
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "GraphTestSupport.h"
#include "plotting/frmContour.h"

namespace gr::testing {
namespace {

class EndToEndTest : public GraphTest {
 protected:
  // Executes the worksheet (each statement ends with its line) and presses Graph; the graph
  // window or null.
  frmGraph* Run(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    return GraphWindow();
  }
};

// Whether some pixel of the colour lies within two pixels of the picture point.
bool ColourNear(const draw::DrawTarget& t, double x, double y, uint32_t argb) {
  const QPointF d = t.ToDevice(x, y);
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const QPoint p(static_cast<int>(d.x()) + dx, static_cast<int>(d.y()) + dy);
      if (t.Image().valid(p) && (t.Image().pixel(p) | 0xFF000000u) == argb) return true;
    }
  }
  return false;
}

TEST_F(EndToEndTest, PlotCurvesAreDrawnInTheirPlotColours) {
  struct Case {
    const char* name;
    const char* worksheet;
    int curves;
  };
  const Case cases[] = {
      {"one parabola", "A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}]\n", 1},
      {"two curves", "A<t> = <t, t^2, 0>\nB<t> = <t, -t-1, 0>\nPlot[A, B, {t,-2,2,40}]\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    frmGraph* w = Run(c.worksheet);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_FALSE(Sheet().isVisible());
    EXPECT_GT(ms::Scene.SegmentCountD, 40 * c.curves);
    // Without axes and grid crosses nothing else is painted over the curves.
    Graph.ShowAxes = 0;
    w->GenerateData();
    // Every curve segment's midpoint shows the curve's colour.
    int checked = 0;
    for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
      const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
      if (r[ms::kSegKind] == ms::kSegStructure) continue;
      const int32_t colour =
          draw::PackRgb(static_cast<int>(r[ms::kRed]), static_cast<int>(r[ms::kGreen]),
                        static_cast<int>(r[ms::kBlue]));
      const ms::Point3& p = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kStartPoint])];
      const ms::Point3& q = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kEndPoint])];
      EXPECT_TRUE(
          ColourNear(w->Display(), (p[0] + q[0]) / 2, (p[1] + q[1]) / 2, draw::ToArgb(colour)))
          << "segment " << i;
      ++checked;
    }
    EXPECT_GE(checked, 40 * c.curves);
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(w->mnuPlot[k]->isEnabled(), k < c.curves) << "plot #" << k + 1;
    }
    EXPECT_EQ(w->Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
    w->cmdReturn_Click();
    EXPECT_EQ(GraphWindow(), nullptr);
    EXPECT_TRUE(Sheet().isVisible());
    EXPECT_FALSE(Sheet().cmdGraph->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(EndToEndTest, AnIntegralIsDrawnAndRedrawnFromItsStoredCurve) {
  frmGraph* w = Run("F{x} = x^2\nc = Integ[F,{0,2,10,0}]\n");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(ui_.boxes.empty());
  const double segments = ms::Scene.SegmentCountD;
  EXPECT_GT(segments, 10);
  EXPECT_NEAR(ms::Scene.ViewYMax, 8.0 / 3.0, 1e-3);  // the running integral reaches 8/3
  EXPECT_FALSE(w->cmdUpdate->isHidden());
  EXPECT_NE(ms::RunFlags.Replot, 0);
  // Update Graph draws the same scene again from the stored curve.
  w->cmdUpdate_Click();
  EXPECT_EQ(ms::Scene.SegmentCountD, segments);
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(EndToEndTest, AnInitialValueProblemIsSolvedAndDrawn) {
  frmGraph* w = Run("F{t,x} = x\nIVP[F,{0,1,1}{1,0.001}]\n");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_GT(ms::Scene.SegmentCountD, 10);
  // The solution x = e^t starts at 1 and ends at e, within the view box.
  EXPECT_LE(ms::Scene.ViewYMin, 1.0);
  EXPECT_GE(ms::Scene.ViewYMax, 2.718);
  EXPECT_TRUE(w->mnuPlotIVPColor->isEnabled());
  EXPECT_FALSE(w->cmdUpdate->isHidden());
  EXPECT_FALSE(w->Frame2->isHidden());
  // The frames of view buttons follow what the command chose.
  const QGroupBox* frames[] = {w->Frame5, w->Frame6, w->Frame7, w->Frame8, w->Frame9};
  for (int f = 5; f <= 9; ++f) {
    EXPECT_EQ(!frames[f - 5]->isHidden(), ms::IvpView.FrameVisible[f] != 0) << "Frame" << f;
  }
}

TEST_F(EndToEndTest, ASlopeFieldHoldsBackTheBarbKeysButNotTheOthers) {
  frmGraph* w = Run("F{x,y} = x + y\nPlotSlopeField[F,{0,4,4}{0,4,4}]\n");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_GE(ms::Scene.SegmentCountD, 25);
  EXPECT_NE(ms::FieldGraph.SlopeFieldMode, 0);
  const double angle = ms::View.ArrowAngleScale;
  KeyClick(w, 'W');
  KeyClick(w, 'w');
  EXPECT_EQ(ms::View.ArrowAngleScale, angle);
  // "S" lengthens the field's segments, drawn again from the stored slopes.
  const double field = ms::View.FieldVectorScale;
  KeyClick(w, 'S');
  EXPECT_DOUBLE_EQ(ms::View.FieldVectorScale, field * 1.1);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_GE(ms::Scene.SegmentCountD, 25);
}

TEST_F(EndToEndTest, ContourLinesAreTracedAndDrawn) {
  frmGraph* w = Run("F{x,y} = x^2 + y^2\nPlotContour[F,{-3,3,-3,3}{1,0}{1,4,1}]\n");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_GT(ms::Scene.SegmentCountD, 100);
  EXPECT_EQ(ms::Scene.SegmentCountD, ms::Scene.SegmentCount);
  for (QWidget* hidden : {static_cast<QWidget*>(w->Frame2), static_cast<QWidget*>(w->Frame5),
                          static_cast<QWidget*>(w->Frame6), static_cast<QWidget*>(w->cmdUpdate)}) {
    EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
  }
  EXPECT_FALSE(w->cmdReturn->isHidden());
  EXPECT_EQ(Graph.Generating, 0);
  // Tracing showed its progress window; Return unloads it with the graph window.
  EXPECT_NE(ms::frmContour::Instance(), nullptr);
  EXPECT_TRUE(w->cmdReturn->isEnabled());
  w->cmdReturn_Click();
  EXPECT_EQ(ms::frmContour::Instance(), nullptr);
  EXPECT_EQ(GraphWindow(), nullptr);
}

TEST_F(EndToEndTest, ACurveBeyondTheStoreStopsTheBuildWithItsOwnBox) {
  struct Case {
    const char* name;
    const char* worksheet;
    int curve;
  };
  const Case cases[] = {
      {"curve #1", "A<t> = <t, t^2, 0>\nPlot[A, {t,0,1,16000}]\n", 1},
      {"curve #2", "A<t> = <t, t^2, 0>\nB<t> = <t, -t, 0>\nPlot[A, B, {t,0,1,9000}]\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    Graph.PlotLimitReached = 0;
    frmGraph* w = Run(c.worksheet);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"Space exceeds upper limit for plot #" + rt::IntText(c.curve) +
                                     u". Try and reduce number of points to plot.");
    EXPECT_EQ(Graph.PlotLimitReached != 0, c.curve == 1);
    EXPECT_FALSE(w->mnuPlot[static_cast<size_t>(c.curve - 1)]->isEnabled());
    if (c.curve == 2) {
      EXPECT_TRUE(w->mnuPlot[0]->isEnabled());
    }
    // No axes were added: every segment is a curve's.
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      ASSERT_NE(ms::Scene.SegmentTable[i][ms::kSegKind], ms::kSegStructure) << i;
    }
    EXPECT_FALSE(w->cmdReturn->isHidden());
    w->cmdReturn_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace gr::testing
