// The legends: the boxed axis-label legend (and its refusal without X and Y labels), the select
// values of a worksheet's '@text@id,text2 comments with the constants' values, and the contour
// levels drawn in their colours.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "OverlayTestSupport.h"
#include "plotting/FormatSignificant.h"

namespace gr::testing {
namespace {

class LegendsTest : public OverlayTest {
 protected:
  // Executes the worksheet in the worksheet window, then loads the graph window with nothing to
  // build.
  frmGraph& RunAndLoad(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    return LoadEmpty();
  }
};

// Rows (device pixels) that hold the legend box's grey inside the column of the legend.
std::pair<int, int> GreyRows(const draw::DrawTarget& t, double left, double right) {
  const QImage& img = t.Image();
  const int x0 = std::max(0, static_cast<int>(t.ToDevice(left, 0).x()));
  const int x1 = std::min(img.width(), static_cast<int>(t.ToDevice(right, 0).x()));
  int first = -1, last = -1;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = x0; x < x1; ++x) {
      if ((img.pixel(x, y) & 0xFFFFFFu) == 0x404040u) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

TEST_F(LegendsTest, TheLabelLegendIsBoxedAroundItsLines) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  OverlayState.LegendX = 3000;
  OverlayState.LegendY = 6000;
  struct Case {
    const char* name;
    const char* z;
    int boxedLines;  // lines the box is as high as
  };
  const Case cases[] = {{"with a Z label", "depth", 3}, {"without a Z label", "", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d.strLegendX->setText(QStringLiteral("time"));
    d.strLegendY->setText(QStringLiteral("height"));
    d.strLegendZ->setText(QString::fromLatin1(c.z));
    PrintRecorder r;
    d.ckLegend->setChecked(true);
    // The three lines, the Z line printed also when empty (it only moves down a line).
    std::vector<rt::Text> expected = {u"time", u"height"};
    if (*c.z != 0) expected.push_back(u"depth");
    EXPECT_EQ(r.Texts(), expected);
    for (const PrintedText& p : r.Log()) EXPECT_DOUBLE_EQ(p.x, 3000);
    EXPECT_TRUE(ui_.boxes.empty());

    // The box: 25 units around the lines, its height that of the X and Y (and Z) lines. The
    // legend's font is the label boxes' font.
    draw::DrawTarget& t = w.Display();
    const QFont restored = t.Font;
    t.Font = d.strLegendX->font();
    const double line = t.TextHeight(QStringLiteral("time"));
    t.Font = restored;
    // Looked for left of the lines, where the box's left side runs and no text is.
    const auto [top, bottom] = GreyRows(t, 2940, 2995);
    ASSERT_GE(top, 0);
    EXPECT_NEAR(top, t.ToDevice(0, 6000 - 25).y(), 1.5);
    EXPECT_NEAR(bottom, t.ToDevice(0, 6000 + c.boxedLines * line + 25).y(), 1.5);
    // The picture returns to its own font.
    EXPECT_EQ(t.Font, restored);
    d.ckLegend->setChecked(false);
    const auto none = GreyRows(t, 2940, 2995);
    EXPECT_EQ(none.first, -1);
  }
}

// On a finer target the box's four sides stand 25 units off the lines' extent.
TEST_F(LegendsTest, TheBoxKeepsItsMarginOnEverySide) {
  LoadEmpty();
  frmSetDisplay& d = Options();
  d.strLegendX->setText(QStringLiteral("t"));
  d.strLegendY->setText(QStringLiteral("amplitude"));
  d.strLegendZ->setText(QStringLiteral("z"));
  Graph.ShowLegend = -1;
  OverlayState.LegendX = 500;
  OverlayState.LegendY = 1000;
  draw::DrawTarget fine(1150, 1500);  // 2.5 units a pixel
  fine.SetScale(0, 0, 2875, 3750);
  d.PlaceLegend(fine);
  fine.Font = d.strLegendX->font();
  const double width = rt::RoundHalfEven(fine.TextWidth(QStringLiteral("amplitude")));
  const double height = 3 * fine.TextHeight(QStringLiteral("t"));
  const QImage& img = fine.Image();
  int left = img.width(), right = -1, top = img.height(), bottom = -1;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if ((img.pixel(x, y) & 0xFFFFFFu) != 0x404040u) continue;
      // Only the box's sides: long runs of grey, not glyph edges.
      const bool row = x + 20 < img.width() && (img.pixel(x + 20, y) & 0xFFFFFFu) == 0x404040u;
      const bool column = y + 20 < img.height() && (img.pixel(x, y + 20) & 0xFFFFFFu) == 0x404040u;
      if (!row && !column) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_NEAR(left, fine.ToDevice(500 - 25, 0).x(), 1.5);
  EXPECT_NEAR(right, fine.ToDevice(500 + width + 25, 0).x(), 1.5);
  EXPECT_NEAR(top, fine.ToDevice(0, 1000 - 25).y(), 1.5);
  EXPECT_NEAR(bottom, fine.ToDevice(0, 1000 + height + 25).y(), 1.5);
}

TEST_F(LegendsTest, ALegendWithoutXOrYLabelAsksForThemAndSwitchesOff) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  struct Case {
    const char* name;
    const char* x;
    const char* y;
  };
  const Case cases[] = {{"no Y", "time", ""}, {"no X", "", "height"}, {"neither", "", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    d.strLegendX->setText(QString::fromLatin1(c.x));
    d.strLegendY->setText(QString::fromLatin1(c.y));
    d.strLegendZ->setText(QStringLiteral("depth"));
    PrintRecorder r;
    d.ckLegend->setChecked(true);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, u"X- & Y- labels required. Z-label optional.");
    EXPECT_EQ(ui_.boxes[0].title, u"Labels?");
    EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
    EXPECT_FALSE(d.ckLegend->isChecked());
    EXPECT_EQ(Graph.ShowLegend, 0);
    EXPECT_TRUE(r.Log().empty());
    EXPECT_EQ(GreyRows(w.Display(), 0, kDisplayWidthTwips).first, -1);
  }
  // Switched on without its box (as after the box was cleared elsewhere), it asks once and is off.
  ui_.Reset();
  Graph.ShowLegend = -1;
  w.updateplot();
  EXPECT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(Graph.ShowLegend, 0);
  w.updateplot();
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

TEST_F(LegendsTest, SelectValuesComeFromTheWorksheetsComments) {
  frmGraph& w = RunAndLoad(
      "v = 12.5 '@Speed = @v, m/s!\r\n"
      "k = 3 '@Count: @k\r\n"
      "F{x} = x^2 '@Plain text!@Q\r\n"
      "'@Twice marked!!@k,!!\r\n");
  ASSERT_TRUE(ui_.boxes.empty());
  ASSERT_EQ(ms::Tables.SelectValueCount, 4);
  frmSetDisplay& d = Options();
  OverlayState.ValTextX = 900;
  OverlayState.ValTextY = 7000;
  const double sheetSize = Sheet().Text1->font().pointSizeF();

  PrintRecorder r;
  d.CkVal->setChecked(true);
  EXPECT_EQ(ms::Tables.ShowValLegend, -1);
  // The value lines are there too (F), then the select values at the display precision.
  std::vector<rt::Text> select;
  for (const PrintedText& p : r.Log()) {
    if (p.text.find(u"{x}") == rt::Text::npos) select.push_back(p.text);
  }
  const std::vector<rt::Text> expected = {u"Speed =  12.5 m/s", u"Count:  3", u"Plain text",
                                          u"Twice marked! 3!"};
  EXPECT_EQ(select, expected);
  for (const PrintedText& p : r.Log()) {
    SCOPED_TRACE(rt::ToUtf8(p.text));
    EXPECT_DOUBLE_EQ(p.x, 900);
    if (p.text.find(u"{x}") == rt::Text::npos) EXPECT_DOUBLE_EQ(p.pointSize, 10);
  }
  // Each drawing takes one more final "!" off the store.
  EXPECT_EQ(ms::Tables.SelectValueText[4], u"Twice marked!");
  EXPECT_EQ(ms::Tables.SelectValueText2[4], u"!");
  r.Clear();
  w.updateplot();
  EXPECT_EQ(ms::Tables.SelectValueText[4], u"Twice marked");
  EXPECT_EQ(ms::Tables.SelectValueText2[4], u"");
  // The picture returns to the worksheet's font size.
  EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), sheetSize);

  // The display precision decides the digits.
  ms::Settings.DisplayDigits = 6;
  ms::Tables.SelectValueCount = 1;
  ms::Tables.ConstTable[1].ValueText = u"(3.14159265)";
  ms::Tables.SelectValueId[1] = ms::Tables.ConstTable[1].Name;
  r.Clear();
  d.PlaceLegendText(w.Display());
  ASSERT_EQ(r.Log().size(), 1u);
  EXPECT_EQ(r.Log()[0].text, u"Speed = " + ms::FormatSignificant(3.14159265, 6) + u" m/s");
  EXPECT_EQ(r.Log()[0].text, u"Speed =  3.14159 m/s");

  // Unchecked, neither the value lines nor the select values are drawn.
  d.CkVal->setChecked(false);
  EXPECT_EQ(ms::Tables.ShowValLegend, 0);
  EXPECT_EQ(Graph.ShowValText, 0);
  EXPECT_EQ(DarkPixels(w.Display(), 800, 6900, 3000, 1500), 0);
}

TEST_F(LegendsTest, SelectValuesWithoutConstantsKeepTheWorksheetFontSize) {
  frmGraph& w = RunAndLoad("'@Only words@q\r\nF{x} = x\r\n");
  ASSERT_EQ(ms::Tables.SelectValueCount, 1);
  const double sheetSize = Sheet().Text1->font().pointSizeF();
  PrintRecorder r;
  ms::Tables.ShowValLegend = -1;
  Options().PlaceLegendText(w.Display());
  ASSERT_EQ(r.Log().size(), 1u);
  EXPECT_EQ(r.Log()[0].text, u"Only words");
  EXPECT_DOUBLE_EQ(r.Log()[0].pointSize, sheetSize);
  // A count beyond the store is held to its ten entries.
  for (int k = 2; k <= ms::kMaxSelectValues; ++k) {
    ms::Tables.SelectValueText[static_cast<size_t>(k)] = u"entry " + rt::IntText(k);
  }
  ms::Tables.SelectValueCount = 30000;
  r.Clear();
  Options().PlaceLegendText(w.Display());
  ASSERT_EQ(r.Log().size(), static_cast<size_t>(ms::kMaxSelectValues));
  EXPECT_EQ(r.Log().back().text, u"entry 10");
}

TEST_F(LegendsTest, ContourLevelsAreDrawnInTheirColours) {
  frmGraph& w = LoadEmpty();
  ms::Requests.ContourRequested = -1;
  ms::Contours.ContourLegendCount = 3;
  const std::array<std::pair<double, int32_t>, 3> levels = {
      {{-1, rt::RGB(0, 0, 255)}, {0, rt::RGB(0, 160, 0)}, {1, rt::RGB(255, 0, 0)}}};
  for (size_t i = 0; i < levels.size(); ++i) {
    ms::ContourLegendEntry& e = ms::Contours.ContourLegend[i + 1];
    e.Level = levels[i].first;
    int r = 0, g = 0, b = 0;
    rt::SplitRGB(levels[i].second, r, g, b);
    e.Red = static_cast<int16_t>(r);
    e.Green = static_cast<int16_t>(g);
    e.Blue = static_cast<int16_t>(b);
  }
  OverlayState.DataTextX = 1000;
  OverlayState.DataTextY = 2000;
  PrintRecorder r;
  Options().ckData->setChecked(true);
  ASSERT_EQ(r.Log().size(), 4u);
  EXPECT_EQ(r.Texts(), (std::vector<rt::Text>{u"Level", u" -1", u"  0", u"  1"}));
  // Each level's line shows its colour and no other level's.
  for (size_t i = 0; i < levels.size(); ++i) {
    SCOPED_TRACE(levels[i].first);
    const PrintedText& p = r.Log()[i + 1];
    const double height = r.Log()[1].y - r.Log()[0].y;
    for (size_t j = 0; j < levels.size(); ++j) {
      const int n = PixelsOfColour(w.Display(), p.x, p.y, 1500, height, levels[j].second);
      if (i == j) {
        EXPECT_GT(n, 3);
      } else {
        EXPECT_EQ(n, 0);
      }
    }
  }
  // The heading is black.
  EXPECT_GT(DarkPixels(w.Display(), 1000, 2000, 1500, r.Log()[1].y - 2000), 5);
}

}  // namespace
}  // namespace gr::testing
