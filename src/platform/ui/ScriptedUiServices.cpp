#include "platform/ui/ScriptedUiServices.h"

#include <cstddef>

namespace ui {

namespace {

// The button set is the low four bits of the style: 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
// 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel. The icon bits (16, 32, 48, 64) do not matter here.
constexpr int kAnswerAbort = 3;
constexpr int kAnswerRetry = 4;
constexpr int kAnswerIgnore = 5;

bool HasButton(int style, int answer) {
  switch (style & 0xF) {
    case 0:
      return answer == kAnswerOk;
    case 1:
      return answer == kAnswerOk || answer == kAnswerCancel;
    case 2:
      return answer == kAnswerAbort || answer == kAnswerRetry || answer == kAnswerIgnore;
    case 3:
      return answer == kAnswerYes || answer == kAnswerNo || answer == kAnswerCancel;
    case 4:
      return answer == kAnswerYes || answer == kAnswerNo;
    case 5:
      return answer == kAnswerRetry || answer == kAnswerCancel;
    default:
      return false;
  }
}

// A picture larger than this many pixels is recorded by its size only.
constexpr size_t kMaxRecordedPixels = size_t{1} << 26;

}  // namespace

int ScriptedUiServices::DefaultAnswer(int style) {
  switch (style & 0xF) {
    case 2:
      return kAnswerAbort;
    case 3:
    case 4:
      return kAnswerYes;
    case 5:
      return kAnswerRetry;
    default:
      return kAnswerOk;
  }
}

void ScriptedUiServices::Reset() {
  *this = ScriptedUiServices();
}

int ScriptedUiServices::MsgBox(const rt::Text& text, int style, const rt::Text& title) {
  int answer = 0;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  } else {
    const int set = style & 0xF;
    const bool yesNo = set == 3 || set == 4;
    answer = yesNo && fixedAnswer != 0 && HasButton(style, fixedAnswer) ? fixedAnswer
                                                                        : DefaultAnswer(style);
  }
  boxes.push_back(Box{title, text, style, answer});
  return answer;
}

void ScriptedUiServices::DoEvents() {
  ++doEventsCount;
  if (onDoEvents) onDoEvents();
}

void ScriptedUiServices::SetBusy(bool on) {
  busy = on;
  ++busyChanges;
}

void ScriptedUiServices::ShowProgress(const rt::Text& bar, double fraction) {
  progress.push_back(Progress{bar, fraction});
}

bool ScriptedUiServices::OpenFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) {
  fileRequests.push_back(FileRequest{false, req});
  if (openPaths.empty()) return false;
  rt::Text path = openPaths.front();
  openPaths.pop_front();
  if (path.empty()) return false;
  chosenPath = path;
  return true;
}

bool ScriptedUiServices::SaveFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) {
  fileRequests.push_back(FileRequest{true, req});
  if (savePaths.empty()) return false;
  rt::Text path = savePaths.front();
  savePaths.pop_front();
  if (path.empty()) return false;
  chosenPath = path;
  return true;
}

bool ScriptedUiServices::ColorDialog(int32_t initial, int32_t& chosen) {
  colorRequests.push_back(initial);
  if (colors.empty()) return false;
  const std::optional<int32_t> c = colors.front();
  colors.pop_front();
  if (!c) return false;
  chosen = *c;
  return true;
}

bool ScriptedUiServices::FontDialog(const FontChoice& initial, FontChoice& chosen) {
  fontRequests.push_back(initial);
  if (fonts.empty()) return false;
  const std::optional<FontChoice> f = fonts.front();
  fonts.pop_front();
  if (!f) return false;
  chosen = *f;
  return true;
}

bool ScriptedUiServices::PrintDialog() {
  ++printRequests;
  if (prints.empty()) return false;
  const bool ok = prints.front();
  prints.pop_front();
  return ok;
}

rt::Text ScriptedUiServices::ClipboardText() {
  return clipboardText;
}

void ScriptedUiServices::SetClipboardText(const rt::Text& text) {
  clipboardText = text;
}

void ScriptedUiServices::SetClipboardPicture(const uint32_t* pixels, int width, int height) {
  clipboardPictureWidth = width;
  clipboardPictureHeight = height;
  clipboardPicture.clear();
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (count > kMaxRecordedPixels) return;
  clipboardPicture.assign(pixels, pixels + count);
}

void ScriptedUiServices::MakeTopmostAtOrigin(WindowHandle window) {
  topmost.push_back(window);
}

void ScriptedUiServices::EndProgram() {
  ++endProgramCalls;
}

}  // namespace ui
