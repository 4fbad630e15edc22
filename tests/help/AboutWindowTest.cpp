#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "help/AboutWindow.h"

namespace ms {
namespace {

// The About window is modal over the worksheet and ShowAboutWindow returns only when it has
// closed: by its Exit button, or because the worksheet went away while it was shown. A safety net
// closes a window left open after ten seconds, so that a fault cannot hang the run.
TEST(AboutWindow, IsModalAndReturnsWhenExitIsClickedOrItsParentGoesAway) {
  for (const bool deleteParent : {false, true}) {
    SCOPED_TRACE(deleteParent);
    bool closedByTest = false, safetyFired = false;
    auto* worksheet = new QWidget;
    worksheet->show();
    QTimer::singleShot(0, [&] {
      AboutWindow* about = LoadedAboutWindow();
      ASSERT_NE(about, nullptr);
      EXPECT_EQ(QApplication::activeModalWidget(), about);
      closedByTest = true;
      if (deleteParent) {
        delete worksheet;
        worksheet = nullptr;
      } else if (auto* exit = about->findChild<QPushButton*>(QStringLiteral("cmdAbout"))) {
        exit->click();
      }
    });
    QTimer::singleShot(10000, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        safetyFired = true;
        modal->close();
      }
    });
    ShowAboutWindow(worksheet);
    EXPECT_TRUE(closedByTest);
    EXPECT_FALSE(safetyFired);
    EXPECT_EQ(LoadedAboutWindow(), nullptr);
    delete worksheet;
  }
}

}  // namespace
}  // namespace ms
