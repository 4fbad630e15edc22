// The overlay painters draw what they are given: a title centred on the viewport or at its block,
// the legend's labels or the box that asks for them, the dot-spacing line of the time block. No
// window is loaded for them.
#include "GraphTestSupport.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/GraphOverlays.h"

namespace gr::testing {
namespace {

class OverlayPaintTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetOverlayState();
    SetPrintLog(&log_);
  }
  void TearDown() override {
    SetPrintLog(nullptr);
    EXPECT_EQ(DisplaySettingsDialog::Instance(), nullptr);  // no painter loaded the window
    EXPECT_EQ(GraphWindow::Instance(), nullptr);
    GraphTest::TearDown();
  }
  draw::DrawTarget target_{kDisplayWidthTwips / kTwipsPerPixel,
                           kDisplayHeightTwips / kTwipsPerPixel};
  std::vector<PrintedText> log_;
};

// A centred title stands half the viewport less half its width from the left; otherwise at its
// block. Either way at the block's height, in its own font.
TEST_F(OverlayPaintTest, TheTitleStandsWhereItsChoicesPutIt) {
  target_.SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  OverlayState.TitleX = 1234;
  OverlayState.TitleY = 2000;
  struct Case {
    bool centred;
    double viewport, width, x;
  };
  const Case cases[] = {
      {true, 9000, 3000, 3000}, {true, 8400, 9000, -300}, {false, 9000, 3000, 1234}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.centred << " " << c.viewport << " " << c.width);
    OverlayContent content;
    content.title = u"F(x) = x^2";
    content.titleFont.setPointSizeF(20);
    content.centreTitle = c.centred;
    content.viewportWidth = c.viewport;
    content.titleWidth = c.width;
    log_.clear();
    PlaceTitleText(target_, content);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].text, content.title);
    EXPECT_DOUBLE_EQ(log_[0].x, c.x);
    EXPECT_DOUBLE_EQ(log_[0].y, 2000);
    EXPECT_DOUBLE_EQ(log_[0].pointSize, 20);
  }
}

// The legend needs its X- and Y-labels: without either a box asks for them and the legend is
// switched off (through the hook when there is one); with them the labels stand one under the
// other at the legend's block.
TEST_F(OverlayPaintTest, TheLegendPrintsItsLabelsOrAsksForThem) {
  target_.SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  OverlayState.LegendX = 500;
  OverlayState.LegendY = 700;
  struct Case {
    const char16_t *x, *y, *z;
    bool hook;
    size_t printed;
  };
  const Case cases[] = {{u"", u"y", u"", true, 0},
                        {u"x", u"", u"z", false, 0},
                        {u"time", u"height", u"", true, 3},
                        {u"x", u"y", u"z", false, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.printed << c.hook);
    OverlayContent content;
    content.legendX = c.x;
    content.legendY = c.y;
    content.legendZ = c.z;
    int missing = 0;
    if (c.hook) content.labelsMissing = [&missing] { ++missing; };
    Graph.ShowLegend = -1;
    ui_.boxes.clear();
    log_.clear();
    PlaceLegend(target_, content);
    const bool asked = c.printed == 0;
    EXPECT_EQ(ui_.boxes.size(), asked ? 1u : 0u);
    EXPECT_EQ(missing, asked && c.hook ? 1 : 0);
    EXPECT_EQ(Graph.ShowLegend, asked && !c.hook ? 0 : -1);
    // PrintLine logs non-empty texts only: an empty Z-label leaves no record.
    const size_t labels = asked ? 0 : (rt::Text(c.z).empty() ? 2 : 3);
    ASSERT_EQ(log_.size(), labels);
    for (size_t i = 0; i < labels; ++i) {
      EXPECT_DOUBLE_EQ(log_[i].x, 500);
      if (i > 0) {
        EXPECT_GT(log_[i].y, log_[i - 1].y);
      }
    }
  }
}

// With a dot spacing chosen the time block ends with the spacing; without, it does not.
TEST_F(OverlayPaintTest, TheTimeBlockShowsTheDotSpacingWhenOneIsChosen) {
  target_.SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  ms::CurveWork.DotSpacing = 20;
  for (const bool shown : {false, true}) {
    SCOPED_TRACE(shown);
    OverlayContent content;
    content.dotSpacingShown = shown;
    log_.clear();
    PlaceTimeText(target_, content);
    ASSERT_FALSE(log_.empty());
    const bool last = log_.back().text.find(u"Circles") != rt::Text::npos;
    EXPECT_EQ(last, shown);
    if (shown) {
      EXPECT_NE(log_.back().text.find(u"20"), rt::Text::npos);
    }
  }
}

}  // namespace
}  // namespace gr::testing
