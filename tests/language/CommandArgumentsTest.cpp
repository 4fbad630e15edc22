#include <gtest/gtest.h>

#include "language/CommandArguments.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using CommandArgumentsTest = LanguageTest;

// A range value read at a 1-based position up to its terminator: a parenthesised number, a
// constant's value negated, a name that runs on (1220, with the value read); where the reader
// leaves the position. The messages of a range shared by every command (6097, 313, 339) are
// checked with the commands.
TEST_F(CommandArgumentsTest, ReadRangeValue) {
  for (const auto& [name, valueText] : {std::pair{u"a_", u"(2.5)"}, {u"ab", u"(7)"}}) {
    int16_t msg = 0;
    ConstRec& k = Tables.ConstTable[AppendConstant(msg)];
    k.Name = name;
    k.ValueText = valueText;
  }
  const struct {
    const char16_t* stmt;
    int16_t start;
    char16_t term;
    int16_t msg;
    double value;
    int16_t pos;  // where the reader leaves the position
  } cases[] = {{u"{(1.5),2}", 2, u',', 0, 1.5, 8},
               {u"{-a,b}", 2, u',', 0, -2.5, 5},
               {u"{ab2,2}", 2, u',', 1220, 7.0, 4},
               // The text ends before the terminator: never a number with message 0.
               {u"{1,25", 4, u'}', 333, 0, 4},
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

}  // namespace
}  // namespace ms
