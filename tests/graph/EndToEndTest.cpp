// From the worksheet to the picture: a worksheet is executed, Graph opens the graph window, which
// builds and draws the curves of the worksheet, and Return goes back.
#include <QLabel>
#include <QPushButton>
#include <stdexcept>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

class EndToEndTest : public GraphTest {
 protected:
  // Executes the worksheet and presses Graph; the graph window, which must have opened.
  frmGraph& Run(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    frmGraph* w = GraphWindow();
    if (w == nullptr) throw std::runtime_error("no graph window");
    return *w;
  }
};

TEST_F(EndToEndTest, PlotCurvesAreDrawnInTheirPlotColours) {
  frmGraph& w = Run("A<t> = <t, t^2, 0>\nB<t> = <t, -t-1, 0>\nPlot[A, B, {t,-2,2,40}]\n");
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_FALSE(Sheet().isVisible());
  EXPECT_GT(ms::Scene.SegmentCountD, 80);
  // Without axes and grid crosses nothing else is painted over the curves: every curve
  // segment's midpoint shows the curve's colour.
  Graph.ShowAxes = 0;
  w.GenerateData();
  int checked = 0;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    if (r[ms::kSegKind] == ms::kSegStructure) continue;
    const int32_t colour = draw::PackRgb(int(r[ms::kRed]), int(r[ms::kGreen]), int(r[ms::kBlue]));
    const ms::Point3& p = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kStartPoint])];
    const ms::Point3& q = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kEndPoint])];
    EXPECT_TRUE(
        ColourNear(w.Display(), (p[0] + q[0]) / 2, (p[1] + q[1]) / 2, draw::ToArgb(colour), 2))
        << "segment " << i;
    ++checked;
  }
  EXPECT_GE(checked, 80);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(w.mnuPlot[k]->isEnabled(), k < 2) << "plot #" << k + 1;
  EXPECT_EQ(w.Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
  w.cmdReturn_Click();
  EXPECT_EQ(GraphWindow(), nullptr);
  EXPECT_TRUE(Sheet().isVisible());
}

TEST_F(EndToEndTest, ACurveBeyondTheStoreStopsTheBuildWithItsOwnBox) {
  const std::pair<int, const char*> cases[] = {
      {1, "A<t> = <t, t^2, 0>\nPlot[A, {t,0,1,16000}]\n"},
      {2, "A<t> = <t, t^2, 0>\nB<t> = <t, -t, 0>\nPlot[A, B, {t,0,1,9000}]\n"},
  };
  for (const auto& [curve, worksheet] : cases) {
    SCOPED_TRACE(curve);
    ui_.Reset();
    Graph.PlotLimitReached = 0;
    frmGraph& w = Run(worksheet);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"Space exceeds upper limit for plot #" + rt::IntText(curve) +
                                     u". Try and reduce number of points to plot.");
    EXPECT_EQ(Graph.PlotLimitReached != 0, curve == 1);
    EXPECT_FALSE(w.mnuPlot[curve - 1]->isEnabled());
    EXPECT_EQ(w.mnuPlot[0]->isEnabled(), curve == 2);
    // No axes were added: every segment is a curve's.
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      ASSERT_NE(ms::Scene.SegmentTable[i][ms::kSegKind], ms::kSegStructure) << i;
    }
    EXPECT_FALSE(w.cmdReturn->isHidden());
    w.cmdReturn_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace gr::testing
