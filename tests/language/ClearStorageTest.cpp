#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "language/ClearStorage.h"
#include "plotting/SceneStore.h"

namespace ms {
namespace {

class ClearStorageTest : public LanguageTest {
 protected:
  // Writes every field of the first and last entry of each table.
  static void Fill() {
    for (int k : {1, kMaxStatements}) Tables.StatementList[k] = {5, u"s", 1};
    Tables.StatementCount = kMaxStatements;
    for (int k : {1, kMaxConstants}) Tables.ConstTable[k] = {3, u"c_", u"1+2", u"(3)", 4, -1, 6};
    Tables.ConstCount = 2;
    for (int k : {1, kMaxFunctions}) {
      Tables.FuncTable[k] = {2, u"F_", u"x", u"y", u"z", u"u", u"v", u"x^2", u"x,x*", -1, 2.5, -1};
    }
    Tables.FuncCount = 2;
    for (int k : {1, kMaxCalls}) Tables.CallList[k] = {u"G_", 3, 1};
    for (int k : {1, kMaxVectors}) {
      Tables.VecTable[k] = {1,     u"A_", u"t", u"<1,2,3>", u"X1", u"Y1",
                            u"Z1", u"1",  u"2", u"3",       -1,    -1};
    }
    Tables.VecCount = 2;
    for (int k : {1, kMaxMacros}) Tables.MacroTable[k] = {u"h", u"b", u"n", 7, u"e"};
    Tables.MacroCount = 2;
    for (int k : {0, 1, static_cast<int>(kMaxValueIndex)}) Tables.ValueList[k] = {u"v", 1.5};
    Tables.ValueTop = kMaxValueIndex;
    for (int row : {0, 1, kSceneLastRow}) Scene.SegmentTable[row] = {1, 2, 255, 128, 0, 1, 1, 3};
    Scene.VertexCount = 40;
    Scene.SegmentCount = 20;
  }
};

// Each routine empties its counter and the fields it owns, at the first and the last entry, and
// leaves the fields the later steps still read.
TEST_F(ClearStorageTest, EachRoutineClearsItsFieldsAndKeepsTheOthers) {
  const struct {
    const char* name;
    void (*clear)();
    bool (*cleared)(int);
    bool (*kept)(int);
    int last;
  } cases[] = {
      {"statements", ClearStatements,
       [](int k) { return Tables.StatementCount == 0 && Tables.StatementList[k].Text.empty(); },
       [](int) { return true; }, kMaxStatements},
      {"constants", ClearConstants,
       [](int k) {
         const auto& r = Tables.ConstTable[k];
         return Tables.ConstCount == 0 && r.Name.empty() && r.ValueText.empty() && r.Spare2 == 0;
       },
       [](int k) {
         return Tables.ConstTable[k].Expr == u"1+2" && Tables.ConstTable[k].Locked == -1;
       },
       kMaxConstants},
      {"functions", ClearFunctions,
       [](int k) {
         const auto& r = Tables.FuncTable[k];
         return Tables.FuncCount == 0 && r.Name.empty() && r.Parm5.empty() && r.Code.empty() &&
                r.Compiled == 0 && r.Value == 0;
       },
       [](int) { return true; }, kMaxFunctions},
      {"call list", ClearCallList,
       [](int k) { return Tables.CallList[k].Text.empty() && Tables.CallList[k].Depth == 0; },
       [](int) { return true; }, kMaxCalls},
      {"vectors", ClearVectors,
       [](int k) {
         const auto& r = Tables.VecTable[k];
         return Tables.VecCount == 0 && r.Name.empty() && r.ZFuncName.empty() && r.Defined == 0;
       },
       [](int k) { return Tables.VecTable[k].XExpr == u"1" && Tables.VecTable[k].ZExpr == u"3"; },
       kMaxVectors},
      {"macros", ClearMacros,
       [](int k) { return Tables.MacroCount == 0 && Tables.MacroTable[k].Body.empty(); },
       [](int k) { return Tables.MacroTable[k].Name == u"n"; }, kMaxMacros},
      {"values", ClearValueList,
       [](int k) { return Tables.ValueTop == 0 && Tables.ValueList[k].Name.empty(); },
       [](int) { return true; }, static_cast<int>(kMaxValueIndex)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fill();
    c.clear();
    for (int k : {1, c.last}) {
      SCOPED_TRACE(k);
      EXPECT_TRUE(c.cleared(k));
      EXPECT_TRUE(c.kept(k));
    }
  }
}

TEST_F(ClearStorageTest, ClearAllKeepsStatementsAndClearsTheSceneMarks) {
  Fill();
  Tables.BuiltinNames[3] = {u"ASin[", u"x["};
  ClearAll();
  EXPECT_EQ(Tables.StatementCount, kMaxStatements);
  EXPECT_TRUE(Tables.BuiltinNames[3].Name == u"ASin[");
  const long counts[] = {Tables.ConstCount,  Tables.FuncCount,
                         Tables.VecCount,    Tables.MacroCount,
                         Tables.ValueTop,    Scene.VertexCount,
                         Scene.SegmentCount, static_cast<long>(Tables.CallList[1].Text.size())};
  for (long n : counts) EXPECT_EQ(n, 0);
  // Row 0 is a drawn segment too: its marks go with the others; the points and colours stay.
  for (int row : {0, 1, kSceneLastRow}) {
    SCOPED_TRACE(row);
    const SegmentRow& r = Scene.SegmentTable[row];
    EXPECT_EQ(r[kSegKind] + r[kDotMark] + r[kLimitMarkKind], 0.0);
    EXPECT_EQ(r[kEndPoint], 2.0);
    EXPECT_EQ(r[kRed], 255.0);
  }
  GraphMenus = {-1, -1, -1, -1, -1, -1, -1, -1};
  Tables.PlotPending = -1;
  ResetGraphMenus();
  EXPECT_EQ(GraphMenus.mnuPlot1 | GraphMenus.mnuPLot3 | GraphMenus.mnuPlot6 |
                GraphMenus.mnuPlotIVPColor | GraphMenus.mnuBVPcolor,
            0);
  EXPECT_EQ(Tables.PlotPending, 0);
}

}  // namespace
}  // namespace ms
