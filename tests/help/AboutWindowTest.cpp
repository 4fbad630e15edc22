#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "help/AboutWindow.h"

namespace ms {
namespace {

// Closes any modal window left open after `ms` milliseconds, so that a fault cannot hang the run.
void ArmSafetyNet(int ms, bool* fired) {
  QTimer::singleShot(ms, [fired] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      *fired = true;
      modal->close();
    }
  });
}

TEST(AboutWindow, IsModalAndReturnsOnlyWhenExitIsClicked) {
  bool clicked = false;
  bool safetyFired = false;
  QWidget worksheet;
  worksheet.show();
  QTimer::singleShot(0, [&] {
    AboutWindow* about = LoadedAboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), about);
    EXPECT_EQ(about->parentWidget(), &worksheet);
    auto* exit = about->findChild<QPushButton*>(QStringLiteral("cmdAbout"));
    ASSERT_NE(exit, nullptr);
    clicked = true;
    exit->click();
  });
  ArmSafetyNet(10000, &safetyFired);
  ShowAboutWindow(&worksheet);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(safetyFired);
  EXPECT_EQ(LoadedAboutWindow(), nullptr);
  EXPECT_TRUE(worksheet.findChildren<AboutWindow*>().isEmpty());
}

TEST(AboutWindow, SurvivesItsParentGoingAwayWhileShown) {
  bool safetyFired = false;
  auto* worksheet = new QWidget;
  worksheet->show();
  QTimer::singleShot(0, [worksheet] { delete worksheet; });
  ArmSafetyNet(10000, &safetyFired);
  ShowAboutWindow(worksheet);
  EXPECT_FALSE(safetyFired);
  EXPECT_EQ(LoadedAboutWindow(), nullptr);
}

}  // namespace
}  // namespace ms
