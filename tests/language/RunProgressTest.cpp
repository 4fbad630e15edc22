#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "language/RunProgress.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

class RunProgressTest : public LanguageTest {};

TEST_F(RunProgressTest, DrawProgress) {
  const struct {
    int16_t total, done, totalAfter;
    double fraction;
  } cases[] = {{0, 0, 1, 0.0}, {-3, 5, 1, 0.0}, {4, 1, 4, 0.25}, {4, 6, 4, 0.5}, {10, -3, 10, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.total) + "/" + std::to_string(c.done));
    screen_.progress.clear();
    int16_t total = c.total;
    DrawProgress(kGraphProgressBar, total, c.done);
    EXPECT_EQ(total, c.totalAfter);
    ASSERT_EQ(screen_.progress.size(), 1u);
    EXPECT_DOUBLE_EQ(screen_.progress[0].fraction, c.fraction);
  }
}

// A command's bar is drawn once per thousandth it moves, never backwards, from 0 to full at the
// last step: for `steps` steps the draws are floor(1000 k / steps) / 1000 for every distinct
// value, however many steps there are. Steps past the end, NaN and negatives draw nothing new.
TEST_F(RunProgressTest, CommandProgressDrawsEachThousandthOnceUpToFull) {
  for (const double steps : {1.0, 3.0, 7.0, 999.0, 1000.0, 2001.0, 250000.0, 0.0, -5.0}) {
    SCOPED_TRACE(steps);
    screen_.progress.clear();
    CommandProgress progress(steps);
    const double last = std::max(steps, 1.0);
    std::vector<double> expected{0.0};
    for (double k = 1; k <= last; ++k) {
      progress.Step(k);
      const double f = std::floor(1000 * k / last) / 1000;
      if (f != expected.back()) expected.push_back(f);
    }
    for (const double extra : {last + 1, std::nan(""), -1.0, last}) progress.Step(extra);
    ASSERT_EQ(screen_.progress.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(screen_.progress[i].bar, kWorksheetProgressBar);
      EXPECT_NEAR(screen_.progress[i].fraction, expected[i], 1e-12) << i;
    }
    EXPECT_EQ(screen_.progress.back().fraction, 1.0);
  }
}

}  // namespace
}  // namespace ms
