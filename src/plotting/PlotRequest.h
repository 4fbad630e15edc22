// What a Plot[ statement leaves for the graph window: the vector names, the parameter range and
// steps, the arrow flags, and per curve #1..#6 the function-table indexes of its components.
// The Plot[ reader fills it at Execute; the curve builder reads it when the picture is built.
// The numerical curve drivers store their own start value and step count in PlotTMin/PlotSteps.
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

constexpr int kMaxPlotVectors = 20;   // PlotVectorList entries 1..20
constexpr int kMaxPlotCurves = 6;     // curves #1..#6
constexpr int kPlotSpecEntries = 19;  // PlotSpec 0..18

struct PlotRequestData {
  // Entries 1..20 (0 unused): a vector name, an upper-case letter and a lower-case letter or "_".
  std::array<rt::Text, kMaxPlotVectors + 1> PlotVectorList;
  int16_t PlotVectorCount = 0;
  rt::Text PlotStatement;  // the statement as read, named by a message of the curve build
  rt::Text PlotVariable;   // the one-letter parameter
  double PlotTMin = 0;
  double PlotTMax = 0;
  int16_t PlotSteps = 0;
  double PlotDt = 0;
  // Characters between "}" and "]"; character k being "a" asks for an arrow head on curve #k.
  rt::Text ArrowFlags;
  // For curve #k (1..6): entries 3(k-1), 3(k-1)+1, 3(k-1)+2 hold the 1-based FuncTable indexes of
  // its X, Y and Z components; entry 18 unused.
  std::array<int32_t, kPlotSpecEntries> PlotSpec{};
  // Entries 1..6 (0 unused): the curve being built.
  std::array<int16_t, kMaxPlotCurves + 1> PlotSelect{};
};

extern PlotRequestData PlotRequest;

void ResetPlotRequest();

}  // namespace ms
