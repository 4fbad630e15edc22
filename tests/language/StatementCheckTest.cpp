#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>

#include "language/ClearStorage.h"
#include "language/StatementCheck.h"
#include "language/StatementKinds.h"
#include "support/LanguageFixture.h"

namespace ms {
namespace {

struct MsgCase {
  const char16_t* text;
  int16_t msg;
};

using StatementCheckTest = LanguageTest;

int16_t Check(const rt::Text& statement, rt::Text* outText = nullptr) {
  rt::Text stmt = statement;
  rt::Text out = u"unchanged";
  const int16_t msg = CheckStatementSyntax(stmt, out);
  if (outText) *outText = out;
  return msg;
}

// A statement-kind check with its rewrite thrown away.
template <int16_t (*Rewrite)(const rt::Text&, rt::Text&)>
int16_t MessageOf(const rt::Text& text) {
  rt::Text out = u"untouched";
  const int16_t msg = Rewrite(text, out);
  EXPECT_EQ(out == u"untouched", msg != 0) << "the rewrite is written on success only";
  return msg;
}

// One statement for every message the checker gives: bracket balance, component balance, empty
// groups, braces, last symbol, decimal points, operators, equals, commas, number forms, header
// shapes, upper-case names, statement kinds, symbol adjacency.
TEST_F(StatementCheckTest, EveryMessageOfTheChain) {
  const MsgCase brackets[] = {{u"a=b)+(c", 260}, {u"F{t}=(t]", 261},    {u"a=b}+{c", 262},
                              {u"a=b>+<c", 269}, {u"a=(b", 263},        {u"F{t}=Sin[t", 264},
                              {u"a=F{2", 265},   {u"A<t>=<t,t,0", 270}, {u"F{t}=(t[)]", 275}};
  const MsgCase groups[] = {{u"a=<>", 427},   {u"a=()", 428},          {u"F{x}=Sin[]", 429},
                            {u"a=F{}", 430},  {u"F{x}=Sin[[x]]", 431}, {u"a=F{{2}}", 432},
                            {u"a=2{x}", 267}, {u"a=sin{x}", 268}};
  const MsgCase symbols[] = {{u"a=", 400},     {u"F{t}=t+", 478}, {u"a=3.4.5", 436},
                             {u".", 437},      {u"a=b.5", 438},   {u"a=2^-3", 435},
                             {u"a=b=c", 410},  {u"a=b,c", 412},   {u"a=F{1E+,2}", 418},
                             {u"a=2e5", 419},  {u"a=1E2.5", 421}, {u"a=1E*2", 423},
                             {u"a=1E123", 424}};
  const MsgCase headers[] = {{u"a", 2},        {u"ab", 991},       {u"a{x}=x", 205},
                             {u"abc=5", 206},  {u"a+b=5", 207},    {u"<2=3>", 208},
                             {u"<tu=3>", 209}, {u"F{X}=X+1", 228}, {u"a=f{2}", 405},
                             {u"a=xA.x", 660}, {u"a=F+1", 661},    {u"F{x}=SIN[x]", 1300}};
  const MsgCase kinds[] = {{u"'a", 200},           {u"'ab", 201},
                           {u"a_=5", 202},         {u"a=*5", 221},
                           {u"F{x}=.", 218},       {u"F{x,y}=.", 219},
                           {u"F{x,y,z,u}=.", 215}, {u"F{x}=*x", 222},
                           {u"F{x}=sA.x", 224},    {u"A<t>=vAdd[B,C]+1", 236},
                           {u"A<t>=t+1", 479},     {u"<t=>", 240},
                           {u"<t=2;5=3>", 241},    {u"<t=2;uv=3>", 242},
                           {u"<t=a+1>", 244}};
  const MsgCase adjacency[] = {
      {u"a=(*2)", 444},   {u"a=(2)b", 445},  {u"F{x}=Sin[*x]", 446}, {u"F{x}=Sin[x]y", 447},
      {u"a=F{*2}", 448},  {u"a=F{2}b", 449}, {u"a=b(2)", 451},       {u"F{x}=2*x(x+1)", 465},
      {u"Plot=A.x", 466}, {u"a=2(3)", 467},  {u"a=2.(3)", 468},      {u"a=F{2,*3}", 469},
      {u"a=b|*2", 470},   {u"a=2+|3", 476},  {u"a=b<;>", 477}};
  const MsgCase tokens[] = {{u"A<t>=<\u03C0[t],t,0>", 450},
                            {u"a=\u00C82", 475},
                            {u"vMacro[$]=vAdd[#,$]", 643},
                            {u"vMacro[a]=b", 642}};
  // Where several checks would fail, the first one of the chain decides.
  const MsgCase order[] = {
      {u"a=(2..3", 263},        // balance before decimal points
      {u"a=b=c+", 478},         // last symbol before the equals count
      {u"a=1.5E", 400},         // last symbol before the number form
      {u"a={}", 430},           // empty group before brace use
      {u"a=b,2e5", 412},        // commas before the number form
      {u"a=2^-3.4.5", 436},     // decimal points before operator pairs
      {u"a=F{2}b+1E123", 424},  // number form before adjacency
      {u"a=1E.5", 438},         // decimal points before the number form
  };
  for (const auto& [stage, cases] : {std::pair{"brackets", std::span<const MsgCase>(brackets)},
                                     {"groups and braces", std::span<const MsgCase>(groups)},
                                     {"symbols and numbers", std::span<const MsgCase>(symbols)},
                                     {"headers and names", std::span<const MsgCase>(headers)},
                                     {"statement kinds", std::span<const MsgCase>(kinds)},
                                     {"adjacency", std::span<const MsgCase>(adjacency)},
                                     {"tokens and macros", std::span<const MsgCase>(tokens)},
                                     {"order of the chain", std::span<const MsgCase>(order)}}) {
    for (const MsgCase& c : cases) {
      SCOPED_TRACE(std::string(stage) + ": " + U8(c.text));
      EXPECT_EQ(Check(c.text), c.msg);
    }
  }
}

// Accepted statements are stored in normal form (padded names, no unary plus, built-in names as
// tokens); commands and macro definitions skip the chain and are stored as typed.
TEST_F(StatementCheckTest, AcceptedStatementsAreStored) {
  const struct {
    const char16_t* statement;
    const char16_t* stored;  // names spelled out; tokenised unless typed
    bool typed = false;
  } cases[] = {{u"a = +5", u"a_=5"},
               {u"a=1E+5", u"a_=1E+5"},
               {u"a=F{+1,+2}+3", u"a_=F_{1,2}+3"},
               {u"F{x,y,z,u,v}=x*y*z*u*v", u"F_{x,y,z,u,v}=x*y*z*u*v"},
               {u"F{t}=Sin[+t]", u"F_{t}=Sin[t]"},
               {u"F{t}=2*A.y|+3", u"F_{t}=2*A_.y_|3"},
               {u"A<y>=<+B.y,y,0>", u"A_<y>=<B_.y_,y,0>"},
               {u"A<t>=<E,Ex,1.5E2>", u"A_<t>=<E_,Ex,1.5E2>"},
               {u"Ab<t>=vCross[B,Cd]", u"Ab<t>=vCross[B_,Cd]"},
               {u"<t=2.5;u=a;r=-2>", u"<t=2.5;u=a_;r=-2>"},
               {u"plot [A, B]", u"plot[A,B]", true},
               {u"c=dblInt[F,C,D,{0,1,2,3,x}]", u"c=dblInt[F,C,D,{0,1,2,3,x}]", true},
               {u"vMacro[#,$]=vAdd[#,$]", u"vMacro[#,$]=vAdd[#,$]", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.statement));
    ResetWorksheetTables();
    rt::Text stmt = c.statement;
    rt::Text out = u"x";
    ASSERT_EQ(CheckStatementSyntax(stmt, out), 0);
    ASSERT_EQ(Tables.StatementCount, 1);
    EXPECT_EQ(U8(Tables.StatementList[1].Text), U8(c.typed ? c.stored : Tok(c.stored)));
  }
  // An empty statement stores nothing; a full statement list refuses every statement.
  rt::Text empty, out = u"keep";
  EXPECT_EQ(CheckStatementSyntax(empty, out), 0);
  EXPECT_EQ(out, u"keep");
  Tables.StatementCount = kMaxStatements;
  EXPECT_EQ(Check(u"a=5", &out), kMsgStatementsFull);
  EXPECT_EQ(out, u"a_=5");
  EXPECT_EQ(Check(u"Plot[A]"), kMsgStatementsFull);
  EXPECT_EQ(Tables.StatementCount, kMaxStatements);
}

// Any text at all gives either a stored statement or a message with nothing stored.
TEST_F(StatementCheckTest, ArbitraryTextNeverBreaksTheTables) {
  const rt::Text alphabet =
      u"abxyEFAGv019.=+-*/^()[]{}<>,;|'_#\u00C8\u00D6\u00D8\u00EA\u00F7\u00FF\u03C0";
  std::mt19937 gen(12345);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(1, 14);
  for (int round = 0; round < 20000; ++round) {
    Tables.MacroCount = static_cast<int16_t>(round % 4 == 0 ? 1 : 0);
    rt::Text s;
    for (int k = length(gen); k > 0; --k) s += alphabet[pick(gen)];
    SCOPED_TRACE(U8(s));
    const int16_t before = Tables.StatementCount;
    rt::Text stmt = s;
    rt::Text out;
    const int16_t msg = CheckStatementSyntax(stmt, out);
    ASSERT_EQ(Tables.StatementCount, msg == 0 ? before + 1 : before);
    ASSERT_EQ(msg == 0 ? stmt.empty() : !out.empty(), true);
    if (Tables.StatementCount == kMaxStatements) ClearStatements();
  }
}

// Single checks with inputs that an earlier check of the chain would stop or that must pass; the
// adjacency check reads the stored form (padded, tokenised); macros switch off some name checks.
TEST_F(StatementCheckTest, SingleChecks) {
  const struct {
    int16_t (*check)(const rt::Text&);
    const char16_t* text;  // names spelled out, tokenised before the check
    int16_t msg;
    int16_t macros = 0;
  } cases[] = {{CheckVectorComponentBalance, u"A<t>=<t,t,0>+<[t,t,0>", 264},
               {CheckCommaUse, u"F{x}=Diff[G,x]+a,b", 412},
               {CheckCommaUse, u"a=Clip[x,2]", 412},
               {CheckNumberFormat, u"a=1E", 420},
               {CheckNumberFormat, u"a=1E+", 422},
               {CheckSymbolAdjacency, u"a_=;", 666},  // the verdict of "=" stands at the end
               {CheckSymbolAdjacency, u"a_=;b_", 0},  // ... until the next judged pair
               {CheckSymbolAdjacency, u"a_=A[2]", 1300},
               {CheckSymbolAdjacency, u"a_=A[2]", 0, 1},
               {CheckSymbolAdjacency, u"a_=F_{-1}", 0},  // a negative argument
               // A component reference without "|" in a constant; elsewhere the padding's 451.
               {CheckSymbolAdjacency, u"m_=A_.x_2", 630},
               {CheckSymbolAdjacency, u"F_{t}=A_.x_2", 451},
               // Only an "E" may be followed by an exponent's sign.
               {CheckSymbolAdjacency, u"a_=E-1", 0},
               {CheckSymbolAdjacency, u"a_=Z-1", 466},
               {CheckStatementHeader, u"F{x,y,z,u,v,w}=x", 228},
               {CheckVectorUse, u"a=X[2]", 1300},
               {CheckVectorUse, u"a=X[2]", 0, 1},
               {CheckVectorUse, u"a=Fa+1", 0, 1},
               {CheckMacroParameters, u"vMacro[#,$,&,@,%]=vA[#,$,&,@,%]", 0},
               {CheckMacroParameters, u"vMacro[#]=vAdd[#,$]", 644},
               {CheckMacroParameters, u"vMacro[#]=x&y", 645},
               {CheckMacroParameters, u"vMacro[#]=vA[@,#]", 646},
               {CheckMacroParameters, u"vMacro[#]=vA[%,#]", 647},
               {MessageOf<CheckStatementKind>, u"Zero[F,{0,1},r,1]", 0},
               {MessageOf<CheckConstantStatement>, u"Ab=1", 203},
               {MessageOf<CheckFunctionStatement>, u"f{x}=x", 204},
               {MessageOf<CheckFunctionStatement>, u"F2{x}=x", 211},
               {MessageOf<CheckFunctionStatement>, u"F{1}=x", 212},
               {MessageOf<CheckFunctionStatement>, u"F{x}x", 213},
               {MessageOf<CheckFunctionStatement>, u"F{x,1}=x", 214},
               {MessageOf<CheckFunctionStatement>, u"F{x,y}x", 215},
               {MessageOf<CheckFunctionStatement>, u"F{x,y,1}=x", 216},
               {MessageOf<CheckFunctionStatement>, u"F{x,yz}=x", 217},
               {MessageOf<CheckVectorStatement>, u"a<t>=<t,t,t>", 225},
               {MessageOf<CheckVectorStatement>, u"AB<t>=<t,t,t>", 226},
               {MessageOf<CheckVectorStatement>, u"A<1>=<t,t,t>", 231},
               {MessageOf<CheckVectorStatement>, u"A<t>x<t,t,t>", 232},
               {MessageOf<CheckVectorStatement>, u"A<t>=<2e,t,t>", 227},
               {MessageOf<CheckVectorStatement>, u"A<t>=<t>", 234},
               {MessageOf<CheckVectorStatement>, u"A<t>=<t,t,t", 235},
               {MessageOf<CheckParameterSet>, u"<t=12", 243}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text));
    Tables.MacroCount = c.macros;
    EXPECT_EQ(c.check(Tok(c.text)), c.msg);
  }
}

}  // namespace
}  // namespace ms
