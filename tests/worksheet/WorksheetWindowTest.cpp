#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <chrono>
#include <deque>
#include <memory>
#include <tuple>

#include "graph/GraphProbe.h"
#include "graph/GraphWindow.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Settings.h"
#include "language/WorksheetReader.h"
#include "language/WorksheetTables.h"
#include "mathematics/MathVector.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"

namespace {

using ws::WorksheetWindow;

class WorksheetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetUi(&services);
    window = std::make_unique<WorksheetWindow>();
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
  QString LastSnapshot() const { return window->Undo().Slot(window->Undo().Count()); }
  static QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  static bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
  }

  ui::ScriptedUiServices services;
  std::unique_ptr<WorksheetWindow> window;
  QTemporaryDir dir;
};

TEST_F(WorksheetWindowTest, StartsUntitledWithTheStartUpSettings) {
  ms::Settings.DisplayDigits = 7;  // left over from before: start-up restores every setting
  ms::Requests.IVPRequested = -1;
  window = std::make_unique<WorksheetWindow>();
  EXPECT_EQ(window->Caption(), QStringLiteral("Untitled"));
  EXPECT_FALSE(window->IsChanged());
  EXPECT_FALSE(window->cmdGraph->isEnabled() || window->cmdClearValues->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphIdleColor);
  EXPECT_EQ(ms::Settings.DisplayDigits, 4);
  EXPECT_EQ(ms::Requests.IVPRequested, 0);
}

TEST_F(WorksheetWindowTest, ANarrowWindowKeepsTheEditorUsableAndScrollsTheButtons) {
  window->show();
  auto* side = window->findChild<QScrollArea*>(QStringLiteral("sideScroll"));
  ASSERT_NE(side, nullptr);
  const int fullPanel = side->widget()->sizeHint().width();
  for (const int width : {1000, 700, 450}) {
    SCOPED_TRACE(width);
    window->resize(width, 700);
    QApplication::processEvents();
    EXPECT_GE(window->Text1->width(), ws::kMinEditorWidth);
    EXPECT_GE(window->List2->width(), ws::kMinEditorWidth);
    // The buttons are whole when the window has room for them, and scroll when it has not.
    const bool room = width - window->Text1->width() >= fullPanel + 40;
    if (room) {
      EXPECT_FALSE(side->horizontalScrollBar()->isVisible());
    }
  }
  EXPECT_TRUE(side->horizontalScrollBar()->isVisible());
}

TEST_F(WorksheetWindowTest, MenusKeepTheirShortcutsFromTheEditor) {
  for (QAction* item :
       {window->mnuSave, window->mnuSaveAs, window->mnuCopy, window->mnuPaste, window->mnuCopyCut,
        window->mnuUndo, window->mnuDelete, window->mnuCompute}) {
    SCOPED_TRACE(item->objectName().toStdString());
    ASSERT_FALSE(item->shortcut().isEmpty());
    const QKeyCombination key = item->shortcut()[0];
    // The editor must leave the key to the menu item: the override request stays unaccepted.
    QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
    override.ignore();
    QApplication::sendEvent(window->Text1, &override);
    EXPECT_FALSE(override.isAccepted());
  }
}

TEST_F(WorksheetWindowTest, OptionMenusTickOneItemPerGroupAndSetTheirSettings) {
  WorksheetWindow& w = *window;
  const std::vector<std::vector<QAction*>> groups = {
      {w.mnuDigits[4], w.mnuDigits[5], w.mnuDigits[6], w.mnuDigits[7], w.mnuDigits[8]},
      {w.mnuRK[0], w.mnuRK[1], w.mnuRK[2], w.mnuRK[3], w.mnuRK[4]},
      {w.mnuFDir, w.mnuBDir},
      {w.mnuContYes, w.mnuNoMarkers, w.mnuContNo},
      {w.mnuPort, w.mnuLand}};
  for (const auto& group : groups) {
    for (QAction* item : group) {
      SCOPED_TRACE(item->text().toStdString());
      item->trigger();
      item->trigger();  // a ticked item stays ticked
      for (QAction* other : group) EXPECT_EQ(other->isChecked(), other == item);
    }
  }
  w.mnuDigits[6]->trigger();
  w.mnuRK[3]->trigger();
  w.mnuBDir->trigger();
  w.mnuNoMarkers->trigger();
  w.mnuLand->trigger();
  EXPECT_EQ(ms::Settings.DisplayDigits, 6);
  EXPECT_DOUBLE_EQ(ms::Settings.SlopeFieldStep, 0.02);
  EXPECT_EQ(ms::Settings.BothDirections, -1);
  EXPECT_EQ(ms::Settings.DiscontinuityOn + ms::Settings.NoLimitMarkers, -2);
  EXPECT_EQ(ui::Printer().pageLayout().orientation(), QPageLayout::Landscape);
  w.mnuContYes->trigger();
  EXPECT_EQ(ms::Settings.NoLimitMarkers, 0);
  EXPECT_EQ(ms::Settings.DiscontinuityOn, -1);
  w.mnuPort->trigger();

  // Colour items: a cancelled dialog keeps the colour the curve uses.
  services.colors = {0x123456, std::nullopt, 0x030201};
  window->mnuPreSetPlot[2]->trigger();
  EXPECT_EQ(ms::Settings.PlotColor[2], 0x123456);
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], 0x123456);
  ms::Settings.PlotColorUsed[5] = 0x8080;
  window->mnuPreSetPlot[5]->trigger();  // cancelled: the curve keeps its colour
  EXPECT_EQ(ms::Settings.PlotColorUsed[5], 0x8080);
  EXPECT_EQ(ms::Settings.ColorChanged, -1);
  window->mnuPreSetAxes->trigger();
  EXPECT_EQ(ms::Settings.AxesR * 10000 + ms::Settings.AxesG * 100 + ms::Settings.AxesB, 10203);
  EXPECT_EQ(services.colorRequests.size(), 3u);
}

TEST_F(WorksheetWindowTest, EditItemsKeepWhatTheyRemoveForUndo) {
  struct Case {
    const char* what;
    QObject* item;  // a menu item, an insert button or nullptr: the key below
    std::u16string clipboardBefore;
    QString text;
    int start, length;
    QString expected;
    std::u16string clipboard;
    QString snapshot;
    int key = Qt::Key_Backspace;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString keyText = QString();
  } cases[] = {
      {"cut", window->mnuCopyCut, u"", "abcdef", 0, 3, "def", u"abc", "abc"},
      {"copy", window->mnuCopy, u"", "x=1\ny=2", 2, 3, "x=1\ny=2", u"1\ny", "1\ny"},
      {"paste", window->mnuPaste, u"1\ny", "x=1\ny=2", 7, 0, "x=1\ny=21\ny", u"1\ny", ""},
      {"paste CR LF and CR", window->mnuPaste, u"p\r\nq\rr", "", 0, 0, "p\nq\nr", u"p\r\nq\rr", ""},
      {"delete", window->mnuDelete, u"", "abc", 1, 1, "ac", u"", "b"},
      {"delete nothing", window->mnuDelete, u"", "abc", 1, 0, "abc", u"", ""},
      {"Backspace on a selection", nullptr, u"", "abcd", 1, 2, "ad", u"", "bc"},
      {"Backspace", nullptr, u"", "abcd", 2, 0, "acd", u"", "b"},
      // Every edit that removes text keeps it, whichever key removed it.
      {"Shift+Backspace on a selection", nullptr, u"", "abcd", 1, 2, "ad", u"", "bc",
       Qt::Key_Backspace, Qt::ShiftModifier},
      {"Ctrl+Backspace", nullptr, u"", "ab cd", 5, 0, "ab ", u"", "cd", Qt::Key_Backspace,
       Qt::ControlModifier},
      {"typing over a selection", nullptr, u"", "abcd", 1, 2, "aXd", u"", "bc", Qt::Key_X,
       Qt::ShiftModifier, "X"},
      {"insert button", window->cmdFunc[15], u"", "F{x}=x", 5, 1, "F{x}=Diff[", u"", ""},
      {"insert at the caret", window->cmdSpcFunc[5], u"", "y=1\nz=", 6, 0, "y=1\nz=Floor[", u"",
       ""},
  };
  window->mnuUndo->trigger();  // empty history: nothing happens
  EXPECT_TRUE(Text().isEmpty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.clipboardText = c.clipboardBefore;
    Select(c.text, c.start, c.length);
    const int before = window->Undo().Count();
    auto* button = qobject_cast<QPushButton*>(c.item);
    if (button) {
      button->click();
    } else if (c.item) {
      qobject_cast<QAction*>(c.item)->trigger();
    } else {
      QKeyEvent key(QEvent::KeyPress, c.key, c.modifiers, c.keyText);
      QApplication::sendEvent(window->Text1, &key);
    }
    EXPECT_EQ(Text(), c.expected);
    EXPECT_EQ(services.clipboardText, c.clipboard);
    if (!button && c.item != window->mnuPaste) {
      ASSERT_EQ(window->Undo().Count(), before + 1);
      EXPECT_EQ(LastSnapshot(), c.snapshot);
    }
  }
  // Undo inserts the last snapshot at the caret where it is now.
  Select("abcdef", 0, 3);
  const int before = window->Undo().Count();
  window->mnuCopyCut->trigger();
  Select("def", 3, 0);
  window->mnuUndo->trigger();
  EXPECT_EQ(Text(), QStringLiteral("defabc"));
  EXPECT_EQ(window->Undo().Count(), before);
  // The editor's own undo does not run beside the window's: Ctrl+Z changes nothing.
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
  QApplication::sendEvent(window->Text1, &typed);
  QKeyEvent ctrlZ(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
  QApplication::sendEvent(window->Text1, &ctrlZ);
  EXPECT_EQ(Text(), QStringLiteral("defabcq"));
}

TEST_F(WorksheetWindowTest, ClearWorkSheetAndClearResults) {
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
  EXPECT_EQ(services.clipboardText, u"b=2");         // the selection goes to the clipboard
  EXPECT_TRUE(window->CurrentFileName().isEmpty());  // the next Save asks for a name
  // Undo brings the whole worksheet back, as something to save; clearing the empty worksheet
  // once more keeps that.
  window->cmdClearWk->click();
  window->mnuUndo->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1\nb=2"));
  EXPECT_TRUE(window->IsChanged());
  // Without a selection the clipboard keeps what it holds.
  services.clipboardText = u"kept";
  Select("c=3", 0, 0);
  window->cmdClearWk->click();
  EXPECT_EQ(services.clipboardText, u"kept");

  // Clear Results keeps the text and drops the listing and the requests.
  window->TypeWorksheetText("a=1");
  window->List2->addItem("x");
  window->List1->addItem("x");
  ms::Requests.SlopeFieldRequested = -1;
  window->cmdClearValues->setEnabled(true);
  window->cmdClearValues->click();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  EXPECT_EQ(window->List2->count() + window->List1->count(), 0);
  EXPECT_EQ(ms::Requests.SlopeFieldRequested, 0);
  EXPECT_FALSE(window->cmdGraph->isEnabled());
}

// Every road that may drop changes asks first: New, Open, the Close item, closing the window and
// the End Program button. Each script letter answers one box: Y (with a save path given), y (the
// Save As dialog then cancelled), N or C; no letters: the worksheet is unchanged.
TEST_F(WorksheetWindowTest, ChangesAreOfferedForSavingOnEveryRoad) {
  enum Road { kNew, kOpen, kCloseItem, kClose, kEnd };
  const std::u16string kAsk = u"Save the changes?", kExit = u"Save the changes before exit?";
  const std::u16string firstTitle[] = {u"Save File?", u"MathSheet", u"Save Files?", u"MathSheet",
                                       u"MathSheet"};
  const struct Case {
    Road road;
    const char* script;
    bool proceeds;
  } cases[] = {
      {kNew, "C", false},       {kNew, "N", true},         {kNew, "Y", true},
      {kNew, "y", false},       {kOpen, "y", false},       {kOpen, "N", true},
      {kCloseItem, "Y", true},  {kCloseItem, "y", false},  {kCloseItem, "C", false},
      {kCloseItem, "NN", true}, {kCloseItem, "NC", false}, {kClose, "", true},
      {kClose, "N", true},      {kClose, "C", false},      {kClose, "Y", false},  // saved, stays
      {kEnd, "", true},         {kEnd, "N", true},         {kEnd, "C", false},
      {kEnd, "Y", true},        {kEnd, "y", false},
  };
  const QString other = dir.filePath("other.txt");
  ASSERT_TRUE(ws::WriteWorksheetFile(other, "b=2"));
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "road " << c.road << " " << c.script);
    services.Reset();
    window = std::make_unique<WorksheetWindow>();
    const QString path = dir.filePath(QStringLiteral("saved_%1.txt").arg(n++));
    const std::string script = c.script;
    for (char a : script)
      services.answers.push_back(a == 'N'   ? ui::kAnswerNo
                                 : a == 'C' ? ui::kAnswerCancel
                                            : ui::kAnswerYes);
    if (script == "Y") services.savePaths = {ui::FromQString(path)};
    services.openPaths = {ui::FromQString(other)};
    if (!script.empty()) window->TypeWorksheetText("a=1");
    window->show();
    bool proceeded = false;
    if (c.road == kNew) window->mnuNew->trigger();
    if (c.road == kOpen) window->mnuFileOpen->trigger();
    if (c.road == kCloseItem) window->menuClose->trigger();
    if (c.road == kClose) proceeded = window->close();
    if (c.road == kEnd) window->cmdClose->click();
    if (c.road == kNew) proceeded = Text().isEmpty();
    if (c.road == kOpen) proceeded = Text() == QStringLiteral("b=2\n");
    if (c.road == kCloseItem) proceeded = !window->isVisible();
    if (c.road == kEnd) proceeded = services.endProgramCalls == 1;
    EXPECT_EQ(proceeded, c.proceeds);
    ASSERT_EQ(services.boxes.size(), script.size());
    if (script.empty()) continue;
    EXPECT_EQ(services.boxes[0].title, firstTitle[c.road]);
    EXPECT_EQ(services.boxes[0].text, c.road >= kClose ? kExit : kAsk);
    EXPECT_EQ(services.boxes.back().style, ui::kYesNoCancelExclamation);
    EXPECT_EQ(services.boxes.back().text, script.size() == 2 ? kExit : services.boxes[0].text);
    EXPECT_EQ(QFile::exists(path), script == "Y");
    if (c.road == kClose && script == "Y") {
      EXPECT_TRUE(window->close());  // saved: closing again asks nothing
      EXPECT_EQ(services.boxes.size(), 1u);
    }
  }
  EXPECT_EQ(FileBytes(dir.filePath("saved_2.txt")), QByteArray("a=1\r\n"));
}

// Pages in a PDF written by Qt: one "/Type /Page" object per page.
int PdfPages(const QByteArray& pdf) {
  int pages = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
    pages += pdf.mid(at, 12) != "/Type /Pages";
  return pages;
}

TEST_F(WorksheetWindowTest, PrintsIntoPdfWithoutTouchingTheText) {
  QStringList lines;
  for (int i = 0; i < 400; ++i) lines << QStringLiteral("c%1=%1").arg(i);
  struct Case {
    const char* what;
    QString text;
    std::deque<bool> dialog;  // empty: cancelled
    int copies;
    int minPages;         // 0: no file written
    bool failed = false;  // the PDF cannot be written: a box says so
  } cases[] = {
      {"no final line break", "a=1\nF{x}=x^2", {true}, 1, 1},
      {"two copies", "a=1", {true}, 2, 2},
      {"400 lines at 12 points", lines.join('\n'), {true}, 1, 5},
      {"cancelled", "a=1", {}, 1, 0},
      {"unwritable PDF path", "a=1", {true}, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    const QString pdf =
        dir.filePath(QStringLiteral("%1%2.pdf").arg(c.failed ? "missing/" : "", c.what));
    QPrinter& printer = ui::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setCopyCount(c.copies);
    window->TypeWorksheetText(c.text);
    window->Text1->document()->setModified(false);
    services.prints = c.dialog;
    window->mnuPrint->trigger();
    EXPECT_EQ(Text(), c.text);
    EXPECT_FALSE(window->IsChanged());
    EXPECT_EQ(QFile::exists(pdf), c.minPages > 0);
    EXPECT_GE(PdfPages(FileBytes(pdf)), c.minPages);
    ASSERT_EQ(services.boxes.size(), c.failed ? 1u : 0u);
    if (c.failed) {
      EXPECT_EQ(services.boxes[0].text,
                u"The printer could not be started; the worksheet was not printed.");
      EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
    }
  }
  ui::Printer().setCopyCount(1);
}

// Open, then Save As without an edit: the file comes back byte for byte in its own encoding,
// apart from line breaks, which are written as CR LF (each encoding is checked in
// WorksheetTextTest; here the window keeps it, and the editor's stand-in characters). Execute reads
// the characters as they are.
TEST_F(WorksheetWindowTest, OpenThenSaveAsWritesTheFileBackUnchanged) {
  QByteArray everyByte;  // every byte but the line breaks, as Latin-1 text
  std::u16string everyChar;
  for (int b = 0; b < 256; ++b) {
    if (b == '\r' || b == '\n') continue;
    everyByte.append(static_cast<char>(b));
    everyChar.push_back(static_cast<char16_t>(b));
  }
  everyByte += "\r\n";
  everyChar += u"\r\n";
  const QByteArray everyUtf8 =
      QString::fromUtf16(u"\uFFFC\uFEFF\u0085\u200B\uFFFF\U0001F600\r\n").toUtf8();
  const struct {
    const char* what;
    QByteArray bytes;
    QByteArray saved;         // "" = the same bytes
    std::u16string executed;  // what Execute reads, CR LF line ends
  } cases[] = {
      {"UTF-8 line and paragraph separators",
       "a=1\xE2\x80\xA8"
       "b=2\xE2\x80\xA9"
       "c\r\n",
       "", u"a=1\u2028b=2\u2029c\r\n"},
      {"UTF-8 frame marks and no-break space", "x\xEF\xB7\x90y\xEF\xB7\x91z\xC2\xA0\r\n", "",
       u"x\uFDD0y\uFDD1z\u00A0\r\n"},
      {"UTF-16 LE with its mark",
       QByteArray("\xFF\xFE"
                  "a\0=\0"
                  "1\0\r\0\n\0(\x20\r\0\n\0",
                  18),
       "", u"a=1\r\n\u2028\r\n"},
      {"CR LF, LF and CR mixed", "a=1\r\nb=2\nc=3\rd=4\r\r\n", "a=1\r\nb=2\r\nc=3\r\nd=4\r\n\r\n",
       u"a=1\r\nb=2\r\nc=3\r\nd=4\r\n\r\n"},
      {"no final line break", "a=1", "a=1\r\n", u"a=1"},
      {"every Latin-1 character", everyByte, "", everyChar},
      {"UTF-8 object mark, byte-order mark inside, NEL, zero width, non-character and emoji",
       everyUtf8, "", u"\uFFFC\uFEFF\u0085\u200B\uFFFF\U0001F600\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(WriteBytes(in, c.bytes));
    window->Text1->document()->setModified(false);
    services.openPaths = {ui::FromQString(in)};
    window->mnuFileOpen->trigger();
    EXPECT_EQ(rt::ToUtf8(window->WorksheetText()), rt::ToUtf8(c.executed));
    EXPECT_EQ(window->Caption(), QStringLiteral("in.txt"));
    EXPECT_FALSE(window->IsChanged());
    services.savePaths = {ui::FromQString(out)};
    ASSERT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kWritten);
    EXPECT_EQ(FileBytes(out).toHex(), (c.saved.isEmpty() ? c.bytes : c.saved).toHex());
    EXPECT_EQ(window->Caption(), QStringLiteral("out.txt"));  // the title, not the whole path
    EXPECT_TRUE(services.boxes.empty());
    ASSERT_EQ(services.fileRequests.size(), 2u);
    EXPECT_EQ(services.fileRequests[0].request.filter, u"Text Documents (*.txt)|*.txt");
    EXPECT_TRUE(services.fileRequests[1].request.overwritePrompt);
  }
  // Cancelled, or a file that cannot be read (with a box): the text stays.
  services.Reset();
  services.openPaths = {u"", ui::FromQString(dir.filePath("none.txt"))};
  window->TypeWorksheetText("a=1");
  window->Text1->document()->setModified(false);
  window->mnuFileOpen->trigger();
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
  // An empty worksheet is never written and asks for nothing.
  services.Reset();
  window->TypeWorksheetText("");
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kNothingToSave);
  EXPECT_TRUE(services.fileRequests.empty());
}

// A folder that takes no temporary file beside the worksheet (here: a name at the system's length
// limit, which leaves no room for a temporary suffix) still lets Save write the file itself.
TEST_F(WorksheetWindowTest, SaveWritesInPlaceWhereNoTemporaryFileCanBeMade) {
  const QString path = dir.filePath(QString(251, QLatin1Char('w')) + QStringLiteral(".txt"));
  ASSERT_TRUE(WriteBytes(path, "old\r\n"));
  {
    QSaveFile atomic(path);  // the premise: the atomic write cannot be made here
    const bool opened = atomic.open(QIODevice::WriteOnly);
    ASSERT_FALSE(opened && atomic.write("x") == 1 && atomic.commit());
  }
  services.openPaths = {ui::FromQString(path)};
  window->mnuFileOpen->trigger();
  window->TypeWorksheetText("a=1\nb=2");
  EXPECT_EQ(window->mnuSave_click(), ws::SaveOutcome::kWritten);
  EXPECT_EQ(FileBytes(path), QByteArray("a=1\r\nb=2\r\n"));
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no leftovers
  // A file that cannot be written at all is reported and the changes stay unsaved.
  window->TypeWorksheetText("a=2");
  services.savePaths = {ui::FromQString(dir.filePath("missing/x.txt"))};
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kNotWritten);
  EXPECT_EQ(services.boxes.size(), 1u);
  EXPECT_TRUE(window->IsChanged());
}

// Esc stops a double integral of millions of evaluations: events run a few times a second during
// the run, the scripted screen presses Esc at the second chance, and the run ends at once. The
// constant is listed as not computed and the worksheet stays as it was.
TEST_F(WorksheetWindowTest, EscStopsALongDoubleIntegral) {
  const QString sheet = QStringLiteral(
      "F{x,y} = x*y\nC{x} = 0\nD{x} = x\nv = dblInt[F,C,D,{0,1,2,4000000,y}]\nw = 2\n");
  window->TypeWorksheetText(sheet);
  using Clock = std::chrono::steady_clock;
  Clock::time_point pressed{};
  services.onDoEvents = [&] {
    if (services.doEventsCount != 2) return;
    pressed = Clock::now();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window->Text1, &esc);
  };
  window->cmdCompute->click();
  const auto afterEsc = Clock::now() - pressed;
  services.onDoEvents = nullptr;
  ASSERT_GE(services.doEventsCount, 2);
  // After Esc at most a few dozen evaluations run; a second is a generous bound for that.
  EXPECT_LT(afterEsc, std::chrono::seconds(1));
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_FALSE(window->IsRunning());
  EXPECT_TRUE(window->cmdCompute->isEnabled());
  EXPECT_EQ(Text(), sheet);
  const QStringList listing = window->ResultLines();
  EXPECT_TRUE(listing.contains(QStringLiteral("v = not computed")))
      << listing.join('|').toStdString();
  EXPECT_FALSE(listing.contains(QStringLiteral("w = 2")));  // the run stopped at the integral
  // The same sheet with a small count computes the integral of x*y under y = x: 1/8.
  window->TypeWorksheetText(QString(sheet).replace("4000000", "40"));
  window->cmdCompute->click();
  EXPECT_TRUE(window->ResultLines().contains(QStringLiteral("v =  .125")))
      << window->ResultLines().join('|').toStdString();
}

TEST_F(WorksheetWindowTest, GraphOpensTheGraphWindowAndStepsAside) {
  window->show();
  // Nothing to plot, or an unknown vector: a box, and the window stays.
  const std::tuple<int16_t, std::u16string, int> refusals[] = {
      {0, u"No vectors identified to plot", ui::kOkOnly},
      {1, u"Unknown vector ID in Plot. Check reference.", ui::kStop}};
  for (const auto& [vectors, text, style] : refusals) {
    services.Reset();
    ms::ResetPlotRequest();
    ms::PlotRequest.PlotVectorCount = vectors;
    ms::PlotRequest.PlotVectorList[1] = u"Q_";
    window->cmdGraph_click();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, text);
    EXPECT_EQ(services.boxes[0].style, style);
    EXPECT_EQ(gr::GraphWindow::Instance(), nullptr);
  }
  // The whole road: Execute a plot, the Graph button lights, the graph window takes over.
  services.Reset();
  window->TypeWorksheetText("F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n");
  window->cmdCompute->click();
  ASSERT_TRUE(services.boxes.empty());
  ASSERT_TRUE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphReadyColor);
  window->cmdGraph->click();
  EXPECT_NE(gr::GraphWindow::Instance(), nullptr);
  EXPECT_FALSE(window->isVisible());
  delete gr::GraphWindow::Instance();
}

// Execute and Graph with a statement pipeline of the test's own: each statement is stored as it
// is, and a few spellings trigger what the real language steps do (an error, a stored function, a
// command request, an abort, an Esc key, a close request).
WorksheetWindow* g_window = nullptr;
int16_t g_counterSeen = -1;
bool g_controlsEnabledDuringRun = true;
bool g_closedDuringRun = false;

int16_t CheckStep(rt::Text& statement, rt::Text& outText) {
  int16_t msgNo = 0;
  outText = statement;
  msgNo = statement == u"bad" ? 7 : 0;
  if (msgNo == 0) ms::AppendStatement(ms::Tables.CurrentStmtNo, statement, msgNo);
  return msgNo;
}

// "F=<code>" stores a function F_ whose compiled code is the text after "="; "ivp" requests an
// initial value problem; "abort" sets the abort flag; "esc" presses Esc in the window.
int16_t ClassifyStep(rt::Text& statement) {
  int16_t msgNo = 0;
  g_counterSeen = ms::VectorStacks.ComponentFuncCounter;
  g_controlsEnabledDuringRun = g_window->centralWidget()->isEnabled() || !g_window->IsRunning();
  ms::VectorStacks.ComponentFuncCounter = 40;  // as many component functions as a big worksheet
  if (statement.size() > 2 && statement[1] == u'=' && statement[0] >= u'A' &&
      statement[0] <= u'Z') {
    const int16_t f = ms::AppendFunction(msgNo);
    if (msgNo != 0) return msgNo;
    auto& rec = ms::Tables.FuncTable[f];
    rec = ms::FuncRec{};
    rec.Name = rt::Text(1, statement[0]) + u"_";
    rec.Parm1 = u"x";
    rec.Expr = statement.substr(2);
    rec.Code = statement.substr(2);
  } else if (statement == u"ivp") {
    ms::Requests.IVPRequested = -1;
  } else if (statement == u"abort") {
    ms::RunFlags.AbortRun = -1;
  } else if (statement == u"close") {
    g_closedDuringRun = g_window->close();
  } else if (statement == u"esc") {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(g_window->Text1, &esc);
  }
  return msgNo;
}

class Execute : public WorksheetWindowTest {
 protected:
  void SetUp() override {
    WorksheetWindowTest::SetUp();
    g_window = window.get();
    ms::StatementPipeline steps;
    steps.check = CheckStep;
    steps.classify = ClassifyStep;
    ms::SetStatementPipeline(steps);
  }
  void TearDown() override {
    ms::SetStatementPipeline(ms::StatementPipeline{});
    delete gr::GraphWindow::Instance();
    g_window = nullptr;
    WorksheetWindowTest::TearDown();
  }
  void Run(const QString& text) {
    window->TypeWorksheetText(text);
    window->cmdCompute->click();
  }
  QStringList Listing() const { return window->ResultLines(); }
};

TEST_F(Execute, CleanRunListsAndResetsTheRunState) {
  ms::Settings.PlotColorUsed[2] = 0x123456;
  g_controlsEnabledDuringRun = true;
  Run("ivp\n");
  EXPECT_FALSE(g_controlsEnabledDuringRun);  // the controls are off while the worksheet runs
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(window->List2->count(), 4);  // the headings of an empty listing
  EXPECT_EQ(ms::Tables.ValueList[static_cast<size_t>(ms::Tables.ValueTop)].Name, u"#");
  EXPECT_TRUE(window->cmdClearValues->isEnabled());
  EXPECT_TRUE(window->centralWidget()->isEnabled());
  EXPECT_FALSE(services.busy);
  // Every run sets the working plot colours to 0; the colours the curves use stay.
  EXPECT_EQ(ms::Settings.PlotColor[1], 0);
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], 0x123456);
  // A request lights the Graph button; the next run without one puts it out.
  EXPECT_TRUE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphReadyColor);
  Run("a1\n");
  EXPECT_EQ(g_counterSeen, 0);    // component functions are numbered afresh on every run
  window->mnuCompute->trigger();  // F5: the same worksheet again
  EXPECT_EQ(g_counterSeen, 0);
  EXPECT_EQ(ms::VectorStacks.ComponentFuncCounter, 0);  // the menu resets it afterwards too
  EXPECT_FALSE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphIdleColor);
}

TEST_F(Execute, FirstErrorInItsBoxNamingTheStatement) {
  struct Case {
    QString text;
    std::u16string box;
  } cases[] = {
      {"<t=1,2>\n", u"Statement # 1 : <t=1,2>\r\n14 : " + ms::GetMessageText(14)},
      // The last function fails: the evaluation error is reported for the "<" statement.
      {"a1\n<x=2>\nF=y\n", u"Statement # 2 : <x=2>\r\n-1 : " + ms::GetMessageText(-1)},
      {"a1\nbad\na3\n", u"Statement # 2 : bad\r\n7 : " + ms::GetMessageText(7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    services.Reset();
    Run(c.text);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].title, u"Syntax Error");
    EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
    EXPECT_EQ(rt::ToUtf8(services.boxes[0].text), rt::ToUtf8(c.box));
    EXPECT_FALSE(window->IsRunning() || services.busy || window->cmdGraph->isEnabled());
  }
  EXPECT_EQ(ms::Tables.StatementCount, 1);  // "bad" and what follows were not stored
}

TEST_F(Execute, ParameterSetEvaluatesAndListsTwice) {
  Run("F=y\nG=x\n<x=2>\n");
  EXPECT_TRUE(services.boxes.empty());
  // F cannot be evaluated (no y): it is listed as undefined, not with a stale value.
  EXPECT_TRUE(Listing().contains(QStringLiteral("F :  undefined")));
  EXPECT_TRUE(Listing().contains(QStringLiteral("G :   2")));
}

TEST_F(Execute, AbortOrEscListsWhatExistsWithoutABoxAndTheWindowStays) {
  window->show();
  for (const char* how : {"abort", "esc", "close"}) {
    SCOPED_TRACE(how);
    services.Reset();
    g_closedDuringRun = true;
    window->cmdClearValues->setEnabled(false);
    Run(QStringLiteral("F=x\n%1\nG=x\n").arg(QLatin1String(how)));
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Listing().contains(QStringLiteral("F:  x")));
    EXPECT_TRUE(window->cmdClearValues->isEnabled());
    EXPECT_FALSE(window->IsRunning());
    // The reader stopped at the abort; a close request is refused and the run goes on.
    EXPECT_EQ(ms::Tables.FuncCount, std::string(how) == "close" ? 2 : 1);
  }
  EXPECT_FALSE(g_closedDuringRun);
}

}  // namespace
