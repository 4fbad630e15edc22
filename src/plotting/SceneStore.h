// The three-dimensional scene: a fixed table of points, a fixed table of line segments joining
// pairs of them, their counts, the view box the points occupy and the grid units by which world
// coordinates are scaled. Every builder only appends; the graph window copies the points into the
// view table, rotates and projects them (SceneView) and draws the segments.
//
// Also here: the view state (angles, eye distance, picture scale and offsets, the view code) and
// the curve work tables shared by the curve builders of plotting and numerics.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace ms {

// Rows 0..kSceneLastRow of every scene table.
constexpr int kSceneLastRow = 31500;
constexpr int kSceneRows = kSceneLastRow + 1;

// Point limits of the builders (see the appends in SceneView, Axes, BoundingBox, SolutionStore).
constexpr int kCurveVertexLimit = 30000;  // curves stop adding segments here
constexpr int kGridVertexLimit = 25000;   // grid dashes, ticks and letters stop beyond this

// Columns of SegmentTable.
enum SegmentColumn : int {
  kStartPoint = 0,
  kEndPoint = 1,
  kRed = 2,
  kGreen = 3,
  kBlue = 4,
  kSegKind = 5,
  kDotMark = 6,
  kLimitMarkKind = 7,
  kSegmentColumns = 8
};

// Values of the SegKind column.
constexpr double kSegStructure = -10.0;  // axes, ticks, letters, grid dashes
constexpr double kSegJumpUp = 1.0;
constexpr double kSegJumpDown = -1.0;
constexpr double kSegOrdinary = 0.0;

using Point3 = std::array<double, 3>;
using SegmentRow = std::array<double, kSegmentColumns>;

struct SceneStoreData {
  // x, y, z of each point in grid units.
  std::array<Point3, kSceneRows> VertexXYZ{};
  // The copy that RotateView / ProjectView turn into picture coordinates.
  std::array<Point3, kSceneRows> ViewXYZ{};
  std::array<SegmentRow, kSceneRows> SegmentTable{};

  // Rows in use, so also the next free row.
  int16_t VertexCount = 0;
  int16_t SegmentCount = 0;
  // The counts as the last builder left them for the drawing.
  double VertexCountD = 0;
  double SegmentCountD = 0;

  // View box in grid units; +10,000 / -10,000 is the empty box.
  double ViewXMin = 0, ViewXMax = 0;
  double ViewYMin = 0, ViewYMax = 0;
  double ViewZMin = 0, ViewZMax = 0;

  // Working grid units (world units per grid unit) by which builders divide world coordinates.
  double GridUnitX = 1.0, GridUnitY = 1.0, GridUnitZ = 1.0;

  // -1 when the point last tested by IsOutsideViewBox lay outside the view box, else 0.
  int16_t OutsideViewBox = 0;
};

// The view state of the graph window: angles in radians, the perspective and the view code.
struct ViewStateData {
  double RotationAngle = 0;   // about the vertical axis
  double ElevationAngle = 0;  // of the eye
  double SavedRotation = 0;
  double SavedElevation = 0;
  double AngleStep = 0;  // radians per arrow-key press
  double EyeDistance = 10.0;
  double PictureScale = 300.0;
  double PictureScaleWork = 300.0;
  double DepthLimit = 999.0;
  double ImageOffsetX = 0;
  double ImageOffsetY = 0;
  // Height of the drawing area in its own units; the projection flips y against it. The graph
  // window keeps it current.
  double DisplayScaleHeight = 0;

  // Grid units as the user typed them (world units per grid unit).
  double UserGridUnitT = 1.0, UserGridUnitX = 1.0, UserGridUnitY = 1.0, UserGridUnitZ = 1.0;

  // View code 1..22 of the ODE view buttons.
  int16_t PlotKind = 1;
  int16_t ODEViewRequest = 1;
  // Something three-dimensional was built: the axes include z.
  int16_t ZAxisNeeded = 0;
  int16_t ShowBox = -1;

  // Arrow heads: barb length scale, barb angle multiplier and the running angle factor.
  double ArrowHeadScale = 1.0;
  double ArrowAngleScale = 1.0;
  double ArrowAngleFactor = 1.0;
  double FieldVectorScale = 0.5;
  // View of the lifted and space fields: the start-up view until the arrow keys turn one.
  double FieldRotation = 0;
  double FieldElevation = 0;

  // The angles the last RotateView turned the points by (none before the first): the view the
  // picture shows, which the window displays in whole degrees (WholeDegrees).
  std::optional<double> DrawnElevation;
  std::optional<double> DrawnRotation;
};

// The point tables of the curve being built and the curve colour state, shared by the Plot curve
// builder and the solution-curve builders.
struct CurveWorkData {
  std::array<double, kSceneRows> CurveX{};
  std::array<double, kSceneRows> CurveY{};
  std::array<double, kSceneRows> CurveZ{};
  // Colour last given to a curve segment (0..255 each); arrow heads take it.
  int32_t CurveRed = 0, CurveGreen = 0, CurveBlue = 0;

  // 1-based position in ArrowFlags of the curve being built.
  int16_t ArrowFlagPos = 0;
  // Dot-spacing marks: on/off and every n-th step.
  int16_t DotSpacingOn = 0;
  int16_t DotSpacing = 0;

  // Family of curves: member 1..10 while a family is drawn (0 otherwise), colour per member
  // (index member - 1) and whether members are colour-coded.
  int16_t FamilyMember = 0;
  std::array<int32_t, 10> FamilyRed{};
  std::array<int32_t, 10> FamilyGreen{};
  std::array<int32_t, 10> FamilyBlue{};
  int16_t FamilyColorCode = -1;
};

extern SceneStoreData Scene;
extern ViewStateData View;
extern CurveWorkData CurveWork;

// Start-up state of each group: empty store, default view (rotation 45 and elevation 60 degrees,
// picture scale 300, eye distance 10), empty curve tables.
void ResetScene();
void ResetViewState();
void ResetCurveWork();

// Clears SegKind, DotMark and LimitMarkKind of every segment row, row 0 included.
void ClearSegmentMarks();

// Sets both counts to 0 and the view box empty (+10,000 minima, -10,000 maxima), as a build does
// before it runs its builders.
void StartSceneBuild();

// Stores the counts as doubles for the drawing.
void StoreSceneCounts();

// The first rows of the scene and its view box, held across something that starts the scene
// afresh (the Execute of a family member, whose integrals draw their curves as they are computed)
// so that the rows an overlay keeps are put back before the next member is drawn after them.
struct KeptSceneRows {
  std::vector<Point3> vertices;
  std::vector<SegmentRow> segments;
  std::array<double, 6> box{};
};
[[nodiscard]] KeptSceneRows KeepSceneRows(int vertexCount, int segmentCount);
void PutBackSceneRows(const KeptSceneRows& kept);

// Copies the points in use (rows 0 .. VertexCountD - 1, within the store) into ViewXYZ for the
// rotation and projection.
void CopyVerticesToView();

// Widens the view box to take in the point (x, y, z).
void WidenViewBox(double x, double y, double z);

// True when `rows` more points fit into the store after VertexCount (and as many segments).
bool SceneHasRoom(int rows);

// Appends the segment p -> q as two new points and one segment row with the given colour and
// advances the counts. The row starts as an ordinary segment without marks. Returns false, writing
// nothing, when the store has no room.
bool AppendSegment(const Point3& p, const Point3& q, double red, double green, double blue);
// The same with the segment kind written too.
bool AppendSegment(const Point3& p, const Point3& q, double red, double green, double blue,
                   double segKind);

}  // namespace ms
