// Printing the graph: the picture on the current printer at its size on the screen, centred on the
// page and moved by the two image-position scroll bars (through the picture offsets), drawn with
// the printer pen ("Fine" or "Medium") and followed by the text overlays that are switched on.
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <array>
#include <cmath>
#include <utility>

#include "graph/GraphDrawing.h"
#include "graph/GraphMenus.h"
#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/WorksheetTables.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

// A twip is 1/1440 inch; the picture box has 15 twips to a screen pixel.
constexpr double kTwipsPerInch = 1440.0;

// Draw widths of the window's own pen for the two printer pens. The window's pen is not the
// picture's: the picture keeps drawing one-pixel lines, the printer takes its width from the pen
// flag.
constexpr int kFineDrawWidth = 1;
constexpr int kMediumDrawWidth = 4;

}  // namespace

void GraphDrawing::InitMenus(QMenu* printer) {
  printer->addSeparator();
  mnuPtrSetup1 = printer->addAction(QStringLiteral("Printer Set Up"));
  mnuPen = printer->addMenu(QStringLiteral("Pen"));
  mnuFine = mnuPen->addAction(QStringLiteral("Fine"));
  mnuMedium = mnuPen->addAction(QStringLiteral("Medium"));
  mnuFine->setCheckable(true);
  mnuMedium->setCheckable(true);
  printer->addSeparator();
  mnuPrtGraph = printer->addAction(QStringLiteral("Print Image"));
  mnuSaveGraph = printer->addAction(QStringLiteral("Save Image (bmp)"));
  mnuSaveFrame = printer->addAction(QStringLiteral("Save Framed (bmp)"));
  mnuPtrSetup1->setObjectName(QStringLiteral("mnuPtrSetup1"));
  mnuPen->setObjectName(QStringLiteral("mnuPen"));
  mnuFine->setObjectName(QStringLiteral("mnuFine"));
  mnuMedium->setObjectName(QStringLiteral("mnuMedium"));
  mnuPrtGraph->setObjectName(QStringLiteral("mnuPrtGraph"));
  mnuSaveGraph->setObjectName(QStringLiteral("mnuSaveGraph"));
  mnuSaveFrame->setObjectName(QStringLiteral("mnuSaveFrame"));
  QObject::connect(mnuPtrSetup1, &QAction::triggered, &w_, [this] { mnuPtrSetup1_Click(); });
  QObject::connect(mnuPrtGraph, &QAction::triggered, &w_, [this] { mnuPrtGraph_Click(); });
  QObject::connect(mnuSaveGraph, &QAction::triggered, &w_, [this] { mnuSaveGraph_Click(); });
  QObject::connect(mnuSaveFrame, &QAction::triggered, &w_, [this] { mnuSaveFrame_Click(); });
  ConnectMenuItem(mnuFine, &w_, [this] { mnuFine_Click(); });
  ConnectMenuItem(mnuMedium, &w_, [this] { mnuMedium_Click(); });
}

// The printer pens; the window's own draw width follows them.
void GraphDrawing::mnuFine_Click() {
  Graph.FinePen = -1;
  drawWidth_ = kFineDrawWidth;
  mnuFine->setChecked(true);
  mnuMedium->setChecked(false);
}

void GraphDrawing::mnuMedium_Click() {
  Graph.FinePen = 0;
  drawWidth_ = kMediumDrawWidth;
  mnuMedium->setChecked(true);
  mnuFine->setChecked(false);
}

// "Medium" as the window loads.
void GraphDrawing::ResetPenForLoad() {
  mnuFine->setChecked(false);
  mnuMedium->setChecked(true);
}

// The source's units per inch follow from its scale and its size on the screen; the page's extent
// in inches (the printer target's pixels over the printer's resolution) in those units is the
// extent of the printer's scale, laid about the source's centre.
void GraphDrawing::SetPrinterScale(draw::DrawTarget& printer, double dpiX, double dpiY,
                                   const draw::DrawTarget& source) {
  if (!(dpiX > 0) || !(dpiY > 0)) return;
  const double sourceInchesX = source.PixelWidth() * kTwipsPerPixel / kTwipsPerInch;
  const double sourceInchesY = source.PixelHeight() * kTwipsPerPixel / kTwipsPerInch;
  const double unitsPerInchX = source.ScaleWidth() / sourceInchesX;
  const double unitsPerInchY = source.ScaleHeight() / sourceInchesY;
  const double w = printer.PixelWidth() / dpiX * unitsPerInchX;
  const double h = printer.PixelHeight() / dpiY * unitsPerInchY;
  const double cx = source.ScaleLeft() + source.ScaleWidth() / 2;
  const double cy = source.ScaleTop() + source.ScaleHeight() / 2;
  printer.SetScale(cx - w / 2, cy - h / 2, w, h);
}

// The scene is drawn from the view table as the last drawing on the screen left it (projected
// for Display), so the page shows what the screen shows.
void GraphDrawing::PrintGraph(draw::DrawTarget& printer, double dpiX, double dpiY) {
  SetPrinterScale(printer, dpiX, dpiY, w_.Display());
  printTarget_ = &printer;
  ImageView(printer);
  printTarget_ = nullptr;
  // The painter leaves the printer with its width between segments.
  printer.DrawWidth = Graph.PrinterDrawWidth;

  // The overlays in the order of the printed page.
  const std::array<std::pair<int16_t, OverlayPainter>, 7> overlays = {{
      {Graph.ShowDataText, Overlays().placeText},
      {Graph.ShowTimeText, Overlays().placeTimeText},
      {Graph.ShowTitle, Overlays().placeTitleText},
      {Graph.ShowLegend, Overlays().PlaceLegend},
      {Graph.ShowWkText, Overlays().placeWkText},
      {Graph.ShowValText, Overlays().placeValText},
      {ms::Tables.ShowValLegend, Overlays().PlaceLegendText},
  }};
  PaintOverlays(printer, overlays);
}

void GraphDrawing::mnuPrtGraph_Click() {
  // Pending repaints and clicks run first; one of them may unload the window.
  QPointer<GraphWindow> self(&w_);
  ui::Ui().DoEvents();
  if (self.isNull()) return;

  QPainter painter;
  ui::PrintJob job;
  // A printer that cannot be started gets no page at all, and the window stays as it was; the
  // printer is left ready for the next try (another printer or a PDF file from Printer Set Up).
  ui::PrintJob::Outcome outcome = job.Begin(painter);
  if (outcome == ui::PrintJob::Outcome::kPrinted) {
    QPrinter& device = ui::Printer();
    const QRect page = device.pageLayout().paintRectPixels(device.resolution());
    {
      draw::DrawTarget target(painter, page.width(), page.height());
      target.Font = w_.PrinterFont();
      PrintGraph(target, device.logicalDpiX(), device.logicalDpiY());
    }
    outcome = job.End(painter);
  }
  w_.SetBusyPointer(false);
  switch (outcome) {
    case ui::PrintJob::Outcome::kPrinted:
      return;
    case ui::PrintJob::Outcome::kNoPrinter:
      ui::Ui().MsgBox(
          u"No printer is installed; the graph was not printed.\r\nChoose "
          u"Printer Set Up to print to a PDF file.",
          ui::kExclamation, ws::kAppTitle);
      return;
    case ui::PrintJob::Outcome::kNotStarted:
      ui::Ui().MsgBox(u"The printer could not be started; the graph was not printed.",
                      ui::kExclamation, ws::kAppTitle);
      return;
    case ui::PrintJob::Outcome::kNotWritten:
      // A cut PDF file is never left: the file that was there stays as it was.
      ui::Ui().MsgBox(job.NotWrittenText(u"graph"), ui::kExclamation, ws::kAppTitle);
      return;
  }
}

// The dialog configures the program's printer; a cancel or a failure of the dialog leaves it as
// it was.
void GraphDrawing::mnuPtrSetup1_Click() {
  ui::Ui().PrintDialog();
}

}  // namespace gr
