// Families of curves: the assignment search and rewrite, the set-up window's boxes, and the
// member loop from a worksheet to the picture: one curve per member, each in its colour, the
// worksheet rewritten per member, the messages of bad input and the ways the loop stops.
#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <map>

#include "GraphTestSupport.h"
#include "graph/frmFamilyPlots.h"
#include "graph/frmSetDisplay.h"
#include "mathematics/MathVector.h"
#include "numerics/BvpTrials.h"

namespace gr::testing {
namespace {

// ---------------------------------------------------------------------------------------------
// The assignment search

TEST(FindAssignmentTest, FindsTheFirstAssignmentOfANumberToTheIdentifier) {
  struct Case {
    const char16_t* text;
    const char16_t* id;
    const char16_t* pattern;
    bool found;
    long pos;
    const char16_t* span;
    const char16_t* number;
  };
  const char16_t* fam = kFamilyNumberPattern;
  const char16_t* frm = kFrameNumberPattern;
  const Case cases[] = {
      {u"m = 10\r\nF{x} = m*x\r\n", u"m", fam, true, 1, u"m = 10", u"10"},
      {u"k = 2\r\n", u"k", fam, true, 1, u"k = 2", u"2"},
      {u"ka = 1\r\n", u"k", fam, false, 0, u"", u""},
      // The first k makes the candidate kk and fails; the second k matches the tail.
      {u"kk=1\r\n", u"k", fam, true, 2, u"k=1", u"1"},
      {u"k = b\r\n", u"k", fam, true, 1, u"k = ", u""},
      {u"k = 1.5E-3\r\n", u"k", fam, true, 1, u"k = 1.5E-3", u"1.5E-3"},
      {u"k = 1.5e-3\r\n", u"k", fam, true, 1, u"k = 1.5", u"1.5"},
      // The character before the identifier is not looked at.
      {u"ba = 3\r\n", u"a", fam, true, 2, u"a = 3", u"3"},
      {u"a = 1,5\r\n", u"a", fam, true, 1, u"a = 1,5", u"1,5"},
      {u"a = 1,5\r\n", u"a", frm, true, 1, u"a = 1", u"1"},
      {u"ab = 2\r\na = 4\r\n", u"a", fam, true, 9, u"a = 4", u"4"},
      {u"a = 1\r\n", u"ab", fam, false, 0, u"", u""},
      {u"x = 1\r\nab  =  -2 \r\n", u"ab", fam, true, 8, u"ab  =  -2", u"-2"},
      // A use of the constant before its assignment is passed over.
      {u"F{x} = k*x\r\nk = 7\r\n", u"k", fam, true, 13, u"k = 7", u"7"},
      // Scans end with the text.
      {u"k =", u"k", fam, true, 1, u"k =", u""},
      {u"k", u"k", fam, false, 0, u"", u""},
      {u"", u"k", fam, false, 0, u"", u""},
      {u"k = 1", u"", fam, false, 0, u"", u""},
      // Comparisons are exact: an upper-case K is another name.
      {u"K = 1\r\n", u"k", fam, false, 0, u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text) + " / " + rt::ToUtf8(c.id));
    const AssignmentMatch m = FindAssignment(c.text, c.id, c.pattern);
    EXPECT_EQ(m.found, c.found);
    if (!c.found) continue;
    EXPECT_EQ(m.pos, c.pos);
    EXPECT_EQ(m.span, rt::Text(c.span));
    EXPECT_EQ(m.numberText, rt::Text(c.number));
    // The span is exactly the text at pos.
    EXPECT_EQ(rt::Mid(c.text, m.pos, rt::Len(m.span)), m.span);
  }
}

TEST(FindAssignmentTest, RewriteReplacesExactlyTheSpan) {
  struct Case {
    const char16_t* text;
    long pos;
    const char16_t* span;
    const char16_t* assignment;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"m = 10\r\nF{x} = m*x\r\n", 1, u"m = 10", u"m=12.5", u"m=12.5\r\nF{x} = m*x\r\n"},
      {u"x = 1\r\nk = 2\r\nP", 8, u"k = 2", u"k=-0.25", u"x = 1\r\nk=-0.25\r\nP"},
      {u"k = 1.5e-3", 1, u"k = 1.5", u"k=2", u"k=2e-3"},
      {u"kk=1", 2, u"k=1", u"k=4", u"kk=4"},
      // A span reaching beyond the text takes what is there and no more.
      {u"ab", 2, u"b=123", u"b=1", u"ab=1"},
      {u"ab", 9, u"b=1", u"c=2", u"abc=2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text));
    EXPECT_EQ(RewriteAssignment(c.text, c.pos, c.span, c.assignment), rt::Text(c.expected));
  }
}

TEST(FindAssignmentTest, TotalsAndCounts) {
  struct Case {
    const char16_t* typed;
    const char16_t* stored;
    int count;
  };
  const Case cases[] = {
      {u"", u"5", 5},     {u"abc", u"5", 5},     {u"0.5", u"5", 5},       {u"-3", u"5", 5},
      {u"1", u"1", 5},    {u"2", u"2", 2},       {u"2.5", u"2.5", 2},     {u"3.5", u"3.5", 4},
      {u"20", u"20", 20}, {u"1E2", u"1E2", 100}, {u"40000", u"40000", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.typed));
    const rt::Text stored = FamilyTotalOf(c.typed);
    EXPECT_EQ(stored, rt::Text(c.stored));
    EXPECT_EQ(FamilyCountOf(stored), c.count);
  }
  EXPECT_EQ(AssignmentText(u"k", 2.25), u"k=2.25");
  EXPECT_EQ(AssignmentText(u"ab", -0.5), u"ab=-0.5");
}

// ---------------------------------------------------------------------------------------------
// The set-up window and the member loop

constexpr char kWorksheet[] = "k = 2\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n";

bool StartsWith(const rt::Text& text, const rt::Text& head) {
  return text.compare(0, head.size(), head) == 0;
}

struct MemberCurve {
  int segments = 0;
  double yMax = -1e300;
};

class FamilyTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetFamilySettings();
  }

  frmGraph* Open(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    return GraphWindow();
  }

  // "Set Up", the four boxes typed, then Save (or Cancel).
  frmFamilyPlots& Configure(frmGraph& w, const char* id, const char* start, const char* end,
                            const char* total, bool save = true) {
    w.mnuFamilySetUp_Click();
    frmFamilyPlots* f = frmFamilyPlots::Instance();
    EXPECT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    f->txtConstIDCurv->setText(QString::fromUtf8(id));
    f->txtStartCurv->setText(QString::fromUtf8(start));
    f->txtEndCurv->setText(QString::fromUtf8(end));
    f->txtTotalCtCurv->setText(QString::fromUtf8(total));
    if (save) {
      f->cmdSave_Click();
    } else {
      f->cmdCancel_Click();
    }
    EXPECT_FALSE(f->isVisible());
    return *f;
  }

  // The curve segments from a row on, grouped by colour (packed RGB). Runs switch the axes off,
  // so that no grid cross or axis letter is taken for a curve.
  static std::map<int32_t, MemberCurve> CurvesFrom(int firstRow) {
    std::map<int32_t, MemberCurve> curves;
    for (int i = firstRow; i < ms::Scene.SegmentCountD; ++i) {
      const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
      if (r[ms::kSegKind] == ms::kSegStructure) continue;
      const int32_t colour = rt::RGB(static_cast<int>(r[ms::kRed]), static_cast<int>(r[ms::kGreen]),
                                     static_cast<int>(r[ms::kBlue]));
      MemberCurve& c = curves[colour];
      ++c.segments;
      for (double row : {r[ms::kStartPoint], r[ms::kEndPoint]}) {
        c.yMax = std::max(c.yMax, ms::Scene.VertexXYZ[static_cast<int>(row)][1]);
      }
    }
    return curves;
  }

  // Curve segments of the picture before a run: one curve.
  static int CurveSegments() {
    int n = 0;
    for (const auto& [colour, c] : CurvesFrom(0)) n += c.segments;
    return n;
  }

  static int32_t CurveColour(int member) {
    int16_t r = 0, g = 0, b = 0;
    ms::GetCurveColor(static_cast<int16_t>(member), r, g, b);
    return rt::RGB(r, g, b);
  }
};

TEST_F(FamilyTest, SetUpWindowCopiesEveryBoxAndPutsThePreviousSetBack) {
  frmGraph* w = Open(kWorksheet);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->mnuPlotSet->isEnabled());
  ms::RunFlags.StopFamily = -1;
  Graph.PlotLimitReached = -1;
  w->mnuFamilySetUp_Click();
  frmFamilyPlots* f = frmFamilyPlots::Instance();
  ASSERT_NE(f, nullptr);
  // Its load: on top at its place, the stop flag and the replot flag cleared.
  const auto topmostCount = [&] {
    return std::count(ui_.topmost.begin(), ui_.topmost.end(),
                      static_cast<ui::WindowHandle>(static_cast<QWidget*>(f)));
  };
  EXPECT_EQ(topmostCount(), 1);
  EXPECT_EQ(f->pos(), QPoint(100, 67));
  EXPECT_EQ(ms::RunFlags.StopFamily, 0);
  EXPECT_EQ(ms::RunFlags.Replot, 0);
  EXPECT_NE(Graph.OverlayMode, 0);
  EXPECT_EQ(Graph.PlotLimitReached, 0);
  EXPECT_TRUE(f->isModal());
  for (const QLineEdit* box :
       {f->txtConstIDCurv, f->txtStartCurv, f->txtEndCurv, f->txtTotalCtCurv}) {
    EXPECT_TRUE(box->text().isEmpty());
  }

  f->txtConstIDCurv->setText(QStringLiteral("k"));
  f->txtStartCurv->setText(QStringLiteral("0"));
  f->txtEndCurv->setText(QStringLiteral("1"));
  struct TotalCase {
    const char* typed;
    const char16_t* stored;
  };
  const TotalCase totals[] = {{"7", u"7"}, {"", u"5"}, {"x", u"5"}, {"0.9", u"5"}, {"12", u"12"}};
  for (const TotalCase& c : totals) {
    SCOPED_TRACE(c.typed);
    f->txtTotalCtCurv->setText(QString::fromUtf8(c.typed));
    EXPECT_EQ(Family.FamilyTotal, rt::Text(c.stored));
  }
  EXPECT_EQ(Family.FamilyConstID, u"k");
  EXPECT_EQ(Family.RangeStart, u"0");
  EXPECT_EQ(Family.RangeEnd, u"1");

  // "Previous Set" writes the four settings back in place of what was typed since.
  for (QLineEdit* box : {f->txtConstIDCurv, f->txtStartCurv, f->txtEndCurv, f->txtTotalCtCurv}) {
    box->blockSignals(true);
    box->setText(QStringLiteral("zz"));
    box->blockSignals(false);
  }
  f->cmdEnter_Click();
  EXPECT_EQ(f->txtConstIDCurv->text(), QStringLiteral("k"));
  EXPECT_EQ(f->txtStartCurv->text(), QStringLiteral("0"));
  EXPECT_EQ(f->txtEndCurv->text(), QStringLiteral("1"));
  EXPECT_EQ(f->txtTotalCtCurv->text(), QStringLiteral("12"));

  // Save enables "Generate Curves" and Return; Cancel disables it and sets the stop flag. Both
  // hide the window, which stays loaded.
  f->cmdCancel->setEnabled(false);
  f->cmdSave_Click();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(f->cmdCancel->isEnabled());  // enabled again when the window closed
  EXPECT_TRUE(w->mnuPlotSet->isEnabled());
  EXPECT_TRUE(w->cmdReturn->isEnabled());
  w->mnuFamilySetUp_Click();
  EXPECT_EQ(frmFamilyPlots::Instance(), f);
  f->cmdCancel_Click();
  EXPECT_FALSE(f->isVisible());
  EXPECT_FALSE(w->mnuPlotSet->isEnabled());
  EXPECT_NE(ms::RunFlags.StopFamily, 0);
  EXPECT_EQ(topmostCount(), 1);  // loaded once
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(FamilyTest, EveryMemberIsOneCurveInItsColourOrInPlotColourOne) {
  struct Case {
    const char* name;
    bool colourCoded;
    const char* total;
    int members;
    double step;
    const char16_t* lastAssignment;
  };
  const Case cases[] = {
      {"five coded", true, "5", 5, 0.25, u"k=3"},
      {"five in plot colour #1", false, "5", 5, 0.25, u"k=3"},
      {"one becomes five", true, "1", 5, 0.25, u"k=3"},
      {"twenty become ten", true, "20", 10, 1.0 / 19, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    ResetFamilySettings();
    frmGraph* w = Open(kWorksheet);
    ASSERT_NE(w, nullptr);
    const int perCurve = CurveSegments();
    ASSERT_GE(perCurve, 10);
    ms::CurveWork.FamilyColorCode = c.colourCoded ? -1 : 0;
    Graph.ShowAxes = 0;
    Configure(*w, "k", "0", "1", c.total);
    const int firstRow = static_cast<int>(ms::Scene.SegmentCountD);
    frmSetDisplay& options = frmSetDisplay::Load();
    w->mnuPlotSet_Click();
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_NE(Graph.FamilyMode, 0);
    // The display options' time block now lists the members.
    EXPECT_EQ(options.Frame2->title(), QStringLiteral("Parameter Set"));
    EXPECT_EQ(Family.FamilyCount, FamilyCountOf(Family.FamilyTotal));
    EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
    EXPECT_FALSE(w->cmdReturn->isHidden());

    // Members start at the worksheet's 2 and step by (end - start) / (count - 1).
    for (int k = 1; k <= c.members; ++k) {
      EXPECT_NEAR(Family.FamilyValues[static_cast<size_t>(k - 1)], 2 + (k - 1) * c.step, 1e-12)
          << "member " << k;
    }
    const std::map<int32_t, MemberCurve> curves = CurvesFrom(firstRow);
    if (c.colourCoded) {
      ASSERT_EQ(curves.size(), static_cast<size_t>(c.members));
      for (int k = 1; k <= c.members; ++k) {
        SCOPED_TRACE(k);
        const auto it = curves.find(CurveColour(k));
        ASSERT_NE(it, curves.end());
        EXPECT_EQ(it->second.segments, perCurve);
        // y = k t reaches the member's value at t = 1.
        const double value = Family.FamilyValues[static_cast<size_t>(k - 1)];
        EXPECT_NEAR(it->second.yMax, value, 1e-6 * value);
        const auto slot = static_cast<size_t>(k - 1);
        EXPECT_EQ(rt::RGB(ms::CurveWork.FamilyRed[slot], ms::CurveWork.FamilyGreen[slot],
                          ms::CurveWork.FamilyBlue[slot]),
                  CurveColour(k));
      }
    } else {
      const int32_t plotColour = ms::Settings.PlotColorUsed[1];
      ASSERT_EQ(curves.size(), 1u);
      ASSERT_EQ(curves.begin()->first, plotColour);
      EXPECT_EQ(curves.begin()->second.segments, c.members * perCurve);
      EXPECT_NEAR(curves.begin()->second.yMax, 3.0, 1e-6);
      for (size_t slot = 0; slot < static_cast<size_t>(c.members); ++slot) {
        EXPECT_EQ(rt::RGB(ms::CurveWork.FamilyRed[slot], ms::CurveWork.FamilyGreen[slot],
                          ms::CurveWork.FamilyBlue[slot]),
                  plotColour);
      }
    }
    // The worksheet keeps the last member's assignment, the rest as it was.
    const rt::Text last = c.lastAssignment != nullptr
                              ? rt::Text(c.lastAssignment)
                              : AssignmentText(u"k", Family.FamilyValues[9]);
    EXPECT_EQ(Sheet().WorksheetText(), last + u"\r\nA<t> = <t, k*t, 0>\r\nPlot[A, {t,0,1,10}]\r\n");
    EXPECT_TRUE(Sheet().IsChanged());
    w->cmdReturn_Click();
    ReleaseGraphWindow();
  }
}

TEST_F(FamilyTest, BadInputGivesItsMessageAndChangesNothing) {
  struct Case {
    const char* name;
    const char* id;
    const char* start;
    const char* end;
    const char16_t* message;
    bool pictureCleared;
  };
  const Case cases[] = {
      {"no identifier", "", "0", "1", u"Please enter a constant Identifier to vary.", false},
      {"start not a number", "k", "a", "1",
       u"The start constant and end constant must be directly assigned to numbers.", false},
      {"end empty", "k", "0", "",
       u"The start constant and end constant must be directly assigned to numbers.", false},
      {"same values", "k", "1.5", "1.50", u"Begining and ending values are the same.", false},
      {"not in the worksheet", "q", "0", "1",
       u"Requested constant not located or the constant not directly set to a number.", true},
      {"not a number", "m", "0", "1",
       u"Requested constant located with no direct numeric assignment.", true},
      {"tail of a longer name", "a", "0", "1",
       u"Requested constant located with no direct numeric assignment.", true},
  };
  const char* worksheet = "k = 2\nm = k\nba = k\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    ResetFamilySettings();
    frmGraph* w = Open(worksheet);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ui_.boxes.empty());
    const rt::Text before = Sheet().WorksheetText();
    const double segments = ms::Scene.SegmentCountD;
    Configure(*w, c.id, c.start, c.end, "5");
    w->mnuPlotSet_Click();
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, rt::Text(c.message));
    EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
    EXPECT_EQ(Sheet().WorksheetText(), before);
    EXPECT_EQ(Graph.FamilyMode, 0);
    EXPECT_EQ(ms::Scene.SegmentCountD, segments);
    EXPECT_FALSE(w->cmdReturn->isHidden());
    // The first three checks come before the picture is cleared, the last two after.
    bool painted = false;
    const QImage& image = w->Display().Image();
    for (int y = 0; y < image.height() && !painted; y += 2) {
      for (int x = 0; x < image.width() && !painted; x += 2) {
        painted = (image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
      }
    }
    EXPECT_EQ(painted, !c.pictureCleared);
    w->cmdReturn_Click();
    ReleaseGraphWindow();
  }
}

TEST_F(FamilyTest, TheLoopStopsBeforeTheNextMember) {
  struct Case {
    const char* name;
    const char* worksheet;
    int stopAfter;  // members built before the stop
    bool byCancel;  // Cancel in the set-up window, else the point space of plot #1
  };
  const Case cases[] = {
      {"cancel after member 2", kWorksheet, 2, true},
      {"cancel after member 4", kWorksheet, 4, true},
      {"plot #1 out of space", "k = 2\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,4500}]\n", 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    ResetFamilySettings();
    Graph.PlotLimitReached = 0;
    frmGraph* w = Open(c.worksheet);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ui_.boxes.empty());
    ms::CurveWork.FamilyColorCode = -1;
    Graph.ShowAxes = 0;
    frmFamilyPlots& f = Configure(*w, "k", "0", "1", "5");
    const int firstRow = static_cast<int>(ms::Scene.SegmentCountD);
    if (c.byCancel) {
      // The user opens the set-up window again while the loop runs and cancels it.
      ui_.onDoEvents = [&] {
        if (ms::CurveWork.FamilyMember == c.stopAfter && f.cmdCancel->isEnabled() &&
            ms::RunFlags.StopFamily == 0) {
          w->mnuFamilySetUp_Click();
          f.cmdCancel_Click();
        }
      };
    }
    w->mnuPlotSet_Click();
    ui_.onDoEvents = nullptr;
    if (!c.byCancel) {
      ASSERT_EQ(ui_.boxes.size(), 1u);
      EXPECT_EQ(ui_.boxes[0].text,
                u"Space exceeds upper limit for plot #1. Try and reduce number of points to plot.");
    } else {
      EXPECT_TRUE(ui_.boxes.empty());
      EXPECT_FALSE(w->mnuPlotSet->isEnabled());
    }
    const std::map<int32_t, MemberCurve> curves = CurvesFrom(firstRow);
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(curves.count(CurveColour(k)) != 0, k <= c.stopAfter) << "member " << k;
    }
    const double value = 2 + (c.stopAfter - 1) * 0.25;
    EXPECT_TRUE(StartsWith(Sheet().WorksheetText(), AssignmentText(u"k", value) + u"\r\n"));
    // The window is handed back: Return shown and enabled, members no longer coloured.
    EXPECT_FALSE(w->cmdReturn->isHidden());
    EXPECT_TRUE(w->cmdReturn->isEnabled());
    EXPECT_TRUE(w->cmdExit->isEnabled());
    EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
    EXPECT_FALSE(w->LoopRunning());
    w->cmdReturn_Click();
    ReleaseGraphWindow();
  }
}

TEST_F(FamilyTest, ReturnWhileTheLoopLetsEventsRunEndsTheLoop) {
  frmGraph* w = Open(kWorksheet);
  ASSERT_NE(w, nullptr);
  Configure(*w, "k", "0", "1", "5");
  int returns = 0;
  ui_.onDoEvents = [&] {
    if (ms::CurveWork.FamilyMember == 2 && GraphWindow() != nullptr) {
      w->cmdReturn_Click();
      ++returns;
    }
  };
  w->mnuPlotSet_Click();
  ui_.onDoEvents = nullptr;
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(GraphWindow(), nullptr);
  EXPECT_TRUE(Sheet().isVisible());
  // No member after the second was put into the worksheet.
  EXPECT_TRUE(StartsWith(Sheet().WorksheetText(), u"k=2.25\r\n"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frmFamilyPlots::Instance(), nullptr);
}

TEST_F(FamilyTest, ARunAfterACancelledOneIsNotHeldBack) {
  frmGraph* w = Open(kWorksheet);
  ASSERT_NE(w, nullptr);
  Graph.ShowAxes = 0;
  frmFamilyPlots& f = Configure(*w, "k", "0", "1", "5", false);
  EXPECT_NE(ms::RunFlags.StopFamily, 0);
  w->mnuFamilySetUp_Click();
  f.cmdSave_Click();
  const int firstRow = static_cast<int>(ms::Scene.SegmentCountD);
  w->mnuPlotSet_Click();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(CurvesFrom(firstRow).size(), 5u);
  EXPECT_TRUE(StartsWith(Sheet().WorksheetText(), u"k=3\r\n"));
}

TEST_F(FamilyTest, AWorksheetErrorInAMemberIsShownAndTheLoopGoesOn) {
  // Members k = 1, 0, -1: the integral over the empty range of k = 0 is refused by Execute.
  frmGraph* w =
      Open("k = 1\nF{x} = x\nc = Integ[F,{0,k,10,0}]\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(ui_.boxes.empty());
  Configure(*w, "k", "0", "-2", "3");
  w->mnuPlotSet_Click();
  ASSERT_FALSE(ui_.boxes.empty());
  EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
  EXPECT_TRUE(StartsWith(ui_.boxes[0].text, u"Statement # 3 : "));
  // The loop went on to the last member, whose worksheet executed cleanly: the integral of x
  // from 0 to -1 is 1/2.
  EXPECT_TRUE(StartsWith(Sheet().WorksheetText(), u"k=-1\r\n"));
  EXPECT_NEAR(Family.FamilyValues[2], -1.0, 1e-12);
  int16_t index = 0, msgNo = 0;
  ms::FindConstant(u"c_", index, msgNo);
  ASSERT_EQ(msgNo, 0);
  rt::Text value = ms::Tables.ConstTable[static_cast<size_t>(index)].ValueText;
  std::erase_if(value, [](char16_t ch) { return ch == u'(' || ch == u')'; });
  EXPECT_NEAR(rt::Val(value), 0.5, 1e-9);
  EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
  EXPECT_FALSE(w->cmdReturn->isHidden());
}

}  // namespace
}  // namespace gr::testing
