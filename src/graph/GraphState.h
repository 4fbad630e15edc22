// The graph window's own state: the build flags of the picture build, the scene counts it saves
// between builds, the pen, the overlay switches that the drawing reads and the printer draw width
// that the segment painter leaves for printing. Process-wide, as every state group of the program;
// ResetGraphState restores the start-up state.
#pragma once

#include <array>
#include <cstdint>

namespace gr {

struct GraphStateData {
  // A picture build is under way (-1); the key handler holds back rebuilding keys meanwhile.
  int16_t Generating = 0;
  // Curve #1 did not fit into the scene store; polled by the family-of-curves loop.
  int16_t PlotLimitReached = 0;
  // Counts at the end of the last build; an overlay build appends after them.
  int16_t SavedVertexCount = 0;
  int16_t SavedSegmentCount = 0;
  int16_t OverlayMode = 0;
  int16_t FamilyMode = 0;
  // Axes, grid crosses and the box are added to the scene.
  int16_t ShowAxes = -1;
  // "Fine" pen (-1) or "Medium" pen (0).
  int16_t FinePen = 0;
  // Which text overlays the drawing lays over the picture.
  int16_t ShowDataText = 0;
  int16_t ShowTimeText = 0;
  int16_t ShowWkText = 0;
  int16_t ShowValText = 0;
  int16_t ShowTitle = 0;
  int16_t ShowLegend = 0;
  // Draw width (printer pixels) the printer pen takes: 2 fine or 6 medium while a segment is
  // drawn, 4 between segments.
  int PrinterDrawWidth = 4;
  // The axis colour chosen in the graph window (red, green, blue).
  std::array<int32_t, 3> AxesRGBChosen{200, 200, 200};
  // Background colours of the 2D/3D button in its two states (packed RGB).
  int32_t Button2DColor = 0xFFC0C0;
  int32_t Button3DColor = 0xFFC0FF;
  // The working time grid unit (the x, y and z ones are in the scene store).
  double GridUnitT = 1.0;
};

extern GraphStateData Graph;

void ResetGraphState();

}  // namespace gr
