// Graph window tests that start from a worksheet: the worksheet window executes it and opens the
// graph window on what it drew; with the widgets and windows these tests reach.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <stdexcept>

#include "GraphTestSupport.h"
#include "graph/AnimationSetupDialog.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/FamilyPlotsDialog.h"

namespace gr::testing {

class SheetGraphTest : public GraphTest {
 protected:
  // The worksheet (lines joined by "\n") executed and drawn (without a message unless one is
  // expected), from a fresh program state, script and graph window.
  GraphWindow& Run(const char* worksheet, bool messageExpected = false) {
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
    EXPECT_TRUE(messageExpected || ui_.boxes.empty());
    if (GraphWindow::Instance() == nullptr) throw std::runtime_error("no graph window");
    return *GraphWindow::Instance();
  }

  rt::Text FirstLine() {
    const rt::Text text = Sheet().WorksheetText();
    return text.substr(0, text.find(u'\r'));
  }
};

}  // namespace gr::testing
