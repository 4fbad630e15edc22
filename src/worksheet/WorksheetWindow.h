// WorksheetWindow is the window "frmCalcInput" ("Work Sheet").
// The worksheet window "Work Sheet": the start-up window of the program. It holds the worksheet
// editor, the insert buttons for built-in names, Execute and Graph, the results listing, the File,
// Edit and option menus. Computing lives in the core; the handlers call it and show the state it
// leaves. Dialogs and message boxes go through ui::Ui(), so tests script their answers.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/ui/QtWidgetKit.h"
#include "worksheet/UndoHistory.h"
#include "worksheet/WorksheetText.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;

namespace ws {

// Button colours (packed RGB): the Graph button when something is to be drawn, and otherwise.
constexpr int32_t kGraphReadyColor = 0xC0FFC0;
constexpr int32_t kGraphIdleColor = 0xE0E0E0;
// Narrowest editor and results list, in pixels: the button panel scrolls before they shrink
// further. The panel itself keeps room for a column of buttons.
constexpr int kMinEditorWidth = 300;
constexpr int kMinSidePanelWidth = 120;
constexpr int32_t kFuncButtonColor = 0xFFE0E0;
constexpr int32_t kSpcFuncButtonColor = 0xFFFFFF;

// The application's title, used where a box is titled with it.
inline constexpr char16_t kAppTitle[] = u"MathSheet";

// The insert buttons' captions, by array and element index.
extern const std::array<const char16_t*, 16> kFuncCaptions;
extern const std::array<const char16_t*, 15> kVecCaptions;
inline constexpr char16_t kScaCaption[] = u"sDot[";
extern const std::array<const char16_t*, 8> kSpcFuncCaptions;

// The Graph button loads the graph window through the loader the window is made with (main and
// the probe pass the graph window's own); the worksheet window does not include the graph window.
// Without one the button loads nothing.
using GraphWindowLoader = void (*)();

// What Save and Save As did: written, nothing to write (empty or unchanged text), or not written
// (dialog cancelled or the file could not be written).
enum class SaveOutcome { kWritten, kNothingToSave, kNotWritten };

class WorksheetWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit WorksheetWindow(GraphWindowLoader loadGraph = nullptr, QWidget* parent = nullptr);
  ~WorksheetWindow() override;

  // The one worksheet window (the most recently created one that still exists), or null.
  static WorksheetWindow* Instance();

  // The worksheet text in the core's form (CR LF line ends) and back. The only place where the
  // editor's LF text meets the core's CR LF text.
  rt::Text WorksheetText() const;
  // The worksheet text with LF line ends and every character as it was read or typed (the
  // editor's own toPlainText would turn no-break spaces into blanks and U+2028 into line breaks).
  QString SheetText() const;
  void SetWorksheetText(const rt::Text& coreText);
  // As if the user had typed the text: it replaces the editor's text and sets the changed mark.
  void TypeWorksheetText(const QString& editorText);
  bool IsChanged() const;

  QString Caption() const { return windowTitle(); }
  QString CurrentFileName() const { return currentFileName_; }
  int32_t GraphButtonColor() const { return graphColor_; }
  QStringList ResultLines() const;
  const UndoHistory& Undo() const { return undo_; }

  // Start-up: tables cleared, settings at their defaults, then File > New.
  void Form_Load();

  // Execute and Graph.
  void cmdCompute_click();
  void mnuCompute_click();
  void cmdGraph_click();
  // The Graph button grey and disabled, as the graph window leaves it on Return.
  void DisableGraphButton();
  // Rebuilds the results listing in List2 and copies it into List1.
  void DisplayResults();
  // Esc while Execute runs: sets the abort flag. Other keys pass unchanged.
  void Form_KeyPress(int keyAscii);
  bool IsRunning() const { return running_; }
  // The message number the last Execute stopped with (shown in its box); 0 when it ran through.
  int16_t LastExecuteMessage() const { return lastExecuteMessage_; }
  // The last Execute was stopped by Esc: it left no message, and not every statement was read.
  bool LastExecuteAborted() const { return lastExecuteAborted_; }

  // File menu and closing.
  void mnuNew_click();
  void mnuFileOpen_click();
  SaveOutcome mnuSave_click();
  SaveOutcome mnuSaveAs_click();
  void menuClose_click();
  void cmdClose_click();
  void mnuPort_click();
  void mnuLand_click();
  void mnuPrint_click();
  void mnuFonts_click();
  void mnuAbout_click();
  void mnuXfrmHelp_click();

  // Editing.
  void InsertCaption(const QString& caption);
  void mnuCopy_click();
  void mnuPaste_click();
  void mnuCopyCut_click();
  void mnuUndo_click();
  void mnuDelete_click();
  void cmdClearValues_click();
  void cmdClearWk_click();

  // Option menus.
  void SetDisplayDigits(int digits);      // "4-digits" .. "8-digits"
  void SetSlopeFieldStep(int itemIndex);  // 0 "h = 0.2" .. 4 "h = 0.01"
  void mnuFDir_click();
  void mnuBDir_click();
  void mnuContYes_click();
  void mnuNoMarkers_click();
  void mnuContNo_click();
  void mnuPreSetGrid_click();
  void mnuPreSetAxes_click();
  void PresetPlotColor(int plot);  // 1..6

  // Controls, named as the window's design names them.
  QPlainTextEdit* Text1 = nullptr;
  QListWidget* List2 = nullptr;
  QListWidget* List1 = nullptr;
  QProgressBar* picProgressBar = nullptr;
  QLabel* lblRunning = nullptr;       // shown while Execute runs: Esc stops it
  QScrollArea* sideScroll = nullptr;  // the buttons beside the editor
  QPushButton* cmdCompute = nullptr;
  ui::TwoFaceButton* cmdGraph = nullptr;
  QPushButton* cmdClearValues = nullptr;
  QPushButton* cmdClearWk = nullptr;
  QPushButton* cmdClose = nullptr;
  std::array<QPushButton*, 16> cmdFunc{};
  std::array<QPushButton*, 15> cmdVec{};
  QPushButton* cmdSca = nullptr;
  std::array<QPushButton*, 8> cmdSpcFunc{};

  QAction* mnuNew = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveAs = nullptr;
  QAction* mnuPort = nullptr;
  QAction* mnuLand = nullptr;
  QAction* mnuPrint = nullptr;
  QAction* menuClose = nullptr;
  QAction* mnuCopy = nullptr;
  QAction* mnuPaste = nullptr;
  QAction* mnuCopyCut = nullptr;
  QAction* mnuUndo = nullptr;
  QAction* mnuDelete = nullptr;
  QAction* mnuCompute = nullptr;
  QAction* mnuPreSetGrid = nullptr;
  QAction* mnuPreSetAxes = nullptr;
  std::array<QAction*, 7> mnuPreSetPlot{};  // entries 1..6
  QAction* mnuFonts = nullptr;
  QAction* mnuContYes = nullptr;
  QAction* mnuNoMarkers = nullptr;
  QAction* mnuContNo = nullptr;
  std::array<QAction*, 9> mnuDigits{};  // entries 4..8: "4-digits" .. "8-digits"
  std::array<QAction*, 5> mnuRK{};      // "h = 0.2", "h = 0.1", "h = 0.05", "h = 0.02", "h = 0.01"
  QAction* mnuFDir = nullptr;
  QAction* mnuBDir = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuXfrmHelp = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void SetGraphButton(bool enabled, int32_t color);
  void PushSnapshot();
  // The selection as worksheet text: LF line ends, the held characters in place of stand-ins.
  QString SelectedText() const;
  // The editor's text as it holds it: LF line ends, stand-ins for the characters it cannot hold.
  QString EditorRawText() const;
  // Replaces the whole text without an undo snapshot (New, Open, the program's own rewrites),
  // with stand-ins chosen for it.
  void ReplaceText(const QString& text);
  // Inserts worksheet text at the caret, over a selection (Paste, Undo). Where the text holds a
  // character the editor uses as a stand-in, the document takes other stand-ins first.
  void InsertSheetText(const QString& text);
  // Every change of the editor's text: what an edit removed becomes an undo snapshot, unless the
  // program's own handler keeps it already.
  void TextChanged(int position);
  void ClearProgress();
  void ClearListing();
  // Clears the statement, constant, vector, call, function and value tables (New and Open).
  void ClearWorksheetTables();
  // Asks "Save the changes?" for a changed worksheet; false when the action is to stop (Cancel,
  // or Yes and the worksheet was not saved).
  bool ConfirmDiscard(const rt::Text& title, bool saveAsWhenUnnamed);
  bool WriteTo(const QString& path);
  void ShowFileError(const QString& what, const QString& path);
  // Execute's running state: the window's controls and menus disabled, Esc caught.
  void SetRunning(bool running);
  // Shows the lines the compiler and the evaluator left for the results list.
  void FlushCoreLines();
  void ExecuteErrorExit(int16_t stmtNo, int16_t msgNo, const rt::Text& stmtText);

  GraphWindowLoader loadGraph_ = nullptr;
  UndoHistory undo_;
  QString currentFileName_;
  int32_t graphColor_ = kGraphIdleColor;
  FileEncoding fileEncoding_ = FileEncoding::kLatin1;  // the opened file's: saved the same way
  EditorStandIns standIns_;  // the document's stand-ins for the characters the editor cannot hold
  QString shadow_;           // the editor's raw text before the change being reported
  int quietEdits_ = 0;       // above 0 while a handler changes the text that keeps its own snapshot
  bool endingProgram_ = false;  // End has asked already: the close query must not ask again
  bool running_ = false;
  int16_t lastExecuteMessage_ = 0;
  bool lastExecuteAborted_ = false;
  std::vector<bool> undefinedFuncs_;  // functions whose evaluation failed in the last run
};

}  // namespace ws
