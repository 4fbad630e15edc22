#include "plotting/PlotRequest.h"

namespace ms {

PlotRequestData PlotRequest;

void ResetPlotRequest() {
  PlotRequest = PlotRequestData{};
}

}  // namespace ms
