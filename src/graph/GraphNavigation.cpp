// View navigation: arrow keys turn the view, letter keys zoom and resize field vectors and arrow
// heads, the 2D/3D button switches to the plan view and back, scroll bars pan the picture and
// move the image, and the scale boxes take the grid units of parametric plots.
#include "graph/GraphNavigation.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSize>
#include <algorithm>
#include <cmath>

#include "commands/SceneBuild.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/QtWidgetKit.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace gr {

namespace {

// Angles are reset (not wrapped) once they pass a full turn.
constexpr double kFullTurn = 6.2831853072;
constexpr double kPi = 3.1415926536;
// The angles of the start-up view.
constexpr double kStartRotation = 45 * kPi / 180;
constexpr double kStartElevation = 60 * kPi / 180;
// "Z" and "z" change the picture scale by this much.
constexpr double kZoomStep = 10;

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyEsc = 27;

}  // namespace

void GraphNavigation::InitControls(QWidget* parent) {
  HScrScroll = new QScrollBar(Qt::Horizontal, parent);
  VScrScroll = new QScrollBar(Qt::Vertical, parent);
  for (QScrollBar* s : {HScrScroll, VScrScroll}) {
    s->setRange(0, 100);
    s->setFocusPolicy(Qt::NoFocus);
  }
  HScrScroll->setObjectName(QStringLiteral("HScrScroll"));
  VScrScroll->setObjectName(QStringLiteral("VScrScroll"));
  InitAngles(parent);
  InitScales(parent);
  InitViewButtons(parent);
  InitImagePosition(parent);

  QObject::connect(cmd3D, &QPushButton::clicked, &w_, [this] { cmd3D_Click(); });
  // Change and scroll run the same code: valueChanged covers both.
  QObject::connect(HScrScroll, &QScrollBar::valueChanged, &w_, [this] { HScrScroll_Change(); });
  QObject::connect(VScrScroll, &QScrollBar::valueChanged, &w_, [this] { VScrScroll_Change(); });
  QObject::connect(HPosition, &QScrollBar::valueChanged, &w_, [this] { HPosition_Change(); });
  QObject::connect(VPosition, &QScrollBar::valueChanged, &w_, [this] { VPosition_Change(); });
  // Return in a scale box validates it; leaving it validates it too, every time (ScaleBoxEvent),
  // edited or not, so that a refused text can never be left standing.
  for (QLineEdit* box : {strXScale, strYScale, strZScale}) {
    QObject::connect(box, &QLineEdit::returnPressed, &w_, [this, box] { ValidateScaleBox(box); });
  }
}

// The viewing angles with the 2D/3D button.
void GraphNavigation::InitAngles(QWidget* parent) {
  Frame3 = new QGroupBox(QStringLiteral("Updated Display of Viewing Angles"), parent);
  auto* ag = new QGridLayout(Frame3);
  Label10 = new QLabel(Frame3);
  Label12 = new QLabel(Frame3);
  Label10->setObjectName(QStringLiteral("Label10"));
  Label12->setObjectName(QStringLiteral("Label12"));
  ag->addWidget(new QLabel(QStringLiteral("Elevation"), Frame3), 0, 0);
  ag->addWidget(Label10, 0, 1);
  ag->addWidget(new QLabel(QStringLiteral("Rotation"), Frame3), 1, 0);
  ag->addWidget(Label12, 1, 1);
  cmd3D = new QPushButton(QStringLiteral("3D"), Frame3);
  cmd3D->setObjectName(QStringLiteral("cmd3D"));
  ag->addWidget(cmd3D, 0, 2, 2, 1);
}

// The grid units of parametric plots.
void GraphNavigation::InitScales(QWidget* parent) {
  Frame2 = new QGroupBox(QStringLiteral("Scale per Grid Unit (Parametric Plots)"), parent);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  auto* sg = new QGridLayout(Frame2);
  strXScale = new QLineEdit(Frame2);
  strYScale = new QLineEdit(Frame2);
  strZScale = new QLineEdit(Frame2);
  const std::array<std::pair<QLineEdit*, const char*>, 3> scales = {
      {{strXScale, "X-Scale/Unit"}, {strYScale, "Y-Scale/Unit"}, {strZScale, "Z-Scale/Unit"}}};
  int row = 0;
  for (const auto& [box, caption] : scales) {
    sg->addWidget(new QLabel(QString::fromLatin1(caption), Frame2), row, 0);
    sg->addWidget(box, row, 1);
    ++row;
  }
  strXScale->setObjectName(QStringLiteral("strXScale"));
  strYScale->setObjectName(QStringLiteral("strYScale"));
  strZScale->setObjectName(QStringLiteral("strZScale"));
}

// The position of the image within the printed documentation.
void GraphNavigation::InitImagePosition(QWidget* parent) {
  Frame1 = new QGroupBox(QStringLiteral("Move Graphic Image within Documentation"), parent);
  auto* ppos = new QGridLayout(Frame1);
  HPosition = new QScrollBar(Qt::Horizontal, Frame1);
  VPosition = new QScrollBar(Qt::Horizontal, Frame1);
  HPosition->setObjectName(QStringLiteral("HPosition"));
  VPosition->setObjectName(QStringLiteral("VPosition"));
  for (QScrollBar* s : {HPosition, VPosition}) s->setFocusPolicy(Qt::NoFocus);
  ppos->addWidget(new QLabel(QStringLiteral("Horizontal"), Frame1), 0, 0);
  ppos->addWidget(HPosition, 0, 1);
  ppos->addWidget(new QLabel(QStringLiteral("Vertical"), Frame1), 1, 0);
  ppos->addWidget(VPosition, 1, 1);
}

void GraphNavigation::ShowAngles() {
  Label10->setText(ui::ToQString(ms::WholeDegrees(ms::View.ElevationAngle)));
  Label12->setText(ui::ToQString(ms::WholeDegrees(ms::View.RotationAngle)));
}

void GraphNavigation::SetCmd3D(int32_t color, const QString& caption) {
  cmd3DColor_ = color;
  cmd3D->setText(caption);
  // Through the palette: a style sheet would have Qt polish the button afresh at every change.
  ui::PaintBackground(cmd3D, color, QPalette::Button);
}

// A focus lost to another window (a box, a menu) is not a leave of the box.
void GraphNavigation::ScaleBoxEvent(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut) return;
  if (watched != strXScale && watched != strYScale && watched != strZScale) return;
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
    ValidateScaleBox(static_cast<QLineEdit*>(watched));
  }
}

// A refused text keeps the focus in its box.
void GraphNavigation::ValidateScaleBox(QLineEdit* box) {
  bool refused = false;
  if (box == strXScale) refused = strXScale_Validate();
  if (box == strYScale) refused = strYScale_Validate();
  if (box == strZScale) refused = strZScale_Validate();
  if (refused) box->setFocus();
}

void GraphNavigation::Form_KeyDown(int keyCode, int /*shift*/) {
  ms::ViewStateData& v = ms::View;
  bool stepped = true;
  switch (keyCode) {
    case kKeyLeft:
      if (v.RotationAngle >= kFullTurn) {
        v.RotationAngle = v.SavedRotation = 0;
        stepped = false;
      } else {
        v.RotationAngle += v.AngleStep;
        v.SavedRotation = v.RotationAngle;
      }
      break;
    case kKeyRight:
      if (v.RotationAngle <= -kFullTurn) {
        v.RotationAngle = v.SavedRotation = 0;
        stepped = false;
      } else {
        v.RotationAngle -= v.AngleStep;
        v.SavedRotation = v.RotationAngle;
      }
      break;
    case kKeyUp:
      if (v.ElevationAngle <= -kFullTurn) {
        v.ElevationAngle = v.SavedElevation = 0;
        stepped = false;
      } else {
        v.ElevationAngle -= v.AngleStep;
        v.SavedElevation = v.ElevationAngle;
      }
      break;
    case kKeyDown:
      if (v.ElevationAngle >= kFullTurn) {
        v.ElevationAngle = v.SavedElevation = 0;
        stepped = false;
      } else {
        v.ElevationAngle += v.AngleStep;
        v.SavedElevation = v.ElevationAngle;
      }
      break;
    default:
      return;
  }
  if (stepped) {
    v.FieldRotation = v.RotationAngle;
    v.FieldElevation = v.ElevationAngle;
  }
  w_.updateplot();
}

void GraphNavigation::Form_KeyPress(int keyAscii) {
  ms::ViewStateData& v = ms::View;
  v.PictureScaleWork = v.PictureScale;
  const bool idle = Graph.Generating == 0;
  const bool barbKeys = idle && ms::FieldGraph.SlopeFieldMode == 0;
  // Rebuilds the scene from stored solutions after a size baked into it has changed.
  const auto rebuild = [this](bool resetArrows) {
    ms::RunFlags.Replot = -1;
    if (resetArrows) ms::CurveWork.ArrowFlagPos = 0;
    w_.GenerateData();
  };
  switch (keyAscii) {
    case 'Z':
      v.PictureScaleWork += kZoomStep;
      break;
    case 'z':
      // The scale stays above zero, where the picture would turn over: never below one step.
      v.PictureScaleWork =
          std::max(v.PictureScaleWork - kZoomStep, std::min(v.PictureScaleWork, kZoomStep));
      break;
    case 'S':
      if (!idle) return;
      v.FieldVectorScale *= 1.1;
      rebuild(false);
      break;
    case 's':
      if (!idle) return;
      v.FieldVectorScale *= 0.9;
      rebuild(false);
      break;
    case 'A':
      if (!idle) return;
      v.ArrowHeadScale *= 1.1;
      rebuild(true);
      break;
    case 'a':
      if (!idle) return;
      v.ArrowHeadScale *= 0.96;
      rebuild(true);
      break;
    case 'W':
      if (!barbKeys) return;
      v.ArrowAngleScale *= 0.96;
      rebuild(true);
      break;
    case 'w':
      if (!barbKeys) return;
      v.ArrowAngleScale *= 1.04;
      rebuild(true);
      break;
    case kKeyEsc:
      ms::RunFlags.AbortRun = -1;
      break;
    default:
      return;
  }
  v.PictureScale = v.PictureScaleWork;
  w_.updateplot();
}

// The button's colour carries the state. In the 2D state a press turns back to the saved angles,
// which the arrow keys have kept up to date while the plan view was turned; in the 3D state it
// saves the angles and turns to the plan view. The caption names what the press will do.
void GraphNavigation::cmd3D_Click() {
  ms::ViewStateData& v = ms::View;
  if (cmd3DColor_ == Graph.Button2DColor) {
    v.RotationAngle = v.SavedRotation;
    v.ElevationAngle = v.SavedElevation;
    // Saved angles that are the plan view themselves (the keys turned back to it) would leave
    // the picture as it is: the press turns to the start-up view instead.
    if (InPlanView()) {
      v.RotationAngle = kStartRotation;
      v.ElevationAngle = kStartElevation;
    }
    SetCmd3D(Graph.Button3DColor, QStringLiteral("2D"));
  } else if (cmd3DColor_ == Graph.Button3DColor) {
    v.SavedRotation = v.RotationAngle;
    v.SavedElevation = v.ElevationAngle;
    // The plan view: straight down the z axis, x to the right and y upwards.
    v.RotationAngle = -kPi / 2;
    v.ElevationAngle = 0;
    SetCmd3D(Graph.Button2DColor, QStringLiteral("3D"));
  }
  w_.updateplot();
}

bool GraphNavigation::InPlanView() {
  const ms::ViewStateData& v = ms::View;
  constexpr double kSameAngle = 1e-9;
  return std::fabs(std::remainder(v.RotationAngle + kPi / 2, kFullTurn)) < kSameAngle &&
         std::fabs(std::remainder(v.ElevationAngle, kFullTurn)) < kSameAngle;
}

// The angle labels always show the angles the picture is drawn at: a build that stops at a box
// before it draws has the angles it turned to behind the box, not the last picture's. A view that
// arrives at the plan view in the 3D state (a plane field's build, the arrow keys) puts the button
// into the 2D state, so that a press turns out of it; turning in the 2D state keeps that state.
void GraphNavigation::ShowViewState() {
  ShowAngles();
  if (cmd3DColor_ == Graph.Button3DColor && InPlanView()) {
    SetCmd3D(Graph.Button2DColor, QStringLiteral("3D"));
  }
}

// The window loads in the 3D state.
void GraphNavigation::ResetViewState() {
  SetCmd3D(Graph.Button3DColor, QStringLiteral("2D"));
  ShowViewState();
}

namespace {
// Where panning puts the picture box along one side of its viewport: by the bar's value (0 to
// 100) while the picture is the larger; in the middle once the viewport is (nothing to pan).
int PanPosition(int viewport, int picture, int value) {
  const int spare = viewport - picture;
  return spare >= 0 ? spare / 2 : spare * value / 100;
}
}  // namespace

// Panning moves the picture box inside its viewport; nothing is redrawn.
void GraphNavigation::HScrScroll_Change() {
  const int left = PanPosition(w_.OutDisplay->width(), w_.DisplayBox->width(), HScrScroll->value());
  w_.DisplayBox->move(left, w_.DisplayBox->y());
}

void GraphNavigation::VScrScroll_Change() {
  const int top =
      PanPosition(w_.OutDisplay->height(), w_.DisplayBox->height(), VScrScroll->value());
  w_.DisplayBox->move(w_.DisplayBox->x(), top);
}

// A resized viewport pans the picture box again, then moves the drawing by half the change in
// size less what the box itself moved, so that the drawing keeps its place relative to the middle
// of the viewport: a window made larger shows the drawing in the middle of the larger picture.
void GraphNavigation::ViewportResized(const QSize& before) {
  const QPoint boxBefore = w_.DisplayBox->pos();
  HScrScroll_Change();
  VScrScroll_Change();
  if (before.width() <= 0 || before.height() <= 0) return;
  const QSize now = w_.OutDisplay->size();
  const QPoint boxMoved = w_.DisplayBox->pos() - boxBefore;
  const double dx = (now.width() - before.width()) / 2.0 - boxMoved.x();
  const double dy = (now.height() - before.height()) / 2.0 - boxMoved.y();
  if (dx == 0 && dy == 0) return;
  const draw::DrawTarget& t = w_.Display();
  // The image offsets are in the picture's units; the vertical one counts from the bottom.
  ms::View.ImageOffsetX += dx * t.ScaleWidth() / t.PixelWidth();
  ms::View.ImageOffsetY -= dy * t.ScaleHeight() / t.PixelHeight();
  {
    const QSignalBlocker hb(HPosition), vb(VPosition);
    HPosition->setValue(static_cast<int>(std::lround(ms::View.ImageOffsetX)));
    VPosition->setValue(static_cast<int>(std::lround(ms::View.ImageOffsetY)));
  }
  w_.updateplot();
}

void GraphNavigation::HPosition_Change() {
  ms::View.ImageOffsetX = HPosition->value();
  w_.updateplot();
}

void GraphNavigation::VPosition_Change() {
  ms::View.ImageOffsetY = VPosition->value();
  w_.updateplot();
}

// Empty: accepted, nothing changes. Not a number, and (independently) a value of 0: refused with
// a box each. Otherwise the unit is taken for the next build.
bool GraphNavigation::ValidateScale(QLineEdit* box, const rt::Text& notNumber, const rt::Text& zero,
                                    double& unit, double& userUnit) {
  if (validating_) return false;
  validating_ = true;
  const rt::Text text = ui::FromQString(box->text());
  bool cancel = false;
  if (!text.empty()) {
    if (!rt::IsNumeric(text)) {
      cancel = true;
      ui::Ui().MsgBox(notNumber, ui::kOkOnly, u"Invalid Input.");
    }
    const double value = rt::Val(text);
    if (value == 0) {
      cancel = true;
      ui::Ui().MsgBox(zero, ui::kOkOnly, u"Invalid Input.");
    }
    if (!cancel) {
      unit = value;
      userUnit = unit;
    }
  }
  validating_ = false;
  return cancel;
}

bool GraphNavigation::strXScale_Validate() {
  return ValidateScale(strXScale, u"X scale not a number. Reenter.",
                       u" X scale can not equal zero. Reenter.", ms::Scene.GridUnitX,
                       ms::View.UserGridUnitX);
}

bool GraphNavigation::strYScale_Validate() {
  return ValidateScale(strYScale, u"Y scale not a number. Reenter.",
                       u"Y scale cannot equal zero. Reenter.", ms::Scene.GridUnitY,
                       ms::View.UserGridUnitY);
}

bool GraphNavigation::strZScale_Validate() {
  return ValidateScale(strZScale, u"Z scale not a number. Reenter.",
                       u"Z scale cannot equal zero. Reenter.", ms::Scene.GridUnitZ,
                       ms::View.UserGridUnitZ);
}

// The picture box at the corner of its viewport and the image in the middle of the picture; the
// offset scroll bars' change handlers copy their values into the offsets and redraw.
void GraphNavigation::CentrePicture() {
  w_.DisplayBox->move(0, 0);

  ms::View.DisplayScaleHeight = w_.Display().ScaleHeight();
  const int width = static_cast<int>(w_.Display().ScaleWidth());
  const int height = static_cast<int>(w_.Display().ScaleHeight());
  {
    const QSignalBlocker hb(HPosition), vb(VPosition);
    HPosition->setRange(0, width);
    VPosition->setRange(0, height);
  }
  // The picture centre on a whole pixel.
  const int centreX = width / 2;
  const int centreY = height / 2;
  ms::View.ImageOffsetX = centreX;
  {
    const QSignalBlocker hb(HPosition);
    HPosition->setValue((2 * static_cast<int>(ms::View.ImageOffsetX)) / 3);
  }
  HPosition_Change();
  ms::View.ImageOffsetY = centreY;
  {
    const QSignalBlocker vb(VPosition);
    VPosition->setValue((3 * static_cast<int>(ms::View.ImageOffsetY)) / 2);
  }
  VPosition_Change();
}

// The view as the window loads: the z axis a solve needs, the depth, picture scale and eye
// distance, the saved angles with the 2D/3D button following them, a two-degree arrow step and
// the user's grid units in the scale boxes.
void GraphNavigation::ResetViewForLoad() {
  Graph.Button2DColor = 0xFFC0C0;
  Graph.Button3DColor = 0xFFC0FF;

  if (ms::Requests.BVPRequested != 0) {
    ms::View.ZAxisNeeded = 0;
  } else if (ms::Requests.IVPRequested != 0) {
    const bool trajectory = ms::View.ODEViewRequest == 7 || ms::View.ODEViewRequest == 22;
    ms::View.ZAxisNeeded = trajectory ? -1 : 0;
  }

  ms::View.DepthLimit = 999.0;
  ms::View.PictureScaleWork = 300.0;
  ms::View.EyeDistance = 10.0;
  ms::Scene.VertexCount = 0;
  ms::Scene.SegmentCount = 0;

  ms::View.RotationAngle = ms::View.SavedRotation;
  ms::View.ElevationAngle = ms::View.SavedElevation;
  ResetViewState();
  ms::View.AngleStep = 6.2831853072 / 180;

  Graph.GridUnitT = ms::View.UserGridUnitT;
  ms::Scene.GridUnitX = ms::View.UserGridUnitX;
  ms::Scene.GridUnitY = ms::View.UserGridUnitY;
  ms::Scene.GridUnitZ = ms::View.UserGridUnitZ;
  strXScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitX)));
  strYScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitY)));
  strZScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitZ)));
}

void GraphNavigation::HideViewFrames() {
  for (QGroupBox* f : {Frame2, Frame5, Frame6, Frame7, Frame8, Frame9}) f->hide();
}

void GraphNavigation::ShowOdeViews(ms::OdeViewGroup views) {
  using enum ms::OdeViewGroup;
  const std::pair<QGroupBox*, ms::OdeViewGroup> frames[] = {{Frame5, kPhase},
                                                            {Frame6, kThreeEquationsMode2},
                                                            {Frame7, kFourEquationsMode2},
                                                            {Frame8, kTwoEquationsMode2},
                                                            {Frame9, kFourEquationsMode3}};
  for (const auto& [frame, group] : frames) frame->setVisible(group == views);
}

void GraphNavigation::FramesBeforeRow(const ms::SceneStepReport& r) {
  if (r.step == ms::SceneStep::kInteg || r.step == ms::SceneStep::kDblInt) {
    Frame7->hide();
    Frame8->hide();
  }
  if (r.odeViews) ShowOdeViews(*r.odeViews);
}

// The grid units follow the commands that draw in user units; the one-equation views follow a
// boundary value problem and the first curve of a solved first-order system.
void GraphNavigation::FramesAfterRowRan(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  const bool integrals = r.step == SceneStep::kInteg || r.step == SceneStep::kDblInt;
  if (integrals || r.step == SceneStep::kIVP || r.step == SceneStep::kBVP ||
      r.step == SceneStep::kSlopeField) {
    Frame2->show();
    if (r.step != SceneStep::kIVP) Frame5->setVisible(r.step == SceneStep::kBVP);
  } else if (r.step == SceneStep::kDirField || r.step == SceneStep::kField3D) {
    Frame2->hide();
    Frame5->hide();
  } else if (r.step == SceneStep::kCurve && r.curve == 1) {
    Frame2->show();
    if (ms::OdePicture.IVPOrder1 != 0) {
      Frame5->show();
      Frame6->hide();
    }
  }
}

void GraphNavigation::FramesAfterRowDone(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  switch (r.step) {
    case SceneStep::kBVP:
      // A boundary value problem shows its one-equation views under its own caption.
      Frame5->setTitle(QStringLiteral("BVP: {ta,X(ta)} --> {tb,X(tb)}"));
      break;
    case SceneStep::kSlopeField:
    case SceneStep::kDirField:
      Frame5->hide();
      break;
    case SceneStep::kContour:
      Frame2->hide();
      Frame5->hide();
      Frame6->hide();
      break;
    default:
      break;
  }
}

void GraphNavigation::SetImagePosition(int horizontal, int vertical) {
  HPosition->setValue(horizontal);
  VPosition->setValue(vertical);
}

void GraphNavigation::EnableImageFrames(bool enabled) {
  Frame1->setEnabled(enabled);
  Frame3->setEnabled(enabled);
}

void GraphNavigation::EnableSolutionFrames(bool enabled) {
  for (QGroupBox* f : {Frame2, Frame5, Frame6}) f->setEnabled(enabled);
}

void GraphNavigation::FramesRunDone() {
  EnableImageFrames(true);
  Frame2->setEnabled(true);
  Frame5->setEnabled(false);
  Frame6->setEnabled(true);  // hidden, but its view buttons work when a later build shows it
  for (QGroupBox* f : {Frame6, Frame7, Frame8, Frame9}) f->hide();
}

}  // namespace gr
