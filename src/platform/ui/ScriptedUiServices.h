// UiServices without a screen, for tests and the probe: every message box and dialog is recorded
// and answered from a script, and every other request is counted or kept for inspection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/UiServices.h"

namespace ui {

class ScriptedUiServices final : public UiServices {
 public:
  struct Box {
    rt::Text title;
    rt::Text text;
    int style = 0;
    int answer = 0;  // what the box returned
  };
  struct FileRequest {
    bool save = false;  // Save As (true) or Open (false)
    FileDialogRequest request;
  };
  struct Progress {
    rt::Text bar;
    double fraction = 0;
  };

  // The button a box answers with when nothing is scripted: OK for the OK-only styles (0, 16,
  // 48), Yes for the Yes/No and Yes/No/Cancel styles (51), the first button otherwise.
  static int DefaultAnswer(int style);

  // --- Script -----------------------------------------------------------------------------
  // Answers for the next boxes, in order. When the queue is empty a box takes the fixed answer
  // (when set and the box has that button) or its default button.
  std::deque<int> answers;
  // A fixed answer for boxes with Yes and No buttons; 0 = none (the default button).
  int fixedAnswer = 0;
  // Paths chosen by the next Open and Save As dialogs; "" (or an empty queue) = cancelled.
  std::deque<rt::Text> openPaths;
  std::deque<rt::Text> savePaths;
  // Colours and fonts chosen by the next dialogs; nullopt (or an empty queue) = cancelled.
  std::deque<std::optional<int32_t>> colors;
  std::deque<std::optional<FontChoice>> fonts;
  // Outcomes of the next print dialogs; an empty queue = cancelled.
  std::deque<bool> prints;
  // Run by every DoEvents after it is counted (tests set abort flags from here, as a key press
  // would).
  std::function<void()> onDoEvents;

  // --- Record -----------------------------------------------------------------------------
  std::vector<Box> boxes;
  std::vector<FileRequest> fileRequests;
  std::vector<int32_t> colorRequests;  // the initial colour of each colour dialog
  std::vector<FontChoice> fontRequests;
  int printRequests = 0;
  long doEventsCount = 0;
  bool busy = false;
  int busyChanges = 0;  // calls of SetBusy
  std::vector<Progress> progress;
  rt::Text clipboardText;
  std::vector<uint32_t> clipboardPicture;  // 0xAARRGGBB, row after row
  int clipboardPictureWidth = 0;
  int clipboardPictureHeight = 0;
  std::vector<WindowHandle> topmost;
  int endProgramCalls = 0;

  // Clears the script and every record.
  void Reset();

  // --- UiServices ---------------------------------------------------------------------------
  int MsgBox(const rt::Text& text, int style, const rt::Text& title) override;
  void DoEvents() override;
  void SetBusy(bool on) override;
  void ShowProgress(const rt::Text& bar, double fraction) override;
  bool OpenFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) override;
  bool SaveFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) override;
  bool ColorDialog(int32_t initial, int32_t& chosen) override;
  bool FontDialog(const FontChoice& initial, FontChoice& chosen) override;
  bool PrintDialog() override;
  rt::Text ClipboardText() override;
  void SetClipboardText(const rt::Text& text) override;
  void SetClipboardPicture(const uint32_t* pixels, int width, int height) override;
  void MakeTopmostAtOrigin(WindowHandle window) override;
  void EndProgram() override;
};

}  // namespace ui
