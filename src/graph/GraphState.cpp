#include "graph/GraphState.h"

namespace gr {

GraphStateData Graph;

void ResetGraphState() {
  Graph = GraphStateData{};
}

}  // namespace gr
