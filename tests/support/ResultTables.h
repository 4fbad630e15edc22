// Worksheet tables as a run leaves them, shared by the tests of the results listing (commands)
// and of the printed results (worksheet).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "plotting/PlotRequest.h"

namespace ms::testing {

// A constant, functions of one and of three parameters, a function named like a vector component,
// a vector with its component functions and one whose component functions are missing (as after
// an aborted run).
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

}  // namespace ms::testing
