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

}  // namespace

void GraphDrawing::BuildPrinterMenu(QMenu* printer) {
  printer->addSeparator();
  w_.mnuPtrSetup1 = printer->addAction(QStringLiteral("Printer Set Up"));
  w_.mnuPen = printer->addMenu(QStringLiteral("Pen"));
  w_.mnuFine = w_.mnuPen->addAction(QStringLiteral("Fine"));
  w_.mnuMedium = w_.mnuPen->addAction(QStringLiteral("Medium"));
  w_.mnuFine->setCheckable(true);
  w_.mnuMedium->setCheckable(true);
  printer->addSeparator();
  w_.mnuPrtGraph = printer->addAction(QStringLiteral("Print Image"));
  w_.mnuSaveGraph = printer->addAction(QStringLiteral("Save Image (bmp)"));
  w_.mnuSaveFrame = printer->addAction(QStringLiteral("Save Framed (bmp)"));
  w_.mnuPtrSetup1->setObjectName(QStringLiteral("mnuPtrSetup1"));
  w_.mnuPen->setObjectName(QStringLiteral("mnuPen"));
  w_.mnuFine->setObjectName(QStringLiteral("mnuFine"));
  w_.mnuMedium->setObjectName(QStringLiteral("mnuMedium"));
  w_.mnuPrtGraph->setObjectName(QStringLiteral("mnuPrtGraph"));
  w_.mnuSaveGraph->setObjectName(QStringLiteral("mnuSaveGraph"));
  w_.mnuSaveFrame->setObjectName(QStringLiteral("mnuSaveFrame"));
  QObject::connect(w_.mnuPtrSetup1, &QAction::triggered, &w_, [this] { mnuPtrSetup1_Click(); });
  QObject::connect(w_.mnuPrtGraph, &QAction::triggered, &w_, [this] { mnuPrtGraph_Click(); });
  QObject::connect(w_.mnuSaveGraph, &QAction::triggered, &w_, [this] { mnuSaveGraph_Click(); });
  QObject::connect(w_.mnuSaveFrame, &QAction::triggered, &w_, [this] { mnuSaveFrame_Click(); });
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
  SetPrinterScale(printer, dpiX, dpiY, *w_.display_);
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
  for (const auto& [shown, paint] : overlays) {
    if (shown != 0 && paint != nullptr) paint(printer);
  }
}

void GraphDrawing::mnuPrtGraph_Click() {
  // Pending repaints and clicks run first; one of them may unload the window.
  QPointer<GraphWindow> self(&w_);
  ui::Ui().DoEvents();
  if (self.isNull()) return;

  QPainter painter;
  // A printer that cannot be started gets no page at all, and the window stays as it was; the
  // printer is left ready for the next try (another printer or a PDF file from Printer Set Up).
  const ui::PrintStart start = ui::BeginPrinting(painter);
  if (start != ui::PrintStart::kStarted) {
    w_.SetBusyPointer(false);
    ui::Ui().MsgBox(start == ui::PrintStart::kNoPrinter
                        ? u"No printer is installed; the graph was not printed.\r\nChoose "
                          u"Printer Set Up to print to a PDF file."
                        : u"The printer could not be started; the graph was not printed.",
                    ui::kExclamation, ws::kAppTitle);
    return;
  }
  QPrinter& device = ui::Printer();
  const QRect page = device.pageLayout().paintRectPixels(device.resolution());
  {
    draw::DrawTarget target(painter, page.width(), page.height());
    target.Font = w_.printerFont_;
    PrintGraph(target, device.logicalDpiX(), device.logicalDpiY());
  }
  painter.end();
  w_.SetBusyPointer(false);
}

// The dialog configures the program's printer; a cancel or a failure of the dialog leaves it as
// it was.
void GraphDrawing::mnuPtrSetup1_Click() {
  ui::Ui().PrintDialog();
}

}  // namespace gr
