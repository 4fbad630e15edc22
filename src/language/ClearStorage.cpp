#include "language/ClearStorage.h"

#include <algorithm>

#include "language/WorksheetTables.h"

namespace ms {

void ClearStatements() {
  for (int k = 1; k <= kMaxStatements; ++k) Tables.StatementList[k] = StatementRec{};
  Tables.StatementCount = 0;
}

void ClearConstants() {
  // Expr, the first spare and Locked keep their contents; the count hides them.
  for (int k = 1; k <= kMaxConstants; ++k) {
    ConstRec& r = Tables.ConstTable[k];
    r.Kind = 0;
    r.Name.clear();
    r.ValueText.clear();
    r.Spare2 = 0;
    r.NotComputed = false;
  }
  Tables.ConstCount = 0;
}

void ClearFunctions() {
  for (int k = 1; k <= kMaxFunctions; ++k) Tables.FuncTable[k] = FuncRec{};
  Tables.FuncCount = 0;
}

void ClearCallList() {
  for (int k = 1; k <= kMaxCalls; ++k) Tables.CallList[k] = CallRec{};
}

void ClearVectors() {
  // The component expressions stay until the next append overwrites them.
  for (int k = 1; k <= kMaxVectors; ++k) {
    VecRec& r = Tables.VecTable[k];
    r.Spare = 0;
    r.Name.clear();
    r.Parm.clear();
    r.DefText.clear();
    r.XFuncName.clear();
    r.YFuncName.clear();
    r.ZFuncName.clear();
    r.Defined = 0;
    r.IsOperation = 0;
  }
  Tables.VecCount = 0;
}

void ClearMacros() {
  for (int k = 1; k <= kMaxMacros; ++k) {
    Tables.MacroTable[k].Header.clear();
    Tables.MacroTable[k].Body.clear();
  }
  Tables.MacroCount = 0;
}

void ClearValueList() {
  // The rows above are as the last clear left them.
  const int32_t used =
      std::clamp(std::max(Tables.ValueRowsUsed, Tables.ValueTop), 0, kMaxValueIndex);
  for (int32_t k = 0; k <= used; ++k) Tables.ValueList[static_cast<size_t>(k)] = ValueRec{};
  Tables.ValueTop = 0;
  Tables.ValueRowsUsed = 0;
}

void ClearRunTables() {
  ClearConstants();
  ClearFunctions();
  ClearCallList();
  ClearVectors();
  ClearMacros();
  ClearValueList();
}

void ResetWorksheetTables() {
  ClearRunTables();
  ClearStatements();
  for (ValueRec& r : Tables.ValueList) r = ValueRec{};
  for (ConstRec& r : Tables.ConstTable) r = ConstRec{};
  for (VecRec& r : Tables.VecTable) r = VecRec{};
  for (MacroRec& r : Tables.MacroTable) r = MacroRec{};
  Tables.StatementList[0] = StatementRec{};
  Tables.FuncTable[0] = FuncRec{};
  Tables.CallList[0] = CallRec{};
  Tables.CurrentStmtNo = 0;
  Tables.LiteralCount = 0;
  for (int k = 0; k <= kMaxSelectValues; ++k) {
    Tables.SelectValueText[k].clear();
    Tables.SelectValueId[k].clear();
    Tables.SelectValueText2[k].clear();
  }
  Tables.SelectValueCount = 0;
  Tables.ShowValLegend = 0;
  Tables.PlotPending = 0;
}

}  // namespace ms
