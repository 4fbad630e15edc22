#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextLayout>
#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>

#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/VectorOperations.h"
#include "numerics/Rkf45.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "worksheet/WorksheetPrint.h"
#include "worksheet/WorksheetText.h"
#include "worksheet/WorksheetWindow.h"
#include "worksheet/WorksheetWindowFixture.h"

namespace {

using ws::WorksheetWindow;
using ws::testing::FileBytes;
using ws::testing::WriteBytes;

class WorksheetWindowTest : public ws::testing::WorksheetWindowFixture {
 protected:
  // Puts text into the editor and selects characters [start, start + length).
  void Select(const QString& text, int start, int length) {
    window->TypeWorksheetText(text);
    QTextCursor c = window->Text1->textCursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    window->Text1->setTextCursor(c);
  }
  QString Text() const { return window->Text1->toPlainText(); }
  void Execute(const QString& text) {
    window->TypeWorksheetText(text);
    window->cmdCompute->click();
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(window->Text1, &event);
  }
};

TEST_F(WorksheetWindowTest, ANarrowWindowKeepsTheEditorUsableAndScrollsTheButtons) {
  window->show();
  auto* side = window->findChild<QScrollArea*>(QStringLiteral("sideScroll"));
  ASSERT_NE(side, nullptr);
  const int fullPanel = side->widget()->sizeHint().width();
  for (const int width : {1000, 700, 450}) {
    SCOPED_TRACE(width);
    window->resize(width, 700);
    QApplication::processEvents();
    EXPECT_GE(window->Text1->width(), 300);
    EXPECT_GE(window->List2->width(), 300);
    // The buttons are whole when the window has room for them, and scroll when it has not.
    EXPECT_EQ(side->horizontalScrollBar()->isVisible(), width - 300 < fullPanel);
  }
}

// A preset colour item opens the colour dialog itself and never loads the graph window; Cancel
// keeps the colour the curve uses.
TEST_F(WorksheetWindowTest, PresetColourItemsOpenTheColourDialogDirectly) {
  services.colors = {0x123456, std::nullopt};
  window->mnuPreSetPlot[2]->trigger();
  window->mnuPreSetPlot[2]->trigger();
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], 0x123456);
  EXPECT_EQ(gr::GraphWindow::Instance(), nullptr);
}

// One undo history: every edit that removes text leaves what it removed as a snapshot, whichever
// key or item removed it, and the editor's own undo does not run beside it.
TEST_F(WorksheetWindowTest, EditsKeepWhatTheyRemoveForUndo) {
  WorksheetWindow& w = *window;
  const struct {
    const char* what;
    QString text;
    int start, length;
    std::function<void()> edit;
    QString expected, snapshot;
  } cases[] = {
      {"cut", "abcdef", 0, 3, [&] { w.mnuCopyCut->trigger(); }, "def", "abc"},
      {"delete", "abc", 1, 1, [&] { w.mnuDelete->trigger(); }, "ac", "b"},
      {"Backspace", "abcd", 2, 0, [&] { Key(Qt::Key_Backspace); }, "acd", "b"},
      {"Shift+Backspace on a selection", "abcd", 1, 2,
       [&] { Key(Qt::Key_Backspace, Qt::ShiftModifier); }, "ad", "bc"},
      {"Ctrl+Backspace", "ab cd", 5, 0, [&] { Key(Qt::Key_Backspace, Qt::ControlModifier); }, "ab ",
       "cd"},
      {"typing over a selection", "abcd", 1, 2, [&] { Key(Qt::Key_X, Qt::ShiftModifier, "X"); },
       "aXd", "bc"},
      {"insert button over a selection", "F{x}=x", 5, 1, [&] { w.cmdFunc[15]->click(); },
       "F{x}=Diff[", "x"},
  };
  w.mnuUndo->trigger();  // empty history: nothing happens
  EXPECT_TRUE(Text().isEmpty());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Select(c.text, c.start, c.length);
    const int before = w.Undo().Count();
    c.edit();
    EXPECT_EQ(Text(), c.expected);
    ASSERT_EQ(w.Undo().Count(), before + 1);
    EXPECT_EQ(w.Undo().Slot(before + 1), c.snapshot);
  }
  EXPECT_EQ(services.clipboardText, u"abc");  // what was cut
  // Paste takes CR LF and lone CR as line breaks.
  services.clipboardText = u"p\r\nq\rr";
  Select("ab", 1, 0);
  w.mnuPaste->trigger();
  EXPECT_EQ(Text(), QStringLiteral("ap\nq\nrb"));
  // Undo inserts the last snapshot at the caret where it is now.
  const int before = w.Undo().Count();
  Select("def", 3, 0);
  w.mnuUndo->trigger();
  EXPECT_EQ(Text(), QStringLiteral("defx"));  // the last removal: "x" under the insert
  EXPECT_EQ(w.Undo().Count(), before - 1);
  // The editor's own undo does not run beside the window's: Ctrl+Z changes nothing.
  Key(Qt::Key_Q, Qt::NoModifier, "q");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), QStringLiteral("defxq"));
}

TEST_F(WorksheetWindowTest, ClearWorkSheetIsUndoneAndClearResultsKeepsTheText) {
  services.savePaths = {ui::FromQString(dir.filePath("kept.txt"))};
  window->TypeWorksheetText("a=1");
  ASSERT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kWritten);
  Select("a=1\nb=2", 4, 3);
  window->List2->addItem("line");
  window->cmdClearWk->click();
  EXPECT_TRUE(Text().isEmpty());
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
  window->cmdClearWk->click();
  EXPECT_EQ(services.clipboardText, u"kept");
  window->mnuUndo->trigger();
  // Clear Results keeps the text and drops the listing and the requests.
  window->List1->addItem("x");
  ms::Requests.SlopeFieldRequested = -1;
  window->cmdClearValues_click();
  EXPECT_EQ(Text(), QStringLiteral("a=1\nb=2"));
  EXPECT_EQ(window->List2->count() + window->List1->count(), 0);
  EXPECT_EQ(ms::Requests.SlopeFieldRequested, 0);
}

// Every road that may drop changes asks first: New, Open, the Close item, closing the window and
// the End Program button. Each script letter answers one box: Y (with a save path given), y (the
// Save As dialog then cancelled), N or C; no letters: the worksheet is unchanged.
TEST_F(WorksheetWindowTest, ChangesAreOfferedForSavingOnEveryRoad) {
  enum Road { kNew, kOpen, kCloseItem, kClose, kEnd };
  const std::u16string kAsk = u"Save the changes?", kExit = u"Save the changes before exit?";
  const struct Case {
    Road road;
    const char* script;
    bool proceeds;
  } cases[] = {
      {kNew, "C", false},        {kNew, "N", true},       {kNew, "Y", true},
      {kOpen, "y", false},       {kCloseItem, "Y", true}, {kCloseItem, "NN", true},
      {kCloseItem, "NC", false}, {kClose, "", true},      {kClose, "C", false},
      {kClose, "Y", false},  // saved, stays
      {kEnd, "N", true},         {kEnd, "y", false},
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
    EXPECT_EQ(services.boxes[0].text, c.road >= kClose ? kExit : kAsk);
    EXPECT_EQ(services.boxes.back().style, ui::kYesNoCancelExclamation);  // Cancel is offered
    EXPECT_EQ(services.boxes.back().text, script.size() == 2 ? kExit : services.boxes[0].text);
    EXPECT_EQ(QFile::exists(path), script == "Y");
  }
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
    bool failed = false;  // the PDF cannot be written: a box says so (print_unwritable case)
  } cases[] = {
      // First, so that the later rows show that a failed start leaves a printer that works.
      {"unwritable PDF path", "a=1", {true}, 1, 0, true},
      {"two copies", "a=1", {true}, 2, 2},
      {"400 lines at 12 points", lines.join('\n'), {true}, 1, 5},
      {"cancelled", "a=1", {}, 1, 0},
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
    EXPECT_EQ(services.boxes.size(), c.failed ? 1u : 0u);
  }
  ui::Printer().setCopyCount(1);
}

// The paper as printing measures it: the PDF printer at its resolution, in the worksheet's font.
struct PdfPaper {
  QRect page;
  int rows = 0;  // whole rows of the font's line spacing on a page
  ws::PrintMetrics metrics;
};
PdfPaper PaperFor(const QFont& font) {
  QPrinter& printer = ui::Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  PdfPaper paper;
  paper.page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QFontMetrics lines(font, &printer);
  paper.rows = paper.page.height() / lines.lineSpacing();
  paper.metrics.pageWidth = paper.page.width();
  paper.metrics.pageHeight = paper.page.height();
  paper.metrics.lineHeight = lines.lineSpacing();
  paper.metrics.tabStop = printer.resolution() / 2;
  paper.metrics.advance = [font](QStringView s) {
    return QFontMetricsF(font, &ui::Printer()).horizontalAdvance(s.toString());
  };
  return paper;
}

// Wrapped in the printer's own font, every piece of every row lies inside the printable width as
// Qt's text layout measures it, the pieces of a row run left to right, and the rows give the line
// back character for character.
TEST_F(WorksheetWindowTest, PrintedRowsStayInsideThePaperInQtsOwnLayout) {
  const QFont font = window->Text1->font();
  const PdfPaper paper = PaperFor(font);
  QString sum = QStringLiteral("\ta=1");
  for (int k = 2; k <= 30; ++k) sum += QStringLiteral("+%1").arg(k);
  const QStringList lines = {
      "\t'" + QStringLiteral("0123456789").repeated(12),
      sum,
      "\ta=" + sum.mid(3) + QStringLiteral("\tF{x}=") + sum.mid(3),
      "\t'a" + QString(10, QLatin1Char('\t')) + "b",
      "\t' " +
          QString::fromUtf8("\xce\xb1\xce\xb2\xce\xb3 \xc3\xa9t\xc3\xa9 e\xcc\x81 ").repeated(60),
      "\t" + QString(300, QLatin1Char('W')),
  };
  const std::vector<ws::PrintPage> pages = ws::LayOutPrintLines(lines, paper.metrics);
  ASSERT_EQ(pages.size(), 1u);
  QStringList back;
  for (const ws::PrintRow& row : pages[0]) {
    double right = row.x;
    for (const ws::PrintPiece& piece : ws::RowPieces(row.x, row.text, paper.metrics)) {
      QTextLayout layout(piece.text, font, &ui::Printer());
      layout.beginLayout();
      QTextLine line = layout.createLine();
      line.setLineWidth(1e9);
      layout.endLayout();
      EXPECT_GE(piece.x, right - 0.01) << piece.text.toStdString();
      right = piece.x + line.naturalTextWidth();
      EXPECT_LE(right, paper.page.width() + 0.5) << piece.text.toStdString();
    }
    const bool continued = row.x > 0 && !row.text.startsWith(QLatin1Char('\t'));
    if (continued && !back.isEmpty()) {
      back.last() += row.text;
    } else {
      back << row.text;
    }
  }
  EXPECT_EQ(back, lines);
}

// F{x}=x^2 and its comments fill the first page exactly with printed rows: the blank rows that
// close the results start no page of their own. One comment more puts the function's value on
// page 2.
TEST_F(WorksheetWindowTest, PrintStartsNoPageForTheClosingBlankRows) {
  const PdfPaper paper = PaperFor(window->Text1->font());
  ASSERT_GT(paper.rows, 12);
  // Rows: 4 blank, the file, 2 blank, the worksheet lines, an empty row, the function and its
  // value: the value is on row (lines + 9) counted from 0.
  for (const int lines : {paper.rows - 10, paper.rows - 9}) {
    SCOPED_TRACE(lines);
    QString sheet = QStringLiteral("F{x}=x^2\n");
    for (int i = 1; i < lines; ++i) sheet += QStringLiteral("' comment %1\n").arg(i);
    Execute(sheet);
    services.Reset();
    const QString pdf = dir.filePath(QStringLiteral("rows%1.pdf").arg(lines));
    ui::Printer().setOutputFileName(pdf);
    services.prints = {true};
    window->mnuPrint->trigger();
    EXPECT_EQ(PdfPages(FileBytes(pdf)), lines == paper.rows - 10 ? 1 : 2);
  }
}

// Execute leaves the caret at the end of the worksheet text, whether the run ends cleanly, at a
// message or on a last line without its line break.
TEST_F(WorksheetWindowTest, ExecuteLeavesTheCaretAtTheEndOfTheText) {
  for (const char* sheet : {"a=1\nb=2\n", "a=1\nb=2", "a=1\nb=2+\nc=3\n", "' note\nF{x}=x\n"}) {
    SCOPED_TRACE(sheet);
    services.Reset();
    window->TypeWorksheetText(QString::fromLatin1(sheet));
    QTextCursor start = window->Text1->textCursor();
    start.setPosition(0);
    window->Text1->setTextCursor(start);
    window->cmdCompute->click();
    EXPECT_EQ(window->Text1->textCursor().position(), static_cast<int>(std::strlen(sheet)));
  }
}

// The worksheet's progress bar is filled in olive (128, 128, 0) as far as it has got.
TEST_F(WorksheetWindowTest, ProgressBarIsFilledInOlive) {
  window->show();
  const QRgb olive = qRgb(128, 128, 0);
  for (const int permille : {0, 250, 500, 1000}) {
    SCOPED_TRACE(permille);
    window->picProgressBar->setValue(permille);
    const QImage image = window->picProgressBar->grab().toImage();
    const int y = image.height() / 2;
    int oliveColumns = 0;
    for (int x = 0; x < image.width(); ++x) oliveColumns += image.pixel(x, y) == olive;
    // The filled part is the fraction of the bar's width, give or take its frame.
    EXPECT_NEAR(oliveColumns, image.width() * permille / 1000.0, 6);
    if (permille > 0) {
      EXPECT_EQ(image.pixel(image.width() * permille / 2000, y), olive);
    }
  }
  window->picProgressBar->setValue(0);
}

// The Graph button is light green (192, 255, 192) and enabled after a run that has something to
// draw, light grey (224, 224, 224) and disabled after one that has not or that stopped at a
// message. Running the same worksheet again repaints nothing: no style sheet, no new palette, so a
// long session of Executes builds no new style caches.
TEST_F(WorksheetWindowTest, GraphButtonIsColouredOnlyWhenItsColourChanges) {
  struct EventCount : QObject {
    int changes = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      changes += e->type() == QEvent::StyleChange || e->type() == QEvent::PaletteChange;
      return false;
    }
  } count;
  window->cmdGraph->installEventFilter(&count);
  window->show();
  struct Case {
    const char* sheet;
    bool enabled;
    QColor colour;
  } cases[] = {
      {"a=1\nF{x}=x*a\n", false, QColor(224, 224, 224)},
      {"F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n", true, QColor(192, 255, 192)},
      {"F{x}=x+\n", false, QColor(224, 224, 224)},
      {"F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n", true, QColor(192, 255, 192)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sheet);
    Execute(QString::fromLatin1(c.sheet));
    QApplication::processEvents();
    count.changes = 0;
    for (int run = 0; run < 5; ++run) {
      window->cmdCompute->click();
      QApplication::processEvents();
    }
    EXPECT_EQ(count.changes, 0);
    EXPECT_TRUE(window->cmdGraph->styleSheet().isEmpty());
    EXPECT_EQ(window->cmdGraph->isEnabled(), c.enabled);
    EXPECT_EQ(window->cmdGraph->FaceColor(), c.colour);
    // The style shades the face from its colour: greenish when ready, grey when not.
    const QImage face = window->cmdGraph->grab().toImage();
    const QColor shown = face.pixelColor(face.width() / 4, face.height() / 2);
    if (c.enabled) {
      EXPECT_GT(shown.green(), shown.red());
      EXPECT_EQ(shown.red(), shown.blue());
    } else {
      EXPECT_EQ(shown.red(), shown.green());
      EXPECT_EQ(shown.green(), shown.blue());
    }
  }
  window->cmdGraph->removeEventFilter(&count);
}

// Graph starts the graph's state afresh: the slopes of a boundary value problem solved before are
// not shown for the next worksheet.
TEST_F(WorksheetWindowTest, GraphClearsTheSolvedBoundaryValueProblem) {
  Execute("F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n");
  ms::OdeResults.BVPSolved = -1;
  services.Reset();
  window->cmdGraph->click();
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(ms::OdeResults.BVPSolved, 0);
}

// Open cancelled, or of a file that cannot be read (with a box): the text stays. An empty worksheet
// is never written and asks for nothing.
TEST_F(WorksheetWindowTest, OpenCancelledOrUnreadableKeepsTheText) {
  services.Reset();
  services.openPaths = {u"", ui::FromQString(dir.filePath("none.txt"))};
  window->TypeWorksheetText("a=1");
  window->Text1->document()->setModified(false);
  window->mnuFileOpen->trigger();
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
  window->TypeWorksheetText("");
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kNothingToSave);
  EXPECT_EQ(services.fileRequests.size(), 2u);  // the two Open dialogs above
  // A UTF-16 file of odd length is not opened: the box names it, and the file stays as it is.
  const QString odd = dir.filePath("odd16.txt");
  const QByteArray bytes = QByteArray::fromHex("fffe61003d0031000d000a0062003d0032");
  WriteBytes(odd, bytes);
  services.Reset();
  services.openPaths = {ui::FromQString(odd)};
  window->TypeWorksheetText("a=1");
  window->Text1->document()->setModified(false);
  window->mnuFileOpen->trigger();
  EXPECT_EQ(Text(), QStringLiteral("a=1"));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_TRUE(ui::ToQString(services.boxes[0].text).contains(odd));
  EXPECT_EQ(FileBytes(odd), bytes);
}

// A name at the system's length limit leaves no room for the temporary suffix of the atomic
// write; Save still writes the file, and leaves nothing else behind. (The folder that takes no
// temporary file at all is in WorksheetSaveTest.)
TEST_F(WorksheetWindowTest, SaveWritesAFileWhoseNameLeavesNoRoomForATemporarySuffix) {
  const QString title = QString(251, QLatin1Char('w')) + QStringLiteral(".txt");
  const QString path = dir.filePath(title);
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
  QString back;
  ASSERT_TRUE(ws::ReadWorksheetFile(path, back));
  EXPECT_EQ(back, QStringLiteral("a=1\nb=2\n"));
  EXPECT_EQ(window->Caption(), title);  // after Open then Save: the title, not the whole path
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no leftovers
  // A file that cannot be written at all (and so no file of a folder that does not exist) is
  // reported and the changes stay unsaved.
  window->TypeWorksheetText("a=2");
  services.savePaths = {ui::FromQString(dir.filePath("missing/x.txt"))};
  EXPECT_EQ(window->mnuSaveAs_click(), ws::SaveOutcome::kNotWritten);
  EXPECT_EQ(services.boxes.size(), 1u);
  EXPECT_TRUE(window->IsChanged());
}

// Esc stops a double integral of millions of evaluations: events run a few times a second during
// the run; at the first chance the scripted screen tries to close the window (refused while the
// run goes on), at the second it presses Esc, and the run ends at once. The constant is listed as
// not computed, what came before is listed and the worksheet stays as it was.
TEST_F(WorksheetWindowTest, EscStopsALongDoubleIntegral) {
  const QString sheet = QStringLiteral(
      "F{x,y} = x*y\nC{x} = 0\nD{x} = x\nv = dblInt[F,C,D,{0,1,2,4000000,y}]\nw = 2\n");
  window->show();
  bool controlsOff = false, closed = true;
  // Events run after every statement read as well: the integral's own are counted from the moment
  // its constant exists (the lines before it define functions only).
  long integralEvents = 0;
  services.onDoEvents = [&] {
    if (ms::Tables.ConstCount == 0) return;
    ++integralEvents;
    if (integralEvents == 1) {
      controlsOff = !window->sideScroll->isEnabled() && !window->menuBar()->isEnabled() &&
                    window->Text1->isReadOnly() && window->IsRunning();
      closed = window->close();
    }
    if (integralEvents != 2) return;
    Key(Qt::Key_Escape);
  };
  Execute(sheet);
  services.onDoEvents = nullptr;
  ASSERT_GE(integralEvents, 2);
  EXPECT_TRUE(controlsOff);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_FALSE(window->IsRunning() || services.busy || window->cmdGraph->isEnabled());
  EXPECT_TRUE(window->cmdCompute->isEnabled() && window->sideScroll->isEnabled() &&
              !window->Text1->isReadOnly() && !window->lblRunning->isVisible());
  EXPECT_EQ(Text(), sheet);
  const QStringList listing = window->ResultLines();
  EXPECT_TRUE(listing.contains(QStringLiteral("F:  x*y"))) << listing.join('|').toStdString();
  EXPECT_TRUE(listing.contains(QStringLiteral("v = not computed")));
  EXPECT_FALSE(listing.contains(QStringLiteral("w = 2")));  // the run stopped at the integral
}

TEST_F(WorksheetWindowTest, GraphWithoutVectorsAndComponentNumbering) {
  window->show();
  // Nothing to plot: a box, and the window stays (an unknown vector: the graph_unknown_vector
  // worksheet case).
  ms::ResetPlotRequest();
  window->cmdGraph_click();
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].text, u"No vectors identified to plot");
  EXPECT_EQ(gr::GraphWindow::Instance(), nullptr);
  services.Reset();
  Execute("F{t} = 2*t\nA<t> = <t, F, 0>\nPlot[A,{t,0,1,4}]\n");
  // Component functions are numbered afresh on every run; the menu's Execute resets the count
  // afterwards too.
  const int counter = ms::VectorStacks.ComponentFuncCounter;
  ASSERT_GT(counter, 0);
  window->cmdCompute->click();
  EXPECT_EQ(ms::VectorStacks.ComponentFuncCounter, counter);
  window->mnuCompute->trigger();
  EXPECT_EQ(ms::VectorStacks.ComponentFuncCounter, 0);
  ASSERT_TRUE(services.boxes.empty());
  EXPECT_FALSE(services.busy || window->IsRunning());
}

// Execute draws each long command's progress on the worksheet's bar, from empty to full (a full
// bar is drawn by nothing else), and while it runs the line beside the bar says that Esc stops it;
// the text, the results and the bar are not greyed, but the text takes no edits and the buttons
// none of their clicks. Afterwards everything is as before and the values are right.
TEST_F(WorksheetWindowTest, LongCommandsShowTheirProgressAndHowToStopThem) {
  window->show();
  int seen = 0;
  services.onDoEvents = [&] {
    ++seen;
    EXPECT_TRUE(window->IsRunning() && window->lblRunning->isVisible());
    EXPECT_TRUE(window->picProgressBar->isEnabled() && window->Text1->isEnabled() &&
                window->List2->isEnabled());
    EXPECT_TRUE(window->Text1->isReadOnly());
    EXPECT_FALSE(window->sideScroll->isEnabled() || window->menuBar()->isEnabled());
  };
  Execute(
      "F{x,y} = x*y\nC{x} = 0\nD{x} = x\nv = dblInt[F,C,D,{0,1,20,20,y}]\nG{x} = x^3 - 2\n"
      "Zero[G,{1,2,r}]\nw = Integ[G,{0,1,100,0}]\n");
  services.onDoEvents = nullptr;
  EXPECT_GE(seen, 1);  // the double integral lets events run
  ASSERT_TRUE(services.boxes.empty());
  int full = 0, drawn = 0;
  double last = 0;
  for (const auto& p : services.progress) {
    if (p.bar != u"picProgressBar") continue;
    ++drawn;
    EXPECT_TRUE(p.fraction >= 0 && p.fraction <= 1) << p.fraction;
    if (p.fraction == 1) {
      ++full;
      EXPECT_GT(last, 0.9);  // the bar got there step by step
    }
    last = p.fraction;
  }
  EXPECT_EQ(full, 3);
  EXPECT_GT(drawn, 441 / 2);  // 21 x 21 values of F: at least every other one moves the bar
  EXPECT_FALSE(window->lblRunning->isVisible() || window->Text1->isReadOnly());
  EXPECT_TRUE(window->sideScroll->isEnabled() && window->menuBar()->isEnabled());
  const QStringList listing = window->ResultLines();
  // The integral of x y over 0 <= y <= x <= 1 is 1/8; the root of x^3 - 2 is 1.26 at four digits;
  // the integral of x^3 - 2 over [0, 1] is -1.75.
  for (const char* line : {"v =  .125", "r =  1.26", "w = -1.75"})
    EXPECT_TRUE(listing.contains(QString::fromLatin1(line))) << listing.join('|').toStdString();
}

}  // namespace
