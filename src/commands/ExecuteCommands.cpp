#include "commands/ExecuteCommands.h"

#include "commands/DblIntCommand.h"
#include "commands/IntegCommand.h"
#include "commands/PlotCommand.h"
#include "commands/ZeroCommand.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "mathematics/Definitions.h"
#include "mathematics/FunctionValue.h"

namespace ms {
namespace {

// Integ[ and dblInt[: appends the result constant, then runs the command in the statement's slot.
// 0, or the message of the table or of the command; 249 when a constant of that name is there
// already, before anything is written (the integral would store its value into the first one).
// The record is marked not computed until the command stores its value, so that no body takes
// its placeholder text for a value.
[[nodiscard]] int16_t RunIntegral(const rt::Text& statement, bool single) {
  // The identifier is one or two characters before "="; a one-letter identifier is stored padded
  // as every other one-letter constant, so later statements find it.
  rt::Text id, rest;
  SplitIntegralConstant(statement, id, rest);
  if (id.size() == 1) id += u'_';
  if (CheckConstantDefined(id) == 0) return kMsgConstantDefinedTwice;
  int16_t msgNo = 0;
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return msgNo;
  ConstRec& rec = Tables.ConstTable[index];
  rec.Kind = 0;
  rec.Name = id;
  // The table's clear keeps the expression text of a record: a constant of an earlier run must not
  // be listed as this one's expression when the integral stops before it stores its value.
  rec.Expr.clear();
  rec.ValueText = rt::Str(IntegResult);
  rec.Spare1 = 0;
  rec.Locked = 0;
  rec.NotComputed = true;
  // The constant's identifier is split off again by the command itself.
  return single ? ProcessInteg(statement, Requests.IntegStmtCount) : ProcessDblInt(statement);
}

}  // namespace

int16_t RunImmediateCommand(ImmediateCommand command, const rt::Text& statement) {
  const FunctionBindingScope bindings;
  switch (command) {
    case ImmediateCommand::Plot:
      return ProcessPlot(statement);
    case ImmediateCommand::Zero:
      return ProcessZero(statement);
    case ImmediateCommand::Integ:
      return RunIntegral(statement, true);
    case ImmediateCommand::DblInt:
      return RunIntegral(statement, false);
    case ImmediateCommand::None:
      break;
  }
  return 0;
}

int16_t ClassifyAndRun(rt::Text& statement) {
  const DefinitionCounts before = CountDefinitions();
  const Classification c = ClassifyAndStore(statement);
  if (c.msgNo != 0) return c.msgNo;
  if (c.runNow != ImmediateCommand::None) {
    const int16_t msgNo = ImmediateCommandDone(c.runNow, RunImmediateCommand(c.runNow, statement));
    if (msgNo != 0) return msgNo;
  }
  // Only the first record of a name is ever used: a second definition is refused.
  return CheckDefinedOnce(before);
}

}  // namespace ms
