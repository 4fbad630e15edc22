// A worksheet window over scripted dialogs and boxes, with a temporary folder for its files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "graph/GraphWindow.h"
#include "platform/ui/ScriptedUiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace ws::testing {

inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

class WorksheetWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetUi(&services);
    window = std::make_unique<WorksheetWindow>();
  }
  void TearDown() override {
    delete gr::GraphWindow::Instance();  // a graph a command opened
    window.reset();
    ui::SetUi(nullptr);
  }

  ui::ScriptedUiServices services;
  std::unique_ptr<WorksheetWindow> window;
  QTemporaryDir dir;
};

}  // namespace ws::testing
