// Runs worksheet texts through the worksheet language's whole road (reader, checker, classification, compiler,
// evaluator) with the scripted screen, so numerical commands are tested as a user meets them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "language/Global.h"
#include "platform/ui/ScriptedUiServices.h"

namespace ms::testing {

class WorksheetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Executes the worksheet (each line ended by CR LF) as Execute does up to the results: tables and
  // requests cleared, the worksheet read, the first error shown in its box. Returns its number.
  int16_t Run(std::initializer_list<const char16_t*> lines);
  int16_t RunText(const rt::Text& text);
  // The value of the constant named name (stored name, e.g. u"r_"), NaN when absent.
  double ConstValue(const rt::Text& name) const;
  const ConstRec* FindConst(const rt::Text& name) const;

  ui::ScriptedUiServices screen_;
  // What the last run left: its message (also shown in the error box) and whether Esc stopped it.
  int16_t lastMsg_ = 0;
  bool aborted_ = false;
};

}  // namespace ms::testing
