// Shared by the help window tests: a UiServices that records placement requests, and a fixture
// that starts and ends every test with no help window loaded.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <vector>

#include "help/HelpPage.h"
#include "help/XfrmHelp.h"
#include "platform/ui/UiServices.h"

namespace ms::testing {

// Records every MakeTopmostAtOrigin call and does what the real one does to the geometry.
class PlacementRecorder final : public ui::UiServices {
 public:
  int MsgBox(const rt::Text&, int, const rt::Text&) override { return ui::kAnswerOk; }
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
  void MakeTopmostAtOrigin(ui::WindowHandle window) override {
    placed.push_back(window);
    static_cast<QWidget*>(window)->move(0, 0);
  }
  void EndProgram() override {}

  std::vector<ui::WindowHandle> placed;
};

inline void ReleaseHelpWindows() {
  UnloadHelpPages();
  if (XfrmHelp* help = LoadedHelpWindow()) help->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class HelpWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseHelpWindows();
    ui::SetUi(&recorder_);
  }
  void TearDown() override {
    ReleaseHelpWindows();
    ui::SetUi(nullptr);
  }

  PlacementRecorder recorder_;
};

}  // namespace ms::testing
