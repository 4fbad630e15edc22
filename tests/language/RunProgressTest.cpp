#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "language/CommandRequests.h"
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

// Events run at the first poll after a restart and then once per kStepsPerEvents steps counted,
// whatever the steps per call; the poll answers the abort flag as it stands after the events.
TEST_F(RunProgressTest, PollAbortLetsEventsRunByStepCount) {
  const struct {
    const char* name;
    int steps;  // per call
    int calls;
    long events;
  } cases[] = {{"single steps", 1, 2 * kStepsPerEvents + 1, 3},
               {"one short of the third run", 1, 2 * kStepsPerEvents, 2},
               {"dear steps", kStepsPerEvents, 5, 5},
               {"three at a time", 3, 13, 3},  // calls 1, 7 and 13: 18 steps since the last
               {"overdue by a long step", 40, 3, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    screen_.doEventsCount = 0;
    RestartAbortPoll();
    for (int i = 0; i < c.calls; ++i) EXPECT_FALSE(PollAbort(c.steps));
    EXPECT_EQ(screen_.doEventsCount, c.events);
  }
  // Esc taken by the events of a poll stops the loop at that poll.
  RestartAbortPoll();
  screen_.doEventsCount = 0;
  screen_.onDoEvents = [this] {
    if (screen_.doEventsCount == 2) RunFlags.AbortRun = -1;
  };
  int polls = 0;
  while (!PollAbort() && polls < 1000) ++polls;
  screen_.onDoEvents = nullptr;
  RunFlags.AbortRun = 0;
  EXPECT_EQ(polls, kStepsPerEvents);
  EXPECT_EQ(screen_.doEventsCount, 2);
}

}  // namespace
}  // namespace ms
