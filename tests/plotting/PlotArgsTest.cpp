// The plotting commands parse their statements into argument structs: each value lands in its own
// field (numbers, constants and their negation, defaults).
#include <gtest/gtest.h>

#include "language/WorksheetTables.h"
#include "plotting/Contour.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/SlopeField.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using PlotArgsTest = WorksheetTest;

std::vector<double> Range(const field::FieldRange& r) {
  return {r.lo, r.hi, r.steps};
}

TEST_F(PlotArgsTest, ContourAndFields) {
  ASSERT_EQ(Run({u"F{x,y}=x*y", u"H{x,y}=x", u"A{x,y,z}=x", u"B{x,y,z}=y", u"E{x,y,z}=z", u"k=3"}),
            0);
  ContourArgs c;
  ASSERT_EQ(ParseContourArgs(u"PlotContour1[F,{-2,2,-k,3}{1,1.5}{1,3,0.5}{0.01,0.1}]", c), 0);
  EXPECT_EQ(c.valuesMsg, 0);
  EXPECT_TRUE(c.oneQuadrant);
  EXPECT_EQ(FunctionName(c.fRecord), "F_");
  EXPECT_EQ((std::vector<double>{c.x0, c.xf, c.y0, c.yf, c.xc, c.yc, c.c1, c.c2, c.ds, c.er, c.sg}),
            (std::vector<double>{-2, 2, -3, 3, 1, 1.5, 1, 3, 0.5, 0.01, 0.1}));
  ASSERT_EQ(ParseContourArgs(u"PlotContour[F,{-2,2,-2,2}{1,1}{1,3,1}]", c), 0);
  EXPECT_FALSE(c.oneQuadrant);
  EXPECT_EQ(c.er, kContourDefaultError);
  EXPECT_EQ(c.sg, kContourDefaultSegment);
  // A bad value is kept for after the function has been found.
  ASSERT_EQ(ParseContourArgs(u"PlotContour[F,{-2,2,-2,2}(1,1}{1,3,1}]", c), 0);
  EXPECT_EQ(c.valuesMsg, 1416);

  DirFieldArgs d;
  ASSERT_EQ(ParseDirFieldArgs(u"PlotDirField[F,H,{-2,2,4}{-1,k,5}r]", d), 0);
  EXPECT_EQ(FunctionName(d.fRecord) + FunctionName(d.hRecord), "F_H_");
  EXPECT_FALSE(d.is3D);
  EXPECT_EQ(Range(d.x), (std::vector<double>{-2, 2, 4}));
  EXPECT_EQ(Range(d.y), (std::vector<double>{-1, 3, 5}));
  EXPECT_EQ(rt::ToUtf8(d.colorLetter.value_or(u"?")), "r");
  ASSERT_EQ(ParseDirFieldArgs(u"PlotDirField[F,H,F,{-2,2,4}{-1,1,5}]", d), 0);
  EXPECT_TRUE(d.is3D);
  EXPECT_EQ(FunctionName(d.gRecord), "F_");
  EXPECT_EQ(rt::ToUtf8(d.colorLetter.value_or(u"?")), "b");

  Field3DArgs f;
  ASSERT_EQ(ParseField3DArgs(u"PlotField3D[A,B,E,{-1,1,2}{-2,2,3}{0,k,4}w]", f), 0);
  EXPECT_EQ(FunctionName(f.fRecord) + FunctionName(f.gRecord) + FunctionName(f.hRecord), "A_B_E_");
  EXPECT_EQ(Range(f.z), (std::vector<double>{0, 3, 4}));
  EXPECT_EQ(rt::ToUtf8(f.colorLetter.value_or(u"?")), "w");

  SlopeFieldArgs s;
  ASSERT_EQ(ParseSlopeFieldArgs(u"PlotSlopeField[F,{-2,2,4}{-k,k,4}{0,1}{1,-k}G]", s), 0);
  EXPECT_EQ(FunctionName(s.fRecord), "F_");
  EXPECT_EQ(Range(s.y), (std::vector<double>{-3, 3, 4}));
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ((std::vector<double>{s.points[1][0], s.points[1][1], s.points[2][0], s.points[2][1]}),
            (std::vector<double>{0, 1, 1, -3}));
  EXPECT_EQ(rt::ToUtf8(s.colorLetter.value_or(u"?")), "G");
}

}  // namespace
}  // namespace ms::testing
