// The About and Help menu items: the About window is modal, the help window modeless.
#include "help/XfrmHelp.h"
#include "help/frmAbout.h"
#include "worksheet/frmCalcInput.h"

namespace ws {

void frmCalcInput::mnuAbout_click() {
  ms::ShowAboutWindow(this);
}

void frmCalcInput::mnuXfrmHelp_click() {
  ms::ShowHelpWindow(this);
}

}  // namespace ws
