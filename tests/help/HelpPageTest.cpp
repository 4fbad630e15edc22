#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <cmath>
#include <limits>
#include <vector>

#include "HelpTestSupport.h"
#include "help/HelpPage.h"
#include "help/HelpText.h"
#include "platform/ui/QtUiServices.h"

namespace ms::testing {
namespace {

QString FromU16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

struct PageCase {
  const char* window;
  const char* exitButton;
  std::vector<const char*> frameTitles;  // as the frames show them
  const char* reference;                 // as the label shows it
};

// Titles and reference labels as the pages show them ("&&" is shown as "&").
const PageCase kPages[] = {
    {"XfrmConst",
     "cmdConstExit",
     {"Numeric Examples", "Constant Format && Examples"},
     "See Pages 1,2 in the document."},
    {"XfrmFunc",
     "cmdFuncExit",
     {"Function Format", "Assignment Examples", "Sample Function"},
     "See Page 2 in the document."},
    {"XfrmGroup",
     "cmdGroupExit",
     {"Groupings", "Error Detection of ..."},
     "Check Page 3 of the Document for additional details on math shortcuts."},
    {"XfrmPlot", "cmdPlotExit", {"Plot Command Setup"}, "See Page 4 in the document."},
    {"XfrmField",
     "cmdFieldExit",
     {"PlotDirField Setup", "PlotField3D Setup"},
     "See Pages 21 & 22 in the document."},
    {"XfrmSolution",
     "cmdSolExit",
     {"Slope Field F'(x,y} Construction", "Add Particular Solutions to the Slope Field."},
     "See Page 24 in the document."},
    {"XfrmDeriv",
     "cmdDerivExit",
     {"Derivative of a Continuous Function", "Derivative of a Continuous Function at constant a"},
     "See Page 14 for details."},
    {"XfrmContour",
     "cmdContourExit",
     {"Plot a Contour -- Default Error (er) && Segment (sg) sizes",
      "Plot a Contour -- Error (er) && Segment (sg) sizes."},
     "See Page 37 in the document."},
    {"XfrmZero", "cmdZeroExit", {"Zeros of F{x} = 0"}, "See Page 9 in the document."},
    {"XfrmComments", "cmdCommentsExit", {}, "See Page 9 in the documents."},
    {"Xfrm1DEQ", "cmd1DEQexit", {"1st Order DEQ -- IVP"}, "See Pages 43-44 in the document."},
    {"Xfrm2DEQ", "cmd2DEQexit", {"2nd Order DEQ -- IVP"}, "See Page 46 in the document."},
    {"Xfrm3DEQ", "cmd3DEQexit", {"3rd Order DEQ -- IVP"}, "See Page 54 in the document."},
    {"Xfrm4DEQ", "cmd4DEQexit", {"4th Order DEQ -- IVP"}, "See Page 56 in the document."},
    {"Xfrm1BVP", "cmd1BVPexit", {"BVP -- Method 1"}, "See Pages 48-49 in the document."},
    {"Xfrm2BVP",
     "cmd2BVPexit",
     {"BVP -- Method 2a", "BVP -- Method 2b"},
     "See Pages 50-53 in the document."},
    {"XfrmInteg", "cmdIntegExit", {"Single Integration"}, "See Page 60 in the document."},
    {"XfrmDblInt", "cmdDblIntExit", {"Double Integraton"}, "See Page 62 in the document"},
};

// Everything the page's labels show, one label per line.
QString PageText(const HelpPage* page) {
  QStringList lines;
  for (const QLabel* label : page->findChildren<QLabel*>()) lines << label->text();
  return lines.join(QLatin1Char('\n'));
}

TEST_F(HelpWindowsTest, EveryPageHasItsFramesExitButtonAndReferenceLast) {
  ASSERT_EQ(std::size(kPages), static_cast<size_t>(help::kHelpPageCount));
  for (int index = 0; index < help::kHelpPageCount; ++index) {
    const PageCase& c = kPages[index];
    SCOPED_TRACE(c.window);
    HelpPage* page = ShowHelpPage(index, nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->objectName(), QString::fromLatin1(c.window));
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(page->windowFlags() & Qt::FramelessWindowHint);

    QStringList titles;
    for (const QGroupBox* frame : page->findChildren<QGroupBox*>()) titles << frame->title();
    QStringList expected;
    for (const char* title : c.frameTitles) expected << QString::fromLatin1(title);
    EXPECT_EQ(titles, expected);

    auto* exit = page->findChild<QPushButton*>(QString::fromLatin1(c.exitButton));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QStringLiteral("Exit"));

    const QList<QLabel*> labels = page->findChildren<QLabel*>();
    ASSERT_GE(labels.size(), 3);
    EXPECT_EQ(labels.last()->text(), QString::fromLatin1(c.reference));
    // Labels between the frames and the reference teach the topic in several lines.
    for (const QLabel* label : labels) {
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
  }
}

TEST_F(HelpWindowsTest, CommentsPageHasAHeadingInsteadOfFrames) {
  HelpPage* page = ShowHelpPage(9, nullptr);
  ASSERT_NE(page, nullptr);
  auto* heading = page->findChild<QLabel*>(QStringLiteral("lblHeading"));
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->text(), QStringLiteral("Comments Field Processing"));
  EXPECT_TRUE(page->findChildren<QGroupBox*>().isEmpty());
}

TEST_F(HelpWindowsTest, QuotedFormsStandOnTheirPages) {
  const struct {
    int page;
    const char* text;
  } cases[] = {
      {0, "1.5E3"},
      {0, "2.1E-3"},
      {0, "0.012E+2"},
      {0, "pi = 3.14159"},
      {1, "F{t} = 1/t"},
      {1, "Fb{x} = Sin[3pi*x]"},
      {3, "A<x> = <x, F, 0>"},
      {4, "PlotDirField[F, H, {-3,3,15}{-3,3,15}]"},
      {4, "PlotField3D[F,G,H,{-3,3,7}{-3,3,7}{-3,3,7}]"},
      {5, "PlotSlopeField[F, {a,b,n}{c,d,m}]"},
      {5, "PlotSlopeField[F, {a,b,n}{c,d,m} {x1,y1} {x2,y2} . . . ]"},
      {6, "D{x} = Diff[F,x]"},
      {6, "D{x} = Diff[F,x,n]"},
      {6, "D{x} = Diff[F,x | 3]"},
      {6, "D{x} = Diff[F,x, n | a]"},
      {8, "Zero[F, {r1, r2, z1} to]"},
      {8, "0.00001"},
      {9, "'@ any text . . . @ !"},
      {9, "'@ any text . . . @cx !"},
      {9, "'@ any text . . . @cx,more text !"},
      {10, "IVP[F, {t0, tf, x0} {factor, tol}]"},
      {10, "0.001"},
      {11, "IVP[F, G, {t0, tf, x0, y0} {factor, tol, mode}]"},
      {12, "IVP[F, G, H, {t0, tf, x0, y0, z0} {factor, tol, mode}]"},
      {13, "IVP[F, G, H, R, {t0, tf, x0, y0, z0, w0} {factor, tol, mode}]"},
      {14, "BVP[F, G, {t0, x0, tb, xb, n}]"},
      {15, "BVP[F, G, {t0, x0,tb, xb} {a1,a2} {factor, tol, mode}]"},
      {15, "BVP[F, G, {t0,x0,tb,xb}{a1; a2; a3;...}{factor, tol, mode}]"},
      {16, "constant ID = Integ[F, {a,b,n,marker}]"},
      {17, "Try n = m = 10."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    HelpPage* page = ShowHelpPage(c.page, nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(PageText(page).contains(QString::fromLatin1(c.text)));
  }
}

TEST_F(HelpWindowsTest, EveryListedExampleIsShownOnItsPageAsAWholeLine) {
  ASSERT_FALSE(help::HelpExamples().empty());
  for (const help::HelpExample& example : help::HelpExamples()) {
    const QString statement = FromU16(example.statement);
    SCOPED_TRACE(statement.toStdString());
    HelpPage* page = ShowHelpPage(example.page, nullptr);
    ASSERT_NE(page, nullptr);
    bool shown = false;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
      const QString line = label->text().trimmed();
      // The statement stands alone on its line, or is followed by an explanation after blanks.
      if (line == statement || line.startsWith(statement + QStringLiteral("  "))) shown = true;
    }
    EXPECT_TRUE(shown);
    // Setup lines form a worksheet: each one ended by CR LF.
    const QString setup = FromU16(example.setup);
    EXPECT_TRUE(setup.isEmpty() || setup.endsWith(QStringLiteral("\r\n")));
    EXPECT_FALSE(setup.contains(QStringLiteral("\r\n\r\n")));
  }
}

TEST_F(HelpWindowsTest, PagesAreMadeTopmostAtTheOriginOnceWhenLoaded) {
  HelpPage* first = ShowHelpPage(3, nullptr);
  HelpPage* second = ShowHelpPage(7, nullptr);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(recorder_.placed.size(), 2u);
  EXPECT_EQ(recorder_.placed[0], static_cast<ui::WindowHandle>(static_cast<QWidget*>(first)));
  EXPECT_EQ(recorder_.placed[1], static_cast<ui::WindowHandle>(static_cast<QWidget*>(second)));
  EXPECT_EQ(first->pos(), QPoint(0, 0));
  EXPECT_EQ(second->pos(), QPoint(0, 0));
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(second->isVisible());

  // The button of an open page shows the same window again, where the user left it.
  first->move(120, 80);
  EXPECT_EQ(ShowHelpPage(3, nullptr), first);
  EXPECT_EQ(recorder_.placed.size(), 2u);
  EXPECT_EQ(first->pos(), QPoint(120, 80));
}

TEST_F(HelpWindowsTest, WithTheQtServicesAPageStaysOnTopAtTheScreenCornerWithoutABorder) {
  ui::QtUiServices qt;
  ui::SetUi(&qt);
  HelpPage* page = ShowHelpPage(5, nullptr);
  ui::SetUi(&recorder_);
  ASSERT_NE(page, nullptr);
  const QSize size = page->size();
  EXPECT_TRUE(page->isVisible());
  EXPECT_TRUE(page->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(page->windowFlags() & Qt::FramelessWindowHint);
  ASSERT_NE(page->screen(), nullptr);
  EXPECT_EQ(page->pos(), page->screen()->availableGeometry().topLeft());
  EXPECT_EQ(page->size(), size);
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

TEST_F(HelpWindowsTest, LeftDragMovesThePageByTheDistanceMovedOtherButtonsDoNot) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    Qt::MouseButton pressed;
    QPointF press;
    Qt::MouseButtons held;
    QPointF to;
    QPoint moved;
  } cases[] = {
      {"left drag", Qt::LeftButton, {10, 10}, Qt::LeftButton, {40, 25}, {30, 15}},
      {"left drag up and left", Qt::LeftButton, {50, 40}, Qt::LeftButton, {20, 35}, {-30, -5}},
      {"positions rounded", Qt::LeftButton, {10.4, 9.6}, Qt::LeftButton, {20.6, 20.4}, {11, 10}},
      {"right drag", Qt::RightButton, {10, 10}, Qt::RightButton, {40, 25}, {0, 0}},
      {"left press, right held", Qt::LeftButton, {10, 10}, Qt::RightButton, {40, 25}, {0, 0}},
      {"left and right held",
       Qt::LeftButton,
       {10, 10},
       Qt::LeftButton | Qt::RightButton,
       {12, 17},
       {2, 7}},
      {"move without a button", Qt::LeftButton, {10, 10}, Qt::NoButton, {40, 25}, {0, 0}},
      {"not a number", Qt::LeftButton, {10, 10}, Qt::LeftButton, {nan, 10}, {-10, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HelpPage* page = ShowHelpPage(0, nullptr);
    ASSERT_NE(page, nullptr);
    page->move(200, 150);
    const QPoint before = page->pos();
    SendMouse(page, QEvent::MouseButtonPress, c.press, c.pressed, c.pressed);
    SendMouse(page, QEvent::MouseMove, c.to, Qt::NoButton, c.held);
    EXPECT_EQ(page->pos() - before, c.moved);
    SendMouse(page, QEvent::MouseButtonRelease, c.to, c.pressed, Qt::NoButton);
    ReleaseHelpWindows();
  }
}

TEST_F(HelpWindowsTest, RightPressKeepsTheLastLeftOrigin) {
  HelpPage* page = ShowHelpPage(1, nullptr);
  ASSERT_NE(page, nullptr);
  page->move(300, 300);
  SendMouse(page, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(page, QEvent::MouseButtonPress, {90, 90}, Qt::RightButton,
            Qt::LeftButton | Qt::RightButton);
  SendMouse(page, QEvent::MouseMove, {15, 12}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(page->pos(), QPoint(305, 302));
}

TEST_F(HelpWindowsTest, DraggingOnTheTextMovesThePageToo) {
  HelpPage* page = ShowHelpPage(4, nullptr);
  ASSERT_NE(page, nullptr);
  page->move(100, 100);
  QLabel* text = page->findChildren<QLabel*>().first();
  SendMouse(text, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(text, QEvent::MouseMove, {25, 0}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(page->pos(), QPoint(120, 95));
}

TEST_F(HelpWindowsTest, ExitOnOnePageLeavesTheOthersOpen) {
  const int open[] = {0, 3, 9, 17};
  for (int index : open) ASSERT_NE(ShowHelpPage(index, nullptr), nullptr);
  HelpPage* closing = LoadedHelpPage(9);
  closing->findChild<QPushButton*>(QStringLiteral("cmdCommentsExit"))->click();
  EXPECT_EQ(LoadedHelpPage(9), nullptr);
  EXPECT_FALSE(closing->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (int index : open) {
    SCOPED_TRACE(index);
    if (index == 9) continue;
    ASSERT_NE(LoadedHelpPage(index), nullptr);
    EXPECT_TRUE(LoadedHelpPage(index)->isVisible());
  }
  // Pressing its button again loads it anew, placed at the origin again.
  const size_t placedBefore = recorder_.placed.size();
  EXPECT_NE(ShowHelpPage(9, nullptr), nullptr);
  EXPECT_EQ(recorder_.placed.size(), placedBefore + 1);
}

TEST_F(HelpWindowsTest, PageIndexesOutsideTheTableAreRefused) {
  for (int index : {-1, 18, 1000, std::numeric_limits<int>::min()}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(ShowHelpPage(index, nullptr), nullptr);
    EXPECT_EQ(LoadedHelpPage(index), nullptr);
  }
  EXPECT_TRUE(recorder_.placed.empty());
}

}  // namespace
}  // namespace ms::testing
