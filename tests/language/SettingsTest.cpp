#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <type_traits>

#include "language/Settings.h"

namespace {

using ms::Settings;
using ms::SettingsState;

struct Default {
  const char* name;
  std::function<double(const SettingsState&)> get;
  double expected;
};

// Every setting with its start-up value.
std::vector<Default> Defaults() {
  std::vector<Default> d = {
      {"DisplayDigits", [](const SettingsState& s) { return s.DisplayDigits; }, 4},
      {"SlopeFieldStep", [](const SettingsState& s) { return s.SlopeFieldStep; }, 0.2},
      {"BothDirections", [](const SettingsState& s) { return s.BothDirections; }, 0},
      {"DiscontinuityOn", [](const SettingsState& s) { return s.DiscontinuityOn; }, 0},
      {"NoLimitMarkers", [](const SettingsState& s) { return s.NoLimitMarkers; }, 0},
      {"XYPlaneColor", [](const SettingsState& s) { return s.XYPlaneColor; }, 0x808080},
      {"AxesColor", [](const SettingsState& s) { return s.AxesColor; }, 0},
      {"AxesR", [](const SettingsState& s) { return s.AxesR; }, 0},
      {"AxesG", [](const SettingsState& s) { return s.AxesG; }, 0},
      {"AxesB", [](const SettingsState& s) { return s.AxesB; }, 0},
      {"IVPColor", [](const SettingsState& s) { return s.IVPColor; }, 0x808080},
      {"IVPColorUsed", [](const SettingsState& s) { return s.IVPColorUsed; }, 0x808080},
      {"IntegColor", [](const SettingsState& s) { return s.IntegColor; }, 0},
      {"IntegColorUsed", [](const SettingsState& s) { return s.IntegColorUsed; }, 0},
      {"ColorChanged", [](const SettingsState& s) { return s.ColorChanged; }, -1},
      {"BVPScanColor", [](const SettingsState& s) { return s.BVPScanColor; }, -1},
  };
  // Plot colours #1 to #6: red, blue, cyan, magenta, olive, teal-grey (packed as
  // red + 256 * green + 65536 * blue).
  const double plot[7] = {0, 0xFF, 0xFF0000, 0xFFFF00, 0xFF00FF, 0x8080, 0x808040};
  static const char* const colourNames[7] = {"", "#1", "#2", "#3", "#4", "#5", "#6"};
  static const char* const usedNames[7] = {"",        "Used #1", "Used #2", "Used #3",
                                           "Used #4", "Used #5", "Used #6"};
  for (int k = 1; k <= ms::kPlotColorCount; ++k) {
    d.push_back({colourNames[k], [k](const SettingsState& s) { return s.PlotColor[k]; }, plot[k]});
    d.push_back(
        {usedNames[k], [k](const SettingsState& s) { return s.PlotColorUsed[k]; }, plot[k]});
  }
  return d;
}

void ExpectDefaults(const SettingsState& s) {
  for (const auto& d : Defaults()) {
    SCOPED_TRACE(d.name);
    EXPECT_EQ(d.get(s), d.expected);
  }
}

TEST(Settings, StartUpValues) {
  ExpectDefaults(SettingsState{});
}

TEST(Settings, ResetRestoresEveryField) {
  static_assert(std::is_trivially_copyable_v<SettingsState>);
  // Scribble over every byte, as a run of option menus and graph-window changes might, then reset.
  std::memset(static_cast<void*>(&Settings), 0x5A, sizeof(Settings));
  ms::ResetSettings();
  ExpectDefaults(Settings);
}

}  // namespace
