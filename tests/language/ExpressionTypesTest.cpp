#include <gtest/gtest.h>

#include <string>

#include "language/ClearStorage.h"
#include "language/ExpressionTypes.h"
#include "language/Global.h"
#include "language/Tokens.h"

namespace ms {
namespace {

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

// Texts are written with built-in names spelled out and tokenised before use.
rt::Text Tok(const rt::Text& s) {
  rt::Text t;
  TokenizeNames(s, t);
  return t;
}

using RewriteFn = void (*)(const rt::Text&, rt::Text&, int16_t&);
using TestFn = void (*)(const rt::Text&, int16_t&);

// {input, message, stored form when the message is 0}
struct RewriteCase {
  const char16_t* text;
  int16_t msg;
  const char16_t* stored;
};

struct MsgCase {
  const char16_t* text;
  int16_t msg;
};

class ExpressionTypesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorksheetTables();
    InitBuiltinNames();
  }

  static void RunRewrites(RewriteFn check, std::initializer_list<RewriteCase> cases) {
    for (const RewriteCase& c : cases) {
      SCOPED_TRACE(U8(c.text));
      rt::Text out = u"untouched";
      int16_t msg = -7;
      check(Tok(c.text), out, msg);
      EXPECT_EQ(msg, c.msg);
      if (c.msg == 0) {
        EXPECT_EQ(U8(out), U8(Tok(c.stored)));
      } else {
        EXPECT_EQ(U8(out), "untouched") << "a failing check leaves outText alone";
      }
    }
  }

  static void RunTests(TestFn check, std::initializer_list<MsgCase> cases) {
    for (const MsgCase& c : cases) {
      SCOPED_TRACE(U8(c.text));
      int16_t msg = -7;
      check(Tok(c.text), msg);
      EXPECT_EQ(msg, c.msg);
    }
  }
};

TEST_F(ExpressionTypesTest, HeaderShapes) {
  RunTests(CheckStatementHeader, {
                                     {u"Zero[F,{0,1},r,1]", 0},
                                     {u"PlotContour1[F,{0,1}]", 0},
                                     {u"Plotx=1", 0},
                                     {u"vMacro[#]=x", 0},
                                     {u"'", 0},
                                     {u"'comment", 0},
                                     {u"a", 2},
                                     {u"ab", 991},
                                     {u"a=5", 0},
                                     {u"ab=5", 0},
                                     {u"a1=5", 0},
                                     {u"a_=5", 0},
                                     {u"a{x}=1", 205},
                                     {u"abc=1", 206},
                                     {u"a1b", 206},
                                     {u"a+b", 207},
                                     {u"a_b", 207},
                                     {u"<t=1>", 0},
                                     {u"<2=1>", 208},
                                     {u"<tu=1>", 209},
                                     {u"F{x}=x", 0},
                                     {u"Fa{x}=x", 0},
                                     {u"A<t>=<t,t,t>", 0},
                                     {u"Ab<t>=vAdd[B,C]", 0},
                                     {u"F{x,y}=x", 0},
                                     {u"Fa{x,y,z,u,v}=x", 0},
                                     {u"F{x,y,z,u,v,w}=x", 228},
                                     {u"F{x,}=x", 228},
                                     {u"F{x,y,}=x", 228},
                                     {u"F{X}=X", 228},
                                     {u"F=2", 228},
                                     {u"1a=2", 228},
                                     {u"F{x}x", 228},
                                     {u"Sin[x]=2", 228},
                                 });
}

TEST_F(ExpressionTypesTest, StatementKinds) {
  RunRewrites(CheckStatementKind, {
                                      {u"a=5", 0, u"a_=5"},
                                      {u"<t=a>", 0, u"<t=a_>"},
                                      {u"F{x}=x", 0, u"F_{x}=x"},
                                      {u"Fa{x}=k", 0, u"Fa{x}=k_"},
                                      {u"A<t>=<t,t,0>", 0, u"A_<t>=<t,t,0>"},
                                      {u"Ab<t>=<t,t,0>", 0, u"Ab<t>=<t,t,0>"},
                                      {u"Abc", 0, u"Abc"},  // neither "{" nor "<": unchanged
                                      {u"Zero[F,{0,1},r,1]", 0, u"Zero[F,{0,1},r,1]"},
                                      {u"vMacro[#]=x", 0, u"vMacro[#]=x"},
                                      {u"ab", 200, u""},
                                  });
  // The rejected text itself is handed back for the other first characters.
  for (const rt::Text text : {u"'ab", u"1ab", u"(a)=2"}) {
    SCOPED_TRACE(U8(text));
    rt::Text out;
    int16_t msg = 0;
    CheckStatementKind(text, out, msg);
    EXPECT_EQ(msg, 201);
    EXPECT_EQ(out, text);
  }
  int16_t msg = 0;
  // The checker passes one variable as both text and outText.
  rt::Text same = u"F{x}=x+k";
  CheckStatementKind(same, same, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(same, u"F_{x}=x+k_");
}

TEST_F(ExpressionTypesTest, ConstantStatements) {
  RunRewrites(CheckConstantStatement, {
                                          {u"a=5", 0, u"a_=5"},
                                          {u"ab=2*c", 0, u"ab=2*c_"},
                                          {u"a1=3", 0, u"a1=3"},
                                          {u"a=b", 0, u"a_=b_"},
                                          {u"a=ab", 0, u"a_=ab"},
                                          {u"a=-x", 0, u"a_=-x_"},
                                          {u"a=x|2", 0, u"a_=x_|2"},
                                          {u"a=F{x,2}", 0, u"a_=F_{x_,2}"},
                                          {u"a=Sin[x]", 0, u"a_=Sin[x_]"},
                                          {u"a=Sinh[x]", 0, u"a_=Sinh[x_]"},
                                          {u"a=Fa{2}+Ex", 0, u"a_=Fa{2}+Ex"},
                                          {u"a=2E-3*b", 0, u"a_=2E-3*b_"},
                                          {u"a=B.x+1", 0, u"a_=B_.x_+1"},
                                          {u"a=(b+c1)", 0, u"a_=(b_+c1)"},
                                          {u"ab", 201, u""},
                                          {u"Ab=1", 203, u""},
                                          {u"ab5", 202, u""},
                                          {u"a=*2", 221, u""},
                                          {u"a=vAdd[B,C]", 221, u""},
                                      });
}

TEST_F(ExpressionTypesTest, FunctionStatements) {
  RunRewrites(CheckFunctionStatement, {
                                          {u"F{x}=x^2+k", 0, u"F_{x}=x^2+k_"},
                                          {u"Fa{x}=x", 0, u"Fa{x}=x"},
                                          {u"F{x}=k", 0, u"F_{x}=k_"},
                                          {u"F{x}=2", 0, u"F_{x}=2"},
                                          {u"G{u,v}=u*v", 0, u"G_{u,v}=u*v"},
                                          {u"F{x,y,z}=z", 0, u"F_{x,y,z}=z"},
                                          {u"F{x,y,z,u,v}=x*v+w", 0, u"F_{x,y,z,u,v}=x*v+w_"},
                                          {u"F{x,y}=xy+x2", 0, u"F_{x,y}=xy+x2"},
                                          {u"F{t}=1.5E-3*t", 0, u"F_{t}=1.5E-3*t"},
                                          {u"F{t}=Sin[t]*G{t}", 0, u"F_{t}=Sin[t]*G_{t}"},
                                          {u"F{t}=sMpy[k,t]", 0, u"F_{t}=sMpy[k_,t]"},
                                          {u"F{t}=Diff[G,t]", 0, u"F_{t}=Diff[G_,t]"},
                                          {u"F{x}=vMy[x]", 0, u"F_{x}=vMy[x]"},
                                          {u"G{y}=B.y*2", 0, u"G_{y}=B_.y_*2"},
                                          {u"G{y}=B.y", 0, u"G_{y}=B_.y_"},
                                          {u"F{t}=2*A.y|t", 0, u"F_{t}=2*A_.y_|t"},
                                          {u"F{", 200, u""},
                                          {u"f{x}=x", 204, u""},
                                          {u"F2{x}=x", 211, u""},
                                          {u"F{1}=x", 212, u""},
                                          {u"F{x}x", 213, u""},
                                          {u"F{x,1}=x", 214, u""},
                                          {u"F{x,y}x", 215, u""},
                                          {u"F{x,y,1}=x", 216, u""},
                                          {u"F{x,y,z}x", 216, u""},
                                          {u"F{x,y,z,u}x", 216, u""},
                                          {u"F{x,y,z,u;v}=x", 216, u""},
                                          {u"F{x,y,z,u,v}x", 216, u""},
                                          {u"F{x,y,z,u,v,w}=x", 216, u""},
                                          {u"F{xy}=x", 217, u""},
                                          {u"F{x,yz}=x", 217, u""},
                                          {u"F{x,y,zu}=x", 217, u""},
                                          {u"F{x}=.", 218, u""},
                                          {u"F{x}=G", 218, u""},
                                          {u"F{x,y}=.", 219, u""},
                                          {u"F{x,y,z}=.", 218, u""},
                                          {u"F{x,y,z,u,v}=.", 215, u""},
                                          {u"F{x}=*x", 222, u""},
                                          {u"F{x}=xA", 224, u""},
                                      });
}

TEST_F(ExpressionTypesTest, VectorStatements) {
  RunRewrites(CheckVectorStatement, {
                                        {u"A<t>=<t,F,0>", 0, u"A_<t>=<t,F_,0>"},
                                        {u"Ab<t>=<Fa,k,2E5>", 0, u"Ab<t>=<Fa,k_,2E5>"},
                                        {u"A<t>=<E,Ex,1.5E2>", 0, u"A_<t>=<E_,Ex,1.5E2>"},
                                        {u"A<t>=<tk,t2,t>", 0, u"A_<t>=<tk,t2,t>"},
                                        {u"A<t>=<Sin[t],2*t,k*t>", 0, u"A_<t>=<Sin[t],2*t,k_*t>"},
                                        {u"A<x>=<B.x,x,0>", 0, u"A_<x>=<B_.x_,x,0>"},
                                        {u"A<t>=vAdd[B,C]", 0, u"A_<t>=vAdd[B_,C_]"},
                                        {u"A<t>=vMpy[k,B]", 0, u"A_<t>=vMpy[k_,B_]"},
                                        {u"Ab<t>=vCross[B,Cd]", 0, u"Ab<t>=vCross[B_,Cd]"},
                                        {u"A<t>=vMy[B]", 0, u"A_<t>=vMy[B_]"},
                                        {u"A<", 200, u""},
                                        {u"a<t>=<t,t,t>", 225, u""},
                                        {u"AB<t>=<t,t,t>", 226, u""},
                                        {u"A<1>=<t,t,t>", 231, u""},
                                        {u"A<t>x<t,t,t>", 232, u""},
                                        {u"A<t>=<2e,t,t>", 227, u""},
                                        {u"A<t>=<t>", 234, u""},
                                        {u"A<t>=<t,t>", 234, u""},
                                        {u"A<t>=<t,t,t", 235, u""},
                                        {u"A<t>=<t,t,t>1", 236, u""},
                                        {u"A<t>=vAdd[B,C]1", 236, u""},
                                        {u"A<t>=t", 479, u""},
                                        {u"A<t>=", 479, u""},
                                    });
  // Without the header "A<t>=" the header rewrite has nothing to do.
  rt::Text out;
  int16_t msg = -7;
  CheckVectorHeader(u"A<t>x", out, msg);
  EXPECT_EQ(msg, 0);
  EXPECT_EQ(out, u"A<t>x");
}

TEST_F(ExpressionTypesTest, ParameterSets) {
  RunRewrites(CheckParameterSet, {
                                     {u"<t=2.5;u=ax;r=-2>", 0, u"<t=2.5;u=ax;r=-2>"},
                                     {u"<t=a>", 0, u"<t=a_>"},
                                     {u"<t=2*a;u=b>", 0, u"<t=2*a;u=b_>"},
                                     {u"<t=>", 240, u""},
                                     {u"<T=1>", 241, u""},
                                     {u"<t=1;>", 241, u""},
                                     {u"<tu=1>", 242, u""},
                                     {u"<t=12", 243, u""},
                                     {u"<t=a+1>", 244, u""},
                                     {u"<t=;u=1>", 244, u""},
                                     {u"<t=1;", 200, u""},
                                 });
}

TEST_F(ExpressionTypesTest, VectorUse) {
  const struct {
    const char16_t* text;
    int16_t macros;
    int16_t msg;
  } cases[] = {
      {u"a=f{2}", 0, 405},
      {u"a=2*f{2}", 0, 405},
      {u"a=2{3}", 0, 405},
      {u"a=b}", 0, 405},
      {u"a=Fa{2}", 0, 0},
      {u"a=F{2}", 0, 0},
      {u"a=X[2]", 0, 1300},
      {u"a=X[2]", 1, 0},
      {u"a=xA.x", 0, 660},
      {u"a=xA.x", 1, 0},
      {u"a=sA.x", 0, 0},
      {u"a=vA.x", 0, 1300},
      {u"a=vA.x", 1, 0},
      {u"a=F+1", 0, 661},
      {u"a=Fa+1", 0, 661},
      {u"a=Fa+1", 1, 0},
      {u"a=1E-5+F{2}", 0, 0},
      {u"a=1E5", 0, 0},
      {u"A<t>=<B,Cd,E>", 0, 0},
      {u"A<t>=vAdd[B,Cd]", 0, 0},
      {u"F{x}=Diff[G,x]", 0, 0},
      {u"abc", 0, 0},
      {u"a=", 0, 0},
      {u"F{X}=X+1", 0, 661},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.text) + " macros " + std::to_string(c.macros));
    Tables.MacroCount = c.macros;
    int16_t msg = -7;
    CheckVectorUse(Tok(c.text), msg);
    EXPECT_EQ(msg, c.msg);
  }
}

TEST_F(ExpressionTypesTest, MacroParameters) {
  RunTests(CheckMacroParameters, {
                                     {u"vMacro[#,$]=vAdd[#,$]", 0},
                                     {u"vMacro[#,$,&,@,%]=vA[#,$,&,@,%]", 0},
                                     {u"vMacro[a]=b", 642},
                                     {u"vMacro[$]=vAdd[#,$]", 643},
                                     {u"vMacro[#]=vAdd[#,$]", 644},
                                     {u"vMacro[#]=x&y", 645},
                                     {u"vMacro[#]=vA[@,#]", 646},
                                     {u"vMacro[#]=vA[%,#]", 647},
                                     {u"vMacro[#]", 0},
                                 });
}

}  // namespace
}  // namespace ms
