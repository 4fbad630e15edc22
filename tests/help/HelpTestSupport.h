// Shared by the help window tests: a fixture that starts and ends every test with no help window
// loaded and the scripted screen installed (it records every placement request).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

#include "help/HelpPage.h"
#include "help/HelpWindow.h"
#include "platform/ui/ScriptedUiServices.h"

namespace ms::testing {

inline void ReleaseHelpWindows() {
  UnloadHelpPages();
  if (HelpWindow* help = LoadedHelpWindow()) help->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void SendMouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// The Exit button of a help page: the one button captioned "Exit".
inline QPushButton* ExitButton(QWidget* page) {
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

}  // namespace ms::testing
