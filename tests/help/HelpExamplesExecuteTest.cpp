// Every complete statement a help page shows must work as the page says: accepted by Execute in a
// worksheet with the definitions it names, and, for the commands the graph window runs, accepted
// by that command too.
#include <gtest/gtest.h>

#include "commands/ProgramState.h"
#include "help/HelpText.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/WorksheetReader.h"
#include "language/WorksheetTables.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/SlopeField.h"

namespace {

using ms::help::HelpExample;

// Runs the deferred command a worksheet requested, as the graph window's build does.
int16_t RunRequestedCommand() {
  int16_t msgNo = 0;
  ms::CommandRequestState& r = ms::Requests;
  if (r.IVPRequested) msgNo = ms::ProcessIVP(r.IVPStmt);
  if (msgNo == 0 && r.BVPRequested) msgNo = ms::ProcessBVP(r.BVPStmt);
  if (msgNo == 0 && r.SlopeFieldRequested) ms::ProcessPlotSlopeField(r.SlopeFieldStmt, msgNo);
  if (msgNo == 0 && r.DirFieldRequested) ms::ProcessPlotDirField(r.DirFieldStmt, msgNo);
  if (msgNo == 0 && r.Field3DRequested) ms::ProcessPlotField3D(r.Field3DStmt, msgNo);
  if (msgNo == 0 && (r.ContourRequested || r.Contour1Requested))
    ms::ProcessPlotContour(r.ContourStmt, msgNo);
  return msgNo;
}

TEST(HelpExamplesExecute, EveryShownStatementIsAccepted) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  ASSERT_FALSE(ms::help::HelpExamples().empty());
  for (const HelpExample& example : ms::help::HelpExamples()) {
    const rt::Text statement(example.statement);
    SCOPED_TRACE("page " + std::to_string(example.page) + ": " + rt::ToUtf8(statement));
    ms::ResetProgramState();
    screen.Reset();
    rt::Text sheet = rt::Text(example.setup) + statement + u"\r\n";
    rt::Text stmtText;
    int16_t msgNo = 0;
    ms::ProcessWorksheet(sheet, stmtText, msgNo);
    EXPECT_EQ(msgNo, 0) << rt::ToUtf8(stmtText);
    if (msgNo != 0) continue;
    EXPECT_EQ(RunRequestedCommand(), 0);
    // A command may show an informational box (a limit reached); none may be an error box.
    for (const auto& box : screen.boxes) EXPECT_NE(box.title, u"Syntax Error");
  }
  ui::SetUi(nullptr);
}

}  // namespace
