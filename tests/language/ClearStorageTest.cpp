#include <gtest/gtest.h>

#include <vector>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "plotting/SceneStore.h"

namespace ms {
namespace {

class ClearStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    Fill();
  }

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
    for (int row : {0, 1, kSceneLastRow}) {
      Scene.SegmentTable[row] = {1, 2, 255, 128, 0, 1.0, 1.0, 3.0};
    }
    Scene.VertexCount = 40;
    Scene.SegmentCount = 20;
  }
};

TEST_F(ClearStorageTest, EachRoutineClearsItsFieldsAndKeepsTheOthers) {
  const struct {
    const char* name;
    void (*clear)();
    bool (*cleared)(int);  // the named fields of entry k are empty and its counter is 0
    bool (*kept)(int);     // the fields the routine leaves alone still hold their contents
    std::vector<int> entries;
  } cases[] = {
      {"statements",
       ClearStatements,
       [](int k) {
         const auto& r = Tables.StatementList[k];
         return Tables.StatementCount == 0 && r.StmtNo == 0 && r.Text.empty() && r.Spare == 0;
       },
       [](int) { return true; },
       {1, kMaxStatements}},
      {"constants",
       ClearConstants,
       [](int k) {
         const auto& r = Tables.ConstTable[k];
         return Tables.ConstCount == 0 && r.Kind == 0 && r.Name.empty() && r.ValueText.empty() &&
                r.Spare2 == 0;
       },
       [](int k) {
         const auto& r = Tables.ConstTable[k];
         return r.Expr == u"1+2" && r.Spare1 == 4 && r.Locked == -1;
       },
       {1, kMaxConstants}},
      {"functions",
       ClearFunctions,
       [](int k) {
         const auto& r = Tables.FuncTable[k];
         return Tables.FuncCount == 0 && r.Kind == 0 && r.Name.empty() && r.Parm1.empty() &&
                r.Parm5.empty() && r.Expr.empty() && r.Code.empty() && r.Compiled == 0 &&
                r.Value == 0 && r.LineBreak == 0;
       },
       [](int) { return true; },
       {1, kMaxFunctions}},
      {"call list",
       ClearCallList,
       [](int k) {
         const auto& r = Tables.CallList[k];
         return r.Text.empty() && r.Pos == 0 && r.Depth == 0;
       },
       [](int) { return true; },
       {1, kMaxCalls}},
      {"vectors",
       ClearVectors,
       [](int k) {
         const auto& r = Tables.VecTable[k];
         return Tables.VecCount == 0 && r.Spare == 0 && r.Name.empty() && r.Parm.empty() &&
                r.DefText.empty() && r.XFuncName.empty() && r.ZFuncName.empty() && r.Defined == 0 &&
                r.IsOperation == 0;
       },
       [](int k) {
         const auto& r = Tables.VecTable[k];
         return r.XExpr == u"1" && r.YExpr == u"2" && r.ZExpr == u"3";
       },
       {1, kMaxVectors}},
      {"macros",
       ClearMacros,
       [](int k) {
         const auto& r = Tables.MacroTable[k];
         return Tables.MacroCount == 0 && r.Header.empty() && r.Body.empty();
       },
       [](int k) { return Tables.MacroTable[k].Name == u"n"; },
       {1, kMaxMacros}},
      {"values",
       ClearValueList,
       [](int k) {
         const auto& r = Tables.ValueList[k];
         return Tables.ValueTop == 0 && r.Name.empty() && r.Value == 0;
       },
       [](int) { return true; },
       {0, 1, static_cast<int>(kMaxValueIndex)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fill();
    c.clear();
    for (int k : c.entries) {
      SCOPED_TRACE(k);
      EXPECT_TRUE(c.cleared(k));
      EXPECT_TRUE(c.kept(k));
    }
  }
}

TEST_F(ClearStorageTest, ClearAllKeepsStatementsAndClearsTheSceneMarks) {
  Tables.BuiltinNames[3] = {u"ASin[", u"x["};
  ClearAll();
  EXPECT_EQ(Tables.StatementCount, kMaxStatements);
  EXPECT_TRUE(Tables.StatementList[1].Text == u"s");
  EXPECT_TRUE(Tables.BuiltinNames[3].Name == u"ASin[");
  EXPECT_EQ(Tables.ConstCount, 0);
  EXPECT_EQ(Tables.FuncCount, 0);
  EXPECT_EQ(Tables.VecCount, 0);
  EXPECT_EQ(Tables.MacroCount, 0);
  EXPECT_EQ(Tables.ValueTop, 0);
  EXPECT_TRUE(Tables.CallList[1].Text.empty());
  EXPECT_EQ(Scene.VertexCount, 0);
  EXPECT_EQ(Scene.SegmentCount, 0);
  // Row 0 is a drawn segment too: its marks go with the others; the points and colours stay.
  for (int row : {0, 1, kSceneLastRow}) {
    SCOPED_TRACE(row);
    const SegmentRow& r = Scene.SegmentTable[row];
    EXPECT_EQ(r[kSegKind], 0.0);
    EXPECT_EQ(r[kDotMark], 0.0);
    EXPECT_EQ(r[kLimitMarkKind], 0.0);
    EXPECT_EQ(r[kEndPoint], 2.0);
    EXPECT_EQ(r[kRed], 255.0);
  }
}

TEST_F(ClearStorageTest, ResetGraphMenusDisablesTheColourItems) {
  GraphMenus = {-1, -1, -1, -1, -1, -1, -1, -1};
  Tables.PlotPending = -1;
  ResetGraphMenus();
  const int16_t flags[] = {GraphMenus.mnuPlot1,        GraphMenus.mnuPlot2,   GraphMenus.mnuPLot3,
                           GraphMenus.mnuPlot4,        GraphMenus.mnuPlot5,   GraphMenus.mnuPlot6,
                           GraphMenus.mnuPlotIVPColor, GraphMenus.mnuBVPcolor};
  for (int16_t f : flags) EXPECT_EQ(f, 0);
  EXPECT_EQ(Tables.PlotPending, 0);
}

}  // namespace
}  // namespace ms
