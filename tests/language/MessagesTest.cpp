#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Simplify.h"
#include "language/Tokens.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

using MessagesTest = LanguageTest;

const std::string kFallbackTail =
    " not found. Please contact author with error number to update description.";

// Every listed number once, in ascending order, found with its own non-empty text;
// nothing is shown while the texts are read.
TEST_F(MessagesTest, CatalogueHoldsEveryNumberOnceInOrder) {
  const auto cat = MessageCatalogue();
  ASSERT_EQ(cat.size(), 414u);
  for (size_t k = 0; k < cat.size(); ++k) {
    SCOPED_TRACE(cat[k].number);
    EXPECT_TRUE(k == 0 || cat[k - 1].number < cat[k].number);
    if (cat[k].number == 229) continue;  // its text is a box of its own
    EXPECT_FALSE(rt::Text(cat[k].text).empty());
    EXPECT_EQ(U8(GetMessageText(cat[k].number)), U8(cat[k].text));
  }
  // The texts of their own and the fallback for a number not listed.
  const struct {
    int16_t number;
    std::string text;
  } cases[] = {{1300, "."},
               {57, "No ID found for the function, oheck reference prior to definition."},
               {-1, "Check for undefined constant ID or missing parameter definition."},
               {6098, " MSG # 6098" + kFallbackTail}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(U8(GetMessageText(c.number)), c.text);
  }
  EXPECT_TRUE(screen_.boxes.empty());
}

// Every number the program raises beyond the catalogue has a text holding the given word.
TEST_F(MessagesTest, ProgramMessagesHaveTheirOwnTexts) {
  const std::pair<int16_t, const char16_t*> cases[] = {
      {kMsgStatementsFull, u"Limit"},     {kMsgConstantsFull, u"Limit"},
      {kMsgFunctionsFull, u"Limit"},      {kMsgVectorsFull, u"Limit"},
      {kMsgValuesFull, u"Limit"},         {kMsgCallsFull, u"Limit"},
      {360, u"at most six vectors"},      {kMsgIntegralListFull, u"Limit"},
      {kMsgArgumentCount, u"parameters"}, {kMsgExpressionTooLong, u"nested"},
      {kMsgStackOverflow, u"too long"},   {kMsgSimplifyTooLong, u"simplify"},
      {1234, u"at most 10 start points"}, {1422, u"two parameters"},
      {3614, u"{error,segment}"},         {5085, u"division by zero"}};
  ASSERT_EQ(CapacityMessages().size(), std::size(cases));
  for (const auto& [n, word] : cases) {
    SCOPED_TRACE(n);
    const rt::Text text = GetMessageText(n);
    EXPECT_EQ(rt::InStr(text, u"not found. Please contact"), 0);
    EXPECT_NE(rt::InStr(text, word), 0);
  }
}

// Every message number the sources can raise has a text of its own, never the fallback. The
// numbers are read from the sources as they are written: named message constants (kMsg... = n),
// literal returns and assignments to a message variable, numbers handed to the statement reader's
// checks and to DispError, tables of {text, number} and the arms of a conditional.
TEST_F(MessagesTest, EveryNumberTheSourcesRaiseHasAText) {
  const std::regex patterns[] = {
      std::regex(R"(\bkMsg\w*\s*=\s*(-?\d+)\s*;)"),
      std::regex(R"(\breturn\s+(-?\d{2,5})\s*;)"),
      std::regex(R"(\b\w*[mM]sg\w*\s*=\s*(-?\d+)\s*;)"),
      std::regex(R"(\b(?:Expect|ReadFunctionId|ReadIdentifier|ReadRange|CheckRanges|PopFrom|)"
                 R"(DispError)\([^;]*?,\s*(\d{2,5})\s*[,)])"),
      std::regex(R"(\{u"[^"]*",\s*(\d{3,5})\})"),
      std::regex(R"(\?\s*(\d{3,5})\s*:)"),
      std::regex(R"(:\s*(\d{3,5})\s*;)")};
  const std::regex comment(R"(//.*$)");
  std::map<int, std::string> raised;  // number -> where it was first seen
  for (const auto& entry : std::filesystem::recursive_directory_iterator(MATHSHEET_SOURCE_DIR)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    if (entry.path().filename() == "Messages.cpp") continue;
    std::ifstream in(entry.path());
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
      // Only a line with a digit can raise a number; the patterns are slow under the sanitizers.
      if (std::ranges::none_of(line, [](char c) { return c >= '0' && c <= '9'; })) continue;
      line = std::regex_replace(line, comment, "");
      for (const std::regex& pattern : patterns)
        for (std::sregex_iterator it(line.begin(), line.end(), pattern), end; it != end; ++it)
          raised.try_emplace(std::stoi((*it)[1]),
                             entry.path().filename().string() + ":" + std::to_string(lineNo));
    }
  }
  // The scan finds the numbers of every folder, each kind of site among them.
  ASSERT_GT(raised.size(), 250u);
  for (int known : {57, 267, 287, 427, 993, 2110, 3990, 5085, 6030, 6092})
    EXPECT_EQ(raised.count(known), 1u) << known;
  const auto hasText = [](int n) {
    for (auto table : {MessageCatalogue(), CapacityMessages()})
      if (std::any_of(table.begin(), table.end(), [n](const MessageEntry& e) {
            return e.number == n && (n == 229 || rt::Text(e.text).size() > 0);
          }))
        return true;
    return false;
  };
  for (const auto& [n, where] : raised) {
    if (n != 0) {
      EXPECT_TRUE(hasText(n)) << n << " raised at " << where;
    }
  }
}

TEST_F(MessagesTest, DispErrorShowsStatementAndMessage) {
  // The statement is shown as typed: names unpadded, built-in names spelled out.
  DispError(1, 1300, u"F_{x} = " + Tok(u"Sin[") + u"x]");
  ASSERT_EQ(screen_.boxes.size(), 1u);
  EXPECT_EQ(U8(screen_.boxes[0].text), "Statement # 1 : F{x}=Sin[x]\r\n1300 : .");
  // 229 shows its own box first (its text comes back empty), then the error box.
  screen_.boxes.clear();
  DispError(2, 229, u"x_=1");
  ASSERT_EQ(screen_.boxes.size(), 2u);
  EXPECT_EQ(U8(screen_.boxes[0].text),
            "Program overflow--likely cause: In non-vector expressions, parameters, in non-vector "
            "\r\nstatements, on Functions must be used. Ex: F{t} = Sqrt[A{t}] & NOT Sqrt[A]");
  EXPECT_EQ(U8(screen_.boxes[1].text), "Statement # 2 : x=1\r\n229 : ");
}

}  // namespace
}  // namespace ms
