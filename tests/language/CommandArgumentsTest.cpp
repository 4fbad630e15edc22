#include <gtest/gtest.h>

#include "language/CommandArguments.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

class CommandArgumentsTest : public LanguageTest {
 protected:
  static void AddConstant(const rt::Text& name, const rt::Text& valueText) {
    int16_t msg = 0;
    const int16_t k = AppendConstant(msg);
    ASSERT_EQ(msg, 0);
    Tables.ConstTable[k].Name = name;
    Tables.ConstTable[k].ValueText = valueText;
  }
};

TEST_F(CommandArgumentsTest, ReadRangeValue) {
  AddConstant(u"a_", u"(2.5)");
  AddConstant(u"ab", u"(7)");
  AddConstant(u"a1", u"(-1.5)");
  AddConstant(u"c_", u"((4))");
  const struct {
    const char16_t* stmt;
    int16_t start;
    char16_t term;
    int16_t msg;
    double value;
    int16_t pos;  // where the reader leaves the position
  } cases[] = {{u"{-3,3}", 2, u',', 0, -3.0, 5},
               {u"{(1.5),2}", 2, u',', 0, 1.5, 8},
               {u"{-a,b}", 2, u',', 0, -2.5, 5},
               {u"{c}", 2, u'}', 0, 4.0, 4},
               {u"{,2}", 2, u',', 6097, 0, 2},
               {u"{1,2}", 9, u',', 333, 0, 9},
               {u"{Q,2}", 2, u',', 313, 0, 2},
               {u"{zz,2}", 2, u',', 339, 0, 4},
               {u"{ab2,2}", 2, u',', 1220, 7.0, 4},
               // The text ends before the terminator: never a number with message 0.
               {u"{1,25", 4, u'}', 333, 0, 4},
               {u"}", 1, u'}', 6097, 0, 1},
               {u"", 1, u',', 333, 0, 1},
               {u"{1,2}", 0, u',', 333, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stmt) + " at " + std::to_string(c.start));
    StatementReader reader(c.stmt, c.start);
    double value = 0;
    EXPECT_EQ(reader.ReadRangeValue(value, c.term), c.msg);
    EXPECT_EQ(reader.Pos(), c.pos);
    if (c.msg == 0 || c.msg == 1220) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

// The statement reader: each read at a 1-based position (an expected character, or a function
// identifier joined by the characters of the class), the identifier it gives, the message it
// returns and where it leaves the position.
TEST_F(CommandArgumentsTest, StatementReader) {
  const struct {
    const char16_t* stmt;
    int16_t start;
    char16_t expect;           // 0: read a function identifier
    rt::TextView joins = u"";  // its joining characters
    int16_t msg, pos;
    const char* id = "";
  } cases[] = {
      {u"Zero[F,{", 5, u'[', u"", 0, 6},
      {u"Zero(F,{", 5, u'[', u"", 77, 5},
      {u"Zero", 0, u'[', u"", 77, 0},  // before the start
      {u"[Fa,", 2, 0, kIdJoinsLower, 0, 4, "Fa"},
      {u"[F_,", 2, 0, kIdJoinsLower, 0, 3, "F_"},  // "_" does not join: it stays to be read
      {u"[F_,", 2, 0, kIdJoinsLowerOrUnderscore, 0, 4, "F_"},
      {u"[F1,", 2, 0, kIdJoinsLowerOrUnderscore, 0, 3, "F_"},
      {u"[F1,", 2, 0, kIdJoinsLowerDigitOrUnderscore, 0, 4, "F1"},
      {u"[F", 2, 0, kIdJoinsLower, 0, 3, "F_"},  // the identifier ends the text
      {u"[f,", 2, 0, kIdJoinsLower, 77, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stmt) + " at " + std::to_string(c.start));
    StatementReader reader(c.stmt, c.start);
    rt::Text id;
    EXPECT_EQ(c.expect != 0 ? reader.Expect(c.expect, 77) : reader.ReadFunctionId(id, 77, c.joins),
              c.msg);
    EXPECT_EQ(reader.Pos(), c.pos);
    EXPECT_EQ(U8(id), c.id);
  }
}

}  // namespace
}  // namespace ms
