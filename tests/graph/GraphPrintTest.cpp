// Printing the graph: the printer pen of "Fine" and "Medium", printing into a PDF file and a
// printer that cannot be started.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "GraphTestSupport.h"
#include "support/WriteFaults.h"

namespace gr::testing {
namespace {

class GraphPrintTest : public GraphTest {
 protected:
  // The plan view with one horizontal red segment from (-2, 0, 0) to (2, 0, 0), drawn.
  GraphWindow& LoadWithSegment() {
    GraphWindow& w = Load();
    ms::View.RotationAngle = -3.1415926536 / 2;
    ms::View.ElevationAngle = 0;
    AddSegment({-2, 0, 0}, {2, 0, 0}, 255, 0, 0);
    ms::StoreSceneCounts();
    w.updateplot();
    return w;
  }
};

// Ink in the pixel column around a pixel, and whether some of it is red.
std::pair<int, bool> Ink(const QImage& img, QPoint m, int reach) {
  int n = 0, red = 0;
  for (int y = m.y() - reach; y <= m.y() + reach; ++y) {
    const QRgb p = img.valid(m.x(), y) ? img.pixel(m.x(), y) | 0xFF000000u : ~0u;
    n += p != 0xFFFFFFFFu;
    red += p == 0xFFFF0000u;
  }
  return {n, red > 0};
}

TEST_F(GraphPrintTest, EachPenPrintsItsWidthAndLeavesTheScreenAndSceneAlone) {
  GraphWindow& w = LoadWithSegment();
  const QImage screen = w.Display().Image().copy();
  const auto scene = ms::Scene.ViewXYZ;
  const ms::Point3& a = scene[0];
  const QPointF mid((a[0] + scene[1][0]) / 2, a[1]);
  auto at = [&mid](const draw::DrawTarget& t) { return t.ToDevice(mid.x(), mid.y()).toPoint(); };
  // Switching the pen between two prints, without a redraw, changes the printed width.
  const std::pair<QAction*, int> cases[] = {
      {nullptr, 6}, {w.Drawing().mnuFine, 2}, {w.Drawing().mnuMedium, 6}, {w.Drawing().mnuFine, 2}};
  for (const auto& [pen, width] : cases) {
    SCOPED_TRACE(width);
    if (pen != nullptr) pen->trigger();
    draw::DrawTarget paper(850, 1100);  // a letter page at 100 dpi
    w.PrintGraph(paper, 100, 100);
    EXPECT_EQ(Ink(paper.Image(), at(paper), 20), std::make_pair(width, true));
    EXPECT_EQ(Graph.PrinterDrawWidth, 4);  // back at 4 between segments and at the end
    EXPECT_TRUE(w.Display().Image() == screen);
    EXPECT_TRUE(ms::Scene.ViewXYZ == scene);
  }
  // The pens set the window's own width; the screen keeps one-pixel lines with either.
  for (QAction* pen : {w.Drawing().mnuMedium, w.Drawing().mnuFine}) {
    pen->trigger();
    EXPECT_EQ(w.DrawWidth(), pen == w.Drawing().mnuMedium ? 4 : 1);
    w.updateplot();
    EXPECT_EQ(Ink(w.Display().Image(), at(w.Display()), 10), std::make_pair(1, true));
  }
}

// A print that fails leaves nothing behind: the next one, to a PDF file, is printed. With no
// printer installed and no file chosen the user is told so.
TEST_F(GraphPrintTest, PrintImageWritesAPageOrSaysWhyAndStaysUsableAfterAFailure) {
  GraphWindow& w = LoadWithSegment();
  QTemporaryDir dir;
  const std::pair<QString, const char16_t*> cases[] = {
      // file ("": none), box text's start
      {QString(), u"No printer is installed"},
      {dir.filePath("first.pdf"), nullptr},
      {dir.filePath("no/such/folder/page.pdf"), u"The printer could not be started"},
      {dir.filePath("second.pdf"), nullptr},
  };
  for (const auto& [name, says] : cases) {
    SCOPED_TRACE(name.toStdString());
    if (name.isEmpty() && !QPrinterInfo::availablePrinters().isEmpty()) continue;
    ui_.boxes.clear();
    if (!name.isEmpty()) ui::Printer().setOutputFormat(QPrinter::PdfFormat);
    ui::Printer().setOutputFileName(name);
    const long events = ui_.doEventsCount;
    w.mnuPrtGraph_Click();
    EXPECT_GT(ui_.doEventsCount, events);  // events ran before the page was built
    ASSERT_EQ(ui_.boxes.size(), says != nullptr ? 1u : 0u);
    if (says != nullptr) {
      EXPECT_EQ(ui_.boxes[0].text.rfind(says, 0), 0u);
    } else {
      QFile file(name);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    }
    EXPECT_FALSE(ui_.busy);
  }
  // A start that failed elsewhere (a PDF printer without a file leaves the printer active) is
  // not left for the next user of the printer: its settings can be changed and it prints.
  ui::Printer().setOutputFileName(QString());
  EXPECT_FALSE(QPainter().begin(&ui::Printer()));
  ui::Printer().setOutputFileName(dir.filePath("third.pdf"));
  EXPECT_EQ(ui::Printer().outputFileName(), dir.filePath("third.pdf"));
  ui_.boxes.clear();
  w.mnuPrtGraph_Click();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_TRUE(QFile::exists(dir.filePath("third.pdf")));
}

// A PDF file is replaced only by a whole document. Where the disk takes only half of it (a file
// size limit), or the name is a pipe or a folder, "Print Image" says the file could not be
// written and leaves what the name held as it was; no file of the print is left behind.
TEST_F(GraphPrintTest, APdfFileThatCannotBeWrittenWholeIsKeptAsItWas) {
  const auto entries = [](const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  };
  const auto bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  GraphWindow& w = LoadWithSegment();
  QTemporaryDir dir;
  const QString pdf = dir.filePath("graph.pdf"), pipe = dir.filePath("pipe.pdf");
  const QString folder = dir.filePath("folder.pdf");
  ASSERT_TRUE(QDir().mkdir(folder));
  const testing_support::OpenPipe reader(pipe.toStdString());
  ASSERT_TRUE(reader.Made());
  // The size of the whole document, printed once.
  ui::Printer().setOutputFormat(QPrinter::PdfFormat);
  ui::Printer().setOutputFileName(pdf);
  w.mnuPrtGraph_Click();
  const qint64 whole = QFileInfo(pdf).size();
  ASSERT_GT(whole, 1024);
  const QByteArray old = "%PDF-1.4 the earlier print\n";
  const struct {
    QString target;
    rlim_t limit;  // 0: none
    bool written;
  } cases[] = {
      {pdf, static_cast<rlim_t>(whole / 2), false},
      {pipe, 0, false},
      {folder, 0, false},
      {pdf, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString() + " limit " + std::to_string(c.limit));
    QFile::remove(pdf);
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    ASSERT_EQ(earlier.write(old), old.size());
    earlier.close();
    ui_.boxes.clear();
    ui::Printer().setOutputFileName(c.target);
    {
      const testing_support::FileSizeLimit limit(c.limit);
      ASSERT_EQ(limit.Set(), c.limit > 0);
      w.mnuPrtGraph_Click();
    }
    EXPECT_EQ(ui::Printer().outputFileName(), c.target);  // the next print goes there too
    const QByteArray now = bytes(pdf);
    if (c.written) {
      ExpectBox(nullptr);
      EXPECT_EQ(now.size(), whole);
      EXPECT_TRUE(now.startsWith("%PDF-") && now.trimmed().endsWith("%%EOF"));
    } else {
      ExpectBox((u"The PDF file " + ui::FromQString(c.target) +
                 u" could not be written; the graph was not printed.")
                    .c_str());
      EXPECT_EQ(now, old);
    }
    EXPECT_FALSE(reader.WrittenTo());
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(entries(folder).isEmpty());
    EXPECT_EQ(entries(dir.path()), (QStringList{"folder.pdf", "graph.pdf", "pipe.pdf"}));
    EXPECT_FALSE(ui_.busy);
  }
}

// The rows of a picture that hold ink, as bands of consecutive rows: one band per line of text.
std::vector<std::pair<int, int>> InkBands(const QImage& img) {
  std::vector<std::pair<int, int>> bands;
  for (int y = 0; y < img.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < img.width() && !ink; ++x) ink = (img.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
    if (!ink) continue;
    if (!bands.empty() && bands.back().second == y - 1) {
      bands.back().second = y;
    } else {
      bands.emplace_back(y, y);
    }
  }
  return bands;
}

// Printed through a painter at a printer's resolution, the three Grid-Units lines stand one under
// the other a line apart, as on the screen: each line's ink apart from the next, each no taller
// than one line of the font at the page's resolution.
TEST_F(GraphPrintTest, PrintedOverlayLinesStandALineApartAtThePrintersResolution) {
  GraphWindow& w = Load();
  ms::StoreSceneCounts();  // an empty scene: the only ink is the text
  Graph.ShowDataText = -1;
  // The block near the middle of the picture, which the middle of the page shows.
  OverlayState.DataTextX = 4500;
  OverlayState.DataTextY = 7000;
  for (const int dpi : {96, 300, 600}) {
    SCOPED_TRACE(dpi);
    QImage page(dpi * 4, dpi * 3, QImage::Format_RGB32);
    page.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    page.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    page.fill(Qt::white);
    QFont font(QStringLiteral("Sans"));
    font.setPointSize(10);
    {
      QPainter painter(&page);
      draw::DrawTarget paper(painter, page.width(), page.height());
      paper.Font = font;
      w.PrintGraph(paper, dpi, dpi);
    }
    const double lineHeight = QFontMetricsF(font, &page).height();
    const auto bands = InkBands(page);
    ASSERT_EQ(bands.size(), 3u);
    for (size_t i = 0; i < bands.size(); ++i) {
      EXPECT_LE(bands[i].second - bands[i].first + 1, lineHeight);
      if (i > 0) {
        EXPECT_NEAR(bands[i].first - bands[i - 1].first, lineHeight, 1.0);
      }
    }
  }
}

}  // namespace
}  // namespace gr::testing
