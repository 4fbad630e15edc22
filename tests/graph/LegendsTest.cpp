// The legends: the boxed axis-label legend (and its refusal without X and Y labels), and the
// select values of a worksheet's '@text@id,text2 comments with the constants' values.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "OverlayTestSupport.h"

namespace gr::testing {
namespace {

class LegendsTest : public OverlayTest {};

// On a fine target the legend's lines stand at its corner and its grey box 25 units off their
// extent on every side, as high as the X and Y (and Z) lines.
TEST_F(LegendsTest, TheLabelLegendIsBoxedAroundItsLines) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  d.strLegendX->setText(QStringLiteral("t"));
  d.strLegendY->setText(QStringLiteral("amplitude"));
  Graph.ShowLegend = -1;
  OverlayState.LegendX = 500;
  OverlayState.LegendY = 1000;
  for (const char* z : {"z", ""}) {
    SCOPED_TRACE(z);
    d.strLegendZ->setText(QLatin1String(z));
    draw::DrawTarget fine(1150, 1500);  // 2.5 units a pixel
    fine.SetScale(0, 0, 2875, 3750);
    PrintRecorder r;
    d.PlaceLegend(fine);
    EXPECT_EQ(r.Joined(), *z != 0 ? u"t|amplitude|z" : u"t|amplitude");
    EXPECT_TRUE(ui_.boxes.empty());
    const QFont restored = fine.Font;
    fine.Font = d.strLegendX->font();
    const double width = rt::RoundHalfEven(fine.TextWidth(QStringLiteral("amplitude")));
    const double height = (*z != 0 ? 3 : 2) * fine.TextHeight(QStringLiteral("t"));
    const QImage& img = fine.Image();
    auto grey = [&img](int x, int y) {
      return img.valid(x, y) && (img.pixel(x, y) & 0xFFFFFFu) == 0x404040u;
    };
    QRect box;  // only the box's sides: long runs of grey, not glyph edges
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        if (grey(x, y) && (grey(x + 20, y) || grey(x, y + 20))) box |= QRect(x, y, 1, 1);
      }
    }
    EXPECT_NEAR(box.left(), fine.ToDevice(500 - 25, 0).x(), 1.5);
    EXPECT_NEAR(box.right(), fine.ToDevice(500 + width + 25, 0).x(), 1.5);
    EXPECT_NEAR(box.top(), fine.ToDevice(0, 1000 - 25).y(), 1.5);
    EXPECT_NEAR(box.bottom(), fine.ToDevice(0, 1000 + height + 25).y(), 1.5);
  }
}

TEST_F(LegendsTest, ALegendWithoutXOrYLabelAsksForThemAndSwitchesOff) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  const std::pair<const char*, const char*> cases[] = {{"time", ""}, {"", "height"}, {"", ""}};
  for (const auto& [x, y] : cases) {
    SCOPED_TRACE(std::string(x) + "/" + y);
    ui_.Reset();
    d.strLegendX->setText(QLatin1String(x));
    d.strLegendY->setText(QLatin1String(y));
    d.strLegendZ->setText(QStringLiteral("depth"));
    PrintRecorder r;
    d.ckLegend->setChecked(true);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"X- & Y- labels required. Z-label optional.");
    EXPECT_EQ(ui_.boxes[0].title, u"Labels?");
    EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
    EXPECT_FALSE(d.ckLegend->isChecked());
    EXPECT_EQ(Graph.ShowLegend, 0);
    EXPECT_TRUE(r.log.empty());
  }
  // Switched on without its box, it asks once and is off.
  ui_.Reset();
  Graph.ShowLegend = -1;
  w.updateplot();
  w.updateplot();
  EXPECT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(Graph.ShowLegend, 0);
}

TEST_F(LegendsTest, SelectValuesComeFromTheWorksheetsComments) {
  ws::frmCalcInput& sheet = Sheet();
  sheet.TypeWorksheetText(QStringLiteral(
      "v = 12.5 '@Speed = @v, m/s!\r\nk = 3 '@Count: @k\r\nF{x} = x^2 '@Plain text!@Q\r\n"
      "'@Twice marked!!@k,!!\r\n"));
  sheet.cmdCompute_click();
  frmGraph& w = LoadEmpty();
  ASSERT_TRUE(ui_.boxes.empty());
  ASSERT_EQ(ms::Tables.SelectValueCount, 4);
  frmSetDisplay& d = Options();
  OverlayState.ValTextX = 900;
  OverlayState.ValTextY = 7000;
  PrintRecorder r;
  d.CkVal->setChecked(true);
  EXPECT_EQ(ms::Tables.ShowValLegend, -1);
  // The select values at the display precision, smaller when one names a constant.
  EXPECT_EQ(r.Joined(), u"Speed =  12.5 m/s|Count:  3|Plain text|Twice marked! 3!");
  for (const PrintedText& p : r.log)
    EXPECT_EQ(std::make_pair(p.x, p.pointSize), std::make_pair(900.0, 10.0));
  // Each drawing takes one more final "!" off the store.
  w.updateplot();
  EXPECT_EQ(ms::Tables.SelectValueText[4], u"Twice marked");
  EXPECT_EQ(ms::Tables.SelectValueText2[4], u"");
  EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), sheet.Text1->font().pointSizeF());
  // Unchecked, neither the value lines nor the select values are drawn.
  d.CkVal->setChecked(false);
  EXPECT_EQ(ms::Tables.ShowValLegend, 0);
  EXPECT_EQ(DarkPixels(w.Display(), 800, 6900, 3000, 1500), 0);

  // Without a constant the worksheet's font size; a count beyond the store is held to ten.
  ms::Tables.SelectValueId[1] = u"q";
  for (int k = 1; k <= ms::kMaxSelectValues; ++k) {
    ms::Tables.SelectValueText[static_cast<size_t>(k)] = u"entry " + rt::IntText(k);
    ms::Tables.SelectValueId[static_cast<size_t>(k)] = u"q";
  }
  ms::Tables.SelectValueCount = 30000;
  ms::Tables.ShowValLegend = -1;
  r.log.clear();
  d.PlaceLegendText(w.Display());
  ASSERT_EQ(r.log.size(), static_cast<size_t>(ms::kMaxSelectValues));
  EXPECT_EQ(r.log.back().text, u"entry 10");
  EXPECT_DOUBLE_EQ(r.log[0].pointSize, sheet.Text1->font().pointSizeF());
}

}  // namespace
}  // namespace gr::testing
