#include <gtest/gtest.h>

#include <set>

#include "RecordingUi.h"
#include "language/ClearStorage.h"
#include "language/Global.h"
#include "language/Messages.h"
#include "mathematics/Math.h"
#include "language/CompileCode.h"
#include "language/CommandRequests.h"
#include "language/Tokens.h"

namespace ms {
namespace {

using test::RecordingUi;

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

const rt::Text kFallbackTail =
    u" not found. Please contact author with error number to update description.";

TEST(MessagesTest, CatalogueHoldsEveryListedNumberOnceInOrder) {
  const auto cat = MessageCatalogue();
  EXPECT_EQ(cat.size(), 383u);
  EXPECT_EQ(cat.front().number, -1);
  EXPECT_EQ(cat.back().number, 6097);
  for (size_t k = 1; k < cat.size(); ++k) {
    SCOPED_TRACE(cat[k].number);
    EXPECT_LT(cat[k - 1].number, cat[k].number);
  }
  // Every text but 229's is non-empty and comes back unchanged through GetMessageText.
  RecordingUi ui;
  for (const MessageEntry& e : cat) {
    if (e.number == 229) continue;
    SCOPED_TRACE(e.number);
    EXPECT_FALSE(rt::Text(e.text).empty());
    EXPECT_EQ(U8(GetMessageText(e.number)), U8(e.text));
  }
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(MessagesTest, SharedTextsAndSpecialNumbers) {
  RecordingUi ui;
  const std::pair<int16_t, int16_t> shared[] = {
      {200, 210}, {1206, 1212}, {3611, 3612}, {5010, 6010}};
  for (auto [a, b] : shared) {
    SCOPED_TRACE(a);
    EXPECT_EQ(GetMessageText(a), GetMessageText(b));
  }
  // No other two numbers share a text.
  std::set<rt::Text> texts;
  for (const MessageEntry& e : MessageCatalogue()) {
    if (e.number != 229) texts.insert(e.text);
  }
  EXPECT_EQ(texts.size(), 383u - 1u - 4u);

  EXPECT_EQ(U8(GetMessageText(1300)), ".");
  const rt::Text t206 = GetMessageText(206);
  const long crlf = rt::InStr(t206, u"\r\n");
  ASSERT_GT(crlf, 0);
  EXPECT_EQ(U8(rt::Mid(t206, crlf + 2, 34)), "Check proper upper-lower spelling.");
  EXPECT_EQ(U8(GetMessageText(57)),
            "No ID found for the function, oheck reference prior to definition.");
  EXPECT_EQ(U8(GetMessageText(-1)),
            "Check for undefined constant ID or missing parameter definition.");
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(MessagesTest, Message229ShowsItsOwnBoxAndReturnsNothing) {
  RecordingUi ui;
  EXPECT_EQ(GetMessageText(229), u"");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].style, ui::kOkOnly);
  EXPECT_EQ(ui.boxes[0].title, u"");
  EXPECT_EQ(U8(ui.boxes[0].text),
            "Program overflow--likely cause: In non-vector expressions, parameters, in non-vector "
            "\r\nstatements, on Functions must be used. Ex: F{t} = Sqrt[A{t}] & NOT Sqrt[A]");
}

TEST(MessagesTest, FallbackForNumbersWithoutText) {
  RecordingUi ui;
  const struct {
    int16_t number;
    const char* digits;
  } cases[] = {{0, "0"},         {-2, "-2"},         {960, "960"},   {993, "993"},  {2100, "2100"},
               {32767, "32767"}, {-32768, "-32768"}, {6098, "6098"}, {1229, "1229"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(U8(GetMessageText(c.number)), std::string(" MSG # ") + c.digits + U8(kFallbackTail));
  }
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(MessagesTest, ProgramMessagesHaveTextsAndStayOutOfTheCatalogue) {
  // Every number the program raises beyond the catalogue, with a word its text must hold.
  const std::pair<int16_t, const char16_t*> cases[] = {
      {kMsgStatementsFull, u"Limit"}, {kMsgConstantsFull, u"Limit"}, {kMsgFunctionsFull, u"Limit"},
      {kMsgVectorsFull, u"Limit"},    {kMsgValuesFull, u"Limit"},    {kMsgCallsFull, u"Limit"},
      {kMsgIntegralListFull, u"Limit"}, {kMsgArgumentCount, u"parameters"},
      {kMsgExpressionTooLong, u"nested"}, {kMsgStackOverflow, u"too long"},
      {5085, u"division by zero"}};
  std::set<int16_t> listed;
  for (const MessageEntry& e : MessageCatalogue()) listed.insert(e.number);
  EXPECT_EQ(CapacityMessages().size(), std::size(cases));
  int16_t previous = 0;
  for (const MessageEntry& e : CapacityMessages()) {
    EXPECT_GT(e.number, previous) << "kept sorted for the look-up";
    previous = e.number;
  }
  for (const auto& [n, word] : cases) {
    SCOPED_TRACE(n);
    EXPECT_EQ(listed.count(n), 0u);
    const rt::Text text = GetMessageText(n);
    EXPECT_EQ(rt::InStr(text, u"not found. Please contact"), 0);
    EXPECT_NE(rt::InStr(text, word), 0);
  }
}

TEST(MessagesTest, DispErrorShowsStatementAndMessage) {
  ResetWorksheetTables();
  InitBuiltinNames();
  RecordingUi ui;
  const rt::Text sin = rt::Text(1, u'\u00C8') + u"[";
  struct Case {
    int16_t stmtNo;
    int16_t msgNo;
    rt::Text stmt;
    std::string expected;
  };
  const Case cases[] = {
      {3, 57, u"a_=G_{2}",
       "Statement # 3 : a=G{2}\r\n57 : No ID found for the function, oheck "
       "reference prior to definition."},
      {1, 1300, u"F_{x} = " + sin + u"x]", "Statement # 1 : F{x}=Sin[x]\r\n1300 : ."},
      {12, 960, u"", "Statement # 12 : \r\n960 :  MSG # 960" + U8(kFallbackTail)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    ui.boxes.clear();
    DispError(c.stmtNo, c.msgNo, c.stmt);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].style, ui::kExclamation);
    EXPECT_EQ(U8(ui.boxes[0].title), "Syntax Error");
    EXPECT_EQ(U8(ui.boxes[0].text), c.expected);
  }
  // 229: its own box first, then the error box with an empty message text.
  ui.boxes.clear();
  DispError(2, 229, u"x_=1");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(U8(ui.boxes[1].text), "Statement # 2 : x=1\r\n229 : ");
}

}  // namespace
}  // namespace ms
