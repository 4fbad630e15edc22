#include <gtest/gtest.h>

#include "RecordingUi.h"
#include "language/Simplify.h"

namespace ms {
namespace {

using test::RecordingUi;

std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

struct Case {
  const char16_t* in;
  const char16_t* out;
};

void RunTable(rt::Text (*pass)(const rt::Text&), std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.in));
    EXPECT_EQ(U8(pass(c.in)), U8(c.out));
  }
}

TEST(SimplifyTest, PassListsRunInOrder) {
  RecordingUi ui;
  const struct {
    const char16_t* expr;
    const char16_t* list;
    const char16_t* out;
  } cases[] = {
      {u"(x)", u"[3,9]", u"x"},       {u"(a)+(b)", u"[3,9]", u"(a)+(b)"},
      {u"(((7)))", u"[2,2,2]", u"7"}, {u"(((7)))", u"[2]", u"((7))"},
      {u"(-7)", u"[2,2,2]", u"(-7)"}, {u"(1E5)", u"[2,2,2]", u"1E5"},
      {u"((a+b))", u"[9]", u"a+b"},   {u"-x", u"[8,9]", u"0-x"},
      {u"a b", u"[0]", u"ab"},        {u"(x)", u"[]", u"(x)"},
      {u"(x)", u"[x,9]", u"x"},  // an unknown selector runs no pass
      {u"((2))", u"[2,2", u"2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.expr) + " " + U8(c.list));
    rt::Text r = c.expr;
    Simplify(r, c.list, r);
    EXPECT_EQ(U8(r), U8(c.out));
  }
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(ui.endProgramCalls, 0);
}

TEST(SimplifyTest, ListWithoutBracketIsAProgrammingError) {
  RecordingUi ui;
  rt::Text r = u"(x)";
  Simplify(r, u"3,9]", r);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(U8(ui.boxes[0].text), "?");
  EXPECT_EQ(U8(ui.boxes[0].title), "Programmer Error");
  EXPECT_EQ(ui.endProgramCalls, 1);
  EXPECT_EQ(U8(r), "(x)");
}

TEST(SimplifyTest, RunSimplifyPassLeavesResultForUnknownSelector) {
  const struct {
    const char16_t* digit;
    const char16_t* out;
  } cases[] = {{u"9", u"x"}, {u"0", u"(x)"}, {u"", u"keep"}, {u"a", u"keep"}, {u"12", u"keep"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.digit));
    rt::Text r = u"keep";
    RunSimplifyPass(u"(x)", c.digit, r);
    EXPECT_EQ(U8(r), U8(c.out));
  }
}

TEST(SimplifyTest, RemoveBlanksKeepsOtherWhiteSpace) {
  RunTable(RemoveBlanks, {{u" a + b ", u"a+b"}, {u"a\tb", u"a\tb"}, {u"", u""}, {u"   ", u""}});
}

TEST(SimplifyTest, DropParensOnSingle) {
  RunTable(DropParensOnSingle, {{u"(x)", u"(x)"},
                                {u"F{(t)}", u"F{t}"},
                                {u"2*(x)", u"2*(x)"},
                                {u"Sin[(x)]", u"Sin[x]"},
                                {u"a,(b)", u"a,b"},
                                {u"((x))", u"(x)"},
                                {u"F{(-)}", u"F{(-)}"},
                                {u"(x)+1", u"(x)+1"},
                                {u"a(", u"a("},
                                {u"", u""}});
}

TEST(SimplifyTest, DropParensOnSingleLengthLimit) {
  RecordingUi ui;
  const rt::Text atLimit = u"F{(t)}" + rt::String(kMaxSimplifyLength - 6, u'x');
  EXPECT_EQ(DropParensOnSingle(atLimit).size(), static_cast<size_t>(kMaxSimplifyLength - 2));
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(DropParensOnSingle(atLimit + u"x"), u"");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(U8(ui.boxes[0].title), "Run Time Error");
  EXPECT_NE(rt::InStr(ui.boxes[0].text, u"MSG # 960 not found"), 0);
}

TEST(SimplifyTest, DropParensOnNumber) {
  RunTable(DropParensOnNumber, {{u"(2.5)", u"2.5"},
                                {u"((2.5))", u"(2.5)"},
                                {u"x^(2)", u"x^2"},
                                {u"(-5)", u"(-5)"},
                                {u"(+5)", u"(+5)"},
                                {u"(1E-5)", u"(1E-5)"},
                                {u"(1E5)*(.5)", u"1E5*.5"},
                                {u"(2x)", u"(2x)"},
                                {u"(", u"("},
                                {u"(3", u"(3"}});
}

TEST(SimplifyTest, DropNestedBrackets) {
  RunTable(DropNestedBrackets, {{u"S[(x+1)]", u"S[(x+1)]"},
                                {u"S[C[(x)]]", u"S[C[(x)]]"},
                                {u"S[T[(x)]]+U[(y)]", u"S[T[x]]+U[(y)]"},
                                {u"S[C[(a)+(b)]]", u"S[C[(a)+(b)]]"},
                                {u"S[(a)*(b)]", u"S[(a)*(b)]"},
                                {u"(x)", u"(x)"},
                                {u")]", u")]"},
                                {u"x)]", u"x)]"}});
}

TEST(SimplifyTest, ZeroAndOneFactors) {
  RunTable(DropZeroTimesGroup, {{u"x+0*(a+b)", u"x+0"},
                                {u"0*(a*(b+c))-y", u"0-y"},
                                {u"x^0*(a)", u"x^0*(a)"},
                                {u"10*(a)", u"10*(a)"},
                                {u"x/0*(a)", u"x/0*(a)"},
                                {u"0*(a", u"0*(a"}});
  RunTable(DropGroupTimesZero, {{u"(a+b)*0+x", u"0+x"},
                                {u"y-(a)*0", u"y-0"},
                                {u"(a)*05", u"(a)*05"},
                                {u"(a)*0.5", u"(a)*0.5"},
                                {u"F{(a)*0}", u"F{0}"},
                                {u"x^(a)*0", u"x^(a)*0"},
                                {u"y/(a)*0", u"y/(a)*0"},
                                {u"a)*0", u"a)*0"}});
  RunTable(DropOneTimes, {{u"x+1*y", u"x+y"},
                          {u"1*y", u"y"},
                          {u"x-1*y", u"x-y"},
                          {u"x/1*y", u"x/1*y"},
                          {u"x^1*y", u"x^1*y"},
                          {u"21*y", u"21*y"},
                          {u"2E+1*y", u"2E+1*y"}});
  RunTable(DropTimesOne, {{u"x*1", u"x"},
                          {u"x*1+y", u"x+y"},
                          {u"x*1^2", u"x*1^2"},
                          {u"x*12", u"x*12"},
                          {u"x*1.5", u"x*1.5"},
                          {u"x*1E3", u"x*1E3"},
                          {u"(x*1)", u"(x)"}});
}

TEST(SimplifyTest, PrefixZeroSignAndStripOuterParens) {
  RunTable(PrefixZeroSign, {{u"-x", u"0-x"}, {u"+x", u"0+x"}, {u"x", u"x"}, {u"", u""}});
  RunTable(StripOuterParens, {{u"((a+b))", u"a+b"},
                              {u"(a)+(b)", u"(a)+(b)"},
                              {u"(x)", u"x"},
                              {u"( a )", u" a "},
                              {u"((a)+(b))", u"(a)+(b)"},
                              {u"()", u""},
                              {u"(", u"("},
                              {u"", u""}});
}

}  // namespace
}  // namespace ms
