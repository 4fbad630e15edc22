// Whole worksheets through the language's road (reader, checker, classification, compiler,
// evaluator): the value a statement leaves, or the error box that names it.
#include <gtest/gtest.h>

#include <cmath>

#include "language/WorksheetTables.h"
#include "support/WorksheetFixture.h"

namespace ms {
namespace {

using WorksheetAnswers = testing::WorksheetTest;

// A negative argument directly after "{", in a constant and in a function body, gives r its exact
// value. An error found while compiling, an underscore, and a constant that takes a vector
// component without "|" (630) stop the run with the box naming the statement that holds them.
TEST_F(WorksheetAnswers, ValuesAndTheStatementsErrorsName) {
  const struct {
    std::vector<const char16_t*> lines;
    double exact;
    int16_t msg = 0;
    const char16_t* shown = u"";  // the box's first line
  } cases[] = {
      {{u"F{x}=x^2", u"r=F{-2}"}, 4},
      {{u"F{x}=x^2", u"G{x}=F{-x}+1", u"r=G{3}"}, 10},
      {{u"H{x,y}=x-y", u"r=H{-1,-2.5}"}, 1.5},
      {{u"F{x}=x^3", u"r=F{-(1+1)}*F{-1}"}, 8},
      {{u"F{x}=Exp[x]", u"G{x}=F{-x^2}", u"r=G{2}"}, std::exp(-4.0)},
      {{u"A<t>=<1,2*t-1,t^2>", u"m=A.y|2", u"r=m+A.z|-3"}, 12},
      {{u"F{x}=x", u"G{x}=F{x,2}"}, 0, 507, u"Statement # 2 : G{x}=F{x,2}"},
      {{u"a=1", u"F{x}=Q{x}+a"}, 0, 502, u"Statement # 2 : F{x}=Q{x}+a"},
      {{u"F{x}=F{x}+1"}, 0, 103, u"Statement # 1 : F{x}=F{x}+1"},
      {{u"F{x}=x", u"G{x}=Diff[F,x,0]"}, 0, 534, u"Statement # 2 : G{x}=Diff[F,x,0]"},
      {{u"a=1", u"b_c = 2:d=3"}, 0, 1, u"Statement # 2 : bc=2"},
      {{u"A<t>=<1,2*t,3>", u"m=A.x2"}, 0, 630, u"Statement # 2 : m=A.x2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(rt::ToUtf8(c.lines.back()));
    screen_.boxes.clear();
    rt::Text sheet;
    for (const char16_t* line : c.lines) sheet += rt::Text(line) + u"\r\n";
    ASSERT_EQ(c.msg, RunText(sheet));
    const std::vector<rt::Text> boxes = BoxTexts();
    ASSERT_EQ(c.msg == 0 ? 0u : 1u, boxes.size());
    if (c.msg == 0) {
      EXPECT_NEAR(c.exact, ConstValue(u"r_"), 1e-12 * std::max(1.0, std::fabs(c.exact)));
    } else {
      EXPECT_EQ(rt::ToUtf8(c.shown), rt::ToUtf8(boxes[0].substr(0, boxes[0].find(u"\r\n"))));
    }
  }
}

}  // namespace
}  // namespace ms
