#include "graph/GraphCommands.h"

namespace gr {

namespace {

constexpr std::array<CommandBuilder, static_cast<int>(GraphCommand::kCount)> kDefaultBuilders = {
    IntegCommandSlot,      DblIntCommandSlot,   IVPCommandSlot,     BVPCommandSlot,
    SlopeFieldCommandSlot, DirFieldCommandSlot, Field3DCommandSlot, ContourCommandSlot};

std::array<CommandBuilder, static_cast<int>(GraphCommand::kCount)> g_builders = kDefaultBuilders;

// Shared body of the slots: nothing is computed and nothing is added to the scene.
void EmptySlot(int16_t& msgNo) {
  msgNo = 0;
}

}  // namespace

CommandBuilder& CommandEntry(GraphCommand command) {
  int i = static_cast<int>(command);
  if (i < 0 || i >= static_cast<int>(GraphCommand::kCount)) i = 0;
  return g_builders[static_cast<size_t>(i)];
}

void ResetGraphCommands() {
  g_builders = kDefaultBuilders;
}

void RunGraphCommand(GraphCommand command, rt::Text& statement, int16_t slot, int16_t& msgNo) {
  msgNo = 0;
  CommandBuilder builder = CommandEntry(command);
  if (builder != nullptr) builder(statement, slot, msgNo);
}

void IntegCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void DblIntCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void IVPCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void BVPCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void SlopeFieldCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void DirFieldCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void Field3DCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}
void ContourCommandSlot(rt::Text&, int16_t, int16_t& msgNo) {
  EmptySlot(msgNo);
}

}  // namespace gr
