#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ms
