// The one interface through which the core reaches the screen. The core never includes Qt; the
// windows install a Qt implementation at start-up, tests install ScriptedUiServices.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/Runtime.h"

namespace ui {

// Message box styles and answers, as the worksheet language uses them.
enum MsgStyle : int { kOkOnly = 0, kStop = 16, kExclamation = 48, kYesNoCancelExclamation = 51 };
enum MsgAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

struct FileDialogRequest {
  rt::Text title;
  rt::Text filter;      // "Text Documents (*.txt)|*.txt" form: description|pattern pairs
  rt::Text defaultExt;  // without the dot, "" for none
  rt::Text initialName;
  bool overwritePrompt = false;
};

struct FontChoice {
  rt::Text family;
  double pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

// Identifies a window for placement requests; the Qt side maps it to a widget.
using WindowHandle = void*;

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Message box; text lines are separated by CR LF. Returns one of MsgAnswer.
  virtual int MsgBox(const rt::Text& text, int style, const rt::Text& title) = 0;
  // Lets pending events run (keys such as Esc reach their handlers).
  virtual void DoEvents() = 0;
  // The hourglass pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // A progress bar: fraction 0..1 drawn on the named bar ("" = the default bar).
  virtual void ShowProgress(const rt::Text& bar, double fraction) = 0;

  // Common dialogs: false when cancelled, never throws.
  virtual bool OpenFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) = 0;
  virtual bool SaveFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) = 0;
  virtual bool ColorDialog(int32_t initial, int32_t& chosen) = 0;
  virtual bool FontDialog(const FontChoice& initial, FontChoice& chosen) = 0;
  virtual bool PrintDialog() = 0;

  // Clipboard.
  virtual rt::Text ClipboardText() = 0;
  virtual void SetClipboardText(const rt::Text& text) = 0;
  // A picture for the clipboard: 32-bit 0xAARRGGBB pixels, row after row.
  virtual void SetClipboardPicture(const uint32_t* pixels, int width, int height) = 0;

  // Makes a window topmost at the screen's top-left corner, keeping its size.
  virtual void MakeTopmostAtOrigin(WindowHandle window) = 0;
  // Ends the program (every window unloaded).
  virtual void EndProgram() = 0;
};

// The installed implementation. Never null: a silent default answers every box with its default
// button until a real one is installed.
UiServices& Ui();
// Installs an implementation (not owned); nullptr restores the silent default.
void SetUi(UiServices* services);

}  // namespace ui
