#include <gtest/gtest.h>

#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Macros.h"

namespace ms {
namespace {

class MacrosTest : public ::testing::Test {
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

// Each row runs with the macros vTally, vTwice and vLoop and the row's own macro, if any.
TEST_F(MacrosTest, ApplyMacrosSubstitutesOrReports) {
  rt::Text builtIn;
  TokenizeNames(u"vAdd[A_,B_]", builtIn);
  struct Case {
    const char16_t* header;  // with the body vAdd[a,a]
    rt::Text text;
    int16_t defined, msg;
    const char16_t* result;  // nullptr: the text unchanged
  } cases[] = {
      {nullptr, builtIn, -1, 0, nullptr},  // a tokenised built-in operation is no macro call
      {nullptr, u"vTally[A_,Bc]", -1, 0, u"vAdd[A_,vAdd[A_,Bc]]"},
      // A macro whose body calls another macro is expanded until nothing changes.
      {nullptr, u"vTwice[Q_]", -1, 0, u"vAdd[Q_,vAdd[Q_,Q_]]"},
      // Arguments that are operations themselves stay whole.
      {nullptr, u"vCross[vTally[A_,vUnit[B_]],C_]", -1, 0,
       u"vCross[vAdd[A_,vAdd[A_,vUnit[B_]]],C_]"},
      {nullptr, u"vTally[vSum[A_],B_]", 0, 605, u""},  // the second call is unknown
      {nullptr, u"vLoop[A_]", -1, 606, u""},  // a self-calling macro is refused, not looped
      {u"vTal[a]", u"vTally[A_,Bc]", -1, 0, u"vAdd[A_,vAdd[A_,Bc]]"},  // vTal is no call of it
      {u"vBad", u"vBad[A_]", -1, 602, u""},                            // no "["
      {u"vBad[a,b", u"vBad[A_]", -1, 604, u""},                        // no "]"
      {u"vBad[1,b]", u"vBad[A_,B_]", -1, 665, u""},                    // a digit parameter
      {u"vBad[a,b]", u"vBad[A_]", -1, 606, u""},                       // too few arguments
      {u"vBad[a]", u"vBad[A_", -1, 606, u""},                          // never closes
      {u"vBad[a,b,c,d,e,f,g,h]", u"vBad[A_,B_,C_,D_,E_,F_,G_,H_]", -1, 0, u"vAdd[A_,A_]"},
      {u"vBad[a,b,c,d,e,f,g,h,i]", u"vBad[A_,B_,C_,D_,E_,F_,G_,H_,I_]", -1, 604, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.text));
    SetUp();
    AddMacro(u"vTally[a,b]", u"vAdd[a,vAdd[a,b]]");
    AddMacro(u"vTwice[p]", u"vTally[p,p]");
    AddMacro(u"vLoop[a]", u"vAdd[vLoop[a],a]");
    if (c.header != nullptr) AddMacro(c.header, u"vAdd[a,a]");
    rt::Text text;
    TokenizeNames(c.text, text);
    EXPECT_EQ(c.defined, MacroCallsDefined(text));
    rt::Text result = u"unchanged";
    EXPECT_EQ(c.msg, ApplyMacros(text, result));
    EXPECT_EQ(rt::ToUtf8(c.msg != 0 ? u"unchanged"
                         : c.result ? rt::Text(c.result)
                                    : c.text),
              rt::ToUtf8(result));
  }
}

TEST_F(MacrosTest, ExpandMacrosRewritesOnlyTheCurrentVector) {
  AddMacro(u"vTally[a,b]", u"vAdd[a,b]");
  Tables.VecCount = 2;
  Tables.VecTable[1].DefText = u"vTally[P_,Q_]";
  Tables.VecTable[2].DefText = u"vTally[A_,B_]";
  EXPECT_EQ(0, ExpandMacros());
  EXPECT_EQ(rt::ToUtf8(Tables.VecTable[1].DefText + u" " + Tables.VecTable[2].DefText),
            "vTally[P_,Q_] vAdd[A_,B_]");
}

}  // namespace
}  // namespace ms
