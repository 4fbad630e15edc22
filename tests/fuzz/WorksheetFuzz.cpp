// libFuzzer target: arbitrary bytes as a worksheet, run headless as Execute runs it (the reader,
// classification and compiler, the parameter set, the evaluation and the listing) and then through
// every command the graph window's build would run, in its order. Message boxes are answered with
// their default button. A simulated user presses Esc when one phase has run for half a second, so
// a loop that never lets events run shows up as a timeout.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "commands/ProgramState.h"
#include "commands/WorksheetRun.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/DblInt.h"
#include "numerics/Integ.h"
#include "numerics/Ivp.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/Contour.h"
#include "plotting/CurveGen.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/PlotRequest.h"
#include "plotting/SlopeField.h"

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

// The graph window's build: integrals slot by slot, the equations, the fields, the contours, then
// the Plot[ curves. Each command runs on its own, as each is reached through the window.
void RunDeferredCommands() {
  ms::CommandRequestState& r = ms::Requests;
  const int slots = std::clamp<int>(r.IntegStmtCount, 0, ms::kMaxIntegStatements);
  for (int i = 1; i <= slots; ++i) {
    int16_t slot = static_cast<int16_t>(i), msgNo = 0;
    rt::Text& integ = r.IntegStmts[static_cast<size_t>(i - 1)];
    rt::Text& dbl = r.DblIntStmts[static_cast<size_t>(i - 1)];
    StartPhase();
    if (r.IntegRequested && !integ.empty()) msgNo = ms::ProcessInteg(integ, slot, true);
    StartPhase();
    if (r.DblIntRequested && !dbl.empty()) msgNo = ms::ProcessDblInt(dbl);
  }
  int16_t msgNo = 0;
  StartPhase();
  if (r.IVPRequested) msgNo = ms::ProcessIVP(r.IVPStmt);
  StartPhase();
  if (r.BVPRequested) msgNo = ms::ProcessBVP(r.BVPStmt);
  StartPhase();
  if (r.SlopeFieldRequested) msgNo = ms::ProcessPlotSlopeField(r.SlopeFieldStmt);
  StartPhase();
  if (r.DirFieldRequested) msgNo = ms::ProcessPlotDirField(r.DirFieldStmt);
  StartPhase();
  if (r.Field3DRequested) msgNo = ms::ProcessPlotField3D(r.Field3DStmt);
  StartPhase();
  if (r.ContourRequested || r.Contour1Requested) msgNo = ms::ProcessPlotContour(r.ContourStmt);
  const int16_t failMark = ms::CheckPlotVectors();
  if (failMark != 0) return;
  for (int k = 1; k <= ms::kMaxPlotCurves; ++k) {
    const size_t base = static_cast<size_t>(3 * (k - 1));
    const auto& spec = ms::PlotRequest.PlotSpec;
    if (spec[base] == 0 || spec[base + 1] == 0 || spec[base + 2] == 0) continue;
    for (int j = 1; j <= ms::kMaxPlotCurves; ++j)
      ms::PlotRequest.PlotSelect[static_cast<size_t>(j)] = j == k ? -1 : 0;
    StartPhase();
    (void)ms::GenerateCurvePoints(spec[base], spec[base + 1], spec[base + 2]);
  }
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
  if (Execute(SheetFromBytes(data, size))) RunDeferredCommands();
  return 0;
}
