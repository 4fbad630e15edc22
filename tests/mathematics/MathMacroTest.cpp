#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Global.h"
#include "language/Tokens.h"
#include "mathematics/MathMacro.h"

namespace ms {
namespace {

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

class MathMacroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
    ResetMacroState();
  }
  void AddMacro(const rt::Text& header, const rt::Text& body) {
    Tables.MacroCount += 1;
    MacroRec& m = Tables.MacroTable[Tables.MacroCount];
    m.Header = header;
    m.Body = body;
    m.Name = header.substr(0, header.find(u'['));
  }
};

TEST_F(MathMacroTest, CallsDefinedAgainstTable) {
  AddMacro(u"vTally[a,b]", u"vAdd[a,b]");
  struct Case {
    const char16_t* text;
    int16_t expected;
  } cases[] = {
      {u"vTally[A_,B_]", -1},       // known macro
      {u"\u00D8[A_,B_]", -1},       // a tokenised built-in operation is no macro call
      {u"vAdd[A_,B_]", 0},          // spelled out, a built-in name reads as a call
      {u"<t,t,0>", -1},             // no call at all
      {u"vTally[vSum[A_],B_]", 0},  // the second call is unknown
      {u"vSum[A_,B_]", 0},          // unknown
      {u"vTallyx[A_,B_]", 0},       // the name reaches up to "["
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    EXPECT_EQ(MacroCallsDefined(c.text), c.expected);
  }
}

TEST_F(MathMacroTest, EmptyTableReportsEveryCallAndKeepsOtherTexts) {
  rt::Text tokens;
  TokenizeNames(u"vAdd[A_,B_]", tokens);
  struct Case {
    rt::Text text;
    int16_t msg;
    rt::Text result;
  } cases[] = {
      {tokens, 0, tokens},  // nothing substituted: the text as it was, tokens included
      {u"vTally[A_,B_]", 605, u""},
      {u"<t,2*t,0>", 0, u"<t,2*t,0>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text result = u"unchanged";
    int16_t msg = 0;
    ApplyMacros(c.text, result, msg);
    EXPECT_EQ(msg, c.msg);
    if (c.msg == 0) {
      EXPECT_EQ(U8(result), U8(c.result));
    }
  }
}

TEST_F(MathMacroTest, SubstitutesCallsWithArguments) {
  AddMacro(u"vTally[a,b]", u"vAdd[a,vAdd[a,b]]");
  AddMacro(u"vTwice[p]", u"vTally[p,p]");
  struct Case {
    const char16_t* text;
    const char16_t* expected;
  } cases[] = {
      {u"vTally[A_,Bc]", u"vAdd[A_,vAdd[A_,Bc]]"},
      // A macro whose body calls another macro is expanded until nothing changes.
      {u"vTwice[Q_]", u"vAdd[Q_,vAdd[Q_,Q_]]"},
      // Arguments that are operations themselves stay whole.
      {u"vCross[vTally[A_,vUnit[B_]],C_]", u"vCross[vAdd[A_,vAdd[A_,vUnit[B_]]],C_]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text tokens;
    TokenizeNames(c.text, tokens);
    rt::Text result;
    int16_t msg = -5;
    ApplyMacros(tokens, result, msg);
    EXPECT_EQ(msg, 0);
    EXPECT_EQ(U8(result), U8(c.expected));
  }
}

TEST_F(MathMacroTest, MalformedHeadersAndCalls) {
  struct Case {
    const char16_t* header;
    const char16_t* text;
    int16_t msg;
  } cases[] = {
      {u"vTally", u"vTally[A_]", 602},          // no "["
      {u"vTally[a,b", u"vTally[A_]", 604},      // no "]"
      {u"vTally[ab]", u"vTally[A_]", 604},      // "]" at an odd place
      {u"vTally[a;b]", u"vTally[A_,B_]", 604},  // separator is not a comma
      {u"vTally[1,b]", u"vTally[A_,B_]", 665},  // parameter is a digit
      {u"vTally[a,b]", u"vTally[A_]", 606},     // too few arguments
      {u"vTally[a]", u"vTally[A_,B_]", 606},    // too many arguments
      {u"vTally[a]", u"vTally[A_", 606},        // call never closes
      {u"vTally[a]", u"vTally", 606},           // name without "["
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.header) + " / " + U8(c.text));
    rt::Text text = c.text;
    int16_t found = 0;
    int16_t msg = 0;
    SubstituteMacroCall(text, c.header, found, msg);
    EXPECT_EQ(msg, c.msg);
    EXPECT_EQ(found, 0);
  }
}

TEST_F(MathMacroTest, SubstituteFillsArgumentPairs) {
  rt::Text text = u"vSub[vTally[A_,vUnit[B_],Cd],E_]";
  int16_t found = 0;
  int16_t msg = 0;
  SubstituteMacroCall(text, u"vTally[a,b,c]", found, msg);
  ASSERT_EQ(msg, 0);
  EXPECT_EQ(found, -1);
  const char16_t* expected[][2] = {{u"a", u"A_"}, {u"b", u"vUnit[B_]"}, {u"c", u"Cd"}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(U8(Macros.MacroArgPairs[k + 1].Placeholder), U8(expected[k][0]));
    EXPECT_EQ(U8(Macros.MacroArgPairs[k + 1].Argument), U8(expected[k][1]));
  }
  EXPECT_TRUE(Macros.MacroArgPairs[4].Placeholder.empty());
  EXPECT_EQ(Macros.CallStart, 6);
  EXPECT_EQ(U8(text.substr(Macros.CallStart - 1, Macros.CallLength)), "vTally[A_,vUnit[B_],Cd]");

  // A name inside a longer name is no call of it.
  rt::Text other = u"vTallyx[A_]";
  SubstituteMacroCall(other, u"vTally[a]", found, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(found, 0);
}

TEST_F(MathMacroTest, SelfCallingMacroIsRefusedNotLooped) {
  AddMacro(u"vLoop[a]", u"vAdd[vLoop[a],a]");
  rt::Text result;
  int16_t msg = 0;
  ApplyMacros(u"vLoop[A_]", result, msg);
  EXPECT_EQ(msg, 606);
}

TEST_F(MathMacroTest, ExpandMacrosRewritesCurrentVector) {
  AddMacro(u"vTally[a,b]", u"vAdd[a,b]");
  Tables.VecCount = 2;
  Tables.VecTable[1].DefText = u"vTally[P_,Q_]";
  Tables.VecTable[2].DefText = u"vTally[A_,B_]";
  int16_t msg = 0;
  ExpandMacros(msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(U8(Tables.VecTable[2].DefText), "vAdd[A_,B_]");
  EXPECT_EQ(U8(Tables.VecTable[1].DefText), "vTally[P_,Q_]");

  Tables.VecTable[2].DefText = u"vNone[A_]";
  ExpandMacros(msg);
  EXPECT_EQ(msg, 605);
  EXPECT_EQ(U8(Tables.VecTable[2].DefText), "vNone[A_]");
}

}  // namespace
}  // namespace ms
