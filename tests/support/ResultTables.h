// Worksheet tables as a run leaves them, shared by the tests of the results listing (commands)
// and of the printed results (worksheet).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "plotting/PlotRequest.h"

namespace ms::testing {

// A constant, functions of one and of three parameters, a function named like a vector component,
// a vector with its component functions and one whose component functions (X9 ...) are missing
// (as after an aborted run).
class ResultTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ms::ResetWorksheetTables();
    ms::InitBuiltinNames();
    ms::ResetPlotRequest();
    auto& t = ms::Tables;
    t.ConstTable[++t.ConstCount].Name = u"a_";
    t.ConstTable[1].Expr = u"2+3";
    t.ConstTable[1].ValueText = u"(5)";
    AddFunc(u"F_", {u"x", u"y", u"z"}, u"x_+y", 2.5);
    AddFunc(u"X1", {u"t"}, u"t", 2);
    AddFunc(u"Y1", {u"t"}, u"2", -0.25);
    AddFunc(u"Z1", {u"t"}, u"0", 0);
    AddFunc(u"G2", {u"x"}, u"x", 7);
    AddFunc(u"Hb", {u"t"}, u"t", 0.5);
    // Vectors: name, parameter, definition, x, y and z expressions, component function suffix.
    const std::array<const char16_t*, 7> vectors[] = {
        {u"A_", u"t", u"vAdd[B_,C_]", u"t", u"2", u"0", u"1"},
        {u"B_", u"s", u"<1,2,3>", u"1", u"2", u"3", u"9"}};
    for (const auto& v : vectors) {
      ms::VecRec& r = t.VecTable[++t.VecCount];
      r.Name = v[0];
      r.Parm = v[1];
      r.DefText = v[2];
      r.XExpr = v[3];
      r.YExpr = v[4];
      r.ZExpr = v[5];
      r.XFuncName = u"X" + rt::Text(v[6]);
      r.YFuncName = u"Y" + rt::Text(v[6]);
      r.ZFuncName = u"Z" + rt::Text(v[6]);
    }
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
};

}  // namespace ms::testing
