// The help window and the help pages. Every test starts and ends with no help window loaded and
// the scripted screen installed (it records every placement request).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "commands/ProgramState.h"
#include "commands/SceneBuild.h"
#include "commands/WorksheetRun.h"
#include "help/HelpPage.h"
#include "help/HelpText.h"
#include "help/HelpWindow.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "platform/ui/ScriptedUiServices.h"

namespace ms::testing {
namespace {

void ReleaseHelpWindows() {
  UnloadHelpPages();
  if (HelpWindow* help = LoadedHelpWindow()) help->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

QPushButton* Button(QWidget* window, const QString& name) {
  return window ? window->findChild<QPushButton*>(name) : nullptr;
}

// The Exit button of a help page: the one button captioned "Exit".
QPushButton* ExitButton(QWidget* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) {
    if (b->text() == QStringLiteral("Exit")) return b;
  }
  return nullptr;
}

class HelpWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseHelpWindows();
    ui::SetUi(&screen_);
  }
  void TearDown() override {
    ReleaseHelpWindows();
    ui::SetUi(nullptr);
  }

  ui::ScriptedUiServices screen_;
};

// Every complete statement a page shows stands on its page as a whole line (alone, or followed by
// an explanation after blanks) and works as the page says: Execute accepts it in a worksheet with
// the definitions it names, and the picture build runs the command it requests without refusing.
TEST_F(HelpWindowsTest, EveryListedExampleIsShownOnItsPageAndWorks) {
  ASSERT_FALSE(help::HelpExamples().empty());
  for (const help::HelpExample& example : help::HelpExamples()) {
    const rt::Text statement(example.statement);
    SCOPED_TRACE("page " + std::to_string(example.page) + ": " + rt::ToUtf8(statement));
    HelpPage* page = ShowHelpPage(example.page, nullptr);
    ASSERT_NE(page, nullptr);
    const QString shown = QString::fromStdU16String(statement);
    bool found = false;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
      const QString line = label->text().trimmed();
      found = found || line == shown || line.startsWith(shown + QStringLiteral("  "));
    }
    EXPECT_TRUE(found);
    ResetProgramState();
    screen_.Reset();
    const ExecuteOutcome run = RunExecute(rt::Text(example.setup) + statement + u"\r\n", {});
    EXPECT_EQ(run.msgNo, 0) << rt::ToUtf8(run.stmtText);
    if (run.msgNo != 0 || !AnyCommandRequested(true)) continue;
    RunFlags.Replot = 0;
    for (const SceneStepReport& step : BuildScene(SceneBuildOptions{}, {}).steps)
      EXPECT_NE(step.end, StepEnd::kMessage) << step.msgNo;
    // A command may show an informational box (a limit reached); none may be an error box.
    for (const auto& box : screen_.boxes) EXPECT_NE(box.title, u"Syntax Error");
  }
}

// What the pages say of reading and printing stands on them, and the program does it: a last line
// without a line break is read (its constant is defined), and the groupings page tells that [ ]
// and { } may print as ( ); no page says that such a last line is left unread.
TEST_F(HelpWindowsTest, PagesSayWhatTheProgramDoes) {
  const struct {
    const char16_t* window;
    const char16_t* line;
  } said[] = {
      {u"XfrmConst", u"End each line with Enter; the last line is read even without a line break."},
      {u"XfrmGroup",
       u"For printing only, Display Options may turn [ ] and { } of the title into ( )."},
  };
  for (const auto& s : said) {
    SCOPED_TRACE(rt::ToUtf8(s.window));
    int page = -1;
    for (int i = 0; i < help::kHelpPageCount; ++i)
      if (help::HelpPages()[i].window == s.window) page = i;
    ASSERT_GE(page, 0);
    HelpPage* shown = ShowHelpPage(page, nullptr);
    ASSERT_NE(shown, nullptr);
    bool found = false;
    for (const QLabel* label : shown->findChildren<QLabel*>())
      found = found || label->text() == QString::fromUtf16(s.line);
    EXPECT_TRUE(found);
  }
  for (const help::HelpPageText& p : help::HelpPages()) {
    for (const help::HelpFrameText& f : p.frames)
      EXPECT_EQ(f.lines.find(u"line break is not read"), std::u16string_view::npos);
  }
  ResetProgramState();
  screen_.Reset();
  const ExecuteOutcome run = RunExecute(u"a=1\r\nb=2", {});
  EXPECT_EQ(run.msgNo, 0);
  EXPECT_EQ(Tables.ConstCount, 2);
}

TEST_F(HelpWindowsTest, LeftDragMovesThePageByTheDistanceMovedOtherButtonsDoNot) {
  HelpPage* page = ShowHelpPage(1, nullptr);
  // Presses at `press`, moves to `to` with the same button held and releases; the page's move.
  const auto drag = [page](QPointF press, QPointF to, Qt::MouseButton button) {
    page->move(200, 150);
    SendMouse(page, QEvent::MouseButtonPress, press, button, button);
    SendMouse(page, QEvent::MouseMove, to, Qt::NoButton, button);
    SendMouse(page, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    return page->pos() - QPoint(200, 150);
  };
  EXPECT_EQ(drag({10.4, 9.6}, {20.6, 20.4}, Qt::LeftButton), QPoint(11, 10));  // rounded
  EXPECT_EQ(drag({10, 10}, {40, 25}, Qt::RightButton), QPoint(0, 0));
  EXPECT_EQ(drag({10, 10}, {std::nan(""), 10}, Qt::LeftButton), QPoint(-10, 0));  // NaN: 0
  // Dragging on the text moves the page too.
  page->move(300, 300);
  QLabel* text = page->findChildren<QLabel*>().first();
  SendMouse(text, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(text, QEvent::MouseMove, {25, 0}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(page->pos(), QPoint(320, 295));
}

TEST_F(HelpWindowsTest, PagesArePlacedOnceAndExitOnOnePageLeavesTheOthersOpen) {
  for (int index : {0, 3, 9, 17}) ASSERT_NE(ShowHelpPage(index, nullptr), nullptr);
  ASSERT_EQ(screen_.topmost.size(), 4u);
  // The button of an open page shows it again where the user left it, not placed anew.
  LoadedHelpPage(3)->move(120, 80);
  EXPECT_EQ(ShowHelpPage(3, nullptr), LoadedHelpPage(3));
  EXPECT_EQ(screen_.topmost.size(), 4u);
  EXPECT_EQ(LoadedHelpPage(3)->pos(), QPoint(120, 80));
  HelpPage* closing = LoadedHelpPage(9);
  ExitButton(closing)->click();
  EXPECT_EQ(LoadedHelpPage(9), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (int index : {0, 3, 17}) EXPECT_TRUE(LoadedHelpPage(index)->isVisible()) << index;
}

// Each page button opens its page, and only that, and closes the help window. Every page shows
// plain text (so "<x = constant>" and "&&" are not read as markup).
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
    ASSERT_NE(Button(help, buttons[index]), nullptr);
    Button(help, buttons[index])->click();
    EXPECT_EQ(LoadedHelpWindow(), nullptr);
    for (int page = 0; page < help::kHelpPageCount; ++page)
      EXPECT_EQ(LoadedHelpPage(page) != nullptr, page == index) << page;
    HelpPage* page = LoadedHelpPage(index);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->parentWidget(), &worksheet);
    for (const QLabel* label : page->findChildren<QLabel*>())
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
    ReleaseHelpWindows();
  }
  for (int index : {-1, help::kHelpPageCount, std::numeric_limits<int>::min()}) {
    EXPECT_EQ(ShowHelpPage(index, nullptr), nullptr) << index;
    EXPECT_EQ(LoadedHelpPage(index), nullptr) << index;
  }
}

// Each category button fills the topic frame with its own category and is the one marked; the
// window opened again (after Exit Help) starts with the frame hidden.
TEST_F(HelpWindowsTest, CategoryButtonsFillTheFrameWithTheirCategory) {
  const char* const categoryButtons[] = {"Command1", "Command2", "Command3",
                                         "Command4", "Command5", "Command6"};
  ShowHelpWindow(nullptr);
  HelpWindow* help = LoadedHelpWindow();
  auto* frame = help->findChild<QGroupBox*>(QStringLiteral("Frame6"));
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isVisible());
  const auto& categories = help::PageReferenceCategories();
  for (size_t i = 0; i < std::size(categoryButtons); ++i) {
    SCOPED_TRACE(categoryButtons[i]);
    Button(help, categoryButtons[i])->click();
    EXPECT_TRUE(frame->isVisible());
    // The button clicked is light yellow, the others grey.
    for (size_t b = 0; b < std::size(categoryButtons); ++b) {
      EXPECT_EQ(Button(help, categoryButtons[b])->palette().color(QPalette::Button),
                b == i ? QColor(255, 255, 192) : QColor(224, 224, 224))
          << categoryButtons[b];
    }
    EXPECT_EQ(frame->title().toStdU16String(), help::LabelText(categories[i].frameCaption));
    for (int k = 0; k < help::kTopicLabelCount; ++k) {
      auto* label = frame->findChild<QLabel*>(QStringLiteral("Label%1").arg(k + 1));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text().toStdU16String(), help::LabelText(categories[i].topics[k])) << k;
    }
  }
  // After Exit Help a new window.
  Button(help, "cmdExitHelp")->click();
  EXPECT_EQ(LoadedHelpWindow(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ShowHelpWindow(nullptr);
  ASSERT_NE(LoadedHelpWindow(), nullptr);
  EXPECT_FALSE(LoadedHelpWindow()->findChild<QGroupBox*>(QStringLiteral("Frame6"))->isVisible());
}

}  // namespace
}  // namespace ms::testing
