// Fixture of the field-command tests: a clean program state, the scripted screen, worksheets run
// through the whole language road (reader, checker, classification, compiler) and readers of the
// scene the commands leave.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/Messages.h"
#include "language/ProgramState.h"
#include "language/Settings.h"
#include "language/UserInput.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"

namespace ms::testing {

// One segment of the scene with its end points.
struct FieldSeg {
  Point3 from;
  Point3 to;
  double red, green, blue, kind;
};

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ResetFieldTables();
    ui::SetUi(&screen_);
    // As the graph window leaves things before its first build.
    View.ShowBox = 0;
    StartSceneBuild();
  }
  void TearDown() override { ui::SetUi(nullptr); }

  // Executes the worksheet lines (each ended by CR LF) as Execute does; returns the first message.
  int16_t Run(std::initializer_list<const char16_t*> lines) {
    rt::Text text;
    for (const char16_t* line : lines) {
      text += line;
      text += u"\r\n";
    }
    ClearAll();
    ClearRequestsForExecute();
    RunFlags.AbortRun = 0;
    rt::Text stmtText;
    int16_t msgNo = 0;
    ProcessWorksheet(text, stmtText, msgNo);
    RunFlags.AbortRun = 0;
    return msgNo;
  }

  // A fresh picture build: empty store and view box, as the graph window starts one.
  static void StartBuild() { StartSceneBuild(); }

  static std::vector<FieldSeg> Segments(int from = 0, int to = -1) {
    std::vector<FieldSeg> out;
    const int end = to < 0 ? Scene.SegmentCount : to;
    for (int s = from; s < end; ++s) {
      const SegmentRow& r = Scene.SegmentTable[s];
      out.push_back({Scene.VertexXYZ[static_cast<int>(r[kStartPoint])],
                     Scene.VertexXYZ[static_cast<int>(r[kEndPoint])], r[kRed], r[kGreen], r[kBlue],
                     r[kSegKind]});
    }
    return out;
  }

  static double Length(const FieldSeg& s) {
    return std::hypot(s.to[0] - s.from[0], s.to[1] - s.from[1], s.to[2] - s.from[2]);
  }

  ui::ScriptedUiServices screen_;
};

// Relative closeness with an absolute floor for values near zero.
inline bool Near(double a, double b, double rel = 1e-9) {
  return std::fabs(a - b) <= rel * std::max({1.0, std::fabs(a), std::fabs(b)});
}

}  // namespace ms::testing
