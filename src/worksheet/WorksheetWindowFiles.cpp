// Worksheet files and closing: New, Open, Save, Save As, Close, the close query and End.
#include <QCloseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "platform/ui/QtUiServices.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

namespace {

constexpr char16_t kOpenFilter[] = u"Text Documents (*.txt)|*.txt";
constexpr char16_t kSaveFilter[] = u"Text File (*.txt)|*.txt";

}  // namespace

void WorksheetWindow::ShowFileError(const QString& what, const QString& path) {
  ui::Ui().MsgBox(ui::FromQString(what + QStringLiteral(": ") + path), ui::kExclamation, kAppTitle);
}

bool WorksheetWindow::WriteTo(const QString& path) {
  WriteFailure failure;
  if (!WriteWorksheetFile(path, SheetText(), fileEncoding_, &failure)) {
    ui::Ui().MsgBox(ui::FromQString(SaveFailureText(failure, path)), ui::kExclamation, kAppTitle);
    return false;
  }
  return true;
}

bool WorksheetWindow::ConfirmDiscard(const rt::Text& title, bool saveAsWhenUnnamed) {
  if (!IsChanged()) return true;
  const int answer = ui::Ui().MsgBox(u"Save the changes?", ui::kYesNoCancelExclamation, title);
  if (answer == ui::kAnswerCancel) return false;
  if (answer != ui::kAnswerYes) return true;
  SaveOutcome outcome;
  if (currentFileName_.isEmpty() && saveAsWhenUnnamed) {
    outcome = mnuSaveAs_click();
  } else {
    outcome = mnuSave_click();
  }
  // A Yes whose save did not happen stops the action: the changes would be lost otherwise.
  return outcome != SaveOutcome::kNotWritten;
}

void WorksheetWindow::mnuNew_click() {
  SetGraphButton(false, kGraphIdleColor);
  cmdCompute->setEnabled(true);
  cmdClearValues->setEnabled(false);
  cmdClearWk->setEnabled(true);
  if (!ConfirmDiscard(u"Save File?", true)) return;
  ReplaceText(QString());
  Text1->document()->setModified(false);
  setWindowTitle(QStringLiteral("Untitled"));
  currentFileName_.clear();
  fileEncoding_ = FileEncoding::kLatin1;
  ClearWorksheetTables();
  ClearListing();
  ClearProgress();
  ms::ClearCommandFlags();
}

void WorksheetWindow::mnuFileOpen_click() {
  const bool proceed = ConfirmDiscard(kAppTitle, true);
  ClearProgress();
  ms::ClearCommandFlags();
  if (!proceed) return;

  ui::FileDialogRequest request;
  request.title = u"Open";
  request.filter = kOpenFilter;
  rt::Text chosen;
  if (ui::Ui().OpenFileDialog(request, chosen) && !chosen.empty()) {
    const QString path = ui::ToQString(chosen);
    QString text;
    FileEncoding encoding = FileEncoding::kLatin1;
    QString why;
    if (ReadWorksheetFile(path, text, &encoding, &why)) {
      fileEncoding_ = encoding;
      ReplaceText(text);
      Text1->document()->setModified(false);
      setWindowTitle(FileTitle(path));
      // Save writes back to the file that was opened, wherever the current folder is.
      currentFileName_ = path;
    } else {
      ShowFileError(why.isEmpty() ? QStringLiteral("The worksheet could not be opened")
                                  : QStringLiteral("The worksheet could not be opened (") + why +
                                        QLatin1Char(')'),
                    path);
    }
  } else {
    setWindowTitle(QStringLiteral("New File"));
  }
  ClearWorksheetTables();
  ClearListing();
  cmdCompute->setEnabled(true);
  ms::ClearCommandFlags();
  SetGraphButton(false, kGraphIdleColor);
}

SaveOutcome WorksheetWindow::mnuSave_click() {
  if (Text1->document()->isEmpty() || !IsChanged()) return SaveOutcome::kNothingToSave;
  if (currentFileName_.isEmpty()) return mnuSaveAs_click();
  if (!WriteTo(currentFileName_)) return SaveOutcome::kNotWritten;
  setWindowTitle(FileTitle(currentFileName_));
  Text1->document()->setModified(false);
  return SaveOutcome::kWritten;
}

SaveOutcome WorksheetWindow::mnuSaveAs_click() {
  if (Text1->document()->isEmpty()) return SaveOutcome::kNothingToSave;
  ui::FileDialogRequest request;
  request.title = u"Save As";
  request.filter = kSaveFilter;
  request.defaultExt = u"txt";
  request.overwritePrompt = true;
  request.initialName = ui::FromQString(currentFileName_);
  rt::Text chosen;
  if (!ui::Ui().SaveFileDialog(request, chosen) || chosen.empty()) return SaveOutcome::kNotWritten;
  const QString path = ui::ToQString(chosen);
  if (!WriteTo(path)) return SaveOutcome::kNotWritten;
  setWindowTitle(FileTitle(path));
  Text1->document()->setModified(false);
  currentFileName_ = path;
  return SaveOutcome::kWritten;
}

void WorksheetWindow::menuClose_click() {
  if (IsChanged()) {
    const int answer =
        ui::Ui().MsgBox(u"Save the changes?", ui::kYesNoCancelExclamation, u"Save Files?");
    if (answer == ui::kAnswerCancel) return;
    if (answer == ui::kAnswerYes) {
      const SaveOutcome outcome = currentFileName_.isEmpty() ? mnuSaveAs_click() : mnuSave_click();
      if (outcome == SaveOutcome::kNotWritten) return;
    }
  }
  close();  // runs the close query
}

void WorksheetWindow::closeEvent(QCloseEvent* event) {
  if (running_) {
    // The worksheet is being executed: the window stays until the run has ended.
    event->ignore();
    return;
  }
  if (endingProgram_ || !IsChanged()) {
    event->accept();
    return;
  }
  const int answer =
      ui::Ui().MsgBox(u"Save the changes before exit?", ui::kYesNoCancelExclamation, kAppTitle);
  if (answer == ui::kAnswerNo) {
    event->accept();
    return;
  }
  // Cancel keeps the window; Yes saves and keeps it open too, so the user closes again after
  // saving.
  if (answer == ui::kAnswerYes) mnuSave_click();
  event->ignore();
}

void WorksheetWindow::cmdClose_click() {
  if (IsChanged()) {
    const int answer =
        ui::Ui().MsgBox(u"Save the changes before exit?", ui::kYesNoCancelExclamation, kAppTitle);
    if (answer == ui::kAnswerCancel) return;
    if (answer == ui::kAnswerYes && mnuSave_click() == SaveOutcome::kNotWritten) return;
  }
  endingProgram_ = true;
  ui::Ui().EndProgram();
}

}  // namespace ws
