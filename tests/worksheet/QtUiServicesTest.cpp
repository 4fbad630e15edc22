// The Qt side of the screen services, run offscreen: boxes answered by pressing their buttons,
// window placement, progress bars, the busy pointer and the clipboard.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "platform/ui/QtUiServices.h"
#include "worksheet/frmCalcInput.h"

namespace {

// Presses the button of the standard kind in the next message box that opens.
void PressWhenShown(QMessageBox::StandardButton which, QString* seenTitle, QString* seenText) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    *seenTitle = box->windowTitle();
    *seenText = box->text();
    if (QAbstractButton* b = box->button(which)) {
      b->click();
    } else {
      box->reject();
    }
  });
}

TEST(QtUiServicesWindow, BoxAnswers) {
  struct Case {
    int style;
    QMessageBox::StandardButton press;
    int answer;
  } cases[] = {
      {ui::kOkOnly, QMessageBox::Ok, ui::kAnswerOk},
      {ui::kStop, QMessageBox::Ok, ui::kAnswerOk},
      {ui::kExclamation, QMessageBox::Ok, ui::kAnswerOk},
      {ui::kYesNoCancelExclamation, QMessageBox::Yes, ui::kAnswerYes},
      {ui::kYesNoCancelExclamation, QMessageBox::No, ui::kAnswerNo},
      {ui::kYesNoCancelExclamation, QMessageBox::Cancel, ui::kAnswerCancel},
  };
  ui::QtUiServices services;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << " " << c.answer);
    QString title, text;
    PressWhenShown(c.press, &title, &text);
    EXPECT_EQ(services.MsgBox(u"line one\r\nline two", c.style, u"Title"), c.answer);
    EXPECT_EQ(title, QStringLiteral("Title"));
    EXPECT_EQ(text, QStringLiteral("line one\nline two"));
  }
}

TEST(QtUiServicesWindow, TopmostAtTheScreenOriginKeepsTheSize) {
  ui::QtUiServices services;
  QWidget w;
  w.resize(321, 123);
  w.move(200, 150);
  w.show();
  services.MakeTopmostAtOrigin(&w);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.size(), QSize(321, 123));
  EXPECT_EQ(w.pos(), w.screen()->availableGeometry().topLeft());
  services.MakeTopmostAtOrigin(nullptr);  // nothing to place: nothing happens
}

TEST(QtUiServicesWindow, ProgressBarsByName) {
  ui::QtUiServices services;
  auto* bar = new QProgressBar;
  services.RegisterProgressBar(u"picProgressBar", bar);
  struct Case {
    double fraction;
    int value;
  } cases[] = {{0.5, 500}, {0, 0}, {1, 1000}, {1.5, 1000}, {-2, 0}, {std::nan(""), 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fraction);
    services.ShowProgress(u"picProgressBar", c.fraction);
    EXPECT_EQ(bar->value(), c.value);
  }
  services.ShowProgress(u"unknown", 0.5);  // no such bar: ignored
  delete bar;
  services.ShowProgress(u"picProgressBar", 0.5);  // a bar that is gone: ignored
}

TEST(QtUiServicesWindow, BusyPointerIsAStateNotACount) {
  {
    ui::QtUiServices services;
    services.SetBusy(true);
    services.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    services.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    services.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    services.SetBusy(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // released with the services
}

TEST(QtUiServicesWindow, Clipboard) {
  ui::QtUiServices services;
  services.SetClipboardText(u"a=1\r\nb=2");
  EXPECT_EQ(services.ClipboardText(), u"a=1\r\nb=2");
  const uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  services.SetClipboardPicture(pixels, 2, 2);
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.size(), QSize(2, 2));
  EXPECT_EQ(image.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(image.pixel(0, 1), 0xFF0000FFu);
  services.SetClipboardPicture(nullptr, 2, 2);  // nothing to copy: ignored
  services.SetClipboardPicture(pixels, 0, 2);
}

}  // namespace

namespace {

// The program as main() runs it: the Qt services installed, the worksheet window shown, the event
// loop running; closing the unchanged worksheet ends the loop.
TEST(QtUiServicesWindow, ProgramStartsUntitledAndClosesCleanly) {
  ui::QtUiServices services;
  ui::SetUi(&services);
  {
    ws::frmCalcInput window;
    window.show();
    EXPECT_EQ(window.Caption(), QStringLiteral("Untitled"));
    QString captionWhileRunning;
    QTimer::singleShot(0, &window, [&] {
      captionWhileRunning = window.Caption();
      window.close();
    });
    QElapsedTimer clock;
    clock.start();
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, qApp, &QCoreApplication::quit);
    safety.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_LT(clock.elapsed(), 5000);  // ended by the close, not by the safety timer
    EXPECT_EQ(captionWhileRunning, QStringLiteral("Untitled"));
    EXPECT_FALSE(window.isVisible());
  }
  ui::SetUi(nullptr);
}

}  // namespace
