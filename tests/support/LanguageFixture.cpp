#include "support/LanguageFixture.h"

#include <cmath>

#include "commands/ExecuteCommands.h"
#include "language/Tokens.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"

namespace ms {

rt::Text Tok(const rt::Text& s) {
  rt::Text t;
  TokenizeNames(s, t);
  return t;
}

int16_t LanguageTest::Define(const rt::Text& statement, bool compile) {
  rt::Text s = Tok(statement);
  int16_t msg = ClassifyAndRun(s);
  if (msg == 0 && compile) msg = CompileFunctions(s);
  return msg;
}

void LanguageTest::DefineAll(std::initializer_list<const char16_t*> statements) {
  for (const char16_t* s : statements) {
    SCOPED_TRACE(U8(s));
    ASSERT_EQ(Define(s), 0);
  }
}

const FuncRec* LanguageTest::Func(const rt::Text& name) {
  for (int k = 1; k <= Tables.FuncCount; ++k) {
    if (Tables.FuncTable[k].Name == name) return &Tables.FuncTable[k];
  }
  return nullptr;
}

double LanguageTest::ValueOf(const rt::Text& name, double t) {
  const FuncRec* f = Func(name);
  EXPECT_NE(f, nullptr) << U8(name);
  return f == nullptr ? NAN : ValueOf(*f, {t});
}

double LanguageTest::ValueOf(const FuncRec& f, const std::vector<double>& args) {
  const rt::Text* parms[] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
  const int32_t savedTop = Tables.ValueTop;
  int16_t msg = 0;
  for (size_t i = 0; i < args.size() && i < 5; ++i) AppendValue(*parms[i], args[i], msg);
  double result = NAN;
  MathVars.ValueSP = 1;
  msg = Evaluate(f.Code, result, msg);
  EXPECT_EQ(msg, 0) << U8(f.Name);
  Tables.ValueTop = savedTop;
  return result;
}

double LanguageTest::LastConstantValue() {
  const rt::Text& v = Tables.ConstTable[Tables.ConstCount].ValueText;
  EXPECT_GE(v.size(), 2u);
  return v.size() < 2 ? NAN : rt::Val(v.substr(1, v.size() - 2));
}

}  // namespace ms
