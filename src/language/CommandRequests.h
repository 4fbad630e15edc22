// Deferred command requests: Execute records the plotting and solving commands here and the graph
// window runs them later, in a fixed order, when it builds its picture. Also the process-wide run
// flags (abort, stop, replot) that the long loops poll.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

constexpr int kMaxIntegStatements = 12;
// A thirteenth Integ[ or dblInt[ statement in one run finds no slot.
constexpr int16_t kMsgIntegralListFull = 396;

// PlotPending, the other plot flag, is kept with the worksheet tables (Tables.PlotPending).
struct CommandRequestState {
  int16_t PlotRequested = 0;
  int16_t SlopeFieldRequested = 0;
  rt::Text SlopeFieldStmt;
  int16_t DirFieldRequested = 0;
  rt::Text DirFieldStmt;
  int16_t Field3DRequested = 0;
  rt::Text Field3DStmt;
  int16_t ContourRequested = 0;
  int16_t Contour1Requested = 0;
  int16_t ContourAllQuadrants = 0;
  rt::Text ContourStmt;
  int16_t IVPRequested = 0;
  rt::Text IVPStmt;
  int16_t BVPRequested = 0;
  rt::Text BVPStmt;
  int16_t IntegRequested = 0;
  int16_t DblIntRequested = 0;
  int16_t IntegStmtCount = 0;
  std::array<rt::Text, kMaxIntegStatements> IntegStmts;   // slots 0..11
  std::array<rt::Text, kMaxIntegStatements> DblIntStmts;  // slots 0..11
};

extern CommandRequestState Requests;

// Flags polled by every long loop. AbortRun is set by Esc in the worksheet or graph window.
struct RunFlagsState {
  int16_t AbortRun = 0;
  int16_t StopFrames = 0;
  int16_t StopFamily = 0;
  int16_t Replot = 0;
};

extern RunFlagsState RunFlags;

// The nine flags cleared by Clear Results, Clear Work Sheet, New and Open.
void ClearCommandFlags();
// The nine flags, the integral count and both lists of integral statements. Execute clears them
// with the chain of integral curves (ClearRequestsForExecute, commands/ProgramState.h).
void ClearCommandRequests();
// Start-up: every flag (texts and lists keep their contents, as always).
void ResetCommandRequests();
// True when any deferred command asks for the graph window (PlotRequested and PlotPending
// included when includePlot is set).
bool AnyCommandRequested(bool includePlot);

}  // namespace ms
