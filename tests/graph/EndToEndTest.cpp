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

// Every curve segment's midpoint shows its plot colour; a curve beyond the store stops the build
// with its own box before anything is drawn or the axes are added.
TEST_F(EndToEndTest, PlotCurvesAreDrawnInTheirColoursOrStoppedByTheStore) {
  struct Case {
    const char* worksheet;
    int tooBig;  // the curve beyond the store, 0: none
    int enabledPlots;
  };
  const Case cases[] = {
      {"A<t> = <t, t^2, 0>\nB<t> = <t, -t-1, 0>\nPlot[A, B, {t,-2,2,40}]\n", 0, 2},
      {"A<t> = <t, t^2, 0>\nPlot[A, {t,0,1,16000}]\n", 1, 0},
      {"A<t> = <t, t^2, 0>\nB<t> = <t, -t, 0>\nPlot[A, B, {t,0,1,9000}]\n", 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tooBig);
    ui_.Reset();
    Graph.PlotLimitReached = 0;
    frmGraph& w = Run(c.worksheet);
    EXPECT_FALSE(Sheet().isVisible());
    ASSERT_EQ(ui_.boxes.size(), c.tooBig != 0 ? 1u : 0u);
    if (c.tooBig != 0) {
      EXPECT_EQ(ui_.boxes[0].text, u"Space exceeds upper limit for plot #" + rt::IntText(c.tooBig) +
                                       u". Try and reduce number of points to plot.");
    }
    EXPECT_EQ(Graph.PlotLimitReached != 0, c.tooBig == 1);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(w.mnuPlot[k]->isEnabled(), k < c.enabledPlots) << k;
    EXPECT_EQ(w.Label5->text(), ui::ToQString(rt::NumText(ms::Scene.VertexCountD)));
    EXPECT_FALSE(w.cmdReturn->isHidden());
    if (c.tooBig == 0) {
      Graph.ShowAxes = 0;  // nothing else is painted over the curves
      w.GenerateData();
      EXPECT_EQ(ms::Scene.SegmentCountD, 80);
    }
    for (int i = 0; i < ms::Scene.SegmentCount; ++i) {
      const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
      ASSERT_NE(r[ms::kSegKind], ms::kSegStructure) << i;
      if (c.tooBig != 0) continue;  // nothing was drawn
      const int32_t colour = draw::PackRgb(int(r[ms::kRed]), int(r[ms::kGreen]), int(r[ms::kBlue]));
      const ms::Point3& p = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kStartPoint])];
      const ms::Point3& q = ms::Scene.ViewXYZ[static_cast<int>(r[ms::kEndPoint])];
      EXPECT_TRUE(
          ColourNear(w.Display(), (p[0] + q[0]) / 2, (p[1] + q[1]) / 2, draw::ToArgb(colour), 2))
          << i;
    }
    w.cmdReturn_Click();
    EXPECT_EQ(GraphWindow(), nullptr);
    EXPECT_TRUE(Sheet().isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace gr::testing
