#include "commands/ExecuteCommands.h"

#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "numerics/DblInt.h"
#include "numerics/FunctionValue.h"
#include "numerics/Integ.h"
#include "numerics/Roots.h"
#include "plotting/PlotCommand.h"

namespace ms {
namespace {

// Integ[ and dblInt[: appends the result constant, then runs the command in the statement's slot.
void RunIntegral(const rt::Text& statement, bool single, int16_t& msgNo) {
  // The identifier is one or two characters before "="; a one-letter identifier is stored padded
  // as every other one-letter constant, so later statements find it.
  rt::Text id, rest;
  SplitIntegralConstant(statement, id, rest);
  if (id.size() == 1) id += u'_';
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return;
  ConstRec& rec = Tables.ConstTable[index];
  rec.Kind = 0;
  rec.Name = id;
  rec.ValueText = rt::Str(IntegResult);
  rec.Spare1 = 0;
  rec.Locked = 0;
  rec.NotComputed = true;
  rt::Text text = statement;
  int16_t slotNumber = Requests.IntegStmtCount;
  // The constant's identifier is split off again by the command itself.
  if (single)
    msgNo = ProcessInteg(text, slotNumber);
  else
    msgNo = ProcessDblInt(text);
}

}  // namespace

void RunImmediateCommand(ImmediateCommand command, const rt::Text& statement, int16_t& msgNo) {
  const FunctionBindingScope bindings;
  rt::Text text = statement;
  switch (command) {
    case ImmediateCommand::Plot:
      ProcessPlot(text, msgNo);
      return;
    case ImmediateCommand::Zero:
      msgNo = ProcessZero(text);
      return;
    case ImmediateCommand::Integ:
      RunIntegral(statement, true, msgNo);
      return;
    case ImmediateCommand::DblInt:
      RunIntegral(statement, false, msgNo);
      return;
  }
}

}  // namespace ms
