// Shared set-up of the language and mathematics tests: the whole program state reset, the scripted
// screen installed (both from the worksheet fixture), and helpers that store statements in their
// stored form (padded names, built-in names tokenised) the way classification does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/WorksheetTables.h"
#include "support/WorksheetFixture.h"

namespace ms {

inline std::string U8(const rt::Text& t) {
  return rt::ToUtf8(t);
}

// A text with built-in names spelled out, turned into the tokens the stored form holds.
rt::Text Tok(const rt::Text& s);

class LanguageTest : public ms::testing::WorksheetTest {
 protected:
  // Classifies and stores one stored-form statement (constant, function or vector): the closing
  // steps run (bodies wrapped, the last vector processed) and, when asked, the compile.
  int16_t Define(const rt::Text& statement, bool compile = true);
  void DefineAll(std::initializer_list<const char16_t*> statements);
  static const FuncRec* Func(const rt::Text& name);
  // The value of a compiled function at t, or with its parameters set to args in order.
  static double ValueOf(const rt::Text& name, double t);
  static double ValueOf(const FuncRec& f, const std::vector<double>& args);
  // The value of the last constant, read back from its value text "(v)".
  static double LastConstantValue();
};

}  // namespace ms
