#include "language/WorksheetTables.h"

namespace ms {

WorksheetTables Tables;

namespace {

// Raises count by one when it is below capacity; returns the new count, or 0 (msgNo := full,
// count unchanged) when the table is full.
int16_t Grow(int16_t& count, int capacity, int16_t full, int16_t& msgNo) {
  if (count < 0 || count >= capacity) {
    msgNo = full;
    return 0;
  }
  msgNo = 0;
  return ++count;
}

}  // namespace

int16_t AppendConstant(int16_t& msgNo) {
  return Grow(Tables.ConstCount, kMaxConstants, kMsgConstantsFull, msgNo);
}

int16_t AppendFunction(int16_t& msgNo) {
  return Grow(Tables.FuncCount, kMaxFunctions, kMsgFunctionsFull, msgNo);
}

int16_t AppendVector(int16_t& msgNo) {
  return Grow(Tables.VecCount, kMaxVectors, kMsgVectorsFull, msgNo);
}

int16_t AppendStatement(int16_t stmtNo, const Text& text, int16_t& msgNo) {
  const int16_t k = Grow(Tables.StatementCount, kMaxStatements, kMsgStatementsFull, msgNo);
  if (k == 0) return 0;
  StatementRec& r = Tables.StatementList[k];
  r.StmtNo = stmtNo;
  r.Text = text;
  r.Spare = 0;
  return k;
}

int32_t AppendValue(const Text& name, double value, int16_t& msgNo) {
  if (Tables.ValueTop < 0 || Tables.ValueTop >= kMaxValueIndex) {
    msgNo = kMsgValuesFull;
    return 0;
  }
  msgNo = 0;
  ValueRec& r = Tables.ValueList[++Tables.ValueTop];
  r.Name = name;
  r.Value = value;
  return Tables.ValueTop;
}

int16_t AppendCall(int16_t& count, const Text& text, int16_t pos, int16_t depth, int16_t& msgNo) {
  const int16_t k = Grow(count, kMaxCalls, kMsgCallsFull, msgNo);
  if (k == 0) return 0;
  Tables.CallList[k] = {text, pos, depth};
  return k;
}

}  // namespace ms
