#include <gtest/gtest.h>

#include <functional>

#include "LanguageFixture.h"

namespace ms {
namespace {

using WorksheetTablesTest = LanguageTest;

// Every table with a fixed capacity: filling it to the capacity works, the next appends refuse
// with the table's message and leave the count as it was.
TEST_F(WorksheetTablesTest, AppendHelpersRefuseWhenFull) {
  int16_t calls = 0;
  const struct {
    const char* name;
    long capacity;
    int16_t fullMsg;
    std::function<long(int16_t&)> append;  // the new index, 0 when refused
    std::function<long()> count;
  } tables[] = {{"statements", kMaxStatements, kMsgStatementsFull,
                 [](int16_t& m) { return AppendStatement(7, u"s", m); },
                 [] { return Tables.StatementCount; }},
                {"constants", kMaxConstants, kMsgConstantsFull,
                 [](int16_t& m) { return AppendConstant(m); }, [] { return Tables.ConstCount; }},
                {"functions", kMaxFunctions, kMsgFunctionsFull,
                 [](int16_t& m) { return AppendFunction(m); }, [] { return Tables.FuncCount; }},
                {"vectors", kMaxVectors, kMsgVectorsFull,
                 [](int16_t& m) { return AppendVector(m); }, [] { return Tables.VecCount; }},
                {"values", kMaxValueIndex, kMsgValuesFull,
                 [](int16_t& m) { return static_cast<long>(AppendValue(u"v", 1.5, m)); },
                 [] { return static_cast<long>(Tables.ValueTop); }},
                {"calls", kMaxCalls, kMsgCallsFull,
                 [&calls](int16_t& m) { return long{AppendCall(calls, u"F_", 3, 1, m)}; },
                 [&calls] { return long{calls}; }}};
  for (const auto& t : tables) {
    SCOPED_TRACE(t.name);
    int16_t msg = -5;
    for (long k = 1; k <= t.capacity; ++k) {
      ASSERT_EQ(t.append(msg), k);
      ASSERT_EQ(msg, 0);
    }
    for (int again = 0; again < 2; ++again) {
      msg = 0;
      EXPECT_EQ(t.append(msg), 0);
      EXPECT_EQ(msg, t.fullMsg);
      EXPECT_EQ(t.count(), t.capacity);
    }
  }
  // A corrupted count is refused as well, never used as an index.
  int16_t msg = -5;
  Tables.FuncCount = -3;
  EXPECT_EQ(AppendFunction(msg), 0);
  EXPECT_EQ(msg, kMsgFunctionsFull);
  Tables.ValueTop = kMaxValueIndex + 5;
  EXPECT_EQ(AppendValue(u"x", 0, msg), 0);
  EXPECT_EQ(msg, kMsgValuesFull);
}

}  // namespace
}  // namespace ms
