#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "language/Utilities.h"

namespace ms {
namespace {

class UtilitiesTest : public LanguageTest {
 protected:
  static void AddConstant(const rt::Text& name, const rt::Text& valueText) {
    int16_t msg = 0;
    const int16_t k = AppendConstant(msg);
    ASSERT_EQ(msg, 0);
    Tables.ConstTable[k].Name = name;
    Tables.ConstTable[k].ValueText = valueText;
  }
};

// The first record with exactly that name; 57 (function) or 339 (constant) when there is none.
TEST_F(UtilitiesTest, FindFunctionAndRangeConstant) {
  for (const auto& [name, parm] : {std::pair{u"F_", u"x"}, {u"Ga", u"t"}, {u"F_", u"y"}}) {
    int16_t msg = 0;
    const int16_t k = AppendFunction(msg);
    Tables.FuncTable[k].Name = name;
    Tables.FuncTable[k].Parm1 = parm;
  }
  AddConstant(u"a_", u"(1)");
  AddConstant(u"ab", u"(2)");
  const struct {
    const char16_t* id;
    int16_t funcIndex, funcMsg;
    const char* parm;
    int16_t constIndex, constMsg;
  } cases[] = {{u"F_", 1, 0, "x", 77, 339}, {u"Ga", 2, 0, "t", 77, 339},
               {u"F", 77, 57, "", 77, 339}, {u"a_", 77, 57, "", 1, 0},
               {u"ab", 77, 57, "", 2, 0},   {u"", 77, 57, "", 77, 339}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.id));
    rt::Text parm = u"stale";
    int16_t index = 77, msg = -5;
    FindFunction(c.id, parm, index, msg);
    EXPECT_EQ(msg, c.funcMsg);
    EXPECT_EQ(index, c.funcIndex);
    EXPECT_EQ(U8(parm), c.parm);
    index = 77;
    FindRangeConstant(c.id, index, msg);
    EXPECT_EQ(msg, c.constMsg);
    EXPECT_EQ(index, c.constIndex);
  }
}

TEST_F(UtilitiesTest, ParseRangeValue) {
  AddConstant(u"a_", u"(2.5)");
  AddConstant(u"ab", u"(7)");
  AddConstant(u"a1", u"(-1.5)");
  AddConstant(u"c_", u"((4))");
  const struct {
    const char16_t* stmt;
    int16_t start;
    const char16_t* term;
    int16_t msg;
    double value;
    int16_t pos;  // where the reader leaves the position
  } cases[] = {{u"{-3,3}", 2, u",", 0, -3.0, 5},
               {u"{(1.5),2}", 2, u",", 0, 1.5, 8},
               {u"{-a,b}", 2, u",", 0, -2.5, 5},
               {u"{c}", 2, u"}", 0, 4.0, 4},
               {u"{,2}", 2, u",", 6097, 0, 2},
               {u"{1,2}", 9, u",", 333, 0, 9},
               {u"{Q,2}", 2, u",", 313, 0, 2},
               {u"{zz,2}", 2, u",", 339, 0, 4},
               {u"{ab2,2}", 2, u",", 1220, 7.0, 4},
               // The text ends before the terminator: never a number with message 0.
               {u"{1,25", 4, u"}", 333, 0, 4},
               {u"}", 1, u"}", 6097, 0, 1},
               {u"", 1, u",", 333, 0, 1},
               {u"{1,2}", 0, u",", 333, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stmt) + " at " + std::to_string(c.start));
    int16_t pos = c.start, msg = -5;
    double value = 0;
    ParseRangeValue(c.stmt, pos, value, c.term, msg);
    EXPECT_EQ(msg, c.msg);
    EXPECT_EQ(pos, c.pos);
    if (c.msg == 0 || c.msg == 1220) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

TEST_F(UtilitiesTest, TextHelpers) {
  const std::pair<const char16_t*, const char*> minus[] = {
      {u"F{x}=(-x)*(-1)", "F{x}=(0-x)*(0-1)"}, {u"y = ( - 3 )", "y=(0-3)"}, {u"(-", "(0-"}};
  for (const auto& [in, want] : minus) {
    SCOPED_TRACE(U8(in));
    rt::Text out = u"stale";
    FixLeadingMinus(in, out);
    EXPECT_EQ(U8(out), want);
  }
  // One character replaced inside the text; positions outside it change nothing.
  const struct {
    const char16_t* text;
    int32_t pos;
    const char16_t* insert;
    const char* out;
  } splices[] = {{u"abc", 1, u"XY", "XYbc"}, {u"abc", 3, u"", "ab"},    {u"abc", 0, u"X", "abc"},
                 {u"abc", 4, u"X", "abc"},   {u"abc", -7, u"X", "abc"}, {u"", 1, u"X", ""}};
  for (const auto& c : splices) {
    SCOPED_TRACE(U8(c.text) + " " + std::to_string(c.pos));
    rt::Text t = c.text;
    SpliceString(t, c.pos, c.insert);
    EXPECT_EQ(U8(t), c.out);
    EXPECT_EQ(U8(ReplaceCharAt(c.text, static_cast<int16_t>(c.pos), c.insert)), c.out);
  }
  const std::pair<const char16_t*, const char*> titles[] = {
      {u"C:\\plots\\curve1.bmp", "curve1"}, {u"C:\\dir.x\\name", "name"}, {u"C:\\plots\\", ""}};
  for (const auto& [path, title] : titles) {
    SCOPED_TRACE(U8(path));
    EXPECT_EQ(U8(FileTitleNoExt(path)), title);
  }
}

TEST_F(UtilitiesTest, DrawProgress) {
  const struct {
    int16_t total, done, totalAfter;
    double fraction;
  } cases[] = {{0, 0, 1, 0.0}, {-3, 5, 1, 0.0}, {4, 1, 4, 0.25}, {4, 6, 4, 0.5}, {10, -3, 10, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.total) + "/" + std::to_string(c.done));
    screen_.progress.clear();
    int16_t total = c.total;
    DrawProgress(kGraphProgressBar, total, c.done);
    EXPECT_EQ(total, c.totalAfter);
    ASSERT_EQ(screen_.progress.size(), 1u);
    EXPECT_EQ(U8(screen_.progress[0].bar), "Picture1");
    EXPECT_DOUBLE_EQ(screen_.progress[0].fraction, c.fraction);
  }
}

}  // namespace
}  // namespace ms
