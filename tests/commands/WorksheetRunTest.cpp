// The parameter set, the end mark and the results listing over the worksheet tables a run leaves.
#include <gtest/gtest.h>

#include <string>

#include "commands/WorksheetRun.h"
#include "language/CommandRequests.h"
#include "platform/ui/ScriptedUiServices.h"
#include "support/ResultTables.h"
#include "support/WorksheetFixture.h"

namespace ms::testing {
namespace {

using WorksheetRun = ResultTables;

TEST_F(WorksheetRun, ParameterSet) {
  ms::Tables.ConstTable[2].Name = u"ax";
  ms::Tables.ConstTable[2].ValueText = u"( 2.5)";
  ms::Tables.ConstCount = 2;
  const struct {
    std::u16string stmt;
    int16_t msgNo;
    std::u16string appended;  // the value list entries appended, in order
  } cases[] = {
      {u"<t=3;u=ax;r=-2>", 0, u"t=3;u=2.5;r=-2"},
      {u"<t=-a>", 0, u"t=-5"},
      {u"<t=1,2>", 14, u"t=0"},
      {u"<T=3>", 14, u""},
      {u"<t=3", 14, u"t=0"},
      {u"<t=3;u=q>", 15, u"t=3;u=0"},
      {u"", 14, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.stmt));
    const int32_t top = ms::Tables.ValueTop;
    EXPECT_EQ(ms::SetUpParm(c.stmt), c.msgNo);
    rt::Text appended;
    for (int32_t k = top + 1; k <= ms::Tables.ValueTop; ++k) {
      const auto& entry = ms::Tables.ValueList[static_cast<size_t>(k)];
      appended += (k > top + 1 ? u";" : u"") + entry.Name + u"=" + rt::NumText(entry.Value);
    }
    EXPECT_EQ(rt::ToUtf8(appended), rt::ToUtf8(c.appended));
  }
  // A full value list: the full-table message, nothing written past the end.
  ms::Tables.ValueTop = ms::kMaxValueIndex;
  EXPECT_EQ(ms::SetUpParm(u"<t=3>"), ms::kMsgValuesFull);
  EXPECT_EQ(ms::AppendEndMark(), ms::kMsgValuesFull);
  EXPECT_EQ(ms::Tables.ValueTop, ms::kMaxValueIndex);
  // The parameter statement of a worksheet is its first one.
  for (const auto& s : {u"a_=1", u"<t=1>", u"F_{x}=x", u"<t=2>"})
    ms::Tables.StatementList[++ms::Tables.StatementCount].Text = s;
  EXPECT_EQ(ms::FindParameterStatement(), 2);
}

// The listing's layout, values and "undefined" marks are checked by the worksheet cases
// (tests/worksheets); counts outside the tables are not followed.
TEST_F(WorksheetRun, ListingIgnoresCountsOutsideTheTables) {
  ms::Tables.ConstCount = -3;
  ms::Tables.FuncCount = 30000;
  ms::Tables.VecCount = 30000;
  EXPECT_GE(ms::ResultsListing(8).size(), 4u);
}

// Every record of the listing polls for Esc, sixteen to a run of events: Esc cuts the listing
// short after the records listed so far.
TEST_F(WorksheetRun, EscCutsTheListingShort) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  auto& t = ms::Tables;
  t.ConstCount = 40;
  for (int i = 2; i <= 40; ++i) {
    t.ConstTable[i].Name = u"c" + rt::IntText(i % 10);
    t.ConstTable[i].ValueText = u"(1)";
  }
  const size_t full = ms::ResultsListing(8).size();
  EXPECT_EQ(screen.doEventsCount, 3);  // at records 1, 17 and 33 of 48
  for (const long escAt : {1L, 2L}) {
    SCOPED_TRACE(escAt);
    screen.doEventsCount = 0;
    screen.onDoEvents = [&] {
      if (screen.doEventsCount == escAt) ms::RunFlags.AbortRun = -1;
    };
    const std::vector<rt::Text> lines = ms::ResultsListing(8);
    ms::RunFlags.AbortRun = 0;
    EXPECT_EQ(screen.doEventsCount, escAt);
    // The heading, then two lines for each constant before the record that took Esc.
    ASSERT_EQ(lines.size(), 1 + 2 * 16 * static_cast<size_t>(escAt - 1));
    EXPECT_LT(lines.size(), full);
  }
  ui::SetUi(nullptr);
}

using ReadingTest = WorksheetTest;

// The first message stops the reading at statement 2 with the text the error box shows: the
// checker's for a statement it refuses, otherwise the stored (tokenised) statement. Statement 1 was
// checked, classified and compiled; statement 3 is never read.
TEST_F(ReadingTest, StopsAtTheFirstMessage) {
  const struct {
    const char* step;
    const char16_t* bad;
    int16_t msg;
    std::string stmtText;
    int stored;  // statements stored: the checker stores only what it accepts
  } cases[] = {{"check", u"a=(1", 263, "a=(1", 1},
               {"classify and run", u"Plot[A,{t,1,1,4}]", 338, "Plot[A,{t,1,1,4}]", 2},
               {"compile", u"F{x}=G{x}", 502, "F_{x}=G_{x}", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    SetUp();
    const rt::Text sheet = u"A<t>=<t,2*t,0>\r\n" + rt::Text(c.bad) + u"\r\nc=3\r\n";
    rt::Text stmtText;
    EXPECT_EQ(ProcessWorksheet(sheet, stmtText), c.msg);
    EXPECT_EQ(rt::ToUtf8(stmtText), c.stmtText);
    EXPECT_EQ(Tables.CurrentStmtNo, 2);
    EXPECT_EQ(Tables.StatementCount, c.stored);
    EXPECT_EQ(Tables.StatementList[static_cast<size_t>(c.stored)].StmtNo, c.stored);
  }
}

// Events run after every classification, so that Esc is seen between any two statements; it
// stops the reading before the statement's compile (the statement number stays on it). A
// statement ended by a comment lets events run but reads on; the next one stops.
TEST_F(ReadingTest, EventsRunAfterEveryStatementAndEscStopsTheReading) {
  const struct {
    const char* name;
    const char16_t* sheet;
    long escAt;  // the event that takes Esc; 0 = none
    int checked;
    int compiled;
  } cases[] = {
      {"no Esc", u"F{x}=1\r\nG{x}=2\r\nH{x}=3:K{x}=4\r\n", 0, 4, 4},
      {"Esc after the second", u"F{x}=1\r\nG{x}=2\r\nH{x}=3:K{x}=4\r\n", 2, 2, 1},
      {"Esc after the first", u"F{x}=1\r\nG{x}=2\r\n", 1, 1, 0},
      {"Esc after a commented one", u"F{x}=1 'note\r\nG{x}=2\r\nH{x}=3\r\n", 1, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    PressEscAtEvent(c.escAt);
    rt::Text stmtText;
    EXPECT_EQ(ProcessWorksheet(c.sheet, stmtText), 0);
    screen_.onDoEvents = nullptr;
    EXPECT_EQ(Tables.StatementCount, c.checked);
    EXPECT_EQ(Tables.CurrentStmtNo, c.compiled + 1);
    EXPECT_EQ(screen_.doEventsCount, c.checked);
    RunFlags.AbortRun = 0;
  }
}

}  // namespace
}  // namespace ms::testing
