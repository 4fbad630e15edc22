#include <gtest/gtest.h>

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <array>

#include "HelpTestSupport.h"
#include "help/HelpPage.h"
#include "help/XfrmHelp.h"

namespace ms::testing {
namespace {

const QColor kGrey(0xE0, 0xE0, 0xE0);
const QColor kLightGrey(0xF0, 0xF0, 0xF0);
const QColor kLightYellow(0xFF, 0xFF, 0xC0);

QPushButton* Button(const char* name) {
  XfrmHelp* help = LoadedHelpWindow();
  return help ? help->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
}

QGroupBox* Frame(const char* name) {
  XfrmHelp* help = LoadedHelpWindow();
  return help ? help->findChild<QGroupBox*>(QString::fromLatin1(name)) : nullptr;
}

QColor ButtonColor(const char* name) {
  QPushButton* button = Button(name);
  return button ? button->palette().color(QPalette::Button) : QColor();
}

struct PageButtonCase {
  const char* frame;
  const char* button;
  const char* caption;
  const char* page;
};

// Which button opens which page, and where it sits.
const PageButtonCase kPageButtons[] = {
    {"Frame1", "cmdHelpConst", "Constants && Numbers", "XfrmConst"},
    {"Frame1", "cmdHelpFunc", "Functions", "XfrmFunc"},
    {"Frame1", "cmdHelpGroup", "( ), [ ], { } Use", "XfrmGroup"},
    {"Frame1", "cmdHelpPlot", "Plot", "XfrmPlot"},
    {"Frame1", "cmdHelpFields", "Fields", "XfrmField"},
    {"Frame1", "cmdHelpSol", "Particular Solultions on Fields", "XfrmSolution"},
    {"Frame1", "cmdHelpDeriv", "Derivative", "XfrmDeriv"},
    {"Frame1", "cmdHelpContour", "Contour Graphs", "XfrmContour"},
    {"Frame1", "cmdHelpZero", "F{x} = 0", "XfrmZero"},
    {"Frame1", "cmdHelpComments", "Comment Fields", "XfrmComments"},
    {"Frame2", "cmdHelp1DEQ", "1st Order", "Xfrm1DEQ"},
    {"Frame2", "cmdHelp2DEQ", "2nd Order", "Xfrm2DEQ"},
    {"Frame2", "cmdHelp3DEQ", "3rd Order", "Xfrm3DEQ"},
    {"Frame2", "cmdHelp4DEQ", "4th Order", "Xfrm4DEQ"},
    {"Frame4", "cmdHelp1BVP", "Merhod 1", "Xfrm1BVP"},
    {"Frame4", "cmdHelp2BVP", "Method 2", "Xfrm2BVP"},
    {"Frame5", "cmdHelpInteg", "Single Integration", "XfrmInteg"},
    {"Frame5", "cmdHelpDblInt", "Double Integration", "XfrmDblInt"},
};

TEST_F(HelpWindowsTest, EachPageButtonOpensItsPageAndClosesTheHelpWindow) {
  for (const PageButtonCase& c : kPageButtons) {
    SCOPED_TRACE(c.button);
    ShowHelpWindow(nullptr);
    XfrmHelp* help = LoadedHelpWindow();
    ASSERT_NE(help, nullptr);
    QPushButton* button = Button(c.button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
    ASSERT_NE(button->parentWidget(), nullptr);
    EXPECT_EQ(button->parentWidget()->objectName(), QString::fromLatin1(c.frame));

    button->click();
    EXPECT_EQ(LoadedHelpWindow(), nullptr);
    EXPECT_FALSE(help->isVisible());

    HelpPage* opened = nullptr;
    int openCount = 0;
    for (int page = 0; page < 18; ++page) {
      HelpPage* loaded = LoadedHelpPage(page);
      if (loaded && loaded->objectName() == QString::fromLatin1(c.page)) opened = loaded;
      if (loaded) ++openCount;
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(openCount, 1);
    ReleaseHelpWindows();
  }
}

struct CategoryCase {
  const char* button;
  const char* caption;
  const char* frameCaption;
  std::array<const char*, 7> labels;
};

// Clicked in this order on one window: each click must replace every label of the one before.
const CategoryCase kCategories[] = {
    {"Command1",
     "Vectors",
     "Vectors",
     {"Format---4,74", "2D/3D ---4", "Functions in---4,74", "Math---16,17,75",
      "Components of---17,75", "vDiff[ format---16,66,67", "Type Mismatch---4,67"}},
    {"Command2",
     "Error Controls",
     "Error Controls",
     {"In Contour---37", "DEQ (ivp)---see Factor", "ER---70", "SG---70", "Particular---24,25",
      "Vertices Count---39,69", "Factor,Tol---43,44,46,54,46"}},
    {"Command3",
     "Display Options",
     "Display Options",
     {"Numerical---64", "Markers---5,13", "Text in Graphics---9", "Legends---65",
      "Computed Values---9", "Plot Colors---65", ""}},
    {"Command4",
     "Syntax Options",
     "Syntax Options",
     {"* (multiply)---3", "Built-in---2,74", "Case sensitive---3", "Numeric Formats---64",
      "Parameters===74", "", ""}},
    {"Command5",
     "Illegal Syntax",
     "Illegal Syntax",
     {"Constants---1", "Functions---2", "Parameters---2,74", "Numeric Formats---1,64",
      "<x = constant>---2,64", "Math Operations---64", "Type mismatch---4,67"}},
    {"Command6",
     "Illegal Syntax Vectors",
     "Illegal Syntax (Vectors)",
     {"ID header---4", "Math---16,18,64,74", "Component---17,67", "math---16,17,67",
      "Case sensitive---16,", "Functions within---4,74", "Formats---66,67"}},
};

TEST_F(HelpWindowsTest, CategoryButtonsFillTheFrameAndMarkOnlyTheChosenButton) {
  ShowHelpWindow(nullptr);
  XfrmHelp* help = LoadedHelpWindow();
  ASSERT_NE(help, nullptr);
  QGroupBox* frame = Frame("Frame6");
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());

  for (const CategoryCase& c : kCategories) {
    SCOPED_TRACE(c.button);
    QPushButton* button = Button(c.button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
    button->click();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title(), QString::fromLatin1(c.frameCaption));
    for (int k = 0; k < 7; ++k) {
      SCOPED_TRACE(k + 1);
      auto* label = help->findChild<QLabel*>(QStringLiteral("Label%1").arg(k + 1));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->parentWidget(), frame);
      EXPECT_EQ(label->text(), QString::fromLatin1(c.labels[static_cast<size_t>(k)]));
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    for (const CategoryCase& other : kCategories) {
      SCOPED_TRACE(other.button);
      EXPECT_EQ(ButtonColor(other.button), &other == &c ? kLightYellow : kGrey);
    }
  }
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(LoadedHelpWindow(), help);
}

TEST_F(HelpWindowsTest, LoadColoursTheFramesAndGreysEveryCategoryButton) {
  ShowHelpWindow(nullptr);
  const struct {
    const char* frame;
    QColor colour;
  } frames[] = {{"Frame1", kLightGrey},
                {"Frame3", kLightGrey},
                {"Frame5", kLightGrey},
                {"Frame2", kGrey},
                {"Frame6", kGrey}};
  for (const auto& f : frames) {
    SCOPED_TRACE(f.frame);
    QGroupBox* frame = Frame(f.frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->autoFillBackground());
    EXPECT_EQ(frame->palette().color(QPalette::Window), f.colour);
  }
  for (const CategoryCase& c : kCategories) {
    SCOPED_TRACE(c.button);
    EXPECT_EQ(ButtonColor(c.button), kGrey);
  }
  const struct {
    const char* name;
    const char* caption;
  } captions[] = {{"Frame7", "Select Page References"},
                  {"Frame3", "Differential Equations"},
                  {"Frame2", "IVP Equations"},
                  {"Frame4", "BVP Equations"},
                  {"Frame5", "Integration"},
                  {"Frame1", "Basic Operations"}};
  for (const auto& c : captions) {
    SCOPED_TRACE(c.name);
    QGroupBox* frame = Frame(c.name);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QString::fromLatin1(c.caption));
  }
  // The three differential-equation frames sit inside Frame3.
  for (const char* inner : {"Frame2", "Frame4", "Frame5"}) {
    SCOPED_TRACE(inner);
    EXPECT_EQ(Frame(inner)->parentWidget(), Frame("Frame3"));
  }
  auto* instruction = LoadedHelpWindow()->findChild<QLabel*>(QStringLiteral("Label8"));
  ASSERT_NE(instruction, nullptr);
  EXPECT_EQ(
      instruction->text(),
      QStringLiteral("Key your choice. A pop up screen appears. Position the Mouse pointer on "
                     "the form to move the form around the work sheet area."));
  ASSERT_NE(Button("cmdExitHelp"), nullptr);
  EXPECT_EQ(Button("cmdExitHelp")->text(), QStringLiteral("Exit Help"));
}

TEST_F(HelpWindowsTest, ButtonColorsSetsTheSixButtonsInOrder) {
  ShowHelpWindow(nullptr);
  // Packed colours: red in the low byte, blue in the high byte.
  LoadedHelpWindow()->ButtonColors({0x0000FF, 0x00FF00, 0xFF0000, 0x102030, 0, 0xFFFFFF});
  const struct {
    const char* button;
    QColor colour;
  } cases[] = {{"Command1", QColor(255, 0, 0)}, {"Command2", QColor(0, 255, 0)},
               {"Command3", QColor(0, 0, 255)}, {"Command4", QColor(0x30, 0x20, 0x10)},
               {"Command5", QColor(0, 0, 0)},   {"Command6", QColor(255, 255, 255)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    EXPECT_EQ(ButtonColor(c.button), c.colour);
  }
}

TEST_F(HelpWindowsTest, ReopeningStartsWithTheIndexHiddenAndGrey) {
  // Each road that closes the help window: Exit Help, and opening a page.
  for (const char* closer : {"cmdExitHelp", "cmdHelpPlot"}) {
    SCOPED_TRACE(closer);
    ShowHelpWindow(nullptr);
    XfrmHelp* first = LoadedHelpWindow();
    Button("Command5")->click();
    ASSERT_TRUE(Frame("Frame6")->isVisible());
    Button(closer)->click();
    EXPECT_EQ(LoadedHelpWindow(), nullptr);
    EXPECT_FALSE(first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ShowHelpWindow(nullptr);
    ASSERT_NE(LoadedHelpWindow(), nullptr);
    EXPECT_TRUE(LoadedHelpWindow()->isVisible());
    EXPECT_FALSE(Frame("Frame6")->isVisible());
    EXPECT_EQ(ButtonColor("Command5"), kGrey);
    ReleaseHelpWindows();
  }
}

TEST_F(HelpWindowsTest, HelpMenuTwiceShowsTheSameWindow) {
  ShowHelpWindow(nullptr);
  XfrmHelp* first = LoadedHelpWindow();
  Button("Command2")->click();
  ShowHelpWindow(nullptr);
  EXPECT_EQ(LoadedHelpWindow(), first);
  EXPECT_TRUE(Frame("Frame6")->isVisible());  // no reload: the chosen category stays
}

TEST_F(HelpWindowsTest, PagesOpenedFromTheWindowBelongToTheWorksheetAndOutliveTheWindow) {
  QWidget worksheet;
  worksheet.show();
  ShowHelpWindow(&worksheet);
  ASSERT_NE(LoadedHelpWindow(), nullptr);
  EXPECT_EQ(LoadedHelpWindow()->parentWidget(), &worksheet);
  EXPECT_TRUE(LoadedHelpWindow()->isWindow());
  Button("cmdHelpInteg")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  HelpPage* page = LoadedHelpPage(16);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->parentWidget(), &worksheet);
  EXPECT_TRUE(page->isVisible());
  EXPECT_TRUE(page->isWindow());
  ReleaseHelpWindows();
}

}  // namespace
}  // namespace ms::testing
