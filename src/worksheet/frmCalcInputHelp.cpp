// The About and Help menu items.
#include "worksheet/frmCalcInput.h"

namespace ws {

void frmCalcInput::mnuAbout_click() {}

void frmCalcInput::mnuXfrmHelp_click() {}

}  // namespace ws
