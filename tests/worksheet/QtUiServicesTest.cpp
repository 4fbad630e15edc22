// The Qt side of the screen services, run offscreen: boxes answered by pressing their buttons,
// progress bars, the busy pointer, the clipboard and dialog filters.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>

#include "platform/ui/QtUiServices.h"

namespace {

TEST(QtUiServicesWindow, BoxAnswersAreTheButtonsPressed) {
  const struct {
    int style;
    QMessageBox::StandardButton press;
    int answer;
  } cases[] = {
      {ui::kStop, QMessageBox::Ok, ui::kAnswerOk},
      {ui::kYesNoCancelExclamation, QMessageBox::Yes, ui::kAnswerYes},
  };
  ui::QtUiServices services;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    QString text;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      text = box->windowTitle() + "|" + box->text();
      if (QAbstractButton* b = box->button(c.press)) b->click();
    });
    EXPECT_EQ(services.MsgBox(u"line one\r\nline two", c.style, u"Title"), c.answer);
    EXPECT_EQ(text, QStringLiteral("Title|line one\nline two"));
  }
}

// A bar fed faster than it is drawn shows the first value at once and the latest one once the
// event loop has run; no value is lost, fractions are held to the bar's range.
TEST(QtUiServicesWindow, ProgressShowsTheLatestValue) {
  ui::QtUiServices services;
  QProgressBar bar;
  bar.show();
  services.RegisterProgressBar(u"bar", &bar);
  services.ShowProgress(u"bar", 0.25);
  EXPECT_EQ(bar.value(), 250);
  for (const double f : {0.5, 2.0, 0.75}) services.ShowProgress(u"bar", f);
  QElapsedTimer waited;
  waited.start();
  while (bar.value() != 750 && waited.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_EQ(bar.value(), 750);
  services.ShowProgress(u"bar", -1.0);  // later than the interval: drawn at once
  while (bar.value() != 0 && waited.elapsed() < 4000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_EQ(bar.value(), 0);
}

TEST(QtUiServicesWindow, BusyPointerAndClipboard) {
  ui::QtUiServices services;
  services.ShowProgress(u"no such bar", 0.5);  // ignored

  {
    ui::QtUiServices busy;
    busy.SetBusy(true);
    busy.SetBusy(true);
    busy.SetBusy(false);  // a state, not a count
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    busy.SetBusy(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // released with the services

  services.SetClipboardText(u"a=1\r\nb=2");
  EXPECT_EQ(services.ClipboardText(), u"a=1\r\nb=2");
  const uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  services.SetClipboardPicture(pixels, 2, 2);
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.size(), QSize(2, 2));
  EXPECT_EQ(image.pixel(0, 1), 0xFF0000FFu);
  services.SetClipboardPicture(nullptr, 2, 2);  // nothing to copy: ignored
}

TEST(QtUiServices, FileFilters) {
  const struct {
    std::u16string in;
    const char* out;
  } cases[] = {
      {u"Text Documents (*.txt)|*.txt", "Text Documents (*.txt)"},
      {u"Text|*.txt|All|*.*", "Text (*.txt);;All (*.*)"},
      {u"Pictures|*.bmp;*.png", "Pictures (*.bmp *.png)"},
      {u"Anything", "Anything (*)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(ui::QtFileFilter(c.in), QString::fromLatin1(c.out));
  }
}

}  // namespace
