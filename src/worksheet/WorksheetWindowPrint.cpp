// Printing the worksheet and its results, the page layout items and the Fonts item.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <cmath>

#include "language/Settings.h"
#include "platform/ui/QtUiServices.h"
#include "worksheet/WorksheetPrint.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

namespace {

// Draws the lines top to bottom in the font, wrapped at the printable width, a new page whenever
// the page is full or a line is the new-page mark. A line that starts with a Tab is indented by
// half an inch, and tab stops are half an inch apart. The job says where the pages went (a PDF
// file is put in place only when complete).
ui::PrintJob::Outcome RenderLines(ui::PrintJob& job, const QFont& font, const QStringList& lines) {
  QPainter painter;
  // Without a printer or a file the printer does not start; the worksheet says so as for any
  // printer that does not start.
  const ui::PrintJob::Outcome started = job.Begin(painter);
  if (started != ui::PrintJob::Outcome::kPrinted) {
    return started == ui::PrintJob::Outcome::kNotWritten ? started
                                                         : ui::PrintJob::Outcome::kNotStarted;
  }
  QPrinter& printer = ui::Printer();
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetricsF metrics(font, &printer);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  PrintMetrics m;
  m.pageWidth = page.width();
  m.pageHeight = page.height();
  m.lineHeight = std::max(1, QFontMetrics(font, &printer).lineSpacing());
  m.tabStop = std::max(1, printer.resolution() / 2);
  m.advance = [&metrics](QStringView text) { return metrics.horizontalAdvance(text.toString()); };
  const std::vector<PrintPage> pages = LayOutPrintLines(lines, m);
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !printer.newPage()) {
      job.Cancel(painter);
      return ui::PrintJob::Outcome::kNotStarted;
    }
    for (const PrintRow& row : pages[i]) {
      const double baseline = row.row * m.lineHeight + metrics.ascent();
      for (const PrintPiece& piece : RowPieces(row.x, row.text, m)) {
        painter.drawText(QPointF(piece.x, baseline), piece.text);
      }
    }
  }
  return job.End(painter);
}

}  // namespace

void WorksheetWindow::mnuPort_click() {
  mnuPort->setChecked(true);
  mnuLand->setChecked(false);
  ui::Printer().setPageOrientation(QPageLayout::Portrait);
}

void WorksheetWindow::mnuLand_click() {
  mnuLand->setChecked(true);
  mnuPort->setChecked(false);
  ui::Printer().setPageOrientation(QPageLayout::Landscape);
}

void WorksheetWindow::mnuPrint_click() {
  const QFont font = Text1->font();
  ui::Ui().DoEvents();
  if (!ui::Ui().PrintDialog()) return;  // cancelled: nothing printed, no message

  QPrinter& printer = ui::Printer();
  // The Layout menu wins over the orientation chosen in the dialog.
  const bool landscape = mnuLand->isChecked();
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  const int fontSize = static_cast<int>(std::lround(font.pointSizeF()));
  const bool newPage = ResultsOnNewPage(fontSize, PrintLineEstimate(), landscape);

  // Printing works on a copy of the text: the editor is never changed by it.
  const QStringList copy =
      ComposeWorksheetCopy(windowTitle(), SheetText(), newPage, ms::Settings.DisplayDigits,
                           undefinedFuncs_.empty() ? nullptr : &undefinedFuncs_);
  const int copies = std::max(1, printer.copyCount());
  QStringList all;
  for (int c = 1; c <= copies; ++c) {
    if (c > 1) all << kNewPageMark;
    all << copy;
  }
  printer.setCopyCount(1);  // the copies are in the document already
  ui::PrintJob job;
  const ui::PrintJob::Outcome printed = RenderLines(job, font, all);
  ui::Printer().setCopyCount(copies);
  ui::Ui().SetBusy(false);
  if (printed == ui::PrintJob::Outcome::kNotWritten) {
    // A cut PDF file is never left: the file that was there stays as it was.
    ui::Ui().MsgBox(job.NotWrittenText(u"worksheet"), ui::kExclamation, kAppTitle);
  } else if (printed != ui::PrintJob::Outcome::kPrinted) {
    ui::Ui().MsgBox(u"The printer could not be started; the worksheet was not printed.",
                    ui::kExclamation, kAppTitle);
  }
}

void WorksheetWindow::mnuFonts_click() {
  const ui::FontChoice initial = ui::FontChoiceOf(Text1->font());
  ui::FontChoice chosen = initial;
  if (!ui::Ui().FontDialog(initial, chosen)) return;  // cancelled: the font stays
  Text1->setFont(ui::WithFontChoice(QFont(), chosen));
}

}  // namespace ws
