#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "help/HelpText.h"
#include "help/frmAbout.h"

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
  bool seen = false;
  bool clicked = false;
  bool safetyFired = false;
  QWidget worksheet;
  worksheet.show();
  QTimer::singleShot(0, [&] {
    frmAbout* about = LoadedAboutWindow();
    ASSERT_NE(about, nullptr);
    seen = true;
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), about);
    EXPECT_EQ(about->parentWidget(), &worksheet);

    const QList<QLabel*> paragraphs = about->findChildren<QLabel*>();
    EXPECT_EQ(paragraphs.size(), 4);
    bool namesProgram = false;
    for (const QLabel* paragraph : paragraphs) {
      EXPECT_FALSE(paragraph->text().trimmed().isEmpty());
      if (paragraph->text().contains(QStringLiteral("MathSheet"))) namesProgram = true;
    }
    EXPECT_TRUE(namesProgram);

    auto* exit = about->findChild<QPushButton*>(QStringLiteral("cmdAbout"));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QStringLiteral("Exit"));
    clicked = true;
    exit->click();
  });
  ArmSafetyNet(10000, &safetyFired);
  ShowAboutWindow(&worksheet);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(safetyFired);
  EXPECT_EQ(LoadedAboutWindow(), nullptr);
  EXPECT_TRUE(worksheet.findChildren<frmAbout*>().isEmpty());
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

TEST(AboutWindow, ParagraphsFollowTheirRoles) {
  const auto& paragraphs = help::AboutParagraphs();
  // What is new (arrows on vectors, with the tutorial supplement), copying terms, disclaimer
  // with an invitation to report, and where the documentation is.
  const struct {
    size_t index;
    std::u16string_view mustContain;
  } cases[] = {{0, u"arrow"}, {0, u"supplement"}, {1, u"copied"},   {2, u"warranty"},
               {2, u"tell"},  {3, u"previewed"},  {3, u"Tourbook"}, {3, u"help screens"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_NE(paragraphs[c.index].find(c.mustContain), std::u16string_view::npos);
  }
}

}  // namespace
}  // namespace ms
