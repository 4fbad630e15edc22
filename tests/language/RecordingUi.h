// A UiServices stand-in for the language tests: records message boxes, progress bars and program
// ends, answers every box with OK. Installed for the lifetime of the object.
#pragma once

#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/ui/UiServices.h"

namespace ms::test {

class RecordingUi final : public ui::UiServices {
 public:
  struct Box {
    rt::Text text;
    int style;
    rt::Text title;
  };
  struct Progress {
    rt::Text bar;
    double fraction;
  };

  RecordingUi() { ui::SetUi(this); }
  ~RecordingUi() override { ui::SetUi(nullptr); }

  int MsgBox(const rt::Text& text, int style, const rt::Text& title) override {
    boxes.push_back({text, style, title});
    return ui::kAnswerOk;
  }
  void DoEvents() override {}
  void SetBusy(bool) override {}
  void ShowProgress(const rt::Text& bar, double fraction) override {
    progress.push_back({bar, fraction});
  }
  bool OpenFileDialog(const ui::FileDialogRequest&, rt::Text&) override { return false; }
  bool SaveFileDialog(const ui::FileDialogRequest&, rt::Text&) override { return false; }
  bool ColorDialog(int32_t, int32_t&) override { return false; }
  bool FontDialog(const ui::FontChoice&, ui::FontChoice&) override { return false; }
  bool PrintDialog() override { return false; }
  rt::Text ClipboardText() override { return {}; }
  void SetClipboardText(const rt::Text&) override {}
  void SetClipboardPicture(const uint32_t*, int, int) override {}
  void MakeTopmostAtOrigin(ui::WindowHandle) override {}
  void EndProgram() override { ++endProgramCalls; }

  std::vector<Box> boxes;
  std::vector<Progress> progress;
  int endProgramCalls = 0;
};

}  // namespace ms::test
