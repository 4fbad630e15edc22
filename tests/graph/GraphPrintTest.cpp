// Printing the graph: the printer's scale (same physical size as on the screen, centred), the
// printer pen of "Fine" and "Medium", the overlays of the printed page in their order, printing
// into a PDF file, the set-up dialog and a printer that cannot be started.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

constexpr double kPi = 3.1415926536;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Overlay calls recorded in order: which overlay and the target it was given.
struct OverlayCall {
  int which;
  const draw::DrawTarget* target;
};
std::vector<OverlayCall> g_calls;

template <int N>
void Record(draw::DrawTarget& t) {
  g_calls.push_back({N, &t});
}

enum Which { kData, kTime, kVal, kValLegend, kWk, kTitle, kLegend };

void InstallRecorders() {
  OverlayTable& o = Overlays();
  o.placeText = &Record<kData>;
  o.placeTimeText = &Record<kTime>;
  o.placeValText = &Record<kVal>;
  o.PlaceLegendText = &Record<kValLegend>;
  o.placeWkText = &Record<kWk>;
  o.placeTitleText = &Record<kTitle>;
  o.PlaceLegend = &Record<kLegend>;
}

// The scene store's rows and counts, to see that printing leaves them alone.
struct SceneCopy {
  std::vector<ms::Point3> view;
  std::vector<ms::SegmentRow> segments;
  double vertices = 0, segmentCount = 0;
};

SceneCopy CopyScene(int rows) {
  SceneCopy c;
  for (int r = 0; r < rows; ++r) {
    c.view.push_back(ms::Scene.ViewXYZ[r]);
    c.segments.push_back(ms::Scene.SegmentTable[r]);
  }
  c.vertices = ms::Scene.VertexCountD;
  c.segmentCount = ms::Scene.SegmentCountD;
  return c;
}

bool SameScene(const SceneCopy& a, const SceneCopy& b) {
  return a.view == b.view && a.segments == b.segments && a.vertices == b.vertices &&
         a.segmentCount == b.segmentCount;
}

// Number of painted pixels in one pixel column, in a window around a row.
int InkRun(const QImage& img, int x, int centreY, int reach) {
  int count = 0;
  for (int y = centreY - reach; y <= centreY + reach; ++y) {
    if (!img.valid(x, y)) continue;
    if ((img.pixel(x, y) | 0xFF000000u) != kWhite) ++count;
  }
  return count;
}

class GraphPrintTest : public GraphTest {
 protected:
  // The plan view (world x to the right, world y up) with one horizontal red segment from
  // (-2, 0, 0) to (2, 0, 0), drawn on the screen.
  frmGraph& LoadWithSegment() {
    frmGraph& w = Load();
    ms::View.RotationAngle = -kPi / 2;
    ms::View.ElevationAngle = 0;
    AddSegment({-2, 0, 0}, {2, 0, 0}, 255, 0, 0);
    ms::StoreSceneCounts();
    w.updateplot();
    return w;
  }
  void TearDown() override {
    g_calls.clear();
    GraphTest::TearDown();
  }
};

TEST_F(GraphPrintTest, PrinterScaleKeepsThePhysicalSizeAndCentresTheSource) {
  struct Case {
    const char* name;
    int sourceW, sourceH;  // pixels of the source
    double left, top, width, height;
    int pageW, pageH;  // pixels of the printer target
    double dpiX, dpiY;
  };
  const Case cases[] = {
      {"graph picture on letter at 600 dpi", 766, 1000, 0, 0, 11500, 15000, 5100, 6600, 600, 600},
      {"graph picture on a small page at 100 dpi", 766, 1000, 0, 0, 11500, 15000, 400, 300, 100,
       100},
      {"shifted user scale, y up", 200, 100, -5, 10, 10, -5, 1700, 2200, 200, 200},
      {"unequal resolutions", 300, 300, 100, 100, 3000, 3000, 1000, 1000, 300, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    draw::DrawTarget source(c.sourceW, c.sourceH);
    source.SetScale(c.left, c.top, c.width, c.height);
    draw::DrawTarget page(c.pageW, c.pageH);
    frmGraph::SetPrinterScale(page, c.dpiX, c.dpiY, source);

    // The centre of the source's scale lands on the centre of the page.
    const double cx = c.left + c.width / 2, cy = c.top + c.height / 2;
    const QPointF centre = page.ToDevice(cx, cy);
    EXPECT_NEAR(centre.x(), c.pageW / 2.0, 1e-6 * c.pageW);
    EXPECT_NEAR(centre.y(), c.pageH / 2.0, 1e-6 * c.pageH);

    // A step in the source's units is as long on paper as on the screen (96 pixels an inch).
    const double dx = c.width / 7, dy = c.height / 5;
    const double screenInchX =
        (source.ToDevice(cx + dx, cy).x() - source.ToDevice(cx, cy).x()) / 96;
    const double screenInchY =
        (source.ToDevice(cx, cy + dy).y() - source.ToDevice(cx, cy).y()) / 96;
    const double paperInchX = (page.ToDevice(cx + dx, cy).x() - centre.x()) / c.dpiX;
    const double paperInchY = (page.ToDevice(cx, cy + dy).y() - centre.y()) / c.dpiY;
    EXPECT_NEAR(paperInchX / screenInchX, 1.0, 1e-9);
    EXPECT_NEAR(paperInchY / screenInchY, 1.0, 1e-9);
  }
}

TEST_F(GraphPrintTest, EachPenPrintsItsWidthWhereTheScreenShowsTheSegment) {
  frmGraph& w = LoadWithSegment();
  const QImage screen = w.Display().Image().copy();
  const int rows = static_cast<int>(ms::Scene.VertexCountD) + 1;
  const SceneCopy before = CopyScene(rows);
  // The segment's middle in Display's units, as the screen drawing left it.
  const ms::SegmentRow& seg = ms::Scene.SegmentTable[0];
  const ms::Point3& a = ms::Scene.ViewXYZ[static_cast<int>(seg[ms::kStartPoint])];
  const ms::Point3& b = ms::Scene.ViewXYZ[static_cast<int>(seg[ms::kEndPoint])];
  const double midX = (a[0] + b[0]) / 2, midY = (a[1] + b[1]) / 2;
  ASSERT_NEAR(a[1], b[1], 1e-6);  // horizontal on the picture

  struct Case {
    const char* name;
    QAction* pen;  // the "Pen" item chosen before printing; null: as loaded
    int width;     // printer pixels
  };
  // Switching the pen between two prints, without a redraw, changes the printed width.
  const Case cases[] = {{"as loaded: medium", nullptr, 6},
                        {"fine", w.mnuFine, 2},
                        {"medium again", w.mnuMedium, 6},
                        {"fine again", w.mnuFine, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.pen != nullptr) c.pen->trigger();
    draw::DrawTarget paper(850, 1100);  // a letter page at 100 dpi
    w.PrintGraph(paper, 100, 100);
    const QPointF mid = paper.ToDevice(midX, midY);
    const int x = static_cast<int>(mid.x()), y = static_cast<int>(mid.y());
    EXPECT_EQ(InkRun(paper.Image(), x, y, 20), c.width);
    bool red = false;
    for (int dy = -4; dy <= 4; ++dy)
      red |= (paper.Image().pixel(x, y + dy) | 0xFF000000u) == 0xFFFF0000u;
    EXPECT_TRUE(red);
    // Between segments and at the end the printer pen is back at 4.
    EXPECT_EQ(Graph.PrinterDrawWidth, 4);
    EXPECT_EQ(paper.DrawWidth, 4);
    // The screen picture and the scene are as they were.
    EXPECT_TRUE(w.Display().Image() == screen);
    EXPECT_TRUE(SameScene(CopyScene(rows), before));
  }
  // The screen's own drawing keeps its one-pixel lines.
  w.updateplot();
  const QPointF sm = w.Display().ToDevice(midX, midY);
  EXPECT_EQ(InkRun(w.Display().Image(), static_cast<int>(sm.x()), static_cast<int>(sm.y()), 10), 1);
}

// Centre of the red pixels of a picture (the test segment), or (-1, -1) when there are none.
QPointF RedCentre(const QImage& img) {
  double sx = 0, sy = 0;
  long n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if ((img.pixel(x, y) | 0xFF000000u) == 0xFFFF0000u) {
        sx += x;
        sy += y;
        ++n;
      }
    }
  }
  return n == 0 ? QPointF(-1, -1) : QPointF(sx / n, sy / n);
}

TEST_F(GraphPrintTest, PositionScrollBarsMoveThePrintedImageByTheirChange) {
  frmGraph& w = LoadWithSegment();
  constexpr double kDpi = 100;
  const auto printed = [&] {
    draw::DrawTarget paper(850, 1100);
    w.PrintGraph(paper, kDpi, kDpi);
    return RedCentre(paper.Image());
  };
  struct Case {
    const char* name;
    int right, up;  // change of the Horizontal and Vertical scroll bars, twips
  };
  const Case cases[] = {{"an inch right", 1440, 0},
                        {"half an inch up", 0, 720},
                        {"back left, further up", -1440, 360}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QPointF before = printed();
    ASSERT_GE(before.x(), 0);
    w.HPosition->setValue(w.HPosition->value() + c.right);
    w.VPosition->setValue(w.VPosition->value() + c.up);
    const QPointF after = printed();
    // The image moves on the page as far as on the screen: twips / 1440 inches.
    EXPECT_NEAR(after.x() - before.x(), c.right / 1440.0 * kDpi, 1.0);
    EXPECT_NEAR(before.y() - after.y(), c.up / 1440.0 * kDpi, 1.0);
  }
}

TEST_F(GraphPrintTest, PrintedOverlaysFollowTheirSwitchesInThePageOrder) {
  frmGraph& w = LoadWithSegment();
  InstallRecorders();
  struct Case {
    const char* name;
    int16_t data, time, val, valLegend, wk, title, legend;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"none: only the scene", 0, 0, 0, 0, 0, 0, 0, {}},
      {"all, in the page's order",
       -1,
       -1,
       -1,
       -1,
       -1,
       -1,
       -1,
       {kData, kTime, kTitle, kLegend, kWk, kVal, kValLegend}},
      {"title and values", 0, 0, -1, 0, 0, -1, 0, {kTitle, kVal}},
      {"legends only", 0, 0, 0, -1, 0, 0, -1, {kLegend, kValLegend}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Graph.ShowDataText = c.data;
    Graph.ShowTimeText = c.time;
    Graph.ShowValText = c.val;
    ms::Tables.ShowValLegend = c.valLegend;
    Graph.ShowWkText = c.wk;
    Graph.ShowTitle = c.title;
    Graph.ShowLegend = c.legend;
    g_calls.clear();
    draw::DrawTarget paper(425, 550);
    w.PrintGraph(paper, 50, 50);
    std::vector<int> order;
    for (const OverlayCall& call : g_calls) {
      order.push_back(call.which);
      EXPECT_EQ(call.target, &paper);  // drawn on the printer, not on the screen
    }
    EXPECT_EQ(order, c.expected);
  }
}

TEST_F(GraphPrintTest, PrintImageWritesAPageWithEachPenAndLeavesTheScreenAlone) {
  frmGraph& w = LoadWithSegment();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QImage screen = w.Display().Image().copy();
  const int rows = static_cast<int>(ms::Scene.VertexCountD) + 1;
  const SceneCopy before = CopyScene(rows);
  struct Case {
    const char* name;
    int16_t finePen;
  };
  const Case cases[] = {{"fine", -1}, {"medium", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Graph.FinePen = c.finePen;
    const QString pdf = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
    QPrinter& printer = ui::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const long events = ui_.doEventsCount;
    w.mnuPrtGraph_Click();
    EXPECT_GT(ui_.doEventsCount, events);  // events ran before the page was built
    EXPECT_EQ(ui_.printRequests, 0);       // no dialog
    EXPECT_TRUE(ui_.boxes.empty());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 800);
    EXPECT_TRUE(bytes.contains("/Type /Page"));
    EXPECT_TRUE(w.Display().Image() == screen);
    EXPECT_TRUE(SameScene(CopyScene(rows), before));
    EXPECT_FALSE(ui_.busy);
  }
}

TEST_F(GraphPrintTest, APrinterThatCannotStartPrintsNothingAndSaysSo) {
  frmGraph& w = LoadWithSegment();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("no/such/folder/page.pdf"));
  QPrinter& printer = ui::Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  w.mnuPrtGraph_Click();
  EXPECT_FALSE(QFile::exists(pdf));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].style, ui::kExclamation);
  EXPECT_EQ(ui_.endProgramCalls, 0);
  EXPECT_EQ(frmGraph::Instance(), &w);
}

TEST_F(GraphPrintTest, PrinterSetUpShowsThePrintDialogOnlyAndCancelIsSilent) {
  frmGraph& w = Load();
  struct Case {
    const char* name;
    std::deque<bool> script;
  };
  const Case cases[] = {{"accepted", {true}}, {"cancelled", {false}}, {"no answer", {}}};
  int requests = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.prints = c.script;
    const QImage screen = w.Display().Image().copy();
    w.mnuPtrSetup1->trigger();
    EXPECT_EQ(ui_.printRequests, ++requests);
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_TRUE(w.Display().Image() == screen);
  }
}

TEST_F(GraphPrintTest, PrinterOptionsMenuHoldsItsItemsInOrder) {
  frmGraph& w = Load();
  QMenu* printer = nullptr;
  for (QAction* a : w.menuBar()->actions()) {
    if (a->text() == QStringLiteral("Printer Options")) printer = a->menu();
  }
  ASSERT_NE(printer, nullptr);
  QStringList items;
  for (QAction* a : printer->actions())
    items << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(items, QStringList({"-", "Printer Set Up", "Pen", "-", "Print Image",
                                "Save Image (bmp)", "Save Framed (bmp)", "-", "End Program"}));
  ASSERT_NE(w.mnuPen, nullptr);
  const QList<QAction*> pens = w.mnuPen->actions();
  ASSERT_EQ(pens.size(), 2);
  EXPECT_EQ(pens[0], w.mnuFine);
  EXPECT_EQ(pens[1], w.mnuMedium);
}

}  // namespace
}  // namespace gr::testing
