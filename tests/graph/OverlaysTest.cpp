// The text overlays: the bracket conversion, the line stores, the value lines, the tab layout of
// a listed worksheet line, and what each block prints (texts, places, colours, sizes) for each
// plot state, on the picture and on a painter target standing in for the printer.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <functional>

#include "OverlayTestSupport.h"
#include "graph/frmFamilyPlots.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"

namespace gr::testing {
namespace {

// --- Text work ---------------------------------------------------------------------------------

TEST(OverlayTextTest, BracketConversionLineStoresMarkedLinesAndTabStops) {
  const std::pair<int, const char16_t*> options[] = {
      {kFormatBraces, u"a(b)[c]"}, {kFormatBracesBrackets, u"a(b)(c)"}, {7, u"a{b}[c]"}};
  for (const auto& [option, expected] : options) {
    EXPECT_EQ(ConvertByFormat(u"a{b}[c]", option), expected) << option;
  }
  // A last line without its line end counts; the store holds 100 lines and cuts off the rest.
  std::array<rt::Text, kMaxListingLines + 1> lines;
  ASSERT_EQ(SplitLines(u"a\r\nlast", lines), 2);
  EXPECT_EQ(lines[2], u"last");
  rt::Text many;
  for (int i = 1; i <= 150; ++i) many += rt::IntText(i) + u"\r\n";
  EXPECT_EQ(SplitLines(many + u"tail", lines), kMaxListingLines);
  EXPECT_EQ(lines[kMaxListingLines], u"100");

  const std::pair<const char16_t*, const char16_t*> marked[] = {
      {u"b = 2!", u"b = 2"}, {u"c = 3 ' kept", u"c = 3 ' kept"}, {u"d ' two ' quotes!", u"d "}};
  for (const auto& [line, expected] : marked) {
    rt::Text s = line;
    ShortenMarkedLine(s);
    EXPECT_EQ(s, expected) << rt::ToUtf8(line);
  }
  // Characters 100 units wide from the left edge 500: where the last one stands.
  const std::pair<const char16_t*, double> tabs[] = {
      {u"ab", 620}, {u"abc\td", 1410}, {u"abcdefghij\tk", 2310}, {u"a\t\tb", 2310}};
  for (const auto& [line, x] : tabs) {
    const auto layout = LayoutListingLine(line, 500, 0, 1, [](char16_t) { return 100.0; });
    EXPECT_DOUBLE_EQ(layout.back().x, x) << rt::ToUtf8(line);
  }
}

// --- What the blocks print ---------------------------------------------------------------------

class OverlayPrintTest : public OverlayTest {};

TEST_F(OverlayPrintTest, ValueLinesListBrokenLineFunctionsExceptComponents) {
  frmGraph& w = LoadEmpty();
  AddValueFunction(1, u"F_", u"x", 2.5);
  AddValueFunction(2, u"X1", u"t", 9);  // a vector's component
  AddValueFunction(3, u"H2", u"x", 9);  // a second character that is a digit
  AddValueFunction(4, u"K_", u"x", 9);
  ms::Tables.FuncTable[4].LineBreak = 0;
  AddValueFunction(5, u"Gt", u"s", 3.14159265);
  const std::pair<int16_t, const char16_t*> digits[] = {
      {4, u"F{x} =  2.5\r\nGt{s} =  3.142\r\n"}, {6, u"F{x} =  2.5\r\nGt{s} =  3.14159\r\n"}};
  for (const auto& [d, expected] : digits) {
    SCOPED_TRACE(d);
    ms::Settings.DisplayDigits = d;
    EXPECT_EQ(GetValFunctions(), expected);
  }
  OverlayState.ValTextX = 800;
  PrintRecorder r;
  Options().placeValText(w.Display());
  EXPECT_EQ(r.Joined(), u"F{x} =  2.5|Gt{s} =  3.14159");
  for (const PrintedText& p : r.log)
    EXPECT_EQ(std::make_pair(p.x, p.color), std::make_pair(800., 0));
  // A count beyond the table is not followed past its end.
  ms::Tables.FuncCount = 32000;
  EXPECT_NO_FATAL_FAILURE(GetValFunctions());
}

TEST_F(OverlayPrintTest, DataScalesListGridUnitsAndThePlottedVectorsWithNames) {
  frmGraph& w = LoadEmpty();
  OverlayState.DataTextX = 700;
  OverlayState.DataTextY = 900;
  ms::Scene.GridUnitX = 0.5;
  ms::Scene.GridUnitY = 2;
  ms::Scene.GridUnitZ = 12345;
  const rt::Text scales = u"X Grid-Units:  .5|Y Grid-Units:  2|Z Grid-Units:  1.23E4";
  ms::PlotRequest.PlotVectorList[1] = u"A_";
  ms::PlotRequest.PlotVectorList[3] = u"Bc";  // the empty name 2 is skipped
  for (const int16_t count : {0, 3}) {
    SCOPED_TRACE(count);
    ms::PlotRequest.PlotVectorCount = count;
    PrintRecorder r;
    Options().placeText(w.Display());
    EXPECT_EQ(r.Joined(), scales + (count == 0 ? u"" : u"| | Vector Plots|         A|         Bc"));
    for (size_t i = 0; i < r.log.size(); ++i) {
      const size_t plot = i == 5 ? 1 : i == 6 ? 3 : 0;
      EXPECT_EQ(r.log[i].color, plot == 0 ? 0 : ms::Settings.PlotColorUsed[plot]) << i;
      EXPECT_DOUBLE_EQ(r.log[i].x, 700);
      EXPECT_DOUBLE_EQ(r.log[i].y, 900 + static_cast<double>(i) * (r.log[1].y - 900));
    }
  }
}

TEST_F(OverlayPrintTest, TheContourLegendStandsInColumnsOfTenLevelsInTheirColours) {
  frmGraph& w = LoadEmpty();
  OverlayState.DataTextX = 100;
  OverlayState.DataTextY = 200;
  ms::Requests.Contour1Requested = -1;
  auto& legend = ms::Contours.ContourLegend;
  for (int i = 1; i <= 60; ++i) {
    legend[static_cast<size_t>(i)] = {i - 13.0, static_cast<int16_t>(4 * i), 0,
                                      static_cast<int16_t>(255 - 4 * i)};
  }
  legend[2] = {0, 0, 160, 0};  // green: exactly 0 stands after two blanks
  const std::pair<int16_t, size_t> cases[] = {{0, 1}, {11, 2}, {50, 5}, {51, 0}, {-3, 1}};
  for (const auto& [levels, columns] : cases) {
    SCOPED_TRACE(levels);
    ms::Contours.ContourLegendCount = levels;
    PrintRecorder r;
    Options().placeText(w.Display());
    ASSERT_EQ(r.log.size(),
              columns == 0 ? 0 : static_cast<size_t>(std::max<int>(levels, 0)) + columns);
    size_t level = 0;
    for (const PrintedText& p : r.log) {
      const bool head = p.text == u"Level";
      level += head ? 0 : 1;
      const ms::ContourLegendEntry& e = legend[level];
      EXPECT_DOUBLE_EQ(p.x, 100 + 1000.0 * static_cast<double>((level - (head ? 0 : 1)) / 10));
      EXPECT_EQ(p.color, head ? 0 : rt::RGB(e.Red, e.Green, e.Blue));
      EXPECT_TRUE(!head || p.y == 200) << p.y;
    }
    if (levels == 11) {
      EXPECT_EQ(r.Joined().substr(0, 20), u"Level| -12|  0| -10|");
    }
  }
  // The levels are drawn in their colours.
  ms::Contours.ContourLegendCount = 3;
  Options().ckData->setChecked(true);
  for (size_t i = 1; i <= 3; ++i) {
    const ms::ContourLegendEntry& e = legend[i];
    const double line = 200 + static_cast<double>(i) * w.Display().TextHeight(QStringLiteral("0"));
    EXPECT_GT(CountPixels(w.Display(), 100, line, 1500, 200, rt::RGB(e.Red, e.Green, e.Blue)), 3)
        << i;
  }
}

TEST_F(OverlayPrintTest, TheTimeBlockShowsWhatThePlotStateAsksFor) {
  frmGraph& w = LoadEmpty();
  OverlayState.TimeTextX = 2000;
  OverlayState.TimeTextY = 300;
  ms::OdeResults.InitialSlope = 1.5;
  Family.FamilyConstID = u"a";
  Family.FamilyCount = 2;
  Family.FamilyValues = {1, 1.5};
  ms::PlotRequest.PlotTMin = -2;
  ms::PlotRequest.PlotTMax = 5;
  ms::PlotRequest.PlotDt = 0.5;
  ms::View.ElevationAngle = 30 * 3.1415926536 / 180;
  ms::View.RotationAngle = -120 * 3.1415926536 / 180;
  ms::CurveWork.DotSpacing = 20;
  constexpr double kCol = 3000, kAngles = 3700, kLeft = 2000;
  ms::CommandRequestState& q = ms::Requests;
  struct Case {
    const char* name;
    int16_t* on;        // the state's flag, set on
    double slopeCount;  // the trial slope store's count
    bool plain, dots;   // scan colour "No" and no colour coding; dot spacing chosen
    const char16_t* lines;
    double x, lastX;
    bool curveColours;  // the lines after the first in the curve colours 1, 2, ...
    int16_t* on2 = nullptr;
  };
  int16_t* solved = &ms::OdeResults.BVPSolved;
  const Case cases[] = {
      {"one BVP slope", &q.BVPRequested, 0, false, false, u" X'(to)| 1.5", kCol, kCol, false},
      {"BVP trial slopes", solved, 3, false, false, u" X'(to)|-2| .25| 4", kCol, kCol, true},
      {"scan colour No", solved, 3, true, false, u" X'(to)|-2| .25| 4", kCol, kCol, false},
      {"a slope count beyond the store is cut at ten", solved, 25, true, false,
       u" X'(to)|-2| .25| 4|0|0|0|0|0|0|0", kCol, kCol, false},
      {"family", &Graph.FamilyMode, 0, false, false, u"Parameter: a| 1| 1.5", kCol, kCol, true},
      {"IVP: no step", &q.IVPRequested, 0, false, false, u"tmin: -2|tmax:  5", kLeft, kLeft, false},
      {"slope field", &q.SlopeFieldRequested, 0, false, false, u"tmin: -2|tmax:  5|dt =   .5",
       kLeft, kLeft, false, &ms::FieldGraph.SlopeFieldMode},
      {"other fields: view angles", &q.DirFieldRequested, 0, false, false,
       u"Elevation:  30|Rotation: -120", kAngles, kAngles, false},
      {"a plot with dot spacing", nullptr, 0, false, true,
       u"tmin: -2|tmax:  5|dt =   .5|Circles :  20 dt", kLeft, kAngles, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    q = ms::CommandRequestState{};
    ms::OdeResults.BVPSolved = ms::FieldGraph.SlopeFieldMode = Graph.FamilyMode = 0;
    for (int16_t* f : {c.on, c.on2}) {
      if (f != nullptr) *f = -1;
    }
    ms::Bvp.BVPTrialSlopes = {c.slopeCount, -2, 0.25, 4};
    w.mnuBVPno->setChecked(c.plain);
    ms::CurveWork.FamilyColorCode = c.plain ? 0 : -1;
    w.mnuDotNone->setChecked(!c.dots);
    w.Display().ForeColor = kOverlayBlack;  // the plain blocks print in the colour they find
    PrintRecorder r;
    Options().placeTimeText(w.Display());
    ASSERT_EQ(r.Joined(), c.lines);
    EXPECT_DOUBLE_EQ(r.log.front().x, c.x);
    EXPECT_DOUBLE_EQ(r.log.back().x, c.lastX);
    EXPECT_DOUBLE_EQ(r.log.front().y, 300);
    for (size_t i = 0; i < r.log.size(); ++i) {
      int16_t red = 0, green = 0, blue = 0;
      ms::GetCurveColor(static_cast<int16_t>(i), red, green, blue);
      EXPECT_EQ(r.log[i].color, c.curveColours && i > 0 ? rt::RGB(red, green, blue) : 0) << i;
    }
  }
  // A single BVP's block stores its slope as the one trial slope and marks the BVP solved.
  q = ms::CommandRequestState{};
  q.BVPRequested = -1;
  ms::Bvp.BVPTrialSlopes = {};
  Options().placeTimeText(w.Display());
  EXPECT_EQ(ms::OdeResults.BVPSolved, -1);
  EXPECT_EQ(ms::Bvp.BVPTrialSlopes[0], 1);
  EXPECT_EQ(ms::Bvp.BVPTrialSlopes[1], 1.5);
}

TEST_F(OverlayPrintTest, TheIntegralTableListsEveryStatementInSmallGreyFigures) {
  frmGraph& w = LoadEmpty();
  OverlayState.TimeTextX = 100;
  ms::Requests.IntegRequested = -1;
  ms::Requests.IntegStmtCount = 2;
  ms::PlotRequest.PlotSteps = 2;
  auto& t = ms::Solutions.SolutionTable;  // [row][column][statement]
  t[1][1][1] = 1e-12;                     // shown and stored as 0
  t[1][2][1] = 0.123456;
  t[2][1][1] = 0.5;
  t[2][2][1] = 2;
  t[1][1][2] = 1;
  t[1][2][2] = -7.25;
  t[2][1][2] = 2;
  t[2][2][2] = 1234.5;
  PrintRecorder r;
  Options().placeTimeText(w.Display());
  EXPECT_EQ(r.Joined(), u" x        Output| __      ______|0| .1235| .5| 2| 1|-7.25| 2| 1.234E3");
  ASSERT_EQ(r.log.size(), 10u);
  EXPECT_DOUBLE_EQ(r.log[0].y, r.log[1].y);  // the underline falls on the heading's line
  for (size_t i = 2; i < r.log.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(r.log[i].x, i % 2 == 0 ? 1100 : 1600);
    EXPECT_DOUBLE_EQ(r.log[i].y, r.log[i - i % 2].y);
    EXPECT_EQ(r.log[i].color, kIntegTableGrey);
    EXPECT_DOUBLE_EQ(r.log[i].pointSize, 8);
  }
  EXPECT_GT(r.log[4].y, r.log[2].y);
  EXPECT_EQ(t[1][1][1], 0.0);
  EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), 12);
  EXPECT_EQ(w.Display().ForeColor, 0);
  // More rows than the table holds are not read.
  ms::PlotRequest.PlotSteps = 30000;
  ms::Requests.IntegStmtCount = 1;
  PrintRecorder big;
  Options().placeTimeText(w.Display());
  EXPECT_EQ(big.log.size(), 2u + 2u * ms::kSolutionLastRow);
}

TEST_F(OverlayPrintTest, TheTitleTakesItsFormatAndPlaceAndTheWorksheetItsLayout) {
  ws::frmCalcInput& sheet = Sheet();
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  const QFont before = w.Display().Font;
  OverlayState.TitleX = 1200;
  OverlayState.TitleY = 4000;
  OverlayState.WkTextX = 300;
  OverlayState.WkTextY = 5000;
  sheet.TypeWorksheetText(QStringLiteral("a = 1 ' hidden note!\nF{x} = x^2 ' sq\n\nG[x]\tlast"));
  struct Case {
    QRadioButton* option;
    bool centre;
    const char16_t* title;
    std::vector<rt::Text> listing;
  };
  const Case cases[] = {
      {d.Option2, false, u"F(x) = G[x]", {u"a = 1 ", u"F(x) = x^2 ' sq", u"G[x]last"}},
      {d.Option3, true, u"F(x) = G(x)", {u"a = 1 ", u"F(x) = x^2 ' sq", u"G(x)last"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.centre);
    c.option->setChecked(true);
    d.ckCenter->setChecked(c.centre);
    d.strText->setText(QStringLiteral("F{x} = G[x]"));
    PrintRecorder r;
    d.placeTitleText(w.Display());
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].text, c.title);
    EXPECT_EQ(d.TitleText, c.title);  // the conversion stays in the box
    EXPECT_DOUBLE_EQ(r.log[0].y, 4000);
    EXPECT_DOUBLE_EQ(r.log[0].pointSize, 12);
    const double width =
        QFontMetricsF(d.font()).horizontalAdvance(QStringLiteral("F{x} = G[x]")) * kTwipsPerPixel;
    EXPECT_NEAR(r.log[0].x, c.centre ? (w.OutDisplay->width() * kTwipsPerPixel - width) / 2 : 1200,
                1e-9);
    EXPECT_EQ(w.Display().Font, before);  // the picture is back in its own font

    // The listing: characters grouped into lines by height, the comment green from its quote on.
    r.log.clear();
    d.placeWkText(w.Display());
    std::vector<rt::Text> lines;
    std::vector<double> ys;
    for (const PrintedText& p : r.log) {
      if (ys.empty() || p.y != ys.back()) {
        lines.emplace_back();
        ys.push_back(p.y);
      }
      lines.back() += p.text;
      const bool comment = lines.size() == 2 && lines.back().find(u'\'') != rt::Text::npos;
      EXPECT_EQ(p.color, comment ? kCommentGreen : kOverlayBlack);
    }
    EXPECT_EQ(lines, c.listing);
    ASSERT_EQ(ys.size(), 3u);
    EXPECT_NEAR(ys[2], 5000 + 3 * (ys[1] - 5000), 1e-6);  // the empty line keeps its place
    EXPECT_DOUBLE_EQ(r.log.front().x, 310);
    EXPECT_DOUBLE_EQ(r.log[r.log.size() - 4].x, 300 + 900 + 10);  // after the tab
  }
  // With no option selected "None" is selected and the text stays.
  for (QRadioButton* b : {d.Option1, d.Option2, d.Option3}) {
    b->setAutoExclusive(false);
    b->setChecked(false);
  }
  d.strText->setText(QStringLiteral("[a]"));
  d.placeTitleText(w.Display());
  EXPECT_TRUE(d.Option1->isChecked());
  EXPECT_EQ(d.TitleText, u"[a]");
  // No worksheet window: nothing listed.
  sheet_.reset();
  PrintRecorder r;
  d.placeWkText(w.Display());
  EXPECT_TRUE(r.log.empty());
}

// The same methods draw through a painter the caller keeps, as on paper; after a title the
// printer takes the picture's font again.
TEST_F(OverlayPrintTest, OverlaysDrawOnAPainterTargetAndNotOnThePicture) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  QImage page(800, 1000, QImage::Format_ARGB32_Premultiplied);
  page.fill(Qt::white);
  QPainter painter(&page);
  draw::DrawTarget printer(painter, page.width(), page.height());
  printer.SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  printer.Font = QFont(w.Display().Font.family(), 30);
  OverlayState.DataTextX = OverlayState.DataTextY = OverlayState.TitleX = 1000;
  OverlayState.TitleY = 8000;
  d.placeText(printer);
  d.strText->setText(QStringLiteral("Paper"));
  d.placeTitleText(printer);
  painter.end();
  for (const double y : {1000, 8000}) {
    SCOPED_TRACE(y);
    const QPoint at = printer.ToDevice(1000, y).toPoint();
    int dark = 0;
    for (int py = at.y(); py < at.y() + 40; ++py) {
      for (int px = at.x(); px < at.x() + 200; ++px) dark += qGray(page.pixel(px, py)) < 100;
    }
    EXPECT_GT(dark, 20);
  }
  EXPECT_EQ(DarkPixels(w.Display(), 0, 0, kDisplayWidthTwips, kDisplayHeightTwips), 0);
  EXPECT_EQ(printer.Font, w.Display().Font);
}

}  // namespace
}  // namespace gr::testing
