// Helpers shared by the scene-builder tests: a clean start for every process-wide group the
// builders read, a UiServices that records message boxes, and readers of the segments a builder
// appended.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace ms::testing {

// Records every message box and answers OK.
class RecordingUi : public ui::UiServices {
 public:
  struct Box {
    rt::Text text;
    int style;
    rt::Text title;
  };
  std::vector<Box> boxes;

  int MsgBox(const rt::Text& text, int style, const rt::Text& title) override {
    boxes.push_back({text, style, title});
    return ui::kAnswerOk;
  }
  void DoEvents() override {}
  void SetBusy(bool) override {}
  void ShowProgress(const rt::Text&, double) override {}
  bool OpenFileDialog(const ui::FileDialogRequest&, rt::Text&) override { return false; }
  bool SaveFileDialog(const ui::FileDialogRequest&, rt::Text&) override { return false; }
  bool ColorDialog(int32_t, int32_t&) override { return false; }
  bool FontDialog(const ui::FontChoice&, ui::FontChoice&) override { return false; }
  bool PrintDialog() override { return false; }
  rt::Text ClipboardText() override { return {}; }
  void SetClipboardText(const rt::Text&) override {}
  void SetClipboardPicture(const uint32_t*, int, int) override {}
  void MakeTopmostAtOrigin(ui::WindowHandle) override {}
  void EndProgram() override {}
};

// One appended segment with its two end points.
struct Seg {
  Point3 from;
  Point3 to;
  SegmentRow row;
};

inline Seg SegmentAt(int s) {
  const SegmentRow& row = Scene.SegmentTable[s];
  return {Scene.VertexXYZ[static_cast<int>(row[kStartPoint])],
          Scene.VertexXYZ[static_cast<int>(row[kEndPoint])], row};
}

inline std::vector<Seg> SegmentsFrom(int firstSegment) {
  std::vector<Seg> out;
  for (int s = firstSegment; s < Scene.SegmentCount; ++s) out.push_back(SegmentAt(s));
  return out;
}

inline void ExpectPointNear(const Point3& actual, const Point3& expected, double tol = 1e-12) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(actual[c], expected[c], tol) << "coordinate " << c;
}

// Every group a builder reads back at its start-up state, and a recording UI installed.
class SceneTest : public ::testing::Test {
 protected:
  RecordingUi recorder;

  void SetUp() override {
    ResetScene();
    ResetViewState();
    ResetCurveWork();
    ResetPlotRequest();
    ResetSolutionStore();
    ResetSettings();
    ResetCommandRequests();
    ui::SetUi(&recorder);
  }
  void TearDown() override { ui::SetUi(nullptr); }
};

}  // namespace ms::testing
