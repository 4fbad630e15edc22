// Families of curves: the assignment search and rewrite, and the member loop from a worksheet to
// the picture: one curve per member, each in its colour, the worksheet rewritten per member, the
// messages of bad input and the ways the loop stops.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "GraphTestSupport.h"
#include "numerics/BvpTrials.h"

namespace gr::testing {
namespace {

// The first statement assigning a number to the identifier, its span rewritten with a new
// assignment.
TEST(FindAssignmentTest, FindsAndRewritesTheFirstAssignmentOfANumberAndCountsMembers) {
  struct Case {
    const char16_t *text, *id, *pattern;
    long pos;                                   // 0: not found
    const char16_t *span, *number, *rewritten;  // rewritten: the span replaced by "<id>=9"
  };
  const char16_t* fam = kFamilyNumberPattern;
  const Case cases[] = {
      {u"m = 10\r\nF{x} = m*x\r\n", u"m", fam, 1, u"m = 10", u"10", u"m=9\r\nF{x} = m*x\r\n"},
      // Only a whole name at the start of a statement: not the tail or the head of a longer
      // name, not inside a comment; a statement may start after ":" and blanks.
      {u"kk=1\r\n", u"k", fam, 0, nullptr, nullptr, nullptr},
      {u"bk=2\r\nka = 1\r\n", u"k", fam, 0, nullptr, nullptr, nullptr},
      {u"' k=1 : k=2\r\n\tk = 3\r\n", u"k", fam, 15, u"k = 3", u"3", u"' k=1 : k=2\r\n\tk=9\r\n"},
      {u"b=1: k2=4\r\n", u"k2", fam, 6, u"k2=4", u"4", u"b=1: k2=9\r\n"},
      {u"F{x} = 2*k\r\nc = k = 1\r\n", u"k", fam, 0, nullptr, nullptr, nullptr},
      {u"k = b\r\n", u"k", fam, 1, u"k = ", u"", u"k=9b\r\n"},
      {u"a = 1,5\r\n", u"a", fam, 1, u"a = 1,5", u"1,5", u"a=9\r\n"},
      {u"a = 1,5\r\n", u"a", kFrameNumberPattern, 1, u"a = 1", u"1", u"a=9,5\r\n"},
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
}

constexpr char kWorksheet[] = "k = 2\nm = k\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n";

class FamilyTest : public GraphTest {
 protected:
  // "Set Up", the four boxes typed, then Save; runs switch the axes off, so that no grid cross or
  // axis letter is taken for a curve.
  FamilyPlotsDialog& Configure(GraphWindow& w, const char* id, const char* start, const char* end,
                               const char* total) {
    Graph.ShowAxes = 0;
    w.mnuFamilySetUp_Click();
    FamilyPlotsDialog* f = FamilyPlotsDialog::Instance();
    f->txtConstIDCurv->setText(QString::fromUtf8(id));
    f->txtStartCurv->setText(QString::fromUtf8(start));
    f->txtEndCurv->setText(QString::fromUtf8(end));
    f->txtTotalCtCurv->setText(QString::fromUtf8(total));
    f->cmdSave_Click();
    return *f;
  }

  // The curve points from a row on, by colour (packed RGB): their count and top y.
  static std::map<int32_t, std::pair<int, double>> Curves(int firstRow) {
    std::map<int32_t, std::pair<int, double>> curves;
    ForCurveEnds(firstRow, [&curves](const ms::Point3& p, int32_t colour) {
      auto& [points, yMax] = curves.try_emplace(colour, 0, -1e300).first->second;
      ++points;
      yMax = std::max(yMax, p[1]);
    });
    return curves;
  }

  static int32_t MemberColour(int member) {
    int16_t r = 0, g = 0, b = 0;
    ms::GetCurveColor(static_cast<int16_t>(member), r, g, b);
    return rt::RGB(r, g, b);
  }
};

// Members step from the typed start by (end - start) / (count - 1), at most ten of them covering
// the range; each is one curve y = k t in its own colour, in a picture that holds nothing else
// (the curve drawn before the run, for the worksheet's value, is gone even when that value is the
// first member's). Bad input gives
// its message before any member; a Cancel in the set-up window or a full plot #1 stops the loop
// before the next member; a worksheet error in a member is shown and the loop goes on. The
// worksheet keeps the last member's assignment, the rest as it was, and the window is handed back.
TEST_F(FamilyTest, EachRunDrawsItsMembersOrGivesItsMessage) {
  const char* space = "k = 2\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,4500}]\n";
  const char* error =
      "k = 1\nF{x} = x\nc = Integ[F,{0,k,10,0}]\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n";
  struct Case {
    const char *worksheet, *id, *start, *total;
    int cancelAfter;          // 0: no cancel
    const char16_t* message;  // how the message shown starts; nullptr: none
    const char* drawn;        // member k drawn: character k is 1
    const char16_t* firstLine;
  };
  const Case cases[] = {
      {kWorksheet, "k", "0", "5", 0, nullptr, "11111", u"k=1"},
      {kWorksheet, "k", "2", "3", 0, nullptr, "111", u"k=1"},
      // Eleven asked for: ten drawn, from 0 to 1 by 1/9.
      {kWorksheet, "k", "0", "11", 0, nullptr, "1111111111", u"k=1"},
      {kWorksheet, "", "0", "5", 0, u"Please enter a constant Identifier to vary.", "00000",
       u"k = 2"},
      {kWorksheet, "k", "a", "5", 0,
       u"The start constant and end constant must be directly assigned to numbers.", "00000",
       u"k = 2"},
      {kWorksheet, "k", "1.00", "5", 0, u"Begining and ending values are the same.", "00000",
       u"k = 2"},
      {kWorksheet, "q", "0", "5", 0,
       u"Requested constant not located or the constant not directly set to a number.", "00000",
       u"k = 2"},
      {kWorksheet, "m", "0", "5", 0,
       u"Requested constant located with no direct numeric assignment.", "00000", u"k = 2"},
      {kWorksheet, "k", "0", "5", 2, nullptr, "11000", u"k=0.25"},
      {space, "k", "0", "5", 0,
       u"Space exceeds upper limit for plot #1. Try and reduce number of points to plot.", "11110",
       u"k=0.75"},
      // Members k = -1, 0, 1: the integral over the empty range of k = 0 is refused.
      {error, "k", "-1", "3", 0, u"Statement # 3 : ", "101", u"k=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.id << "|" << c.start << "|" << c.cancelAfter);
    GraphWindow& w = Run(c.worksheet);
    const rt::Text before = Sheet().WorksheetText();
    const auto drawn = Curves(0);
    ASSERT_FALSE(drawn.empty());
    const int perCurve = drawn.begin()->second.first;
    ms::CurveWork.FamilyColorCode = -1;
    FamilyPlotsDialog& f = Configure(w, c.id, c.start, "1", c.total);
    ui_.onDoEvents = [&] {
      if (c.cancelAfter != 0 && ms::CurveWork.FamilyMember == c.cancelAfter &&
          ms::RunFlags.StopFamily == 0 && f.cmdCancel->isEnabled()) {
        w.mnuFamilySetUp_Click();
        f.cmdCancel_Click();
      }
    };
    w.mnuPlotSet_Click();
    ui_.onDoEvents = nullptr;
    ASSERT_EQ(ui_.boxes.empty(), c.message == nullptr);
    if (c.message != nullptr) {
      EXPECT_EQ(ui_.boxes[0].text.substr(0, rt::Text(c.message).size()), c.message);
    }
    const rt::Text text = Sheet().WorksheetText();
    EXPECT_EQ(FirstLine(), c.firstLine);
    EXPECT_EQ(text.substr(text.find(u'\r')), before.substr(before.find(u'\r')));
    const auto curves = Curves(0);
    if (std::strchr(c.drawn, '1') == nullptr) {  // no member run: the picture as it was
      EXPECT_EQ(curves, drawn);
      continue;
    }
    const double members = static_cast<double>(std::strlen(c.drawn)), first = std::atof(c.start);
    for (const auto& [colour, curve] : curves) {
      if (c.message != nullptr) break;  // the failing worksheet draws an integral too
      bool member = false;
      for (int k = 1; k <= members; ++k) member = member || colour == MemberColour(k);
      EXPECT_TRUE(member) << std::hex << colour;
    }
    for (int k = 1; k <= members; ++k) {
      SCOPED_TRACE(k);
      const auto it = curves.find(MemberColour(k));
      ASSERT_EQ(it != curves.end(), c.drawn[k - 1] == '1');
      if (it == curves.end() || c.message != nullptr) continue;  // the last may be cut short
      EXPECT_EQ(it->second.first, perCurve);
      // y = k t at t = 1, k stepping from the start to 1
      EXPECT_NEAR(it->second.second, first + (k - 1) * (1 - first) / (members - 1), 1e-6);
    }
    EXPECT_EQ(Graph.OverlayMode, 0);  // the overlay ends with its run
    EXPECT_FALSE(w.LoopRunning());
    // The members stay listed while they are drawn; a picture built afresh lists none.
    EXPECT_NE(Graph.FamilyMode, 0);
    w.cmdUpdate_Click();
    EXPECT_EQ(Graph.FamilyMode, 0);
  }
}

// A set-up refused by the run's checks changes nothing of the last run: k from 1 to 3 in three
// members (step (3 - 1) / (3 - 1) = 1) is listed as 1, 2, 3 before and after each refused run,
// whichever check refuses it.
TEST_F(FamilyTest, ARunRefusedByItsChecksKeepsTheLastRunsMembers) {
  struct Case {
    const char *id, *start, *end, *total;
    const char16_t* message;
  };
  const Case cases[] = {
      {"zz", "1", "3", "5",
       u"Requested constant not located or the constant not directly set to a number."},
      {"m", "1", "3", "5", u"Requested constant located with no direct numeric assignment."},
      {"", "1", "3", "5", u"Please enter a constant Identifier to vary."},
      {"k", "x", "3", "5",
       u"The start constant and end constant must be directly assigned to numbers."},
      {"k", "3", "3", "5", u"Begining and ending values are the same."},
  };
  const auto listed = [](GraphWindow& w) {
    std::vector<PrintedText> log;
    SetPrintLog(&log);
    PlaceTimeText(w.Display(), OverlayContentNow());
    SetPrintLog(nullptr);
    std::vector<double> values;
    for (size_t i = 1; i < log.size(); ++i) values.push_back(rt::Val(log[i].text));
    return values;
  };
  const std::vector<double> members = {1, 2, 3};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id + std::string("|") + c.start);
    GraphWindow& w = Run(kWorksheet);
    Configure(w, "k", "1", "3", "3");
    w.mnuPlotSet_Click();
    ASSERT_TRUE(ui_.boxes.empty());
    ASSERT_EQ(Family.FamilyCount, 3);
    EXPECT_EQ(listed(w), members);
    const rt::Text sheet = Sheet().WorksheetText();
    Configure(w, c.id, c.start, c.end, c.total);
    w.mnuPlotSet_Click();
    ExpectBox(c.message);
    EXPECT_EQ(Family.FamilyCount, 3);
    for (size_t i = 0; i < members.size(); ++i) EXPECT_EQ(Family.FamilyValues[i], members[i]);
    EXPECT_EQ(listed(w), members);
    EXPECT_EQ(Sheet().WorksheetText(), sheet);
  }
}

// A range whose values are not all finite numbers (the width from 1E308 to -1E308 overflows) is
// refused at Save, in the family's set-up window and in the animation's, which stays open; a run
// offered by an earlier Save (the two windows share the range) refuses it as well, before the
// worksheet is touched. A wide range whose values stay finite is taken.
TEST_F(FamilyTest, ARangeWhoseValuesAreNotFiniteIsRefusedBeforeTheWorksheetIsTouched) {
  struct Case {
    bool frames;
    const char *start, *end;
    bool refused;
  };
  const Case cases[] = {
      {false, "1E308", "-1E308", true},  {false, "1.7E308", "-1.7E308", true},
      {false, "-8E307", "8E307", false}, {true, "1E308", "-1E308", true},
      {true, "-8E307", "8E307", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.frames << "|" << c.start << "|" << c.end);
    GraphWindow& w = Run(kWorksheet);
    const rt::Text sheet = Sheet().WorksheetText();
    QDialog* window = nullptr;
    QAction* run = nullptr;
    if (c.frames) {
      w.mnuSetUp_Click();
      AnimationSetupDialog* f = AnimationSetupDialog::Instance();
      f->txtFrameFile->setText(QStringLiteral("wave"));
      f->Text1->setText(QStringLiteral("k"));
      f->txtStart->setText(QStringLiteral("0"));
      f->txtEnd->setText(QStringLiteral("1"));
      f->cmdSave_Click();
      w.mnuSetUp_Click();
      f->txtStart->setText(QString::fromUtf8(c.start));
      f->txtEnd->setText(QString::fromUtf8(c.end));
      f->cmdSave_Click();
      window = f;
      run = w.Animation().mnuSetCompute;
    } else {
      FamilyPlotsDialog& f = Configure(w, "k", "0", "1", "3");
      w.mnuFamilySetUp_Click();
      f.txtStartCurv->setText(QString::fromUtf8(c.start));
      f.txtEndCurv->setText(QString::fromUtf8(c.end));
      f.cmdSave_Click();
      window = &f;
      run = w.Animation().mnuPlotSet;
    }
    ExpectBox(c.refused ? kRangeTooWide : nullptr);
    EXPECT_EQ(window->isVisible(), c.refused);
    if (!c.refused) continue;
    ui_.boxes.clear();
    ASSERT_TRUE(run->isEnabled());
    run->trigger();
    ExpectBox(kRangeTooWide);
    EXPECT_EQ(Sheet().WorksheetText(), sheet);
  }
}

// Members closer than 15 significant digits are each written so that Execute reads the member's
// own value: from 1 to 1.00000000000001 in five members, member k is 1 + (k - 1) 2.5E-15, to
// within two units of the last place (far less than the 2.5E-15 between members), and the value
// listed for it is the value written.
TEST_F(FamilyTest, MembersAreWrittenSoThatTheyReadBackExactly) {
  GraphWindow& w = Run(kWorksheet);
  Configure(w, "k", "1", "1.00000000000001", "5");
  std::vector<rt::Text> written;  // the assignment each Execute reads
  ui_.onDoEvents = [&] {
    if (Sheet().IsRunning() && (written.empty() || written.back() != FirstLine())) {
      written.push_back(FirstLine());
    }
  };
  w.mnuPlotSet_Click();
  ui_.onDoEvents = nullptr;
  ASSERT_TRUE(ui_.boxes.empty());
  ASSERT_EQ(written.size(), 5u);
  for (size_t k = 1; k <= written.size(); ++k) {
    SCOPED_TRACE(rt::ToUtf8(written[k - 1]));
    ASSERT_EQ(written[k - 1].substr(0, 2), u"k=");
    const double value = rt::Val(written[k - 1].substr(2));
    EXPECT_NEAR(value, 1 + static_cast<double>(k - 1) * 2.5e-15, 4.5e-16);
    EXPECT_EQ(value, Family.FamilyValues[k - 1]);
  }
}

// Each member of an initial value problem is solved for its own value: x' = k, x(0) = 1 is
// x = 1 + k t, member by member (t across, x up).
TEST_F(FamilyTest, EachIvpMemberIsSolvedForItsOwnConstant) {
  GraphWindow& w = Run("k = 1\nF{t,x} = k\nIVP[F,{0,2,1}{1,0.0001}]\n");
  ms::CurveWork.FamilyColorCode = -1;
  Configure(w, "k", "1", "3", "3");
  w.Navigation().ViewButton_Click(
      1);  // redrawn from the stored solution: later builds would do the same
  w.mnuPlotSet_Click();
  ASSERT_TRUE(ui_.boxes.empty());
  std::map<int32_t, int> memberOf, points;
  for (int k = 1; k <= 3; ++k) memberOf[MemberColour(k)] = k;
  ForCurveEnds(0, [&](const ms::Point3& p, int32_t colour) {
    ASSERT_EQ(memberOf.count(colour), 1u) << std::hex << colour;
    const int k = memberOf[colour];
    EXPECT_NEAR(p[1], 1 + k * p[0], 1e-3) << "member " << k;
    ++points[k];
  });
  EXPECT_EQ(points.size(), 3u);
}

// A member whose function names the result constant of a later Integ[ takes that integral of its
// own run: k x^2 over [0, 1] is k/3, so G = c t draws t/3, 2t/3 and t for k = 1, 2, 3 (t across,
// y up), beside its own running integral k x^3/3, which a later member's run leaves in place.
TEST_F(FamilyTest, EachMemberUsesTheIntegralOfItsOwnRun) {
  GraphWindow& w =
      Run("k = 2\nG{t} = c*t\nF{x} = k*x^2\nc = Integ[F,{0,1,10,0}]\nA<t> = <t, G, 0>\n"
          "Plot[A, {t,0,1,10}]\n");
  ms::CurveWork.FamilyColorCode = -1;
  Configure(w, "k", "1", "3", "3");
  w.mnuPlotSet_Click();
  ASSERT_TRUE(ui_.boxes.empty());
  std::map<int32_t, int> memberOf, onLine, onIntegral;
  for (int k = 1; k <= 3; ++k) memberOf[MemberColour(k)] = k;
  ForCurveEnds(0, [&](const ms::Point3& p, int32_t colour) {
    if (memberOf.count(colour) == 0) return;  // not a member's curve
    const int k = memberOf[colour];
    const double x = p[0], y = p[1], line = k * x / 3, integral = k * x * x * x / 3;
    EXPECT_TRUE(std::fabs(y - line) < 1e-9 || std::fabs(y - integral) < 1e-9)
        << "member " << k << " at " << x << ": " << y;
    if (std::fabs(y - line) < 1e-9 && std::fabs(y - integral) > 1e-3) ++onLine[k];
    if (std::fabs(y - integral) < 1e-9 && std::fabs(y - line) > 1e-3) ++onIntegral[k];
  });
  for (int k = 1; k <= 3; ++k) {
    EXPECT_GT(onLine[k], 0) << "member " << k;
    EXPECT_GT(onIntegral[k], 0) << "member " << k;
  }
}

// A family's picture has one set of axis letters, beyond the ends of the axes that span every
// member: the letters' slanted strokes (two of the x, two of the y) and nothing slanted elsewhere.
TEST_F(FamilyTest, OneSetOfLettersAtTheEndsOfTheAxes) {
  GraphWindow& w = Run("k = 1\nA<t> = <t, k*t, 0>\nPlot[A, {t,0,1,10}]\n");
  Configure(w, "k", "3", "1", "3");  // the tallest member first
  Graph.ShowAxes = -1;
  w.mnuPlotSet_Click();
  ASSERT_TRUE(ui_.boxes.empty());
  double xEnd = -1e300, yEnd = -1e300, curveTop = -1e300;
  std::vector<std::pair<ms::Point3, ms::Point3>> slanted;
  for (int i = 0; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    const ms::Point3& p = ms::Scene.VertexXYZ[static_cast<int>(r[ms::kStartPoint])];
    const ms::Point3& q = ms::Scene.VertexXYZ[static_cast<int>(r[ms::kEndPoint])];
    if (r[ms::kSegKind] != ms::kSegStructure) {
      curveTop = std::max({curveTop, p[1], q[1]});
    } else if (RowColour(r) != 0) {  // an axis line
      if (p[1] == 0 && q[1] == 0) xEnd = std::max({xEnd, p[0], q[0]});
      if (p[0] == 0 && q[0] == 0) yEnd = std::max({yEnd, p[1], q[1]});
    } else if (p[0] != q[0] && p[1] != q[1]) {
      slanted.emplace_back(p, q);
    }
  }
  EXPECT_NEAR(curveTop, 3, 1e-12);  // y = k t up to t = 1 for k = 3
  EXPECT_GE(yEnd, curveTop);
  ASSERT_EQ(slanted.size(), 4u);
  for (const auto& [p, q] : slanted) {
    EXPECT_TRUE((p[0] > xEnd && q[0] > xEnd) || (p[1] > yEnd && q[1] > yEnd))
        << p[0] << "," << p[1] << " " << q[0] << "," << q[1];
  }
}

}  // namespace
}  // namespace gr::testing
