#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <cmath>
#include <limits>

#include "HelpTestSupport.h"
#include "help/HelpPage.h"
#include "help/HelpText.h"

namespace ms::testing {
namespace {

QString FromU16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(HelpWindowsTest, EveryPageIsItsOwnFramelessWindowWithExitAndReferenceLast) {
  for (int index = 0; index < help::kHelpPageCount; ++index) {
    SCOPED_TRACE(index);
    HelpPage* page = ShowHelpPage(index, nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(page->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(ExitButton(page), nullptr);
    const QList<QLabel*> labels = page->findChildren<QLabel*>();
    ASSERT_GE(labels.size(), 2);
    EXPECT_TRUE(labels.last()->text().contains(QStringLiteral(" Page")));
    // Shown text is plain: "<x = constant>" and "&&" must not be read as markup.
    for (const QLabel* label : labels) EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }
  // "&&" in the stored text is shown as one "&".
  EXPECT_EQ(ShowHelpPage(4, nullptr)->findChildren<QLabel*>().last()->text(),
            QStringLiteral("See Pages 21 & 22 in the document."));
  for (int index : {-1, help::kHelpPageCount, std::numeric_limits<int>::min()}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(ShowHelpPage(index, nullptr), nullptr);
    EXPECT_EQ(LoadedHelpPage(index), nullptr);
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
      {"left drag", Qt::LeftButton, {50, 40}, Qt::LeftButton, {20, 55}, {-30, 15}},
      {"positions rounded", Qt::LeftButton, {10.4, 9.6}, Qt::LeftButton, {20.6, 20.4}, {11, 10}},
      {"right drag", Qt::RightButton, {10, 10}, Qt::RightButton, {40, 25}, {0, 0}},
      {"left press, right held", Qt::LeftButton, {10, 10}, Qt::RightButton, {40, 25}, {0, 0}},
      {"no button", Qt::LeftButton, {10, 10}, Qt::NoButton, {40, 25}, {0, 0}},
      {"not a number", Qt::LeftButton, {10, 10}, Qt::LeftButton, {nan, 10}, {-10, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HelpPage* page = ShowHelpPage(0, nullptr);
    ASSERT_NE(page, nullptr);
    page->move(200, 150);
    SendMouse(page, QEvent::MouseButtonPress, c.press, c.pressed, c.pressed);
    SendMouse(page, QEvent::MouseMove, c.to, Qt::NoButton, c.held);
    EXPECT_EQ(page->pos() - QPoint(200, 150), c.moved);
    SendMouse(page, QEvent::MouseButtonRelease, c.to, c.pressed, Qt::NoButton);
    ReleaseHelpWindows();
  }
  // A right press does not move the origin of the left drag.
  HelpPage* page = ShowHelpPage(1, nullptr);
  page->move(300, 300);
  const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;
  SendMouse(page, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(page, QEvent::MouseButtonPress, {90, 90}, Qt::RightButton, both);
  SendMouse(page, QEvent::MouseMove, {15, 12}, Qt::NoButton, both);
  EXPECT_EQ(page->pos(), QPoint(305, 302));
  // Dragging on the text moves the page too.
  QLabel* text = page->findChildren<QLabel*>().first();
  SendMouse(text, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(text, QEvent::MouseMove, {25, 0}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(page->pos(), QPoint(325, 297));
}

TEST_F(HelpWindowsTest, PagesArePlacedOnceAndExitOnOnePageLeavesTheOthersOpen) {
  const int open[] = {0, 3, 9, 17};
  for (int index : open) ASSERT_NE(ShowHelpPage(index, nullptr), nullptr);
  ASSERT_EQ(screen_.topmost.size(), 4u);
  EXPECT_EQ(screen_.topmost[1], static_cast<QWidget*>(LoadedHelpPage(3)));
  // The button of an open page shows it again where the user left it, not placed anew.
  LoadedHelpPage(3)->move(120, 80);
  EXPECT_EQ(ShowHelpPage(3, nullptr), LoadedHelpPage(3));
  EXPECT_EQ(screen_.topmost.size(), 4u);
  EXPECT_EQ(LoadedHelpPage(3)->pos(), QPoint(120, 80));
  HelpPage* closing = LoadedHelpPage(9);
  ExitButton(closing)->click();
  EXPECT_EQ(LoadedHelpPage(9), nullptr);
  EXPECT_FALSE(closing->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (int index : {0, 3, 17}) {
    SCOPED_TRACE(index);
    ASSERT_NE(LoadedHelpPage(index), nullptr);
    EXPECT_TRUE(LoadedHelpPage(index)->isVisible());
  }
  // Pressing its button again loads it anew, placed again.
  const size_t placedBefore = screen_.topmost.size();
  EXPECT_NE(ShowHelpPage(9, nullptr), nullptr);
  EXPECT_EQ(screen_.topmost.size(), placedBefore + 1);
}

}  // namespace
}  // namespace ms::testing
