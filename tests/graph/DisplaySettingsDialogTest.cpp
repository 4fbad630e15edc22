// The display-options window and the overlays it draws: what each block prints (texts, places,
// colours, sizes) for each plot state, the legends, the window's load and close guard, and the
// check boxes and scroll bars switching and moving the overlays on the picture.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "GraphTestSupport.h"
#include "numerics/BvpTrials.h"
#include "numerics/Rkf45.h"

namespace gr::testing {
namespace {

// Records what the overlays print while it lives.
struct PrintRecorder {
  std::vector<PrintedText> log;
  PrintRecorder() { SetPrintLog(&log); }
  ~PrintRecorder() { SetPrintLog(nullptr); }
  // The printed texts joined by "|".
  rt::Text Joined() const {
    rt::Text out;
    for (const PrintedText& p : log) out += (out.empty() ? u"" : u"|") + p.text;
    return out;
  }
};

class DisplaySettingsDialogTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetOverlayState();
  }
  void TearDown() override {
    UnloadSetDisplay();
    GraphTest::TearDown();
  }
  // The graph window with nothing to build (without axes the picture stays white).
  GraphWindow& LoadEmpty() {
    ms::Requests = ms::CommandRequestState{};
    GraphWindow& w = Load();
    Graph.ShowAxes = 0;
    w.GenerateData();
    return w;
  }
  DisplaySettingsDialog& Options() { return *DisplaySettingsDialog::Instance(); }
};

TEST_F(DisplaySettingsDialogTest, TheContourLegendStandsInColumnsOfTenLevelsInTheirColours) {
  GraphWindow& w = LoadEmpty();
  OverlayState.DataTextX = 100;
  OverlayState.DataTextY = 200;
  ms::Requests.Contour1Requested = -1;
  auto& legend = ms::Contours.ContourLegend;
  for (int i = 1; i <= 60; ++i)
    legend[static_cast<size_t>(i)] = {i - 13.0, static_cast<int16_t>(4 * i), 0,
                                      static_cast<int16_t>(255 - 4 * i)};
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
    }
    EXPECT_TRUE(levels != 11 || r.Joined().substr(0, 20) == u"Level| -12|  0| -10|");
  }
}

TEST_F(DisplaySettingsDialogTest, TheTimeBlockPrintsWhatThePlotStateAsksFor) {
  GraphWindow& w = LoadEmpty();
  OverlayState.TimeTextX = 2000;
  OverlayState.TimeTextY = 300;
  ms::OdeResults.InitialSlope = 1.5;
  Family.FamilyConstID = u"a";
  Family.FamilyCount = 2;
  Family.FamilyValues = {1, 1.5};
  ms::PlotRequest.PlotTMin = -2;
  ms::PlotRequest.PlotTMax = 5;
  ms::PlotRequest.PlotDt = 0.5;
  ms::PlotRequest.PlotSteps = 2;
  const int slot = ms::IntegSlot(1);      // the integral statement's own slot
  auto& t = ms::Solutions.SolutionTable;  // [row][x or output][slot]
  t[1][1][slot] = 1e-12;                  // shown and stored as 0
  t[1][2][slot] = 0.123456;
  t[2][1][slot] = -7.25;
  t[2][2][slot] = 1234.5;
  ms::View.ElevationAngle = 30 * 3.1415926536 / 180;
  ms::View.RotationAngle = -120 * 3.1415926536 / 180;
  ms::CurveWork.DotSpacing = 20;
  constexpr double kCol = 3000, kAngles = 3700, kLeft = 2000;
  ms::CommandRequestState& q = ms::Requests;
  struct Case {
    int16_t* on;        // the state's flag, set on
    double slopeCount;  // the trial slope store's count
    bool plain, dots;   // scan colour "No" and no colour coding; dot spacing chosen
    const char16_t* lines;
    double x;
    int32_t colour;  // of every line; -1: the lines after the first in curve colours 1, 2, ...
    int16_t* on2 = nullptr;
  };
  int16_t* solved = &ms::OdeResults.BVPSolved;
  const Case cases[] = {
      {solved, 3, false, false, u" X'(to)|-2| .25| 4", kCol, -1},
      {solved, 25, true, false, u" X'(to)|-2| .25| 4|0|0|0|0|0|0|0", kCol, 0},  // cut at ten
      {&q.IntegRequested, 0, false, false,
       u" x        Output| __      ______|0| .1235|-7.25| 1.234E3", kCol, kIntegTableGrey},
      {&Graph.FamilyMode, 0, false, false, u"Parameter: a| 1| 1.5", kCol, -1},
      {&q.IVPRequested, 0, false, false, u"tmin: -2|tmax:  5", kLeft, 0},
      {&q.SlopeFieldRequested, 0, false, false, u"tmin: -2|tmax:  5|dt =   .5", kLeft, 0,
       &ms::FieldGraph.SlopeFieldMode},
      {&q.DirFieldRequested, 0, false, false, u"Elevation:  30|Rotation: -120", kAngles, 0},
      {nullptr, 0, false, true, u"tmin: -2|tmax:  5|dt =   .5|Circles :  20 dt", kLeft, 0},
      {&q.BVPRequested, 0, false, false, u" X'(to)| 1.5", kCol, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.lines));
    q = ms::CommandRequestState{};
    q.IntegStmtCount = 1;
    ms::OdeResults.BVPSolved = ms::FieldGraph.SlopeFieldMode = Graph.FamilyMode = 0;
    for (int16_t* f : {c.on, c.on2})
      if (f != nullptr) *f = -1;
    ms::Bvp.BVPTrialSlopes = {c.slopeCount, -2, 0.25, 4};
    w.mnuBVPno->setChecked(c.plain);
    ms::CurveWork.FamilyColorCode = c.plain ? 0 : -1;
    w.mnuDotNone->setChecked(!c.dots);
    w.Display().ForeColor = kOverlayBlack;  // the plain blocks print in the colour they find
    PrintRecorder r;
    Options().placeTimeText(w.Display());
    ASSERT_EQ(r.Joined(), c.lines);
    EXPECT_EQ(std::make_pair(r.log.front().x, r.log.front().y), std::make_pair(c.x, 300.0));
    int16_t red = 0, green = 0, blue = 0;
    ms::GetCurveColor(static_cast<int16_t>(r.log.size() - 1), red, green, blue);
    EXPECT_EQ(r.log.back().color, c.colour < 0 ? rt::RGB(red, green, blue) : c.colour);
  }
  EXPECT_EQ(t[1][1][slot], 0.0);
  // Every integral statement is listed; more rows than the table holds are not read.
  ms::PlotRequest.PlotSteps = 30000;
  q = ms::CommandRequestState{};
  q.IntegRequested = -1;
  q.IntegStmtCount = 2;
  ms::OdeResults.BVPSolved = 0;
  PrintRecorder big;
  Options().placeTimeText(w.Display());
  EXPECT_EQ(big.log.size(), 2u + 4u * ms::kSolutionLastRow);
}

TEST_F(DisplaySettingsDialogTest, TheTitleTakesItsFormatAndPlaceAndTheWorksheetItsLayout) {
  ws::WorksheetWindow& sheet = Sheet();
  GraphWindow& w = LoadEmpty();
  DisplaySettingsDialog& d = Options();
  const QFont before = w.Display().Font;
  OverlayState.TitleX = 1200;
  OverlayState.TitleY = 4000;
  OverlayState.WkTextX = 300;
  OverlayState.WkTextY = 5000;
  sheet.TypeWorksheetText(QStringLiteral("a = 1 ' hidden note!\nF{x} = x^2 ' sq\n\nG[x]\tlast"));
  d.strText->setText(QStringLiteral("F{x} = G[x]"));
  const double width =
      QFontMetricsF(d.font()).horizontalAdvance(d.strText->text()) * kTwipsPerPixel;
  const std::tuple<QRadioButton*, bool, const char16_t*, const char16_t*> cases[] = {
      {d.Option2, false, u"F(x) = G[x]", u"a = 1 |F(x) = x^2 ' sq|G[x]last"},
      {d.Option3, true, u"F(x) = G(x)", u"a = 1 |F(x) = x^2 ' sq|G(x)last"}};
  for (const auto& [option, centre, title, listing] : cases) {
    SCOPED_TRACE(centre);
    option->setChecked(true);
    d.ckCenter->setChecked(centre);
    d.strText->setText(QStringLiteral("F{x} = G[x]"));
    PrintRecorder r;
    d.placeTitleText(w.Display());
    EXPECT_EQ(r.Joined(), title);
    EXPECT_EQ(std::make_pair(r.log[0].y, r.log[0].pointSize), std::make_pair(4000.0, 12.0));
    EXPECT_NEAR(r.log[0].x, centre ? (w.OutDisplay->width() * kTwipsPerPixel - width) / 2 : 1200,
                1e-9);
    EXPECT_EQ(w.Display().Font, before);  // the picture is back in its own font
    // The listing, character by character: lines told apart by height, the comment green from
    // its quote on, the empty line keeping its place, the text after a tab at the first stop.
    r.log.clear();
    d.placeWkText(w.Display());
    rt::Text text;
    std::vector<double> ys;
    for (const PrintedText& p : r.log) {
      if (!ys.empty() && p.y != ys.back()) text += u'|';
      if (ys.empty() || p.y != ys.back()) ys.push_back(p.y);
      text += p.text;
      const bool comment = ys.size() == 2 && text.find(u'\'') != rt::Text::npos;
      EXPECT_EQ(p.color, comment ? kCommentGreen : kOverlayBlack);
    }
    EXPECT_EQ(text, listing);
    EXPECT_NEAR(ys.at(2), 5000 + 3 * (ys[1] - 5000), 1e-6);
  }
  // The listing's store holds 100 lines.
  sheet.TypeWorksheetText(QStringLiteral("x\n").repeated(150));
  d.placeWkText(w.Display());
  EXPECT_EQ(OverlayState.WorksheetLineCount, kMaxListingLines);
}

// The font dialogs take and give underline and strikeout as well as size, bold and italic; the
// worksheet's Fonts item the same.
TEST_F(DisplaySettingsDialogTest, FontButtonsTakeUnderlineAndStrikeout) {
  LoadEmpty();
  DisplaySettingsDialog& d = Options();
  for (const bool marked : {true, false}) {
    SCOPED_TRACE(marked);
    const ui::FontChoice choice{u"Serif", 14, true, false, marked, marked};
    ui_.fonts = {choice, choice, choice};
    d.cmdTitleFont->click();
    d.cmdLegendFont->click();
    Sheet().mnuFonts_click();
    for (const QWidget* box : std::initializer_list<const QWidget*>{d.strText, d.strLegendX,
                                                                    d.strLegendZ, Sheet().Text1}) {
      const QFont f = box->font();
      EXPECT_TRUE(f.underline() == marked && f.strikeOut() == marked);
      EXPECT_TRUE(f.bold() && !f.italic() && f.pointSizeF() == 14);
    }
    // The next dialog starts from the marks the text has.
    d.cmdTitleFont->click();
    EXPECT_TRUE(ui_.fontRequests.back().underline == marked &&
                ui_.fontRequests.back().strikeout == marked);
  }
}

TEST_F(DisplaySettingsDialogTest, ALegendWithoutXOrYLabelAsksForThemAndSwitchesOff) {
  GraphWindow& w = LoadEmpty();
  DisplaySettingsDialog& d = Options();
  for (const auto& [x, y] : {std::pair{"time", ""}, std::pair{"", "height"}}) {
    SCOPED_TRACE(std::string(x) + "/" + y);
    ui_.Reset();
    d.strLegendX->setText(QLatin1String(x));
    d.strLegendY->setText(QLatin1String(y));
    PrintRecorder r;
    d.ckLegend->setChecked(true);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].title + u"|" + ui_.boxes[0].text,
              u"Labels?|X- & Y- labels required. Z-label optional.");
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

TEST_F(DisplaySettingsDialogTest, SelectValuesComeFromTheWorksheetsComments) {
  ws::WorksheetWindow& sheet = Sheet();
  sheet.TypeWorksheetText(QStringLiteral(
      "v = 12.5 '@Speed = @v, m/s!\r\nk = 3 '@Count: @k\r\nF{x} = x^2 '@Plain text!@Q\r\n"
      "'@Twice marked!!@k,!!\r\n"));
  sheet.cmdCompute_click();
  GraphWindow& w = LoadEmpty();
  ASSERT_TRUE(ui_.boxes.empty());
  DisplaySettingsDialog& d = Options();
  OverlayState.ValTextX = 900;
  PrintRecorder r;
  d.CkVal->setChecked(true);
  EXPECT_EQ(ms::Tables.ShowValLegend, -1);
  // Every drawing shows the same lines (at the display precision, smaller than the worksheet when
  // one names a constant): the store keeps the worksheet's texts.
  for (int redraw = 0; redraw <= 2; ++redraw) {
    SCOPED_TRACE(redraw);
    EXPECT_EQ(r.Joined(), u"Speed =  12.5 m/s|Count:  3|Plain text|Twice marked! 3!");
    for (const PrintedText& p : r.log)
      EXPECT_EQ(std::make_pair(p.x, p.pointSize), std::make_pair(900.0, 10.0));
    r.log.clear();
    w.updateplot();
  }
  EXPECT_EQ(ms::Tables.SelectValueText[4] + u"/" + ms::Tables.SelectValueText2[4],
            u"Twice marked!!/!!");
  EXPECT_DOUBLE_EQ(w.Display().Font.pointSizeF(), sheet.Text1->font().pointSizeF());
  d.CkVal->setChecked(false);
  EXPECT_EQ(ms::Tables.ShowValLegend, 0);
  // Without a constant the worksheet's font size; a count beyond the store is held to ten.
  for (size_t k = 1; k <= ms::kMaxSelectValues; ++k) {
    ms::Tables.SelectValueText[k] = u"entry " + rt::IntText(static_cast<int>(k));
    ms::Tables.SelectValueId[k] = u"q";
  }
  ms::Tables.SelectValueCount = 30000;
  ms::Tables.ShowValLegend = -1;
  r.log.clear();
  d.PlaceLegendText(w.Display());
  ASSERT_EQ(r.log.size(), static_cast<size_t>(ms::kMaxSelectValues));
  EXPECT_EQ(r.log.back().text, u"entry 10");
  EXPECT_DOUBLE_EQ(r.log[0].pointSize, sheet.Text1->font().pointSizeF());
}

TEST_F(DisplaySettingsDialogTest, LoadsHiddenShownByDisplayDataRefusesItsCloseBoxAndGoesAtReturn) {
  GraphWindow& w = LoadEmpty();
  DisplaySettingsDialog& d = Options();
  EXPECT_FALSE(d.isVisible());
  // "Display Data" shows the window; Exit hides it and its settings stay in force.
  w.mnuData->trigger();
  EXPECT_TRUE(d.isVisible());
  d.ckData->setChecked(true);
  d.Command1->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Graph.ShowDataText, -1);
  // Its close box is refused; the program's own close is not.
  EXPECT_TRUE(d.Form_QueryUnload(false));
  ExpectBox(u"Please use the Minimize Button on the Control Panel.");
  EXPECT_FALSE(d.Form_QueryUnload(true));
  // A legend left on at Return does not make the next window, which has no labels, ask for them.
  d.strLegendX->setText(QStringLiteral("x"));
  d.strLegendY->setText(QStringLiteral("y"));
  d.ckLegend->setChecked(true);
  w.cmdReturn_Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  LoadEmpty();
  EXPECT_EQ(ui_.boxes.size(), 1u);  // the close box's message only
}

// Each box sets its show flag and its block is printed on the picture; its scroll bar moves it by
// as much; when the box is cleared the block goes.
TEST_F(DisplaySettingsDialogTest, EachOverlayAppearsWithItsCheckBoxAndMovesWithItsBar) {
  Sheet().TypeWorksheetText(QStringLiteral("a = 12345\n"));
  LoadEmpty();
  DisplaySettingsDialog& d = Options();
  ms::Tables.FuncCount = 1;  // a function whose value line is listed
  ms::Tables.FuncTable[1] = ms::FuncRec{};
  ms::Tables.FuncTable[1].Name = u"F_";
  ms::Tables.FuncTable[1].Parm1 = u"x";
  ms::Tables.FuncTable[1].LineBreak = -1;
  d.strText->setText(QStringLiteral("Damped Spring"));
  d.strLegendX->setText(QStringLiteral("time"));
  d.strLegendY->setText(QStringLiteral("height"));
  OverlayStateData& s = OverlayState;
  const std::tuple<QCheckBox*, int16_t*, QScrollBar*, int32_t*, bool> cases[] = {
      // the box, its flag, its bar, the coordinate the bar moves, whether that is x
      {d.ckData, &Graph.ShowDataText, d.scrHText, &s.DataTextX, true},
      {d.ckTime, &Graph.ShowTimeText, d.scrVTime, &s.TimeTextY, false},
      {d.ckWk, &Graph.ShowWkText, d.scrVWk, &s.WkTextY, false},
      {d.CkVal, &Graph.ShowValText, d.scrHVal, &s.ValTextX, true},
      {d.ckText, &Graph.ShowTitle, d.scrVtitle, &s.TitleY, false},
      {d.ckLegend, &Graph.ShowLegend, d.scrHLegend, &s.LegendX, true},
  };
  for (const auto& [box, flag, bar, moved, across] : cases) {
    SCOPED_TRACE(box->objectName().toStdString());
    PrintRecorder r;
    box->click();
    EXPECT_EQ(*flag, -1);
    ASSERT_FALSE(r.log.empty());
    const double at = across ? r.log[0].x : r.log[0].y;
    r.log.clear();
    bar->setValue(*moved + 3000);
    ASSERT_FALSE(r.log.empty());
    EXPECT_DOUBLE_EQ((across ? r.log[0].x : r.log[0].y) - at, 3000);
    r.log.clear();
    box->click();
    EXPECT_EQ(*flag, 0);
    EXPECT_TRUE(r.log.empty());
  }
}

}  // namespace
}  // namespace gr::testing
