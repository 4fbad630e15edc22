// Families of curves and animation frames: both step one constant of the worksheet over a range.
// For each value the constant's assignment in the worksheet text is rewritten, the worksheet is
// executed again and the picture rebuilt; a family keeps every member in one picture (the build
// runs in overlay mode), an animation saves each picture as a bitmap file of its own.
//
// Both loops let events run once per pass, before the pass, and stop there on their own flags
// (StopFamily, StopFrames), never on the abort flag of Esc.
#include "graph/GraphAnimation.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <limits>

#include "graph/AnimationSetupDialog.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/FamilyPlotsDialog.h"
#include "graph/FrameCanvas.h"
#include "graph/GraphMenus.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "mathematics/VectorOperations.h"
#include "numerics/BvpTrials.h"
#include "platform/ui/QtFileWrite.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

// Where the frame run places the picture: the position scroll bars first (their handlers redraw),
// then the offsets themselves, so that the scene lands in the middle of the 4500-twip frame.
constexpr int kFrameHPosition = 3834;
constexpr int kFrameVPosition = 11250;
constexpr double kFrameOffsetX = 2334;
constexpr double kFrameOffsetY = 12750;

constexpr int32_t kButtonIdle = rt::RGB(200, 200, 200);
// Message box style: Yes and No buttons with the question mark.
constexpr int kYesNoQuestion = 4 + 32;
constexpr int32_t kStopArmed = rt::RGB(255, 0, 0);

void Say(const rt::Text& text) {
  ui::Ui().MsgBox(text, ui::kOkOnly, ws::kAppTitle);
}

// Puts the rewritten worksheet into the editor. The text now differs from its file, so the
// worksheet counts as changed and is offered for saving before the program closes.
void PutWorksheet(const rt::Text& text) {
  if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance()) {
    sheet->SetWorksheetText(text);
    sheet->Text1->document()->setModified(true);
  }
}

rt::Text TakeWorksheet() {
  ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
  return sheet != nullptr ? sheet->WorksheetText() : rt::Text();
}

// Execute of the worksheet window, with the component names numbered from 1 again.
void ExecuteWorksheet() {
  ms::VectorStacks.ComponentFuncCounter = 0;
  if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance()) sheet->cmdCompute_click();
}

QString Q(const rt::Text& s) {
  return ui::ToQString(s);
}

// Clears the frame picture, draws the scene into it and writes it; false when not written.
bool SaveFrame(GraphWindow& graph, const QString& name) {
  FrameCanvas& form = FrameCanvas::Load();
  form.Picture1().Cls();
  graph.ImageView(form.Picture1());
  return form.SavePicture(name);
}

// Whether any file of a run of `count` frames on this base is there already.
bool FrameFilesExist(const rt::Text& base, int count) {
  if (QFile::exists(FrameTextName(base))) return true;
  for (int k = 0; k <= count; ++k) {
    if (QFile::exists(FrameBitmapName(base, k))) return true;
  }
  return false;
}

// Removes the file under the name when it is a regular one; a device, a pipe or a folder is left
// alone. True when it was removed.
bool RemoveRegularFile(const QString& name) {
  return QFileInfo(name).isFile() && QFile::remove(name);
}

// Yes to "Replace them?" gives up the earlier run's set: its text file goes before the first frame
// is written, so that a run that stops leaves none describing another set, and so do its frames
// beyond the last this run writes, so that none stands in the series after this run's. An earlier
// run's frames are numbered without gaps from 0: the removal ends at the first name that is not
// a regular file.
void RemoveEarlierFrameSet(const rt::Text& base, int count) {
  (void)RemoveRegularFile(FrameTextName(base));
  for (int k = count + 1; k <= std::numeric_limits<int16_t>::max(); ++k) {
    if (!RemoveRegularFile(FrameBitmapName(base, k))) break;
  }
}

// Written whole or not at all (a failed write leaves neither a cut file nor a changed earlier one;
// a device, a pipe or a folder under the name is neither written to nor replaced).
bool WriteTextFile(const QString& name, const rt::Text& content) {
  return ui::WriteWholeFile(name, Q(content).toLocal8Bit()) == ui::WholeWrite::kWritten;
}

// The range of the run from the set-up window: both ends numbers and not the same, else the
// matching box and false.
bool ReadRange(const rt::Text& notNumbers, const rt::Text& same, double& start, double& end) {
  if (!rt::IsNumeric(Family.RangeStart) || !rt::IsNumeric(Family.RangeEnd)) {
    Say(notNumbers);
    return false;
  }
  start = rt::Val(Family.RangeStart);
  end = rt::Val(Family.RangeEnd);
  if (start == end) {
    Say(same);
    return false;
  }
  return true;
}

// The set-up window, the progress display of the run, back to set-up: Stop off, Save and Cancel
// on.
void DisarmFrameProgress() {
  if (AnimationSetupDialog* window = AnimationSetupDialog::Instance()) {
    window->cmdStop->setEnabled(false);
    window->cmdSave->setEnabled(true);
    window->cmdCancel->setEnabled(true);
    window->SetStopColor(kButtonIdle);
  }
}

// The colour of family member k: its own with colour coding, otherwise curve #1's.
void SetMemberColour(int k) {
  ms::CurveWorkData& cw = ms::CurveWork;
  const auto slot = static_cast<size_t>(k - 1);
  int r = 0, g = 0, b = 0;
  if (cw.FamilyColorCode != 0) {
    int16_t r16 = 0, g16 = 0, b16 = 0;
    ms::GetCurveColor(static_cast<int16_t>(k), r16, g16, b16);
    r = r16;
    g = g16;
    b = b16;
    cw.FamilyMember = static_cast<int16_t>(k);
  } else {
    rt::SplitRGB(ms::Settings.PlotColorUsed[1], r, g, b);
  }
  cw.FamilyRed[slot] = r;
  cw.FamilyGreen[slot] = g;
  cw.FamilyBlue[slot] = b;
}

}  // namespace

// "Family of Curves": "Set Up", "Color Code Plots?", "Generate Curves"; "Animation": "Set Up",
// "Compute Frames". The runs are offered once their set-up windows are saved.
void GraphAnimation::InitMenus(QMenuBar* bar) {
  mnuFamily = bar->addMenu(QStringLiteral("Family of Curves"));
  mnuFamilySetUp = mnuFamily->addAction(QStringLiteral("Set Up"));
  mnuColorCode = mnuFamily->addMenu(QStringLiteral("Color Code Plots?"));
  mnuColorCode->setObjectName(QStringLiteral("mnuColorCode"));
  mnuCodeYes = mnuColorCode->addAction(QStringLiteral("Yes"));
  mnuCodeNo = mnuColorCode->addAction(QStringLiteral("No"));
  mnuCodeYes->setObjectName(QStringLiteral("mnuCodeYes"));
  mnuCodeNo->setObjectName(QStringLiteral("mnuCodeNo"));
  mnuCodeYes->setCheckable(true);
  mnuCodeNo->setCheckable(true);
  mnuCodeYes->setChecked(true);
  mnuPlotSet = mnuFamily->addAction(QStringLiteral("Generate Curves"));
  mnuPlotSet->setEnabled(false);
  mnuAnimate = bar->addMenu(QStringLiteral("Animation"));
  mnuSetUp = mnuAnimate->addAction(QStringLiteral("Set Up"));
  mnuSetCompute = mnuAnimate->addAction(QStringLiteral("Compute Frames"));
  mnuSetCompute->setEnabled(false);
  mnuFamily->setObjectName(QStringLiteral("mnuFamily"));
  mnuFamilySetUp->setObjectName(QStringLiteral("mnuFamilySetUp"));
  mnuPlotSet->setObjectName(QStringLiteral("mnuPlotSet"));
  mnuAnimate->setObjectName(QStringLiteral("mnuAnimate"));
  mnuSetUp->setObjectName(QStringLiteral("mnuSetUp"));
  mnuSetCompute->setObjectName(QStringLiteral("mnuSetCompute"));
  QObject::connect(mnuFamilySetUp, &QAction::triggered, &w_, [this] { mnuFamilySetUp_Click(); });
  QObject::connect(mnuPlotSet, &QAction::triggered, &w_, [this] { mnuPlotSet_Click(); });
  QObject::connect(mnuSetUp, &QAction::triggered, &w_, [this] { mnuSetUp_Click(); });
  QObject::connect(mnuSetCompute, &QAction::triggered, &w_, [this] { mnuSetCompute_Click(); });
  ConnectMenuItem(mnuCodeYes, &w_, [this] { mnuCodeYes_Click(); });
  ConnectMenuItem(mnuCodeNo, &w_, [this] { mnuCodeNo_Click(); });
}

void GraphAnimation::mnuCodeYes_Click() {
  ms::CurveWork.FamilyColorCode = -1;
  mnuCodeYes->setChecked(true);
  mnuCodeNo->setChecked(false);
}

void GraphAnimation::mnuCodeNo_Click() {
  ms::CurveWork.FamilyColorCode = 0;
  mnuCodeNo->setChecked(true);
  mnuCodeYes->setChecked(false);
}

void GraphAnimation::OfferFamilyRun(bool offered) {
  mnuPlotSet->setEnabled(offered);
}

void GraphAnimation::OfferFrameRun(bool offered) {
  mnuSetCompute->setEnabled(offered);
}

bool GraphAnimation::LoopCut() const {
  return w_.Unloading() || !w_.isVisible();
}

// ---------------------------------------------------------------------------------------------
// Families of curves

void GraphAnimation::mnuFamilySetUp_Click() {
  // The family set-up stays open to a running family (its Cancel stops the loop), but would turn
  // the frames of a running animation into an overlay.
  if (framesRunning_) return;
  Graph.PlotLimitReached = 0;
  QPointer<FamilyPlotsDialog> window(&FamilyPlotsDialog::Load());
  window->ShowModal([window] {
    if (window) window->cmdCancel->setEnabled(true);
  });
}

void GraphAnimation::mnuPlotSet_Click() {
  // A second run started while the first lets events run would rewrite the worksheet under it.
  if (loopRunning_ || w_.Building()) return;
  const rt::Text id = Family.FamilyConstID;
  if (id.empty()) {
    Say(u"Please enter a constant Identifier to vary.");
    return;
  }
  int16_t count = FamilyCountOf(Family.FamilyTotal);
  double start = 0, end = 0;
  if (!ReadRange(u"The start constant and end constant must be directly assigned to numbers.",
                 u"Begining and ending values are the same.", start, end)) {
    return;
  }
  // At most ten members are drawn; the step spreads those from Start to End.
  const int16_t asked = count;
  count = static_cast<int16_t>(FamilyMembersOf(Family.FamilyTotal));
  // The range is shared with the animation set-up, which may have changed it since this one was
  // saved: values that are not finite numbers never reach the worksheet.
  if (!RangeValuesFinite(Family.RangeStart, Family.RangeEnd, count - 1)) {
    Say(kRangeTooWide);
    return;
  }
  const double step = (end - start) / (count - 1);

  w_.Display().Cls();
  w_.DisplayBox->update();

  rt::Text text = TakeWorksheet();
  const AssignmentMatch match = FindAssignment(text, id, kFamilyNumberPattern);
  if (!match.found) {
    Say(u"Requested constant not located or the constant not directly set to a number.");
    return;
  }
  if (!rt::IsNumeric(match.numberText)) {
    Say(u"Requested constant located with no direct numeric assignment.");
    return;
  }
  // Only a run that passed its checks replaces the last run's count (the listing of its values).
  Family.FamilyCount = asked;

  w_.ShowReturn(false);
  Graph.FamilyMode = -1;
  // The display options' time block lists the member values from now on.
  if (DisplaySettingsDialog* options = DisplaySettingsDialog::Instance()) {
    options->Frame2->setTitle(QStringLiteral("Parameter Set"));
  }

  // A stop of an earlier run (Cancel in the set-up window) does not hold back this one: the
  // run could not have been started again without Save.
  ms::RunFlags.StopFamily = 0;
  QPointer<GraphWindow> self(&w_);
  loopRunning_ = true;
  // The members accumulate in one picture for this run only, however it ends. The picture starts
  // empty: a curve drawn before the run is no member and would cover the first one.
  Graph.OverlayMode = -1;
  Graph.SavedVertexCount = Graph.SavedSegmentCount = 0;
  // Nor does its box widen the members' box.
  ms::StartSceneBuild();
  const auto ended = qScopeGuard([self] {
    Graph.OverlayMode = 0;
    if (self) self->Animation().loopRunning_ = false;
  });
  const long pos = match.pos;
  rt::Text span = match.span;
  for (int k = 1; k <= count; ++k) {
    ui::Ui().DoEvents();
    if (self.isNull()) return;
    if (LoopCut()) break;
    if (ms::RunFlags.StopFamily != 0 || Graph.PlotLimitReached != 0) {
      FamilyStopPath();
      return;
    }
    const auto slot = static_cast<size_t>(k - 1);
    const double value = start + (k - 1) * step;
    Family.FamilyValues[slot] = value;
    const rt::Text assignment = AssignmentText(id, value);
    text = RewriteAssignment(text, pos, span, assignment);

    SetMemberColour(k);
    PutWorksheet(text);
    span = assignment;
    // Execute starts the scene afresh and an integral draws its curve into it as it is computed:
    // the members drawn so far, and the box that spans them, are put back before this one.
    const ms::KeptSceneRows kept =
        ms::KeepSceneRows(Graph.SavedVertexCount, Graph.SavedSegmentCount);
    ExecuteWorksheet();
    if (self.isNull()) return;
    ms::PutBackSceneRows(kept);
    // Each member is solved for its own value, never drawn from the last one's stored solution.
    ms::RunFlags.Replot = 0;
    w_.GenerateData();
    if (self.isNull()) return;
    w_.ShowReturn(false);
  }
  ms::CurveWork.FamilyMember = 0;
  w_.ShowReturn(true);
}

// The loop was stopped (Cancel in the set-up window, or curve #1 filled the point space): the
// window is handed back to the user. Later builds draw in the plot colours again.
void GraphAnimation::FamilyStopPath() {
  ms::CurveWork.FamilyMember = 0;
  w_.cmdReturn->setEnabled(true);
  w_.ShowReturn(true);
  if (FamilyPlotsDialog* window = FamilyPlotsDialog::Instance()) {
    int r = 0, g = 0, b = 0;
    rt::SplitRGB(kButtonIdle, r, g, b);
    window->cmdCancel->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3);").arg(r).arg(g).arg(b));
  }
  w_.cmdExit->setEnabled(true);
  w_.cmdUpdate->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Animation frames

void GraphAnimation::mnuSetUp_Click() {
  // The set-up window doubles as the progress display of a running loop.
  if (loopRunning_) return;
  QPointer<AnimationSetupDialog> window(&AnimationSetupDialog::Load());
  window->ShowModal([window] {
    Graph.OverlayMode = 0;
    if (window) window->cmdStop->setEnabled(false);
  });
}

void GraphAnimation::mnuSetCompute_Click() {
  if (loopRunning_ || w_.Building()) return;
  w_.Navigation().SetImagePosition(kFrameHPosition, kFrameVPosition);
  ms::View.ImageOffsetX = kFrameOffsetX;
  ms::View.ImageOffsetY = kFrameOffsetY;

  const rt::Text base = FrameBaseOf(Frames.FrameFileBase);
  const rt::Text id = Frames.FrameConstID;
  if (id.empty()) {
    Say(u"Please enter a constant Identifier to vary.");
    return;
  }
  const int16_t count = FrameCountOf(Frames.FrameTotal);
  double start = 0, end = 0;
  if (!ReadRange(u"Range constants must be directly assigned to numbers.",
                 u"Beginning & ending values cannot be the same.", start, end)) {
    return;
  }
  // The range is shared with the family set-up, which may have changed it since this one was
  // saved: values that are not finite numbers never reach the worksheet.
  if (!RangeValuesFinite(Family.RangeStart, Family.RangeEnd, count)) {
    Say(kRangeTooWide);
    return;
  }
  // Frame k is drawn for start + k * step: frame 0 at the typed start, frame count at the end.
  const double step = (end - start) / count;

  // Frame files of an earlier run are not replaced without one question.
  const bool replacing = FrameFilesExist(base, count);
  if (replacing && ui::Ui().MsgBox(u"Frame files named " + base + u" exist already. Replace them?",
                                   kYesNoQuestion, ws::kAppTitle) != ui::kAnswerYes) {
    return;
  }

  rt::Text text = TakeWorksheet();
  const AssignmentMatch match = FindAssignment(text, id, kFrameNumberPattern);
  if (!match.found || !rt::IsNumeric(match.numberText)) {
    Say(!match.found ? u"Requested constant not located or the constant not directly set to a "
                       u"number."
                     : u"Requested constant located with no numeric assignment.");
    return;
  }

  if (replacing) RemoveEarlierFrameSet(base, count);

  w_.cmdReturn->setEnabled(false);
  w_.cmdExit->setEnabled(false);
  w_.cmdUpdate->setEnabled(false);
  QPointer<GraphWindow> self(&w_);
  loopRunning_ = true;
  framesRunning_ = true;
  // The picture of each frame is that frame's alone: no family is drawn, nor listed.
  Graph.OverlayMode = 0;
  const auto ended = qScopeGuard([self] {
    if (self) self->Animation().loopRunning_ = self->Animation().framesRunning_ = false;
  });

  AnimationSetupDialog& progress = AnimationSetupDialog::Load();
  QPointer<AnimationSetupDialog> window(&progress);
  progress.lblFrameCt->setText(Q(rt::IntText(count)));
  progress.lblFolder->clear();
  w_.Navigation().EnableImageFrames(false);
  w_.cmdReturn->setEnabled(false);
  w_.cmdExit->setEnabled(false);
  progress.ShowModeless();
  progress.cmdSave->setEnabled(false);
  progress.cmdCancel->setEnabled(false);
  progress.cmdStop->setEnabled(true);
  progress.SetStopColor(kStopArmed);

  // A Stop of an earlier run does not hold back this one: the set-up window was saved since.
  ms::RunFlags.StopFrames = 0;
  const long pos = match.pos;
  rt::Text span = match.span;
  for (int k = 0; k <= count; ++k) {
    if (k > 0) {
      ui::Ui().DoEvents();
      if (self.isNull()) return;
      if (LoopCut()) {
        return;
      }
      if (ms::RunFlags.StopFrames != 0) {
        FramesStopPath();
        return;
      }
    }
    const double value = start + k * step;
    const rt::Text assignment = AssignmentText(id, value);
    text = RewriteAssignment(text, pos, span, assignment);
    PutWorksheet(text);
    span = assignment;
    if (window) window->lblConstID->setText(Q(rt::NumText(value)));
    if (!ComputeFrame(k, FrameBitmapName(base, k))) return;
    if (window) window->lblFrameNo->setText(Q(rt::IntText(k)));
  }
  FramesDone(base, id);
}

// One frame of the run: the worksheet executed for the value just written, the picture built and
// saved. False when the run is to stop (it has said why) or the window is gone.
bool GraphAnimation::ComputeFrame(int k, const QString& name) {
  QPointer<GraphWindow> self(&w_);
  w_.Navigation().EnableSolutionFrames(false);
  ExecuteWorksheet();
  if (self.isNull()) return false;
  // A frame the worksheet could not be executed for would repeat the last picture under a new
  // name, and one whose Execute was stopped by Esc would lack what the statements after the stop
  // make: the run stops (the worksheet's box has said why, or Esc was pressed) and says which
  // frame.
  if (ws::WorksheetWindow* sheet = ws::WorksheetWindow::Instance();
      sheet != nullptr && (sheet->LastExecuteMessage() != 0 || sheet->LastExecuteAborted())) {
    FramesStopPath();
    Say(k > 0 ? u"Frame " + rt::IntText(k) + u" could not be computed; the frames stop at frame " +
                    rt::IntText(k - 1) + u"."
              : rt::Text(u"Frame 0 could not be computed; no frame was written."));
    return false;
  }
  // Each frame is solved for its own value, never drawn from the last one's stored solution.
  ms::RunFlags.Replot = 0;
  w_.GenerateData();
  if (self.isNull()) return false;
  if (!SaveFrame(w_, name)) {
    // No frame is left out unnoticed: the run stops as Stop would, and says why.
    FramesStopPath();
    Say(u"The frame file " + ui::FromQString(name) + u" could not be written.");
    return false;
  }
  return true;
}

// Every frame written: the set-up window can save or close, the text file of the run is written
// and the window's controls are usable again.
void GraphAnimation::FramesDone(const rt::Text& base, const rt::Text& id) {
  DisarmFrameProgress();
  w_.SetBusyPointer(false);
  const QString textName = FrameTextName(base);
  const bool written = WriteTextFile(
      textName, FrameTextContent(Family.RangeStart, Family.RangeEnd, Frames.FrameTotal, id));
  w_.Navigation().FramesRunDone();
  for (QPushButton* button : {w_.cmdReturn, w_.cmdExit, w_.cmdUpdate}) button->setEnabled(true);
  if (AnimationSetupDialog* window = AnimationSetupDialog::Instance()) {
    const QFileInfo first(FrameBitmapName(base, 0));
    window->ShowFolder(QDir::toNativeSeparators(first.absoluteDir().canonicalPath()));
  }
  if (!written) Say(u"The frame file " + ui::FromQString(textName) + u" could not be written.");
}

// The run stopped (Stop, a frame that could not be computed or written): the frames written so
// far stay, no text file is written, and every control the run disabled is usable again.
void GraphAnimation::FramesStopPath() {
  for (QPushButton* button : {w_.cmdReturn, w_.cmdExit, w_.cmdUpdate}) button->setEnabled(true);
  w_.Navigation().EnableImageFrames(true);
  w_.Navigation().EnableSolutionFrames(true);
  DisarmFrameProgress();
}

}  // namespace gr
