// The graph window's option menus end to end: a worksheet is executed and drawn, a menu item is
// chosen (the colour dialog answered from the script), and the rebuilt scene shows the change:
// segment colours, axes, grid crosses, box edges and dot marks.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "GraphTestSupport.h"
#include "graph/frmDotSpacing.h"

namespace gr::testing {
namespace {

constexpr const char* kTwoCurves =
    "A<t> = <t, t^2, 0>\nB<t> = <t, -t-1, 0>\nPlot[A, B, {t,-2,2,40}]\n";
constexpr const char* kOneCurve = "A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}]\n";
constexpr int kCurveSteps = 40;
constexpr double kCurveStart = -2, kCurveStep = 0.1;

struct Rgb {
  int r, g, b;
};
Rgb Split(int32_t packed) {
  Rgb c{};
  rt::SplitRGB(packed, c.r, c.g, c.b);
  return c;
}

bool HasColour(const ms::SegmentRow& row, const Rgb& c) {
  return row[ms::kRed] == c.r && row[ms::kGreen] == c.g && row[ms::kBlue] == c.b;
}

// Segments drawn (rows 0 .. SegmentCountD - 1) of a colour; structure only, or anything else.
int CountSegments(int32_t packed, bool structure) {
  const Rgb c = Split(packed);
  int n = 0;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& row = ms::Scene.SegmentTable[i];
    if ((row[ms::kSegKind] == ms::kSegStructure) == structure && HasColour(row, c)) ++n;
  }
  return n;
}

int CountStructure() {
  int n = 0;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    n += ms::Scene.SegmentTable[i][ms::kSegKind] == ms::kSegStructure;
  }
  return n;
}

// The x of every dot mark drawn, in row order.
std::vector<double> DotMarksX() {
  std::vector<double> xs;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& row = ms::Scene.SegmentTable[i];
    if (row[ms::kDotMark] != 1.0) continue;
    xs.push_back(ms::Scene.VertexXYZ[static_cast<int>(row[ms::kStartPoint])][0]);
  }
  return xs;
}

int CountPixels(const QImage& image, int32_t packed) {
  const uint32_t argb = draw::ToArgb(packed) | 0xFF000000u;
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xFF000000u) == argb;
  }
  return n;
}

class GraphMenusTest : public GraphTest {
 protected:
  frmGraph& Run(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    frmGraph* w = GraphWindow();
    EXPECT_NE(w, nullptr);
    EXPECT_TRUE(ui_.boxes.empty());
    return *w;
  }
  // Whether the scene was built again since the last call (a build shows the busy pointer).
  bool Rebuilt() {
    const bool rebuilt = ui_.busyChanges != busyChanges_;
    busyChanges_ = ui_.busyChanges;
    return rebuilt;
  }
  int busyChanges_ = 0;
};

TEST_F(GraphMenusTest, PlotColourItemsRecolourTheirCurve) {
  frmGraph& w = Run(kTwoCurves);
  const int curve1 = CountSegments(ms::Settings.PlotColorUsed[1], false);
  const int curve2 = CountSegments(ms::Settings.PlotColorUsed[2], false);
  ASSERT_GE(curve1, kCurveSteps);
  ASSERT_GE(curve2, kCurveSteps);
  struct Step {
    int plot;
    std::optional<int32_t> answer;  // nullopt: cancelled
    int32_t dialogStart;            // the colour the dialog opened with
    int32_t used;                   // the curve's colour afterwards
  };
  const Step steps[] = {
      {1, 0x00FF00, 0, 0x00FF00},
      {2, std::nullopt, 0x00FF00, 0xFF0000},  // a cancel keeps the curve's colour
      {2, 0x404040, 0x00FF00, 0x404040},
      {1, std::nullopt, 0x404040, 0x00FF00},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "#" << s.plot << " step to " << std::hex << s.used);
    ui_.colors = {s.answer};
    ui_.colorRequests.clear();
    ms::RunFlags.Replot = 0;
    ms::Settings.ColorChanged = 0;
    w.mnuPlot[static_cast<size_t>(s.plot - 1)]->trigger();
    ASSERT_EQ(ui_.colorRequests.size(), 1u);
    EXPECT_EQ(ui_.colorRequests[0], s.dialogStart);
    EXPECT_EQ(ms::Settings.PlotColorUsed[static_cast<size_t>(s.plot)], s.used);
    EXPECT_EQ(ms::Settings.ColorChanged, -1);
    EXPECT_NE(ms::RunFlags.Replot, 0);
    EXPECT_EQ(CountSegments(s.used, false), s.plot == 1 ? curve1 : curve2);
  }
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(GraphMenusTest, ARecolouredCurveKeepsItsArrow) {
  frmGraph& w = Run("A<t> = <t, t^2, 0>\nPlot[A, {t,-2,2,40}a]\n");
  const double segments = ms::Scene.SegmentCountD;
  const int coloured = CountSegments(ms::Settings.PlotColorUsed[1], false);
  for (int32_t answer : {0x00FF00, 0x0000C0}) {
    SCOPED_TRACE(answer);
    ui_.colors = {answer};
    w.mnuPlot_Click(1);
    // The arrow head's segments are drawn again in the new colour.
    EXPECT_EQ(ms::Scene.SegmentCountD, segments);
    EXPECT_EQ(CountSegments(answer, false), coloured);
  }
}

TEST_F(GraphMenusTest, SolutionAndIntegralColours) {
  struct Case {
    const char* name;
    const char* worksheet;
    QAction* frmGraph::*item;
    int32_t ms::SettingsState::*used;
  };
  const Case cases[] = {
      {"IVP", "F{t,x} = t\nIVP[F,{0,2,1}{1,0.0001}]\n", &frmGraph::mnuPlotIVPColor,
       &ms::SettingsState::IVPColorUsed},
      {"Integ", "F{x} = x^2\nc = Integ[F,{0,2,10,0}]\n", &frmGraph::mnuIntegColor,
       &ms::SettingsState::IntegColorUsed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    frmGraph& w = Run(c.worksheet);
    const int32_t before = ms::Settings.*c.used;
    const int32_t chosen = 0x00C000;
    const int inBefore = CountSegments(before, false);
    ASSERT_EQ(CountSegments(chosen, false), 0);
    ui_.colors = {std::nullopt, chosen};
    (w.*c.item)->trigger();
    EXPECT_EQ(ms::Settings.*c.used, before);
    EXPECT_EQ(CountSegments(before, false), inBefore);
    (w.*c.item)->trigger();
    EXPECT_EQ(ms::Settings.*c.used, chosen);
    // The curve's segments take the colour; marks drawn in black of their own stay black.
    const int recoloured = CountSegments(chosen, false);
    EXPECT_GT(recoloured, 5);
    EXPECT_EQ(recoloured + CountSegments(before, false), inBefore);
    EXPECT_TRUE(ui_.boxes.empty());
    ReleaseGraphWindow();
  }
}

TEST_F(GraphMenusTest, BvpScanItemsAndTheSolutionColourShutEachOtherOff) {
  frmGraph& w = Load();
  struct Step {
    const char* name;
    void (frmGraph::*click)();
    int16_t scanColour;
    bool yesChecked, noChecked;
    bool ivpColourEnabled, scanMenuEnabled;
  };
  const Step steps[] = {
      {"No", &frmGraph::mnuBVPno_Click, 0, false, true, false, true},
      {"Yes", &frmGraph::mnuBVPyes_Click, -1, true, false, false, true},
      {"IVP/BVP Color", &frmGraph::mnuPlotIVPColor_Click, -1, true, false, false, false},
  };
  w.mnuBVPcolor->menuAction()->setEnabled(true);
  ms::GraphMenus.mnuBVPcolor = -1;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    ms::RunFlags.Replot = 0;
    (w.*s.click)();
    EXPECT_EQ(ms::Settings.BVPScanColor, s.scanColour);
    EXPECT_EQ(w.mnuBVPyes->isChecked(), s.yesChecked);
    EXPECT_EQ(w.mnuBVPno->isChecked(), s.noChecked);
    EXPECT_EQ(w.mnuPlotIVPColor->isEnabled(), s.ivpColourEnabled);
    EXPECT_EQ(w.mnuBVPcolor->menuAction()->isEnabled(), s.scanMenuEnabled);
    EXPECT_NE(ms::RunFlags.Replot, 0);
  }
}

TEST_F(GraphMenusTest, AxesAndXyPlaneItemsAddAndRemoveTheirSegments) {
  frmGraph& w = Run(kOneCurve);
  const int32_t grey = ms::Settings.XYPlaneColor;
  struct Step {
    const char* name;
    QAction* frmGraph::*item;
    std::optional<int32_t> answer;  // scripted for a colour dialog
    bool dialog;                    // a colour dialog was opened
    bool rebuilt;
    int32_t crossColour;
    bool crosses, axes;
    bool xyChecked, xyEnabled, xyColourEnabled, axesColourEnabled, axesChecked;
  };
  const Step steps[] = {
      {"XY-Plane off", &frmGraph::mnuXY, std::nullopt, false, true, grey, false, true, false, true,
       false, true, true},
      {"Color XY Plane without the plane", &frmGraph::mnuXYPlane, 0x00FFFF, false, false, grey,
       false, true, false, true, false, true, true},
      {"XY-Plane on", &frmGraph::mnuXY, std::nullopt, false, true, grey, true, true, true, true,
       true, true, true},
      {"Color XY Plane", &frmGraph::mnuXYPlane, 0x00FFFF, true, true, 0x00FFFF, true, true, true,
       true, true, true, true},
      {"Display Axes off", &frmGraph::mnuDisplayAxes, std::nullopt, false, true, 0x00FFFF, false,
       false, false, false, false, false, false},
      {"Display Axes on", &frmGraph::mnuDisplayAxes, std::nullopt, false, true, 0x00FFFF, true,
       true, true, true, true, true, true},
  };
  Rebuilt();
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    ui_.colors = {s.answer};
    ui_.colorRequests.clear();
    (w.*s.item)->trigger();
    EXPECT_EQ(!ui_.colorRequests.empty(), s.dialog);
    EXPECT_EQ(Rebuilt(), s.rebuilt);
    EXPECT_EQ(ms::Settings.XYPlaneColor, s.crossColour);
    EXPECT_EQ(CountSegments(s.crossColour, true) > 0, s.crosses);
    EXPECT_EQ(CountStructure() > 0, s.axes);
    if (!s.axes) {
      EXPECT_EQ(CountStructure(), 0);
    }
    EXPECT_EQ(w.mnuXY->isChecked(), s.xyChecked);
    EXPECT_EQ(w.mnuXY->isEnabled(), s.xyEnabled);
    EXPECT_EQ(w.mnuXYPlane->isEnabled(), s.xyColourEnabled);
    EXPECT_EQ(w.mnuAxes->isEnabled(), s.axesColourEnabled);
    EXPECT_EQ(w.mnuDisplayAxes->isChecked(), s.axesChecked);
    EXPECT_EQ(Graph.ShowAxes != 0, s.axesChecked);
  }
}

TEST_F(GraphMenusTest, AxesColourReachesTheAxisLines) {
  frmGraph& w = Run(kOneCurve);
  const int32_t chosen = 0x0000C0;
  ASSERT_EQ(CountSegments(chosen, true), 0);
  ui_.colors = {chosen};
  w.mnuAxes->trigger();
  EXPECT_EQ(ms::Settings.AxesColor, chosen);
  EXPECT_EQ(ms::Settings.AxesR, 192);
  EXPECT_EQ(ms::Settings.AxesG, 0);
  EXPECT_EQ(ms::Settings.AxesB, 0);
  EXPECT_EQ(Graph.AxesRGBChosen, (std::array<int32_t, 3>{192, 0, 0}));
  // The axis lines of x and y (and z where the scene has depth) take the colour.
  EXPECT_GE(CountSegments(chosen, true), 2);
  EXPECT_LE(CountSegments(chosen, true), 3);
  // A cancel keeps the colour, and the rebuild still runs.
  Rebuilt();
  w.mnuAxes->trigger();
  EXPECT_TRUE(Rebuilt());
  EXPECT_EQ(ms::Settings.AxesColor, chosen);
}

TEST_F(GraphMenusTest, AngleStepMovesOnlyWhenTheOtherStepIsChecked) {
  frmGraph& w = Load();
  const double one = 3.1415926536 / 180, two = 6.2831853072 / 180;
  struct Step {
    QAction* frmGraph::*item;
    double stepBefore;  // AngleStep set before the click
    double stepAfter;
    bool oneChecked;
  };
  const Step steps[] = {
      {&frmGraph::mnu2Deg, 99, 99, false},  // already checked: nothing moves
      {&frmGraph::mnu1Deg, 99, one, true},
      {&frmGraph::mnu1Deg, 99, 99, true},
      {&frmGraph::mnu2Deg, 99, two, false},
  };
  int n = 0;
  Rebuilt();
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    ms::View.AngleStep = s.stepBefore;
    (w.*s.item)->trigger();
    EXPECT_EQ(ms::View.AngleStep, s.stepAfter);
    EXPECT_EQ(w.mnu1Deg->isChecked(), s.oneChecked);
    EXPECT_EQ(w.mnu2Deg->isChecked(), !s.oneChecked);
    EXPECT_FALSE(Rebuilt());
  }
}

TEST_F(GraphMenusTest, BoxItemsAddAndRemoveTheTwelveEdges) {
  frmGraph& w = Run(kOneCurve);
  const double without = ms::Scene.SegmentCountD;
  struct Step {
    QAction* frmGraph::*item;
    int16_t showBox;
    double added;
  };
  const Step steps[] = {{&frmGraph::mnuYes, -1, 12},
                        {&frmGraph::mnuYes, -1, 12},
                        {&frmGraph::mnuNo, 0, 0},
                        {&frmGraph::mnuYes, -1, 12}};
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    ms::RunFlags.Replot = 0;
    (w.*s.item)->trigger();
    EXPECT_EQ(ms::View.ShowBox, s.showBox);
    EXPECT_EQ(w.mnuYes->isChecked(), s.showBox != 0);
    EXPECT_EQ(w.mnuNo->isChecked(), s.showBox == 0);
    // A full rebuild: the build is not asked to redraw stored solutions.
    EXPECT_EQ(ms::RunFlags.Replot, 0);
    ASSERT_EQ(ms::Scene.SegmentCountD, without + s.added);
    for (int i = 0; i < static_cast<int>(s.added); ++i) {
      const ms::SegmentRow& row = ms::Scene.SegmentTable[static_cast<int>(without) + i];
      EXPECT_TRUE(HasColour(row, {128, 128, 128})) << "edge " << i;
    }
  }
}

TEST_F(GraphMenusTest, DotSpacingItemsMarkEveryNthPoint) {
  frmGraph& w = Run(kOneCurve);
  EXPECT_TRUE(DotMarksX().empty());
  struct Step {
    QAction* frmGraph::*item;
    int spacing;  // 0: marks off
  };
  const Step steps[] = {
      {&frmGraph::mnuDot10, 10},  {&frmGraph::mnuDot20, 20},   {&frmGraph::mnuDot50, 50},
      {&frmGraph::mnuDotNone, 0}, {&frmGraph::mnuDot100, 100},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.spacing);
    // A stale mark far above the scene is cleared with every other.
    ms::Scene.SegmentTable[31000][ms::kDotMark] = 1.0;
    ms::Scene.SegmentTable[31000][ms::kSegKind] = 1.0;
    ms::Scene.SegmentTable[31000][ms::kLimitMarkKind] = 2.0;
    (w.*s.item)->trigger();
    EXPECT_EQ(ms::Scene.SegmentTable[31000][ms::kDotMark], 0);
    EXPECT_EQ(ms::Scene.SegmentTable[31000][ms::kSegKind], 0);
    EXPECT_EQ(ms::Scene.SegmentTable[31000][ms::kLimitMarkKind], 0);
    EXPECT_EQ(ms::CurveWork.DotSpacingOn != 0, s.spacing != 0);
    if (s.spacing != 0) {
      EXPECT_EQ(ms::CurveWork.DotSpacing, s.spacing);
    }
    for (QAction* item :
         {w.mnuDotNone, w.mnuDot10, w.mnuDot20, w.mnuDot50, w.mnuDot100, w.mnuCustom}) {
      EXPECT_EQ(item->isChecked(), item == w.*s.item) << item->text().toStdString();
    }
    // Points 0, n, 2n, ... of the curve carry a mark.
    const std::vector<double> xs = DotMarksX();
    const size_t expected = s.spacing == 0 ? 0 : kCurveSteps / s.spacing + 1;
    ASSERT_EQ(xs.size(), expected);
    for (size_t j = 0; j < xs.size(); ++j) {
      EXPECT_NEAR(xs[j], kCurveStart + kCurveStep * s.spacing * static_cast<double>(j), 1e-3);
    }
  }
}

TEST_F(GraphMenusTest, CustomSpacingComesFromTheDotSpacingWindow) {
  frmGraph& w = Run(kOneCurve);
  struct Case {
    const char* typed;
    bool save;
    int16_t spacing;
    size_t marks;
  };
  const Case cases[] = {
      {"-2.5", true, 3, kCurveSteps / 3 + 1},
      {"8", false, 3, kCurveSteps / 3 + 1},  // discarded: the spacing before stays on
      {"abc", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QTimer::singleShot(0, [&c] {
      frmDotSpacing* window = frmDotSpacing::Instance();
      ASSERT_NE(window, nullptr);
      window->Text1->setText(QString::fromLatin1(c.typed));
      (c.save ? window->cmdSave : window->cmdDiscard)->click();
    });
    w.mnuCustom->trigger();
    EXPECT_EQ(frmDotSpacing::Instance(), nullptr);
    // Switched off, the spacing is left to the curve builder's own default.
    if (c.marks != 0) {
      EXPECT_EQ(ms::CurveWork.DotSpacing, c.spacing);
    }
    EXPECT_EQ(ms::CurveWork.DotSpacingOn != 0, c.marks != 0);
    EXPECT_TRUE(w.mnuCustom->isChecked());
    EXPECT_FALSE(w.mnuDotNone->isChecked());
    EXPECT_EQ(DotMarksX().size(), c.marks);
  }
}

TEST_F(GraphMenusTest, SymbolItemsChooseTheMarkDrawn) {
  frmGraph& w = Run(kOneCurve);
  w.mnuDisplayAxes_Click();  // no axes and crosses: only the curve and its marks
  w.mnuDot_Click(10);
  const int32_t plusGrey = 0x808080, otherGrey = 0x646464;
  struct Step {
    QAction* frmGraph::*item;
    bool plus;
  };
  const Step steps[] = {{&frmGraph::mnuPSymbol, true},
                        {&frmGraph::mnuXSymbol, false},
                        {&frmGraph::mnuOSymbol, false},
                        {&frmGraph::mnuPSymbol, true}};
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    ms::Scene.SegmentTable[31000][ms::kDotMark] = 1.0;
    (w.*s.item)->trigger();
    EXPECT_EQ(ms::Scene.SegmentTable[31000][ms::kDotMark], 0);
    for (QAction* item : {w.mnuOSymbol, w.mnuPSymbol, w.mnuXSymbol}) {
      EXPECT_EQ(item->isChecked(), item == w.*s.item);
    }
    EXPECT_EQ(DotMarksX().size(), static_cast<size_t>(kCurveSteps / 10 + 1));
    const QImage& image = w.Display().Image();
    EXPECT_EQ(CountPixels(image, plusGrey) > 0, s.plus);
    EXPECT_EQ(CountPixels(image, otherGrey) > 0, !s.plus);
  }
}

TEST_F(GraphMenusTest, ColourCodingAndPenOnlyMoveTheirMarks) {
  frmGraph& w = Load();
  struct Step {
    QAction* frmGraph::*item;
    int16_t colourCode;
    int16_t finePen;
    int drawWidth;
  };
  const Step steps[] = {
      {&frmGraph::mnuCodeNo, 0, 0, -1},   {&frmGraph::mnuCodeNo, 0, 0, -1},
      {&frmGraph::mnuCodeYes, -1, 0, -1}, {&frmGraph::mnuFine, -1, -1, 1},
      {&frmGraph::mnuFine, -1, -1, 1},    {&frmGraph::mnuMedium, -1, 0, 4},
  };
  EXPECT_TRUE(w.mnuCodeYes->isChecked());
  EXPECT_FALSE(w.mnuCodeNo->isChecked());
  // "Color Code Plots?" stands between the family set-up and "Generate Curves".
  const QList<QAction*> family = w.mnuFamily->actions();
  const auto at = [&family](QAction* a) { return family.indexOf(a); };
  EXPECT_GE(at(w.mnuColorCode->menuAction()), 0);
  if (w.mnuFamilySetUp != nullptr && w.mnuPlotSet != nullptr) {
    EXPECT_EQ(at(w.mnuColorCode->menuAction()), at(w.mnuFamilySetUp) + 1);
    EXPECT_EQ(at(w.mnuPlotSet), at(w.mnuColorCode->menuAction()) + 1);
  }
  int n = 0;
  Rebuilt();
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    (w.*s.item)->trigger();
    EXPECT_EQ(ms::CurveWork.FamilyColorCode, s.colourCode);
    EXPECT_EQ(w.mnuCodeYes->isChecked(), s.colourCode != 0);
    EXPECT_EQ(w.mnuCodeNo->isChecked(), s.colourCode == 0);
    EXPECT_EQ(Graph.FinePen, s.finePen);
    EXPECT_EQ(w.mnuFine->isChecked(), s.finePen != 0);
    EXPECT_EQ(w.mnuMedium->isChecked(), s.finePen == 0);
    if (s.drawWidth > 0) {
      EXPECT_EQ(w.Display().DrawWidth, s.drawWidth);
    }
    EXPECT_FALSE(Rebuilt());
  }
}

int g_builds = 0;
std::function<void()> g_duringBuild;
void RecordingBuild(rt::Text&, int16_t, int16_t& msgNo) {
  ++g_builds;
  if (g_duringBuild) g_duringBuild();
  msgNo = 0;
}

TEST_F(GraphMenusTest, ItemsThatRebuildWaitForNoBuild) {
  g_builds = 0;
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = RecordingBuild;
  frmGraph& w = Load();
  ASSERT_EQ(g_builds, 1);
  // Items chosen while the command lets events run are dropped.
  g_duringBuild = [&w] {
    w.mnuPlot_Click(1);
    w.mnuAxes_Click();
    w.mnuDisplayAxes_Click();
    w.mnuYes_Click();
    w.mnuDot_Click(10);
    w.mnuSymbol_Click(w.mnuXSymbol);
  };
  w.cmdUpdate_Click();
  g_duringBuild = nullptr;
  EXPECT_EQ(g_builds, 2);
  EXPECT_TRUE(ui_.colorRequests.empty());
  EXPECT_NE(Graph.ShowAxes, 0);
  EXPECT_EQ(ms::View.ShowBox, 0);
  EXPECT_EQ(ms::CurveWork.DotSpacingOn, 0);
  EXPECT_TRUE(w.mnuOSymbol->isChecked());
  // Outside a build they act; a spacing that has no item does nothing.
  w.mnuDot_Click(30);
  EXPECT_EQ(ms::CurveWork.DotSpacingOn, 0);
  EXPECT_EQ(g_builds, 2);
  w.mnuDot_Click(20);
  EXPECT_EQ(ms::CurveWork.DotSpacing, 20);
  EXPECT_EQ(g_builds, 3);
}

TEST_F(GraphMenusTest, WorksheetPresetColoursLoadTheGraphWindowForTheDialog) {
  ws::frmCalcInput& sheet = Sheet();
  sheet.show();
  struct Step {
    const char* name;
    std::function<void()> choose;
    std::optional<int32_t> answer;
    std::function<void()> check;
  };
  const std::array<int32_t, 7> usedBefore = ms::Settings.PlotColorUsed;
  const Step steps[] = {
      {"plot 3", [&sheet] { sheet.mnuPreSetPlot[3]->trigger(); }, 0x010203,
       [] {
         EXPECT_EQ(ms::Settings.PlotColor[3], 0x010203);
         EXPECT_EQ(ms::Settings.PlotColorUsed[3], 0x010203);
       }},
      {"plot 4 cancelled", [&sheet] { sheet.mnuPreSetPlot[4]->trigger(); }, std::nullopt,
       [&usedBefore] { EXPECT_EQ(ms::Settings.PlotColorUsed[4], usedBefore[4]); }},
      {"grid", [&sheet] { sheet.mnuPreSetGrid->trigger(); }, 0x00FF00,
       [] { EXPECT_EQ(ms::Settings.XYPlaneColor, 0x00FF00); }},
      {"axes", [&sheet] { sheet.mnuPreSetAxes->trigger(); }, 0x302010,
       [] {
         EXPECT_EQ(ms::Settings.AxesColor, 0x302010);
         EXPECT_EQ(ms::Settings.AxesR, 0x10);
         EXPECT_EQ(ms::Settings.AxesG, 0x20);
         EXPECT_EQ(ms::Settings.AxesB, 0x30);
       }},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    ui_.colors = {s.answer};
    ui_.colorRequests.clear();
    s.choose();
    // A graph window fresh from its load: the dialog starts from black.
    ASSERT_EQ(ui_.colorRequests.size(), 1u);
    EXPECT_EQ(ui_.colorRequests[0], 0);
    s.check();
    EXPECT_EQ(GraphWindow(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(ms::Settings.ColorChanged, -1);
  }
}

void FailingBuild(rt::Text&, int16_t, int16_t&) {
  throw std::overflow_error("Overflow");
}

TEST_F(GraphMenusTest, APresetColourAfterAFailedLoadOpensNoDialog) {
  ws::frmCalcInput& sheet = Sheet();
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = FailingBuild;
  ui_.answers = {ui::kAnswerOk, ui::kAnswerNo};  // the error box, then no rescue save
  ui_.colors = {0x123456};
  const int32_t before = ms::Settings.PlotColorUsed[2];
  sheet.mnuPreSetPlot[2]->trigger();
  EXPECT_EQ(ui_.endProgramCalls, 1);
  EXPECT_TRUE(ui_.colorRequests.empty());
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], before);
}

}  // namespace
}  // namespace gr::testing
