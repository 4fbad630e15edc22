#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <deque>
#include <memory>

#include "graph/GraphWindow.h"
#include "graph/frmGraph.h"
#include "help/XfrmHelp.h"
#include "help/frmAbout.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/frmCalcInput.h"

namespace {

using ws::frmCalcInput;

class WorksheetWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetUi(&services);
    window = std::make_unique<frmCalcInput>();
  }
  void TearDown() override {
    window.reset();
    ui::SetUi(nullptr);
  }

  // Puts text into the editor and selects characters [start, start + length).
  void Select(const QString& text, int start, int length) {
    window->TypeWorksheetText(text);
    QTextCursor c = window->Text1->textCursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    window->Text1->setTextCursor(c);
  }
  QString Text() const { return window->Text1->toPlainText(); }
  int Caret() const { return window->Text1->textCursor().position(); }
  static QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  static void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  ui::ScriptedUiServices services;
  std::unique_ptr<frmCalcInput> window;
  QTemporaryDir dir;
};

TEST_F(WorksheetWindow, StartsEmptyAndUntitled) {
  EXPECT_EQ(window->Caption(), QStringLiteral("Untitled"));
  EXPECT_TRUE(Text().isEmpty());
  EXPECT_FALSE(window->IsChanged());
  EXPECT_FALSE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphIdleColor);
  EXPECT_TRUE(window->cmdCompute->isEnabled());
  EXPECT_FALSE(window->cmdClearValues->isEnabled());
  EXPECT_TRUE(window->cmdClearWk->isEnabled());
  EXPECT_EQ(window->List2->count(), 0);
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(frmCalcInput::Instance(), window.get());
  // The ticked items after start-up, and only those in each group.
  struct Tick {
    QAction* item;
    bool checked;
  } ticks[] = {
      {window->mnuDigits[4], true}, {window->mnuDigits[5], false}, {window->mnuDigits[8], false},
      {window->mnuRK[0], true},     {window->mnuRK[1], false},     {window->mnuRK[4], false},
      {window->mnuFDir, true},      {window->mnuBDir, false},      {window->mnuContNo, true},
      {window->mnuContYes, false},  {window->mnuNoMarkers, false}, {window->mnuPort, true},
      {window->mnuLand, false},
  };
  for (const Tick& t : ticks) {
    SCOPED_TRACE(t.item->text().toStdString());
    EXPECT_EQ(t.item->isChecked(), t.checked);
  }
  EXPECT_EQ(ms::Settings.DisplayDigits, 4);
  EXPECT_DOUBLE_EQ(ms::Settings.SlopeFieldStep, 0.2);
  EXPECT_EQ(ms::Settings.PlotColor[3], 0xFFFF00);
  EXPECT_NEAR(ms::View.RotationAngle, 45 * 3.1415926536 / 180, 1e-9);
}

TEST_F(WorksheetWindow, StartUpRestoresSettingsChangedBefore) {
  ms::Settings.DisplayDigits = 7;
  ms::Settings.BothDirections = -1;
  ms::RunFlags.AbortRun = -1;
  ms::Requests.IVPRequested = -1;
  frmCalcInput second;
  EXPECT_EQ(ms::Settings.DisplayDigits, 4);
  EXPECT_EQ(ms::Settings.BothDirections, 0);
  EXPECT_EQ(ms::RunFlags.AbortRun, 0);
  EXPECT_EQ(ms::Requests.IVPRequested, 0);
}

TEST_F(WorksheetWindow, MenusCarryTheirShortcuts) {
  struct Case {
    QAction* item;
    QKeySequence key;
  } cases[] = {
      {window->mnuSave, QKeySequence(Qt::Key_F1)},
      {window->mnuSaveAs, QKeySequence(Qt::CTRL | Qt::Key_A)},
      {window->mnuCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
      {window->mnuPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
      {window->mnuCopyCut, QKeySequence(Qt::CTRL | Qt::Key_X)},
      {window->mnuUndo, QKeySequence(Qt::CTRL | Qt::Key_U)},
      {window->mnuDelete, QKeySequence(Qt::Key_Delete)},
      {window->mnuCompute, QKeySequence(Qt::Key_F5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item->objectName().toStdString());
    EXPECT_EQ(c.item->shortcut(), c.key);
    // The editor must leave the key to the menu item: the override request stays unaccepted.
    QKeyEvent override(QEvent::ShortcutOverride, c.key[0].key(), c.key[0].keyboardModifiers());
    override.ignore();
    QApplication::sendEvent(window->Text1, &override);
    EXPECT_FALSE(override.isAccepted());
  }
}

TEST_F(WorksheetWindow, PrecisionAndIncrementItems) {
  for (int d = 8; d >= 4; --d) {
    SCOPED_TRACE(d);
    window->mnuDigits[d]->trigger();
    EXPECT_EQ(ms::Settings.DisplayDigits, d);
    for (int e = 4; e <= 8; ++e) EXPECT_EQ(window->mnuDigits[e]->isChecked(), e == d);
  }
  const double steps[5] = {0.2, 0.1, 0.05, 0.02, 0.01};
  for (int i : {3, 1, 4, 0, 2}) {
    SCOPED_TRACE(i);
    window->mnuRK[i]->trigger();
    EXPECT_DOUBLE_EQ(ms::Settings.SlopeFieldStep, steps[i]);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(window->mnuRK[j]->isChecked(), j == i);
  }
}

TEST_F(WorksheetWindow, DirectionAndDiscontinuityItems) {
  struct Step {
    QAction* item;
    int16_t both, disc, noMarkers;
    bool fdir, bdir, contYes, noMark, contNo;
  };
  const Step steps[] = {
      {window->mnuBDir, -1, 0, 0, false, true, false, false, true},
      {window->mnuBDir, -1, 0, 0, false, true, false, false, true},  // twice: still ticked
      {window->mnuFDir, 0, 0, 0, true, false, false, false, true},
      {window->mnuContYes, 0, -1, 0, true, false, true, false, false},
      {window->mnuNoMarkers, 0, -1, -1, true, false, false, true, false},
      {window->mnuNoMarkers, 0, -1, -1, true, false, false, true, false},
      {window->mnuContNo, 0, 0, 0, true, false, false, false, true},
  };
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    s.item->trigger();
    EXPECT_EQ(ms::Settings.BothDirections, s.both);
    EXPECT_EQ(ms::Settings.DiscontinuityOn, s.disc);
    EXPECT_EQ(ms::Settings.NoLimitMarkers, s.noMarkers);
    EXPECT_EQ(window->mnuFDir->isChecked(), s.fdir);
    EXPECT_EQ(window->mnuBDir->isChecked(), s.bdir);
    EXPECT_EQ(window->mnuContYes->isChecked(), s.contYes);
    EXPECT_EQ(window->mnuNoMarkers->isChecked(), s.noMark);
    EXPECT_EQ(window->mnuContNo->isChecked(), s.contNo);
  }
}

TEST_F(WorksheetWindow, PresetColoursUseTheColourDialog) {
  services.colors = {0x123456, std::nullopt, 0x0000FF, 0x030201};
  window->mnuPreSetPlot[2]->trigger();
  EXPECT_EQ(ms::Settings.PlotColor[2], 0x123456);
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], 0x123456);
  // Cancelled: the colour stays, the working copy is still taken.
  ms::Settings.PlotColorUsed[5] = 0;
  ms::Settings.ColorChanged = 0;
  window->mnuPreSetPlot[5]->trigger();
  EXPECT_EQ(ms::Settings.PlotColor[5], 0x8080);
  EXPECT_EQ(ms::Settings.PlotColorUsed[5], 0x8080);
  EXPECT_EQ(ms::Settings.ColorChanged, -1);
  window->mnuPreSetGrid->trigger();
  EXPECT_EQ(ms::Settings.XYPlaneColor, 0x0000FF);
  window->mnuPreSetAxes->trigger();
  EXPECT_EQ(ms::Settings.AxesColor, 0x030201);
  EXPECT_EQ(ms::Settings.AxesR, 1);
  EXPECT_EQ(ms::Settings.AxesG, 2);
  EXPECT_EQ(ms::Settings.AxesB, 3);
  // Each dialog opened with the colour it was to change.
  ASSERT_EQ(services.colorRequests.size(), 4u);
  EXPECT_EQ(services.colorRequests[0], 0xFF0000);
  EXPECT_EQ(services.colorRequests[1], 0x8080);
  EXPECT_EQ(services.colorRequests[2], 0x808080);
  EXPECT_EQ(services.colorRequests[3], 0);
}

TEST_F(WorksheetWindow, InsertButtons) {
  struct Case {
    QPushButton* button;
    QString text;
    int start, length;
    QString expected;
    int caret;
  } cases[] = {
      {window->cmdFunc[0], "a=", 2, 0, "a=Sin[", 6},
      {window->cmdFunc[15], "F{x}=x", 5, 1, "F{x}=Diff[", 10},
      {window->cmdVec[8], "A<t>=B", 5, 0, "A<t>=vRotx[B", 11},
      {window->cmdVec[12], "", 0, 0, "Zero[", 5},
      {window->cmdSca, "s=", 0, 2, "sDot[", 5},
      {window->cmdSpcFunc[5], "y=1\nz=", 6, 0, "y=1\nz=Floor[", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->text().toStdString());
    Select(c.text, c.start, c.length);
    c.button->click();
    EXPECT_EQ(Text(), c.expected);
    EXPECT_EQ(Caret(), c.caret);
  }
}

TEST_F(WorksheetWindow, CutThenUndoInsertsAtTheNewCaret) {
  Select("abcdef", 0, 3);
  window->mnuCopyCut->trigger();
  EXPECT_EQ(Text(), QStringLiteral("def"));
  EXPECT_EQ(services.clipboardText, u"abc");
  QTextCursor c = window->Text1->textCursor();
  c.setPosition(3);
  window->Text1->setTextCursor(c);
  window->mnuUndo->trigger();
  EXPECT_EQ(Text(), QStringLiteral("defabc"));
  EXPECT_EQ(window->Undo().Count(), 0);
  window->mnuUndo->trigger();  // empty history: nothing happens
  EXPECT_EQ(Text(), QStringLiteral("defabc"));
}

TEST_F(WorksheetWindow, CopyPasteAndDelete) {
  Select("x=1\ny=2", 2, 3);
  window->mnuCopy->trigger();
  EXPECT_EQ(services.clipboardText, u"1\ny");
  EXPECT_EQ(Text(), QStringLiteral("x=1\ny=2"));
  EXPECT_EQ(window->Undo().Slot(1), QStringLiteral("1\ny"));
  Select("x=1\ny=2", 7, 0);
  window->mnuPaste->trigger();
  EXPECT_EQ(Text(), QStringLiteral("x=1\ny=21\ny"));
  // Text from another program may end its lines with CR LF or CR: the editor holds LF.
  services.clipboardText = u"p\r\nq\rr";
  Select("", 0, 0);
  window->mnuPaste->trigger();
  EXPECT_EQ(Text(), QStringLiteral("p\nq\nr"));
  Select("abc", 1, 1);
  window->mnuDelete->trigger();
  EXPECT_EQ(Text(), QStringLiteral("ac"));
  EXPECT_EQ(window->Undo().Slot(window->Undo().Count()), QStringLiteral("b"));
  // Delete without a selection keeps an empty snapshot and removes nothing.
  Select("abc", 1, 0);
  window->mnuDelete->trigger();
  EXPECT_EQ(Text(), QStringLiteral("abc"));
  EXPECT_EQ(window->Undo().Slot(window->Undo().Count()), QString());
}

TEST_F(WorksheetWindow, BackspaceKeepsWhatItRemoves) {
  struct Case {
    QString text;
    int start, length;
    QString expected;
    QString snapshot;
  } cases[] = {
      {"abcd", 1, 2, "ad", "bc"},  // a selection goes alone, not one more character
      {"abcd", 2, 0, "acd", ""},   // no selection: one character, an empty snapshot
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    Select(c.text, c.start, c.length);
    const int before = window->Undo().Count();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(window->Text1, &key);
    EXPECT_EQ(Text(), c.expected);
    ASSERT_EQ(window->Undo().Count(), before + 1);
    EXPECT_EQ(window->Undo().Slot(before + 1), c.snapshot);
  }
}

TEST_F(WorksheetWindow, ClearWorkSheet) {
  services.savePaths = {ui::FromQString(dir.filePath("kept.txt"))};
  window->TypeWorksheetText("a=1");
  ASSERT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kWritten);
  Select("a=1\nb=2", 4, 3);
  window->List2->addItem("line");
  window->cmdClearWk->click();
  EXPECT_TRUE(Text().isEmpty());
  EXPECT_EQ(window->Caption(), QStringLiteral("No File"));
  EXPECT_FALSE(window->IsChanged());
  EXPECT_EQ(window->List2->count(), 0);
  EXPECT_EQ(services.clipboardText, u"b=2");
  EXPECT_TRUE(window->CurrentFileName().isEmpty());  // the next Save asks for a name
  EXPECT_EQ(window->Undo().Count(), 1);
  window->mnuUndo->trigger();
  EXPECT_EQ(Text(), QStringLiteral("b=2"));
  // Without a selection the clipboard keeps what it holds.
  services.clipboardText = u"kept";
  Select("c=3", 0, 0);
  window->cmdClearWk->click();
  EXPECT_EQ(services.clipboardText, u"kept");
  EXPECT_DOUBLE_EQ(ms::View.FieldVectorScale, 0.5);
}

TEST_F(WorksheetWindow, ClearResultsKeepsTheText) {
  window->TypeWorksheetText("a=1");
  window->List2->addItem("x");
  window->List1->addItem("x");
  ms::Requests.SlopeFieldRequested = -1;
  window->cmdClearValues->setEnabled(true);
  window->cmdClearValues->click();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  EXPECT_EQ(window->List2->count(), 0);
  EXPECT_EQ(window->List1->count(), 0);
  EXPECT_EQ(ms::Requests.SlopeFieldRequested, 0);
  EXPECT_FALSE(window->cmdGraph->isEnabled());
}

TEST_F(WorksheetWindow, OpenReadsLfAndCrLfAlikeAndSavesBack) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {{"crlf.txt", "a=1\r\nF{x}=x^2\r\n"}, {"lf.txt", "a=1\nF{x}=x^2\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(c.name);
    WriteBytes(path, c.bytes);
    services.openPaths = {ui::FromQString(path)};
    window->mnuFileOpen->trigger();
    EXPECT_EQ(Text(), QStringLiteral("a=1\nF{x}=x^2\n"));
    EXPECT_EQ(window->WorksheetText(), u"a=1\r\nF{x}=x^2\r\n");
    EXPECT_EQ(window->Caption(), QString::fromLatin1(c.name));
    EXPECT_EQ(window->CurrentFileName(), path);
    EXPECT_FALSE(window->IsChanged());
    // Save writes to the file that was opened, with CR LF line ends and no extra line.
    window->Text1->document()->setModified(true);
    EXPECT_EQ(window->mnuSave_click(), ws::SaveOutcome::kWritten);
    EXPECT_EQ(FileBytes(path), QByteArray("a=1\r\nF{x}=x^2\r\n"));
    EXPECT_FALSE(window->IsChanged());
  }
  ASSERT_EQ(services.fileRequests.size(), 2u);
  EXPECT_EQ(services.fileRequests[0].request.filter, u"Text Documents (*.txt)|*.txt");
}

TEST_F(WorksheetWindow, OpenCancelledKeepsTheText) {
  window->TypeWorksheetText("a=1");
  window->Text1->document()->setModified(false);
  window->List2->addItem("x");
  window->mnuFileOpen->trigger();  // no path scripted: cancelled
  EXPECT_EQ(window->Caption(), QStringLiteral("New File"));
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  EXPECT_EQ(window->List2->count(), 0);
  // A file that cannot be read says so and leaves the text.
  services.openPaths = {ui::FromQString(dir.filePath("none.txt"))};
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
}

TEST_F(WorksheetWindow, SaveAsWritesCrLfAndTakesTheName) {
  const QString path = dir.filePath("out.txt");
  services.savePaths = {ui::FromQString(path)};
  window->TypeWorksheetText("a=1\nb=2");
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kWritten);
  EXPECT_EQ(FileBytes(path), QByteArray("a=1\r\nb=2\r\n"));
  EXPECT_EQ(window->Caption(), path);
  EXPECT_EQ(window->CurrentFileName(), path);
  EXPECT_FALSE(window->IsChanged());
  ASSERT_EQ(services.fileRequests.size(), 1u);
  const auto& req = services.fileRequests[0].request;
  EXPECT_TRUE(services.fileRequests[0].save);
  EXPECT_EQ(req.filter, u"Text File (*.txt)|*.txt");
  EXPECT_EQ(req.defaultExt, u"txt");
  EXPECT_TRUE(req.overwritePrompt);
}

TEST_F(WorksheetWindow, SaveFailuresLeaveTheChangedMark) {
  struct Case {
    const char* what;
    std::u16string path;  // "" cancels the dialog
    size_t boxes;
  } cases[] = {
      {"cancelled", u"", 0},
      {"unwritable", ui::FromQString(dir.filePath("no/such/folder/x.txt")), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    services.savePaths = {c.path};
    window->TypeWorksheetText("a=1");
    EXPECT_EQ(window->mnuSave_click(), ws::SaveOutcome::kNotWritten);
    EXPECT_TRUE(window->IsChanged());
    EXPECT_EQ(window->Caption(), QStringLiteral("Untitled"));
    EXPECT_EQ(services.boxes.size(), c.boxes);
  }
  // An empty worksheet is never written and asks for nothing.
  services.Reset();
  window->TypeWorksheetText("");
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kNothingToSave);
  EXPECT_TRUE(services.fileRequests.empty());
}

TEST_F(WorksheetWindow, NewAsksAboutChanges) {
  struct Case {
    const char* what;
    int answer;
    bool savePathGiven;
    bool cleared;
    bool written;
  } cases[] = {
      {"cancel", ui::kAnswerCancel, false, false, false},
      {"no", ui::kAnswerNo, false, true, false},
      {"yes, saved", ui::kAnswerYes, true, true, true},
      {"yes, save cancelled", ui::kAnswerYes, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    const QString path = dir.filePath(QStringLiteral("new_%1.txt").arg(c.what));
    services.answers = {c.answer};
    if (c.savePathGiven) services.savePaths = {ui::FromQString(path)};
    window->TypeWorksheetText("a=1");
    window->cmdClearValues->setEnabled(true);
    window->mnuNew->trigger();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].title, u"Save File?");
    EXPECT_EQ(services.boxes[0].text, u"Save the changes?");
    EXPECT_EQ(services.boxes[0].style, ui::kYesNoCancelExclamation);
    EXPECT_FALSE(window->cmdClearValues->isEnabled());  // applied before the question
    EXPECT_EQ(Text().isEmpty(), c.cleared);
    EXPECT_EQ(QFile::exists(path), c.written);
    if (c.cleared) {
      EXPECT_EQ(window->Caption(), QStringLiteral("Untitled"));
    }
  }
}

TEST_F(WorksheetWindow, CloseQuery) {
  struct Case {
    const char* what;
    bool changed;
    int answer;
    bool closes;
    bool asked;
  } cases[] = {
      {"unchanged", false, 0, true, false},
      {"no", true, ui::kAnswerNo, true, true},
      {"cancel", true, ui::kAnswerCancel, false, true},
      {"yes saves and stays", true, ui::kAnswerYes, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<frmCalcInput>();
    const QString path = dir.filePath(QStringLiteral("q_%1.txt").arg(c.what));
    services.savePaths = {ui::FromQString(path)};
    if (c.answer) services.answers = {c.answer};
    if (c.changed) window->TypeWorksheetText("a=1");
    window->show();
    EXPECT_EQ(window->close(), c.closes);
    ASSERT_EQ(services.boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(services.boxes[0].text, u"Save the changes before exit?");
    }
    if (c.answer == ui::kAnswerYes) {
      EXPECT_EQ(FileBytes(path), QByteArray("a=1\r\n"));
      EXPECT_TRUE(window->close());  // closing again after saving asks nothing
      EXPECT_EQ(services.boxes.size(), 1u);
    }
  }
}

TEST_F(WorksheetWindow, CloseItemAsksTwiceOnNo) {
  window->TypeWorksheetText("a=1");
  window->show();
  services.answers = {ui::kAnswerNo, ui::kAnswerNo};
  window->menuClose->trigger();
  ASSERT_EQ(services.boxes.size(), 2u);
  EXPECT_EQ(services.boxes[0].title, u"Save Files?");
  EXPECT_EQ(services.boxes[1].text, u"Save the changes before exit?");
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WorksheetWindow, EndProgram) {
  struct Case {
    const char* what;
    bool changed;
    int answer;
    bool savePath;
    int ends;
  } cases[] = {
      {"unchanged", false, 0, false, 1},
      {"no", true, ui::kAnswerNo, false, 1},
      {"cancel stops", true, ui::kAnswerCancel, false, 0},
      {"yes saved", true, ui::kAnswerYes, true, 1},
      {"yes not saved stops", true, ui::kAnswerYes, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<frmCalcInput>();
    if (c.answer) services.answers = {c.answer};
    if (c.savePath) services.savePaths = {ui::FromQString(dir.filePath("end.txt"))};
    if (c.changed) window->TypeWorksheetText("a=1");
    window->cmdClose->click();
    EXPECT_EQ(services.endProgramCalls, c.ends);
    EXPECT_EQ(services.boxes.size(), c.changed ? 1u : 0u);
  }
}

TEST_F(WorksheetWindow, FontsDialog) {
  ui::FontChoice chosen;
  chosen.family = u"Courier";
  chosen.pointSize = 14;
  chosen.bold = true;
  services.fonts = {chosen, std::nullopt};
  window->mnuFonts->trigger();
  ASSERT_EQ(services.fontRequests.size(), 1u);
  EXPECT_EQ(services.fontRequests[0].family, u"MS Sans Serif");
  EXPECT_DOUBLE_EQ(services.fontRequests[0].pointSize, 12);
  EXPECT_EQ(window->Text1->font().family(), QStringLiteral("Courier"));
  EXPECT_DOUBLE_EQ(window->Text1->font().pointSizeF(), 14);
  EXPECT_TRUE(window->Text1->font().bold());
  window->mnuFonts->trigger();  // cancelled: unchanged
  EXPECT_DOUBLE_EQ(window->Text1->font().pointSizeF(), 14);
}

// Pages in a PDF written by Qt: one "/Type /Page" object per page.
int PdfPages(const QByteArray& pdf) {
  int pages = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0;
       at = pdf.indexOf("/Type /Page", at + 1)) {
    if (pdf.mid(at, 12) != "/Type /Pages") ++pages;
  }
  return pages;
}

TEST_F(WorksheetWindow, PrintsIntoPdfWithoutTouchingTheText) {
  struct Case {
    const char* what;
    QString text;
    int copies;
    int minPages;
  } cases[] = {
      {"empty", "", 1, 1},
      {"short", "a=1\nF{x}=x^2", 1, 1},
      {"two copies", "a=1", 2, 2},
      {"no final line break", "a=1\nb=2", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(c.what));
    QPrinter& printer = ui::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setCopyCount(c.copies);
    window->TypeWorksheetText(c.text);
    window->Text1->document()->setModified(false);
    services.prints = {true};
    window->mnuPrint->trigger();
    EXPECT_EQ(services.printRequests, 1);
    EXPECT_EQ(Text(), c.text);
    EXPECT_FALSE(window->IsChanged());
    const QByteArray bytes = FileBytes(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(PdfPages(bytes), c.minPages);
    EXPECT_EQ(printer.copyCount(), c.copies);
  }
  ui::Printer().setCopyCount(1);
}

TEST_F(WorksheetWindow, LongWorksheetPrintsEveryLine) {
  QStringList lines;
  for (int i = 0; i < 400; ++i) lines << QStringLiteral("c%1=%1").arg(i);
  const QString pdf = dir.filePath("long.pdf");
  ui::Printer().setOutputFormat(QPrinter::PdfFormat);
  ui::Printer().setOutputFileName(pdf);
  window->TypeWorksheetText(lines.join('\n'));
  services.prints = {true};
  window->mnuPrint->trigger();
  // 400 lines at 12 points cannot fit on fewer than five portrait pages.
  EXPECT_GE(PdfPages(FileBytes(pdf)), 5);
}

TEST_F(WorksheetWindow, PrintCancelledWritesNothing) {
  const QString pdf = dir.filePath("cancel.pdf");
  ui::Printer().setOutputFormat(QPrinter::PdfFormat);
  ui::Printer().setOutputFileName(pdf);
  window->TypeWorksheetText("a=1");
  window->mnuPrint->trigger();  // no scripted outcome: cancelled
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_TRUE(services.boxes.empty());
}

TEST_F(WorksheetWindow, LayoutItemsSetThePrinterOrientation) {
  window->mnuLand->trigger();
  EXPECT_TRUE(window->mnuLand->isChecked());
  EXPECT_FALSE(window->mnuPort->isChecked());
  EXPECT_EQ(ui::Printer().pageLayout().orientation(), QPageLayout::Landscape);
  window->mnuLand->trigger();  // again: stays ticked
  EXPECT_TRUE(window->mnuLand->isChecked());
  window->mnuPort->trigger();
  EXPECT_TRUE(window->mnuPort->isChecked());
  EXPECT_FALSE(window->mnuLand->isChecked());
  EXPECT_EQ(ui::Printer().pageLayout().orientation(), QPageLayout::Portrait);
}

}  // namespace

namespace {

TEST_F(WorksheetWindow, HelpIsModelessAndAboutModal) {
  window->show();
  window->mnuXfrmHelp->trigger();
  ms::XfrmHelp* help = ms::LoadedHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_FALSE(help->isModal());
  help->Unload();
  // The About window holds the worksheet until it is closed.
  bool wasShownModal = false;
  QTimer::singleShot(0, [&] {
    if (ms::frmAbout* about = ms::LoadedAboutWindow()) {
      wasShownModal = about->isModal() && about->isVisible();
      about->close();
    }
  });
  window->mnuAbout->trigger();
  EXPECT_TRUE(wasShownModal);
  EXPECT_EQ(ms::LoadedAboutWindow(), nullptr);
}

}  // namespace

namespace {

TEST_F(WorksheetWindow, GraphOpensTheGraphWindowAndStepsAside) {
  window->show();
  window->TypeWorksheetText("F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n");
  window->cmdCompute->click();
  ASSERT_TRUE(services.boxes.empty());
  ASSERT_TRUE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphReadyColor);
  window->cmdGraph->click();
  EXPECT_NE(gr::GraphWindow(), nullptr);
  EXPECT_FALSE(window->isVisible());
  // PlotSpec holds the component functions of curve #1.
  for (int c = 0; c < 3; ++c) EXPECT_GT(ms::PlotRequest.PlotSpec[c], 0);
  EXPECT_EQ(ms::PlotRequest.PlotSpec[3], 0);
  delete gr::GraphWindow();
}

}  // namespace

namespace {

TEST_F(WorksheetWindow, CloseItemAnswers) {
  struct Case {
    const char* what;
    std::deque<int> answers;
    bool savePath;
    bool closes;
    size_t boxes;
  } cases[] = {
      {"yes saved", {ui::kAnswerYes}, true, true, 1},
      {"yes not saved", {ui::kAnswerYes}, false, false, 1},
      {"cancel", {ui::kAnswerCancel}, false, false, 1},
      {"no, then no at the close query", {ui::kAnswerNo, ui::kAnswerNo}, false, true, 2},
      {"no, then cancel at the close query", {ui::kAnswerNo, ui::kAnswerCancel}, false, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<frmCalcInput>();
    window->TypeWorksheetText("a=1");
    window->show();
    services.answers = c.answers;
    if (c.savePath) services.savePaths = {ui::FromQString(dir.filePath("close.txt"))};
    window->menuClose->trigger();
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(services.boxes.size(), c.boxes);
  }
}

TEST_F(WorksheetWindow, OpenStopsWhenTheChangesWereNotSaved) {
  const QString path = dir.filePath("other.txt");
  WriteBytes(path, "b=2\r\n");
  window->TypeWorksheetText("a=1");
  services.answers = {ui::kAnswerYes};  // save, but the Save As dialog is cancelled
  services.openPaths = {ui::FromQString(path)};
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  EXPECT_TRUE(window->IsChanged());
  ASSERT_EQ(services.fileRequests.size(), 1u);  // only the Save As dialog
  EXPECT_TRUE(services.fileRequests[0].save);
  // Answered No, the file is opened and the changes are dropped.
  services.Reset();
  services.answers = {ui::kAnswerNo};
  services.openPaths = {ui::FromQString(path)};
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("b=2\n"));
  EXPECT_EQ(services.boxes[0].title, u"MathSheet");
}

}  // namespace
