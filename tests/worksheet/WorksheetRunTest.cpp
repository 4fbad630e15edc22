#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "plotting/PlotRequest.h"
#include "worksheet/WorksheetRun.h"

namespace {

void AddConst(const std::u16string& name, const std::u16string& expr,
              const std::u16string& valueText) {
  auto& t = ms::Tables;
  ++t.ConstCount;
  t.ConstTable[t.ConstCount].Name = name;
  t.ConstTable[t.ConstCount].Expr = expr;
  t.ConstTable[t.ConstCount].ValueText = valueText;
}

void AddFunc(const std::u16string& name, const std::u16string& parm, const std::u16string& expr,
             double value) {
  auto& t = ms::Tables;
  ++t.FuncCount;
  auto& f = t.FuncTable[t.FuncCount];
  f.Name = name;
  f.Parm1 = parm;
  f.Expr = expr;
  f.Value = value;
}

void AddVector(const std::u16string& name, const std::u16string& def, const std::u16string& x,
               const std::u16string& y, const std::u16string& z, const std::u16string& suffix) {
  auto& t = ms::Tables;
  ++t.VecCount;
  auto& v = t.VecTable[t.VecCount];
  v.Name = name;
  v.Parm = u"t";
  v.DefText = def;
  v.XExpr = x;
  v.YExpr = y;
  v.ZExpr = z;
  v.XFuncName = u"X" + suffix;
  v.YFuncName = u"Y" + suffix;
  v.ZFuncName = u"Z" + suffix;
}

class WorksheetRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ms::ResetWorksheetTables();
    ms::InitBuiltinNames();
    ms::ResetPlotRequest();
  }
  void TearDown() override {
    ms::ResetWorksheetTables();
    ms::ResetPlotRequest();
  }
};

TEST_F(WorksheetRun, ParameterSet) {
  struct Case {
    std::u16string stmt;
    int16_t msgNo;
    std::vector<std::pair<std::u16string, double>> values;  // appended entries, in order
  } cases[] = {
      {u"<t=3>", 0, {{u"t", 3}}},
      {u"<t=3;u=ax;r=-2>", 0, {{u"t", 3}, {u"u", 2.5}, {u"r", -2}}},
      {u"<t=a>", 0, {{u"t", 5}}},
      {u"<t=-a>", 0, {{u"t", -5}}},
      {u"<t=-ax>", 0, {{u"t", -2.5}}},
      {u"<t=.5E1>", 0, {{u"t", 5}}},
      {u"<t=1,2>", 14, {{u"t", 0}}},
      {u"<t=,2>", 14, {{u"t", 0}}},
      {u"<t=3;>", 14, {{u"t", 3}}},
      {u"<T=3>", 14, {}},
      {u"<t3>", 14, {{u"t", 0}}},
      {u"<t=", 14, {{u"t", 0}}},
      {u"<t=3", 14, {{u"t", 0}}},
      {u"<t=a+1>", 14, {{u"t", 0}}},
      {u"<t=b>", 15, {{u"t", 0}}},
      {u"<t=3;u=q>", 15, {{u"t", 3}, {u"u", 0}}},
      {u"<", 14, {}},
      {u"", 14, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.stmt));
    ms::ResetWorksheetTables();
    AddConst(u"a_", u"5", u"(5)");
    AddConst(u"ax", u"a*0.5", u"( 2.5)");
    const int32_t top = ms::Tables.ValueTop;
    int16_t msgNo = -99;
    ws::SetUpParm(c.stmt, msgNo);
    EXPECT_EQ(msgNo, c.msgNo);
    ASSERT_EQ(ms::Tables.ValueTop, top + static_cast<int32_t>(c.values.size()));
    for (size_t k = 0; k < c.values.size(); ++k) {
      const auto& entry = ms::Tables.ValueList[static_cast<size_t>(top) + 1 + k];
      EXPECT_EQ(entry.Name, c.values[k].first);
      EXPECT_DOUBLE_EQ(entry.Value, c.values[k].second);
    }
  }
}

TEST_F(WorksheetRun, ParameterSetWithAFullValueList) {
  ms::Tables.ValueTop = ms::kMaxValueIndex;
  int16_t msgNo = 0;
  ws::SetUpParm(u"<t=3>", msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
  EXPECT_EQ(ms::Tables.ValueTop, ms::kMaxValueIndex);
  ws::AppendEndMark(msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
}

TEST_F(WorksheetRun, EndMarkAndParameterStatement) {
  int16_t msgNo = -1;
  ws::AppendEndMark(msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_EQ(ms::Tables.ValueList[static_cast<size_t>(ms::Tables.ValueTop)].Name, u"#");
  EXPECT_EQ(ws::FindParameterStatement(), 0);
  const std::u16string stmts[] = {u"a_=1", u"<t=1>", u"F_{x}=x", u"<t=2>"};
  for (const auto& s : stmts) {
    ++ms::Tables.StatementCount;
    ms::Tables.StatementList[ms::Tables.StatementCount].Text = s;
  }
  EXPECT_EQ(ws::FindParameterStatement(), 2);  // the first one only
}

TEST_F(WorksheetRun, EmptyListingHasTheHeadings) {
  const std::vector<std::u16string> expected = {
      u" - - - - - - - - - Constants - - - - - - - - -",
      u" - - - - - - Expanded Functions - - - - - - - -",
      u" ",
      u" - - - - - - Vectors Functions - - - - - - - - -",
  };
  EXPECT_EQ(ws::ResultsListing(4), expected);
}

TEST_F(WorksheetRun, ListingOfConstantsFunctionsAndVectors) {
  AddConst(u"a_", u"2+3", u"(5)");
  AddConst(u"bc", u"a_*2", u"(10)");
  AddFunc(u"F_", u"x", u"x_^2", 2.5);
  AddFunc(u"Gh", u"x", u"x", 0.5);
  AddFunc(u"X1", u"t", u"t", 2);
  AddFunc(u"Y1", u"t", u"2", -0.25);
  AddFunc(u"Z1", u"t", u"0", 0);
  AddVector(u"A_", u"vAdd[B_,C_]", u"t", u"2", u"0", u"1");
  AddVector(u"B_", u"<1,2,3>", u"1", u"2", u"3", u"9");  // components missing
  const std::vector<std::u16string> expected = {
      u" - - - - - - - - - Constants - - - - - - - - -",
      u"a = 2+3",
      u"a = (5)",
      u"bc = a*2",
      u"bc = (10)",
      u" - - - - - - Expanded Functions - - - - - - - -",
      u"F:  x^2",
      u"F :   2.5",
      u"Gh:  x",
      u"Gh :  .5",
      u" ",
      u" - - - - - - Vectors Functions - - - - - - - - -",
      u"A<t> = vAdd[B,C]",
      u"A: <t  ,  2  ,  0 >",
      u"A: < 2  ,  -.25  ,  0 >",
      u" ",
      u"B: <1  ,  2  ,  3 >",
      u" ",
  };
  const std::vector<std::u16string> lines = ws::ResultsListing(4);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rt::ToUtf8(lines[i]), rt::ToUtf8(expected[i]));
  }
  // A function whose evaluation failed says so instead of showing its old value.
  std::vector<bool> undefined(static_cast<size_t>(ms::Tables.FuncCount) + 1, false);
  undefined[1] = true;
  const std::vector<std::u16string> marked = ws::ResultsListing(4, &undefined);
  EXPECT_EQ(rt::ToUtf8(marked[7]), "F :  undefined");
  EXPECT_EQ(rt::ToUtf8(marked[9]), "Gh :  .5");
}

TEST_F(WorksheetRun, ListingStaysInsideTheTables) {
  ms::Tables.ConstCount = -3;
  ms::Tables.FuncCount = 30000;
  ms::Tables.VecCount = 30000;
  EXPECT_GE(ws::ResultsListing(8).size(), 4u);
}

TEST_F(WorksheetRun, PlotVectorsFillPlotSpec) {
  AddFunc(u"X1", u"t", u"t", 0);
  AddFunc(u"Y1", u"t", u"t", 0);
  AddFunc(u"Z1", u"t", u"t", 0);
  AddFunc(u"X2", u"t", u"t", 0);
  AddFunc(u"Y2", u"t", u"t", 0);
  AddFunc(u"Z2", u"t", u"t", 0);
  AddVector(u"A_", u"<t,t,t>", u"t", u"t", u"t", u"1");
  AddVector(u"Bb", u"<t,t,t>", u"t", u"t", u"t", u"2");
  AddVector(u"C_", u"<t,t,t>", u"t", u"t", u"t", u"7");  // no component functions
  struct Case {
    std::vector<std::u16string> vectors;
    int16_t failMark;
    std::array<int32_t, 6> plotSpec;  // entries 0..5
  } cases[] = {
      {{u"A_"}, 0, {1, 2, 3, 0, 0, 0}},
      {{u"Bb", u"A_"}, 0, {4, 5, 6, 1, 2, 3}},
      {{u"D_"}, 13, {0, 0, 0, 0, 0, 0}},
      {{u"A_", u"C_"}, 13, {1, 2, 3, 0, 0, 0}},
      {{u"A_", u"A_", u"A_", u"A_", u"A_", u"A_", u"A_"}, 13, {0, 0, 0, 0, 0, 0}},
      {{}, 0, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vectors.size());
    ms::ResetPlotRequest();
    for (const auto& v : c.vectors) {
      ++ms::PlotRequest.PlotVectorCount;
      ms::PlotRequest.PlotVectorList[ms::PlotRequest.PlotVectorCount] = v;
    }
    int16_t failMark = -1;
    ws::CheckPlotVectors(failMark);
    EXPECT_EQ(failMark, c.failMark);
    for (size_t i = 0; i < c.plotSpec.size(); ++i)
      EXPECT_EQ(ms::PlotRequest.PlotSpec[i], c.plotSpec[i]);
  }
}

}  // namespace
