// The worksheet tables: every piece of worksheet knowledge of a run lives here, in fixed-capacity,
// process-wide arrays. Index bases follow the design: tables start at 1 (entry 0 unused) except
// ValueList and BuiltinNames, which start at 0. Appending raises the count first and then fills the
// entry at the new count; every append goes through a helper that refuses when the table is full.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/runtime/Runtime.h"

namespace ms {

using rt::Text;

constexpr int kMaxStatements = 400;
constexpr int kMaxConstants = 2000;
constexpr int kMaxFunctions = 500;
constexpr int kMaxVectors = 100;
constexpr int kMaxCalls = 500;
constexpr int32_t kMaxValueIndex = 100000;
constexpr int kBuiltinCount = 110;
constexpr int kMaxMacros = 20;
constexpr int kMaxSelectValues = 10;

struct StatementRec {
  int16_t StmtNo = 0;
  rt::Text Text;
  int16_t Spare = 0;
};

struct ConstRec {
  int16_t Kind = 0;
  Text Name;
  Text Expr;
  Text ValueText;
  int16_t Spare1 = 0;
  int16_t Locked = 0;
  int16_t Spare2 = 0;
  // The result constant of an Integ[ or dblInt[ statement that has not been computed (yet, or
  // because the command failed or was aborted): listed as "not computed", not as its value text,
  // and not put into the bodies that name it.
  bool NotComputed = false;
};

struct FuncRec {
  int16_t Kind = 0;
  Text Name;
  Text Parm1, Parm2, Parm3, Parm4, Parm5;
  Text Expr;
  Text Code;
  int16_t Compiled = 0;  // 0 false, -1 true
  double Value = 0;
  int16_t LineBreak = 0;
  // What the compile knows of Expr without reading it: 0 when it is the text the record's last
  // compile left, 1 when that text has since gained one pair of parentheses, -1 when unknown.
  int8_t ExprWraps = -1;
};

struct VecRec {
  int16_t Spare = 0;
  Text Name;
  Text Parm;
  Text DefText;
  Text XFuncName, YFuncName, ZFuncName;
  Text XExpr, YExpr, ZExpr;
  int16_t Defined = 0;
  int16_t IsOperation = 0;
  // How often the component records have been made, counted up to 2: once by the statement that
  // defines the vector, then again after every later statement while it is the last vector.
  int16_t ComponentMakes = 0;
};

struct CallRec {
  rt::Text Text;
  int16_t Pos = 0;
  int16_t Depth = 0;
};

struct ValueRec {
  Text Name;
  double Value = 0;
};

struct BuiltinRec {
  Text Name;
  Text Token;
};

struct MacroRec {
  Text Header;
  Text Body;
  Text Name;
  int32_t Field = 0;
  Text Extra;
};

struct WorksheetTables {
  std::array<StatementRec, kMaxStatements + 1> StatementList;
  int16_t StatementCount = 0;
  int16_t CurrentStmtNo = 0;

  std::array<ConstRec, kMaxConstants + 1> ConstTable;
  int16_t ConstCount = 0;

  std::array<FuncRec, kMaxFunctions + 1> FuncTable;
  int16_t FuncCount = 0;

  std::array<VecRec, kMaxVectors + 1> VecTable;
  int16_t VecCount = 0;

  std::array<CallRec, kMaxCalls + 1> CallList;

  std::array<ValueRec, kMaxValueIndex + 1> ValueList;
  int32_t ValueTop = 0;
  int32_t LiteralCount = 0;
  // Rows are written only at or below ValueTop; where the compile lowers ValueTop it keeps the
  // highest value it had here, so that ClearValueList clears only the rows a run used.
  int32_t ValueRowsUsed = 0;

  std::array<BuiltinRec, kBuiltinCount> BuiltinNames;

  std::array<MacroRec, kMaxMacros + 1> MacroTable;
  int16_t MacroCount = 0;

  std::array<Text, kMaxSelectValues + 1> SelectValueText;
  std::array<Text, kMaxSelectValues + 1> SelectValueId;
  std::array<Text, kMaxSelectValues + 1> SelectValueText2;
  int16_t SelectValueCount = 0;

  int16_t ShowValLegend = 0;
  int16_t PlotPending = 0;
};

// The one instance. Large (the value list alone holds 100,001 entries), so it lives in static
// storage.
extern WorksheetTables Tables;

// Messages of the append helpers when a table is full. The table is left as it was.
constexpr int16_t kMsgStatementsFull = 390;
constexpr int16_t kMsgConstantsFull = 391;
constexpr int16_t kMsgFunctionsFull = 392;
constexpr int16_t kMsgVectorsFull = 393;
constexpr int16_t kMsgValuesFull = 394;
constexpr int16_t kMsgCallsFull = 395;

// The append helpers: each raises the table's count and returns the index of the new entry, which
// the caller then fills (the entry keeps whatever an earlier run left in it; callers write every
// field they rely on). A full table sets msgNo to the table's message above, returns 0 and changes
// nothing. msgNo is set to 0 on success.
int16_t AppendConstant(int16_t& msgNo);
int16_t AppendFunction(int16_t& msgNo);
int16_t AppendVector(int16_t& msgNo);
// Statements: the new entry gets the statement number and text and its spare field cleared.
int16_t AppendStatement(int16_t stmtNo, const Text& text, int16_t& msgNo);
// Value list: ValueTop + 1 gets the name and value; returns the new ValueTop (0 when full).
int32_t AppendValue(const Text& name, double value, int16_t& msgNo);
// Call list, whose fill count the compiler keeps: count + 1 gets the entry; returns the new count
// (0 when full, count unchanged).
int16_t AppendCall(int16_t& count, const Text& text, int16_t pos, int16_t depth, int16_t& msgNo);

}  // namespace ms
