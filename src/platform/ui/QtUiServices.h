// The Qt implementation of ui::UiServices: message boxes, dialogs, clipboard, busy pointer,
// progress bars and window placement on Qt Widgets. Installed by main() for the real program.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QWidget>
#include <memory>

#include "platform/ui/UiServices.h"

class QFont;
class QPainter;
class QPrinter;
class QTemporaryFile;

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

// A font as the font dialog takes and gives it (family, size, bold, italic, underline,
// strikeout), and a font with a dialog's choice applied (its other properties kept).
FontChoice FontChoiceOf(const QFont& font);
QFont WithFontChoice(const QFont& font, const FontChoice& choice);

// The program's one printer, as the platform had one: the print dialog configures it, worksheet
// and graph printing draw on it. Created on first use (a QApplication must exist) and destroyed
// with the application.
QPrinter& Printer();

// How starting the program's printer on a painter ended.
enum class PrintStart {
  kStarted,    // the painter is active on Printer()
  kNoPrinter,  // no printer is installed and no PDF file was chosen: nothing was started
  kFailed,     // the printer would not start
};
// Starts the painter on the program's printer. A start that fails leaves the printer object
// active on some platforms, refusing every later change of its settings (print to file
// included), so a printer that did not start is replaced by a fresh one with the same settings:
// a failed print leaves nothing behind. Printer() must be fetched again after a call.
PrintStart BeginPrinting(QPainter& painter);

// One print on the program's printer. The painter's end reports success even where the writes
// of a PDF file failed, so where the printer prints to a PDF file the pages go first to a file of
// their own beside it, and the PDF file is replaced only by a complete document (PdfComplete),
// through a new file beside it (WriteWholeFile): a failed write (a full disk) leaves the file
// that was there as it was. A name taken by a device, a pipe or a folder is refused before
// anything is printed.
class PrintJob {
 public:
  enum class Outcome {
    kPrinted,
    kNoPrinter,   // no printer is installed and no PDF file was chosen: nothing was started
    kNotStarted,  // the printer would not start, or no file can be made where the PDF file goes
    kNotWritten,  // the PDF file could not be written, or its name is not a regular file's
  };
  PrintJob();
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Starts the painter on the program's printer, which must be fetched again after this; kPrinted
  // when it started.
  Outcome Begin(QPainter& painter);
  // Ends the painter: the pages go to the printer, or the complete PDF file takes its name.
  Outcome End(QPainter& painter);
  // Ends the painter of a print given up half-way: a PDF file chosen stays as it was.
  void Cancel(QPainter& painter);
  // The box text of a PDF file that could not be written; `what` names what was printed.
  rt::Text NotWrittenText(const rt::Text& what) const;

 private:
  QString target_;  // the PDF file chosen; "" when printing on a printer
  std::unique_ptr<QTemporaryFile> pages_;
};

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
  // Time since the event loop last ran from DoEvents, and since a progress bar was last drawn.
  QElapsedTimer eventClock_;
  QElapsedTimer progressClock_;
};

}  // namespace ui
