// Shared by the graph window tests: a fixture that starts every test from the program's start-up
// state with scripted message boxes and dialogs and no graph window, and helpers that put known
// points and segments into the scene store.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <memory>

#include "graph/GraphCommands.h"
#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "graph/frmGraph.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/Settings.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/frmCalcInput.h"

namespace gr::testing {

inline void ReleaseGraphWindow() {
  delete frmGraph::Instance();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void ResetProgramState() {
  ms::ResetWorksheetTables();
  ms::ResetCommandRequests();
  ms::RunFlags = ms::RunFlagsState{};
  ms::ResetSettings();
  ms::ResetScene();
  ms::ResetViewState();
  ms::ResetCurveWork();
  ms::ResetPlotRequest();
  ms::ResetSolutionStore();
  ResetGraphState();
  ResetGraphCommands();
  Overlays() = OverlayTable{};
}

// Appends the segment p -> q in a colour and widens the view box to both ends.
inline void AddSegment(const ms::Point3& p, const ms::Point3& q, int r, int g, int b,
                       double kind = 0) {
  ASSERT_TRUE(ms::AppendSegment(p, q, r, g, b, kind));
  for (const ms::Point3& v : {p, q}) {
    ms::Scene.ViewXMin = std::min(ms::Scene.ViewXMin, v[0]);
    ms::Scene.ViewXMax = std::max(ms::Scene.ViewXMax, v[0]);
    ms::Scene.ViewYMin = std::min(ms::Scene.ViewYMin, v[1]);
    ms::Scene.ViewYMax = std::max(ms::Scene.ViewYMax, v[1]);
    ms::Scene.ViewZMin = std::min(ms::Scene.ViewZMin, v[2]);
    ms::Scene.ViewZMax = std::max(ms::Scene.ViewZMax, v[2]);
  }
}

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseGraphWindow();
    ui::SetUi(&ui_);
    ResetProgramState();
  }
  void TearDown() override {
    ReleaseGraphWindow();
    sheet_.reset();
    ResetGraphCommands();
    Overlays() = OverlayTable{};
    ui::SetUi(nullptr);
  }

  // A worksheet window (its load resets the settings and the view), then the start-up state.
  ws::frmCalcInput& Sheet() {
    if (!sheet_) {
      sheet_ = std::make_unique<ws::frmCalcInput>();
      ResetProgramState();
    }
    return *sheet_;
  }

  frmGraph& Load() { return ShowGraphWindow(); }

  ui::ScriptedUiServices ui_;
  std::unique_ptr<ws::frmCalcInput> sheet_;
};

}  // namespace gr::testing
