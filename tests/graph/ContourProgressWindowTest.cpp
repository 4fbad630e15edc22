// The contour progress window with the graph window around it: a worksheet with a contour
// command is executed, the graph window builds its picture and the contour command traces with
// the real progress window. Esc arrives while tracing lets events run (the abort itself, by button
// or key, is checked in the core's contour tests).
#include <QLabel>
#include <QPushButton>

#include "GraphTestSupport.h"
#include "commands/WorksheetRun.h"
#include "graph/ContourProgressWindow.h"

namespace gr::testing {
namespace {

class ContourWindowTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    gr::UnloadContourWindow();
    gr::InstallContourWindow();
  }
  void TearDown() override {
    ui_.onDoEvents = nullptr;
    ReleaseGraphWindow();
    gr::UnloadContourWindow();
    ms::SetContourWindowHost(nullptr);
    ms::ResetContourState();
    GraphTest::TearDown();
  }
};

// While tracing a close by the platform is refused; Esc (a key in the graph window) is noticed at
// the next poll, nothing of the run reaches the scene or the legend, and every control is handed
// back. Exit to Graph (or the close) then hides the window and makes the worksheet usable again;
// Return unloads the window.
TEST_F(ContourWindowTest, EscStopsTracingAtTheNextPollAndTheControlsComeBack) {
  ws::WorksheetWindow& sheet = Sheet();  // made first: its load resets the state
  rt::Text text = u"F{x,y} = x^2 + y^2\r\nPlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]\r\n", stmt;
  ms::ClearAll();
  ms::ClearRequestsForExecute();
  ASSERT_EQ(ms::ProcessWorksheet(text, stmt), 0);
  ms::Contours.ContourLegendCount = 9;
  sheet.setEnabled(false);
  int polls = 0, pollsAfterStop = -1;
  ui_.onDoEvents = [&] {
    if (!ms::ContourWindow.Tracing && pollsAfterStop < 0) return;  // not tracing
    ASSERT_NE(gr::ContourProgressWindow::Instance(), nullptr);
    EXPECT_FALSE(gr::ContourProgressWindow::Instance()->close());
    if (pollsAfterStop >= 0) ++pollsAfterStop;
    if (++polls == 30) {
      pollsAfterStop = 0;
      KeyClick(GraphWindow::Instance(), Qt::Key_Escape);
    }
  };
  GraphWindow& graph = Load();
  ui_.onDoEvents = nullptr;
  gr::ContourProgressWindow* w = gr::ContourProgressWindow::Instance();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(pollsAfterStop >= 0 && pollsAfterStop <= 2) << pollsAfterStop;
  for (int s = 0; s < ms::Scene.SegmentCount; ++s)
    EXPECT_NE(ms::Scene.SegmentTable[s][ms::kSegKind], ms::kSegOrdinary) << s;
  EXPECT_EQ(ms::Contours.ContourLegendCount, 9);  // the old legend stays
  EXPECT_TRUE(w->cmdExit->isEnabled() && graph.cmdReturn->isEnabled());
  w->close();  // after tracing it acts as Exit
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(sheet.isEnabled());
  graph.cmdReturn->click();
  EXPECT_EQ(gr::ContourProgressWindow::Instance(), nullptr);
}

// What the window shows of a run: the quadrant whose branch started lights alone, in green; while
// tracing only Abort is offered, once finished only "Exit to Graph".
TEST_F(ContourWindowTest, QuadrantsAndButtonsMirrorTheRun) {
  gr::ContourProgressWindow& w = gr::ContourProgressWindow::Load();
  struct Case {
    int quadrant;  // 0: none reached
    bool tracing, finished;
  };
  const Case cases[] = {{0, true, false}, {1, true, false}, {2, true, false},
                        {3, true, false}, {4, false, true}, {0, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.quadrant << c.tracing << c.finished);
    ms::ContourWindow.QuadrantReached = {};
    if (c.quadrant != 0) ms::ContourWindow.QuadrantReached[static_cast<size_t>(c.quadrant)] = true;
    ms::ContourWindow.Tracing = c.tracing;
    ms::ContourWindow.Finished = c.finished;
    w.Mirror();
    for (int q = 1; q <= 4; ++q) {
      const QLabel* label = w.lblQ[static_cast<size_t>(q - 1)];
      const bool lit = label->autoFillBackground() &&
                       label->palette().color(QPalette::Window) == QColor(0, 255, 0);
      EXPECT_EQ(lit, q == c.quadrant) << "quadrant " << q;
    }
    EXPECT_EQ(w.cmdAbort->isEnabled(), c.tracing);
    EXPECT_EQ(w.cmdExit->isEnabled(), c.finished);
  }
}

// Tracing refreshes the window after every segment; the labels are redrawn from the state only
// now and then, and the state at the end of the run is the one shown.
TEST_F(ContourWindowTest, TracingRedrawsTheLabelsSeldomAndEndsShowingTheFinalState) {
  Run("F{x,y} = x^2+y^2\nPlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]\n");
  const gr::ContourProgressWindow* w = gr::ContourProgressWindow::Instance();
  ASSERT_NE(w, nullptr);
  const ms::ContourWindowData& state = ms::ContourWindow;
  ASSERT_TRUE(state.Segments.has_value() && state.Level.has_value());
  const int segments = *state.Segments;
  EXPECT_GT(segments, 400);
  // Once per 16 refreshes at the most, besides the few changes shown at once (start, end, the
  // four quadrants, the load).
  EXPECT_LE(w->MirrorCount(), segments / 16 + 10);
  EXPECT_EQ(w->lblSegCt->text(), QString::number(segments));
  EXPECT_EQ(w->lblLevel->text().toDouble(), *state.Level);
  EXPECT_EQ(w->lblMaxCt->text(), QStringLiteral("4"));
  EXPECT_TRUE(w->cmdExit->isEnabled());
  EXPECT_FALSE(w->cmdAbort->isEnabled());
}

// Every caption and value is readable: each label and button gets at least the size its text
// asks for, no two labels overlap and each lies within its frame, at the default font and at
// twice its size, with the widest values tracing writes.
TEST_F(ContourWindowTest, EveryLabelAndValueHasTheRoomItsTextNeeds) {
  gr::ContourProgressWindow& w = gr::ContourProgressWindow::Load();
  ms::ContourWindowData& state = ms::ContourWindow;
  state.Level = -123.456789;
  state.LastLevel = -1234.5;
  state.LevelStep = -0.25;
  state.Segments = 15000;
  state.Tracing = true;
  w.Mirror();
  const QFont base = w.font();
  for (const double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * scale);
    w.setFont(font);
    w.show();
    QCoreApplication::processEvents();
    const QList<QLabel*> labels = w.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 12);
    for (QLabel* label : labels) {
      SCOPED_TRACE(label->objectName().toStdString());
      EXPECT_GE(label->width(), label->sizeHint().width());
      EXPECT_GE(label->height(), label->sizeHint().height());
      EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry()));
      const QRect at(label->mapTo(&w, QPoint(0, 0)), label->size());
      for (QLabel* other : labels) {
        if (other == label) continue;
        const QRect otherAt(other->mapTo(&w, QPoint(0, 0)), other->size());
        EXPECT_FALSE(at.intersects(otherAt)) << other->objectName().toStdString();
      }
    }
    for (QPushButton* button : {w.cmdExit, w.cmdAbort}) {
      EXPECT_GE(button->width(), button->sizeHint().width());
      EXPECT_TRUE(w.rect().contains(button->geometry()));
    }
    // Exit light green, Abort light red.
    EXPECT_EQ(w.cmdExit->palette().color(QPalette::Button), QColor(192, 255, 192));
    EXPECT_EQ(w.cmdAbort->palette().color(QPalette::Button), QColor(255, 192, 192));
  }
}

}  // namespace
}  // namespace gr::testing
