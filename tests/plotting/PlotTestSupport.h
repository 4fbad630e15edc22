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

// Where the ticks of one axis go along it: across a line through the origin at the whole units
// strictly between lo and hi but 0; across a line from the box's corner at lo + 1, lo + 2, ...
// below hi + 0.001.
inline std::vector<double> TickPositions(double lo, double hi, bool corner) {
  std::vector<double> at;
  if (corner) {
    for (double k = lo + 1; k < hi + 0.001; k += 1) at.push_back(k);
  } else {
    for (double k = std::ceil(lo); k <= std::floor(hi); k += 1)
      if (k != 0 && k > lo && k < hi) at.push_back(k);
  }
  return at;
}

// The ticks (those of x, then y, then z, each axis's in any order) cross the drawn axis lines
// lines[0..2] (nullptr: that axis has no line and no ticks) at the positions given (ascending):
// each is 0.25 long across its line, with its midpoint on the line at its position along the axis.
inline void ExpectTicksOnAxisLines(const std::vector<Seg>& ticks, const Seg* const (&lines)[3],
                                   const std::vector<double> (&positions)[3]) {
  size_t t = 0;
  for (int a = 0; a < 3; ++a) {
    const size_t n = positions[a].size();
    ASSERT_LE(t + n, ticks.size());
    std::vector<Seg> group(ticks.begin() + static_cast<long>(t),
                           ticks.begin() + static_cast<long>(t + n));
    t += n;
    const auto mid = [](const Seg& s) {
      return Point3{(s.from[0] + s.to[0]) / 2, (s.from[1] + s.to[1]) / 2,
                    (s.from[2] + s.to[2]) / 2};
    };
    std::sort(group.begin(), group.end(),
              [&](const Seg& p, const Seg& q) { return mid(p)[a] < mid(q)[a]; });
    for (size_t i = 0; i < n; ++i) {
      const double k = positions[a][i];
      SCOPED_TRACE(::testing::Message() << "axis " << a << " tick at " << k);
      ASSERT_TRUE(lines[a] != nullptr);
      const Seg& tick = group[i];
      const Seg& line = *lines[a];
      const Point3 m = mid(tick);
      EXPECT_NEAR(tick.Length(), 0.25, 1e-12);
      EXPECT_EQ(tick.from[a], tick.to[a]) << "across the line";
      EXPECT_NEAR(m[a], k, 1e-9);
      for (int b = 0; b < 3; ++b) {
        if (b != a) {
          EXPECT_NEAR(m[b], line.from[b], 1e-12) << "on the line, coordinate " << b;
        }
      }
      EXPECT_GE(m[a], std::min(line.from[a], line.to[a]) - 0.001);
      EXPECT_LE(m[a], std::max(line.from[a], line.to[a]) + 0.001);
    }
  }
  EXPECT_EQ(t, ticks.size());
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
