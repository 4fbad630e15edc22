// The text overlays: the bracket conversion, the line stores, the value lines, the tab layout of
// a listed worksheet line, and what each block prints (texts, places, colours, sizes) for each
// plot state, on the picture and on a painter target standing in for the printer.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <functional>
#include <map>

#include "OverlayTestSupport.h"
#include "graph/frmFamilyPlots.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"
#include "plotting/FormatSignificant.h"

namespace gr::testing {
namespace {

// --- Text work ---------------------------------------------------------------------------------

TEST(OverlayTextTest, TextToPrintConvertsBracesAndOnWishBrackets) {
  struct Case {
    const char16_t* text;
    bool flagA, flagB;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"F{x} = G[x]", true, false, u"F(x) = G[x]"},
      {u"F{x} = G[x]", false, true, u"F(x) = G(x)"},
      {u"F{x} = G[x]", true, true, u"F(x) = G(x)"},
      {u"F{x} = G[x]", false, false, u"F(x) = G[x]"},
      {u"<1, {2}, [3]>", false, true, u"<1, (2), (3)>"},
      {u"", false, true, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text));
    rt::Text out = u"left over";
    TextToPrint(c.text, c.flagA, c.flagB, out);
    EXPECT_EQ(out, c.expected);
  }
  const std::pair<int, const char16_t*> options[] = {
      {kFormatNone, u"a{b}[c]"},
      {kFormatBraces, u"a(b)[c]"},
      {kFormatBracesBrackets, u"a(b)(c)"},
      {0, u"a{b}[c]"},
      {7, u"a{b}[c]"},
  };
  for (const auto& [option, expected] : options) {
    SCOPED_TRACE(option);
    EXPECT_EQ(ConvertByFormat(u"a{b}[c]", option), expected);
  }
}

TEST(OverlayTextTest, SplitLinesEndsLinesAtCarriageReturns) {
  struct Case {
    const char* name;
    rt::Text text;
    std::vector<rt::Text> lines;
  };
  const Case cases[] = {
      {"two lines", u"a = 1\r\nb = 2\r\n", {u"a = 1", u"b = 2"}},
      {"empty line kept", u"a\r\n\r\nb\r\n", {u"a", u"", u"b"}},
      {"only a line end", u"\r\n", {u""}},
      {"nothing", u"", {}},
      // A last line without its line end is listed too, as Execute runs it.
      {"unterminated last line", u"a\r\nlast", {u"a", u"last"}},
      {"one unterminated line", u"x", {u"x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::array<rt::Text, kMaxListingLines + 1> lines;
    const int16_t n = SplitLines(c.text, lines);
    ASSERT_EQ(n, static_cast<int16_t>(c.lines.size()));
    for (int i = 0; i < n; ++i) EXPECT_EQ(lines[static_cast<size_t>(i + 1)], c.lines[i]);
  }
  // The store holds 100 lines; the rest is cut off.
  rt::Text many;
  for (int i = 1; i <= 150; ++i) many += rt::IntText(i) + u"\r\n";
  std::array<rt::Text, kMaxListingLines + 1> lines;
  EXPECT_EQ(SplitLines(many, lines), kMaxListingLines);
  EXPECT_EQ(lines[kMaxListingLines], u"100");
  many += u"tail";
  EXPECT_EQ(SplitLines(many, lines), kMaxListingLines);
}

TEST(OverlayTextTest, AMarkedLineLosesItsCommentAndMark) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"a = 1 ' note!", u"a = 1 "},
      {u"b = 2!", u"b = 2"},
      {u"c = 3 ' kept in full", u"c = 3 ' kept in full"},
      {u"d = 4 ' two ' quotes!", u"d = 4 "},
      {u"!", u""},
      {u"'!", u""},
      {u"", u""},
  };
  for (const auto& [line, expected] : cases) {
    SCOPED_TRACE(rt::ToUtf8(line));
    rt::Text s = line;
    ShortenMarkedLine(s);
    EXPECT_EQ(s, expected);
  }
}

class ValueLinesTest : public ::testing::Test {
 protected:
  void SetUp() override { ms::ResetProgramState(); }
  void TearDown() override { ms::ResetProgramState(); }
  void AddFunction(const char16_t* name, const char16_t* parm, double value, int16_t lineBreak) {
    const int k = ++ms::Tables.FuncCount;
    ms::FuncRec& f = ms::Tables.FuncTable[static_cast<size_t>(k)];
    f.Name = name;
    f.Parm1 = parm;
    f.Value = value;
    f.LineBreak = lineBreak;
  }
};

TEST_F(ValueLinesTest, EveryBrokenLineFunctionIsListedExceptComponents) {
  AddFunction(u"F_", u"x", 2.5, -1);
  AddFunction(u"Gh", u"t", -1.25, -1);
  AddFunction(u"X1", u"t", 9, -1);    // a vector's component
  AddFunction(u"Z9", u"t", 9, -1);    // a vector's component
  AddFunction(u"H2", u"x", 9, -1);    // a second character that is a digit
  AddFunction(u"K_", u"x", 9, 0);     // no line break: adds nothing
  AddFunction(u"Xa", u"s", 0.5, -1);  // X with a letter is an ordinary function
  EXPECT_EQ(GetValFunctions(), u"F{x} =  2.5\r\nGh{t} = -1.25\r\nXa{s} =  .5\r\n");

  // The display precision decides the digits.
  ms::Tables.FuncCount = 0;
  AddFunction(u"P_", u"x", 3.14159265, -1);
  const std::pair<int16_t, const char16_t*> digits[] = {{4, u"P{x} =  3.142\r\n"},
                                                        {6, u"P{x} =  3.14159\r\n"}};
  for (const auto& [d, expected] : digits) {
    SCOPED_TRACE(d);
    ms::Settings.DisplayDigits = d;
    EXPECT_EQ(GetValFunctions(), expected);
  }
  // A count beyond the table is not followed past its end.
  ms::Tables.FuncCount = 32000;
  EXPECT_NO_FATAL_FAILURE(GetValFunctions());
}

TEST(OverlayTextTest, ListedLinesKeepTheirGapsTabStopsAndCommentColour) {
  constexpr double kLeft = 500;
  constexpr double kWidth = 100;  // every character this wide
  auto widthOf = [](char16_t) { return kWidth; };
  struct Case {
    const char* name;
    const char16_t* line;
    std::vector<double> x;  // where each printed character stands, from kLeft
  };
  const Case cases[] = {
      {"plain", u"ab", {10, 120}},
      {"tab after three", u"abc\td", {10, 120, 230, 910}},
      {"tab after eight", u"abcdefgh\tk", {10, 120, 230, 340, 450, 560, 670, 780, 910}},
      {"tab after ten", u"abcdefghij\tk", {10, 120, 230, 340, 450, 560, 670, 780, 890, 1000, 1810}},
      {"two tabs", u"a\t\tb", {10, 1810}},
      {"tab first", u"\tz", {910}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto layout = LayoutListingLine(c.line, kLeft, 0, 1, widthOf);
    ASSERT_EQ(layout.size(), c.x.size());
    for (size_t i = 0; i < c.x.size(); ++i) EXPECT_DOUBLE_EQ(layout[i].x, kLeft + c.x[i]);
  }
  // Seventeen characters before a tab: two more stops than one.
  const auto long17 = LayoutListingLine(u"abcdefghijklmnopq\tz", 0, 0, 1, widthOf);
  EXPECT_DOUBLE_EQ(long17.back().x, 3 * 900 + 10);

  const auto colours = LayoutListingLine(u"x = 1 ' one", 0, 7, 9, widthOf);
  for (const ListedChar& g : colours) {
    SCOPED_TRACE(std::string(1, static_cast<char>(g.c)));
    const bool comment = &g >= &colours[6];
    EXPECT_EQ(g.color, comment ? 9 : 7);
  }
}

// --- What the blocks print ---------------------------------------------------------------------

class OverlayPrintTest : public OverlayTest {
 protected:
  // Texts as printed, with black checked for every one unless colours are asked for.
  static std::vector<int32_t> Colours(const PrintRecorder& r) {
    std::vector<int32_t> out;
    for (const PrintedText& p : r.Log()) out.push_back(p.color);
    return out;
  }
};

TEST_F(OverlayPrintTest, DataScalesListGridUnitsAndThePlottedVectors) {
  frmGraph& w = LoadEmpty();
  OverlayState.DataTextX = 700;
  OverlayState.DataTextY = 900;
  ms::Scene.GridUnitX = 0.5;
  ms::Scene.GridUnitY = 2;
  ms::Scene.GridUnitZ = 12345;
  struct Case {
    const char* name;
    int16_t count;
    std::vector<rt::Text> names;  // entries 1..6
    std::vector<rt::Text> shown;
    std::vector<int> plots;  // plot number of each shown name
  };
  const Case cases[] = {
      {"no vectors", 0, {u"A_"}, {}, {}},
      {"padded and two-letter names, an empty one skipped",
       3,
       {u"A_", u"", u"Bc"},
       {u"         A", u"         Bc"},
       {1, 3}},
      {"six curves",
       6,
       {u"A_", u"B_", u"C_", u"D_", u"E_", u"F_"},
       {u"         A", u"         B", u"         C", u"         D", u"         E", u"         F"},
       {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ms::PlotRequest.PlotVectorCount = c.count;
    for (int k = 1; k <= 6; ++k) {
      ms::PlotRequest.PlotVectorList[static_cast<size_t>(k)] =
          k <= static_cast<int>(c.names.size()) ? c.names[static_cast<size_t>(k - 1)] : u"";
    }
    PrintRecorder r;
    Options().placeText(w.Display());
    std::vector<rt::Text> expected = {u"X Grid-Units:  .5", u"Y Grid-Units:  2",
                                      u"Z Grid-Units:  1.23E4"};
    std::vector<int32_t> colours(3, 0);
    if (c.count != 0) {
      expected.push_back(u" ");
      expected.push_back(u" Vector Plots");
      colours.push_back(0);
      colours.push_back(0);
      for (size_t i = 0; i < c.shown.size(); ++i) {
        expected.push_back(c.shown[i]);
        colours.push_back(ms::Settings.PlotColorUsed[static_cast<size_t>(c.plots[i])]);
      }
    }
    EXPECT_EQ(r.Texts(), expected);
    EXPECT_EQ(Colours(r), colours);
    double lastY = -1;
    for (const PrintedText& p : r.Log()) {
      EXPECT_DOUBLE_EQ(p.x, 700);
      EXPECT_GT(p.y, lastY);
      lastY = p.y;
    }
    EXPECT_DOUBLE_EQ(r.Log().front().y, 900);
    EXPECT_EQ(w.Display().ForeColor, 0);
  }
}

TEST_F(OverlayPrintTest, TheContourLegendStandsInColumnsOfTenLevels) {
  frmGraph& w = LoadEmpty();
  OverlayState.DataTextX = 100;
  OverlayState.DataTextY = 200;
  ms::Requests.Contour1Requested = -1;
  for (int i = 1; i <= 60; ++i) {
    ms::ContourLegendEntry& e = ms::Contours.ContourLegend[static_cast<size_t>(i)];
    e.Level = i - 13;
    e.Red = static_cast<int16_t>(4 * i);
    e.Green = 0;
    e.Blue = static_cast<int16_t>(255 - 4 * i);
  }
  struct Case {
    int16_t levels;
    std::vector<int> columnSizes;
  };
  const Case cases[] = {{0, {0}},
                        {7, {7}},
                        {10, {10}},
                        {11, {10, 1}},
                        {25, {10, 10, 5}},
                        {40, {10, 10, 10, 10}},
                        {50, {10, 10, 10, 10, 10}},
                        {51, {}},
                        {-3, {0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.levels);
    ms::Contours.ContourLegendCount = c.levels;
    PrintRecorder r;
    Options().placeText(w.Display());
    size_t at = 0;
    int level = 1;
    for (size_t col = 0; col < c.columnSizes.size(); ++col) {
      ASSERT_LT(at, r.Log().size());
      const PrintedText& head = r.Log()[at++];
      EXPECT_EQ(head.text, u"Level");
      EXPECT_DOUBLE_EQ(head.x, 100 + 1000.0 * static_cast<double>(col));
      EXPECT_DOUBLE_EQ(head.y, 200);
      EXPECT_EQ(head.color, 0);
      for (int k = 0; k < c.columnSizes[col]; ++k, ++level) {
        ASSERT_LT(at, r.Log().size());
        const PrintedText& p = r.Log()[at++];
        const ms::ContourLegendEntry& e = ms::Contours.ContourLegend[static_cast<size_t>(level)];
        EXPECT_EQ(p.text, ContourLevelLine(e.Level));
        EXPECT_EQ(p.color, rt::RGB(e.Red, e.Green, e.Blue));
        EXPECT_DOUBLE_EQ(p.x, head.x);
      }
    }
    EXPECT_EQ(at, r.Log().size());
  }
  // A level of exactly 0 stands after two blanks, others after one.
  const std::pair<double, const char16_t*> lines[] = {
      {0, u"  0"}, {1, u"  1"}, {-1, u" -1"}, {2.5, u"  2.5"}, {-0.125, u" -.125"}};
  for (const auto& [level, text] : lines) {
    SCOPED_TRACE(level);
    EXPECT_EQ(ContourLevelLine(level), text);
  }
}

TEST_F(OverlayPrintTest, TheTimeBlockShowsWhatThePlotStateAsksFor) {
  frmGraph& w = LoadEmpty();
  OverlayState.TimeTextX = 2000;
  OverlayState.TimeTextY = 300;
  auto curve = [](int i) {
    int16_t r = 0, g = 0, b = 0;
    ms::GetCurveColor(static_cast<int16_t>(i), r, g, b);
    return rt::RGB(r, g, b);
  };
  struct Line {
    rt::Text text;
    double x;
    int32_t color;
  };
  struct Case {
    const char* name;
    std::function<void()> state;
    std::vector<Line> lines;
  };
  constexpr double kCol = 3000, kAngles = 3700, kLeft = 2000;
  const Case cases[] = {
      {"one BVP slope is the initial slope in black",
       [&w] {
         ms::Requests.BVPRequested = -1;
         ms::OdeResults.InitialSlope = 1.5;
         w.mnuBVPno->setChecked(false);
       },
       {{u" X'(to)", kCol, 0}, {u" 1.5", kCol, 0}}},
      {"BVP trial slopes in their curve colours",
       [&w] {
         ms::OdeResults.BVPSolved = -1;
         ms::Bvp.BVPTrialSlopes = {3, -2, 0.25, 4};
         w.mnuBVPno->setChecked(false);
       },
       {{u" X'(to)", kCol, 0},
        {u"-2", kCol, curve(1)},
        {u" .25", kCol, curve(2)},
        {u" 4", kCol, curve(3)}}},
      {"BVP trial slopes in black with scan colour No",
       [&w] {
         ms::OdeResults.BVPSolved = -1;
         ms::Bvp.BVPTrialSlopes = {2, -2, 0.25};
         w.mnuBVPno->setChecked(true);
       },
       {{u" X'(to)", kCol, 0}, {u"-2", kCol, 0}, {u" .25", kCol, 0}}},
      {"a slope list longer than the store is cut at ten",
       [] {
         ms::OdeResults.BVPSolved = -1;
         ms::Bvp.BVPTrialSlopes = {25, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
       },
       {{u" X'(to)", kCol, 0},
        {u" 1", kCol, curve(1)},
        {u" 2", kCol, curve(2)},
        {u" 3", kCol, curve(3)},
        {u" 4", kCol, curve(4)},
        {u" 5", kCol, curve(5)},
        {u" 6", kCol, curve(6)},
        {u" 7", kCol, curve(7)},
        {u" 8", kCol, curve(8)},
        {u" 9", kCol, curve(9)},
        {u" 10", kCol, curve(10)}}},
      {"family members in their colours",
       [] {
         Graph.FamilyMode = -1;
         Family.FamilyConstID = u"a";
         Family.FamilyCount = 3;
         Family.FamilyValues = {1, 1.5, 2};
         ms::CurveWork.FamilyColorCode = -1;
       },
       {{u"Parameter: a", kCol, 0},
        {u" 1", kCol, curve(1)},
        {u" 1.5", kCol, curve(2)},
        {u" 2", kCol, curve(3)}}},
      {"family members in black without colour coding",
       [] {
         Graph.FamilyMode = -1;
         Family.FamilyConstID = u"kb";
         Family.FamilyCount = 2;
         Family.FamilyValues = {-3, 0.5};
         ms::CurveWork.FamilyColorCode = 0;
       },
       {{u"Parameter: kb", kCol, 0}, {u"-3", kCol, 0}, {u" .5", kCol, 0}}},
      {"an IVP shows no step",
       [] {
         ms::Requests.IVPRequested = -1;
         ms::PlotRequest.PlotTMin = 0;
         ms::PlotRequest.PlotTMax = 5;
         ms::PlotRequest.PlotDt = 0.1;
       },
       {{u"tmin: 0", kLeft, 0}, {u"tmax:  5", kLeft, 0}}},
      {"a Plot shows the step",
       [] {
         ms::PlotRequest.PlotTMin = -2;
         ms::PlotRequest.PlotTMax = 2;
         ms::PlotRequest.PlotDt = 0.1;
       },
       {{u"tmin: -2", kLeft, 0}, {u"tmax:  2", kLeft, 0}, {u"dt =   .1", kLeft, 0}}},
      {"a slope field shows the range",
       [] {
         ms::Requests.SlopeFieldRequested = -1;
         ms::FieldGraph.SlopeFieldMode = -1;
         ms::PlotRequest.PlotTMin = 1;
         ms::PlotRequest.PlotTMax = 3;
         ms::PlotRequest.PlotDt = 0.5;
       },
       {{u"tmin:  1", kLeft, 0}, {u"tmax:  3", kLeft, 0}, {u"dt =   .5", kLeft, 0}}},
      {"other fields show the view angles in degrees",
       [] {
         ms::Requests.DirFieldRequested = -1;
         ms::View.ElevationAngle = 30 * 3.1415926536 / 180;
         ms::View.RotationAngle = -120 * 3.1415926536 / 180;
       },
       {{u"Elevation:  30", kAngles, 0}, {u"Rotation: -120", kAngles, 0}}},
      {"dot spacing under the block",
       [&w] {
         ms::PlotRequest.PlotTMin = 0;
         ms::PlotRequest.PlotTMax = 1;
         ms::PlotRequest.PlotDt = 0.25;
         w.mnuDotNone->setChecked(false);
         ms::CurveWork.DotSpacing = 20;
       },
       {{u"tmin: 0", kLeft, 0},
        {u"tmax:  1", kLeft, 0},
        {u"dt =   .25", kLeft, 0},
        {u"Circles :  20 dt", kAngles, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ms::Requests = ms::CommandRequestState{};
    ms::ResetBvpState();
    ms::ResetOdeResults();
    ms::ResetCurveWork();
    ms::FieldGraph.SlopeFieldMode = 0;
    Graph.FamilyMode = 0;
    w.mnuDotNone->setChecked(true);
    w.mnuBVPno->setChecked(false);
    c.state();
    PrintRecorder r;
    Options().placeTimeText(w.Display());
    ASSERT_EQ(r.Log().size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(r.Log()[i].text, c.lines[i].text);
      EXPECT_DOUBLE_EQ(r.Log()[i].x, c.lines[i].x);
      EXPECT_EQ(r.Log()[i].color, c.lines[i].color);
    }
    EXPECT_DOUBLE_EQ(r.Log().front().y, 300);
  }
  // The BVP block keeps what it set.
  ms::ResetBvpState();
  ms::ResetOdeResults();
  ms::Requests = ms::CommandRequestState{};
  ms::Requests.BVPRequested = -1;
  ms::OdeResults.InitialSlope = -0.75;
  Options().placeTimeText(w.Display());
  EXPECT_EQ(ms::OdeResults.BVPSolved, -1);
  EXPECT_EQ(ms::Bvp.BVPTrialSlopes[0], 1);
  EXPECT_EQ(ms::Bvp.BVPTrialSlopes[1], -0.75);
}

TEST_F(OverlayPrintTest, TheIntegralTableListsEveryStatementInSmallGreyFigures) {
  frmGraph& w = LoadEmpty();
  OverlayState.TimeTextX = 100;
  OverlayState.TimeTextY = 50;
  ms::Requests.IntegRequested = -1;
  ms::Requests.IntegStmtCount = 2;
  ms::PlotRequest.PlotSteps = 2;
  auto& t = ms::Solutions.SolutionTable;
  // Statement 1: x 1E-12 (shown and stored as 0) and 0.5; statement 2: x 1 and 2.
  t[1][1][1] = 1e-12;
  t[1][2][1] = 0.123456;
  t[2][1][1] = 0.5;
  t[2][2][1] = 2;
  t[1][1][2] = 1;
  t[1][2][2] = -7.25;
  t[2][1][2] = 2;
  t[2][2][2] = 1234.5;
  PrintRecorder r;
  Options().placeTimeText(w.Display());
  const std::vector<rt::Text> expected = {u" x        Output",
                                          u" __      ______",
                                          u"0",
                                          u" .1235",
                                          u" .5",
                                          u" 2",
                                          u" 1",
                                          u"-7.25",
                                          u" 2",
                                          u" 1.234E3"};
  EXPECT_EQ(r.Texts(), expected);
  ASSERT_EQ(r.Log().size(), expected.size());
  // The underline falls on the heading's line; x and output columns 1000 and 1500 to the right.
  EXPECT_DOUBLE_EQ(r.Log()[0].y, r.Log()[1].y);
  for (size_t i = 2; i < r.Log().size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(r.Log()[i].x, i % 2 == 0 ? 1100 : 1600);
    if (i % 2 == 1) {
      EXPECT_DOUBLE_EQ(r.Log()[i].y, r.Log()[i - 1].y);
      EXPECT_GT(r.Log()[i - 1].y, r.Log()[i - 2].y);
    }
  }
  for (const PrintedText& p : r.Log()) {
    EXPECT_EQ(p.color, kIntegTableGrey);
    EXPECT_DOUBLE_EQ(p.pointSize, 8);
  }
  EXPECT_EQ(t[1][1][1], 0.0);
  EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), 12);
  EXPECT_EQ(w.Display().ForeColor, 0);
  // More rows than the table holds are not read.
  ms::PlotRequest.PlotSteps = 30000;
  ms::Requests.IntegStmtCount = 1;
  PrintRecorder big;
  Options().placeTimeText(w.Display());
  EXPECT_EQ(big.Log().size(), 2u + 2u * ms::kSolutionLastRow);
}

TEST_F(OverlayPrintTest, TheTitleTakesItsFontFormatAndPlace) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  const QFont before = w.Display().Font;
  OverlayState.TitleX = 1200;
  OverlayState.TitleY = 4000;
  struct Case {
    const char* name;
    QRadioButton* option;
    bool centre;
    const char16_t* typed;
    const char16_t* printed;
  };
  const Case cases[] = {
      {"as typed", d.Option1, false, u"F{x} = G[x]", u"F{x} = G[x]"},
      {"braces", d.Option2, false, u"F{x} = G[x]", u"F(x) = G[x]"},
      {"braces and brackets", d.Option3, true, u"F{x} = G[x]", u"F(x) = G(x)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.option->setChecked(true);
    d.ckCenter->setChecked(c.centre);
    d.strText->setText(ui::ToQString(c.typed));
    PrintRecorder r;
    d.placeTitleText(w.Display());
    ASSERT_EQ(r.Log().size(), 1u);
    EXPECT_EQ(r.Log()[0].text, c.printed);
    EXPECT_DOUBLE_EQ(r.Log()[0].y, 4000);
    EXPECT_DOUBLE_EQ(r.Log()[0].pointSize, 12);
    // The conversion stays in the box.
    EXPECT_EQ(d.TitleText, c.printed);
    if (c.centre) {
      const double viewport = w.OutDisplay->width() * kTwipsPerPixel;
      const double width =
          QFontMetricsF(d.font()).horizontalAdvance(ui::ToQString(c.typed)) * kTwipsPerPixel;
      EXPECT_NEAR(r.Log()[0].x, (viewport - width) / 2, 1e-9);
    } else {
      EXPECT_DOUBLE_EQ(r.Log()[0].x, 1200);
    }
    // The picture is back in its own font.
    EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), before.pointSizeF());
    EXPECT_EQ(w.Display().Font.family(), before.family());
  }
  // With no option selected "None" is selected and the text stays.
  d.Option1->setAutoExclusive(false);
  d.Option1->setChecked(false);
  d.Option2->setAutoExclusive(false);
  d.Option2->setChecked(false);
  d.Option3->setAutoExclusive(false);
  d.Option3->setChecked(false);
  d.strText->setText(QStringLiteral("[a]"));
  d.placeTitleText(w.Display());
  EXPECT_TRUE(d.Option1->isChecked());
  EXPECT_EQ(d.TitleText, u"[a]");
}

// Characters of a listed worksheet grouped into their lines (by height), with their colours.
struct ListedLine {
  rt::Text text;
  std::vector<int32_t> colours;
};
std::vector<ListedLine> Lines(const PrintRecorder& r) {
  std::vector<ListedLine> out;
  double y = -1e300;
  for (const PrintedText& p : r.Log()) {
    if (p.y != y) {
      out.push_back({});
      y = p.y;
    }
    out.back().text += p.text;
    out.back().colours.push_back(p.color);
  }
  return out;
}

TEST_F(OverlayPrintTest, TheWorksheetIsListedWithCommentsInGreen) {
  ws::frmCalcInput& sheet = Sheet();
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  OverlayState.WkTextX = 300;
  OverlayState.WkTextY = 5000;
  sheet.TypeWorksheetText(
      QStringLiteral("a = 1 ' hidden note!\nF{x} = x^2 ' square\n\nG[x]\tlast"));
  struct Case {
    const char* name;
    QRadioButton* option;
    std::vector<rt::Text> lines;
  };
  const Case cases[] = {
      {"as typed", d.Option1, {u"a = 1 ", u"F{x} = x^2 ' square", u"G[x]last"}},
      {"braces", d.Option2, {u"a = 1 ", u"F(x) = x^2 ' square", u"G[x]last"}},
      {"brackets", d.Option3, {u"a = 1 ", u"F(x) = x^2 ' square", u"G(x)last"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.option->setChecked(true);
    PrintRecorder r;
    d.placeWkText(w.Display());
    const std::vector<ListedLine> lines = Lines(r);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].text, c.lines[i]);
    // The comment is green from its quote on.
    const ListedLine& second = lines[1];
    const size_t quote = second.text.find(u'\'');
    for (size_t k = 0; k < second.colours.size(); ++k) {
      EXPECT_EQ(second.colours[k], k < quote ? kOverlayBlack : kCommentGreen) << k;
    }
    EXPECT_DOUBLE_EQ(r.Log().front().x, 310);
    EXPECT_DOUBLE_EQ(r.Log().front().y, 5000);
    // The empty third line of the worksheet keeps its place: the last line is two lines down.
    const double step = r.Log()[lines[0].text.size()].y - 5000;
    EXPECT_NEAR(r.Log().back().y, 5000 + 3 * step, 1e-6);
    // After the tab the text stands at the first stop.
    EXPECT_DOUBLE_EQ(r.Log()[r.Log().size() - 4].x, 300 + 900 + 10);
    EXPECT_EQ(OverlayState.WorksheetLineCount, 4);
    EXPECT_EQ(OverlayState.WorksheetLines[1], u"a = 1 ");
  }
  // No worksheet window: nothing listed.
  sheet_.reset();
  PrintRecorder r;
  d.placeWkText(w.Display());
  EXPECT_TRUE(r.Log().empty());
}

TEST_F(OverlayPrintTest, ValueLinesListTheFunctionsInBlack) {
  frmGraph& w = LoadEmpty();
  OverlayState.ValTextX = 800;
  OverlayState.ValTextY = 6000;
  ms::Tables.FuncCount = 2;
  ms::Tables.FuncTable[1] = ms::FuncRec{};
  ms::Tables.FuncTable[1].Name = u"F_";
  ms::Tables.FuncTable[1].Parm1 = u"x";
  ms::Tables.FuncTable[1].Value = 4;
  ms::Tables.FuncTable[1].LineBreak = -1;
  ms::Tables.FuncTable[2] = ms::FuncRec{};
  ms::Tables.FuncTable[2].Name = u"Gt";
  ms::Tables.FuncTable[2].Parm1 = u"s";
  ms::Tables.FuncTable[2].Value = -0.5;
  ms::Tables.FuncTable[2].LineBreak = -1;
  PrintRecorder r;
  Options().placeValText(w.Display());
  EXPECT_EQ(r.Texts(), (std::vector<rt::Text>{u"F{x} =  4", u"Gt{s} = -.5"}));
  for (const PrintedText& p : r.Log()) {
    EXPECT_DOUBLE_EQ(p.x, 800);
    EXPECT_EQ(p.color, 0);
  }
  EXPECT_EQ(OverlayState.ValueLineCount, 2);
  EXPECT_EQ(OverlayState.ValueLinesText, u"F{x} =  4\r\nGt{s} = -.5\r\n");
}

// The same methods draw through a painter the caller keeps, as on paper: the printer's scale
// mirrors the picture's, and after a title the printer takes the picture's font again.
TEST_F(OverlayPrintTest, OverlaysDrawOnAPainterTargetAsOnThePicture) {
  frmGraph& w = LoadEmpty();
  frmSetDisplay& d = Options();
  QImage page(800, 1000, QImage::Format_ARGB32_Premultiplied);
  page.fill(Qt::white);
  QPainter painter(&page);
  draw::DrawTarget printer(painter, page.width(), page.height());
  printer.SetScale(0, 0, kDisplayWidthTwips, kDisplayHeightTwips);
  printer.Font = QFont(w.Display().Font.family(), 30);
  OverlayState.DataTextX = OverlayState.DataTextY = 1000;
  d.placeText(printer);
  d.strText->setText(QStringLiteral("Paper"));
  OverlayState.TitleX = 1000;
  OverlayState.TitleY = 8000;
  d.placeTitleText(printer);
  painter.end();
  auto dark = [&page](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += qGray(page.pixel(x, y)) < 100 ? 1 : 0;
    }
    return n;
  };
  const QPointF data = printer.ToDevice(1000, 1000);
  const QPointF title = printer.ToDevice(1000, 8000);
  EXPECT_GT(dark(static_cast<int>(data.x()), static_cast<int>(data.y()),
                 static_cast<int>(data.x()) + 200, static_cast<int>(data.y()) + 40),
            20);
  EXPECT_GT(dark(static_cast<int>(title.x()), static_cast<int>(title.y()),
                 static_cast<int>(title.x()) + 200, static_cast<int>(title.y()) + 40),
            20);
  // Nothing went onto the screen picture.
  EXPECT_EQ(DarkPixels(w.Display(), 0, 0, kDisplayWidthTwips, kDisplayHeightTwips), 0);
  EXPECT_EQ(printer.Font.family(), w.Display().Font.family());
  EXPECT_DOUBLE_EQ(printer.Font.pointSizeF(), w.Display().Font.pointSizeF());
}

}  // namespace
}  // namespace gr::testing
