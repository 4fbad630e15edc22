// The Qt side of the screen services, run offscreen: boxes answered by pressing their buttons,
// progress bars, the clipboard and dialog filters.
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
  const std::pair<int, QMessageBox::StandardButton> cases[] = {
      {ui::kStop, QMessageBox::Ok}, {ui::kYesNoCancelExclamation, QMessageBox::No}};
  const int answers[] = {ui::kAnswerOk, ui::kAnswerNo};
  ui::QtUiServices services;
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    QString text;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      text = box->windowTitle() + "|" + box->text();
      if (QAbstractButton* b = box->button(cases[i].second)) b->click();
    });
    EXPECT_EQ(services.MsgBox(u"line one\r\nline two", cases[i].first, u"Title"), answers[i]);
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
  QElapsedTimer waited;
  waited.start();
  for (const double last : {0.75, -1.0}) {
    for (const double f : {0.5, 2.0, last}) services.ShowProgress(u"bar", f);
    const int expected = last > 0 ? 750 : 0;
    while (bar.value() != expected && waited.elapsed() < 4000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(bar.value(), expected);
  }
  services.ShowProgress(u"no such bar", 0.5);  // ignored
}

TEST(QtUiServicesWindow, Clipboard) {
  ui::QtUiServices services;
  services.SetClipboardText(u"a=1\r\nb=2");
  EXPECT_EQ(services.ClipboardText(), u"a=1\r\nb=2");
  const uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  services.SetClipboardPicture(pixels, 2, 2);
  services.SetClipboardPicture(nullptr, 2, 2);  // nothing to copy: ignored
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.size(), QSize(2, 2));
  EXPECT_EQ(image.pixel(0, 1), 0xFF0000FFu);
}

TEST(QtUiServices, FileFilters) {
  const std::pair<std::u16string, const char*> cases[] = {
      {u"Text Documents (*.txt)|*.txt", "Text Documents (*.txt)"},
      {u"Text|*.txt|All|*.*", "Text (*.txt);;All (*.*)"},
      {u"Pictures|*.bmp;*.png", "Pictures (*.bmp *.png)"},
      {u"Anything", "Anything (*)"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ui::QtFileFilter(in), QString::fromLatin1(out));
}

}  // namespace
