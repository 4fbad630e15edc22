// Shared by the graph window tests: a fixture that starts every test from the program's start-up
// state with scripted message boxes and dialogs and no graph window, runs worksheets through the
// worksheet window into the graph window, and helpers that put known segments into the scene
// store and read them back.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <functional>
#include <memory>
#include <stdexcept>

#include "commands/GraphCommands.h"
#include "commands/ProgramState.h"
#include "graph/AnimationSetupDialog.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/FamilyPlotsDialog.h"
#include "graph/GraphOverlays.h"
#include "graph/GraphProbe.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace gr::testing {

// The table of the build's commands, which tests replace entries of.
using ms::CommandBuilder;
using ms::CommandEntry;
using ms::GraphCommand;
using ms::ResetGraphCommands;

inline void ReleaseGraphWindow() {
  delete GraphWindow::Instance();
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
inline void AddSegment(const ms::Point3& p, const ms::Point3& q, int r, int g, int b) {
  ASSERT_TRUE(ms::AppendSegment(p, q, r, g, b, 0));
  for (const ms::Point3& v : {p, q}) {
    ms::Scene.ViewXMin = std::min(ms::Scene.ViewXMin, v[0]);
    ms::Scene.ViewXMax = std::max(ms::Scene.ViewXMax, v[0]);
    ms::Scene.ViewYMin = std::min(ms::Scene.ViewYMin, v[1]);
    ms::Scene.ViewYMax = std::max(ms::Scene.ViewYMax, v[1]);
    ms::Scene.ViewZMin = std::min(ms::Scene.ViewZMin, v[2]);
    ms::Scene.ViewZMax = std::max(ms::Scene.ViewZMax, v[2]);
  }
}

// A segment row's colour, packed RGB.
inline int32_t RowColour(const ms::SegmentRow& r) {
  return rt::RGB(static_cast<int>(r[ms::kRed]), static_cast<int>(r[ms::kGreen]),
                 static_cast<int>(r[ms::kBlue]));
}

// Both ends of every drawn segment from a row on that is not structure (axes, crosses, box), with
// the segment's colour.
inline void ForCurveEnds(int firstRow, const std::function<void(const ms::Point3&, int32_t)>& f) {
  for (int i = firstRow; i < ms::Scene.SegmentCountD; ++i) {
    const ms::SegmentRow& r = ms::Scene.SegmentTable[i];
    if (r[ms::kSegKind] == ms::kSegStructure) continue;
    for (double row : {r[ms::kStartPoint], r[ms::kEndPoint]})
      f(ms::Scene.VertexXYZ[static_cast<int>(row)], RowColour(r));
  }
}

// A key pressed and released as the platform delivers it: a window passes it to its focus
// control, a control takes the focus first; a key the widget does not take travels on to its
// parents.
inline void SendKey(QWidget* target, int key, const QString& text) {
  if (!target->isWindow()) target->setFocus();
  if (target->isWindow() && target->focusWidget() != nullptr) target = target->focusWidget();
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &event);
  }
}
inline void KeyClick(QWidget* widget, Qt::Key key) {
  SendKey(widget, key, key == Qt::Key_Escape ? QString(QChar(27)) : QString());
}
// A character key, upper and lower case being different keys.
inline void KeyClick(QWidget* widget, char c) {
  const QChar ch = QLatin1Char(c);
  SendKey(widget, ch.isLetter() ? ch.toUpper().unicode() : ch.unicode(), QString(ch));
}

// Drawings counted from here on: the title overlay is laid at the end of every one.
inline int g_draws = 0;
inline void CountDraws() {
  Overlays().placeTitleText = [](draw::DrawTarget&, const OverlayContent&) { ++g_draws; };
  Graph.ShowTitle = -1;
  g_draws = 0;
}

// Anything drawn on a picture that starts white.
inline bool AnyInk(const QImage& img) {
  QImage white(img.size(), img.format());
  white.fill(Qt::white);
  return img != white;
}

inline QStringList FilesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::Files, QDir::Name);
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
  ws::WorksheetWindow& Sheet() {
    if (!sheet_) {
      sheet_ = std::make_unique<ws::WorksheetWindow>(&gr::LoadGraphWindow);
      ResetAllState();
    }
    return *sheet_;
  }

  GraphWindow& Load() { return GraphWindow::Load(); }

  // The worksheet (lines joined by "\n") executed and drawn without a message, from a fresh program
  // state, script and graph window.
  GraphWindow& Run(const char* worksheet) {
    ReleaseGraphWindow();
    ui_.Reset();
    ResetAllState();
    ResetFamilySettings();
    ResetFrameSettings();
    ws::WorksheetWindow& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    EXPECT_TRUE(ui_.boxes.empty());
    if (GraphWindow::Instance() == nullptr) throw std::runtime_error("no graph window");
    return *GraphWindow::Instance();
  }

  // Return in the graph window, then the worksheet replaced, executed and drawn again in the
  // same run of the program, as a user goes on; the script is reset before Graph is pressed.
  GraphWindow* Regraph(const char* worksheet) {
    if (GraphWindow* w = GraphWindow::Instance()) w->cmdReturn_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Sheet().TypeWorksheetText(QString::fromUtf8(worksheet));
    Sheet().cmdCompute_click();
    ui_.Reset();
    Sheet().cmdGraph_click();
    return GraphWindow::Instance();
  }

  // The texts of the message boxes shown since the script was last reset.
  std::vector<rt::Text> Boxes() const {
    std::vector<rt::Text> texts;
    for (const auto& box : ui_.boxes) texts.push_back(box.text);
    return texts;
  }
  // Exactly one message box of the text, or none for nullptr.
  void ExpectBox(const char16_t* text) const {
    EXPECT_EQ(Boxes(), text != nullptr ? std::vector<rt::Text>{text} : std::vector<rt::Text>{});
  }

  rt::Text FirstLine() {
    const rt::Text text = Sheet().WorksheetText();
    return text.substr(0, text.find(u'\r'));
  }

  ui::ScriptedUiServices ui_;
  std::unique_ptr<ws::WorksheetWindow> sheet_;
};

}  // namespace gr::testing
