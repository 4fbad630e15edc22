// Plotting tests: the worksheet fixture with an empty scene build, and readers of the segments a
// builder appended.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/SolutionStore.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {

// The segments from firstSegment on as "x,y,z>x,y,z " (6 significant digits, -0 written as 0).
inline std::string Drawn(int firstSegment = 0, int to = -1) {
  std::string out;
  char buf[96];
  for (const Seg& s : Segments(firstSegment, to)) {
    std::snprintf(buf, sizeof buf, "%g,%g,%g>%g,%g,%g ", s.from[0] + 0.0, s.from[1] + 0.0,
                  s.from[2] + 0.0, s.to[0] + 0.0, s.to[1] + 0.0, s.to[2] + 0.0);
    out += buf;
  }
  return out;
}

// Relative closeness with an absolute floor for values near zero.
inline bool Near(double a, double b, double rel = 1e-9) {
  return std::fabs(a - b) <= rel * std::max({1.0, std::fabs(a), std::fabs(b)});
}

inline void ExpectPointNear(const Point3& actual, const Point3& expected, double tol = 1e-12) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(actual[c], expected[c], tol) << "coordinate " << c;
}

inline void SetViewBox(double x1, double x2, double y1, double y2, double z1 = 0, double z2 = 0) {
  Scene.ViewXMin = x1;
  Scene.ViewXMax = x2;
  Scene.ViewYMin = y1;
  Scene.ViewYMax = y2;
  Scene.ViewZMin = z1;
  Scene.ViewZMax = z2;
}

// A clean program state and an empty scene build, as the graph window starts one.
class PlotTest : public WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    View.ShowBox = 0;
    StartSceneBuild();
  }
  // Runs a plot command on a fresh build and returns its message.
  static int16_t Build(int16_t (*command)(const rt::Text&), const rt::Text& statement) {
    StartSceneBuild();
    return command(statement);
  }
};

}  // namespace ms::testing
