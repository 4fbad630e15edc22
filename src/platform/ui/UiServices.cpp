#include "platform/ui/UiServices.h"

namespace ui {
namespace {

// Answers every box with its default button and does nothing else; used before a window installs
// its implementation, so the core can run headless.
class SilentUiServices final : public UiServices {
 public:
  int MsgBox(const rt::Text&, int style, const rt::Text&) override {
    return (style & 0xF) == 3 ? kAnswerYes : kAnswerOk;
  }
  void DoEvents() override {}
  void SetBusy(bool) override {}
  void ShowProgress(const rt::Text&, double) override {}
  bool OpenFileDialog(const FileDialogRequest&, rt::Text&) override { return false; }
  bool SaveFileDialog(const FileDialogRequest&, rt::Text&) override { return false; }
  bool ColorDialog(int32_t, int32_t&) override { return false; }
  bool FontDialog(const FontChoice&, FontChoice&) override { return false; }
  bool PrintDialog() override { return false; }
  rt::Text ClipboardText() override { return clip_; }
  void SetClipboardText(const rt::Text& text) override { clip_ = text; }
  void SetClipboardPicture(const uint32_t*, int, int) override {}
  void MakeTopmostAtOrigin(WindowHandle) override {}
  void EndProgram() override {}

 private:
  rt::Text clip_;
};

SilentUiServices g_silent;
UiServices* g_current = &g_silent;

}  // namespace

UiServices& Ui() {
  return *g_current;
}
void SetUi(UiServices* services) {
  g_current = services ? services : &g_silent;
}

}  // namespace ui
