// The field-size keys and the scale boxes, through real key events where a user would press keys.
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <cmath>
#include <tuple>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

class ViewNavigationTest : public GraphTest {};

int g_builds = 0;
int16_t CountBuild(const rt::Text&, int16_t) {
  ++g_builds;
  return 0;
}

// One row per key group (zoom is seen in the window use tests): field vectors and arrow heads,
// which rebuild; held back while a build runs; barbs not after a slope field;
// other keys nothing.
TEST_F(ViewNavigationTest, LetterKeysResizeArrows) {
  struct Case {
    char key;
    bool generating, slopeField;
    double field, head;  // factors on 0.5 and 1
    int builds;
  };
  const Case cases[] = {{'s', false, false, 0.9, 1, 1},
                        {'A', false, false, 1, 1.1, 1},
                        {'S', true, false, 1, 1, 0},
                        {'W', false, true, 1, 1, 0},
                        {'q', false, false, 1, 1, 0}};
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = CountBuild;
  GraphWindow& w = Load();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ms::View.FieldVectorScale = 0.5;
    ms::View.ArrowHeadScale = 1;
    g_builds = 0;
    Graph.Generating = c.generating ? -1 : 0;
    ms::FieldGraph.SlopeFieldMode = c.slopeField ? -1 : 0;
    ms::CurveWork.ArrowFlagPos = 5;
    KeyClick(&w, c.key);
    EXPECT_DOUBLE_EQ(ms::View.FieldVectorScale, 0.5 * c.field);
    EXPECT_DOUBLE_EQ(ms::View.ArrowHeadScale, c.head);
    EXPECT_EQ(g_builds, c.builds);
    // Every build counts the Plot[ arrow marks from the first curve again.
    EXPECT_EQ(ms::CurveWork.ArrowFlagPos == 0, c.builds > 0);
  }
}

int16_t g_arrowPosAtBuild = -1;
int16_t RecordArrowPos(const rt::Text&, int16_t) {
  ++g_builds;
  g_arrowPosAtBuild = ms::CurveWork.ArrowFlagPos;
  return 0;
}

// Every letter key where it acts, with the focus on the picture: "Z" and "z" move the zoom by 10
// and only redraw; "S" and "s" scale the field vectors by 1.1 and 0.9, "A" and "a" the arrow heads
// by 1.1 and 0.96, "W" and "w" the barb angles by 0.96 and 1.04, each with one rebuild, which for
// the heads and barbs counts the curves' arrows from the first again. Typed into a scale box the
// same keys are the box's text and change nothing of the graph.
TEST_F(ViewNavigationTest, LetterKeysActOnThePictureAndTypeIntoTheScaleBoxes) {
  struct Case {
    char key;
    double zoom, field, head, barb;  // factors on 300 (added), 0.5, 1 and 1
    bool arrowsAfresh;
  };
  const Case cases[] = {{'Z', 10, 1, 1, 1, false},  {'z', -10, 1, 1, 1, false},
                        {'S', 0, 1.1, 1, 1, false}, {'s', 0, 0.9, 1, 1, false},
                        {'A', 0, 1, 1.1, 1, true},  {'a', 0, 1, 0.96, 1, true},
                        {'W', 0, 1, 1, 0.96, true}, {'w', 0, 1, 1, 1.04, true}};
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = RecordArrowPos;
  GraphWindow& w = Load();
  w.show();
  QWidget* targets[] = {w.DisplayBox, w.Navigation().strXScale, w.Navigation().strYScale,
                        w.Navigation().strZScale};
  for (const Case& c : cases) {
    for (QWidget* target : targets) {
      SCOPED_TRACE(std::string(1, c.key) + " " + target->objectName().toStdString());
      const bool box = target != w.DisplayBox;
      ms::View.PictureScale = 300;
      ms::View.FieldVectorScale = 0.5;
      ms::View.ArrowHeadScale = 1;
      ms::View.ArrowAngleScale = 1;
      ms::CurveWork.ArrowFlagPos = 5;
      g_arrowPosAtBuild = -1;
      g_builds = 0;
      ui_.Reset();
      if (box) static_cast<QLineEdit*>(target)->clear();
      KeyClick(target, c.key);
      EXPECT_DOUBLE_EQ(ms::View.PictureScale, box ? 300 : 300 + c.zoom);
      EXPECT_DOUBLE_EQ(ms::View.FieldVectorScale, box ? 0.5 : 0.5 * c.field);
      EXPECT_DOUBLE_EQ(ms::View.ArrowHeadScale, box ? 1 : c.head);
      EXPECT_DOUBLE_EQ(ms::View.ArrowAngleScale, box ? 1 : c.barb);
      const bool rebuilds = !box && c.zoom == 0;
      EXPECT_EQ(g_builds, rebuilds ? 1 : 0);
      if (rebuilds && c.arrowsAfresh) {
        EXPECT_EQ(g_arrowPosAtBuild, 0);
      }
      EXPECT_TRUE(ui_.boxes.empty());
      if (box) {
        EXPECT_EQ(static_cast<QLineEdit*>(target)->text(), QString(QLatin1Char(c.key)));
        EXPECT_EQ(w.focusWidget(), target);
      }
    }
  }
  // The barb keys act on anything but a slope field; "w" after a slope field does nothing.
  ms::FieldGraph.SlopeFieldMode = -1;
  g_builds = 0;
  KeyClick(w.DisplayBox, 'w');
  EXPECT_DOUBLE_EQ(ms::View.ArrowAngleScale, 1);
  EXPECT_EQ(g_builds, 0);
}

// The barb keys after real builds: a slope field holds them back, a curve or a plane field lets
// them act; a plane field drawn after a slope field in the same run lets them act again.
struct BarbCase {
  const char *first, *then;  // the second worksheet drawn in the same run; nullptr: none
  char key;
  double barb;
};
constexpr char kSlopeSheet[] = "F{x,y} = x\nPlotSlopeField[F, {-2,2,6}{-2,2,6} {0,1}]\n";
constexpr char kCurveSheet[] = "A<t> = <t, 2t, 0>\nPlot[A, {t,0,1,10}]\n";
constexpr char kPlaneSheet[] = "F{x,y}=y\nH{x,y}=-x\nPlotDirField[F,H,{-2,2,10}{-2,2,10}]\n";

TEST_F(ViewNavigationTest, BarbKeysFollowTheLastBuild) {
  const BarbCase cases[] = {
      {kSlopeSheet, nullptr, 'W', 1},        {kSlopeSheet, nullptr, 'w', 1},
      {kCurveSheet, nullptr, 'W', 0.96},     {kCurveSheet, nullptr, 'w', 1.04},
      {kPlaneSheet, nullptr, 'w', 1.04},     {kSlopeSheet, kPlaneSheet, 'W', 0.96},
      {kSlopeSheet, kPlaneSheet, 'w', 1.04},
  };
  for (const BarbCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.first << "|" << (c.then ? c.then : "") << c.key);
    GraphWindow* w = &Run(c.first);
    if (c.then != nullptr) w = Regraph(c.then);
    ASSERT_NE(w, nullptr);
    ms::View.ArrowAngleScale = 1;
    KeyClick(w->DisplayBox, c.key);
    EXPECT_DOUBLE_EQ(ms::View.ArrowAngleScale, c.barb);
  }
}

// A curve drawn after a slope field in the same run is no slope field: the barb keys act on it.
TEST_F(ViewNavigationTest, BarbKeysActOnACurveDrawnAfterASlopeField) {
  const BarbCase cases[] = {{kSlopeSheet, kCurveSheet, 'W', 0.96},
                            {kSlopeSheet, kCurveSheet, 'w', 1.04}};
  for (const BarbCase& c : cases) {
    SCOPED_TRACE(c.key);
    Run(c.first);
    GraphWindow* w = Regraph(c.then);
    ASSERT_NE(w, nullptr);
    ms::View.ArrowAngleScale = 1;
    KeyClick(w->DisplayBox, c.key);
    EXPECT_DOUBLE_EQ(ms::View.ArrowAngleScale, c.barb);
  }
}

// Typed into X-Scale/Unit, "abc" stays in the box; Return says both messages in turn, keeps the
// unit and the focus in the box, and the graph's keys have done nothing.
TEST_F(ViewNavigationTest, TextTypedIntoAScaleBoxIsCheckedWhenTheBoxIsLeft) {
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = CountBuild;
  GraphWindow& w = Load();
  w.show();
  QLineEdit* box = w.Navigation().strXScale;
  box->clear();
  g_builds = 0;
  ms::Scene.GridUnitX = ms::View.UserGridUnitX = 1;
  for (char c : {'a', 'b', 'c'}) KeyClick(box, c);
  EXPECT_EQ(box->text(), QStringLiteral("abc"));
  EXPECT_DOUBLE_EQ(ms::View.ArrowHeadScale, 1);
  EXPECT_EQ(g_builds, 0);
  ui_.Reset();
  KeyClick(box, Qt::Key_Return);
  EXPECT_EQ(Boxes(), (std::vector<rt::Text>{u"X scale not a number. Reenter.",
                                            u" X scale can not equal zero. Reenter."}));
  EXPECT_EQ(w.focusWidget(), box);
  EXPECT_DOUBLE_EQ(ms::Scene.GridUnitX, 1);
  EXPECT_DOUBLE_EQ(ms::View.UserGridUnitX, 1);
  // The arrow keys turn the view from a scale box too.
  const double rotation = ms::View.RotationAngle;
  KeyClick(box, Qt::Key_Left);
  EXPECT_NEAR(ms::View.RotationAngle, rotation + 2 * 3.1415926536 / 180, 1e-12);
}

// Each arrow key steps its angle by the angle step and keeps the new angle for the 2D/3D button and
// for the field commands; at a full turn (2 pi = 6.2831853072, either way as the key turns) the
// key sets the angle and its kept copy to 0 instead and leaves the field angles as they were. Left
// and Down turn up, Right and Up down.
TEST_F(ViewNavigationTest, ArrowKeysStepOrResetAtAFullTurn) {
  constexpr double kTurn = 6.2831853072, kTwo = 2 * 3.1415926536 / 180, kOne = kTwo / 2;
  struct Case {
    Qt::Key key;
    double step, before;  // the angle the key turns, before
    bool reset;
    double after;
  };
  const Case cases[] = {
      {Qt::Key_Left, kTwo, 0.5, false, 0.5 + kTwo},
      {Qt::Key_Left, kOne, 0.5, false, 0.5 + kOne},
      {Qt::Key_Left, kTwo, kTurn - 0.001, false, kTurn - 0.001 + kTwo},
      {Qt::Key_Left, kTwo, kTurn, true, 0},
      {Qt::Key_Left, kTwo, kTurn + 0.02, true, 0},
      {Qt::Key_Left, kTwo, -kTurn, false, -kTurn + kTwo},
      {Qt::Key_Right, kTwo, 0.5, false, 0.5 - kTwo},
      {Qt::Key_Right, kTwo, -kTurn + 0.001, false, -kTurn + 0.001 - kTwo},
      {Qt::Key_Right, kTwo, -kTurn, true, 0},
      {Qt::Key_Right, kTwo, kTurn, false, kTurn - kTwo},
      {Qt::Key_Up, kTwo, 0.3, false, 0.3 - kTwo},
      {Qt::Key_Up, kOne, 0.3, false, 0.3 - kOne},
      {Qt::Key_Up, kTwo, -kTurn, true, 0},
      {Qt::Key_Up, kTwo, kTurn, false, kTurn - kTwo},
      {Qt::Key_Down, kTwo, 0.3, false, 0.3 + kTwo},
      {Qt::Key_Down, kTwo, kTurn, true, 0},
      {Qt::Key_Down, kTwo, kTurn - 0.001, false, kTurn - 0.001 + kTwo},
      {Qt::Key_Down, kTwo, -kTurn, false, -kTurn + kTwo},
  };
  GraphWindow& w = Load();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.key << " from " << c.before);
    const bool rotation = c.key == Qt::Key_Left || c.key == Qt::Key_Right;
    ms::ViewStateData& v = ms::View;
    v.AngleStep = c.step;
    v.RotationAngle = rotation ? c.before : 0.25;
    v.ElevationAngle = rotation ? 0.75 : c.before;
    v.SavedRotation = v.SavedElevation = 9;
    v.FieldRotation = v.FieldElevation = 8;
    KeyClick(&w, c.key);
    const double turned = rotation ? v.RotationAngle : v.ElevationAngle;
    const double other = rotation ? v.ElevationAngle : v.RotationAngle;
    EXPECT_NEAR(turned, c.after, 1e-12);
    EXPECT_EQ(other, rotation ? 0.75 : 0.25);
    EXPECT_NEAR(rotation ? v.SavedRotation : v.SavedElevation, c.after, 1e-12);
    EXPECT_EQ(rotation ? v.SavedElevation : v.SavedRotation, 9);
    EXPECT_EQ(v.FieldRotation, c.reset ? 8 : v.RotationAngle);
    EXPECT_EQ(v.FieldElevation, c.reset ? 8 : v.ElevationAngle);
  }
  // Reset to 0 by Left at a full turn, the next Right steps down from there.
  ms::View.AngleStep = kTwo;
  ms::View.RotationAngle = kTurn;
  KeyClick(&w, Qt::Key_Left);
  KeyClick(&w, Qt::Key_Right);
  EXPECT_NEAR(ms::View.RotationAngle, -kTwo, 1e-15);
}

// Each scale box takes a grid unit when it is left (by Return or by the focus moving on), edited or
// not: a refused text is said every time and the box keeps the focus; a focus lost to a message
// box or a menu is not a leave.
TEST_F(ViewNavigationTest, ScaleBoxesTakeGridUnitsAndEveryLeaveValidates) {
  const rt::Text xNan = u"X scale not a number. Reenter.";
  const rt::Text xZero = u" X scale can not equal zero. Reenter.";
  struct Case {
    int axis;  // 0 x, 1 y, 2 z
    const char* text;
    std::vector<rt::Text> boxes;
    double unit;  // after, starting from 1
  };
  const Case cases[] = {
      {0, "abc", {xNan, xZero}, 1},
      {0, "0", {xZero}, 1},
      {0, "-2", {}, -2},
      {0, "", {}, 1},
      {0, "3x", {xNan}, 1},
      {1, "abc", {u"Y scale not a number. Reenter.", u"Y scale cannot equal zero. Reenter."}, 1},
      {2, "0", {u"Z scale cannot equal zero. Reenter."}, 1},
      {2, "4", {}, 4},
  };
  GraphWindow& w = Load();
  w.show();
  QLineEdit* boxes[] = {w.Navigation().strXScale, w.Navigation().strYScale,
                        w.Navigation().strZScale};
  double* units[] = {&ms::Scene.GridUnitX, &ms::Scene.GridUnitY, &ms::Scene.GridUnitZ};
  double* userUnits[] = {&ms::View.UserGridUnitX, &ms::View.UserGridUnitY, &ms::View.UserGridUnitZ};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (int a = 0; a < 3; ++a) *units[a] = *userUnits[a] = 1;
    boxes[c.axis]->setText(QString::fromLatin1(c.text));
    for (int leave = 0; leave < 2; ++leave) {  // by Return, then by the focus moving on
      ui_.Reset();
      if (leave == 0) KeyClick(boxes[c.axis], Qt::Key_Return);
      QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
      if (leave == 1) QApplication::sendEvent(boxes[c.axis], &out);
      EXPECT_EQ(Boxes(), c.boxes);
      EXPECT_TRUE(c.boxes.empty() || w.focusWidget() == boxes[c.axis]);
      EXPECT_DOUBLE_EQ(*units[c.axis], c.unit);
      EXPECT_DOUBLE_EQ(*userUnits[c.axis], c.unit);
    }
  }
  QFocusEvent toBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  w.Navigation().strXScale->setText(QStringLiteral("abc"));
  ui_.Reset();
  QApplication::sendEvent(w.Navigation().strXScale, &toBox);
  EXPECT_TRUE(ui_.boxes.empty());
}

// The first column of the picture with ink in it, -1 for none.
int FirstInkColumn(const QImage& img) {
  for (int x = 0; x < img.width(); ++x)
    for (int y = 0; y < img.height(); ++y)
      if (img.pixelColor(x, y) != QColor(Qt::white)) return x;
  return -1;
}

// On the picture world x runs to the right and world y upwards: two points of the line y = 2x
// (rows of the curve) with the second further along seen right of and above the first.
void ExpectXRightYUp() {
  const ms::SegmentRow& row = ms::Scene.SegmentTable[0];
  const ms::Point3& a = ms::Scene.ViewXYZ[static_cast<int>(row[ms::kStartPoint])];
  const ms::Point3& b = ms::Scene.ViewXYZ[static_cast<int>(row[ms::kEndPoint])];
  const ms::Point3& wa = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kStartPoint])];
  const ms::Point3& wb = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kEndPoint])];
  ASSERT_GT(wb[0], wa[0]);
  EXPECT_GT(b[0], a[0]);  // right
  EXPECT_LT(b[1], a[1]);  // up: the picture's y grows downwards
}

// What the user sees of the view: the plan view looks down the z axis (x right, y up) and the
// 2D/3D button always names what a press does, whoever turned the view; "z" never turns the
// picture over; the image position bars move the picture.
TEST_F(ViewNavigationTest, ThePlanViewTheButtonTheZoomAndThePositionBars) {
  GraphWindow* w = &Run("A<t> = <t, 2t, 0>\nPlot[A, {t,0,1,10}]\n");
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("2D"));
  w->Navigation().cmd3D->click();
  EXPECT_NEAR(ms::View.RotationAngle, -M_PI / 2, 1e-9);
  EXPECT_EQ(ms::View.ElevationAngle, 0);
  ExpectXRightYUp();
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("3D"));
  EXPECT_EQ(w->Navigation().Cmd3DColor(), 0xFFC0C0);
  EXPECT_EQ(w->Navigation().cmd3D->palette().color(QPalette::Button), QColor(192, 192, 255));
  w->Navigation().cmd3D->click();
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("2D"));
  EXPECT_EQ(w->Navigation().Cmd3DColor(), 0xFFC0FF);
  EXPECT_EQ(w->Navigation().cmd3D->palette().color(QPalette::Button), QColor(255, 192, 255));

  // A plane direction field is drawn in the plan view by its build: a press turns it to 3D.
  w = Regraph("F{x,y}=y\nH{x,y}=-x\nPlotDirField[F,H,{-2,2,10}{-2,2,10}]\n");
  ASSERT_NE(w, nullptr);
  ASSERT_NEAR(ms::View.RotationAngle, -M_PI / 2, 1e-9);
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("3D"));
  w->Navigation().cmd3D->click();
  EXPECT_NE(ms::View.ElevationAngle, 0);
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("2D"));
  // Turned to the plan view with the keys, the saved angles are the plan view too: the press
  // still turns the picture out of it.
  w->Navigation().cmd3D->click();
  ms::View.SavedRotation = ms::View.RotationAngle;
  ms::View.SavedElevation = ms::View.ElevationAngle;
  w->Navigation().cmd3D->click();
  EXPECT_EQ(w->Navigation().cmd3D->text(), QStringLiteral("2D"));
  EXPECT_GT(ms::View.ElevationAngle, 0.5);

  w = &Run("A<t> = <t, 2t, 0>\nPlot[A, {t,0,1,10}]\n");
  w->Navigation().cmd3D->click();
  for (const auto& [start, presses, scale] :
       {std::tuple{300.0, 3, 270.0}, {25.0, 1, 15.0}, {25.0, 60, 10.0}, {4.0, 2, 4.0}}) {
    SCOPED_TRACE(start);
    ms::View.PictureScale = start;
    for (int k = 0; k < presses; ++k) KeyClick(w, 'z');
    EXPECT_DOUBLE_EQ(ms::View.PictureScale, scale);
    ExpectXRightYUp();
  }

  ms::View.PictureScale = 300;
  w->updateplot();
  CountDraws();
  const QImage before = w->Display().Image();
  const int column = FirstInkColumn(before);
  ASSERT_GE(column, 0);
  w->Navigation().HPosition->setValue(w->Navigation().HPosition->value() +
                                      1500);  // 1500 twips: 100 pixels
  EXPECT_EQ(g_draws, 1);
  EXPECT_EQ(FirstInkColumn(w->Display().Image()), column + 100);
  w->Navigation().VPosition->setValue(w->Navigation().VPosition->value() + 1500);
  EXPECT_EQ(g_draws, 2);
  EXPECT_NE(w->Display().Image(), before);
}

// Presses of the 2D/3D button (P) and arrow keys (L R U D, two degrees each) in one run, from the
// start-up view (rotation 45, elevation 60 degrees). A press in the 3D state keeps the angles and
// turns to the plan view (-90, 0); turning there steps the angle and keeps the step for the next
// press, which returns to the kept angles with the turn applied; saved angles that are the plan
// view themselves return to the start-up view. The picture and the segments are those of a fresh
// build drawn at the same angles.
TEST_F(ViewNavigationTest, PressTurnPressReturnsToTheTurnedAngles) {
  constexpr char kSheet[] = "A<t> = <t, 2t, t*t>\nPlot[A, {t,0,1,10}]\n";
  struct Case {
    const char* steps;
    double rotation, elevation;  // degrees
    bool planState;              // the button in its 2D state, captioned "3D"
  };
  const Case cases[] = {
      {"P", -90, 0, true},      {"PP", 45, 60, false},     {"PLP", -88, 60, false},
      {"PRRP", -94, 60, false}, {"PUP", 45, -2, false},    {"PDDDP", 45, 6, false},
      {"PLUP", -88, -2, false}, {"PL", -88, 0, true},      {"PU", -90, -2, true},
      {"PLPP", -90, 0, true},   {"PLPPP", -88, 60, false}, {"LPP", 47, 60, false},
      {"LPLP", -88, 60, false}, {"PLRUDP", 45, 60, false},  // turned back to the plan view: the
                                                            // saved angles are it too
  };
  constexpr double kDegree = 3.1415926536 / 180;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    GraphWindow& w = Run(kSheet);
    for (const char* s = c.steps; *s != '\0'; ++s) {
      switch (*s) {
        case 'P':
          w.Navigation().cmd3D->click();
          break;
        case 'L':
          KeyClick(&w, Qt::Key_Left);
          break;
        case 'R':
          KeyClick(&w, Qt::Key_Right);
          break;
        case 'U':
          KeyClick(&w, Qt::Key_Up);
          break;
        default:
          KeyClick(&w, Qt::Key_Down);
          break;
      }
    }
    EXPECT_NEAR(ms::View.RotationAngle, c.rotation * kDegree, 1e-9);
    EXPECT_NEAR(ms::View.ElevationAngle, c.elevation * kDegree, 1e-9);
    EXPECT_EQ(w.Navigation().Label12->text().toInt(), c.rotation);
    EXPECT_EQ(w.Navigation().Label10->text().toInt(), c.elevation);
    EXPECT_EQ(w.Navigation().cmd3D->text(),
              c.planState ? QStringLiteral("3D") : QStringLiteral("2D"));
    EXPECT_EQ(w.Navigation().Cmd3DColor(), c.planState ? 0xFFC0C0 : 0xFFC0FF);
    const QImage turned = w.Display().Image();
    const double segments = ms::Scene.SegmentCountD;
    std::vector<ms::Point3> ends;
    ForCurveEnds(0, [&ends](const ms::Point3& p, int32_t) { ends.push_back(p); });

    GraphWindow& fresh = Run(kSheet);
    ms::View.RotationAngle = c.rotation * kDegree;
    ms::View.ElevationAngle = c.elevation * kDegree;
    fresh.updateplot();
    EXPECT_EQ(fresh.Display().Image(), turned);
    EXPECT_EQ(ms::Scene.SegmentCountD, segments);
    std::vector<ms::Point3> freshEnds;
    ForCurveEnds(0, [&freshEnds](const ms::Point3& p, int32_t) { freshEnds.push_back(p); });
    EXPECT_EQ(freshEnds, ends);
  }
}

}  // namespace
}  // namespace gr::testing
