#include "support/WorksheetFixture.h"

#include <cmath>

#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/ProgramState.h"
#include "language/UserInput.h"
#include "language/Simplify.h"
#include "numerics/FunctionValue.h"
#include "platform/ui/UiServices.h"

namespace ms::testing {

void WorksheetTest::SetUp() {
  ResetProgramState();
  ui::SetUi(&screen_);
}

void WorksheetTest::TearDown() { ui::SetUi(nullptr); }

int16_t WorksheetTest::Run(std::initializer_list<const char16_t*> lines) {
  rt::Text text;
  for (const char16_t* line : lines) {
    text += line;
    text += u"\r\n";
  }
  return RunText(text);
}

int16_t WorksheetTest::RunText(const rt::Text& text) {
  ClearAll();
  ClearRequestsForExecute();
  RunFlags.AbortRun = 0;
  rt::Text stmtText;
  lastMsg_ = 0;
  ProcessWorksheet(text, stmtText, lastMsg_);
  if (lastMsg_ != 0) DispError(Tables.CurrentStmtNo, lastMsg_, stmtText);
  aborted_ = RunFlags.AbortRun != 0;
  RunFlags.AbortRun = 0;
  return lastMsg_;
}

const ConstRec* WorksheetTest::FindConst(const rt::Text& name) const {
  for (int k = 1; k <= Tables.ConstCount; ++k)
    if (Tables.ConstTable[k].Name == name) return &Tables.ConstTable[k];
  return nullptr;
}

double WorksheetTest::ConstValue(const rt::Text& name) const {
  const ConstRec* rec = FindConst(name);
  if (!rec) return std::nan("");
  rt::Text plain;
  Simplify(rec->ValueText, u"[2,2,2]", plain);
  return rt::Val(StripValueParens(plain));
}

}  // namespace ms::testing
