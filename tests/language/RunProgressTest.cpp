#include <gtest/gtest.h>

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

// The first poll of a run lets events run at once; the polls after it do not (the clock is read
// again only after a count, and then a fifth of a second must have passed), yet each one reports
// an Esc pressed since, without waiting for the next turn of events.
TEST_F(RunProgressTest, PollAbortRunsEventsFirstAndSeesEscAtOnce) {
  RunFlags.AbortRun = 0;
  RestartAbortPoll();
  EXPECT_FALSE(PollAbort());
  EXPECT_EQ(screen_.doEventsCount, 1);
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(PollAbort());
  EXPECT_EQ(screen_.doEventsCount, 1);
  RunFlags.AbortRun = -1;
  EXPECT_TRUE(PollAbort());
  RunFlags.AbortRun = 0;
  RestartAbortPoll();
  screen_.onDoEvents = [] { RunFlags.AbortRun = -1; };
  EXPECT_TRUE(PollAbort());
  EXPECT_EQ(screen_.doEventsCount, 2);
  RunFlags.AbortRun = 0;
}

}  // namespace
}  // namespace ms
