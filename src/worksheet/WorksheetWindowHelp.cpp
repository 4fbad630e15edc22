// The About and Help menu items: the About window is modal, the help window modeless.
#include "help/AboutWindow.h"
#include "help/HelpWindow.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

void WorksheetWindow::mnuAbout_click() {
  ms::ShowAboutWindow(this);
}

void WorksheetWindow::mnuXfrmHelp_click() {
  ms::ShowHelpWindow(this);
}

}  // namespace ws
