#include "plotting/Contour.h"

#include <algorithm>
#include <cmath>

#include "language/CommandRequests.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Derivatives.h"
#include "mathematics/FunctionValue.h"
#include "platform/runtime/FormatSignificant.h"
#include "platform/ui/UiServices.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"

namespace ms {

ContourStateData Contours;
ContourWindowData ContourWindow;

const char16_t* const kContourStartOutsideText =
    u"Your choosen (x0,y0) starting point is outside your xy range settings.\r\n"
    u"Key Return button to return to the work sheet to correct.";
const char16_t* const kContourZeroStepText =
    u"Your level step ds is zero.\r\n"
    u"Key Return button to return to the work sheet to correct.";
const char16_t* const kContourSegmentLimitText =
    u"The contour reached the maximum of 15000 segments: the levels and start points after it "
    u"were not traced.\r\n"
    u"Reduce the level range or enlarge the segment size.";
const char16_t* const kContourTooManyLevelsText =
    u"Your level range holds more than 200 levels.\r\n"
    u"Key Return button to return to the work sheet to correct.";

ContourDerivativePair LastContourDerivatives;

namespace {

ContourWindowHost* g_host = nullptr;

// Values of F the run has asked for and obtained; none obtained of those asked for means F cannot
// be evaluated. g_lastTaken: whether the last EvalF2AtPoint obtained its value.
long g_valuesAsked = 0;
long g_valuesTaken = 0;
bool g_lastTaken = false;
// The run's slot counter reached the cap: tracing was cut short.
bool g_capReached = false;

// F gives no value anywhere.
constexpr int16_t kMsgNoValue = 1422;

// A level belongs to the level list within this distance, or within a thousandth of the level
// step where the step is below 0.1 (so that levels closer than 0.0001 keep colours of their own),
// widened by the rounding of a running sum of up to 200 steps at the levels' size.
constexpr double kLevelMatch = 0.0001;
constexpr double kLevelMatchFraction = 0.001;
constexpr double kLevelRounding = 1e-12;

double LevelMatch(double c, double c1, double c2, double ds) {
  const double size = std::max({std::fabs(c), std::fabs(c1), std::fabs(c2)});
  return std::max(std::min(kLevelMatch, std::fabs(ds) * kLevelMatchFraction),
                  size * kLevelRounding);
}
// The tracing loop runs on up to this fraction of the level step past c2, so that the running
// sum's rounding does not drop the last level while the level after it stays out, whatever the
// size of the levels.
constexpr double kLevelAllowanceFraction = 0.001;

// The command traced no segment at all.
constexpr int16_t kMsgNothingTraced = 3614;

// Level colours (red, green, blue), by level number Mod 11.
constexpr int16_t kLevelColors[11][3] = {
    {28, 0, 128}, {0, 0, 128}, {0, 128, 128}, {0, 255, 255}, {0, 128, 128}, {0, 0, 0},
    {0, 255, 0},  {128, 0, 0}, {255, 128, 0}, {255, 0, 255}, {255, 0, 0},
};

void Refresh() {
  if (g_host) g_host->Refresh();
}

bool Aborted() {
  return Contours.ContourAbort != 0 || RunFlags.AbortRun != 0;
}

using rt::IsLower;
using rt::IsUpper;

// The level loop runs while the running level has not passed c2 (with the allowance, in the
// direction of the step).
bool LevelInRange(double c, double c2, double ds, double allowance) {
  return ds > 0 ? c <= c2 + allowance : c >= c2 - allowance;
}

// The allowance of the tracing loop for the step ds.
double TracingAllowance(double ds) {
  return kLevelAllowanceFraction * std::fabs(ds);
}

// Number of levels the tracing loop visits, counted up to limit + 1.
int CountLevels(double c1, double c2, double ds, int limit) {
  if (ds == 0) return LevelInRange(c1, c2, 1.0, 0.0) ? limit + 1 : 0;
  int count = 0;
  for (double c = c1; LevelInRange(c, c2, ds, TracingAllowance(ds)); c += ds) {
    if (++count > limit) break;
  }
  return count;
}

// Quadrant of a point: 1 for x > 0 and y > 0, 2 for x < 0 and y > 0, 3 for both negative, 4 for
// x > 0 and y < 0; 0 when a coordinate is 0.
int QuadrantOf(double x, double y) {
  if (x > 0 && y > 0) return 1;
  if (x < 0 && y > 0) return 2;
  if (x < 0 && y < 0) return 3;
  if (x > 0 && y < 0) return 4;
  return 0;
}

void LightQuadrant(double x, double y) {
  const int q = QuadrantOf(x, y);
  if (q != 0) ContourWindow.QuadrantReached[static_cast<size_t>(q)] = true;
  Refresh();
}

void MarkSegmentLimit() {
  g_capReached = true;
  ContourWindow.SegmentLimitReached = true;
  Refresh();
}

// Prepares a record as every compile does before it inlines one: built-in names as tokens and
// constants by their values, so that a parameter letter inside "Sin" or in a constant's name is
// not taken for the parameter when the record is inlined by its place.
void PrepareRecord(int16_t r) {
  if (r < 1 || r > Tables.FuncCount || r > kMaxFunctions) return;
  FuncRec& rec = Tables.FuncTable[static_cast<size_t>(r)];
  TokenizeNames(rec.Expr, rec.Expr);
  SubstituteConstants(rec.Expr, rec.Expr);
}

// The worksheet's side of a run: F and its derivative records as the field, the run's slots
// from 1 on as the segment sink (the counter n is the next free slot; slot kContourSegmentCap is
// never written), the progress window following the count, and the window's Abort and Esc
// stopping the tracer.
class SlotSink : public ContourSegmentSink {
 public:
  int16_t n = 1;
  bool HasRoom() const override { return n >= 1 && n < kContourSegmentCap; }
  void Add(const ContourSegment& segment) override {
    if (n >= 1 && n <= kContourLastSlot) Contours.ContourSegments[static_cast<size_t>(n)] = segment;
    ++n;
  }
  void StepTaken() override {
    ContourWindow.Segments = n;
    Refresh();
  }
  void LimitReached() override { MarkSegmentLimit(); }
};

FieldFn RecordField(int16_t r, bool counted) {
  return [r, counted](double x, double y, double& value) {
    EvalF2AtPoint(r, x, y, value);
    // Values of F are counted for the run's check that F gives values at all.
    if (counted) {
      ++g_valuesAsked;
      if (g_lastTaken) ++g_valuesTaken;
    }
    return g_lastTaken;
  };
}

ProgressSink ContourProgress() {
  return {[] { ui::Ui().DoEvents(); }, [] { return Aborted(); }, {}};
}

// The level loop of one start point. Returns false when an abort stopped it before a level.
bool TraceLevels(const ContourArgs& a, const ContourField& field, SlotSink& sink, double sx,
                 double sy, bool eventsPerLevel) {
  const double c1 = a.c1, c2 = a.c2, ds = a.ds;
  for (double c = c1; LevelInRange(c, c2, ds, TracingAllowance(ds)); c += ds) {
    if (eventsPerLevel) ui::Ui().DoEvents();
    ContourWindow.Level = c;
    Refresh();
    if (Aborted()) return false;
    if (!sink.HasRoom()) break;
    TraceContourBranch(field, sink, ContourProgress(), {a.x0, a.xf, a.y0, a.yf}, sx, sy, c, a.er,
                       a.sg);
  }
  return true;
}

void SetGraphButtons(bool enabled) {
  if (g_host) g_host->SetGraphButtonsEnabled(enabled);
}

}  // namespace

void SetContourWindowHost(ContourWindowHost* host) {
  g_host = host;
}

ContourWindowHost* GetContourWindowHost() {
  return g_host;
}

void ResetContourState() {
  Contours.ContourLegendCount = 0;
  Contours.ContourAbort = 0;
  Contours.ContourLegend.fill(ContourLegendEntry{});
  ContourWindow = ContourWindowData{};
  LastContourDerivatives = ContourDerivativePair{};
}

// --- Progress window -------------------------------------------------------------------------

void ContourWindowLoad() {
  ContourWindow.Loaded = -1;
  ContourWindow.QuadrantReached.fill(false);
  ContourWindow.Level.reset();
  ContourWindow.LastLevel.reset();
  ContourWindow.LevelStep.reset();
  ContourWindow.Segments.reset();
  ContourWindow.SegmentLimitReached = false;
  Refresh();
}

void ContourWindowUnloaded() {
  ContourWindow.Loaded = 0;
  ContourWindow.Visible = 0;
}

void LoadContourWindow() {
  if (ContourWindow.Loaded != 0) return;
  if (g_host) g_host->Load();
  // A host that could not create its window still leaves a loaded state behind.
  if (ContourWindow.Loaded == 0) ContourWindowLoad();
}

void ContourAbortClick() {
  Contours.ContourAbort = -1;
  ContourWindow.Finished = false;
  Refresh();
}

void ContourExitClick() {
  ContourWindow.SegmentLimitReached = false;
  if (ContourWindow.Finished) {
    ContourWindow.Visible = 0;
    if (g_host) g_host->ShowWindow(false);
  }
  Refresh();
}

// --- Values ------------------------------------------------------------------------------------

void EvalF2AtPoint(int16_t r, double x, double y, double& value) {
  value = 0;
  g_lastTaken = false;
  // The record is used by its place in the table, never looked up by its name: a user function
  // of the same name ("Fx" is a name a user may write) would otherwise be found first (the
  // record prepared as PrepareRecord leaves it).
  const double args[2] = {x, y};
  int16_t msgNo = 0;
  double v = 0;
  msgNo = EvalRecordAt(r, args, 2, v);
  // A refused value (such as Sqrt[ of a negative number) counts as undefined, which the guarded
  // arithmetic writes as 0; so does a function that cannot take two arguments.
  if (msgNo != 0) return;
  value = v;
  g_lastTaken = true;
}

void ContourLevelColor(double c, double c1, double c2, double ds, int16_t& red, int16_t& green,
                       int16_t& blue) {
  const double last = rt::Int((c2 - c1) / ds + kLevelMatch);
  const double match = LevelMatch(c, c1, c2, ds);
  double k = 0;
  if (last >= 0) {
    // The levels within `match` of c form a run of consecutive numbers starting just above
    // (c - c1 - match) / ds (for a positive step; below for a negative one); the first of
    // them is found among the three numbers around that bound, which absorbs the rounding of the
    // division.
    double lo = (c - c1 - match) / ds;
    double hi = (c - c1 + match) / ds;
    if (lo > hi) std::swap(lo, hi);
    const double start = std::max(0.0, std::floor(lo));
    k = last + 1;
    for (double j = start; j <= start + 2 && j <= last; j += 1) {
      if (std::fabs(c - (c1 + j * ds)) < match) {
        k = j;
        break;
      }
    }
  }
  double row = std::fmod(k, 11.0);
  if (!(row >= 0 && row < 11)) row = 0;
  const auto& rgb = kLevelColors[static_cast<int>(row)];
  red = rgb[0];
  green = rgb[1];
  blue = rgb[2];
}

int16_t TraceContours(const ContourArgs& a, int16_t fxRec, int16_t fyRec) {
  const double xc = a.xc, yc = a.yc;
  const double c1 = a.c1, c2 = a.c2, ds = a.ds;
  LoadContourWindow();
  ContourWindow.Visible = -1;
  if (g_host) g_host->ShowWindow(true);
  ContourWindow.Level.reset();
  ContourWindow.LastLevel = c2;
  ContourWindow.LevelStep = ds;
  ContourWindow.Segments.reset();
  Refresh();
  SlotSink sink;
  const ContourField field{RecordField(a.fRecord, true), RecordField(fxRec, false),
                           RecordField(fyRec, false)};
  g_valuesAsked = g_valuesTaken = 0;
  g_capReached = false;

  if (a.oneQuadrant) {
    // One start point: events run before each level.
    LightQuadrant(xc, yc);
    if (!TraceLevels(a, field, sink, xc, yc, true)) return 0;
  } else {
    // Four start points: events run before each of them.
    for (int sy = -1; sy <= 1; sy += 2) {
      for (int sx = -1; sx <= 1; sx += 2) {
        ui::Ui().DoEvents();
        const double startX = sx * xc, startY = sy * yc;
        LightQuadrant(startX, startY);
        if (!TraceLevels(a, field, sink, startX, startY, false)) return 0;
      }
    }
  }

  // Not one value of F anywhere it was asked for: F cannot be evaluated at (x, y) at all (it
  // takes more than two parameters, or no point the corrector visited is in its domain).
  if (g_valuesAsked > 0 && g_valuesTaken == 0) return kMsgNoValue;

  // Legend: the nominal levels up to c2 itself.
  int16_t count = 0;
  for (double c = c1; LevelInRange(c, c2, ds, 0.0) && count < kContourLegendSize; c += ds) {
    ++count;
    ContourLegendEntry& entry = Contours.ContourLegend[static_cast<size_t>(count)];
    entry.Level = c;
    ContourLevelColor(c, c1, c2, ds, entry.Red, entry.Green, entry.Blue);
  }

  // Copy the segments into the scene store as ordinary segments.
  for (int k = 1; k < sink.n && k <= kContourLastSlot; ++k) {
    if (Scene.VertexCount >= kContourVertexStop) break;
    const ContourSegment& seg = Contours.ContourSegments[static_cast<size_t>(k)];
    int16_t red = 0, green = 0, blue = 0;
    ContourLevelColor(seg.z1, c1, c2, ds, red, green, blue);
    const int row = Scene.SegmentCount;
    if (!AppendSegment({seg.x1, seg.y1, seg.z1}, {seg.x2, seg.y2, seg.z2}, red, green, blue,
                       kSegOrdinary))
      break;
    Scene.SegmentTable[static_cast<size_t>(row)][kDotMark] = 0;
    Scene.SegmentTable[static_cast<size_t>(row)][kLimitMarkKind] = 0;
  }
  StoreSceneCounts();
  Contours.ContourLegendCount = count;
  if (g_capReached) ui::Ui().MsgBox(kContourSegmentLimitText, ui::kOkOnly, field::kAppTitle);
  // Not one segment from any level and start point (and no abort that stopped it): an empty
  // picture would say nothing of why, so the command says it.
  if (sink.n == 1 && !Aborted()) return kMsgNothingTraced;
  return 0;
}

// --- The command -------------------------------------------------------------------------------

int16_t DrawContours(const ContourArgs& a, int16_t fxRec, int16_t fyRec) {
  int16_t msgNo = 0;
  if (!(a.x0 <= a.xc && a.xc <= a.xf && a.y0 <= a.yc && a.yc <= a.yf)) {
    ui::Ui().MsgBox(kContourStartOutsideText, ui::kOkOnly, field::kAppTitle);
    return 0;
  }
  // A zero step would never reach c2, and the legend holds 200 levels: both are refused before
  // anything is traced.
  if (a.ds == 0) {
    ui::Ui().MsgBox(kContourZeroStepText, ui::kOkOnly, field::kAppTitle);
    return 0;
  }
  if (CountLevels(a.c1, a.c2, a.ds, kContourLegendSize) > kContourLegendSize) {
    ui::Ui().MsgBox(kContourTooManyLevelsText, ui::kOkOnly, field::kAppTitle);
    return 0;
  }

  LoadContourWindow();
  ContourWindow.QuadrantReached.fill(false);
  Contours.ContourAbort = 0;
  RunFlags.AbortRun = 0;
  ContourWindow.Tracing = true;
  ContourWindow.Finished = false;
  Refresh();
  SetGraphButtons(false);

  for (const int16_t r : {a.fRecord, fxRec, fyRec}) PrepareRecord(r);
  msgNo = TraceContours(a, fxRec, fyRec);

  ContourWindow.Tracing = false;
  ContourWindow.Finished = true;
  Refresh();
  SetGraphButtons(true);
  return msgNo;
}

}  // namespace ms
