// The text overlays the drawing lays over the picture, each when its switch in GraphState is on,
// in this order: data text, time text, value text, value legend, worksheet text, title, legend.
// The display-options window provides them; an overlay that is not provided draws nothing.
#pragma once

#include "platform/draw/DrawTarget.h"

namespace gr {

using OverlayPainter = void (*)(draw::DrawTarget& target);

struct OverlayTable {
  OverlayPainter placeText = nullptr;
  OverlayPainter placeTimeText = nullptr;
  OverlayPainter placeValText = nullptr;
  OverlayPainter PlaceLegendText = nullptr;
  OverlayPainter placeWkText = nullptr;
  OverlayPainter placeTitleText = nullptr;
  OverlayPainter PlaceLegend = nullptr;
};

OverlayTable& Overlays();

}  // namespace gr
