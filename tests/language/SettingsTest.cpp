#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "language/Settings.h"

namespace ms {
namespace {

// Scribble over every byte, as a run of option menus and graph-window changes might, then reset:
// every setting is back at its start-up value.
TEST(SettingsTest, ResetRestoresEveryStartUpValue) {
  static_assert(std::is_trivially_copyable_v<SettingsState>);
  std::memset(static_cast<void*>(&Settings), 0x5A, sizeof(Settings));
  ResetSettings();
  const SettingsState& s = Settings;
  const int32_t got[] = {s.DisplayDigits,  s.BothDirections, s.DiscontinuityOn, s.NoLimitMarkers,
                         s.XYPlaneColor,   s.AxesColor,      s.AxesR,           s.AxesG,
                         s.AxesB,          s.IVPColor,       s.IVPColorUsed,    s.IntegColor,
                         s.IntegColorUsed, s.ColorChanged,   s.BVPScanColor};
  const int32_t want[] = {4, 0, 0, 0, 0x808080, 0, 0, 0, 0, 0x808080, 0x808080, 0, 0, -1, -1};
  EXPECT_EQ(s.SlopeFieldStep, 0.2);
  for (size_t k = 0; k < std::size(want); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(got[k], want[k]);
  }
  // Plot colours #1 to #6: red, blue, cyan, magenta, olive, teal-grey (red + 256 * green + 65536
  // * blue).
  const int32_t plot[] = {0, 0xFF, 0xFF0000, 0xFFFF00, 0xFF00FF, 0x8080, 0x808040};
  for (int k = 1; k <= kPlotColorCount; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(s.PlotColor[k], plot[k]);
    EXPECT_EQ(s.PlotColorUsed[k], plot[k]);
  }
}

}  // namespace
}  // namespace ms
