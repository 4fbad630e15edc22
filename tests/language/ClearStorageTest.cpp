#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "plotting/SceneStore.h"

namespace ms {
namespace {

class ClearStorageTest : public LanguageTest {
 protected:
  // Writes every field of the first and last entry of each table.
  void SetUp() override {
    LanguageTest::SetUp();
    for (int k : {1, kMaxStatements}) Tables.StatementList[k] = {5, u"s", 1};
    Tables.StatementCount = kMaxStatements;
    for (int k : {1, kMaxConstants}) Tables.ConstTable[k] = {3, u"c_", u"1+2", u"(3)", 4, -1, 6};
    Tables.ConstCount = 2;
    for (int k : {1, kMaxFunctions})
      Tables.FuncTable[k] = {2, u"F_", u"x", u"y", u"z", u"u", u"v", u"x^2", u"x,x*", -1, 2.5, -1};
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

// Clearing empties every counter and the fields each table's routine owns up to the last entry,
// and leaves the statements and the fields the later steps still read (constant expressions and
// locks, vector component texts, macro names). Row 0 of the scene is a drawn segment too: its
// marks go with the others; the points and colours stay.
TEST_F(ClearStorageTest, ClearAllKeepsStatementsAndWhatLaterStepsRead) {
  Tables.BuiltinNames[3] = {u"ASin[", u"x["};
  ClearAll();
  EXPECT_EQ(Tables.StatementCount, kMaxStatements);
  EXPECT_TRUE(Tables.BuiltinNames[3].Name == u"ASin[");
  for (long n : {long{Tables.ConstCount}, long{Tables.FuncCount}, long{Tables.VecCount},
                 long{Tables.MacroCount}, long{Tables.ValueTop}, long{Scene.VertexCount},
                 long{Scene.SegmentCount}}) {
    EXPECT_EQ(n, 0);
  }
  const ConstRec& c = Tables.ConstTable[kMaxConstants];
  const FuncRec& f = Tables.FuncTable[kMaxFunctions];
  const VecRec& v = Tables.VecTable[kMaxVectors];
  EXPECT_TRUE(c.Name.empty() && c.ValueText.empty() && c.Spare2 == 0);
  EXPECT_TRUE(f.Name.empty() && f.Parm5.empty() && f.Code.empty() && f.Compiled == 0);
  EXPECT_TRUE(v.Name.empty() && v.ZFuncName.empty() && v.Defined == 0);
  EXPECT_TRUE(Tables.CallList[kMaxCalls].Text.empty() && Tables.CallList[1].Depth == 0);
  EXPECT_TRUE(Tables.MacroTable[kMaxMacros].Body.empty() && Tables.ValueList[0].Name.empty());
  EXPECT_TRUE(Tables.ValueList[kMaxValueIndex].Name.empty());
  EXPECT_TRUE(c.Expr == u"1+2" && c.Locked == -1 && v.XExpr == u"1" && v.ZExpr == u"3");
  EXPECT_EQ(Tables.MacroTable[kMaxMacros].Name, u"n");
  for (int row : {0, 1, kSceneLastRow}) {
    SCOPED_TRACE(row);
    const SegmentRow& r = Scene.SegmentTable[row];
    EXPECT_EQ(r[kSegKind] + r[kDotMark] + r[kLimitMarkKind], 0.0);
    EXPECT_EQ(r[kEndPoint] + r[kRed], 2.0 + 255.0);
  }
  ClearStatements();
  EXPECT_EQ(Tables.StatementCount, 0);
  EXPECT_TRUE(Tables.StatementList[kMaxStatements].Text.empty());
}

}  // namespace
}  // namespace ms
