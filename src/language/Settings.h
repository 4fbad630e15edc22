// The shared settings: display precision, slope-field options, discontinuity options and the
// preset colours, with the defaults the worksheet window gives them at start-up. The option menus
// change one setting each; the builders and the graph window read them when they next run.
// The view angles, picture scale, grid units and field factors belong to the view state
// (plotting/SceneStore.h), the run flags to the command requests.
#pragma once

#include <array>
#include <cstdint>

namespace ms {

// Number of preset plot colours (#1 to #6; entry 0 of the colour arrays is unused).
constexpr int kPlotColorCount = 6;

// The preset plot colours #1 to #6 at start-up (index 0 unused).
inline constexpr std::array<int32_t, kPlotColorCount + 1> kDefaultPlotColors = {
    0, 0xFF, 0xFF0000, 0xFFFF00, 0xFF00FF, 0x8080, 0x808040};

// A default-constructed state is the start-up state.
struct SettingsState {
  int16_t DisplayDigits = 4;    // significant digits of listed results, 4 to 8
  double SlopeFieldStep = 0.2;  // RK-4 increment of slope-field tracing
  int16_t BothDirections = 0;   // slope fields traced both ways (-1) or forward only (0)
  int16_t DiscontinuityOn = 0;  // curve jumps drawn as breaks (-1) or as continuous (0)
  int16_t NoLimitMarkers = 0;   // with DiscontinuityOn: no markers at the limits (-1)

  // Colours are packed RGB: red + 256 * green + 65536 * blue.
  int32_t XYPlaneColor = 0x808080;
  int32_t AxesColor = 0;
  int32_t AxesR = 0, AxesG = 0, AxesB = 0;  // AxesColor split into bytes
  // PlotColor is set to 0 by every Execute; PlotColorUsed keeps the colour the curves get.
  std::array<int32_t, kPlotColorCount + 1> PlotColor = kDefaultPlotColors;
  std::array<int32_t, kPlotColorCount + 1> PlotColorUsed = kDefaultPlotColors;
  int32_t IVPColor = 0x808080, IVPColorUsed = 0x808080;
  int32_t IntegColor = 0, IntegColorUsed = 0;
  int16_t ColorChanged = -1;  // a preset plot colour was chosen
  int16_t BVPScanColor = -1;  // BVP trial curves each in their own colour
};

extern SettingsState Settings;

// Restores every setting to its start-up default.
void ResetSettings();

}  // namespace ms
