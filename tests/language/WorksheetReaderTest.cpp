#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/WorksheetReader.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

class WorksheetReaderTest : public LanguageTest {
 protected:
  // Reads the whole sheet: the statements yielded, in order; a statement ended by a comment is
  // marked with a trailing "'" (it cannot stop the reading on Esc).
  static std::vector<std::string> Read(const rt::Text& sheet, int16_t* msgNo = nullptr,
                                       rt::Text* stmtText = nullptr) {
    WorksheetStatements reader(sheet);
    std::vector<std::string> out;
    rt::Text statement;
    bool abortable = false;
    while (reader.Next(statement, abortable)) out.push_back(U8(statement) + (abortable ? "" : "'"));
    if (msgNo) *msgNo = reader.MsgNo();
    if (stmtText) *stmtText = reader.StmtText();
    return out;
  }
};

TEST_F(WorksheetReaderTest, SplitsTheWorksheetIntoStatements) {
  const struct {
    const char16_t* sheet;
    std::vector<std::string> statements;
  } cases[] = {{u"m=2\r\n\r\n'only a comment\r\nn=3\r\n", {"m=2", "n=3"}},
               {u"a=1\r\nb=2", {"a=1"}},  // a last line without a line break is not read
               {u"y=(-3)\r\ny=-3\r\n", {"y=(0-3)", "y=-3"}},
               {u"a=1 'x_y comment\r\nb=2\r\n", {"a=1'", "b=2"}},
               {u"a=1 'last line comment", {"a=1'"}},
               {u"a=1:b=2\rc=3\r\n", {"a=1", "b=2", "c=3"}},
               {u"::\r\n  \r\n", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.sheet));
    SetUp();
    int16_t msgNo = -1;
    EXPECT_EQ(Read(c.sheet, &msgNo), c.statements);
    EXPECT_EQ(msgNo, 0);
  }
}

// "_" outside a comment stops the reader with message 1 and its statement as far as its end.
TEST_F(WorksheetReaderTest, UnderscoreStopsTheReading) {
  const struct {
    const char16_t* sheet;
    std::vector<std::string> before;
    std::string stmtText;
  } cases[] = {{u"a=1\r\nb_=2\r\nc=3\r\n", {"a=1"}, "b_=2"},
               {u"a=1\r\nb\t_ =2:c=3\r\n", {"a=1"}, "b_ =2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.sheet));
    int16_t msgNo = 0;
    rt::Text stmtText;
    EXPECT_EQ(Read(c.sheet, &msgNo, &stmtText), c.before);
    EXPECT_EQ(msgNo, 1);
    EXPECT_EQ(U8(stmtText), c.stmtText);
  }
}

TEST_F(WorksheetReaderTest, LegendDirectives) {
  // Past ten directives the last entry is replaced; directives are not statements.
  rt::Text sheet;
  for (int k = 1; k <= 11; ++k)
    sheet += u"'@T" + rt::IntText(k) + u"@a" + rt::IntText(k % 10) + u"\r\n";
  EXPECT_EQ(Read(sheet + u"'@NoId\r\nx=1 'c@d\r\n"), std::vector<std::string>{"x=1'"});
  EXPECT_EQ(Tables.SelectValueCount, 10);
  EXPECT_EQ(U8(Tables.SelectValueText[9]), "T9");
  // The directive without a second "@" replaced the text of entry 10, up to the end of its line,
  // and kept the 11th's id.
  EXPECT_EQ(U8(Tables.SelectValueText[10]), "NoId");
  EXPECT_EQ(U8(Tables.SelectValueId[10]), "a1");
}

// Rules that look two characters ahead stop at the end of the text ("y=A.").
TEST(InsertImplicitMultiplyTest, Rules) {
  const std::pair<const char16_t*, const char*> cases[] = {{u"F{x}=2x(x+1)", "F{x}=2*x(x+1)"},
                                                           {u"y=2Ex{t}", "y=2*Ex{t}"},
                                                           {u"A<t>=<B.x,2t,0>", "A<t>=<B.x,2*t,0>"},
                                                           {u"y=a(b)", "y=a*(b)"},
                                                           {u"y=F{x}2", "y=F{x}*2"},
                                                           {u"y=a1b", "y=a1*b"},
                                                           {u"y=.5x", "y=.5*x"},
                                                           {u"y=2.", "y=2."},
                                                           {u"y=A.", "y=A."},
                                                           {u"y=(a)(b)", "y=(a)*(b)"},
                                                           {u"y=(a)b(c)", "y=(a)*b*(c)"},
                                                           {u"y=F{x}(a)", "y=F{x}*(a)"},
                                                           {u"y=Sin[x](a)", "y=Sin[x]*(a)"},
                                                           {u"y=Sin[x]2", "y=Sin[x]*2"},
                                                           {u"y=2E3", "y=2E3"},
                                                           {u"y=2E-3x", "y=2E-3*x"},
                                                           {u"y=2Ea{t}", "y=2*Ea{t}"},
                                                           {u"y=(a)F{x}", "y=(a)*F{x}"},
                                                           {u"y=ab2x", "y=ab2*x"}};
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(U8(in));
    EXPECT_EQ(U8(InsertImplicitMultiply(in)), out);
  }
}

}  // namespace
}  // namespace ms
