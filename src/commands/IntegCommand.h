// c=Integ[F,{a,b,n,marker}] (also with G, and G and H): the definite integral of a one-parameter
// worksheet function by the composite Simpson 3/8 rule, panel by panel. The running integral
// G{x}*I(x) + H{x} is kept in the statement's slot of the solution table and drawn as a curve;
// the final value becomes the worksheet constant c. Every panel polls for Esc (PollAbort): a run
// stopped there stores nothing (the constant of a run at Execute stays marked not computed) and
// draws nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "numerics/Integ.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// The identifier of the result constant of the integral statement being processed (shared with
// the double integral).
extern rt::Text IntegConstId;
// Writes a computed integral into the constant IntegConstId (padded to two characters): its
// expression "0", its value text, and marks it computed. No such constant: nothing happens.
void StoreIntegralConstant(double value);
// Shows the box of a pole in the integral's range and returns kMsgIntegralPole.
[[nodiscard]] int16_t StopAtPole();
// Splits "c=..." or "cd=..." into the constant identifier and the rest of the statement.
void SplitIntegralConstant(const rt::Text& statement, rt::Text& constId, rt::Text& rest);

// The last single integral computed in this run (0 before any); the provisional value text of a new
// integral constant is written from it.
extern double IntegResult;

// The most panels a statement gets: one per row of its slot (rows 1..1000).
constexpr double kMaxIntegPanels = 1000;

// The arguments of c=Integ[F,{a,b,n,k}] and c=Integ[F,G,H,{a,b,n,k}].
struct IntegArgs {
  rt::Text constId;                               // the constant the result is stored in
  int16_t fRecord = 0, gRecord = 0, hRecord = 0;  // one-parameter functions (0: not given)
  double a = 0, b = 0;                            // the limits
  double panels = 0;                              // whole, at most kMaxIntegPanels
  std::optional<int16_t> markerSpacing;           // once read (a later check may still refuse)
};

// Parses and checks the statement: 0, or the first message met (5000..5095 or a range reader's
// message). constId is set whatever the message.
[[nodiscard]] int16_t ParseIntegArgs(const rt::Text& statement, IntegArgs& args);

// Parses the statement and, at Execute or in the graph window without Replot, computes the
// integral into its slot and the constant; then builds the curve of the slot. fromGraph is set by
// the graph window's picture build, where Replot draws the stored slot without computing.
// Messages 5000-5095, those of the range reader and of the evaluation, 396 for a slot outside
// the integral list, 3990 when the scene store is full.
[[nodiscard]] int16_t ProcessInteg(const rt::Text& statement, int16_t slot, bool fromGraph = false);

// The running integral of F (times G, plus H; indexes 0 when absent) from a to b in n panels into
// the slot, IntegResult and the constant IntegConstId. n is the whole panel count, at most 1000.
// Returns 0 or the first message.
[[nodiscard]] int16_t ComputeInteg(int16_t fIndex, int16_t gIndex, int16_t hIndex, double a,
                                   double b, double n, int16_t slot);

// Draws rows 0..n of the slot as a curve in the integral colour (the view box becomes the
// curve's own). Returns 0, or 3990 when the scene store is full.
[[nodiscard]] int16_t PlotIntegCurve(int16_t slot, int n);

// A statement continues the curve of the statement in the slot before it. The chain only links
// slots computed one after the other in the same run; Execute and the picture build start it
// afresh.
void ResetIntegChain();

}  // namespace ms
