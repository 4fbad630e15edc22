// Contour command: worksheets run through the whole road, then the stored statement is traced and
// the scene and the legend are checked against the level curves. The progress window's buttons are
// checked by the graph window's tests.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "commands/ContourCommand.h"
#include "language/WorksheetTables.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotTestSupport.h"

namespace ms::testing {
namespace {

class ContourTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    screen_.Reset();
  }
  // Runs the stored contour statement as the picture build does.
  static int16_t Contour() { return ProcessPlotContour(Requests.ContourStmt); }
  // From a clean start: a worksheet with the function and the statement, then the trace.
  int16_t Trace(const char16_t* function, const rt::Text& statement) {
    SetUp();
    EXPECT_EQ(Run({function, statement.c_str()}), 0);
    return Contour();
  }
};

// x^2 + y^2 at a point of the scene.
double R2(const Point3& p) {
  return p[0] * p[0] + p[1] * p[1];
}

// Every traced point of x^2 + y^2 lies within er of its level c; every step is sg long up to the
// correction, each curve closes on its first point with a step of at most half sg, and marks an
// earlier build left in the rows do not make a segment anything but ordinary. PlotContour[ traces
// every level from each of the four mirrored start points. Absent or non-positive {er,sg} give
// 0.1 and 0.2; every value may be a constant. Tracing runs while c <= c2 + |ds| / 1000 (c the
// running sum of ds, here 1.1 + 0.3 + 0.3 > 1.7), the legend while c <= c2. The command's
// derivative records are used by their place in the table: user functions named Fx or Fy (of any
// parameters) change nothing, nor does a constant whose name begins with a parameter letter.
TEST_F(ContourTest, CirclesLieOnTheirLevelsAndClose) {
  struct Case {
    const char16_t* statement;
    double er, sg;
    std::vector<double> levels;
    int legend;  // the first levels, as many as the legend has
    const char16_t *other = u"w = 0", *function = u"F{x,y} = x^2 + y^2";
  };
  const char16_t* unit = u"PlotContour1[F,{-2,2,-2,2}{1,0}{1,1,1}]";
  const std::vector<double> sums = {1.1, 1.1 + 0.3, 1.1 + 0.3 + 0.3};
  const std::vector<double> q = {0.5, 1, 1.5, 2}, fourTimes = {0.5, 1, 1.5, 2, 0.5, 1, 1.5, 2,
                                                               0.5, 1, 1.5, 2, 0.5, 1, 1.5, 2};
  const Case cases[] = {
      {u"plotcontour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 0.1, 0.2, q, 4},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{2,0.5,-0.5}]", 0.1, 0.2, {2, 1.5, 1, 0.5}, 4},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1.1,1.7,0.3}]", 0.1, 0.2, sums, 2},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}{-3,0.25}]", 0.1, 0.25, {1}, 1},
      {u"PlotContour1[F,{-r,r,-r,r}{z,z}{z,z,1}{er,sz}]", 0.05, 0.4, {1}, 1},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 0.1, 0.2, fourTimes, 4},
      {unit, 0.1, 0.2, {1}, 1, u"Fx{x,y} = 0"},
      {unit, 0.1, 0.2, {1}, 1, u"Fx{t} = t"},
      {unit, 0.1, 0.2, {1}, 1, u"xa = 1", u"F{x,y} = xa*x^2 + Sin[0*y] + y^2"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    SetUp();
    ASSERT_EQ(Run({u"er = 0.05", u"sz = 0.4", u"r = 2", u"z = 1", tc.other, u"Fy{x,y} = 1 + 0*x*y",
                   tc.function, tc.statement}),
              0);
    for (SegmentRow& row : Scene.SegmentTable) row = {0, 0, 0, 0, 0, kSegStructure, 1, 3};
    ASSERT_EQ(Contour(), 0);
    ASSERT_EQ(Contours.ContourLegendCount, tc.legend);
    for (int i = 0; i < tc.legend; ++i)
      EXPECT_EQ(Contours.ContourLegend[i + 1].Level, tc.levels[i]);
    const auto segs = Segments();
    size_t first = 0;
    for (double c : tc.levels) {
      SCOPED_TRACE(c);
      size_t end = first;  // the segments of one level follow each other
      while (end < segs.size() && std::fabs(segs[end].from[2] - c) < 1e-9) ++end;
      const double steps = 2 * M_PI * std::sqrt(c) / tc.sg;
      EXPECT_NEAR(static_cast<double>(end - first), steps, 0.15 * steps + 2);
      for (size_t k = first; k < end; ++k) {
        const Seg& s = segs[k];
        EXPECT_EQ(s.to[2], c);
        EXPECT_EQ(s.row[kSegKind] + s.row[kDotMark] + s.row[kLimitMarkKind], 0);
        // Within the band the corrector leaves (plus a little for the last digits).
        for (const Point3& p : {s.from, s.to}) EXPECT_LT(std::fabs(R2(p) - c), tc.er + 1e-9);
        const bool closing = k + 1 == end;
        EXPECT_EQ(s.to, closing ? segs[first].from : segs[k + 1].from);
        if (closing) {
          EXPECT_LE(s.Length(), 0.5 * tc.sg + 1e-12);
        } else {  // a predictor step of sg, moved by at most the correction across the band
          EXPECT_NEAR(s.Length(), tc.sg, tc.er / std::sqrt(c) + 1e-9);
        }
      }
      first = end;
    }
    EXPECT_EQ(first, segs.size());
  }
}

// Level k (counted from 0) is drawn, and listed in the legend, in row k Mod 11 of the level
// colours; twelve levels reach every row and wrap to the first, at any size of the level step.
TEST_F(ContourTest, EveryLevelHasTheColourOfItsNumber) {
  constexpr int kRows[11][3] = {{28, 0, 128},  {0, 0, 128},   {0, 128, 128}, {0, 255, 255},
                                {0, 128, 128}, {0, 0, 0},     {0, 255, 0},   {128, 0, 0},
                                {255, 128, 0}, {255, 0, 255}, {255, 0, 0}};
  struct Case {
    const char16_t* function;
    const char16_t* statement;
    double scale;  // level k + 1 is (k + 1) * scale
  };
  const Case cases[] = {
      {u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-4,4,-4,4}{1,1}{1,12,1}]", 1},
      // A step of 2^-20: the running sum is exact, so every level is in the legend.
      {u"F{x,y} = 9.5367431640625E-7*(x^2 + y^2)",
       u"PlotContour1[F,{-4,4,-4,4}{1,1}{9.5367431640625E-7,1.1444091796875E-5,"
       u"9.5367431640625E-7}{1E-9,0.2}]",
       0x1p-20},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.scale);
    SetUp();
    ASSERT_EQ(Run({tc.function, tc.statement}), 0);
    ASSERT_EQ(Contour(), 0);
    ASSERT_EQ(Contours.ContourLegendCount, 12);
    std::vector<int> segmentsOfLevel(12, 0);
    for (const Seg& s : Segments()) {
      const long level = std::lround(s.from[2] / tc.scale);
      ASSERT_TRUE(level >= 1 && level <= 12) << s.from[2];
      const int* rgb = kRows[(level - 1) % 11];
      ++segmentsOfLevel[static_cast<size_t>(level - 1)];
      EXPECT_EQ((std::array<double, 3>{s.row[kRed], s.row[kGreen], s.row[kBlue]}),
                (std::array<double, 3>{1.0 * rgb[0], 1.0 * rgb[1], 1.0 * rgb[2]}))
          << level;
    }
    for (int k = 0; k < 12; ++k) {
      SCOPED_TRACE(k);
      EXPECT_GT(segmentsOfLevel[static_cast<size_t>(k)], 0);
      const ContourLegendEntry& e = Contours.ContourLegend[static_cast<size_t>(k + 1)];
      EXPECT_NEAR(e.Level, (k + 1) * tc.scale, 1e-9 * tc.scale);
      EXPECT_EQ((std::array<int, 3>{e.Red, e.Green, e.Blue}),
                (std::array<int, 3>{kRows[k % 11][0], kRows[k % 11][1], kRows[k % 11][2]}));
    }
  }
}

// A loose tolerance (the default 0.1) lets a closed curve pass its first point without meeting
// it. Such a branch ends after one step per cell of side sg in the box, (6 / 0.2 + 1)^2 = 961
// here (a branch that reaches the box's edge ends before the step that would leave it), and the
// other levels are traced: Sin[x] Cos[y] from (1, 0.5) and its mirror images
// reaches all five levels far below the buffer's limit, every point within er of its level.
TEST_F(ContourTest, BranchThatNeverClosesEnds) {
  ASSERT_EQ(Trace(u"F{x,y} = Sin[x]*Cos[y]", u"PlotContour[F,{-3,3,-3,3}{1,0.5}{-0.5,0.5,0.25}]"),
            0);
  std::vector<double> levels;
  size_t run = 0;
  const auto segs = Segments();
  for (size_t k = 0; k < segs.size(); ++k) {
    const double c = segs[k].from[2];
    if (std::find(levels.begin(), levels.end(), c) == levels.end()) levels.push_back(c);
    EXPECT_LT(std::fabs(std::sin(segs[k].to[0]) * std::cos(segs[k].to[1]) - c), 0.1 + 1e-9) << k;
    EXPECT_LE(std::max(std::fabs(segs[k].to[0]), std::fabs(segs[k].to[1])), 3) << "step out drawn";
    run = k > 0 && segs[k - 1].to == segs[k].from ? run + 1 : 1;
    EXPECT_LE(run, 961u) << k;
  }
  std::sort(levels.begin(), levels.end());
  EXPECT_EQ(levels, (std::vector<double>{-0.5, -0.25, 0, 0.25, 0.5}));
  EXPECT_LT(segs.size(), static_cast<size_t>(kContourSegmentCap - 1));
  EXPECT_TRUE(screen_.boxes.empty());
}

// Every drawn segment has both ends on its level: F, evaluated here with <cmath>, has a value
// there within er of the level. A level the corrector cannot reach from a start point (a local
// minimum above it, a level beyond the function's range, a start outside F's domain) draws nothing
// from there, and keeps its legend entry. 0.94 Cos[1.78 x] Sin[1.37 x] has its level -0.53 only
// near x = 1.22 (not near its minimum of -0.37 at x = -0.42, where the start points on the left
// end up); x^2 + y^2 has no level -1; Sin[x] + Cos[y] none beyond 2.
TEST_F(ContourTest, EveryDrawnSegmentEndsOnItsLevel) {
  struct Case {
    const char16_t *function, *statement;
    double (*f)(double x, double y);
    bool (*defined)(double x, double y);
    double er;
    int legend;
    double firstLevel;          // the legend's first entry
    std::vector<double> drawn;  // the levels that have segments
  };
  const auto everywhere = [](double, double) { return true; };
  const Case cases[] = {
      {u"F{x,y} = 0.94*Cos[1.78*x]*Sin[1.37*x]",
       u"PlotContour[F,{-1.4,1.9,-0.7,0.6}{0.61,-0.16}{-0.53,0.43,0.24}{0.01,0.2}]",
       [](double x, double) { return 0.94 * std::cos(1.78 * x) * std::sin(1.37 * x); },
       everywhere,
       0.01,
       5,
       -0.53,
       {-0.53, -0.29, -0.05, 0.19, 0.43}},
      {u"F{x,y} = x^2 + y^2",
       u"PlotContour[F,{-2,2,-2,2}{1,1}{-1,2,1.5}{0.01,0.2}]",
       [](double x, double y) { return x * x + y * y; },
       everywhere,
       0.01,
       3,
       -1,
       {0.5, 2}},
      {u"F{x,y} = Sin[x] + Cos[y]",
       u"PlotContour[F,{-3,3,-3,3}{1,0.5}{-2.5,2.5,1}{0.01,0.2}]",
       [](double x, double y) { return std::sin(x) + std::cos(y); },
       everywhere,
       0.01,
       6,
       -2.5,
       {-1.5, -0.5, 0.5, 1.5}},
      {u"F{x,y} = Sqrt[x] + y",
       u"PlotContour[F,{-1,2,-1,2}{0.5,0.5}{0.5,1,0.5}{0.01,0.1}]",
       [](double x, double y) { return std::sqrt(x) + y; },
       [](double x, double) { return x >= 0; },
       0.01,
       2,
       0.5,
       {0.5, 1}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    ASSERT_EQ(Trace(tc.function, tc.statement), 0);
    EXPECT_EQ(Contours.ContourLegendCount, tc.legend);
    EXPECT_NEAR(Contours.ContourLegend[1].Level, tc.firstLevel, 1e-12);
    std::vector<double> levels;
    for (const Seg& s : Segments()) {
      const double c = s.from[2];
      if (levels.empty() || std::fabs(levels.back() - c) > 1e-9) levels.push_back(c);
      for (const Point3& p : {s.from, s.to}) {
        SCOPED_TRACE(::testing::Message() << "level " << c << " at " << p[0] << ", " << p[1]);
        ASSERT_TRUE(tc.defined(p[0], p[1]));
        EXPECT_LT(std::fabs(tc.f(p[0], p[1]) - c), tc.er + 1e-9);
      }
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end(),
                             [](double a, double b) { return std::fabs(a - b) < 1e-9; }),
                 levels.end());
    ASSERT_EQ(levels.size(), tc.drawn.size());
    for (size_t k = 0; k < levels.size(); ++k) EXPECT_NEAR(levels[k], tc.drawn[k], 1e-9);
  }
}

// The messages of the command, and the two derivative records appended to FuncTable once the
// function is found with two parameters, also when reading the values then fails; later
// statements on the same function use that pair again.
TEST_F(ContourTest, MessagesOfMalformedStatements) {
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
    int added;
  };
  const Case cases[] = {
      {u"Plotcontour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1400, 0},
      {u"PlotContour1[F,{12}]", 1402, 0},
      {u"PlotContour(F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1404, 0},
      {u"PlotContour[f,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1406, 0},
      {u"PlotContour[Fa;{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1408, 0},
      {u"PlotContour[F,(-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1410, 0},
      {u"PlotContour[G,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1412, 0},
      {u"PlotContour[H,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1414, 0},
      {u"PlotContour[F,{-2,2,-2,2}(1,1}{0.5,2,0.5}]", 1416, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}(0.5,2,0.5}]", 1418, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}", 1419, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}{0.1,0.2})", 1420, 2},
  };
  ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"H{x} = x^2"}), 0);
  bool pairAppended = false;
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    const int16_t before = Tables.FuncCount;
    EXPECT_EQ(Build(ProcessPlotContour, tc.statement), tc.msgNo);
    EXPECT_EQ(Tables.FuncCount, before + (pairAppended ? 0 : tc.added));
    pairAppended = pairAppended || tc.added > 0;
  }
  // A record that does not exist, or a value the evaluator refuses, is 0.
  for (const int16_t rec : {int16_t{0}, int16_t(Tables.FuncCount + 1), int16_t{-3}}) {
    double value = -99;
    EvalF2AtPoint(rec, 1, 1, value);
    EXPECT_EQ(value, 0) << rec;
  }
}

// Room in FuncTable for the derivative pair and one temporary record: the first build appends a
// pair and rebuilds use it again; a pair made for another function does not serve, and a table
// without a free record cannot evaluate.
TEST_F(ContourTest, FunctionTableRoom) {
  struct Case {
    int16_t fill;       // FuncCount before the command
    bool earlierPairs;  // earlier builds of the same command left their pairs
    const char16_t* traced;
    int16_t msgNo, countAfter;
  };
  const Case cases[] = {
      {kMaxFunctions - 3, false, u"F", 0, kMaxFunctions - 1},
      {kMaxFunctions - 2, false, u"F", kMsgFunctionsFull, kMaxFunctions - 2},
      {kMaxFunctions - 1, true, u"F", 0, kMaxFunctions - 1},
      {kMaxFunctions - 1, true, u"G", kMsgFunctionsFull, kMaxFunctions - 1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(&tc - cases);
    SetUp();
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"G{x,y} = x*y + 1",
                   u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]"}),
              0);
    const int16_t executed = Tables.FuncCount;
    for (int k = 0; k < 3 && tc.earlierPairs; ++k) ASSERT_EQ(Contour(), 0);
    EXPECT_TRUE(!tc.earlierPairs || Tables.FuncCount == executed + 2) << "rebuilds add nothing";
    while (Tables.FuncCount < tc.fill) {
      ++Tables.FuncCount;
      FuncRec& rec = Tables.FuncTable[Tables.FuncCount];
      rec = Tables.FuncTable[tc.earlierPairs ? Tables.FuncCount - 2 : 2];
      if (!tc.earlierPairs) rec.Name = u"Q" + rt::Text(1, u'a' + Tables.FuncCount % 26);
    }
    StartSceneBuild();
    Requests.ContourStmt = u"PlotContour1[" + rt::Text(tc.traced) + u",{-2,2,-2,2}{-1,1}{2,2,1}]";
    EXPECT_EQ(Contour(), tc.msgNo);
    EXPECT_EQ(Tables.FuncCount, tc.countAfter);
    EXPECT_EQ(Scene.SegmentCount > 6, tc.msgNo == 0);
  }
}

// Start points outside the box, a zero step and more than 200 levels are refused with a box of
// their own: nothing traced, message 0, the legend and window untouched. 200 levels fit. A
// function that gives no value at any point of the box (three parameters, or a domain outside the
// box) is reported with 1422: nothing drawn, no legend; one that gives values in part of the box
// is traced there.
TEST_F(ContourTest, RefusedStartPointsLevelRangesAndFunctions) {
  struct Case {
    const char16_t *function, *statement, *box;  // box nullptr: traced
    int16_t legend, msgNo = 0;
  };
  const char16_t* circle = u"F{x,y} = x^2 + y^2";
  const char16_t* flat = u"F{x,y} = 5 + 0*x*y";  // no gradient: every branch ends at once
  const Case cases[] = {
      {circle, u"PlotContour1[F,{-2,2,-2,2}{3,1}{1,1,1}]", kContourStartOutsideText, 7},
      {circle, u"PlotContour1[F,{-2,2,-2,2}{2,-2}{1,1,1}]", nullptr, 1},
      {circle, u"PlotContour1[F,{-2,2,-2,2}{1,1}{2,1,0}]", kContourZeroStepText, 7},
      {circle, u"PlotContour1[F,{-2,2,-2,2}{1,1}{0,1,-0.25}]", nullptr, 0, 3614},  // step away
      {circle, u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,-1E+300,-1E+300}]", nullptr, 2},
      {flat, u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,200,1}]", nullptr, 200, 3614},
      {flat, u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,201,1}]", kContourTooManyLevelsText, 7},
      {u"F{x,y} = Sqrt[-1 - x^2 - y^2]", u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,2,1}]", nullptr, 7,
       1422},
      {u"F{x,y} = Ln[x] + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,2,1}]", nullptr, 2},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    SetUp();
    ASSERT_EQ(Run({tc.function, tc.statement}), 0);
    Contours.ContourLegendCount = 7;
    ASSERT_EQ(Contour(), tc.msgNo);
    EXPECT_EQ(Contours.ContourLegendCount, tc.legend);
    EXPECT_TRUE((!tc.box && !tc.msgNo && tc.legend) || Scene.SegmentCount == 0);
    EXPECT_EQ(BoxTexts(), tc.box ? std::vector<rt::Text>{tc.box} : std::vector<rt::Text>{});
  }
}

// Levels are traced while the running sum has not passed c2 by more than a thousandth of the
// step: rounding keeps the last level (0.1 + 0.1 + 0.1 is 0.30000000000000004) and no level past
// c2 is traced, at any size of the levels. y = c from (0, 0.5) is a line across the box; the
// circles 1E-4 (x^2 + y^2) = c for c = 1E-4 .. 4E-4 (radius 1 .. 2) and the same a hundred times
// smaller are four levels each.
TEST_F(ContourTest, LevelsStopAtTheLastOneAskedFor) {
  struct Case {
    const char16_t *function, *statement;
    std::vector<double> traced;
    int legend;
  };
  const Case cases[] = {
      {u"F{x,y} = y",
       u"PlotContour1[F,{-1,1,-1,1}{0,0.5}{0,0.3,0.1}]",
       {0, 0.1, 0.1 + 0.1, 0.1 + 0.1 + 0.1},
       3},
      {u"F{x,y} = y", u"PlotContour1[F,{-1,1,-1,1}{0,0.5}{0,0.2995,0.1}]", {0, 0.1, 0.1 + 0.1}, 3},
      {u"F{x,y} = 0.0001*(x^2 + y^2)",
       u"PlotContour1[F,{-3,3,-3,3}{1,1}{1E-4,4E-4,1E-4}{1E-5,0.2}]",
       {1e-4, 1e-4 + 1e-4, 1e-4 + 1e-4 + 1e-4, 1e-4 + 1e-4 + 1e-4 + 1e-4},
       4},
      {u"F{x,y} = 0.000001*(x^2 + y^2)",
       u"PlotContour1[F,{-3,3,-3,3}{1,1}{1E-6,4E-6,1E-6}{1E-7,0.2}]",
       {1e-6, 1e-6 + 1e-6, 1e-6 + 1e-6 + 1e-6, 1e-6 + 1e-6 + 1e-6 + 1e-6},
       4},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    ASSERT_EQ(Trace(tc.function, tc.statement), 0);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(Contours.ContourLegendCount, tc.legend);
    std::vector<double> levels;
    for (const Seg& seg : Segments())
      if (levels.empty() || levels.back() != seg.from[2]) levels.push_back(seg.from[2]);
    EXPECT_EQ(levels, tc.traced);
  }
}

// A command that traces no segment at all says so with 3614 and leaves the legend of its levels:
// the circles of x^2 + y^2 = 1 .. 4 times 100 with the error 10 (every branch ends where the unit
// gradient is shorter than the error), 1E-4 (x^2 + y^2) on [-300, 300]^2 with the error 0.1 (its
// gradient, 2E-4 r, is shorter than that within r = 500), a level below the function's least
// value alone, and a step away from c2 (no level). A level with no points beside one that draws
// draws nothing on its own: the command gives 0.
TEST_F(ContourTest, NothingTracedIsSaid) {
  struct Case {
    const char16_t *function, *statement;
    int16_t msgNo;
    int legend;
  };
  const char16_t* circle = u"F{x,y} = x^2 + y^2";
  const Case cases[] = {
      {u"F{x,y} = 100*(x^2 + y^2)", u"PlotContour1[F,{-3,3,-3,3}{1,1}{100,400,100}{10,0.2}]", 3614,
       4},
      {u"F{x,y} = 0.0001*(x^2 + y^2)", u"PlotContour1[F,{-300,300,-300,300}{100,100}{1,4,1}]", 3614,
       4},
      {circle, u"PlotContour1[F,{-2,2,-2,2}{1,1}{-1,-1,1}]", 3614, 1},
      {circle, u"PlotContour[F,{-2,2,-2,2}{1,1}{0,1,-0.25}]", 3614, 0},
      {circle, u"PlotContour1[F,{-2,2,-2,2}{1,1}{-1,2,3}]", 0, 2},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement));
    ASSERT_EQ(Trace(tc.function, tc.statement), tc.msgNo);
    EXPECT_EQ(Contours.ContourLegendCount, tc.legend);
    EXPECT_EQ(Scene.SegmentCount == 0, tc.msgNo != 0);
    EXPECT_TRUE(BoxTexts().empty());
  }
}

// Abort (the button) and Esc are noticed at the next poll. Before the last level of the last
// start point they end the run with nothing in the scene and the old legend; during that last
// level they end only the branch, and the rest is kept. Events run before each level (one start
// point) or start point (four), at every branch step and in the corrector.
TEST_F(ContourTest, AbortByButtonAndByEsc) {
  struct Case {
    const char16_t* statement;
    bool byEsc;
    long afterDoEvents;
    bool keepsTrace;  // the legend is written and the traced part copied
  };
  const Case cases[] = {
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", false, 3, false},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]", true, 20, true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(rt::ToUtf8(tc.statement) + (tc.byEsc ? " Esc" : " Abort"));
    SetUp();
    RunFlags.AbortRun = -1;  // a stale Esc from before the command is cleared by it
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", tc.statement}), 0);
    Contours.ContourLegendCount = 9;
    RunFlags.AbortRun = -1;
    long polls = 0;
    screen_.onDoEvents = [&] {
      if (++polls != tc.afterDoEvents) return;
      if (tc.byEsc) RunFlags.AbortRun = -1;
      if (!tc.byEsc) ContourAbortClick();
    };
    ASSERT_EQ(Contour(), 0);
    EXPECT_GE(polls, tc.afterDoEvents);
    EXPECT_LE(polls, tc.afterDoEvents + 3) << "the abort is noticed at the next poll";
    EXPECT_EQ(Contours.ContourLegendCount, tc.keepsTrace ? 1 : 9);
    EXPECT_EQ(Scene.SegmentCount > 0, tc.keepsTrace);
    screen_.onDoEvents = nullptr;
    RunFlags.AbortRun = 0;
  }
}

// The segment buffer: the counter stops at 15,000 (slot 15,000 is never written), a box says so,
// and the remaining levels and start points are skipped. The copy into the scene stops once 31,500
// points are stored.
TEST_F(ContourTest, SegmentBufferAndSceneLimits) {
  ASSERT_EQ(Run({u"G{x,y} = x", u"PlotContour[G,{-1,1,-200,200}{0.5,0}{0.5,0.6,0.1}{0.1,0.01}]"}),
            0);
  Contours.ContourSegments[kContourLastSlot] = ContourSegment{7, 7, 7, 7, 7, 7};
  ASSERT_EQ(Contour(), 0);
  EXPECT_EQ(BoxTexts(), std::vector<rt::Text>{kContourSegmentLimitText}) << "the cut is said";
  EXPECT_EQ(Scene.SegmentCount, kContourSegmentCap - 1);
  EXPECT_EQ(Contours.ContourSegments[kContourLastSlot].x1, 7);
  EXPECT_EQ(Contours.ContourLegendCount, 2);

  ASSERT_EQ(Trace(u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,0}{1,1,1}]"), 0);
  for (const auto& [startVertices, endVertices] :
       {std::pair<int16_t, int16_t>{31490, 31500}, {31499, 31501}, {31501, 31501}}) {
    SCOPED_TRACE(startVertices);
    StartSceneBuild();
    Scene.VertexCount = startVertices;
    Scene.SegmentCount = startVertices / 2;
    ASSERT_EQ(Contour(), 0);
    EXPECT_EQ(Scene.VertexCount, endVertices);
    EXPECT_EQ(Scene.SegmentCount, startVertices / 2 + (endVertices - startVertices) / 2);
    EXPECT_EQ(Contours.ContourLegendCount, 1);
  }
}

}  // namespace
}  // namespace ms::testing
