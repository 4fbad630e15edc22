// The program: the worksheet window is the start-up window; it opens empty with the caption
// "Untitled", and the program ends when its last window closes.
#include <QApplication>

#include "graph/GraphProbe.h"
#include "graph/GraphWindow.h"
#include "platform/ui/QtUiServices.h"
#include "worksheet/WorksheetWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MathSheet"));
  ui::QtUiServices services;
  ui::SetUi(&services);
  int rc = 0;
  {
    ws::WorksheetWindow window(&gr::LoadGraphWindow);
    window.show();
    rc = QApplication::exec();
    // The graph window has no parent: when it is still loaded it goes with the program (the help
    // windows are children of the worksheet window).
    delete gr::GraphWindow::Instance();
  }
  ui::SetUi(nullptr);
  return rc;
}
