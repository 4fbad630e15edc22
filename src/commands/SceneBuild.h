// The picture build: the commands the graph window was asked for (Integ[, dblInt[, IVP[, BVP[, the
// three fields, the contours and the Plot[ curves #1 to #6) run in their fixed order from one
// table, each appending to the scene store; then grid crosses, axes and the box are added. Each row
// that runs leaves a report (ran, stopped and why, its message, the ODE views a solve made
// available); the first row that stops ends the build. The graph window maps each report to its
// frames, menus and boxes as it arrives.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "commands/GraphCommands.h"
#include "numerics/Ivp.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// How a row ended.
enum class StepEnd : int {
  kRan = 0,      // the build goes on
  kAborted,      // Esc during the command: the build ends without a message
  kMessage,      // the command refused its statement (msgNo, statement, slot)
  kVertexLimit,  // the command ran but the store is past its vertex limit
};

// Which parts of the picture the user may give a colour of their own, as far as a row changed
// them: the Plot[ curves #1 to #6, the IVP solution and the BVP trial curves. Unset: as it was.
struct ColourChoices {
  std::array<std::optional<bool>, 6> curves;
  std::optional<bool> ivpSolution;
  std::optional<bool> bvpTrials;
};

struct SceneStepReport {
  SceneStep step = SceneStep::kInteg;
  int16_t curve = 0;      // Plot[ curve 1..6 of a kCurve row
  int16_t slot = 0;       // the integral slot (1..12) of a refused statement, 0 otherwise
  int statementsRun = 0;  // commands called: one per integral slot, one for the other commands
  StepEnd end = StepEnd::kRan;
  int16_t msgNo = 0;
  rt::Text statement;  // the refused statement as the command left it
  // A box around the picture may be offered once the row is done.
  bool boxAvailable = false;
  // The colour choices the row changed, kept whether or not it stopped afterwards.
  ColourChoices colours;
  // The row completed with changed colour choices: they are to be shown now.
  bool showColours = false;
  // The group of ODE views a solve made available, when it changed them.
  std::optional<OdeViewGroup> odeViews;

  bool Stopped() const { return end != StepEnd::kRan; }
};

// What the build takes from the window: what the user chose and the state of the overlay.
struct SceneBuildOptions {
  bool overlay = false;         // append to the scene kept by the last build
  int16_t keptVertexCount = 0;  // its counts
  int16_t keptSegmentCount = 0;
  bool fieldAxes = true;           // the field commands add their axes
  bool fieldGridCrosses = true;    // and the slope field its grid crosses
  bool gridCrossesAllowed = true;  // grid crosses may be added
  bool showAxes = true;            // axes and grid crosses are added
  bool boxChosen = false;          // the box around the picture is wanted
  bool boxAvailable = false;       // a box is offered as the build starts
  // The time grid unit the IVP solvers guard with the other grid units (none: not guarded).
  std::optional<double> timeGridUnit;
};

struct SceneBuildReport {
  std::vector<SceneStepReport> steps;  // one per row run, in order; the last one may have stopped
  bool completed = false;              // no row stopped
  // The counts a later overlay build appends after: the start counts, or when the build completed
  // those of its scene before the finishing row (the axes, letters and box are laid anew over
  // every overlay, once).
  int16_t keptVertexCount = 0;
  int16_t keptSegmentCount = 0;
  // The time grid unit as the build left it (a solve resets one too small to 1).
  std::optional<double> timeGridUnit;
};

// Called with each row's report as soon as the row is done.
using SceneStepObserver = std::function<void(const SceneStepReport&)>;

// Runs the requested commands (Requests, PlotRequest) in their fixed order and adds the axes and
// the box. The axis letters and ODE views are this build's alone (no solve of an earlier build
// reaches them); an overlay's axes span the kept scene's box too; a stopped build leaves the
// drawing counts at what it made. Integral rows make later builds draw their stored curves again
// (RunFlags.Replot), even when a later row stops.
SceneBuildReport BuildScene(const SceneBuildOptions& options, const SceneStepObserver& observer);

// Axes over the view box of the scene: through the origin when the box reaches it, otherwise from
// the origin or the box's own edges.
void AddSceneAxes();

}  // namespace ms
