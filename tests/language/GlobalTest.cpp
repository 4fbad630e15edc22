#include <gtest/gtest.h>

#include <functional>

#include "language/ClearStorage.h"
#include "language/Global.h"

namespace ms {
namespace {

class GlobalTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorksheetTables(); }
};

// Every table with a fixed capacity: filling it to the capacity works, the next append refuses
// with the table's message and leaves count and entries as they were.
TEST_F(GlobalTest, AppendHelpersRefuseWhenFull) {
  struct Table {
    const char* name;
    long capacity;
    int16_t fullMsg;
    std::function<long(int16_t&)> append;  // returns the new index, 0 when refused
    std::function<long()> count;
    std::function<void(long)> mark;  // writes a recognisable field into entry k
    std::function<bool(long)> marked;
  };
  int16_t calls = 0;
  const Table tables[] = {
      {"statements", kMaxStatements, kMsgStatementsFull,
       [](int16_t& m) { return AppendStatement(7, u"s", m); },
       [] { return long{Tables.StatementCount}; },
       [](long k) { Tables.StatementList[k].Text = u"mark"; },
       [](long k) { return Tables.StatementList[k].Text == u"mark"; }},
      {"constants", kMaxConstants, kMsgConstantsFull, [](int16_t& m) { return AppendConstant(m); },
       [] { return long{Tables.ConstCount}; }, [](long k) { Tables.ConstTable[k].Name = u"mark"; },
       [](long k) { return Tables.ConstTable[k].Name == u"mark"; }},
      {"functions", kMaxFunctions, kMsgFunctionsFull, [](int16_t& m) { return AppendFunction(m); },
       [] { return long{Tables.FuncCount}; }, [](long k) { Tables.FuncTable[k].Name = u"mark"; },
       [](long k) { return Tables.FuncTable[k].Name == u"mark"; }},
      {"vectors", kMaxVectors, kMsgVectorsFull, [](int16_t& m) { return AppendVector(m); },
       [] { return long{Tables.VecCount}; }, [](long k) { Tables.VecTable[k].Name = u"mark"; },
       [](long k) { return Tables.VecTable[k].Name == u"mark"; }},
      {"values", kMaxValueIndex, kMsgValuesFull,
       [](int16_t& m) { return static_cast<long>(AppendValue(u"v", 1.5, m)); },
       [] { return long{Tables.ValueTop}; }, [](long k) { Tables.ValueList[k].Name = u"mark"; },
       [](long k) { return Tables.ValueList[k].Name == u"mark"; }},
      {"calls", kMaxCalls, kMsgCallsFull,
       [&calls](int16_t& m) { return long{AppendCall(calls, u"F_", 3, 1, m)}; },
       [&calls] { return long{calls}; }, [](long k) { Tables.CallList[k].Text = u"mark"; },
       [](long k) { return Tables.CallList[k].Text == u"mark"; }},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.name);
    int16_t msg = -5;
    for (long k = 1; k <= t.capacity; ++k) {
      ASSERT_EQ(t.append(msg), k);
      ASSERT_EQ(msg, 0);
    }
    EXPECT_EQ(t.count(), t.capacity);
    t.mark(t.capacity);
    for (int again = 0; again < 2; ++again) {
      msg = 0;
      EXPECT_EQ(t.append(msg), 0);
      EXPECT_EQ(msg, t.fullMsg);
      EXPECT_EQ(t.count(), t.capacity);
      EXPECT_TRUE(t.marked(t.capacity));
    }
  }
}

TEST_F(GlobalTest, AppendFillsTheEntryAtTheNewCount) {
  int16_t msg = -5;
  Tables.StatementList[1].Spare = 9;
  EXPECT_EQ(AppendStatement(4, u"a_=1", msg), 1);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(Tables.StatementList[1].StmtNo, 4);
  EXPECT_TRUE(Tables.StatementList[1].Text == u"a_=1");
  EXPECT_EQ(Tables.StatementList[1].Spare, 0);

  // The value list starts at 0 and appends from 1 upward.
  EXPECT_EQ(AppendValue(u"$00001`", 2.5, msg), 1);
  EXPECT_EQ(AppendValue(u"t", -1.0, msg), 2);
  EXPECT_TRUE(Tables.ValueList[2].Name == u"t");
  EXPECT_EQ(Tables.ValueList[2].Value, -1.0);

  int16_t calls = 0;
  EXPECT_EQ(AppendCall(calls, u"G_", 5, 2, msg), 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Tables.CallList[1].Pos, 5);
  EXPECT_EQ(Tables.CallList[1].Depth, 2);

  // A corrupted count is refused as well, never used as an index.
  Tables.FuncCount = -3;
  EXPECT_EQ(AppendFunction(msg), 0);
  EXPECT_EQ(msg, kMsgFunctionsFull);
  Tables.ValueTop = kMaxValueIndex + 5;
  EXPECT_EQ(AppendValue(u"x", 0, msg), 0);
  EXPECT_EQ(msg, kMsgValuesFull);
}

}  // namespace
}  // namespace ms
