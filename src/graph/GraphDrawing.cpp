// Drawing the scene: the world points are copied into the view table, turned and projected, the
// picture is cleared and every segment is painted in its colour, with the gaps and limit markers
// of curve jumps and the dot-spacing symbols; then the text overlays.
#include "graph/GraphDrawing.h"

#include <QAction>
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "graph/DisplaySettingsDialog.h"
#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace gr {

namespace {

// Marker and symbol sizes in picture units (twips).
constexpr double kOffPictureLimit = 10000;
constexpr double kOpenLimitRadius = 40;
constexpr double kFilledDotRadius = 23;
constexpr double kCircleSymbolRadius = 30;
constexpr double kStrokeHalf = 50;

constexpr int32_t kLimitRed = 0x0000FF;  // (255, 0, 0)
constexpr int32_t kBlack = 0;
constexpr int32_t kSymbolGrey = 100 + 256 * 100 + 65536 * 100;
constexpr int32_t kPlusGrey = 128 + 256 * 128 + 65536 * 128;

// Printer draw widths of the two pens while a segment is drawn, and between segments.
constexpr int kPrinterFineWidth = 2;
constexpr int kPrinterMediumWidth = 6;
constexpr int kPrinterRestWidth = 4;

OverlayTable g_overlays;

int ColorByte(double v) {
  return static_cast<int>(std::clamp(rt::RoundHalfEven(v), 0.0, 255.0));
}

// Rows 0..last of a table whose count is kept as a double; -1 when empty.
int LastRow(double count) {
  if (!(count >= 0)) return -1;
  return static_cast<int>(std::min<double>(count, ms::kSceneLastRow));
}

// The part of the segment (x1, y1)-(x2, y2) inside the rectangle [xLo, xHi] x [yLo, yHi]
// (Liang-Barsky clipping); false when none of it is inside or an end is not a number.
bool ClipToRect(double& x1, double& y1, double& x2, double& y2, double xLo, double xHi, double yLo,
                double yHi) {
  const double dx = x2 - x1, dy = y2 - y1;
  double t0 = 0, t1 = 1;
  // Each edge as p * t <= q for the points x1 + t dx, y1 + t dy inside it.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - xLo, xHi - x1, y1 - yLo, yHi - y1};
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(p[k]) || !std::isfinite(q[k])) return false;
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const double ax = x1, ay = y1;
  x1 = ax + t0 * dx;
  y1 = ay + t0 * dy;
  x2 = ax + t1 * dx;
  y2 = ay + t1 * dy;
  return true;
}

// A segment with an end far off the picture (an axis through a far point, a steep curve) is drawn
// as its part on the picture and a margin of one picture around it, so that the painter never
// meets coordinates it cannot hold; false when none of it is there.
bool ClipToPicture(const draw::DrawTarget& target, double& x1, double& y1, double& x2, double& y2) {
  const double w = std::fabs(target.ScaleWidth()), h = std::fabs(target.ScaleHeight());
  const double left = std::min(target.ScaleLeft(), target.ScaleLeft() + target.ScaleWidth());
  const double top = std::min(target.ScaleTop(), target.ScaleTop() + target.ScaleHeight());
  return ClipToRect(x1, y1, x2, y2, left - w, left + 2 * w, top - h, top + 2 * h);
}

}  // namespace

OverlayTable& Overlays() {
  return g_overlays;
}

// The overlays that are switched on, in the order given, from what they draw as it stands now.
void PaintOverlays(draw::DrawTarget& target,
                   const std::array<std::pair<int16_t, OverlayPainter>, 7>& overlays) {
  const bool any = std::any_of(overlays.begin(), overlays.end(),
                               [](const auto& o) { return o.first != 0 && o.second != nullptr; });
  if (!any) return;
  const OverlayContent content = OverlayContentNow();
  for (const auto& [shown, paint] : overlays) {
    if (shown != 0 && paint != nullptr) paint(target, content);
  }
}

void GraphDrawing::Convert() {
  const int last = LastRow(ms::Scene.VertexCountD);
  for (int r = 0; r <= last; ++r) ms::Scene.ViewXYZ[r] = ms::Scene.VertexXYZ[r];
}

void GraphDrawing::updateplot() {
  Convert();
  ms::View.DisplayScaleHeight = w_.Display().ScaleHeight();
  ms::RotateView();
  w_.Navigation().ShowViewState();
  ms::ProjectView();
  w_.Display().Cls();
  ImageView(w_.Display());
  w_.SetBusyPointer(false);

  const std::array<std::pair<int16_t, OverlayPainter>, 7> overlays = {{
      {Graph.ShowDataText, g_overlays.placeText},
      {Graph.ShowTimeText, g_overlays.placeTimeText},
      {Graph.ShowValText, g_overlays.placeValText},
      {ms::Tables.ShowValLegend, g_overlays.PlaceLegendText},
      {Graph.ShowWkText, g_overlays.placeWkText},
      {Graph.ShowTitle, g_overlays.placeTitleText},
      {Graph.ShowLegend, g_overlays.PlaceLegend},
  }};
  PaintOverlays(w_.Display(), overlays);

  Graph.Generating = 0;
  w_.ShowReturn(true);
  w_.DisplayBox->update();
  w_.update();
}

void GraphDrawing::ImageView(draw::DrawTarget& target) {
  target.CurrentX = 0;
  target.CurrentY = 0;
  const bool jumpsAsGaps = ms::Settings.DiscontinuityOn != 0;
  const bool markers = ms::Settings.NoLimitMarkers == 0;
  const bool dots = ms::CurveWork.DotSpacingOn != 0;
  const bool plusSymbol = w_.Menus().PlusSymbol();
  const bool circleSymbol = w_.Menus().CircleSymbol();
  const double depthLimit = ms::View.DepthLimit;
  const auto& view = ms::Scene.ViewXYZ;

  target.BeginBatch();
  const int last = LastRow(ms::Scene.SegmentCountD - 1);
  for (int i = 0; i <= last; ++i) {
    const ms::SegmentRow& row = ms::Scene.SegmentTable[i];
    const double sRow = row[ms::kStartPoint], eRow = row[ms::kEndPoint];
    Graph.PrinterDrawWidth = Graph.FinePen != 0 ? kPrinterFineWidth : kPrinterMediumWidth;
    if (&target == printTarget_) target.DrawWidth = Graph.PrinterDrawWidth;  // the printer's pen
    // A row naming a point outside the store is not drawn.
    if (!(sRow >= 0 && sRow <= ms::kSceneLastRow && eRow >= 0 && eRow <= ms::kSceneLastRow)) {
      continue;
    }
    const ms::Point3& p1 = view[static_cast<int>(sRow)];
    const ms::Point3& p2 = view[static_cast<int>(eRow)];
    double x1 = p1[0], y1 = p1[1];
    double x2 = p2[0], y2 = p2[1];
    const double z1 = p1[2], z2 = p2[2];
    if (z1 >= depthLimit && z2 >= depthLimit) continue;
    const int32_t color = draw::PackRgb(ColorByte(row[ms::kRed]), ColorByte(row[ms::kGreen]),
                                        ColorByte(row[ms::kBlue]));
    const double kind = row[ms::kSegKind];
    // An end far off the picture: the line is drawn clipped, its markers and symbols (placed at
    // its ends) are not (a coordinate that is not a number draws nothing).
    if (!(std::fabs(x1) < kOffPictureLimit) || !(std::fabs(y1) < kOffPictureLimit) ||
        !(std::fabs(x2) < kOffPictureLimit) || !(std::fabs(y2) < kOffPictureLimit)) {
      const bool gap = jumpsAsGaps && (kind == ms::kSegJumpUp || kind == ms::kSegJumpDown);
      if (!gap && ClipToPicture(target, x1, y1, x2, y2)) target.Line(x1, y1, x2, y2, color);
      target.DrawWidth = 1;
      Graph.PrinterDrawWidth = kPrinterRestWidth;
      continue;
    }

    if (jumpsAsGaps && (kind == ms::kSegJumpUp || kind == ms::kSegJumpDown)) {
      if (markers) {
        const double markKind = row[ms::kLimitMarkKind];
        if (markKind == 3.0) {
          target.FillStyle = draw::kFillTransparent;
          target.Circle(x1, y1, kOpenLimitRadius, kLimitRed);
          target.FillStyle = draw::kFillSolid;
          target.Circle(x2, y2, kFilledDotRadius, kBlack);
        } else if (markKind == 2.0) {
          target.FillStyle = draw::kFillSolid;
          target.Circle(x1, y1, kFilledDotRadius, kBlack);
          target.FillStyle = draw::kFillTransparent;
          target.Circle(x2, y2, kOpenLimitRadius, kLimitRed);
        }
        target.FillStyle = draw::kFillTransparent;
      }
    } else {
      target.Line(x1, y1, x2, y2, color);
    }

    if (dots && row[ms::kDotMark] == 1.0) {
      if (plusSymbol) {
        target.Line(x1 - kStrokeHalf, y1, x1 + kStrokeHalf, y1, kPlusGrey);
        target.Line(x1, y1 - kStrokeHalf, x1, y1 + kStrokeHalf, kPlusGrey);
      } else if (circleSymbol) {
        target.FillStyle = draw::kFillTransparent;
        target.Circle(x1, y1, kCircleSymbolRadius, kSymbolGrey);
      } else {
        target.Line(x1 - kStrokeHalf, y1 + kStrokeHalf, x1 + kStrokeHalf, y1 - kStrokeHalf,
                    kSymbolGrey);
        target.Line(x1 + kStrokeHalf, y1 + kStrokeHalf, x1 - kStrokeHalf, y1 - kStrokeHalf,
                    kSymbolGrey);
      }
    }
    target.DrawWidth = 1;
    Graph.PrinterDrawWidth = kPrinterRestWidth;
  }
  target.EndBatch();
  target.DrawWidth = 1;
  Graph.PrinterDrawWidth = kPrinterRestWidth;
}

}  // namespace gr
