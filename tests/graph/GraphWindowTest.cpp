// The graph window's lifecycle: the closing guard and the offer to save the worksheet after a
// failed first build.
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

using GraphWindowTest = GraphTest;

// The close box is refused with its box; the program's own unload passes the guard without one.
TEST_F(GraphWindowTest, ClosingIsRefusedButTheProgramsUnloadPasses) {
  GraphWindow& w = Load();
  ASSERT_TRUE(w.Form_QueryUnload(GraphWindow::UnloadModeOf(true, false)));
  ExpectBox(u"PLease use the 'End Program' button to close this program.");
  EXPECT_EQ(GraphWindow::UnloadModeOf(true, true), kUnloadByProgram);
  EXPECT_EQ(GraphWindow::UnloadModeOf(false, false), kUnloadByProgram);
  EXPECT_FALSE(w.Form_QueryUnload(kUnloadByProgram));
}

// Builds that fail the way run-time errors would: an overflow and another error.
int16_t Throwing(const rt::Text&, int16_t) {
  throw std::overflow_error("Overflow");
}
int16_t ThrowingOther(const rt::Text&, int16_t) {
  throw std::runtime_error("Subscript out of range");
}

// A failed first build offers the worksheet for saving before the program ends: a cancelled save
// dialog is said and offered again, and the second name chosen receives the worksheet. No shows
// the worksheet again.
TEST_F(GraphWindowTest, FailedFirstBuildOffersToSaveTheWorksheet) {
  QTemporaryDir dir;
  const rt::Text path = ui::FromQString(dir.filePath(QStringLiteral("rescued.txt")));
  const rt::Text offer =
      u"Error most likely overflow caused by a division by zero\r\n or a value "
      u"that has approach infinity. Choose YES/NO to save the worksheet.";
  for (const bool save : {true, false}) {
    SCOPED_TRACE(save);
    ReleaseGraphWindow();
    ResetGraphCommands();
    ui_.Reset();
    Sheet().TypeWorksheetText(QStringLiteral("a = 1\nb = 2"));
    ms::Requests.IVPRequested = -1;
    CommandEntry(GraphCommand::kIVP) = save ? Throwing : ThrowingOther;
    ui_.answers = {ui::kAnswerOk, save ? ui::kAnswerYes : ui::kAnswerNo, ui::kAnswerYes};
    ui_.savePaths = {u"", path};
    Load();
    const std::vector<rt::Text> saved = {
        u"Unanticipated error : Overflow", offer,
        u"The worksheet was not saved.\r\nChoose YES to try again, NO to end without saving."};
    const std::vector<rt::Text> other = {u"Error is : Subscript out of range", offer};
    EXPECT_EQ(Boxes(), save ? saved : other);
    EXPECT_EQ(ui_.endProgramCalls, 1);
    EXPECT_EQ(Sheet().isVisible(), !save);
    QFile f(ui::ToQString(path));
    if (!save) continue;
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a = 1\r\nb = 2\r\n"));
  }
}

}  // namespace
}  // namespace gr::testing
