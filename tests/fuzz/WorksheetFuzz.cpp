// libFuzzer target: arbitrary bytes as a worksheet, run headless as Execute runs it (the reader,
// classification and compiler, the parameter set, the evaluation and the listing) and then, when
// the Graph button would be offered, through the graph window's build (BuildScene, every command
// bound to compiled code as in the window). Message boxes are answered with their default button.
// A simulated user presses Esc when one phase has run for half a second, so a loop that never
// lets events run shows up as a timeout.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "commands/ProgramState.h"
#include "commands/SceneBuild.h"
#include "commands/WorksheetRun.h"
#include "language/CommandRequests.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPhaseBudget = std::chrono::milliseconds(500);

ui::ScriptedUiServices& Screen() {
  static ui::ScriptedUiServices screen;
  return screen;
}

Clock::time_point g_escAt;

// Starts a phase: Esc is pressed once it has run for the budget.
void StartPhase() {
  g_escAt = Clock::now() + kPhaseBudget;
  ms::RunFlags.AbortRun = 0;
}

// Bytes as worksheet text: each byte one character (so the built-in tokens U+00C8..U+00FF are
// reachable), line breaks of any kind as CR LF, and a final line break as the window adds it.
rt::Text SheetFromBytes(const uint8_t* data, size_t size) {
  rt::Text sheet;
  sheet.reserve(size + size / 8 + 2);
  for (size_t i = 0; i < size; ++i) {
    const char16_t c = data[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < size && data[i + 1] == '\n') ++i;
      sheet += u"\r\n";
    } else {
      sheet.push_back(c);
    }
  }
  if (!sheet.empty() && sheet.back() != u'\n' && sheet.back() != u':') sheet += u"\r\n";
  return sheet;
}

// Execute as the worksheet window runs it: false when it stopped at an error or an abort.
bool Execute(const rt::Text& sheet) {
  StartPhase();
  const ms::ExecuteOutcome out = ms::RunExecute(sheet, {});
  (void)ms::ResultsListing(4);
  return out.stage == ms::ExecuteStage::kDone;
}

// The Graph button and the first build of the graph window: the same build function with the
// options a first build takes (nothing kept, axes and grid crosses on, no box, a time grid unit of
// 1), each command bound to compiled code for its run as the window's build binds it. Every row
// of the build is a phase of its own.
void BuildGraph() {
  ms::PlotRequest.PlotSpec.fill(0);
  if (ms::PlotRequest.PlotVectorCount == 0 && !ms::AnyCommandRequested(false)) return;
  ms::RunFlags.Replot = 0;
  ms::View.ODEViewRequest = 1;
  ms::View.PlotKind = 1;
  const ms::CommandRequestState& r = ms::Requests;
  const bool otherCommand = r.SlopeFieldRequested || r.DirFieldRequested || r.IVPRequested ||
                            r.BVPRequested || r.Field3DRequested || r.ContourRequested ||
                            r.Contour1Requested;
  // Without a command, unknown Plot vectors are refused with a box before the window opens.
  if (ms::CheckPlotVectors() != 0 && !otherCommand) return;
  ms::Scene.VertexCount = ms::Scene.SegmentCount = 0;
  ms::Scene.VertexCountD = ms::Scene.SegmentCountD = 0;
  ms::SceneBuildOptions options;
  options.timeGridUnit = 1.0;
  StartPhase();
  (void)ms::BuildScene(options, [](const ms::SceneStepReport&) { StartPhase(); });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ui::ScriptedUiServices& screen = Screen();
  screen.onDoEvents = [] {
    if (Clock::now() >= g_escAt) ms::RunFlags.AbortRun = -1;
  };
  ui::SetUi(&screen);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ms::ResetProgramState();
  ui::ScriptedUiServices& screen = Screen();
  auto onDoEvents = std::move(screen.onDoEvents);
  screen.Reset();
  screen.onDoEvents = std::move(onDoEvents);
  if (Execute(SheetFromBytes(data, size)) && ms::AnyCommandRequested(true)) BuildGraph();
  return 0;
}
