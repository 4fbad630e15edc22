// The Qt implementation of ui::UiServices: message boxes, dialogs, clipboard, busy pointer,
// progress bars and window placement on Qt Widgets. Installed by main() for the real program.
#pragma once

#include <QHash>
#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QWidget>
#include <chrono>

#include "platform/ui/UiServices.h"

class QPrinter;

namespace ui {

// Worksheet text and QString are both UTF-16: conversion is a copy of code units.
inline QString ToQString(const rt::Text& s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}
inline rt::Text FromQString(const QString& s) {
  return s.toStdU16String();
}

// Translates a filter in "Text Documents (*.txt)|*.txt" form (description|pattern pairs) to the
// Qt form "Text Documents (*.txt)" with ";;" between pairs. A description that does not already end
// with its pattern list in parentheses gets it appended, because Qt reads the patterns from there.
// Patterns separated by ";" become blank-separated. An empty filter gives "".
QString QtFileFilter(const rt::Text& filter);

// The platform's message box styles decoded: the button set (low four bits: 0 OK, 1 OK/Cancel,
// 3 Yes/No/Cancel, 4 Yes/No) and the icon (16 stop, 32 question, 48 exclamation, 64 information).
struct MsgBoxShape {
  int buttons = 0;
  int icon = 0;
};
MsgBoxShape DecodeMsgStyle(int style);

// The program's one printer, as the platform had one: the print dialog configures it, worksheet
// and graph printing draw on it. Created on first use (a QApplication must exist) and destroyed
// with the application.
QPrinter& Printer();

class QtUiServices final : public UiServices {
 public:
  QtUiServices() = default;
  ~QtUiServices() override;

  int MsgBox(const rt::Text& text, int style, const rt::Text& title) override;
  void DoEvents() override;
  void SetBusy(bool busy) override;
  void ShowProgress(const rt::Text& bar, double fraction) override;

  bool OpenFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) override;
  bool SaveFileDialog(const FileDialogRequest& req, rt::Text& chosenPath) override;
  bool ColorDialog(int32_t initial, int32_t& chosen) override;
  bool FontDialog(const FontChoice& initial, FontChoice& chosen) override;
  bool PrintDialog() override;

  rt::Text ClipboardText() override;
  void SetClipboardText(const rt::Text& text) override;
  void SetClipboardPicture(const uint32_t* pixels, int width, int height) override;

  // window is a QWidget*.
  void MakeTopmostAtOrigin(WindowHandle window) override;
  void EndProgram() override;

  // A progress bar that ShowProgress draws on under the given name ("" is the default bar).
  void RegisterProgressBar(const rt::Text& name, QProgressBar* bar);
  // Parent of the modal dialogs (usually the worksheet window); may be null.
  void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }

 private:
  QHash<QString, QPointer<QProgressBar>> bars_;
  QPointer<QWidget> dialogParent_;
  int busyDepth_ = 0;
  // Long loops let events run and draw progress at every step; the screen takes them at most
  // every few milliseconds (one run of the event loop or one repaint costs microseconds).
  std::chrono::steady_clock::time_point lastEvents_{}, lastEventsCall_{}, lastRepaint_{};
};

}  // namespace ui
