// The computing half of Execute and Graph: the Execute sequence (reading, parameter set,
// evaluation, end mark), the parameter set, the results listing and the check of the Plot
// vectors. Plain C++ over the worksheet tables; the worksheet window calls these and shows what
// they leave.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace ms {

// Where Execute ended.
enum class ExecuteStage : int {
  kRead = 0,    // reading the worksheet: a message, or Esc
  kParameters,  // the parameter set ("<" statement) refused
  kEvaluation,  // a function's evaluation failed
  kEndMark,     // no room for the end mark of the run's values
  kDone         // ran through
};

struct ExecuteOutcome {
  ExecuteStage stage = ExecuteStage::kRead;
  bool aborted = false;  // Esc while the worksheet was read (stage kRead, no message)
  int16_t msgNo = 0;     // the message Execute stopped with, 0 when none
  int16_t stmtNo = 0;    // the statement number and text the message names
  rt::Text stmtText;
  // A command waits for Graph (Plot[ included); known once the reading ended without message.
  bool graphReady = false;
  // A parameter set was read and the functions evaluated: the listing has their values.
  bool evaluated = false;
  // undefinedFunctions[i] true: function i was not evaluated (its value set to 0); empty when
  // nothing was evaluated.
  std::vector<bool> undefinedFunctions;
};

// Execute: clears the last run's results and requests, reads the worksheet (CR LF lines; a last
// line without its line break gets one), then reads the parameter set and evaluates the functions
// when there is a "<" statement, and appends the end mark of the run's values. Plot[ sets
// WorksheetSignals.GraphAvailable as the reading classifies it.
// worksheetRead is called when the reading has ended, before anything else runs, so that its
// lines can be shown at once. The abort flag is cleared again after an Esc.
ExecuteOutcome RunExecute(rt::Text sheet, const std::function<void()>& worksheetRead);

// Reads the worksheet: each statement the reader yields is checked and stored, classified (a
// command classification names is run now) and the function table compiled, stopping at the first
// message. stmtText receives the text the error box shows; returns 0 or the first error. Events run
// after every classification; an abort (RunFlags.AbortRun seen then, for a statement ended by a
// line break or ":") ends the reading with 0 before the statement is compiled.
[[nodiscard]] int16_t ProcessWorksheet(const rt::Text& worksheet, rt::Text& stmtText);

// Message numbers of the parameter set.
constexpr int16_t kMsgParmFormat = 14;       // "Parameters Format Examples: ..."
constexpr int16_t kMsgParmNotConstant = 15;  // "Reference to requested constant not predefined ..."
// Message of Plot vectors that cannot be resolved (only tested for non-zero).
constexpr int16_t kMsgPlotVectorUnknown = 13;

// Reads a parameter set such as "<t=3;u=ax;r=-2>" (no blanks) into the value list: each name is
// appended, then given its value (a number, or a constant's value, negated after "-"). 0, 14
// (format), 15 (no such constant) or the value list's full-table message. Entries appended before
// an error stay.
[[nodiscard]] int16_t SetUpParm(const rt::Text& stmt);

// The first statement of StatementList that begins with "<": its index (1-based), or 0.
int16_t FindParameterStatement();

// Appends the end mark "#" (value 0) of this run's values; the value list's full-table message
// when there is no room.
[[nodiscard]] int16_t AppendEndMark();

// The value a listing shows for constant i of ConstTable: its value text, or "not computed" for
// an integral's constant whose command failed or was aborted.
rt::Text ShownConstantValue(int i);

// The results listing: the constants, the functions (vector components left out) and the vectors
// with their values at digits significant digits. undefined[i], when given and true, marks
// function i as not evaluated: its value (a vector component's too) says "undefined" instead of a
// stale number. A vector whose component functions are missing is listed without values. Every
// record polls for Esc (PollAbort); Esc ends the listing with the lines made so far.
std::vector<rt::Text> ResultsListing(int digits, const std::vector<bool>* undefined = nullptr);
// The value of function record i as listed: "undefined" when so marked, else digits significant
// digits.
rt::Text ListedValue(int i, int digits, const std::vector<bool>* undefined);

// Fills PlotSpec from the Plot vectors: for vector k (1 to 6) the FuncTable indexes of its X, Y
// and Z components. 0, or 13 when a vector or one of its component functions is missing or there
// are more than six vectors.
[[nodiscard]] int16_t CheckPlotVectors();

}  // namespace ms
