#include <gtest/gtest.h>

#include <functional>

#include "language/ClearStorage.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using WorksheetTablesTest = LanguageTest;

// Every table with a fixed capacity: filling it to the capacity works, the next append refuses
// with the table's message and leaves the count as it was.
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
    EXPECT_EQ(t.append(msg), 0);
    EXPECT_EQ(msg, t.fullMsg);
    EXPECT_EQ(t.count(), t.capacity);
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

// Clearing a run's tables empties every counter and each table up to its last entry, and leaves the
// statements and the fields the later steps still read (constant expressions and locks, vector
// component texts, macro names); the statements go separately.
TEST_F(WorksheetTablesTest, ClearRunTablesKeepsStatementsAndWhatLaterStepsRead) {
  Tables.StatementList[kMaxStatements] = {5, u"s", 1};
  Tables.StatementCount = kMaxStatements;
  ConstRec& c = Tables.ConstTable[kMaxConstants];
  c = {3, u"c_", u"1+2", u"(3)", 4, -1, 6};
  Tables.FuncTable[kMaxFunctions].Name = u"F_";
  Tables.CallList[kMaxCalls] = {u"G_", 3, 1};
  VecRec& v = Tables.VecTable[kMaxVectors];
  v = {1, u"A_", u"t", u"<1,2,3>", u"X1", u"Y1", u"Z1", u"1", u"2", u"3", -1, -1};
  Tables.MacroTable[kMaxMacros] = {u"h", u"b", u"n", 7, u"e"};
  Tables.ValueList[kMaxValueIndex] = {u"v", 1.5};
  Tables.ConstCount = Tables.FuncCount = Tables.VecCount = Tables.MacroCount = 2;
  Tables.ValueTop = kMaxValueIndex;
  ClearRunTables();
  EXPECT_EQ(Tables.StatementCount, kMaxStatements);
  EXPECT_EQ(Tables.ConstCount + Tables.FuncCount + Tables.VecCount + Tables.MacroCount, 0);
  EXPECT_EQ(Tables.ValueTop, 0);
  EXPECT_TRUE(c.Name.empty() && c.ValueText.empty() &&
              Tables.FuncTable[kMaxFunctions].Name.empty());
  EXPECT_TRUE(v.Name.empty() && v.ZFuncName.empty() && v.Defined == 0);
  EXPECT_TRUE(Tables.CallList[kMaxCalls].Text.empty() &&
              Tables.MacroTable[kMaxMacros].Body.empty());
  EXPECT_TRUE(Tables.ValueList[kMaxValueIndex].Name.empty());
  EXPECT_TRUE(c.Expr == u"1+2" && c.Locked == -1 && v.XExpr == u"1" && v.ZExpr == u"3");
  EXPECT_EQ(Tables.MacroTable[kMaxMacros].Name, u"n");
  ClearStatements();
  EXPECT_EQ(Tables.StatementCount, 0);
  EXPECT_TRUE(Tables.StatementList[kMaxStatements].Text.empty());
}

}  // namespace
}  // namespace ms
