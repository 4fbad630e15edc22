// The graph window as a user works it: End Program asks the worksheet's question, the picture
// has the keys, a deleted window leaves nothing behind and a grown one gives its room to the
// picture.
#include <QCheckBox>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

constexpr char kLine[] = "A<t> = <t, 2t, 0>\nPlot[A, {t,0,1,10}]\n";

class GraphWindowUseTest : public GraphTest {};

// Ending from the graph window is the worksheet's End: a changed worksheet is offered for
// saving, and Cancel keeps the program and both windows.
TEST_F(GraphWindowUseTest, EndProgramAsksAboutUnsavedWorkAndCancelKeepsRunning) {
  for (const bool menu : {false, true}) {
    SCOPED_TRACE(menu);
    GraphWindow& w = Run(kLine);
    ui_.answers = {menu ? ui::kAnswerCancel : ui::kAnswerNo};
    if (menu) {
      w.mnuEnd->trigger();
    } else {
      w.cmdExit->click();
    }
    ExpectBox(u"Save the changes before exit?");
    EXPECT_EQ(ui_.endProgramCalls, menu ? 0 : 1);
    EXPECT_EQ(GraphWindow::Instance(), &w);
    EXPECT_TRUE(Sheet().IsChanged());  // nothing was saved or dropped behind the user's back
  }
}

// The picture has the focus when the window opens and after every build: Z zooms and types
// nothing into a scale box.
TEST_F(GraphWindowUseTest, ThePictureHasTheKeysAfterLoadAndEveryBuild) {
  GraphWindow& w = Run(kLine);
  EXPECT_EQ(w.focusWidget(), w.DisplayBox);
  const QString unit = w.Navigation().strXScale->text();
  const double scale = ms::View.PictureScale;
  KeyClick(&w, 'Z');
  EXPECT_EQ(w.Navigation().strXScale->text(), unit);
  EXPECT_DOUBLE_EQ(ms::View.PictureScale, scale + 10);
  w.Navigation().strYScale->setFocus();
  w.cmdUpdate_Click();
  EXPECT_EQ(w.focusWidget(), w.DisplayBox);
  KeyClick(&w, 'z');
  EXPECT_DOUBLE_EQ(ms::View.PictureScale, scale);
  // In the display options, after a click on a check box, the graph's keys still turn the view.
  w.Menus().mnuData->trigger();
  DisplaySettingsDialog& options = *DisplaySettingsDialog::Instance();
  const double rotation = ms::View.RotationAngle;
  if (QWidget* focus = options.focusWidget()) focus->clearFocus();
  KeyClick(&options, Qt::Key_Left);
  EXPECT_GT(ms::View.RotationAngle, rotation);
  const QString title = options.strText->text();
  KeyClick(options.strText, 'Z');  // a text box keeps its own keys
  EXPECT_EQ(options.strText->text(), title + "Z");
  EXPECT_DOUBLE_EQ(ms::View.PictureScale, scale);
  // Back from another window with no control holding the focus.
  w.focusWidget()->clearFocus();
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&w, &activate);
  EXPECT_EQ(w.focusWidget(), w.DisplayBox);
}

// A graph window deleted outright (not unloaded) takes its windows with it and leaves nothing that
// a later step could reach: the next Graph opens a new window that works as the first did.
TEST_F(GraphWindowUseTest, AGraphWindowDeletedOutrightLeavesNothingBehind) {
  const char* contour = "F{x,y} = x^2+y^2\nPlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]\n";
  for (const char* worksheet : {kLine, contour}) {
    SCOPED_TRACE(worksheet);
    GraphWindow& w = Run(worksheet);
    w.Menus().mnuData->trigger();
    w.mnuSaveFrame_Click();
    w.mnuFamilySetUp_Click();  // left open: it goes with the window
    delete &w;
    EXPECT_EQ(GraphWindow::Instance(), nullptr);
    // The display options are kept for the next graph window, out of sight.
    EXPECT_TRUE(DisplaySettingsDialog::Instance() == nullptr ||
                !DisplaySettingsDialog::Instance()->isVisible());
    EXPECT_EQ(FamilyPlotsDialog::Instance(), nullptr);
    EXPECT_FALSE(SendGraphKeys(QStringLiteral("Z")));
    Sheet().cmdCompute_click();
    Sheet().cmdGraph_click();
    ASSERT_NE(GraphWindow::Instance(), nullptr);
    GraphWindow& again = *GraphWindow::Instance();
    EXPECT_TRUE(SendGraphKeys(QStringLiteral("Left z")));
    again.Menus().mnuData->trigger();
    again.cmdUpdate_Click();
    again.cmdReturn_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(GraphWindow::Instance(), nullptr);
    EXPECT_TRUE(ui_.boxes.empty());
  }
}

// The drawing's box (its non-white pixels) in the viewport, relative to the viewport's middle.
QRectF DrawingAboutMiddle(GraphWindow& w) {
  QApplication::sendPostedEvents();
  const QImage shot = w.OutDisplay->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QRect box;
  for (int y = 0; y < shot.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
    for (int x = 0; x < shot.width(); ++x) {
      if ((row[x] & 0xFFFFFFu) != 0xFFFFFFu) box |= QRect(x, y, 1, 1);
    }
  }
  return QRectF(box).translated(-shot.width() / 2.0, -shot.height() / 2.0);
}

// A grown window gives all the room to the picture's viewport; the side panel keeps its width and
// the drawing stays where it was relative to the middle of the viewport, both while the viewport
// is smaller than the picture and once it is larger. Made smaller again, all comes back.
TEST_F(GraphWindowUseTest, AGrownWindowGivesTheRoomToThePictureAndTheDrawingStaysCentred) {
  GraphWindow& w = Run(kLine);
  QApplication::sendPostedEvents();
  const QSize start = w.size();
  const int view = w.OutDisplay->width(), panel = w.Navigation().Frame3->width();
  const QRectF drawing = DrawingAboutMiddle(w);
  ASSERT_FALSE(drawing.isEmpty());
  for (const QSize grow : {QSize(120, 0), QSize(100, 60), QSize(900, 700), QSize(0, 0)}) {
    SCOPED_TRACE(grow.width());
    w.resize(start + grow);
    QApplication::sendPostedEvents();
    EXPECT_EQ(w.OutDisplay->width(), view + grow.width());
    EXPECT_EQ(w.Navigation().Frame3->width(), panel);
    const QRectF now = DrawingAboutMiddle(w);
    EXPECT_NEAR(now.center().x(), drawing.center().x(), 1.0);
    EXPECT_NEAR(now.center().y(), drawing.center().y(), 1.0);
    EXPECT_NEAR(now.width(), drawing.width(), 1.0);
  }
}

}  // namespace
}  // namespace gr::testing
