// The picture build as the window shows it: the core runs the pending commands in their fixed
// order (commands/SceneBuild) and reports each row; the window's frames, menus and boxes follow
// each report, and every build is drawn, a stopped one with what it made before it stopped.
#include <QAction>
#include <QMenu>
#include <QScopeGuard>

#include "commands/SceneBuild.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace gr {

// Ends a build early with a box. The window is left usable: the pointer back to normal, Return
// shown and the build flag cleared, so that the user can go on or leave.
void GraphWindow::StopBuild(const rt::Text& text, int style, const rt::Text& title) {
  if (!text.empty()) ui::Ui().MsgBox(text, style, title);
  SetBusyPointer(false);
  ShowReturn(true);
  Graph.Generating = 0;
}

void GraphWindow::GenerateData() {
  // A build started from inside a build that has not unwound (a key during a long command)
  // would pull the scene from under it.
  if (building_) return;
  struct BuildingGuard {
    bool& flag;
    explicit BuildingGuard(bool& f) : flag(f) { flag = true; }
    ~BuildingGuard() { flag = false; }
  } guard(building_);
  // The picture has the keys after every build, however it ended: the zoom and turn keys act on
  // it and never type into a scale box.
  const auto keysToPicture = qScopeGuard([this] { DisplayBox->setFocus(); });
  // A solve that switches to its mode's first view (its own rows) marks that view's button, as a
  // press of the button would have.
  const int16_t viewBefore = ms::View.PlotKind;
  const auto markSwitchedView = qScopeGuard([this, viewBefore] {
    if (ms::View.PlotKind != viewBefore) navigation_->MarkViewButton(ms::View.PlotKind);
  });

  ShowReturn(false);
  SetBusyPointer(true);
  Graph.Generating = -1;
  // The last build's picture goes as this one starts: a box the build shows (a refused
  // statement, values out of range) never stands over a picture it did not make.
  display_->Cls();
  DisplayBox->update();

  ms::SceneBuildOptions options;
  options.overlay = Graph.OverlayMode != 0;
  // A picture built afresh holds no family: the family's list of members goes with it.
  if (!options.overlay) Graph.FamilyMode = 0;
  options.keptVertexCount = Graph.SavedVertexCount;
  options.keptSegmentCount = Graph.SavedSegmentCount;
  menus_->TakeBuildOptions(options);
  options.showAxes = Graph.ShowAxes != 0;
  options.timeGridUnit = Graph.GridUnitT;
  const ms::SceneBuildReport report = ms::BuildScene(
      options, [this](const ms::SceneStepReport& r) { menus_->ReflectBuildStep(r); });
  Graph.SavedVertexCount = report.keptVertexCount;
  Graph.SavedSegmentCount = report.keptSegmentCount;
  if (report.timeGridUnit) Graph.GridUnitT = *report.timeGridUnit;

  // A stopped build is drawn too: the picture, its angles and its count are what this build made
  // before it stopped (nothing, when it made nothing).
  ShowCount();
  updateplot();
  Graph.Generating = 0;
}

}  // namespace gr
