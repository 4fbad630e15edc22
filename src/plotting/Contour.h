// Contour lines of a worksheet function of two parameters: PlotContour[F,{x0,xf,y0,yf}{xc,yc}
// {c1,c2,ds}] and PlotContour1[ with the same arguments (and an optional {er,sg}).
//
// The level curves F(x, y) = c are followed by the tracer of ContourTrace.h, handed F and its
// partial derivatives as the field. The partial derivatives are made symbolically once per
// command and stored as the worksheet functions "Fx" and "Fy". Every value is taken from a record
// by its place in the function table (a user function may bear the same name): the call is inlined
// as the compiler inlines calls and the expression compiled and evaluated.
//
// PlotContour[ starts a curve for every level from the start point and from its three mirror
// images; PlotContour1[ from the start point only. The traced segments go into the scene store
// with their level as z, coloured by level, and a legend of levels and colours is kept for the
// graph window.
//
// Tracing shows its progress in a small window with an Abort button. The core keeps what that
// window shows in ContourWindow and reaches the window itself only through a ContourWindowHost,
// which the window installs; without a host the state is kept all the same. Every step lets the
// event loop run (ui::Ui().DoEvents()) and stops once ContourAbort (Abort) or RunFlags.AbortRun
// (Esc) is set.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/runtime/Runtime.h"
#include "plotting/ContourTrace.h"

namespace ms {

// Segment slots 1..kContourSegmentCap - 1 are usable per run (slot 0 is never used); the slot
// counter reaching the cap ends the run's tracing.
constexpr int kContourLastSlot = 15000;
constexpr int kContourLegendSize = 200;
// The copy into the scene store stops once this many points are stored.
constexpr int kContourVertexStop = 31500;
// Defaults of the error tolerance and the segment length (used for values <= 0).
constexpr double kContourDefaultError = 0.1;
constexpr double kContourDefaultSegment = 0.2;

struct ContourLegendEntry {
  double Level = 0;
  int16_t Red = 0, Green = 0, Blue = 0;
};

struct ContourStateData {
  // Slots 0..15000; filled from slot 1 by each run.
  std::array<ContourSegment, kContourLastSlot + 1> ContourSegments{};
  // Entries 1..200 (0 unused): the levels of the last run, in order, with their colours.
  std::array<ContourLegendEntry, kContourLegendSize + 1> ContourLegend{};
  int16_t ContourLegendCount = 0;
  // Set by the progress window's Abort button; cleared before each tracing.
  int16_t ContourAbort = 0;
};

extern ContourStateData Contours;

// The progress of a contour run, which the progress window shows: the numbers are none until the
// run sets them (and again after the window loads); the window formats them.
struct ContourWindowData {
  int16_t Loaded = 0;
  int16_t Visible = 0;
  std::optional<double> Level;            // the level being traced
  std::optional<double> LastLevel;        // the last level c2
  std::optional<double> LevelStep;        // the level step ds
  std::optional<int16_t> Segments;        // segments traced so far
  bool SegmentLimitReached = false;       // tracing stopped at the segment limit
  std::array<bool, 5> QuadrantReached{};  // entries 1..4: a branch started in that quadrant
  bool Tracing = false;                   // levels are being traced: the run can be stopped
  bool Finished = false;                  // tracing is over: the user may go back to the graph
};

extern ContourWindowData ContourWindow;

// The screen side of the progress window. The core writes ContourWindow and calls Refresh; the
// host mirrors it on the widgets.
class ContourWindowHost {
 public:
  virtual ~ContourWindowHost() = default;
  // Creates the window when it does not exist; creating it runs its load (ContourWindowLoad).
  virtual void Load() = 0;
  // Shows the window modeless (Visible is set) or hides it (Visible cleared); it stays loaded.
  virtual void ShowWindow(bool shown) = 0;
  // Mirrors ContourWindow on the widgets of a loaded window.
  virtual void Refresh() = 0;
  // Enables or disables the graph window's Return, End Program and Update Graph buttons.
  virtual void SetGraphButtonsEnabled(bool enabled) = 0;
};

// Installs the host (not owned); nullptr: no window, the state alone is kept.
void SetContourWindowHost(ContourWindowHost* host);
ContourWindowHost* GetContourWindowHost();

// Start-up: empty legend and segment buffer, flag cleared, window state as not loaded.
void ResetContourState();

// --- Progress window events (the window's handlers call these) ---------------------------------
// The load: no quadrant reached, no numbers, the limit mark cleared.
void ContourWindowLoad();
// The window was destroyed (unloaded): the next use loads it again.
void ContourWindowUnloaded();
// Loads the window when it is not loaded (through the host when one is installed).
void LoadContourWindow();
// Abort: ContourAbort set and going back to the graph refused until tracing has unwound.
void ContourAbortClick();
// Exit to Graph: the limit mark cleared; hides the window when tracing is over.
void ContourExitClick();

// --- The command -------------------------------------------------------------------------------
// The arguments of PlotContour[F,{x0,xf,y0,yf}{xc,yc}{c1,c2,ds}{er,sg}] and PlotContour1[.
struct ContourArgs {
  bool oneQuadrant = false;  // PlotContour1[: from the start point only
  int16_t fRecord = 0;       // F's record in FuncTable
  double x0 = 0, xf = 0, y0 = 0, yf = 0;
  double xc = 0, yc = 0;
  double c1 = 0, c2 = 0, ds = 0;
  double er = 0, sg = 0;  // the defaults when missing or <= 0
  // The message of the values after F: the command gives it after making the derivative records.
  int16_t valuesMsg = 0;
};

// Checks the start point and the level list, then traces with the progress window and fills the
// scene store and the legend. fxRec, fyRec: FuncTable records of Fx and Fy. msgNo 0 on success (a
// start point outside the box, a zero level step and more levels than the legend holds are
// refused with a box of their own and msgNo 0), 1422 when F gives no value anywhere, or 3614
// when nothing was traced.
[[nodiscard]] int16_t DrawContours(const ContourArgs& args, int16_t fxRec, int16_t fyRec);

// The derivative records the last run appended, with the derivative texts written into them (the
// compiler rewrites a record's expression in place, so the texts are kept here). When the table
// has no room for another pair, this one serves again. Cleared by ResetContourState.
struct ContourDerivativePair {
  int16_t fx = 0, fy = 0;
  rt::Text parm1, parm2, dx, dy;
};
extern ContourDerivativePair LastContourDerivatives;

// Traces every level from the start point (and its mirror images unless args.oneQuadrant is
// set), then writes the legend and copies the segments into the scene store. An abort noticed
// before a level leaves the scene and the legend as they were. fxRec, fyRec: FuncTable records of
// Fx and Fy. 0, or 1422 (nothing drawn) when not one value of F
// or its derivatives could be taken, or 3614 (the legend written) when no level gave a segment
// from any start point; a box says so when the segment buffer filled and cut tracing short.
// Levels are traced from c1 in steps of ds while they have not passed c2 by more than a
// thousandth of ds (the running sum's rounding keeps the last level).
[[nodiscard]] int16_t TraceContours(const ContourArgs& args, int16_t fxRec, int16_t fyRec);

// F(x, y) for the FuncTable record r, taken by its place, not by its name: the record's body is
// inlined with the numbers for its parameters and evaluated. A value the evaluator refuses (or a
// record that does not exist or cannot take two arguments) is taken as 0; the tables are left as
// they were.
void EvalF2AtPoint(int16_t r, double x, double y, double& value);

// The colour of level c among c1, c1 + ds, ..., c2: row k Mod 11 of the level colours, where k is
// the first level within 0.0001 of c (one past the last level when none is).
void ContourLevelColor(double c, double c1, double c2, double ds, int16_t& red, int16_t& green,
                       int16_t& blue);

// The texts of the boxes that refuse a command without tracing.
extern const char16_t* const kContourStartOutsideText;
extern const char16_t* const kContourZeroStepText;
extern const char16_t* const kContourTooManyLevelsText;
// The box after a run whose slot counter reached the cap (the traced part is drawn).
extern const char16_t* const kContourSegmentLimitText;

}  // namespace ms
