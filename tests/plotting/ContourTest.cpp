// Contour command: worksheets run through the whole road (reader, classification, compiler), then
// the stored contour statement is traced and the scene, the legend and the progress window state
// are checked against the mathematics of the level curves.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/ProgramState.h"
#include "language/UserInput.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/Contour.h"
#include "plotting/FormatSignificant.h"
#include "plotting/SceneStore.h"

namespace ms::testing {
namespace {

// Level colours as the level number Mod 11 selects them.
constexpr int kRows[11][3] = {{28, 0, 128},  {0, 0, 128},   {0, 128, 128}, {0, 255, 255},
                              {0, 128, 128}, {0, 0, 0},     {0, 255, 0},   {128, 0, 0},
                              {255, 128, 0}, {255, 0, 255}, {255, 0, 0}};

// Records what tracing does to the progress window and the graph buttons.
class RecordingHost : public ContourWindowHost {
 public:
  void Load() override {
    ++loads;
    ContourWindowLoad();
  }
  void ShowWindow(bool shown) override { shows.push_back(shown); }
  void Refresh() override {
    for (int q = 1; q <= 4; ++q) {
      if (ContourWindow.QuadrantLit[q] != 0 && !lit[q]) litOrder.push_back(q);
      lit[q] = ContourWindow.QuadrantLit[q] != 0;
    }
    if (ContourWindow.AbortEnabled != 0) abortSeenEnabled = true;
  }
  void SetGraphButtonsEnabled(bool enabled) override { graphButtons.push_back(enabled); }

  int loads = 0;
  std::vector<bool> shows;
  std::vector<bool> graphButtons;
  std::vector<int> litOrder;
  bool lit[5] = {};
  bool abortSeenEnabled = false;
};

struct SceneSeg {
  double x1, y1, z1, x2, y2, z2;
  int red, green, blue;
  double kind;
};

std::vector<SceneSeg> SceneSegments() {
  std::vector<SceneSeg> out;
  for (int s = 0; s < Scene.SegmentCount; ++s) {
    const SegmentRow& row = Scene.SegmentTable[s];
    const Point3& p = Scene.VertexXYZ[static_cast<int>(row[kStartPoint])];
    const Point3& q = Scene.VertexXYZ[static_cast<int>(row[kEndPoint])];
    out.push_back({p[0], p[1], p[2], q[0], q[1], q[2], static_cast<int>(row[kRed]),
                   static_cast<int>(row[kGreen]), static_cast<int>(row[kBlue]), row[kSegKind]});
  }
  return out;
}

class ContourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ResetContourState();
    screen_.Reset();
    ui::SetUi(&screen_);
    host_ = RecordingHost{};
    SetContourWindowHost(&host_);
    StartSceneBuild();
  }
  void TearDown() override {
    SetContourWindowHost(nullptr);
    ui::SetUi(nullptr);
    ResetContourState();
  }

  // Executes the worksheet lines (each ended by CR LF) as Execute does; returns its message.
  int16_t Run(std::initializer_list<const char16_t*> lines) {
    rt::Text text;
    for (const char16_t* line : lines) {
      text += line;
      text += u"\r\n";
    }
    ClearAll();
    ClearRequestsForExecute();
    RunFlags.AbortRun = 0;
    rt::Text stmt;
    int16_t msgNo = 0;
    ProcessWorksheet(text, stmt, msgNo);
    return msgNo;
  }

  // Runs the stored contour statement as the picture build does.
  int16_t Contour() {
    rt::Text stmt = Requests.ContourStmt;
    int16_t msgNo = -1;
    ProcessPlotContour(stmt, msgNo);
    return msgNo;
  }

  // A worksheet with the function and the statement, then the statement traced.
  int16_t RunContour(const char16_t* function, const char16_t* statement) {
    EXPECT_EQ(Run({function, statement}), 0);
    return Contour();
  }

  ui::ScriptedUiServices screen_;
  RecordingHost host_;
};

// Every traced point of F{x,y} = x^2 + y^2 lies on the circle of its level: the corrector stops
// within er of the level, so |x^2 + y^2 - c| < er; every step has length sg up to the correction,
// and each curve closes on its first point.
TEST_F(ContourTest, CirclesLieOnTheirLevelsAndClose) {
  struct Case {
    const char16_t* statement;
    double er, sg;
    std::vector<double> levels;
  };
  const Case cases[] = {
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 0.1, 0.2, {0.5, 1, 1.5, 2}},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,3,1}{0.01,0.1}]", 0.01, 0.1, {1, 2, 3}},
      {u"PlotContour1[F,{-3,3,-3,3}{-1,2}{4,4,1}{0.05,0.3}]", 0.05, 0.3, {4}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    ASSERT_EQ(RunContour(u"F{x,y} = x^2 + y^2", tc.statement), 0);
    const std::vector<SceneSeg> segs = SceneSegments();
    ASSERT_FALSE(segs.empty());
    size_t first = 0;
    for (double c : tc.levels) {
      SCOPED_TRACE(c);
      // The segments of one level follow each other in the scene.
      size_t end = first;
      while (end < segs.size() && std::fabs(segs[end].z1 - c) < 1e-9) ++end;
      ASSERT_GT(end, first + 6) << "a closed curve takes more than six steps";
      const double circumference = 2 * M_PI * std::sqrt(c);
      EXPECT_NEAR(static_cast<double>(end - first), circumference / tc.sg,
                  0.15 * circumference / tc.sg + 2);
      for (size_t k = first; k < end; ++k) {
        const SceneSeg& s = segs[k];
        EXPECT_EQ(s.z2, c);
        // The evaluator reads the coordinates written with 15 significant digits.
        EXPECT_LT(std::fabs(s.x1 * s.x1 + s.y1 * s.y1 - c), tc.er + 1e-9);
        EXPECT_LT(std::fabs(s.x2 * s.x2 + s.y2 * s.y2 - c), tc.er + 1e-9);
        const double length = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
        if (k + 1 < end) {
          // Predictor step sg, moved by at most the correction across the level band.
          EXPECT_NEAR(length, tc.sg, tc.er / std::sqrt(c) + 1e-9);
          EXPECT_EQ(s.x2, segs[k + 1].x1);
          EXPECT_EQ(s.y2, segs[k + 1].y1);
        } else {
          // The closing segment returns to the first point and is at most half a step long.
          EXPECT_EQ(s.x2, segs[first].x1);
          EXPECT_EQ(s.y2, segs[first].y1);
          EXPECT_LE(length, 0.5 * tc.sg + 1e-12);
        }
      }
      first = end;
    }
    EXPECT_EQ(first, segs.size());
    EXPECT_EQ(Scene.VertexCountD, Scene.VertexCount);
    EXPECT_EQ(Scene.SegmentCountD, Scene.SegmentCount);
  }
}

// One start point or four: PlotContour1[ lights the start point's quadrant only; PlotContour[
// traces from (-xc,-yc), (xc,-yc), (-xc,yc), (xc,yc) in that order; a zero coordinate lights none.
TEST_F(ContourTest, OneQuadrantAndFourQuadrantForms) {
  struct Case {
    const char16_t* statement;
    std::vector<int> litOrder;
    int curves;  // closed curves traced (one per start point and level)
    int16_t all, one, four;
  };
  const Case cases[] = {
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", {1}, 4, 0, -1, 0},
      {u"plotcontour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", {1}, 4, 0, -1, 0},
      {u"PlotContour1[F,{-2,2,-2,2}{-1,-1}{1,1,1}]", {3}, 1, 0, -1, 0},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", {3, 4, 2, 1}, 16, -1, 0, -1},
      {u"plotcontour[F,{-2,2,-2,2}{1,1}{1,1,1}]", {3, 4, 2, 1}, 4, -1, 0, -1},
      {u"PlotContour1[F,{-2,2,-2,2}{0,1}{1,1,1}]", {}, 1, 0, -1, 0},
      {u"PlotContour[F,{-2,2,-2,2}{0,1}{1,1,1}]", {}, 4, -1, 0, -1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    host_ = RecordingHost{};
    ASSERT_EQ(RunContour(u"F{x,y} = x^2 + y^2", tc.statement), 0);
    EXPECT_EQ(host_.litOrder, tc.litOrder);
    EXPECT_EQ(Requests.ContourAllQuadrants, tc.all);
    EXPECT_EQ(Requests.Contour1Requested, tc.one);
    EXPECT_EQ(Requests.ContourRequested, tc.four);
    // A closed curve ends with a segment back to its own first point.
    const std::vector<SceneSeg> segs = SceneSegments();
    int closed = 0;
    size_t first = 0;
    for (size_t k = 0; k < segs.size(); ++k) {
      if (segs[k].x2 == segs[first].x1 && segs[k].y2 == segs[first].y1) {
        ++closed;
        first = k + 1;
      }
    }
    EXPECT_EQ(first, segs.size());
    EXPECT_EQ(closed, tc.curves);
  }
}

// Levels, their colours and the legend. The tracing loop runs while c <= c2 + 0.001 (the
// running sum of ds), the legend while c <= c2.
TEST_F(ContourTest, LegendLevelsAndColours) {
  struct Case {
    const char16_t* statement;
    std::vector<double> legend;  // levels of the legend
    std::vector<int> rows;       // their colour rows
    std::vector<double> traced;  // levels found in the scene
  };
  const Case cases[] = {
      {u"PlotContour1[G,{-2,2,-2,2}{1,1}{0,1,0.25}]",
       {0, 0.25, 0.5, 0.75, 1},
       {0, 1, 2, 3, 4},
       {0, 0.25, 0.5, 0.75, 1}},
      {u"PlotContour1[G,{-2,2,-2,2}{1,1}{0,0.3,0.1}]",
       {0, 0.1, 0.2},
       {0, 1, 2},
       {0, 0.1, 0.2, 0.1 + 0.1 + 0.1}},
      {u"PlotContour1[G,{-2,2,-2,2}{1,1}{1,0,-0.25}]",
       {1, 0.75, 0.5, 0.25, 0},
       {0, 1, 2, 3, 4},
       {1, 0.75, 0.5, 0.25, 0}},
      {u"PlotContour1[G,{-4,4,-4,4}{1,1}{-3,3,0.5}]",
       {-3, -2.5, -2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2, 2.5, 3},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1},
       {-3, -2.5, -2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2, 2.5, 3}},
      {u"PlotContour1[G,{-2,2,-2,2}{1,1}{0,1,-0.25}]", {}, {}, {}},
      {u"PlotContour1[G,{-2,2,-2,2}{1,1}{1,0,0.25}]", {}, {}, {}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    Contours.ContourLegendCount = 99;
    ASSERT_EQ(RunContour(u"G{x,y} = x + y", tc.statement), 0);
    ASSERT_EQ(Contours.ContourLegendCount, static_cast<int16_t>(tc.legend.size()));
    for (size_t i = 0; i < tc.legend.size(); ++i) {
      SCOPED_TRACE(i);
      const ContourLegendEntry& e = Contours.ContourLegend[i + 1];
      EXPECT_NEAR(e.Level, tc.legend[i], 1e-12);
      EXPECT_EQ(e.Red, kRows[tc.rows[i]][0]);
      EXPECT_EQ(e.Green, kRows[tc.rows[i]][1]);
      EXPECT_EQ(e.Blue, kRows[tc.rows[i]][2]);
    }
    // The straight lines x + y = c: every point on its level, each level in its legend colour.
    std::vector<double> seen;
    for (const SceneSeg& s : SceneSegments()) {
      EXPECT_NEAR(s.x1 + s.y1, s.z1, 0.1);
      EXPECT_NEAR(s.x2 + s.y2, s.z2, 0.1);
      EXPECT_EQ(s.kind, kSegOrdinary);
      if (seen.empty() || seen.back() != s.z1) seen.push_back(s.z1);
      for (size_t i = 0; i < tc.legend.size(); ++i) {
        if (std::fabs(tc.legend[i] - s.z1) < 1e-9) {
          EXPECT_EQ(s.red, kRows[tc.rows[i]][0]);
          EXPECT_EQ(s.green, kRows[tc.rows[i]][1]);
          EXPECT_EQ(s.blue, kRows[tc.rows[i]][2]);
        }
      }
    }
    EXPECT_EQ(seen, tc.traced);
  }
}

// ContourLevelColor: the first level within 0.0001, one past the last level when none is, and
// row 0 when the step points away from c2.
TEST_F(ContourTest, LevelColourRows) {
  struct Case {
    double c, c1, c2, ds;
    int row;
  };
  const Case cases[] = {
      {0.5, 0, 1, 0.25, 2},  {0.50005, 0, 1, 0.25, 2},
      {0.6, 0, 1, 0.25, 5},  {0.1 + 0.1 + 0.1, 0, 0.3, 0.1, 3},
      {3, 0, 5, 0.25, 1},    {0.25, 1, 0, -0.25, 3},
      {0.5, 0, 1, -0.25, 0}, {0.00015, 0, 0.001, 0.0001, 1},
      {-7, -10, 10, 1, 3},   {100, 0, 1, 0.25, 5},
      {12.5, 0, 20, 0.5, 3},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.c);
    double c1 = tc.c1, c2 = tc.c2, ds = tc.ds;
    int16_t r = -1, g = -1, b = -1;
    ContourLevelColor(tc.c, c1, c2, ds, r, g, b);
    EXPECT_EQ(r, kRows[tc.row][0]);
    EXPECT_EQ(g, kRows[tc.row][1]);
    EXPECT_EQ(b, kRows[tc.row][2]);
  }
}

// Every message of the command, and what each leaves in FuncTable: the two derivative records
// are appended once the function is found with two parameters, also when reading the values then
// fails.
TEST_F(ContourTest, MessagesOfMalformedStatements) {
  struct Case {
    const char16_t* statement;
    int16_t msgNo;
    int added;  // records appended to FuncTable
  };
  const Case cases[] = {
      {u"Plotcontour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1400, 0},
      {u"PLOTCONTOUR1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1400, 0},
      {u"PlotContour[F,{1,2]", 1402, 0},
      {u"PlotContour1[F,{12}]", 1402, 0},
      {u"PlotContour(F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1404, 0},
      {u"PlotContour[f,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1406, 0},
      {u"PlotContour[F;{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1408, 0},
      {u"PlotContour[Fa;{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1408, 0},
      {u"PlotContour[F,(-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1410, 0},
      {u"PlotContour[G,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1412, 0},
      {u"PlotContour[Ha,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1412, 0},
      {u"PlotContour[H,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", 1414, 0},
      {u"PlotContour[F,{-2,2,-2,2}(1,1}{0.5,2,0.5}]", 1416, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}(0.5,2,0.5}]", 1418, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}(0.1,0.2}]", 1419, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}", 1419, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}{0.1,0.2})", 1420, 2},
      {u"PlotContour[F,{-2,2,-2,zz}{1,1}{0.5,2,0.5}]", 339, 2},
      {u"PlotContour[F,{-2,,-2,2}{1,1}{0.5,2,0.5}]", 6097, 2},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}{0.1,0.2]", 333, 2},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"H{x} = x^2"}), 0);
    const int16_t before = Tables.FuncCount;
    rt::Text stmt = tc.statement;
    int16_t msgNo = 0;
    ProcessPlotContour(stmt, msgNo);
    EXPECT_EQ(msgNo, tc.msgNo);
    EXPECT_EQ(Tables.FuncCount, before + tc.added);
    EXPECT_EQ(Scene.SegmentCount, 0);
    EXPECT_EQ(ContourWindow.Loaded, 0) << "no window before the statement is read";
    EXPECT_TRUE(screen_.boxes.empty());
  }
}

// The derivative records: named Fx and Fy, the parameters of F, the symbolic partial derivatives
// (checked through their values), not compiled; each run appends two more.
TEST_F(ContourTest, DerivativeRecordsAreAppendedPerRun) {
  ASSERT_EQ(Run({u"Fa{u,v} = u^3*v + Sin[v]", u"PlotContour1[Fa,{-1,1,-1,1}{0.5,0.5}{1,1,1}]"}), 0);
  const int16_t before = Tables.FuncCount;
  ASSERT_EQ(Contour(), 0);
  ASSERT_EQ(Tables.FuncCount, before + 2);
  const FuncRec& fx = Tables.FuncTable[before + 1];
  const FuncRec& fy = Tables.FuncTable[before + 2];
  EXPECT_EQ(fx.Name, u"Fx");
  EXPECT_EQ(fy.Name, u"Fy");
  EXPECT_EQ(fx.Parm1, u"u");
  EXPECT_EQ(fx.Parm2, u"v");
  EXPECT_EQ(fy.Parm1, u"u");
  EXPECT_EQ(fy.Parm2, u"v");
  EXPECT_TRUE(fx.Parm3.empty());
  EXPECT_EQ(fx.Kind, 0);
  const double points[][2] = {{0.5, 0.5}, {-1, 2}, {2, -0.25}};
  for (const auto& p : points) {
    SCOPED_TRACE(p[0] * 100 + p[1]);
    const double u = p[0], v = p[1];
    double value = 0;
    EvalF2AtPoint(before + 1, u, v, value);
    EXPECT_NEAR(value, 3 * u * u * v, 1e-9 * (1 + std::fabs(value)));
    EvalF2AtPoint(before + 2, u, v, value);
    EXPECT_NEAR(value, u * u * u + std::cos(v), 1e-9 * (1 + std::fabs(value)));
  }
  ASSERT_EQ(Contour(), 0);
  EXPECT_EQ(Tables.FuncCount, before + 4);
}

// Room in FuncTable: the two derivative records and, for every evaluation, one temporary record
// after the last. Each picture build appends a pair; once there is no room, the first pair (the
// one values are taken from) serves again when it holds the same derivatives; a pair made for
// another function does not, and a table without a free record cannot evaluate at all.
TEST_F(ContourTest, FunctionTableRoom) {
  struct Case {
    int16_t fill;            // FuncCount before the command (0: as the worksheet left it)
    bool earlierPair;        // a previous build of the same command left its pairs
    const char16_t* traced;  // the function of the command
    int16_t msgNo;
    int16_t countAfter;
  };
  const Case cases[] = {
      {kMaxFunctions - 3, false, u"F", 0, kMaxFunctions - 1},
      {kMaxFunctions - 2, false, u"F", kMsgFunctionsFull, kMaxFunctions - 2},
      {kMaxFunctions - 1, false, u"F", kMsgFunctionsFull, kMaxFunctions - 1},
      {kMaxFunctions, false, u"F", kMsgFunctionsFull, kMaxFunctions},
      {kMaxFunctions - 2, true, u"F", 0, kMaxFunctions - 2},
      {kMaxFunctions - 1, true, u"F", 0, kMaxFunctions - 1},
      {kMaxFunctions, true, u"F", kMsgFunctionsFull, kMaxFunctions},
      {kMaxFunctions - 1, true, u"G", kMsgFunctionsFull, kMaxFunctions - 1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(std::to_string(tc.fill) + (tc.earlierPair ? " after earlier builds " : " ") +
                 static_cast<char>(tc.traced[0]));
    SetUp();
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"G{x,y} = x*y + 1",
                   u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]"}),
              0);
    if (tc.earlierPair) {
      // Builds of the command, then further pairs up to the fill as more builds would add.
      for (int k = 0; k < 3; ++k) ASSERT_EQ(Contour(), 0);
      while (Tables.FuncCount < tc.fill) {
        ++Tables.FuncCount;
        Tables.FuncTable[Tables.FuncCount] = Tables.FuncTable[Tables.FuncCount - 2];
      }
    } else {
      // Other functions fill the table.
      while (Tables.FuncCount < tc.fill) {
        ++Tables.FuncCount;
        Tables.FuncTable[Tables.FuncCount] = Tables.FuncTable[2];
        Tables.FuncTable[Tables.FuncCount].Name = u"Q" + rt::Text(1, u'a' + Tables.FuncCount % 26);
      }
    }
    ASSERT_EQ(Tables.FuncCount, tc.fill);
    StartSceneBuild();
    Requests.ContourStmt = rt::Text(u"PlotContour1[") + tc.traced + u",{-2,2,-2,2}{-1,1}{2,2,1}]";
    EXPECT_EQ(Contour(), tc.msgNo);
    EXPECT_EQ(Tables.FuncCount, tc.countAfter);
    if (tc.msgNo != 0) {
      EXPECT_EQ(Scene.SegmentCount, 0);
      continue;
    }
    // The circle of radius sqrt(2) through (-1, 1).
    ASSERT_GT(Scene.SegmentCount, 6);
    for (const SceneSeg& s : SceneSegments()) EXPECT_NEAR(s.x1 * s.x1 + s.y1 * s.y1, 2, 0.1);
  }
}

// Commands refused with a box of their own: nothing traced, message 0, the legend untouched.
TEST_F(ContourTest, RefusedStartPointsAndLevelRanges) {
  struct Case {
    const char16_t* statement;
    const char16_t* box;  // nullptr: traced
  };
  const Case cases[] = {
      {u"PlotContour1[F,{-2,2,-2,2}{3,1}{1,1,1}]", kContourStartOutsideText},
      {u"PlotContour1[F,{-2,2,-2,2}{1,-2.5}{1,1,1}]", kContourStartOutsideText},
      {u"PlotContour[F,{0,2,0,2}{-1,1}{1,1,1}]", kContourStartOutsideText},
      {u"PlotContour1[F,{-2,2,-2,2}{2,-2}{1,1,1}]", nullptr},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,2,0}]", kContourZeroStepText},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{2,1,0}]", kContourZeroStepText},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0,1,0.001}]", kContourTooManyLevelsText},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,-1E+300,-1E+300}]", nullptr},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    Contours.ContourLegendCount = 7;
    ASSERT_EQ(RunContour(u"F{x,y} = x^2 + y^2", tc.statement), 0);
    if (tc.box) {
      ASSERT_EQ(screen_.boxes.size(), 1u);
      EXPECT_EQ(screen_.boxes[0].text, tc.box);
      EXPECT_EQ(screen_.boxes[0].style, ui::kOkOnly);
      EXPECT_EQ(Scene.SegmentCount, 0);
      EXPECT_EQ(Contours.ContourLegendCount, 7);
      EXPECT_EQ(ContourWindow.Loaded, 0);
      EXPECT_TRUE(host_.graphButtons.empty());
    } else {
      EXPECT_TRUE(screen_.boxes.empty());
      EXPECT_NE(Contours.ContourLegendCount, 7);
    }
  }
}

// The legend holds 200 levels: exactly 200 are traced; 201 are refused. A constant function
// has no gradient, so every branch ends at once and nothing is drawn.
TEST_F(ContourTest, TwoHundredLevelsFitTheLegend) {
  struct Case {
    const char16_t* levels;
    int16_t legend;
    bool refused;
  };
  const Case cases[] = {{u"{1,200,1}", 200, false},
                        {u"{1,201,1}", 7, true},
                        {u"{200,1,-1}", 200, false},
                        {u"{0,49.75,0.25}", 200, false},
                        {u"{0,50,0.25}", 7, true}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(std::string(tc.levels, tc.levels + std::char_traits<char16_t>::length(tc.levels)));
    SetUp();
    Contours.ContourLegendCount = 7;
    const rt::Text stmt = rt::Text(u"PlotContour1[K,{-2,2,-2,2}{1,1}") + tc.levels + u"]";
    ASSERT_EQ(Run({u"K{x,y} = 5 + 0*x*y", stmt.c_str()}), 0);
    ASSERT_EQ(Contour(), 0);
    EXPECT_EQ(Contours.ContourLegendCount, tc.legend);
    EXPECT_EQ(screen_.boxes.size(), tc.refused ? 1u : 0u);
    EXPECT_EQ(Scene.SegmentCount, 0);
  }
}

// Absent or non-positive {er,sg} give 0.1 and 0.2. On the straight lines of x + y the corrector
// has nothing to do, so every step is exactly sg long.
TEST_F(ContourTest, DefaultErrorAndSegmentLength) {
  struct Case {
    const char16_t* options;
    double sg;
  };
  const Case cases[] = {{u"", 0.2},           {u"{0,-1}", 0.2},  {u"{0.05,0.5}", 0.5},
                        {u"{-3,0.25}", 0.25}, {u"{0.2,0}", 0.2}, {u"{er,sz}", 0.4}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.options, tc.options + std::char_traits<char16_t>::length(tc.options)));
    SetUp();
    // Every value may be a worksheet constant, negated or not.
    const rt::Text stmt = rt::Text(u"PlotContour1[G,{-r,r,-r,r}{z,z}{z,z,1}") + tc.options + u"]";
    ASSERT_EQ(Run({u"er = 0.1", u"sz = 0.4", u"r = 2", u"z = 0", u"G{x,y} = x + y", stmt.c_str()}),
              0);
    ASSERT_EQ(Contour(), 0);
    const std::vector<SceneSeg> segs = SceneSegments();
    // From the origin down the line y = -x until the step that leaves the box.
    ASSERT_EQ(static_cast<int>(segs.size()),
              static_cast<int>(std::floor(2 * std::sqrt(2.0) / tc.sg)));
    for (const SceneSeg& s : segs) {
      EXPECT_NEAR(std::hypot(s.x2 - s.x1, s.y2 - s.y1), tc.sg, 1e-9);
      EXPECT_NEAR(s.x1 + s.y1, 0, 1e-9);
      EXPECT_GT(s.x2, s.x1);
      EXPECT_LE(std::fabs(s.x2), 2);
      EXPECT_LE(std::fabs(s.y2), 2);
    }
  }
}

// Branches that leave the box end at their first point outside it, and that step is not drawn;
// a mirrored start point outside the box draws nothing; a start where the gradient vanishes ends
// at once.
TEST_F(ContourTest, BoxEdgesAndVanishingGradients) {
  struct Case {
    const char16_t* function;
    const char16_t* statement;
    int minSegments, maxSegments;
    double x0, xf, y0, yf;
  };
  const Case cases[] = {
      // Quarter circle of radius 1 from (1,1)/sqrt2 clockwise down to the x axis.
      {u"F{x,y} = x^2 + y^2", u"PlotContour[F,{0,2,0,2}{0.7,0.7}{1,1,1}]", 3, 5, 0, 2, 0, 2},
      {u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{0,0}{0,0,1}]", 0, 0, -2, 2, -2, 2},
      {u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{0,1,0.5}]", 50, 75, -2, 2, -2, 2},
      {u"F{x,y} = x*y", u"PlotContour1[F,{-1,3,-1,3}{1,1}{1,1,1}]", 5, 20, -1, 3, -1, 3},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    ASSERT_EQ(RunContour(tc.function, tc.statement), 0);
    const std::vector<SceneSeg> segs = SceneSegments();
    EXPECT_GE(static_cast<int>(segs.size()), tc.minSegments);
    EXPECT_LE(static_cast<int>(segs.size()), tc.maxSegments);
    for (const SceneSeg& s : segs) {
      EXPECT_GE(std::min(s.x1, s.x2), tc.x0);
      EXPECT_LE(std::max(s.x1, s.x2), tc.xf);
      EXPECT_GE(std::min(s.y1, s.y2), tc.y0);
      EXPECT_LE(std::max(s.y1, s.y2), tc.yf);
    }
  }
}

// The point evaluator: F at (x, y) as the worksheet computes it, the tables as they were; a value
// the evaluator refuses and a record that does not exist give 0.
TEST_F(ContourTest, PointValuesAndGradients) {
  ASSERT_EQ(Run({u"F{x,y} = 3*x + 4*y", u"S{x,y} = Sqrt[x] + y", u"c = 1"}), 0);
  const int16_t funcs = Tables.FuncCount, consts = Tables.ConstCount;
  struct Case {
    int16_t rec;
    double x, y, value;
  };
  const Case cases[] = {{1, 1, 2, 11}, {1, -0.5, 0.25, -0.5},
                        {2, 4, 1, 3},  {2, -4, 1, 0},
                        {0, 1, 1, 0},  {static_cast<int16_t>(funcs + 1), 1, 1, 0}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.rec * 1000 + tc.x);
    double value = -99;
    EvalF2AtPoint(tc.rec, tc.x, tc.y, value);
    EXPECT_NEAR(value, tc.value, 1e-12);
    EXPECT_EQ(Tables.FuncCount, funcs);
    EXPECT_EQ(Tables.ConstCount, consts);
  }
  // The gradient of 3x + 4y through the records of its partial derivatives.
  rt::Text stmt = u"PlotContour1[F,{-2,2,-2,2}{0,0}{0,0,1}]";
  int16_t msgNo = 0;
  ProcessPlotContour(stmt, msgNo);
  ASSERT_EQ(msgNo, 0);
  struct GradCase {
    double er, gx, gy;
  };
  const GradCase grads[] = {{0.1, 0.6, 0.8}, {4.99, 0.6, 0.8}, {5.01, 0, 0}};
  for (const GradCase& g : grads) {
    SCOPED_TRACE(g.er);
    double gx = -1, gy = -1;
    ContourGradient(funcs + 1, funcs + 2, 0.3, -7, gx, gy, g.er);
    EXPECT_NEAR(gx, g.gx, 1e-12);
    EXPECT_NEAR(gy, g.gy, 1e-12);
  }
}

// The corrector moves a point onto the level along the gradient line and stops within er.
TEST_F(ContourTest, CorrectorReachesTheLevel) {
  ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-3,3,-3,3}{1,1}{1,1,1}]"}), 0);
  ASSERT_EQ(Contour(), 0);
  int16_t f = 1, fx = 2, fy = 3;
  struct Case {
    double x, y, c, er;
  };
  const Case cases[] = {{2, 0, 1, 0.1},
                        {0.3, 0.4, 4, 0.01},
                        {-1, -1, 1, 0.001},
                        {0, 1.5, 2.25, 0.1},
                        {0.1, 0, 1, 0.05}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.x * 100 + tc.y);
    double rx = 0, ry = 0, c = tc.c, er = tc.er;
    int16_t msgNo = 5;
    ContourCorrector(f, fx, fy, rx, ry, tc.x, tc.y, c, er, msgNo);
    EXPECT_EQ(msgNo, 0);
    EXPECT_LT(std::fabs(rx * rx + ry * ry - tc.c), tc.er);
    // Along the radial gradient line: the direction from the origin is kept.
    EXPECT_NEAR(std::atan2(ry, rx), std::atan2(tc.y, tc.x), 1e-9);
  }
  // No gradient at the start: the point stays where it is.
  double rx = 9, ry = 9, c = 1, er = 0.1;
  int16_t msgNo = 0;
  ContourCorrector(f, fx, fy, rx, ry, 0, 0, c, er, msgNo);
  EXPECT_EQ(rx, 0);
  EXPECT_EQ(ry, 0);
}

// The progress window: loaded once, shown, its captions, Abort and Exit states before, during
// and after tracing, and the graph window's buttons disabled for the trace.
TEST_F(ContourTest, ProgressWindowStates) {
  ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]"}), 0);
  bool checkedDuring = false;
  screen_.onDoEvents = [&] {
    if (checkedDuring) return;
    checkedDuring = true;
    EXPECT_NE(ContourWindow.AbortEnabled, 0);
    EXPECT_EQ(ContourWindow.ExitEnabled, 0);
    EXPECT_NE(ContourWindow.Visible, 0);
    EXPECT_EQ(ContourWindow.MaxCtCaption, u"2");
    EXPECT_EQ(ContourWindow.StepCaption, u"0.5");
    ASSERT_EQ(host_.graphButtons.size(), 1u);
    EXPECT_FALSE(host_.graphButtons[0]);
    // Exit is disabled while tracing: it does not hide the window.
    ContourExitClick();
    EXPECT_NE(ContourWindow.Visible, 0);
  };
  ASSERT_EQ(Contour(), 0);
  EXPECT_TRUE(checkedDuring);
  EXPECT_EQ(host_.loads, 1);
  EXPECT_EQ(host_.shows, std::vector<bool>{true});
  EXPECT_EQ(host_.graphButtons, (std::vector<bool>{false, true}));
  EXPECT_EQ(ContourWindow.AbortEnabled, 0);
  EXPECT_NE(ContourWindow.ExitEnabled, 0);
  EXPECT_EQ(ContourWindow.LevelCaption, FormatSignificant(2, 5));
  // The counter shows the slot counter after the last regular step: one below the closing slot.
  const int segments = Scene.SegmentCount;
  EXPECT_EQ(ContourWindow.SegCtCaption, rt::IntText(segments - 1));
  EXPECT_EQ(ContourWindow.SegCtForeColor, kContourBlack);
  EXPECT_NE(ContourWindow.QuadrantLit[1], 0);

  // Exit hides the window; it stays loaded, and the next command shows it again with its
  // quadrants reset.
  ContourExitClick();
  EXPECT_EQ(ContourWindow.Visible, 0);
  EXPECT_EQ(host_.shows, (std::vector<bool>{true, false}));
  screen_.onDoEvents = nullptr;
  Requests.ContourStmt = u"PlotContour1[F,{-2,2,-2,2}{-1,1}{1,1,1}]";
  StartSceneBuild();
  ASSERT_EQ(Contour(), 0);
  EXPECT_EQ(host_.loads, 1);
  EXPECT_EQ(host_.shows, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(ContourWindow.QuadrantLit[1], 0);
  EXPECT_NE(ContourWindow.QuadrantLit[2], 0);
  EXPECT_EQ(ContourWindow.MaxCtCaption, u"1");
  EXPECT_EQ(ContourWindow.StepCaption, u"1");
}

// Abort (the button) and Esc (AbortRun) are noticed at the next poll. Before the last level of
// the last start point they end the run with nothing in the scene and the old legend; during
// that last level they end only the branch, and the rest is kept.
TEST_F(ContourTest, AbortByButtonAndByEsc) {
  struct Case {
    const char16_t* statement;
    bool byEsc;
    long afterDoEvents;
    bool keepsTrace;  // the legend is written and the traced part copied
  };
  const Case cases[] = {
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", false, 3, false},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", true, 3, false},
      {u"PlotContour[F,{-2,2,-2,2}{1,1}{1,2,1}]", false, 40, false},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]", false, 20, true},
      {u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]", true, 20, true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)) +
        (tc.byEsc ? " Esc" : " Abort"));
    SetUp();
    Contours.ContourLegendCount = 9;
    RunFlags.AbortRun = -1;  // a stale Esc from before the command is cleared by it
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", tc.statement}), 0);
    RunFlags.AbortRun = -1;
    long polls = 0;
    screen_.onDoEvents = [&] {
      if (++polls != tc.afterDoEvents) return;
      if (tc.byEsc) {
        RunFlags.AbortRun = -1;
      } else {
        ContourAbortClick();
        EXPECT_EQ(ContourWindow.ExitEnabled, 0);
      }
    };
    ASSERT_EQ(Contour(), 0);
    EXPECT_GE(polls, tc.afterDoEvents);
    EXPECT_LE(polls, tc.afterDoEvents + 3) << "the abort is noticed at the next poll";
    EXPECT_NE(ContourWindow.ExitEnabled, 0);
    EXPECT_EQ(ContourWindow.AbortEnabled, 0);
    EXPECT_EQ(host_.graphButtons, (std::vector<bool>{false, true}));
    EXPECT_TRUE(host_.litOrder.size() >= 1u) << "the lit quadrant stays green";
    if (tc.keepsTrace) {
      EXPECT_EQ(Contours.ContourLegendCount, 1);
      EXPECT_GT(Scene.SegmentCount, 0);
      EXPECT_LT(Scene.SegmentCount, 20);
    } else {
      EXPECT_EQ(Contours.ContourLegendCount, 9);
      EXPECT_EQ(Scene.SegmentCount, 0);
      EXPECT_EQ(Scene.VertexCountD, 0);
    }
    screen_.onDoEvents = nullptr;
    RunFlags.AbortRun = 0;
  }
}

// Where tracing lets events run: before each level (one start point) or before each start point
// (four), at every branch step and in the corrector. A constant function has no gradient, so each
// branch is one corrector start and one branch step.
TEST_F(ContourTest, EventsRunBeforeLevelsOrStartPoints) {
  struct Case {
    const char16_t* statement;
    long polls;
  };
  const Case cases[] = {
      {u"PlotContour1[K,{-2,2,-2,2}{1,1}{1,3,1}]", 3 * (1 + 2)},
      {u"PlotContour[K,{-2,2,-2,2}{1,1}{1,3,1}]", 4 * (1 + 3 * 2)},
      {u"PlotContour1[K,{-2,2,-2,2}{1,1}{1,40,1}]", 40 * (1 + 2)},
      {u"PlotContour[K,{-2,2,-2,2}{1,1}{1,40,1}]", 4 * (1 + 40 * 2)},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(
        std::string(tc.statement, tc.statement + std::char_traits<char16_t>::length(tc.statement)));
    SetUp();
    ASSERT_EQ(RunContour(u"K{x,y} = 5 + 0*x*y", tc.statement), 0);
    EXPECT_EQ(screen_.doEventsCount, tc.polls);
  }
}

// The segment buffer: the counter stops at 15,000 (slots 1 to 14,999 used), the count turns light
// red, the remaining levels and start points are skipped, and Exit sets the colour back.
TEST_F(ContourTest, SegmentBufferLimit) {
  ASSERT_EQ(Run({u"G{x,y} = x", u"PlotContour[G,{-1,1,-200,200}{0.5,0}{0.5,0.6,0.1}{0.1,0.01}]"}),
            0);
  Contours.ContourSegments[kContourLastSlot] = ContourSegment{7, 7, 7, 7, 7, 7};
  ASSERT_EQ(Contour(), 0);
  EXPECT_EQ(ContourWindow.SegCtCaption, u"15000");
  EXPECT_EQ(ContourWindow.SegCtForeColor, kContourLimitColor);
  EXPECT_EQ(Scene.SegmentCount, kContourSegmentCap - 1);
  EXPECT_EQ(Contours.ContourSegments[kContourLastSlot].x1, 7) << "slot 15000 is never written";
  // Only the first level from the first start point (-0.5, 0): the line x = 0.5, downward.
  for (const SceneSeg& s : SceneSegments()) {
    ASSERT_NEAR(s.x1, 0.5, 1e-9);
    ASSERT_EQ(s.z1, 0.5);
    ASSERT_LT(s.y2, s.y1);
  }
  EXPECT_EQ(Contours.ContourLegendCount, 2);
  ContourExitClick();
  EXPECT_EQ(ContourWindow.SegCtForeColor, kContourBlack);
  EXPECT_EQ(ContourWindow.Visible, 0);
}

// A branch entered close to the cap: a regular step and a closing step both stop at 15,000.
TEST_F(ContourTest, BranchNearTheCap) {
  ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,0}{1,1,1}]"}), 0);
  ASSERT_EQ(Contour(), 0);
  int16_t f = 1, fx = 2, fy = 3;
  struct Case {
    int16_t n;
    double sg;
    int16_t minAfter, maxAfter;
  };
  // The unit circle with sg 0.2 closes after about 32 steps (a regular slot each and the closing
  // slot); from 14,990 the cap comes first. With sg 1.254 a step turns by about 2 pi / 7, so the
  // curve closes on its seventh step, when the counter stands at 14,999: the closing segment no
  // longer fits.
  const Case cases[] = {{14990, 0.2, 15000, 15000}, {14993, 1.254, 15000, 15000}, {1, 0.2, 31, 36}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.n);
    ContourWindow.SegCtForeColor = kContourBlack;
    Contours.ContourSegments[kContourLastSlot] = ContourSegment{7, 7, 7, 7, 7, 7};
    int16_t n = tc.n, msgNo = 0;
    double x0 = -2, xf = 2, y0 = -2, yf = 2, sx = 1, sy = 0, c = 1, er = 0.1, sg = tc.sg;
    TraceContourBranch(f, fx, fy, n, x0, xf, y0, yf, sx, sy, c, er, sg, msgNo);
    EXPECT_GE(n, tc.minAfter);
    EXPECT_LE(n, tc.maxAfter);
    EXPECT_EQ(Contours.ContourSegments[kContourLastSlot].x1, 7);
    EXPECT_EQ(ContourWindow.SegCtForeColor,
              n >= kContourSegmentCap ? kContourLimitColor : kContourBlack);
    if (n < kContourSegmentCap) {
      // The closing segment ends where the first began.
      const ContourSegment& last = Contours.ContourSegments[n - 1];
      EXPECT_EQ(last.x2, Contours.ContourSegments[tc.n].x1);
      EXPECT_EQ(last.y2, Contours.ContourSegments[tc.n].y1);
    }
  }
}

// The copy into the scene stops once 31,500 points are stored; nothing is written past the store.
TEST_F(ContourTest, SceneVertexLimit) {
  struct Case {
    int16_t startVertices;
    int16_t endVertices;
  };
  const Case cases[] = {{31490, 31500}, {31499, 31501}, {31500, 31500}, {31501, 31501}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.startVertices);
    SetUp();
    ASSERT_EQ(Run({u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]"}), 0);
    Scene.VertexCount = tc.startVertices;
    Scene.SegmentCount = tc.startVertices / 2;
    ASSERT_EQ(Contour(), 0);
    EXPECT_EQ(Scene.VertexCount, tc.endVertices);
    EXPECT_EQ(Scene.SegmentCount, tc.startVertices / 2 + (tc.endVertices - tc.startVertices) / 2);
    EXPECT_EQ(Scene.VertexCountD, tc.endVertices);
    EXPECT_EQ(Contours.ContourLegendCount, 1);
  }
}

// Marks a previous build left in the rows do not make a contour segment anything but ordinary.
TEST_F(ContourTest, SegmentsAreOrdinaryWhateverTheRowsHeld) {
  for (SegmentRow& row : Scene.SegmentTable) {
    row[kSegKind] = kSegStructure;
    row[kDotMark] = 1;
    row[kLimitMarkKind] = 3;
  }
  ASSERT_EQ(RunContour(u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]"), 0);
  ASSERT_GT(Scene.SegmentCount, 0);
  for (int s = 0; s < Scene.SegmentCount; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(Scene.SegmentTable[s][kSegKind], kSegOrdinary);
    EXPECT_EQ(Scene.SegmentTable[s][kDotMark], 0);
    EXPECT_EQ(Scene.SegmentTable[s][kLimitMarkKind], 0);
  }
}

// Without a window host the state alone is kept, and the window's load resets it.
TEST_F(ContourTest, WorksWithoutAHost) {
  SetContourWindowHost(nullptr);
  ASSERT_EQ(RunContour(u"F{x,y} = x^2 + y^2", u"PlotContour1[F,{-2,2,-2,2}{1,1}{1,1,1}]"), 0);
  EXPECT_NE(ContourWindow.Loaded, 0);
  EXPECT_NE(ContourWindow.Visible, 0);
  EXPECT_GT(Scene.SegmentCount, 0);
  ContourWindowUnloaded();
  EXPECT_EQ(ContourWindow.Loaded, 0);
  LoadContourWindow();
  EXPECT_NE(ContourWindow.Loaded, 0);
  EXPECT_TRUE(ContourWindow.SegCtCaption.empty());
  EXPECT_EQ(ContourWindow.QuadrantLit[1], 0);
}

}  // namespace
}  // namespace ms::testing
