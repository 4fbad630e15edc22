// x' = F(t, x), x(t0) = x0 solved from t0 to tf by the adaptive Runge-Kutta-Fehlberg 4(5) method
// of Rkf45Step.h: a thinned selection of the points goes to the shared solution table and the
// curve of the current view into the scene store. Also what the single-equation and the system
// drivers share: the results the text overlays read, the value limits and the thinning test.
#pragma once

#include <cstdint>

#include "numerics/Rkf45Step.h"

namespace ms {

// Results of the differential-equation commands that the steps and the text overlays read.
struct OdeResultsState {
  // Initial slope of the last solution: F(t0, x0) of a single equation, y at the first stored
  // point of a system; the shooting methods write theirs here too.
  double InitialSlope = 0;
  // t0 of the last single-equation solve (its driver records the initial slope there).
  double IVPStartT = 0;
  // A boundary value problem was solved by shooting (-1); cleared by every IVP[ solve.
  int16_t BVPSolved = 0;
};

extern OdeResultsState OdeResults;

void ResetOdeResults();

// Message of a right-hand side that cannot be evaluated.
constexpr int16_t kMsgRhsFailed = 2100;
// A step at the smallest step size missed its tolerance by far: the solve stops there and what it
// stored is drawn.
constexpr int16_t kMsgBeyondSmallestStep = 2115;
// Shows the box of kMsgBeyondSmallestStep (OK button, the default title).
void ShowBeyondSmallestStep();

// Limits shared by the initial value solvers.
constexpr double kValueLimit = 100000.0;  // |value| above this stops a solve
constexpr int16_t kMaxStoredRow = 1000;   // last row of the solution table a solve writes

// The value rounded to single precision, as every stored solution value is; a value beyond the
// single-precision range (or NaN) is returned unchanged.
double RoundToSingle(double v);

// A point is stored at least every this many steps, whatever the thinning test says.
constexpr int16_t kMaxUnstoredSteps = 3;

// The thinning test: store (store := -1, count := 0) when cur and prev have the same sign and the
// larger magnitude is at least factor times the smaller, or when the sign changes strictly;
// otherwise count goes up by one and store is left as it was.
void TestStoreFactor(double prev, double cur, double factor, int16_t& store, int16_t& count);

// Which kept steps of a solve are stored, shared by the drivers: row 1 holds the start point; a
// kept step whose first unknown passes the thinning test against the last stored value (or the
// third kept step without one) stores the point at which it began in the next row. The first
// kept step is never stored: the start point is row 1 already.
class StoredRows {
 public:
  explicit StoredRows(double start) : storeRef_(start) {}
  // The row for the kept step whose first unknown ends at value, or 0 for none. full is set when
  // that row is the last of the table: the solve then stops after storing it.
  int16_t Next(double value, double factor, bool& full);
  // Rows in use: 1 plus the rows Next has handed out.
  int16_t Count() const { return points_; }
  // Takes one more row for the end point while the table has room.
  int16_t TakeEndRow();

 private:
  double storeRef_;
  int16_t unstored_ = 1;
  int16_t points_ = 1;
  bool firstStep_ = true;
};

// Solves x' = f(t, x) from t0 to tf, stores the points in slots 1 (t, x), 2 (t, x') and 3 (x, x')
// and builds the curve of the view ODEViewRequest (1 to 3; a code of another problem shows view
// 1). Row 1 holds the start point, rows 2 on the thinned points and the last row the end point tf,
// which the final, shortened step lands on. With Replot set the stored rows are drawn again
// without solving. A step at the smallest step size that misses its tolerance by far shows
// kMsgBeyondSmallestStep's box, ends the rows at the point where that step began and draws them.
// Returns 0, the right-hand side's message or the curve build's 3990.
[[nodiscard]] int16_t SolveIVP1(const OdeRhs& f, double t0, double tf, double x0, double factor,
                                double tol, const ProgressSink& progress);

}  // namespace ms
