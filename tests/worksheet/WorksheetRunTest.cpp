#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "commands/WorksheetRun.h"
#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "plotting/PlotRequest.h"
#include "worksheet/WorksheetPrint.h"

namespace ws::testing {
namespace {

// Worksheet tables as a run leaves them, for the results listing and the printed results: a
// constant, functions of one and of three parameters, a function named like a vector component,
// a vector with its component functions and one whose component functions are missing (as after an
// aborted run).
class ResultTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ms::ResetWorksheetTables();
    ms::InitBuiltinNames();
    ms::ResetPlotRequest();
    auto& t = ms::Tables;
    t.ConstCount = 1;
    t.ConstTable[1] = ms::ConstRec{};
    t.ConstTable[1].Name = u"a_";
    t.ConstTable[1].Expr = u"2+3";
    t.ConstTable[1].ValueText = u"(5)";
    AddFunc(u"F_", {u"x", u"y", u"z"}, u"x_+y", 2.5);
    AddFunc(u"X1", {u"t"}, u"t", 2);
    AddFunc(u"Y1", {u"t"}, u"2", -0.25);
    AddFunc(u"Z1", {u"t"}, u"0", 0);
    AddFunc(u"G2", {u"x"}, u"x", 7);
    AddFunc(u"Hb", {u"t"}, u"t", 0.5);
    AddVector(u"A_", u"t", u"vAdd[B_,C_]", {u"t", u"2", u"0"}, u"1");
    AddVector(u"B_", u"s", u"<1,2,3>", {u"1", u"2", u"3"}, u"9");  // X9 ... do not exist
    t.CurrentStmtNo = 5;
  }
  void TearDown() override {
    ms::ResetWorksheetTables();
    ms::ResetPlotRequest();
  }

  static void AddFunc(const std::u16string& name, std::initializer_list<const char16_t*> parms,
                      const std::u16string& expr, double value) {
    auto& f = ms::Tables.FuncTable[++ms::Tables.FuncCount];
    f.Name = name;
    std::u16string* parmSlots[] = {&f.Parm1, &f.Parm2, &f.Parm3};
    int k = 0;
    for (const char16_t* p : parms) *parmSlots[k++] = p;
    f.Expr = expr;
    f.Value = value;
  }
  static void AddVector(const std::u16string& name, const std::u16string& parm,
                        const std::u16string& def, std::initializer_list<const char16_t*> xyz,
                        const std::u16string& suffix) {
    auto& v = ms::Tables.VecTable[++ms::Tables.VecCount];
    v.Name = name;
    v.Parm = parm;
    v.DefText = def;
    std::u16string* exprs[] = {&v.XExpr, &v.YExpr, &v.ZExpr};
    int k = 0;
    for (const char16_t* e : xyz) *exprs[k++] = e;
    v.XFuncName = u"X" + suffix;
    v.YFuncName = u"Y" + suffix;
    v.ZFuncName = u"Z" + suffix;
  }
};

using WorksheetRun = ResultTables;

TEST_F(WorksheetRun, ParameterSet) {
  ms::Tables.ConstTable[2].Name = u"ax";
  ms::Tables.ConstTable[2].ValueText = u"( 2.5)";
  ms::Tables.ConstCount = 2;
  const struct {
    std::u16string stmt;
    int16_t msgNo;
    std::u16string appended;  // the value list entries appended, in order
  } cases[] = {
      {u"<t=3;u=ax;r=-2>", 0, u"t=3;u=2.5;r=-2"},
      {u"<t=-a>", 0, u"t=-5"},
      {u"<t=1,2>", 14, u"t=0"},
      {u"<T=3>", 14, u""},
      {u"<t=3", 14, u"t=0"},
      {u"<t=3;u=q>", 15, u"t=3;u=0"},
      {u"", 14, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.stmt));
    const int32_t top = ms::Tables.ValueTop;
    int16_t msgNo = -99;
    ms::SetUpParm(c.stmt, msgNo);
    EXPECT_EQ(msgNo, c.msgNo);
    rt::Text appended;
    for (int32_t k = top + 1; k <= ms::Tables.ValueTop; ++k) {
      const auto& entry = ms::Tables.ValueList[static_cast<size_t>(k)];
      appended += (k > top + 1 ? u";" : u"") + entry.Name + u"=" + rt::NumText(entry.Value);
    }
    EXPECT_EQ(rt::ToUtf8(appended), rt::ToUtf8(c.appended));
  }
  // A full value list: the full-table message, nothing written past the end.
  ms::Tables.ValueTop = ms::kMaxValueIndex;
  int16_t msgNo = 0;
  ms::SetUpParm(u"<t=3>", msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
  ms::AppendEndMark(msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
  EXPECT_EQ(ms::Tables.ValueTop, ms::kMaxValueIndex);
  // The parameter statement of a worksheet is its first one.
  for (const auto& s : {u"a_=1", u"<t=1>", u"F_{x}=x", u"<t=2>"}) {
    ms::Tables.StatementList[++ms::Tables.StatementCount].Text = s;
  }
  EXPECT_EQ(ms::FindParameterStatement(), 2);
}

TEST_F(WorksheetRun, ListingOfConstantsFunctionsAndVectors) {
  const std::vector<std::u16string> expected = {
      u" - - - - - - - - - Constants - - - - - - - - -",
      u"a = 2+3",
      u"a = (5)",
      u" - - - - - - Expanded Functions - - - - - - - -",
      u"F:  x+y",
      u"F :   2.5",
      u"Hb:  t",
      u"Hb :  .5",
      u" ",
      u" - - - - - - Vectors Functions - - - - - - - - -",
      u"A<t> = vAdd[B,C]",
      u"A: <t  ,  2  ,  0 >",
      u"A: < 2  ,  -.25  ,  0 >",
      u" ",
      u"B: <1  ,  2  ,  3 >",
      u" ",
  };
  const std::vector<std::u16string> lines = ms::ResultsListing(4);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(rt::ToUtf8(lines[i]), rt::ToUtf8(expected[i])) << i;
  }
  // A function whose evaluation failed says so instead of showing its old value; so does a vector
  // component (Y1).
  std::vector<bool> undefined(7, false);
  undefined[1] = true;
  undefined[3] = true;
  const std::vector<std::u16string> marked = ms::ResultsListing(4, &undefined);
  EXPECT_EQ(rt::ToUtf8(marked[5]), "F :  undefined");
  EXPECT_EQ(rt::ToUtf8(marked[12]), "A: < 2  ,  undefined  ,  0 >");
  // Counts outside the tables are not followed.
  ms::Tables.ConstCount = -3;
  ms::Tables.FuncCount = 30000;
  ms::Tables.VecCount = 30000;
  EXPECT_GE(ms::ResultsListing(8).size(), 4u);
}

// Two plot vectors: each curve's component function records, in PlotSpec.
TEST_F(WorksheetRun, PlotVectorsFillPlotSpec) {
  ms::PlotRequest.PlotVectorList[++ms::PlotRequest.PlotVectorCount] = u"A_";
  ms::PlotRequest.PlotVectorList[++ms::PlotRequest.PlotVectorCount] = u"A_";
  int16_t failMark = -1;
  ms::CheckPlotVectors(failMark);
  EXPECT_EQ(failMark, 0);
  const auto& spec = ms::PlotRequest.PlotSpec;
  EXPECT_EQ(std::vector<int32_t>(spec.begin(), spec.begin() + 6),
            (std::vector<int32_t>{2, 3, 4, 2, 3, 4}));
}

// The results go on a new page from 48 estimated lines at 12 points in portrait, from 30 at 14
// points in landscape; an unusable font size always starts one.
TEST(WorksheetPrint, ResultsPageThresholds) {
  struct Case {
    int fontSize, estimate;
    bool landscape, newPage;
  } cases[] = {{12, 48, false, true}, {14, 29, true, false}, {-3, 0, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.fontSize << " pt, " << c.estimate);
    EXPECT_EQ(ws::ResultsOnNewPage(c.fontSize, c.estimate, c.landscape), c.newPage);
  }
}

using PrintedResults = ResultTables;

TEST_F(PrintedResults, ConstantsFunctionsAndVectors) {
  const QStringList expected = {
      "\ta = 2+3",
      "\ta = (5)",
      "",
      "\tF{x,y,z}=x+y",
      "\tF{x,y,z}= 2.5",
      " ",
      " ",  // G2: a letter and a digit prints only a blank line
      "\tHb{t}=t",
      "\tHb{t}= .5",
      " ",
      " ",
      "",
      "\tA<t> = vAdd[B,C]",
      "\tA<t> = <t , 2 , 0>",
      "\tA<t> = <2  ,  -0.25  ,  0 >",  // general number form
      " ",
      "\tB<s> = <1 , 2 , 3>",  // component functions missing: no value line
      " ",
  };
  EXPECT_EQ(ws::ResultPrintLines(4), expected);
  // A function that was not evaluated prints as such, not with the value its record holds.
  std::vector<bool> undefined(7, false);
  undefined[6] = true;
  undefined[3] = true;
  const QStringList marked = ws::ResultPrintLines(4, &undefined);
  EXPECT_EQ(marked[8], QStringLiteral("\tHb{t}=undefined"));
  EXPECT_EQ(marked[14], QStringLiteral("\tA<t> = <2  ,  undefined  ,  0 >"));
  // 1 constant + statement 5 + 6 functions + 2 x 2 vectors + 10.
  EXPECT_EQ(ws::PrintLineEstimate(), 26);
  ms::Tables.FuncCount = 32000;  // must stay inside the tables
  EXPECT_FALSE(ws::ResultPrintLines(8).isEmpty());
}

TEST_F(PrintedResults, OneCopyHeaderWorksheetAndPageBreak) {
  EXPECT_EQ(ws::WorksheetPrintLines("a=1\n\nb=2\n"), QStringList({"\ta=1", "\t", "\tb=2"}));
  EXPECT_TRUE(ws::WorksheetPrintLines("").isEmpty());
  for (bool newPage : {false, true}) {
    SCOPED_TRACE(newPage);
    const QStringList copy = ws::ComposeWorksheetCopy("demo.txt", "a=2+3\n", newPage, 4);
    ASSERT_GE(copy.size(), 9);
    EXPECT_EQ(copy.mid(0, 4), QStringList({" ", " ", " ", " "}));
    EXPECT_EQ(copy[4], QStringLiteral("\tWork File: demo.txt  "));
    EXPECT_EQ(copy.mid(5, 2), QStringList({" ", " "}));
    EXPECT_EQ(copy[7], QStringLiteral("\ta=2+3"));
    EXPECT_EQ(copy.count(ws::kNewPageMark), newPage ? 1 : 0);
    EXPECT_EQ(copy[8] == ws::kNewPageMark, newPage);
  }
}

}  // namespace
}  // namespace ws::testing
