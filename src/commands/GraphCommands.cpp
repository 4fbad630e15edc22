#include "commands/GraphCommands.h"

#include "commands/ContourCommand.h"
#include "commands/DblIntCommand.h"
#include "commands/DirFieldCommand.h"
#include "commands/Field3DCommand.h"
#include "commands/IntegCommand.h"
#include "commands/OdeCommands.h"
#include "commands/SlopeFieldCommand.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "plotting/Contour.h"

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

int16_t RunGraphCommand(GraphCommand command, const rt::Text& statement, int16_t slot) {
  // The tables stand still while a command runs: its functions are bound once.
  const FunctionBindingScope bindings;
  CommandBuilder builder = CommandEntry(command);
  return builder != nullptr ? builder(statement, slot) : 0;
}

// Single and double integrals share one count of slots, each list holding only its own kind's
// statements: a slot of the other kind is empty here and holds nothing to run.
int16_t IntegCommand(const rt::Text& statement, int16_t slot) {
  if (statement.empty()) return 0;
  return ProcessInteg(statement, slot, true);
}
int16_t DblIntCommand(const rt::Text& statement, int16_t) {
  if (statement.empty()) return 0;
  return ProcessDblInt(statement);
}
int16_t IVPCommand(const rt::Text& statement, int16_t) {
  return ProcessIVP(statement);
}
int16_t BVPCommand(const rt::Text& statement, int16_t) {
  return ProcessBVP(statement);
}
int16_t SlopeFieldCommand(const rt::Text& statement, int16_t) {
  return ProcessPlotSlopeField(statement);
}
int16_t DirFieldCommand(const rt::Text& statement, int16_t) {
  return ProcessPlotDirField(statement);
}
int16_t Field3DCommand(const rt::Text& statement, int16_t) {
  return ProcessPlotField3D(statement);
}
int16_t ContourCommand(const rt::Text& statement, int16_t) {
  return ProcessPlotContour(statement);
}

}  // namespace ms
