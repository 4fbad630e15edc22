// Families of curves: the assignment search and rewrite, the set-up window's boxes, and the
// member loop from a worksheet to the picture: one curve per member, each in its colour, the
// worksheet rewritten per member, the messages of bad input and the ways the loop stops.
#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "GraphTestSupport.h"
#include "graph/frmFamilyPlots.h"
#include "graph/frmSetDisplay.h"
#include "mathematics/MathVector.h"
#include "numerics/BvpTrials.h"

namespace gr::testing {
namespace {

// The first assignment of a number to the identifier, its span rewritten with a new assignment.
TEST(FindAssignmentTest, FindsAndRewritesTheFirstAssignmentOfANumber) {
  struct Case {
    const char16_t* text;
    const char16_t* id;
    const char16_t* pattern;
    long pos;  // 0: not found
    const char16_t* span;
    const char16_t* number;
    const char16_t* rewritten;  // the span replaced by "<id>=9"
  };
  const char16_t* fam = kFamilyNumberPattern;
  const Case cases[] = {
      {u"m = 10\r\nF{x} = m*x\r\n", u"m", fam, 1, u"m = 10", u"10", u"m=9\r\nF{x} = m*x\r\n"},
      {u"ka = 1\r\n", u"k", fam, 0, u"", u"", u""},
      {u"K = 1\r\n", u"k", fam, 0, u"", u"", u""},  // names are exact
      {u"k = 1", u"", fam, 0, u"", u"", u""},
      // The first k makes the candidate kk and fails; the second k matches the tail.
      {u"kk=1\r\n", u"k", fam, 2, u"k=1", u"1", u"kk=9\r\n"},
      {u"k = b\r\n", u"k", fam, 1, u"k = ", u"", u"k=9b\r\n"},
      {u"k = 1.5E-3\r\n", u"k", fam, 1, u"k = 1.5E-3", u"1.5E-3", u"k=9\r\n"},
      {u"k = 1.5e-3", u"k", fam, 1, u"k = 1.5", u"1.5", u"k=9e-3"},
      {u"a = 1,5\r\n", u"a", fam, 1, u"a = 1,5", u"1,5", u"a=9\r\n"},
      {u"a = 1,5\r\n", u"a", kFrameNumberPattern, 1, u"a = 1", u"1", u"a=9,5\r\n"},
      {u"ab = 2\r\na = 4\r\n", u"a", fam, 9, u"a = 4", u"4", u"ab = 2\r\na=9\r\n"},
      // A use of the constant before its assignment is passed over.
      {u"F{x} = k*x\r\nk = 7\r\n", u"k", fam, 13, u"k = 7", u"7", u"F{x} = k*x\r\nk=9\r\n"},
      {u"k =", u"k", fam, 1, u"k =", u"", u"k=9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text) + " / " + rt::ToUtf8(c.id));
    const AssignmentMatch m = FindAssignment(c.text, c.id, c.pattern);
    ASSERT_EQ(m.found, c.pos != 0);
    if (!m.found) continue;
    EXPECT_EQ(m.pos, c.pos);
    EXPECT_EQ(m.span, rt::Text(c.span));
    EXPECT_EQ(m.numberText, rt::Text(c.number));
    EXPECT_EQ(RewriteAssignment(c.text, m.pos, m.span, AssignmentText(c.id, 9)), c.rewritten);
  }
  // A span reaching beyond the text takes what is there and no more.
  EXPECT_EQ(RewriteAssignment(u"ab", 2, u"b=123", u"b=1"), u"ab=1");
  EXPECT_EQ(RewriteAssignment(u"ab", 9, u"b=1", u"c=2"), u"abc=2");
  EXPECT_EQ(AssignmentText(u"ab", -0.25), u"ab=-0.25");
}

TEST(FindAssignmentTest, TotalsAndCounts) {
  struct Case {
    const char16_t* typed;
    const char16_t* stored;
    int count;
  };
  const Case cases[] = {
      {u"", u"5", 5},      {u"abc", u"5", 5},   {u"0.5", u"5", 5},     {u"1", u"1", 5},
      {u"2.5", u"2.5", 2}, {u"3.5", u"3.5", 4}, {u"1E2", u"1E2", 100}, {u"40000", u"40000", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.typed));
    const rt::Text stored = FamilyTotalOf(c.typed);
    EXPECT_EQ(stored, rt::Text(c.stored));
    EXPECT_EQ(FamilyCountOf(stored), c.count);
  }
}

constexpr char kWorksheet[] = "k = 2\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n";

class FamilyTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetFamilySettings();
  }

  frmGraph* Open(const char* worksheet) {
    ui_.Reset();
    ResetFamilySettings();
    firstRow_ = 0;
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    EXPECT_TRUE(ui_.boxes.empty());
    return GraphWindow();
  }

  // "Set Up", the four boxes typed, then Save; runs switch the axes off, so that no grid cross or
  // axis letter is taken for a curve.
  frmFamilyPlots& Configure(frmGraph& w, const char* id, const char* start, const char* end,
                            const char* total) {
    Graph.ShowAxes = 0;
    w.mnuFamilySetUp_Click();
    frmFamilyPlots* f = frmFamilyPlots::Instance();
    EXPECT_TRUE(f->isVisible() && f->isModal());
    f->txtConstIDCurv->setText(QString::fromUtf8(id));
    f->txtStartCurv->setText(QString::fromUtf8(start));
    f->txtEndCurv->setText(QString::fromUtf8(end));
    f->txtTotalCtCurv->setText(QString::fromUtf8(total));
    f->cmdSave_Click();
    EXPECT_FALSE(f->isVisible());
    firstRow_ = static_cast<int>(ms::Scene.SegmentCountD);
    return *f;
  }

  // The curve segments drawn by the run, grouped by colour (packed RGB): their count and top y.
  std::map<int32_t, std::pair<int, double>> Curves() const {
    std::map<int32_t, std::pair<int, double>> curves;
    for (int i = firstRow_; i < ms::Scene.SegmentCountD; ++i) {
      const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
      if (r[ms::kSegKind] == ms::kSegStructure) continue;
      const int32_t colour = rt::RGB(static_cast<int>(r[ms::kRed]), static_cast<int>(r[ms::kGreen]),
                                     static_cast<int>(r[ms::kBlue]));
      auto& [segments, yMax] = curves.try_emplace(colour, 0, -1e300).first->second;
      ++segments;
      for (double row : {r[ms::kStartPoint], r[ms::kEndPoint]}) {
        yMax = std::max(yMax, ms::Scene.VertexXYZ[static_cast<int>(row)][1]);
      }
    }
    return curves;
  }

  static int32_t MemberColour(int member) {
    int16_t r = 0, g = 0, b = 0;
    ms::GetCurveColor(static_cast<int16_t>(member), r, g, b);
    return rt::RGB(r, g, b);
  }

  rt::Text FirstLine() const {
    const rt::Text text = sheet_->WorksheetText();
    return text.substr(0, text.find(u'\r'));
  }

  int firstRow_ = 0;
};

TEST_F(FamilyTest, SetUpWindowCopiesItsBoxesAndSaveOrCancelDecideTheRun) {
  frmGraph* w = Open(kWorksheet);
  EXPECT_FALSE(w->mnuPlotSet->isEnabled());
  ms::RunFlags.StopFamily = -1;
  Graph.PlotLimitReached = -1;
  frmFamilyPlots& f = Configure(*w, "k", "0", "1", "x");
  // Its load cleared the stop and limit flags.
  EXPECT_EQ(ms::RunFlags.StopFamily, 0);
  EXPECT_EQ(Graph.PlotLimitReached, 0);
  EXPECT_EQ(f.pos(), QPoint(100, 67));
  EXPECT_EQ(Family.FamilyConstID, u"k");
  EXPECT_EQ(Family.RangeEnd, u"1");
  EXPECT_EQ(Family.FamilyTotal, u"5");
  EXPECT_TRUE(w->mnuPlotSet->isEnabled());
  // "Previous Set" writes the settings back in place of what was typed since.
  w->mnuFamilySetUp_Click();
  f.txtStartCurv->blockSignals(true);
  f.txtStartCurv->setText(QStringLiteral("zz"));
  f.txtStartCurv->blockSignals(false);
  f.cmdEnter_Click();
  EXPECT_EQ(f.txtStartCurv->text(), QStringLiteral("0"));
  f.cmdCancel_Click();
  EXPECT_FALSE(f.isVisible());
  EXPECT_FALSE(w->mnuPlotSet->isEnabled());
  EXPECT_NE(ms::RunFlags.StopFamily, 0);
}

// Members start at the worksheet's 2 and step by (end - start) / (count - 1) up to 3; each is
// one curve y = k t, in its own colour or all in plot colour #1.
TEST_F(FamilyTest, EveryMemberIsOneCurveInItsColourOrInPlotColourOne) {
  for (bool coded : {true, false}) {
    SCOPED_TRACE(coded);
    frmGraph* w = Open(kWorksheet);
    int perCurve = 0;
    for (const auto& [colour, curve] : Curves()) perCurve += curve.first;
    ASSERT_GE(perCurve, 10);
    ms::CurveWork.FamilyColorCode = coded ? -1 : 0;
    Configure(*w, "k", "0", "1", "5");
    frmSetDisplay& options = frmSetDisplay::Load();
    w->mnuPlotSet_Click();
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_EQ(options.Frame2->title(), QStringLiteral("Parameter Set"));
    EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
    const auto curves = Curves();
    ASSERT_EQ(curves.size(), coded ? 5u : 1u);
    for (int k = 1; k <= 5; ++k) {
      SCOPED_TRACE(k);
      const auto slot = static_cast<size_t>(k - 1);
      const double value = 2 + (k - 1) * 0.25;
      EXPECT_NEAR(Family.FamilyValues[slot], value, 1e-12);
      const int32_t colour = coded ? MemberColour(k) : ms::Settings.PlotColorUsed[1];
      EXPECT_EQ(rt::RGB(ms::CurveWork.FamilyRed[slot], ms::CurveWork.FamilyGreen[slot],
                        ms::CurveWork.FamilyBlue[slot]),
                colour);
      const auto it = curves.find(colour);
      ASSERT_NE(it, curves.end());
      EXPECT_EQ(it->second.first, coded ? perCurve : 5 * perCurve);
      EXPECT_NEAR(it->second.second, coded ? value : 3.0, 1e-6);
    }
    // The worksheet keeps the last member's assignment, the rest as it was.
    EXPECT_EQ(Sheet().WorksheetText(), u"k=3\r\nA<t> = <t, k*t, 0>\r\nPlot[A, {t,0,1,10}]\r\n");
    EXPECT_TRUE(Sheet().IsChanged());
    w->cmdReturn_Click();
    ReleaseGraphWindow();
  }
}

TEST_F(FamilyTest, BadInputGivesItsMessageAndChangesNothing) {
  struct Case {
    const char* id;
    const char* start;
    const char16_t* message;
    bool pictureCleared;  // the last two checks come after the picture is cleared
  };
  const Case cases[] = {
      {"", "0", u"Please enter a constant Identifier to vary.", false},
      {"k", "a", u"The start constant and end constant must be directly assigned to numbers.",
       false},
      {"k", "1.00", u"Begining and ending values are the same.", false},
      {"q", "0", u"Requested constant not located or the constant not directly set to a number.",
       true},
      {"m", "0", u"Requested constant located with no direct numeric assignment.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    frmGraph* w = Open("k = 2\nm = k\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n");
    const rt::Text before = Sheet().WorksheetText();
    const double segments = ms::Scene.SegmentCountD;
    Configure(*w, c.id, c.start, "1", "5");
    w->mnuPlotSet_Click();
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, rt::Text(c.message));
    EXPECT_EQ(Sheet().WorksheetText(), before);
    EXPECT_EQ(Graph.FamilyMode, 0);
    EXPECT_EQ(ms::Scene.SegmentCountD, segments);
    const QImage& image = w->Display().Image();
    bool painted = false;
    for (int y = 0; y < image.height(); y += 2) {
      for (int x = 0; x < image.width(); x += 2) {
        painted = painted || (image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
      }
    }
    EXPECT_EQ(painted, !c.pictureCleared);
    w->cmdReturn_Click();
    ReleaseGraphWindow();
  }
}

// The loop stops before the next member on a Cancel in the set-up window or when plot #1 runs
// out of point space; the window is handed back, and a run saved afterwards is not held back.
TEST_F(FamilyTest, TheLoopStopsBeforeTheNextMemberAndALaterRunIsNotHeldBack) {
  struct Case {
    const char* worksheet;
    int stopAfter;  // members built before the stop
    const char16_t* message;
  };
  const Case cases[] = {
      {kWorksheet, 2, nullptr},
      {"k = 2\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,4500}]\n", 3,
       u"Space exceeds upper limit for plot #1. Try and reduce number of points to plot."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stopAfter);
    frmGraph* w = Open(c.worksheet);
    ms::CurveWork.FamilyColorCode = -1;
    frmFamilyPlots& f = Configure(*w, "k", "0", "1", "5");
    ui_.onDoEvents = [&] {
      if (c.message == nullptr && ms::CurveWork.FamilyMember == c.stopAfter &&
          ms::RunFlags.StopFamily == 0 && f.cmdCancel->isEnabled()) {
        w->mnuFamilySetUp_Click();
        f.cmdCancel_Click();
      }
    };
    w->mnuPlotSet_Click();
    ui_.onDoEvents = nullptr;
    EXPECT_EQ(ui_.boxes.empty(), c.message == nullptr);
    if (c.message != nullptr) {
      EXPECT_EQ(ui_.boxes[0].text, c.message);
    }
    const auto curves = Curves();
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(curves.count(MemberColour(k)), k <= c.stopAfter ? 1u : 0u) << "member " << k;
    }
    EXPECT_EQ(FirstLine(), AssignmentText(u"k", 2 + (c.stopAfter - 1) * 0.25));
    EXPECT_TRUE(w->cmdReturn->isEnabled() && !w->cmdReturn->isHidden());
    EXPECT_TRUE(w->cmdExit->isEnabled());
    EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
    EXPECT_FALSE(w->LoopRunning());
    ReleaseGraphWindow();
  }
  // Saved again after a cancel, the next run makes every member.
  frmGraph* w = Open(kWorksheet);
  frmFamilyPlots& f = Configure(*w, "k", "0", "1", "5");
  w->mnuFamilySetUp_Click();
  f.cmdCancel_Click();
  w->mnuFamilySetUp_Click();
  f.cmdSave_Click();
  w->mnuPlotSet_Click();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(FirstLine(), u"k=3");
}

TEST_F(FamilyTest, ReturnWhileTheLoopLetsEventsRunEndsTheLoop) {
  frmGraph* w = Open(kWorksheet);
  Configure(*w, "k", "0", "1", "5");
  ui_.onDoEvents = [&] {
    if (ms::CurveWork.FamilyMember == 2 && GraphWindow() != nullptr) w->cmdReturn_Click();
  };
  w->mnuPlotSet_Click();
  ui_.onDoEvents = nullptr;
  EXPECT_EQ(GraphWindow(), nullptr);
  EXPECT_TRUE(Sheet().isVisible());
  EXPECT_EQ(FirstLine(), u"k=2.25");  // no member after the second
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frmFamilyPlots::Instance(), nullptr);
}

TEST_F(FamilyTest, AWorksheetErrorInAMemberIsShownAndTheLoopGoesOn) {
  // Members k = 1, 0, -1: the integral over the empty range of k = 0 is refused by Execute.
  frmGraph* w =
      Open("k = 1\nF{x} = x\nc = Integ[F,{0,k,10,0}]\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n");
  Configure(*w, "k", "0", "-2", "3");
  w->mnuPlotSet_Click();
  ASSERT_FALSE(ui_.boxes.empty());
  EXPECT_EQ(ui_.boxes[0].title, u"Syntax Error");
  EXPECT_EQ(ui_.boxes[0].text.substr(0, 16), u"Statement # 3 : ");
  // The last member's worksheet executed cleanly: the integral of x from 0 to -1 is 1/2.
  EXPECT_EQ(FirstLine(), u"k=-1");
  int16_t index = 0, msgNo = 0;
  ms::FindConstant(u"c_", index, msgNo);
  ASSERT_EQ(msgNo, 0);
  rt::Text value = ms::Tables.ConstTable[static_cast<size_t>(index)].ValueText;
  std::erase_if(value, [](char16_t ch) { return ch == u'(' || ch == u')'; });
  EXPECT_NEAR(rt::Val(value), 0.5, 1e-9);
  EXPECT_EQ(ms::CurveWork.FamilyMember, 0);
}

}  // namespace
}  // namespace gr::testing
