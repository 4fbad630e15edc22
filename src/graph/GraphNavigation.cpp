// View navigation: arrow keys turn the view, letter keys zoom and resize field vectors and arrow
// heads, the 2D/3D button switches to the plan view and back, scroll bars pan the picture and
// move the image, and the scale boxes take the grid units of parametric plots.
#include "graph/GraphNavigation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSize>
#include <algorithm>
#include <cmath>

#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/draw/DrawTarget.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
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

// The button follows the view, whoever turned it (the button, the keys, a plane field's build):
// in the plan view a press turns back to the saved angles, elsewhere it turns to the plan view,
// and the caption names what the press will do.
void GraphNavigation::cmd3D_Click() {
  ms::ViewStateData& v = ms::View;
  if (InPlanView()) {
    v.RotationAngle = v.SavedRotation;
    v.ElevationAngle = v.SavedElevation;
    // Saved angles that are the plan view themselves (the keys turned back to it) would leave
    // the picture as it is: the press turns to the start-up view instead.
    if (InPlanView()) {
      v.RotationAngle = kStartRotation;
      v.ElevationAngle = kStartElevation;
    }
  } else {
    v.SavedRotation = v.RotationAngle;
    v.SavedElevation = v.ElevationAngle;
    // The plan view: straight down the z axis, x to the right and y upwards.
    v.RotationAngle = -kPi / 2;
    v.ElevationAngle = 0;
  }
  w_.updateplot();
}

bool GraphNavigation::InPlanView() {
  const ms::ViewStateData& v = ms::View;
  constexpr double kSameAngle = 1e-9;
  return std::fabs(std::remainder(v.RotationAngle + kPi / 2, kFullTurn)) < kSameAngle &&
         std::fabs(std::remainder(v.ElevationAngle, kFullTurn)) < kSameAngle;
}

// The angle labels and the 2D/3D button always show the same angles: a build that stops at a
// box before it draws has the angles it turned to behind the box, not the last picture's.
void GraphNavigation::ShowViewState() {
  w_.Label10->setText(ui::ToQString(ms::WholeDegrees(ms::View.ElevationAngle)));
  w_.Label12->setText(ui::ToQString(ms::WholeDegrees(ms::View.RotationAngle)));
  if (InPlanView()) {
    w_.SetCmd3D(Graph.Button2DColor, QStringLiteral("3D"));
  } else {
    w_.SetCmd3D(Graph.Button3DColor, QStringLiteral("2D"));
  }
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
  const int left =
      PanPosition(w_.OutDisplay->width(), w_.DisplayBox->width(), w_.HScrScroll->value());
  w_.DisplayBox->move(left, w_.DisplayBox->y());
}

void GraphNavigation::VScrScroll_Change() {
  const int top =
      PanPosition(w_.OutDisplay->height(), w_.DisplayBox->height(), w_.VScrScroll->value());
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
  const draw::DrawTarget& t = *w_.display_;
  // The image offsets are in the picture's units; the vertical one counts from the bottom.
  ms::View.ImageOffsetX += dx * t.ScaleWidth() / t.PixelWidth();
  ms::View.ImageOffsetY -= dy * t.ScaleHeight() / t.PixelHeight();
  {
    const QSignalBlocker hb(w_.HPosition), vb(w_.VPosition);
    w_.HPosition->setValue(static_cast<int>(std::lround(ms::View.ImageOffsetX)));
    w_.VPosition->setValue(static_cast<int>(std::lround(ms::View.ImageOffsetY)));
  }
  w_.updateplot();
}

void GraphNavigation::HPosition_Change() {
  ms::View.ImageOffsetX = w_.HPosition->value();
  w_.updateplot();
}

void GraphNavigation::VPosition_Change() {
  ms::View.ImageOffsetY = w_.VPosition->value();
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
  return ValidateScale(w_.strXScale, u"X scale not a number. Reenter.",
                       u" X scale can not equal zero. Reenter.", ms::Scene.GridUnitX,
                       ms::View.UserGridUnitX);
}

bool GraphNavigation::strYScale_Validate() {
  return ValidateScale(w_.strYScale, u"Y scale not a number. Reenter.",
                       u"Y scale cannot equal zero. Reenter.", ms::Scene.GridUnitY,
                       ms::View.UserGridUnitY);
}

bool GraphNavigation::strZScale_Validate() {
  return ValidateScale(w_.strZScale, u"Z scale not a number. Reenter.",
                       u"Z scale cannot equal zero. Reenter.", ms::Scene.GridUnitZ,
                       ms::View.UserGridUnitZ);
}

// The picture box at the corner of its viewport and the image in the middle of the picture; the
// offset scroll bars' change handlers copy their values into the offsets and redraw.
void GraphNavigation::CentrePicture() {
  w_.DisplayBox->move(0, 0);

  ms::View.DisplayScaleHeight = w_.display_->ScaleHeight();
  const int width = static_cast<int>(w_.display_->ScaleWidth());
  const int height = static_cast<int>(w_.display_->ScaleHeight());
  {
    const QSignalBlocker hb(w_.HPosition), vb(w_.VPosition);
    w_.HPosition->setRange(0, width);
    w_.VPosition->setRange(0, height);
  }
  // The picture centre on a whole pixel.
  const int centreX = width / 2;
  const int centreY = height / 2;
  ms::View.ImageOffsetX = centreX;
  {
    const QSignalBlocker hb(w_.HPosition);
    w_.HPosition->setValue((2 * static_cast<int>(ms::View.ImageOffsetX)) / 3);
  }
  HPosition_Change();
  ms::View.ImageOffsetY = centreY;
  {
    const QSignalBlocker vb(w_.VPosition);
    w_.VPosition->setValue((3 * static_cast<int>(ms::View.ImageOffsetY)) / 2);
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
  ShowViewState();
  ms::View.AngleStep = 6.2831853072 / 180;

  Graph.GridUnitT = ms::View.UserGridUnitT;
  ms::Scene.GridUnitX = ms::View.UserGridUnitX;
  ms::Scene.GridUnitY = ms::View.UserGridUnitY;
  ms::Scene.GridUnitZ = ms::View.UserGridUnitZ;
  w_.strXScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitX)));
  w_.strYScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitY)));
  w_.strZScale->setText(ui::ToQString(rt::Str(ms::Scene.GridUnitZ)));
}

}  // namespace gr
