// Shared by the graph window tests: a fixture that starts every test from the program's start-up
// state with scripted message boxes and dialogs and no graph window, and helpers that put known
// points and segments into the scene store.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <memory>

#include "graph/GraphCommands.h"
#include "graph/GraphOverlays.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "graph/frmGraph.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/ProgramState.h"
#include "language/Settings.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/frmCalcInput.h"

namespace gr::testing {

inline void ReleaseGraphWindow() {
  delete frmGraph::Instance();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void ResetAllState() {
  ms::ResetProgramState();
  ms::ResetFieldTables();
  ms::ResetIvpView();
  ms::ResetBvpState();
  ms::ResetContourState();
  ResetGraphState();
  ResetGraphCommands();
  Overlays() = OverlayTable{};
}

// Appends the segment p -> q in a colour and widens the view box to both ends.
inline void AddSegment(const ms::Point3& p, const ms::Point3& q, int r, int g, int b,
                       double kind = 0) {
  ASSERT_TRUE(ms::AppendSegment(p, q, r, g, b, kind));
  for (const ms::Point3& v : {p, q}) {
    ms::Scene.ViewXMin = std::min(ms::Scene.ViewXMin, v[0]);
    ms::Scene.ViewXMax = std::max(ms::Scene.ViewXMax, v[0]);
    ms::Scene.ViewYMin = std::min(ms::Scene.ViewYMin, v[1]);
    ms::Scene.ViewYMax = std::max(ms::Scene.ViewYMax, v[1]);
    ms::Scene.ViewZMin = std::min(ms::Scene.ViewZMin, v[2]);
    ms::Scene.ViewZMax = std::max(ms::Scene.ViewZMax, v[2]);
  }
}

// Where the platform delivers a key typed while the target has the focus: a window passes it to
// its focus control, a control takes the focus first.
inline QWidget* KeyTarget(QWidget* target) {
  if (target->isWindow()) return target->focusWidget() != nullptr ? target->focusWidget() : target;
  target->setFocus();
  return target;
}

// A key pressed and released on a widget, as the platform delivers it (a key the widget does not
// take travels on to its parents).
inline void KeyClick(QWidget* widget, Qt::Key key) {
  QWidget* target = KeyTarget(widget);
  const QString text = key == Qt::Key_Escape ? QString(QChar(27)) : QString();
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}
// A character key, upper and lower case being different keys.
inline void KeyClick(QWidget* widget, char c) {
  QWidget* target = KeyTarget(widget);
  const QChar ch = QLatin1Char(c);
  const int key = ch.isLetter() ? ch.toUpper().unicode() : ch.unicode();
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
  QApplication::sendEvent(target, &release);
}

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseGraphWindow();
    ui::SetUi(&ui_);
    ResetAllState();
  }
  void TearDown() override {
    ReleaseGraphWindow();
    sheet_.reset();
    ResetGraphCommands();
    Overlays() = OverlayTable{};
    ui::SetUi(nullptr);
  }

  // A worksheet window (its load resets the settings and the view), then the start-up state.
  ws::frmCalcInput& Sheet() {
    if (!sheet_) {
      sheet_ = std::make_unique<ws::frmCalcInput>();
      ResetAllState();
    }
    return *sheet_;
  }

  frmGraph& Load() { return ShowGraphWindow(); }

  ui::ScriptedUiServices ui_;
  std::unique_ptr<ws::frmCalcInput> sheet_;
};

}  // namespace gr::testing
