#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
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
    MacroRec& m = Tables.MacroTable[++Tables.MacroCount];
    m.Header = header;
    m.Body = body;
    m.Name = header.substr(0, header.find(u'['));
  }
};

TEST_F(MathMacroTest, ApplyMacrosSubstitutesOrReports) {
  rt::Text builtIn;
  TokenizeNames(u"vAdd[A_,B_]", builtIn);
  AddMacro(u"vTally[a,b]", u"vAdd[a,vAdd[a,b]]");
  AddMacro(u"vTwice[p]", u"vTally[p,p]");
  AddMacro(u"vLoop[a]", u"vAdd[vLoop[a],a]");
  struct Case {
    rt::Text text;
    int16_t defined, msg;
    const char16_t* result;  // nullptr: the text unchanged
  } cases[] = {
      {builtIn, -1, 0, nullptr},  // a tokenised built-in operation is no macro call
      {u"vTally[A_,Bc]", -1, 0, u"vAdd[A_,vAdd[A_,Bc]]"},
      // A macro whose body calls another macro is expanded until nothing changes.
      {u"vTwice[Q_]", -1, 0, u"vAdd[Q_,vAdd[Q_,Q_]]"},
      // Arguments that are operations themselves stay whole.
      {u"vCross[vTally[A_,vUnit[B_]],C_]", -1, 0, u"vCross[vAdd[A_,vAdd[A_,vUnit[B_]]],C_]"},
      {u"vTally[vSum[A_],B_]", 0, 605, u""},  // the second call is unknown
      {u"vLoop[A_]", -1, 606, u""},           // a self-calling macro is refused, not looped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    rt::Text text;
    TokenizeNames(c.text, text);
    EXPECT_EQ(MacroCallsDefined(text), c.defined);
    rt::Text result = u"unchanged";
    EXPECT_EQ(c.msg, ApplyMacros(text, result));
    if (c.msg == 0) {
      EXPECT_EQ(U8(result), U8(c.result ? rt::Text(c.result) : c.text));
    }
  }
}

TEST_F(MathMacroTest, MalformedHeadersAndCalls) {
  struct Case {
    const char16_t* header;
    const char16_t* text;
    int16_t msg, found;
  } cases[] = {
      {u"vTally", u"vTally[A_]", 602, 0},          // no "["
      {u"vTally[a,b", u"vTally[A_]", 604, 0},      // no "]"
      {u"vTally[1,b]", u"vTally[A_,B_]", 665, 0},  // parameter is a digit
      {u"vTally[a,b]", u"vTally[A_]", 606, 0},     // too few arguments
      {u"vTally[a]", u"vTally[A_", 606, 0},        // call never closes
      {u"vTally[a]", u"vTallyx[A_]", 0, 0},        // a name inside a longer name is no call of it
      {u"vTally[a,b,c,d,e,f,g,h]", u"vTally[A_,B_,C_,D_,E_,F_,G_,H_]", 0, -1},  // 8 parameters
      {u"vTally[a,b,c,d,e,f,g,h,i]", u"vTally[A_,B_,C_,D_,E_,F_,G_,H_,I_]", 604, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.header) + " / " + U8(c.text));
    int16_t found = 0;
    EXPECT_EQ(c.msg, SubstituteMacroCall(c.text, c.header, found));
    EXPECT_EQ(c.found, found);
  }
}

TEST_F(MathMacroTest, ExpandMacrosRewritesOnlyTheCurrentVector) {
  AddMacro(u"vTally[a,b]", u"vAdd[a,b]");
  Tables.VecCount = 2;
  Tables.VecTable[1].DefText = u"vTally[P_,Q_]";
  Tables.VecTable[2].DefText = u"vTally[A_,B_]";
  EXPECT_EQ(0, ExpandMacros());
  EXPECT_EQ(U8(Tables.VecTable[1].DefText + u" " + Tables.VecTable[2].DefText),
            "vTally[P_,Q_] vAdd[A_,B_]");
}

}  // namespace
}  // namespace ms
