// The display-options window and the overlays it draws: what the blocks print and the limits of
// the tables they read, the legends, the font dialogs and the window's load and close guard.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>

#include "GraphTestSupport.h"
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

// The contour legend lists at most fifty levels (its store's size), in columns of ten with a head
// each; beyond that it lists nothing.
TEST_F(DisplaySettingsDialogTest, TheContourLegendListsAtMostItsStore) {
  GraphWindow& w = LoadEmpty();
  ms::Requests.Contour1Requested = -1;
  for (const auto& [levels, printed] : {std::pair<int16_t, size_t>{50, 55}, {51, 0}, {-3, 1}}) {
    ms::Contours.ContourLegendCount = levels;
    PrintRecorder r;
    PlaceDataText(w.Display(), OverlayContentNow());
    EXPECT_EQ(r.log.size(), printed) << levels;
  }
}

// The integral table of an Integ[ lists that statement's own panels, x and the running integral
// of x^2 (x^3/3), beside a Plot[ of another step count as well as alone.
TEST_F(DisplaySettingsDialogTest, TheIntegralTableListsTheIntegralsOwnRows) {
  for (const char* extra : {"", "A<t>=<t,t,0>\nPlot[A,{t,0,1,40}]\n"}) {
    SCOPED_TRACE(extra);
    GraphWindow& w = Run((std::string("F{x}=x^2\ns=Integ[F,{0,3,6,0}]\n") + extra).c_str());
    PrintRecorder r;
    PlaceTimeText(w.Display(), OverlayContentNow());
    // x = 0.5 i and x^3/3 to 4 digits: 1/24, 1/3, 9/8, 8/3, 125/24, 9.
    EXPECT_EQ(r.Joined(),
              u" x        Output| __      ______| .5| 4.167E-2| 1| .3333| 1.5| 1.125| 2| 2.667"
              u"| 2.5| 5.208| 3| 9");
  }
}

// The time block prints the integral table (an x too small to tell from 0 stored as 0), every
// integral statement's rows but no more rows than the table holds, and at most ten trial slopes.
TEST_F(DisplaySettingsDialogTest, TheTimeBlockPrintsItsDataWithinItsTables) {
  GraphWindow& w = LoadEmpty();
  ms::Solutions.IntegRows[1] = 2;
  const int slot = ms::IntegSlot(1);      // the integral statement's own slot
  auto& t = ms::Solutions.SolutionTable;  // [row][x or output][slot]
  t[1][1][slot] = 1e-12;
  t[1][2][slot] = 0.123456;
  t[2][1][slot] = -7.25;
  t[2][2][slot] = 1234.5;
  ms::CommandRequestState& q = ms::Requests;
  q.IntegRequested = -1;
  q.IntegStmtCount = 1;
  PrintRecorder r;
  PlaceTimeText(w.Display(), OverlayContentNow());
  EXPECT_EQ(r.Joined(), u" x        Output| __      ______|0| .1235|-7.25| 1.234E3");
  EXPECT_EQ(t[1][1][slot], 0.0);
  ms::Solutions.IntegRows[1] = ms::Solutions.IntegRows[2] = 30000;
  q.IntegStmtCount = 2;
  r.log.clear();
  PlaceTimeText(w.Display(), OverlayContentNow());
  EXPECT_EQ(r.log.size(), 2u + 4u * ms::kSolutionLastRow);
  q = ms::CommandRequestState{};
  ms::OdeResults.BVPSolved = -1;
  ms::Bvp.BVPTrialSlopes = {25, -2, 0.25, 4};
  r.log.clear();
  PlaceTimeText(w.Display(), OverlayContentNow());
  EXPECT_EQ(r.Joined(), u" X'(to)|-2| .25| 4|0|0|0|0|0|0|0");
}

// The title and the listing in the chosen format; the listing's lines are told apart by height, a
// comment marked with "!" is left out, and the store holds 100 lines.
TEST_F(DisplaySettingsDialogTest, TheTitleAndTheListingPrintTheirTextsInTheChosenFormat) {
  ws::WorksheetWindow& sheet = Sheet();
  GraphWindow& w = LoadEmpty();
  DisplaySettingsDialog& d = Options();
  sheet.TypeWorksheetText(QStringLiteral("a = 1 ' hidden note!\nF{x} = x^2 ' sq\n\nG[x]\tlast"));
  d.Option3->setChecked(true);
  d.strText->setText(QStringLiteral("F{x} = G[x]"));
  PrintRecorder r;
  PlaceTitleText(w.Display(), OverlayContentNow());
  EXPECT_EQ(r.Joined(), u"F(x) = G(x)");
  r.log.clear();
  PlaceWkText(w.Display(), OverlayContentNow());
  rt::Text text;
  for (size_t i = 0; i < r.log.size(); ++i)
    text += (i > 0 && r.log[i].y != r.log[i - 1].y ? u"|" : u"") + r.log[i].text;
  EXPECT_EQ(text, u"a = 1 |F(x) = x^2 ' sq|G(x)last");
  sheet.TypeWorksheetText(QStringLiteral("x\n").repeated(150));
  PlaceWkText(w.Display(), OverlayContentNow());
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
  d.strLegendX->setText(QStringLiteral("time"));  // no y label
  d.ckLegend->setChecked(true);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].title + u"|" + ui_.boxes[0].text,
            u"Labels?|X- & Y- labels required. Z-label optional.");
  EXPECT_EQ(Graph.ShowLegend, 0);
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
  PrintRecorder r;
  d.CkVal->setChecked(true);
  // Every drawing shows the same lines (at the display precision): the store keeps the worksheet's
  // texts.
  for (int redraw = 0; redraw <= 2; ++redraw) {
    SCOPED_TRACE(redraw);
    EXPECT_EQ(r.Joined(), u"Speed =  12.5 m/s|Count:  3|Plain text|Twice marked! 3!");
    r.log.clear();
    w.updateplot();
  }
}

TEST_F(DisplaySettingsDialogTest,
       LoadsHiddenShownByDisplayDataRefusesItsCloseBoxAndIsLoadedAgainAfterReturn) {
  Sheet();  // the program's worksheet window, which outlives the graph windows
  GraphWindow& w = LoadEmpty();
  DisplaySettingsDialog& d = Options();
  const QPointer<DisplaySettingsDialog> kept(&d);
  EXPECT_FALSE(d.isVisible());
  // "Display Data" shows the window; Exit hides it and its settings stay in force.
  w.Menus().mnuData->trigger();
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
  d.strText->setText(QStringLiteral("title"));
  d.ckText->setChecked(true);
  QFont big = d.strText->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  d.strText->setFont(big);
  d.Frame2->setTitle(QStringLiteral("Parameter Set"));  // as a family run names it
  d.show();
  w.cmdReturn_Click();
  EXPECT_FALSE(d.isVisible());  // Return takes it out of sight
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  LoadEmpty();
  EXPECT_EQ(ui_.boxes.size(), 1u);  // the close box's message only
  // The next graph window loads the same window, not a new one, as a new one would be: nothing
  // checked, no texts, the built fonts and the time block's first caption, hidden.
  ASSERT_TRUE(!kept.isNull() && DisplaySettingsDialog::Instance() == kept);
  EXPECT_FALSE(d.isVisible());
  for (QCheckBox* box : {d.ckData, d.ckTime, d.ckWk, d.CkVal, d.ckText, d.ckLegend, d.ckCenter})
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_EQ(Graph.ShowDataText, 0);
  EXPECT_EQ(Graph.ShowTitle, 0);
  EXPECT_EQ(Graph.ShowLegend, 0);
  for (QLineEdit* box : {d.strText, d.strLegendX, d.strLegendY, d.strLegendZ})
    EXPECT_TRUE(box->text().isEmpty());
  EXPECT_TRUE(d.TitleText.empty() && d.LegendXText.empty());
  EXPECT_EQ(d.strText->font().pointSizeF(), 12);
  EXPECT_TRUE(d.Frame2->title() == QStringLiteral("Tme Scales") && d.Frame2->isEnabled());
  EXPECT_TRUE(d.Option1->isChecked());
}

}  // namespace
}  // namespace gr::testing
