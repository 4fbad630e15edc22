#include "commands/GraphCommands.h"

#include "numerics/Bvp.h"
#include "numerics/DblInt.h"
#include "numerics/FunctionValue.h"
#include "numerics/Integ.h"
#include "numerics/Ivp.h"
#include "plotting/Contour.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/SlopeField.h"

namespace ms {

namespace {

constexpr std::array<CommandBuilder, kGraphCommandCount> kDefaultBuilders = {
    IntegCommand,      DblIntCommand,   IVPCommand,     BVPCommand,
    SlopeFieldCommand, DirFieldCommand, Field3DCommand, ContourCommand};

std::array<CommandBuilder, kGraphCommandCount> g_builders = kDefaultBuilders;

}  // namespace

CommandBuilder& CommandEntry(GraphCommand command) {
  const int i = static_cast<int>(command);
  if (i < 0 || i >= kGraphCommandCount) {
    static CommandBuilder none;
    none = nullptr;
    return none;
  }
  return g_builders[static_cast<size_t>(i)];
}

void ResetGraphCommands() {
  g_builders = kDefaultBuilders;
}

void RunGraphCommand(GraphCommand command, rt::Text& statement, int16_t slot, int16_t& msgNo) {
  msgNo = 0;
  // The tables stand still while a command runs: its functions are bound once.
  const FunctionBindingScope bindings;
  CommandBuilder builder = CommandEntry(command);
  if (builder != nullptr) builder(statement, slot, msgNo);
}

// Single and double integrals share one count of slots, each list holding only its own kind's
// statements: a slot of the other kind is empty here and holds nothing to run.
void IntegCommand(rt::Text& statement, int16_t slot, int16_t& msgNo) {
  if (statement.empty()) return;
  msgNo = ProcessInteg(statement, slot, true);
}
void DblIntCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  if (statement.empty()) return;
  msgNo = ProcessDblInt(statement);
}
void IVPCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  msgNo = ProcessIVP(statement);
}
void BVPCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  msgNo = ProcessBVP(statement);
}
void SlopeFieldCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  ProcessPlotSlopeField(statement, msgNo);
}
void DirFieldCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  ProcessPlotDirField(statement, msgNo);
}
void Field3DCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  ProcessPlotField3D(statement, msgNo);
}
void ContourCommand(rt::Text& statement, int16_t, int16_t& msgNo) {
  ProcessPlotContour(statement, msgNo);
}

}  // namespace ms
