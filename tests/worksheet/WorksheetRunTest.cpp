#include <gtest/gtest.h>

#include <array>

#include "ResultTables.h"
#include "worksheet/WorksheetRun.h"

namespace ws::testing {
namespace {

using WorksheetRun = ResultTables;

TEST_F(WorksheetRun, ParameterSet) {
  ms::Tables.ConstTable[2].Name = u"ax";
  ms::Tables.ConstTable[2].ValueText = u"( 2.5)";
  ms::Tables.ConstCount = 2;
  struct Case {
    std::u16string stmt;
    int16_t msgNo;
    std::vector<std::pair<std::u16string, double>> values;  // appended entries, in order
  } cases[] = {
      {u"<t=3;u=ax;r=-2>", 0, {{u"t", 3}, {u"u", 2.5}, {u"r", -2}}},
      {u"<t=-a>", 0, {{u"t", -5}}},
      {u"<t=.5E1>", 0, {{u"t", 5}}},
      {u"<t=1,2>", 14, {{u"t", 0}}},
      {u"<t=3;>", 14, {{u"t", 3}}},
      {u"<T=3>", 14, {}},
      {u"<t=3", 14, {{u"t", 0}}},
      {u"<t=a+1>", 14, {{u"t", 0}}},
      {u"<t=3;u=q>", 15, {{u"t", 3}, {u"u", 0}}},
      {u"", 14, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.stmt));
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
  // A full value list: the full-table message, nothing written past the end.
  ms::Tables.ValueTop = ms::kMaxValueIndex;
  int16_t msgNo = 0;
  ws::SetUpParm(u"<t=3>", msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
  ws::AppendEndMark(msgNo);
  EXPECT_EQ(msgNo, ms::kMsgValuesFull);
  EXPECT_EQ(ms::Tables.ValueTop, ms::kMaxValueIndex);
}

TEST_F(WorksheetRun, EndMarkAndParameterStatement) {
  int16_t msgNo = -1;
  ws::AppendEndMark(msgNo);
  EXPECT_EQ(msgNo, 0);
  EXPECT_EQ(ms::Tables.ValueList[static_cast<size_t>(ms::Tables.ValueTop)].Name, u"#");
  EXPECT_EQ(ws::FindParameterStatement(), 0);
  for (const auto& s : {u"a_=1", u"<t=1>", u"F_{x}=x", u"<t=2>"}) {
    ms::Tables.StatementList[++ms::Tables.StatementCount].Text = s;
  }
  EXPECT_EQ(ws::FindParameterStatement(), 2);  // the first one only
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
  const std::vector<std::u16string> lines = ws::ResultsListing(4);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(rt::ToUtf8(lines[i]), rt::ToUtf8(expected[i])) << i;
  }
  // A function whose evaluation failed says so instead of showing its old value.
  std::vector<bool> undefined(7, false);
  undefined[1] = true;
  EXPECT_EQ(rt::ToUtf8(ws::ResultsListing(4, &undefined)[5]), "F :  undefined");
  // Counts outside the tables are not followed.
  ms::Tables.ConstCount = -3;
  ms::Tables.FuncCount = 30000;
  ms::Tables.VecCount = 30000;
  EXPECT_GE(ws::ResultsListing(8).size(), 4u);
}

TEST_F(WorksheetRun, PlotVectorsFillPlotSpec) {
  struct Case {
    std::vector<std::u16string> vectors;
    int16_t failMark;
    std::array<int32_t, 6> plotSpec;  // entries 0..5
  } cases[] = {
      {{u"A_"}, 0, {2, 3, 4, 0, 0, 0}},
      {{u"A_", u"A_"}, 0, {2, 3, 4, 2, 3, 4}},
      {{u"D_"}, 13, {0, 0, 0, 0, 0, 0}},
      {{u"A_", u"B_"}, 13, {2, 3, 4, 0, 0, 0}},
      {std::vector<std::u16string>(7, u"A_"), 13, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vectors.size());
    ms::ResetPlotRequest();
    for (const auto& v : c.vectors) {
      ms::PlotRequest.PlotVectorList[++ms::PlotRequest.PlotVectorCount] = v;
    }
    int16_t failMark = -1;
    ws::CheckPlotVectors(failMark);
    EXPECT_EQ(failMark, c.failMark);
    for (size_t i = 0; i < c.plotSpec.size(); ++i) {
      EXPECT_EQ(ms::PlotRequest.PlotSpec[i], c.plotSpec[i]) << i;
    }
  }
}

}  // namespace
}  // namespace ws::testing
