// Editing the worksheet: insert buttons, the Edit menu with its undo history, Clear Results and
// Clear Work Sheet.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>

#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "mathematics/VectorOperations.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

QString WorksheetWindow::SelectedText() const {
  // The editor marks line breaks inside a selection with U+2029; the worksheet's own is LF.
  QString s = Text1->textCursor().selectedText();
  s.replace(QChar(0x2029), QLatin1Char('\n'));
  return standIns_.FromEditor(s);
}

void WorksheetWindow::PushSnapshot() {
  undo_.Push(SelectedText());
}

void WorksheetWindow::InsertCaption(const QString& caption) {
  QTextCursor cursor = Text1->textCursor();
  cursor.insertText(caption);  // replaces a selection; the caret ends behind the caption
  Text1->setTextCursor(cursor);
  Text1->setFocus();
}

void WorksheetWindow::mnuCopy_click() {
  ui::Ui().SetClipboardText(ui::FromQString(SelectedText()));
  PushSnapshot();
  Text1->setFocus();
}

void WorksheetWindow::mnuCopyCut_click() {
  mnuCopy_click();
  ++quietEdits_;  // Copy kept the selection
  Text1->textCursor().removeSelectedText();
  --quietEdits_;
  Text1->setFocus();
}

void WorksheetWindow::mnuDelete_click() {
  PushSnapshot();
  ++quietEdits_;
  Text1->textCursor().removeSelectedText();
  --quietEdits_;
  Text1->setFocus();
}

void WorksheetWindow::mnuPaste_click() {
  InsertSheetText(NormalizeLineEnds(ui::ToQString(ui::Ui().ClipboardText())));
  Text1->setFocus();
}

void WorksheetWindow::mnuUndo_click() {
  QString snapshot;
  if (undo_.Pop(snapshot)) InsertSheetText(snapshot);
  Text1->setFocus();
}

void WorksheetWindow::cmdClearValues_click() {
  ms::ClearAll();
  ClearListing();
  SetGraphButton(false, kGraphIdleColor);
  ClearProgress();
  ms::ClearCommandFlags();
  ms::ClearStatements();
}

void WorksheetWindow::cmdClearWk_click() {
  ms::ClearAll();
  ClearListing();
  // The selection goes to the clipboard, as Copy puts it there; with nothing selected the
  // clipboard keeps what it holds. The whole text becomes the one snapshot, so that Undo brings
  // the worksheet back; clearing an empty worksheet keeps the history, and with it that snapshot.
  if (Text1->textCursor().hasSelection()) {
    ui::Ui().SetClipboardText(ui::FromQString(SelectedText()));
  }
  const QString whole = SheetText();
  if (!whole.isEmpty()) {
    undo_.Clear();
    undo_.Push(whole);
  }
  ReplaceText(QString());
  ClearProgress();
  ms::ClearStatements();
  ms::VectorStacks.ComponentFuncCounter = 0;
  setWindowTitle(QStringLiteral("No File"));
  Text1->document()->setModified(false);
  SetGraphButton(false, kGraphIdleColor);
  cmdCompute->setEnabled(true);
  cmdClearValues->setEnabled(false);
  cmdClearWk->setEnabled(true);
  ms::ClearCommandFlags();
  ms::View.FieldVectorScale = 0.5;
  ms::View.ArrowHeadScale = 1.0;
  ms::View.ArrowAngleScale = 1.0;
  // The file name goes too, so that the next Save asks for a name instead of overwriting the file
  // that was opened before.
  currentFileName_.clear();
}

}  // namespace ws
