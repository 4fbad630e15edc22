// The numerical commands parse their statements into argument structs: each value lands in its
// own field (numbers, constants and their negation, the adjustments each command makes).
#include <gtest/gtest.h>

#include "language/WorksheetTables.h"
#include "numerics/Bvp.h"
#include "numerics/DblInt.h"
#include "numerics/Integ.h"
#include "numerics/Ivp.h"
#include "numerics/Roots.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using CommandArgsTest = WorksheetTest;

const char16_t* const kSheet =
    u"F{x,y}=x*y\r\nC{x}=0\r\nD{x}=x\r\nP{x}=x^2-2\r\nG{t,x,y}=y\r\n"
    u"H{t,x,y}=x\r\nk=3\r\n";

TEST_F(CommandArgsTest, IntegralsAndZero) {
  ASSERT_EQ(RunText(kSheet), 0);
  DblIntArgs d;
  ASSERT_EQ(ParseDblIntArgs(u"c=dblInt[F,C,D,{1,k,4,7,y}]", d), 0);
  EXPECT_EQ(rt::ToUtf8(d.constId), "c");
  EXPECT_EQ(FunctionName(d.fRecord) + FunctionName(d.cRecord) + FunctionName(d.dRecord), "F_C_D_");
  EXPECT_EQ(d.a, 1);
  EXPECT_EQ(d.b, 3);
  EXPECT_EQ(d.n, 4);
  EXPECT_EQ(d.m, 8);  // 7 panels made even
  EXPECT_EQ(rt::ToUtf8(d.variable), "y");

  IntegArgs g;
  ASSERT_EQ(ParseIntegArgs(u"ab=Integ[P,C,D,{-k,2,5.4,2}]", g), 0);
  EXPECT_EQ(rt::ToUtf8(g.constId), "ab");
  EXPECT_EQ(FunctionName(g.fRecord) + FunctionName(g.gRecord) + FunctionName(g.hRecord), "P_C_D_");
  EXPECT_EQ(g.a, -3);
  EXPECT_EQ(g.b, 2);
  EXPECT_EQ(g.panels, 5);  // 5.4 panels rounded
  EXPECT_EQ(g.markerSpacing.value_or(-1), 2);
  ASSERT_EQ(ParseIntegArgs(u"c=Integ[P,{0,1,4,0}]", g), 0);
  EXPECT_EQ(g.gRecord + g.hRecord, 0);

  ZeroArgs z;
  ASSERT_EQ(ParseZeroArgs(u"Zero[P,{-1,k,r}0.001]", z), 0);
  EXPECT_EQ(FunctionName(z.fRecord), "P_");
  EXPECT_EQ(z.a, -1);
  EXPECT_EQ(z.b, 3);
  EXPECT_EQ(rt::ToUtf8(z.resultId), "r_");
  EXPECT_EQ(z.tol, 0.001);
  ASSERT_EQ(ParseZeroArgs(u"Zero[P,{0,2,rt}]", z), 0);
  EXPECT_EQ(rt::ToUtf8(z.resultId), "rt");
  EXPECT_EQ(z.tol, 0.00001);  // the default
}

TEST_F(CommandArgsTest, DifferentialEquations) {
  ASSERT_EQ(RunText(kSheet), 0);
  IvpArgs v;
  ASSERT_EQ(ParseIvpArgs(u"IVP[G,H,{0,k,1,-2}{0.5,-0.001,7}]", v), 0);
  EXPECT_EQ(v.equations, 2);
  EXPECT_EQ(rt::ToUtf8(v.ids[1] + v.ids[2]), "G_H_");
  EXPECT_EQ(v.t0, 0);
  EXPECT_EQ(v.tf, 3);
  EXPECT_EQ(v.init[0], 1);
  EXPECT_EQ(v.init[1], -2);
  EXPECT_EQ(v.factor, 1);    // below 1: 1
  EXPECT_EQ(v.tol, 0.001);   // its magnitude
  EXPECT_EQ(v.plotMode, 1);  // not 1..4: 1
  ASSERT_EQ(ParseIvpArgs(u"IVP[G,{0,1,2}{4,1}]", v), 0);
  EXPECT_EQ(v.factor, 4);
  EXPECT_EQ(v.tol, 0.1);  // at most 0.1
  EXPECT_FALSE(v.plotMode.has_value());

  BvpArgs b;
  ASSERT_EQ(ParseBvpArgs(u"BVP[G,H,{0,1,k,2,10}]", b), 0);
  EXPECT_TRUE(b.linear);
  EXPECT_EQ(b.t0 + 10 * b.x0 + 100 * b.tb + 1000 * b.xb, 2310);
  EXPECT_EQ(b.n, 10);
  ASSERT_EQ(ParseBvpArgs(u"BVP[G,H,{0,1,2,3}{0.5,k}{2,0.001,-1}]", b), 0);
  EXPECT_FALSE(b.linear);
  EXPECT_EQ(b.listGiven, false);
  EXPECT_EQ(b.a1, 0.5);
  EXPECT_EQ(b.a2, 3);
  EXPECT_EQ(b.factor, 2);
  EXPECT_EQ(b.tol, 0.001);
  EXPECT_EQ(b.mode, -1);
  ASSERT_EQ(ParseBvpArgs(u"BVP[G,H,{0,1,2,3}{1;-2;k}{1,0.001,0}]", b), 0);
  EXPECT_EQ(b.listGiven, true);
  EXPECT_TRUE(b.listComplete);
  EXPECT_EQ(b.slopes[0], 3);
  EXPECT_EQ(b.slopes[1] + 10 * b.slopes[2] + 100 * b.slopes[3], 1 - 20 + 300);
  EXPECT_EQ(b.a1, 3);  // the last slope read
  EXPECT_EQ(b.a2, 0);
}

}  // namespace
}  // namespace ms::testing
