#include <gtest/gtest.h>

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>

#include "HelpTestSupport.h"
#include "help/HelpPage.h"
#include "help/HelpText.h"
#include "help/HelpWindow.h"

namespace ms::testing {
namespace {

const QColor kGrey(0xE0, 0xE0, 0xE0);
const QColor kLightYellow(0xFF, 0xFF, 0xC0);

QPushButton* Button(const char* name) {
  HelpWindow* help = LoadedHelpWindow();
  return help ? help->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
}

QGroupBox* Frame(const char* name) {
  HelpWindow* help = LoadedHelpWindow();
  return help ? help->findChild<QGroupBox*>(QString::fromLatin1(name)) : nullptr;
}

QColor ButtonColor(const char* name) {
  QPushButton* button = Button(name);
  return button ? button->palette().color(QPalette::Button) : QColor();
}

const char* const kCategoryButtons[] = {"Command1", "Command2", "Command3",
                                        "Command4", "Command5", "Command6"};

TEST_F(HelpWindowsTest, EachPageButtonOpensItsPageAndClosesTheHelpWindow) {
  // In the order of the pages they open.
  const char* const buttons[] = {
      "cmdHelpConst", "cmdHelpFunc",  "cmdHelpGroup",   "cmdHelpPlot", "cmdHelpFields",
      "cmdHelpSol",   "cmdHelpDeriv", "cmdHelpContour", "cmdHelpZero", "cmdHelpComments",
      "cmdHelp1DEQ",  "cmdHelp2DEQ",  "cmdHelp3DEQ",    "cmdHelp4DEQ", "cmdHelp1BVP",
      "cmdHelp2BVP",  "cmdHelpInteg", "cmdHelpDblInt"};
  static_assert(std::size(buttons) == help::kHelpPageCount);
  // Pages opened from the window belong to the worksheet and outlive the window.
  QWidget worksheet;
  worksheet.show();
  for (int index = 0; index < help::kHelpPageCount; ++index) {
    SCOPED_TRACE(buttons[index]);
    ShowHelpWindow(&worksheet);
    HelpWindow* help = LoadedHelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_NE(Button(buttons[index]), nullptr);
    Button(buttons[index])->click();
    EXPECT_EQ(LoadedHelpWindow(), nullptr);
    EXPECT_FALSE(help->isVisible());
    for (int page = 0; page < help::kHelpPageCount; ++page)
      EXPECT_EQ(LoadedHelpPage(page) != nullptr, page == index) << page;
    HelpPage* opened = LoadedHelpPage(index);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_TRUE(opened->isWindow());
    EXPECT_EQ(opened->parentWidget(), &worksheet);
    ReleaseHelpWindows();
  }
}

TEST_F(HelpWindowsTest, CategoryButtonsFillTheFrameAndMarkOnlyTheChosenButton) {
  ShowHelpWindow(nullptr);
  HelpWindow* help = LoadedHelpWindow();
  ASSERT_NE(help, nullptr);
  QGroupBox* frame = Frame("Frame6");
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());
  for (const char* c : kCategoryButtons) EXPECT_EQ(ButtonColor(c), kGrey);

  // Clicked in turn on one window: each click replaces every label of the one before.
  const auto& categories = help::PageReferenceCategories();
  for (size_t i = 0; i < std::size(kCategoryButtons); ++i) {
    SCOPED_TRACE(kCategoryButtons[i]);
    Button(kCategoryButtons[i])->click();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title().toStdU16String(), help::LabelText(categories[i].frameCaption));
    for (int k = 0; k < 7; ++k) {
      SCOPED_TRACE(k + 1);
      auto* label = help->findChild<QLabel*>(QStringLiteral("Label%1").arg(k + 1));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->parentWidget(), frame);
      EXPECT_EQ(label->text().toStdU16String(),
                help::LabelText(categories[i].topics[static_cast<size_t>(k)]));
    }
    for (const char* other : kCategoryButtons)
      EXPECT_EQ(ButtonColor(other), other == kCategoryButtons[i] ? kLightYellow : kGrey);
  }
  EXPECT_EQ(LoadedHelpWindow(), help);

  // Help menu again: the same window, the chosen category still shown.
  ShowHelpWindow(nullptr);
  EXPECT_EQ(LoadedHelpWindow(), help);
  EXPECT_TRUE(frame->isVisible());

  // Packed colours: red in the low byte, blue in the high byte.
  help->ButtonColors({0x0000FF, 0x00FF00, 0xFF0000, 0x102030, 0, 0xFFFFFF});
  const QColor colours[] = {QColor(255, 0, 0),        QColor(0, 255, 0), QColor(0, 0, 255),
                            QColor(0x30, 0x20, 0x10), QColor(0, 0, 0),   QColor(255, 255, 255)};
  for (size_t i = 0; i < std::size(kCategoryButtons); ++i)
    EXPECT_EQ(ButtonColor(kCategoryButtons[i]), colours[i]) << kCategoryButtons[i];
}

TEST_F(HelpWindowsTest, ReopeningStartsWithTheIndexHiddenAndGrey) {
  // Each road that closes the help window: Exit Help, and opening a page.
  for (const char* closer : {"cmdExitHelp", "cmdHelpPlot"}) {
    SCOPED_TRACE(closer);
    ShowHelpWindow(nullptr);
    Button("Command5")->click();
    ASSERT_TRUE(Frame("Frame6")->isVisible());
    Button(closer)->click();
    EXPECT_EQ(LoadedHelpWindow(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ShowHelpWindow(nullptr);
    ASSERT_NE(LoadedHelpWindow(), nullptr);
    EXPECT_FALSE(Frame("Frame6")->isVisible());
    EXPECT_EQ(ButtonColor("Command5"), kGrey);
    ReleaseHelpWindows();
  }
}

}  // namespace
}  // namespace ms::testing
