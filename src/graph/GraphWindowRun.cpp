// The picture build: the pending commands run in their fixed order, each appending to the scene
// store, the window's menus and frames follow what was built, then grid crosses, axes and the box
// are added and the scene is drawn.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <algorithm>

#include "graph/GraphCommands.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Settings.h"
#include "language/Tokens.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/Integ.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/CurveGen.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

constexpr int32_t kProgressDone = 0x00FF00;  // pure green: the curve was built
const rt::Text kVertexLimit = u"Vertical limit 30,000 vertices reached.";
const rt::Text kVertexLimitSpelled = u"Vertical limit 30,000 verticies reached.";

int Sgn(double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// The command of each request block 1..8.
GraphCommand CommandOfBlock(int block) {
  switch (block) {
    case 1:
      return GraphCommand::kInteg;
    case 2:
      return GraphCommand::kDblInt;
    case 3:
      return GraphCommand::kIVP;
    case 4:
      return GraphCommand::kBVP;
    case 5:
      return GraphCommand::kSlopeField;
    case 6:
      return GraphCommand::kDirField;
    case 7:
      return GraphCommand::kField3D;
    default:
      return GraphCommand::kContour;
  }
}

bool CurveRequested(int k) {
  const auto& spec = ms::PlotRequest.PlotSpec;
  const int base = 3 * (k - 1);
  return spec[base] != 0 && spec[base + 1] != 0 && spec[base + 2] != 0;
}

}  // namespace

// "Box ?" is enabled by the build and by the direction field; both keep the shared flag.
void GraphWindow::SetBoxEnabled(bool enabled) {
  ms::FieldGraph.mnuBoxEnabled = enabled ? -1 : 0;
  SetMenuEnabled(mnuBox, enabled);
}

// The initial value command chooses which frames of view buttons the window shows.
void GraphWindow::ReflectIvpFrames() {
  if (ms::IvpView.FramesChanged == 0) return;
  const std::array<QGroupBox*, ms::kLastIvpFrame + 1> frames = {
      nullptr, nullptr, nullptr, nullptr, nullptr, Frame5, Frame6, Frame7, Frame8, Frame9};
  for (int f = ms::kFirstIvpFrame; f <= ms::kLastIvpFrame; ++f) {
    frames[static_cast<size_t>(f)]->setVisible(ms::IvpView.FrameVisible[static_cast<size_t>(f)] !=
                                               0);
  }
  ms::IvpView.FramesChanged = 0;
}

// Ends a build early with a box. The window is left usable: the pointer back to normal, Return
// shown and the build flag cleared, so that the user can go on or leave.
void GraphWindow::StopBuild(const rt::Text& text, int style, const rt::Text& title,
                            bool disableBox) {
  if (!text.empty()) ui::Ui().MsgBox(text, style, title);
  SetBusyPointer(false);
  if (disableBox) SetBoxEnabled(false);
  ShowReturn(true);
  Graph.Generating = 0;
}

// Runs the command of a block; false when the build is to stop (abort or error).
bool GraphWindow::RunBlockCommand(int block, rt::Text& statement, int16_t slot) {
  int16_t msgNo = 0;
  // The field commands read the XY-plane items and may enable "Box ?".
  ms::FieldGraph.mnuXYEnabled = mnuXY->isEnabled() ? -1 : 0;
  ms::FieldGraph.mnuXYChecked = mnuXY->isChecked() ? -1 : 0;
  RunGraphCommand(CommandOfBlock(block), statement, slot, msgNo);
  SetBoxEnabled(ms::FieldGraph.mnuBoxEnabled != 0);
  ReflectIvpFrames();
  if (block <= 7 && ms::RunFlags.AbortRun != 0) {
    StopBuild(u"", 0, u"", false);
    return false;
  }
  if (block == 7) SetBoxEnabled(true);
  if (msgNo != 0) {
    const rt::Text separator = block == 5 ? rt::Text(u" :  ") : rt::Text(u" : ");
    const rt::Text text = u"Statement : " + ms::DetokenizeForDisplay(statement) + u"\r\n" +
                          rt::NumText(msgNo) + separator + ms::GetMessageText(msgNo);
    StopBuild(text, ui::kExclamation, u"Syntax Error", block != 5);
    return false;
  }
  return true;
}

// Counts stored for the drawing and shown; false (after the limit box) past 30,000 points.
bool GraphWindow::CommonTail(const rt::Text& limitText) {
  ms::StoreSceneCounts();
  ShowCount();
  if (ms::Scene.VertexCountD > ms::kCurveVertexLimit) {
    StopBuild(limitText, ui::kOkOnly, ws::kAppTitle, true);
    return false;
  }
  return true;
}

bool GraphWindow::CurveTail(int curve) {
  ms::StoreSceneCounts();
  ShowCount();
  if (ms::Scene.VertexCountD >= ms::kCurveVertexLimit) {
    const rt::Text text = u"Space exceeds upper limit for plot #" + rt::IntText(curve) +
                          u". Try and reduce number of points to plot.";
    if (curve == 1) Graph.PlotLimitReached = -1;
    StopBuild(text, ui::kOkOnly, ws::kAppTitle, curve == 1);
    return false;
  }
  return true;
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
    if (ms::View.PlotKind != viewBefore) MarkViewButton(ms::View.PlotKind);
  });

  ShowReturn(false);
  SetBusyPointer(true);
  ms::StartSceneBuild();
  if (Graph.OverlayMode != 0) {
    ms::Scene.VertexCount = Graph.SavedVertexCount;
    ms::Scene.SegmentCount = Graph.SavedSegmentCount;
  }
  Graph.SavedVertexCount = ms::Scene.VertexCount;
  Graph.SavedSegmentCount = ms::Scene.SegmentCount;
  Graph.Generating = -1;

  // The integral blocks ask later builds to draw their stored curves again; the commands after
  // them in this build still compute what they have not computed yet.
  bool replotAfterBuild = false;
  const auto finishReplot = [&] {
    if (replotAfterBuild) ms::RunFlags.Replot = -1;
  };
  ms::CommandRequestState& req = ms::Requests;
  ms::ResetIntegChain();
  const int integSlots = std::clamp<int>(req.IntegStmtCount, 0, ms::kMaxIntegStatements);

  // Blocks 1 and 2: Integ[ and dblInt[. Both kinds share one count of slots; each list holds only
  // its own kind's statements. False when the build ends here.
  const auto runIntegralBlock = [&](int block, std::array<rt::Text, ms::kMaxIntegStatements>& stmts,
                                    bool disablesDotSpacing) {
    ms::FieldGraph.SlopeFieldMode = 0;
    if (disablesDotSpacing) SetMenuEnabled(mnuDotSpacing, false);
    SetMenuEnabled(mnuOptions, false);
    Frame7->hide();
    Frame8->hide();
    for (int i = 1; i <= integSlots; ++i) {
      if (!RunBlockCommand(block, stmts[static_cast<size_t>(i - 1)], static_cast<int16_t>(i))) {
        return false;
      }
    }
    replotAfterBuild = true;
    Frame2->show();
    Frame5->hide();
    cmdUpdate->show();
    return CommonTail(kVertexLimit);
  };
  if (req.IntegRequested != 0 && !runIntegralBlock(1, req.IntegStmts, true)) {
    return finishReplot();
  }
  if (req.DblIntRequested != 0 && !runIntegralBlock(2, req.DblIntStmts, false)) {
    return finishReplot();
  }

  // Block 3: IVP[.
  if (req.IVPRequested != 0) {
    ms::FieldGraph.SlopeFieldMode = 0;
    SetMenuEnabled(mnuDotSpacing, false);
    if (!RunBlockCommand(3, req.IVPStmt, 0)) return finishReplot();
    Frame2->show();
    cmdUpdate->show();
    if (!CommonTail(kVertexLimit)) return finishReplot();
    mnuOptions->menuAction()->setVisible(true);
    SetMenuEnabled(mnuDotSpacing, false);
    SetMenuEnabled(mnuInc, false);
    ms::GraphMenus.mnuPlotIVPColor = -1;
    ReflectGraphMenus();
    SetMenuEnabled(mnuIntegColor, false);
    if (ms::View.PlotKind == 7 || ms::View.PlotKind == 22) {
      SetBoxEnabled(true);
      SetMenuEnabled(mnuInc, true);
    } else if (ms::RunFlags.Replot == 0) {
      SetBoxEnabled(false);
      SetMenuEnabled(mnuInc, false);
    }
    ShowCount();
  }

  // Block 4: BVP[.
  if (req.BVPRequested != 0) {
    ms::FieldGraph.SlopeFieldMode = 0;
    SetMenuEnabled(mnuDotSpacing, true);
    SetMenuEnabled(mnuIntegColor, false);
    if (!RunBlockCommand(4, req.BVPStmt, 0)) return finishReplot();
    Frame2->show();
    Frame5->show();
    cmdUpdate->show();
    if (!CommonTail(kVertexLimit)) return finishReplot();
    if (ms::Settings.BVPScanColor != 0) {
      ms::GraphMenus.mnuPlotIVPColor = 0;
      ReflectGraphMenus();
    }
    if (ms::Bvp.BVPTrialSlopes[0] == 0) {
      ms::GraphMenus.mnuPlotIVPColor = -1;
      ms::GraphMenus.mnuBVPcolor = 0;
      ReflectGraphMenus();
    }
    if (ms::Bvp.Frame5Shown != 0) Frame5->setTitle(ui::ToQString(ms::Bvp.Frame5Caption));
  }

  // Block 5: slope field.
  if (req.SlopeFieldRequested != 0) {
    SetMenuEnabled(mnuDotSpacing, false);
    SetBoxEnabled(false);
    SetMenuEnabled(mnuIntegColor, false);
    if (!RunBlockCommand(5, req.SlopeFieldStmt, 0)) return finishReplot();
    Frame2->show();
    Frame5->hide();
    cmdUpdate->show();
    if (!CommonTail(kVertexLimit)) return finishReplot();
    Frame5->hide();
  }

  // Block 6: direction field.
  if (req.DirFieldRequested != 0) {
    ms::FieldGraph.SlopeFieldMode = 0;
    SetMenuEnabled(mnuDotSpacing, false);
    SetMenuEnabled(mnuIntegColor, false);
    if (!RunBlockCommand(6, req.DirFieldStmt, 0)) return finishReplot();
    Frame2->hide();
    Frame5->hide();
    cmdUpdate->show();
    if (!CommonTail(kVertexLimit)) return finishReplot();
    Frame5->hide();
  }

  // Block 7: three-dimensional field.
  if (req.Field3DRequested != 0) {
    SetMenuEnabled(mnuDotSpacing, false);
    ms::FieldGraph.SlopeFieldMode = 0;
    SetBoxEnabled(true);
    SetMenuEnabled(mnuIntegColor, false);
    if (!RunBlockCommand(7, req.Field3DStmt, 0)) return finishReplot();
    Frame2->hide();
    Frame5->hide();
    cmdUpdate->hide();
    if (!CommonTail(kVertexLimitSpelled)) return finishReplot();
  }

  // Block 8: contours. The contour command keeps VertexCountD current itself.
  if (req.ContourRequested != 0 || req.Contour1Requested != 0) {
    SetMenuEnabled(mnuDotSpacing, false);
    ms::FieldGraph.SlopeFieldMode = 0;
    SetBoxEnabled(false);
    if (!RunBlockCommand(8, req.ContourStmt, 0)) return finishReplot();
    ms::Scene.SegmentCountD = ms::Scene.SegmentCount;
    ShowCount();
    if (ms::Scene.VertexCountD > ms::kCurveVertexLimit) {
      StopBuild(kVertexLimitSpelled, ui::kOkOnly, ws::kAppTitle, true);
      return finishReplot();
    }
    Frame2->hide();
    Frame5->hide();
    Frame6->hide();
    cmdUpdate->hide();
  }

  // Blocks 9 to 14: the Plot[ curves #1 to #6.
  for (int k = 1; k <= ms::kMaxPlotCurves; ++k) {
    if (!CurveRequested(k)) continue;
    if (k == 1) {
      SetMenuEnabled(mnuOptions, true);
      mnuOptions->menuAction()->setVisible(true);
      mnuDotSpacing->menuAction()->setVisible(true);
      SetMenuEnabled(mnuDotSpacing, true);
      SetMenuEnabled(mnuIntegColor, req.IntegRequested != 0 || req.DblIntRequested != 0);
    }
    for (int j = 1; j <= ms::kMaxPlotCurves; ++j) {
      ms::PlotRequest.PlotSelect[static_cast<size_t>(j)] = j == k ? -1 : 0;
    }
    const int base = 3 * (k - 1);
    ms::GenerateCurvePoints(ms::PlotRequest.PlotSpec[base], ms::PlotRequest.PlotSpec[base + 1],
                            ms::PlotRequest.PlotSpec[base + 2]);
    if (k == 1 || k == 4) SetBoxEnabled(true);
    if (k == 1) {
      Frame2->show();
      if (ms::Solutions.IVPOrder1 != 0) {
        Frame5->show();
        Frame6->hide();
      }
      cmdUpdate->show();
    }
    SetLabelBackground(PlotLabels[static_cast<size_t>(k - 1)], kProgressDone);
    if (!CurveTail(k)) return finishReplot();
    int16_t* flags[6] = {&ms::GraphMenus.mnuPlot1, &ms::GraphMenus.mnuPlot2,
                         &ms::GraphMenus.mnuPLot3, &ms::GraphMenus.mnuPlot4,
                         &ms::GraphMenus.mnuPlot5, &ms::GraphMenus.mnuPlot6};
    *flags[k - 1] = -1;
    ReflectGraphMenus();
  }

  // Finishing steps.
  const ms::SceneStoreData& s = ms::Scene;
  ms::View.ZAxisNeeded = (s.ViewZMin != 0 || s.ViewZMax != 0) ? -1 : 0;
  if (ms::View.ElevationAngle != 0 && ((req.IVPRequested != 0 && ms::View.ODEViewRequest != 7) ||
                                       (req.BVPRequested != 0 && ms::View.ODEViewRequest != 22))) {
    ms::View.SavedRotation = ms::View.RotationAngle;
    ms::View.SavedElevation = ms::View.ElevationAngle;
  }

  const bool anything = CurveRequested(1) || req.IVPRequested != 0 || req.BVPRequested != 0 ||
                        req.IntegRequested != 0 || req.DblIntRequested != 0;
  if (anything && Graph.ShowAxes != 0) {
    const auto inside = [](double v) { return v > -100 && v < 100; };
    if (inside(s.ViewXMin) && inside(s.ViewXMax) && inside(s.ViewYMin) && inside(s.ViewYMax) &&
        inside(s.ViewZMin) && inside(s.ViewZMax) && mnuXYPlane->isEnabled() &&
        s.VertexCountD < ms::kGridVertexLimit) {
      ms::AddGridCrosses();
    }
    if (ms::Scene.VertexCountD > ms::kCurveVertexLimit) {
      StopBuild(kVertexLimit, ui::kOkOnly, ws::kAppTitle, false);
      return finishReplot();
    }
    AddAxes();
  }

  if (ms::View.ShowBox != 0) {
    const bool commandBox = req.SlopeFieldRequested != 0 || req.DirFieldRequested != 0 ||
                            req.IVPRequested != 0 || req.BVPRequested != 0 ||
                            req.Field3DRequested != 0 || req.ContourRequested != 0 ||
                            req.Contour1Requested != 0;
    if (!commandBox && mnuYes->isChecked()) {
      ms::AddBoundingBox(s.ViewXMin, s.ViewXMax, s.ViewYMin, s.ViewYMax, s.ViewZMin, s.ViewZMax);
    }
    if (mnuYes->isChecked() && req.IVPRequested != 0 &&
        (ms::View.PlotKind == 22 || ms::View.PlotKind == 7)) {
      ms::AddBoundingBox(s.ViewXMin, s.ViewXMax, s.ViewYMin, s.ViewYMax, s.ViewZMin, s.ViewZMax);
    }
  }

  ms::StoreSceneCounts();
  ShowCount();
  Graph.SavedVertexCount = ms::Scene.VertexCount;
  Graph.SavedSegmentCount = ms::Scene.SegmentCount;
  finishReplot();
  updateplot();
  Graph.Generating = 0;
}

// Axes over the view box: through the origin when the box reaches it, otherwise from the origin
// or the box's own edges, with or without the axis letters.
void GraphWindow::AddAxes() {
  const ms::SceneStoreData& s = ms::Scene;
  const double X0 = s.ViewXMin, X1 = s.ViewXMax, Y0 = s.ViewYMin, Y1 = s.ViewYMax;
  const double Z0 = s.ViewZMin, Z1 = s.ViewZMax;
  const bool zAxis = ms::View.ZAxisNeeded != 0;
  const double scaledZ0 = zAxis ? 1.1 * Z0 : -1, scaledZ1 = zAxis ? 1.1 * Z1 : 1;
  const double plainZ0 = zAxis ? Z0 : -1, plainZ1 = zAxis ? Z1 : 1;
  const double zeroZ0 = zAxis ? 1.1 * Z0 : 0, zeroZ1 = zAxis ? 1.1 * Z1 : 0;

  if (Sgn(X0) != Sgn(X1) && Sgn(Y0) != Sgn(Y1)) {
    ms::BuildAxes(1.1 * X0, 1.1 * X1, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 >= 0 && Y1 > 0) {
    if (!zAxis) {
      ms::BuildAxes(0, 1.1 * X1, 0, 1.1 * Y1, 0, 0);
    } else {
      ms::BuildCornerAxes(0, 1.1 * X1, 0, 1.1 * Y1, 1.1 * Z0, 1.1 * Z1);
    }
  } else if (Y0 >= 0 && Y1 > 0 && Sgn(X0) != Sgn(X1)) {
    ms::BuildAxes(1.1 * X0, 1.1 * X1, 0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (Y0 < 0 && Y1 <= 0 && Sgn(X0) != Sgn(X1)) {
    ms::BuildAxes(1.1 * X0, 1.1 * X1, 1.1 * Y0, 0, plainZ0, plainZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 <= 0 && Y1 > 0) {
    ms::BuildAxes(0, 1.1 * X1, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 < 0 && Y1 > 0) {
    ms::BuildAxes(1.1 * X0, 0, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 >= 0 && Y1 > 0) {
    ms::BuildCornerAxes(1.1 * X0, 0, 0, 1.1 * Y1, zeroZ0, zeroZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 < 0 && Y1 <= 0) {
    ms::BuildCornerAxes(1.1 * X0, 0, 1.1 * Y0, 0, zeroZ0, zeroZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 < 0 && Y1 <= 0) {
    ms::BuildCornerAxes(0, 1.1 * X1, 1.1 * Y0, 0, zeroZ0, zeroZ1);
  } else {
    ms::BuildAxes(X0, X1, Y0, Y1, plainZ0, plainZ1);
  }
}

}  // namespace gr
