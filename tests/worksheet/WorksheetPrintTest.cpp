#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "worksheet/WorksheetPrint.h"

namespace {

TEST(WorksheetPrint, ResultsPageThresholds) {
  struct Case {
    int fontSize, estimate;
    bool landscape, newPage;
  } cases[] = {
      {12, 47, false, false}, {12, 48, false, true}, {12, 35, true, false}, {12, 36, true, true},
      {8, 73, false, false},  {8, 74, false, true},  {8, 56, true, false},  {8, 57, true, true},
      {10, 58, false, false}, {10, 59, false, true}, {10, 47, true, false}, {10, 48, true, true},
      {14, 39, false, false}, {14, 40, false, true}, {14, 29, true, false}, {14, 30, true, true},
      {9, 0, false, true},    {11, 1, true, true},   {0, 0, false, true},   {-3, 0, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fontSize << " pt, " << c.estimate
                                    << (c.landscape ? " landscape" : " portrait"));
    EXPECT_EQ(ws::ResultsOnNewPage(c.fontSize, c.estimate, c.landscape), c.newPage);
  }
}

TEST(WorksheetPrint, WorksheetLinesBehindTabs) {
  struct Case {
    QString text;
    QStringList lines;
  } cases[] = {
      {"", {}},
      {"a=1", {"\ta=1"}},
      {"a=1\n", {"\ta=1"}},
      {"a=1\n\nb=2", {"\ta=1", "\t", "\tb=2"}},
      {"\n", {"\t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(ws::WorksheetPrintLines(c.text), c.lines);
  }
}

class PrintedResults : public ::testing::Test {
 protected:
  void SetUp() override {
    ms::ResetWorksheetTables();
    ms::InitBuiltinNames();
    auto& t = ms::Tables;
    t.ConstTable[1].Name = u"a_";
    t.ConstTable[1].Expr = u"2+3";
    t.ConstTable[1].ValueText = u"(5)";
    t.ConstCount = 1;
    AddFunc(1, u"F_", {u"x", u"y", u"z"}, u"x_+y", 2.5);
    AddFunc(2, u"X1", {u"t"}, u"t", 2);
    AddFunc(3, u"Y1", {u"t"}, u"2", -0.25);
    AddFunc(4, u"Z1", {u"t"}, u"0", 0);
    AddFunc(5, u"G2", {u"x"}, u"x", 7);
    AddFunc(6, u"Hb", {u"t"}, u"t", 0.5);
    t.FuncCount = 6;
    auto& a = t.VecTable[1];
    a.Name = u"A_";
    a.Parm = u"t";
    a.DefText = u"vAdd[B_,C_]";
    a.XExpr = u"t";
    a.YExpr = u"2";
    a.ZExpr = u"0";
    a.XFuncName = u"X1";
    a.YFuncName = u"Y1";
    a.ZFuncName = u"Z1";
    auto& b = t.VecTable[2];
    b.Name = u"B_";
    b.Parm = u"s";
    b.DefText = u"<1,2,3>";
    b.XExpr = u"1";
    b.YExpr = u"2";
    b.ZExpr = u"3";
    b.XFuncName = u"X9";  // missing, as after an aborted run
    b.YFuncName = u"Y9";
    b.ZFuncName = u"Z9";
    t.VecCount = 2;
    t.CurrentStmtNo = 5;
  }
  void TearDown() override { ms::ResetWorksheetTables(); }

  static void AddFunc(int i, const std::u16string& name,
                      std::initializer_list<const char16_t*> parms, const std::u16string& expr,
                      double value) {
    auto& f = ms::Tables.FuncTable[i];
    f.Name = name;
    std::u16string* parmSlots[] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    int k = 0;
    for (const char16_t* p : parms) *parmSlots[k++] = p;
    f.Expr = expr;
    f.Value = value;
  }
};

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
  const QStringList marked = ws::ResultPrintLines(4, &undefined);
  EXPECT_EQ(marked[8], QStringLiteral("\tHb{t}=undefined"));
  EXPECT_EQ(marked[4], QStringLiteral("\tF{x,y,z}= 2.5"));
  // 1 constant + statement 5 + 6 functions + 2 x 2 vectors + 10.
  EXPECT_EQ(ws::PrintLineEstimate(), 26);
}

TEST_F(PrintedResults, OneCopyHeaderWorksheetAndPageBreak) {
  for (bool newPage : {false, true}) {
    SCOPED_TRACE(newPage);
    const QStringList copy = ws::ComposeWorksheetCopy("demo.txt", "a=2+3\n", newPage, 4);
    ASSERT_GE(copy.size(), 9);
    EXPECT_EQ(copy.mid(0, 4), QStringList({" ", " ", " ", " "}));
    EXPECT_EQ(copy[4], QStringLiteral("\tWork File: demo.txt  "));
    EXPECT_EQ(copy.mid(5, 2), QStringList({" ", " "}));
    EXPECT_EQ(copy[7], QStringLiteral("\ta=2+3"));
    EXPECT_EQ(copy[8] == ws::kNewPageMark, newPage);
    EXPECT_EQ(copy.count(ws::kNewPageMark), newPage ? 1 : 0);
    EXPECT_EQ(copy.last(), QStringLiteral(" "));
  }
}

TEST_F(PrintedResults, CountsOutsideTheTablesAreNotRead) {
  ms::Tables.ConstCount = -5;
  ms::Tables.FuncCount = 32000;
  ms::Tables.VecCount = 32000;
  const QStringList lines = ws::ResultPrintLines(8);  // must stay inside the tables
  EXPECT_FALSE(lines.isEmpty());
}

}  // namespace
