#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "language/CommandRequests.h"
#include "language/WorksheetReader.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

// A pipeline that records every call. The check stores the statement with "!" appended (standing
// in for the checker's rewrite), so the later steps show that they receive the stored text. A
// step fails with its message when it meets the statement named for it; classification sets the
// abort flag when it meets abortOn.
struct Recorder {
  std::vector<std::string> calls;
  rt::Text failCheck, failClassify, failCompile, abortOn;
};
Recorder rec;

int16_t RecordCheck(rt::Text& statement, rt::Text& outText) {
  rec.calls.push_back("check " + U8(statement) + " #" + std::to_string(Tables.CurrentStmtNo));
  if (statement == rec.failCheck) {
    outText = u"checked:" + statement;
    return 218;
  }
  int16_t msgNo = 0;
  AppendStatement(Tables.CurrentStmtNo, statement + u"!", msgNo);
  return msgNo;
}
int16_t RecordClassify(rt::Text& statement) {
  rec.calls.push_back("classify " + U8(statement));
  if (statement == rec.abortOn + u"!") RunFlags.AbortRun = -1;
  return statement == rec.failClassify + u"!" ? 200 : 0;
}
int16_t RecordCompile(rt::Text& statement) {
  rec.calls.push_back("compile " + U8(statement));
  return statement == rec.failCompile + u"!" ? 501 : 0;
}

class WorksheetReaderTest : public LanguageTest {
 protected:
  void SetUp() override {
    LanguageTest::SetUp();
    rec = Recorder{};
    SetStatementPipeline({RecordCheck, RecordClassify, RecordCompile});
  }

  static int16_t Read(const rt::Text& sheet, rt::Text* stmtText = nullptr) {
    rt::Text text;
    int16_t msg = ProcessWorksheet(sheet, text);
    if (stmtText) *stmtText = text;
    return msg;
  }

  // The statements that reached the checker, in order.
  static std::vector<std::string> Checked() {
    std::vector<std::string> out;
    for (const std::string& c : rec.calls) {
      if (c.rfind("check ", 0) == 0) out.push_back(c.substr(6, c.find(" #") - 6));
    }
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
               {u"a=1 'x_y comment\r\nb=2\r\n", {"a=1", "b=2"}},
               {u"a=1 'last line comment", {"a=1"}},
               {u"::\r\n  \r\n", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.sheet));
    SetUp();
    EXPECT_EQ(Read(c.sheet), 0);
    EXPECT_EQ(Checked(), c.statements);
    for (size_t k = 1; k <= c.statements.size(); ++k)
      EXPECT_EQ(Tables.StatementList[k].StmtNo, static_cast<int16_t>(k));
  }
}

// The first message stops the run at statement 2 with the text the error box shows, the failing
// statement's; "_" outside a comment stops the reader itself with message 1 and its statement.
TEST_F(WorksheetReaderTest, StopsAtTheFirstMessage) {
  const rt::Text sheet = u"a=1\r\nbad=2\r\nc=3\r\n";
  const struct {
    const char* step;
    rt::Text sheet;
    int16_t msg;
    std::string stmtText;
    size_t calls;
  } cases[] = {{"check", sheet, 218, "checked:bad=2", 4},
               {"classify", sheet, 200, "bad=2!", 5},
               {"compile", sheet, 501, "bad=2!", 6},
               {"reader", u"a=1\r\nb_=2\r\nc=3\r\n", 1, "b_=2", 3},
               {"reader", u"a=1\r\nb\t_ =2:c=3\r\n", 1, "b_ =2", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    SetUp();
    const std::string step = c.step;
    rt::Text none;
    (step == "check"      ? rec.failCheck
     : step == "classify" ? rec.failClassify
     : step == "compile"  ? rec.failCompile
                          : none) = u"bad=2";
    rt::Text stmtText;
    EXPECT_EQ(Read(c.sheet, &stmtText), c.msg);
    EXPECT_EQ(U8(stmtText), c.stmtText);
    EXPECT_EQ(rec.calls.size(), c.calls);
    EXPECT_EQ(Tables.CurrentStmtNo, 2);
  }
}

// Events run after every classification, so that Esc is seen between any two statements; it
// stops the reading before the statement's compile. A statement ended by a comment lets events run
// but reads on; the next one stops.
TEST_F(WorksheetReaderTest, EventsRunAfterEveryStatementAndEscStopsTheReading) {
  const struct {
    const char* name;
    rt::Text sheet;
    long escAt;  // the event that takes Esc; 0 = none
    std::vector<std::string> checked;
    int compiled;
    long events;
  } cases[] = {
      {"no Esc", u"a=1\r\nb=2\r\nc=3:d=4\r\n", 0, {"a=1", "b=2", "c=3", "d=4"}, 4, 4},
      {"Esc after the second", u"a=1\r\nb=2\r\nc=3:d=4\r\n", 2, {"a=1", "b=2"}, 1, 2},
      {"Esc after the first", u"a=1\r\nb=2\r\n", 1, {"a=1"}, 0, 1},
      {"Esc after a commented one", u"a=1 'note\r\nb=2\r\nc=3\r\n", 1, {"a=1", "b=2"}, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    PressEscAtEvent(c.escAt);
    EXPECT_EQ(Read(c.sheet), 0);
    screen_.onDoEvents = nullptr;
    EXPECT_EQ(Checked(), c.checked);
    EXPECT_EQ(std::count_if(rec.calls.begin(), rec.calls.end(),
                            [](const std::string& call) { return call.rfind("compile ", 0) == 0; }),
              c.compiled);
    EXPECT_EQ(screen_.doEventsCount, c.events);
    RunFlags.AbortRun = 0;
  }
}

TEST_F(WorksheetReaderTest, LegendDirectives) {
  // Past ten directives the last entry is replaced; directives are not statements.
  rt::Text sheet;
  for (int k = 1; k <= 11; ++k)
    sheet += u"'@T" + rt::IntText(k) + u"@a" + rt::IntText(k % 10) + u"\r\n";
  EXPECT_EQ(Read(sheet + u"'@NoId\r\nx=1 'c@d\r\n"), 0);
  EXPECT_EQ(Checked(), std::vector<std::string>{"x=1"});
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
