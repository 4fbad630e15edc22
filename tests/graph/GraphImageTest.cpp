// Pictures of the graph: the file naming rule, "Save Image (bmp)" writing the picture as drawn,
// and the framed capture: the framed part on the clipboard and in the file, drags in either
// direction, a click without a drag, a cancelled dialog and frames with no picture in them.
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <vector>

#include "GraphTestSupport.h"
#include "graph/GraphImage.h"

namespace gr::testing {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// Display's units of a pixel position on the picture.
double UnitsX(const frmGraph& w, double px) {
  const draw::DrawTarget& t = const_cast<frmGraph&>(w).Display();
  return t.ScaleLeft() + px * t.ScaleWidth() / t.PixelWidth();
}
double UnitsY(const frmGraph& w, double py) {
  const draw::DrawTarget& t = const_cast<frmGraph&>(w).Display();
  return t.ScaleTop() + py * t.ScaleHeight() / t.PixelHeight();
}

// Whether two pictures hold the same opaque colours, pixel for pixel.
bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if ((a.pixel(x, y) | kOpaque) != (b.pixel(x, y) | kOpaque)) return false;
    }
  }
  return true;
}

QImage ClipboardImage(const ui::ScriptedUiServices& s) {
  QImage img(s.clipboardPictureWidth, s.clipboardPictureHeight, QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      img.setPixel(x, y, s.clipboardPicture[static_cast<size_t>(y) * img.width() + x]);
    }
  }
  return img;
}

// Files in a folder.
QStringList FilesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::Files);
}

class GraphImageTest : public GraphTest {
 protected:
  // A graph window with coloured segments across the picture, drawn.
  frmGraph& LoadWithPicture() {
    frmGraph& w = Load();
    AddSegment({0, 0, 0}, {3, 0, 0}, 255, 0, 0);
    AddSegment({0, 0, 0}, {0, 3, 0}, 0, 160, 0);
    AddSegment({0, 0, 0}, {0, 0, 3}, 0, 0, 255);
    AddSegment({3, 0, 0}, {0, 3, 3}, 90, 40, 200);
    ms::StoreSceneCounts();
    w.updateplot();
    return w;
  }
  // The Graph button of the worksheet window, enabled as after a run with something to plot.
  QPushButton& GraphButton() {
    QPushButton& b = *Sheet().cmdGraph;
    b.setEnabled(true);
    return b;
  }
};

TEST_F(GraphImageTest, PictureFileIsTheChosenTitleWithBmpInTheChosenFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString d = dir.path();
  const QString cwd = QDir::currentPath();
  struct Case {
    QString chosen;
    QString expected;
  };
  const Case cases[] = {
      {d + "/plot.old.bmp", d + "/plot.bmp"},
      {d + "/plot.bmp", d + "/plot.bmp"},
      {d + "/plot", d + "/plot.bmp"},
      {d + "/a.b.c.d", d + "/a.bmp"},
      {d + "/.hidden", d + "/.hidden.bmp"},  // a "." as the first character is kept
      {d + "/x.", d + "/x.bmp"},
      {"plot.old.bmp", cwd + "/plot.bmp"},            // no folder: the current directory
      {"C:\\pics\\plot.old.bmp", cwd + "/plot.bmp"},  // a folder written with "\" is dropped too
      {d + "/sub\\deep\\name.txt", d + "/name.bmp"},
      {"", ""},
      {d + "/", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen.toStdString());
    EXPECT_EQ(PictureFileFor(c.chosen), c.expected);
  }
}

TEST_F(GraphImageTest, SaveImageWritesThePictureAsDrawnUnderTheTitle) {
  frmGraph& w = LoadWithPicture();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* name;
    QString chosen;  // "" = cancelled
    QString written;
  };
  const Case cases[] = {
      {"plain name", dir.filePath("graph.bmp"), "graph.bmp"},
      {"extension cut", dir.filePath("shot.old.png"), "shot.bmp"},
      {"cancelled", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const QString& f : FilesIn(dir.path())) QFile::remove(dir.filePath(f));
    w.setWindowTitle(QStringLiteral("Create Graph"));
    ui_.fileRequests.clear();
    ui_.savePaths = {ui::FromQString(c.chosen)};
    w.mnuSaveGraph->trigger();

    ASSERT_EQ(ui_.fileRequests.size(), 1u);
    const ui::FileDialogRequest& r = ui_.fileRequests[0].request;
    EXPECT_TRUE(ui_.fileRequests[0].save);
    EXPECT_EQ(r.filter, rt::Text(u"Image File (*.bmp)|*.bmp"));
    EXPECT_EQ(r.defaultExt, rt::Text(u"bmp"));
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(ui_.boxes.empty());

    if (c.written.isEmpty()) {
      EXPECT_TRUE(FilesIn(dir.path()).isEmpty());
      EXPECT_EQ(w.windowTitle(), QStringLiteral("Create Graph"));
      continue;
    }
    EXPECT_EQ(FilesIn(dir.path()), QStringList{c.written});
    const QImage back(dir.filePath(c.written));
    EXPECT_TRUE(SamePixels(back, w.Display().Image()));
    EXPECT_EQ(w.windowTitle(), c.chosen);  // the name as the dialog returned it
  }
}

TEST_F(GraphImageTest, SaveGraphBitmapWritesExactlyThePathGiven) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("frame7.bmp");
  EXPECT_FALSE(SaveGraphBitmap(path));  // no window yet
  EXPECT_FALSE(QFile::exists(path));
  frmGraph& w = LoadWithPicture();
  ASSERT_TRUE(SaveGraphBitmap(path));
  EXPECT_TRUE(SamePixels(QImage(path), w.Display().Image()));
  EXPECT_FALSE(SaveGraphBitmap(dir.filePath("missing/folder/x.bmp")));
}

// How a frame is dragged: through the handlers or through mouse events on the picture box.
enum class Road { kHandlers, kEvents };

void Drag(frmGraph& w, Road road, QPoint from, QPoint to) {
  const QPoint mid = (from + to) / 2;
  if (road == Road::kHandlers) {
    w.Display_MouseDown(1, UnitsX(w, from.x()), UnitsY(w, from.y()));
    w.Display_MouseMove(1, UnitsX(w, mid.x()), UnitsY(w, mid.y()));
    w.Display_MouseMove(1, UnitsX(w, to.x()), UnitsY(w, to.y()));
    w.Display_MouseUp(1, UnitsX(w, to.x()), UnitsY(w, to.y()));
    return;
  }
  QWidget* box = w.DisplayBox;
  const auto send = [box](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

TEST_F(GraphImageTest, FramedCaptureCopiesTheInsideOfTheFrameToClipboardAndFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* name;
    Road road;
    QPoint from, to;  // picture pixels
  };
  const Case cases[] = {
      {"down right", Road::kHandlers, {100, 120}, {300, 250}},
      {"up left", Road::kHandlers, {300, 250}, {100, 120}},
      {"down right by mouse events", Road::kEvents, {100, 120}, {300, 250}},
      {"up left by mouse events", Road::kEvents, {300, 250}, {100, 120}},
      {"thin frame", Road::kHandlers, {40, 40}, {43, 300}},
  };
  frmGraph& w = LoadWithPicture();
  QPushButton& graph = GraphButton();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.updateplot();
    graph.setEnabled(true);
    const QImage before = w.Display().Image().copy();
    for (const QString& f : FilesIn(dir.path())) QFile::remove(dir.filePath(f));
    const QString chosen = dir.filePath("framed.x.bmp");
    ui_.savePaths = {ui::FromQString(chosen)};
    ui_.fileRequests.clear();

    w.mnuSaveFrame->trigger();
    EXPECT_TRUE(w.BoxMode);
    EXPECT_EQ(w.DisplayBox->cursor().shape(), Qt::CrossCursor);
    Drag(w, c.road, c.from, c.to);

    // The inside of the frame: from one pixel inside the upper-left corner up to the lower-right
    // corner's row and column, left out.
    const QRect frame(QPoint(std::min(c.from.x(), c.to.x()), std::min(c.from.y(), c.to.y())),
                      QPoint(std::max(c.from.x(), c.to.x()), std::max(c.from.y(), c.to.y())));
    const QRect inside(frame.left() + 1, frame.top() + 1, frame.width() - 2, frame.height() - 2);
    ASSERT_EQ(ui_.clipboardPictureWidth, inside.width());
    ASSERT_EQ(ui_.clipboardPictureHeight, inside.height());
    const QImage clip = ClipboardImage(ui_);
    EXPECT_TRUE(SamePixels(clip, before.copy(inside)));

    // The same picture in the file, named after the title; the caption shows the chosen name.
    ASSERT_EQ(ui_.fileRequests.size(), 1u);
    EXPECT_EQ(ui_.fileRequests[0].request.filter, rt::Text(u"Image File (*.bmp)|*.bmp"));
    EXPECT_EQ(FilesIn(dir.path()), QStringList{"framed.bmp"});
    EXPECT_TRUE(SamePixels(QImage(dir.filePath("framed.bmp")), clip));
    EXPECT_EQ(w.windowTitle(), chosen);

    // The frame stays on the picture as a dotted outline; inside it nothing changed.
    const QImage after = w.Display().Image();
    EXPECT_EQ(after.pixel(frame.topLeft()) | kOpaque, kOpaque);  // fore colour black
    EXPECT_TRUE(SamePixels(after.copy(inside), before.copy(inside)));

    EXPECT_FALSE(w.BoxMode);
    EXPECT_EQ(w.BoxStartX, 0);
    EXPECT_EQ(w.BoxStartY, 0);
    EXPECT_EQ(w.BoxEndX, 0);
    EXPECT_EQ(w.BoxEndY, 0);
    EXPECT_FALSE(graph.isEnabled());
    EXPECT_NE(w.DisplayBox->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(ui_.boxes.empty());
  }
}

TEST_F(GraphImageTest, DraggedBandInvertsThePictureAndLeavesItsImageAlone) {
  frmGraph& w = LoadWithPicture();
  const QImage before = w.Display().Image().copy();
  w.mnuSaveFrame_Click();
  w.Display_MouseDown(1, UnitsX(w, 60), UnitsY(w, 70));
  w.Display_MouseMove(1, UnitsX(w, 160), UnitsY(w, 140));
  const QImage shown = w.DisplayBox->grab().toImage();
  // Along the band's edges the picture is shown inverted, dot by dot; the picture itself is not
  // drawn on while dragging.
  int inverted = 0;
  for (int x = 60; x <= 160; ++x) {
    const uint32_t under = before.pixel(x, 70) | kOpaque;
    if ((shown.pixel(x, 70) | kOpaque) == ((~under & 0xFFFFFFu) | kOpaque)) ++inverted;
  }
  EXPECT_GT(inverted, 20);
  EXPECT_LT(inverted, 101);  // dotted, not solid
  EXPECT_TRUE(w.Display().Image() == before);
  // Away from the band the picture is shown as it is.
  EXPECT_EQ(shown.pixel(110, 100) | kOpaque, before.pixel(110, 100) | kOpaque);
  // After the release the band is gone from the screen.
  ui_.savePaths.clear();
  w.Display_MouseUp(1, UnitsX(w, 160), UnitsY(w, 140));
  w.updateplot();
  EXPECT_TRUE(SamePixels(w.DisplayBox->grab().toImage(), w.Display().Image()));
}

TEST_F(GraphImageTest, FrameReachingBeyondThePictureTakesThePartOnIt) {
  frmGraph& w = LoadWithPicture();
  const QImage before = w.Display().Image().copy();
  const int width = before.width(), height = before.height();
  ui_.savePaths.clear();
  w.mnuSaveFrame_Click();
  w.Display_MouseDown(1, UnitsX(w, width - 50), UnitsY(w, height - 40));
  w.Display_MouseMove(1, UnitsX(w, width + 300), UnitsY(w, height + 300));
  w.Display_MouseUp(1, UnitsX(w, width + 300), UnitsY(w, height + 300));
  ASSERT_EQ(ui_.clipboardPictureWidth, 49);
  ASSERT_EQ(ui_.clipboardPictureHeight, 39);
  EXPECT_TRUE(SamePixels(ClipboardImage(ui_), before.copy(width - 49, height - 39, 49, 39)));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(GraphImageTest, ClickWithoutDragTakesNothingButEndsBoxMode) {
  frmGraph& w = LoadWithPicture();
  QPushButton& graph = GraphButton();
  const QImage before = w.Display().Image().copy();
  w.mnuSaveFrame_Click();
  w.Display_MouseDown(1, UnitsX(w, 200), UnitsY(w, 200));
  // Released at the same x, even somewhat lower: a click.
  w.Display_MouseUp(1, UnitsX(w, 200), UnitsY(w, 260));
  EXPECT_FALSE(w.BoxMode);
  EXPECT_EQ(ui_.clipboardPictureWidth, 0);
  EXPECT_TRUE(ui_.fileRequests.empty());
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_FALSE(graph.isEnabled());
  EXPECT_TRUE(w.Display().Image() == before);
  // The next release over the picture does nothing at all.
  graph.setEnabled(true);
  w.Display_MouseUp(1, UnitsX(w, 300), UnitsY(w, 300));
  EXPECT_TRUE(graph.isEnabled());
  EXPECT_TRUE(ui_.fileRequests.empty());
}

TEST_F(GraphImageTest, CancelledDialogKeepsTheFrameOnTheClipboardAndWritesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  frmGraph& w = LoadWithPicture();
  QPushButton& graph = GraphButton();
  const QString title = w.windowTitle();
  ui_.savePaths.clear();  // the dialog is cancelled
  w.mnuSaveFrame_Click();
  Drag(w, Road::kHandlers, {50, 60}, {150, 160});
  EXPECT_EQ(ui_.clipboardPictureWidth, 99);
  EXPECT_EQ(ui_.clipboardPictureHeight, 99);
  EXPECT_EQ(ui_.fileRequests.size(), 1u);
  EXPECT_TRUE(FilesIn(dir.path()).isEmpty());
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(w.windowTitle(), title);
  // The capture ended at the cancel: the Graph button is left as it was.
  EXPECT_TRUE(graph.isEnabled());
  EXPECT_FALSE(w.BoxMode);
}

TEST_F(GraphImageTest, FrameWithoutPictureSaysNoImageFound) {
  frmGraph& w = LoadWithPicture();
  QPushButton& graph = GraphButton();
  struct Case {
    const char* name;
    double x1, y1, x2, y2;  // Display's units
  };
  const double big = 1e300;
  const Case cases[] = {
      {"above and left of the picture", -3000, -3000, -600, -600},
      {"flat frame", UnitsX(w, 100), UnitsY(w, 100), UnitsX(w, 200), UnitsY(w, 100)},
      {"one pixel wide", UnitsX(w, 100), UnitsY(w, 100), UnitsX(w, 101), UnitsY(w, 200)},
      {"far away", big, big, 2 * big, 2 * big},
      {"not a number", std::nan(""), 0, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.boxes.clear();
    ui_.clipboardPictureWidth = 0;
    ui_.fileRequests.clear();
    graph.setEnabled(true);
    w.mnuSaveFrame_Click();
    w.Display_MouseDown(1, c.x1, c.y1);
    w.Display_MouseMove(1, c.x2, c.y2);
    w.Display_MouseUp(1, c.x2, c.y2);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, rt::Text(u"No image found. Redo your box frame."));
    EXPECT_EQ(ui_.boxes[0].style, ui::kExclamation);
    EXPECT_EQ(ui_.boxes[0].title, rt::Text(u"?"));
    EXPECT_EQ(ui_.clipboardPictureWidth, 0);
    EXPECT_TRUE(ui_.fileRequests.empty());
    EXPECT_TRUE(graph.isEnabled());  // the failure skips the rest of the capture
    EXPECT_FALSE(w.BoxMode);
  }
}

TEST_F(GraphImageTest, OnlyTheLeftButtonFramesAndAnyReleaseEndsBoxMode) {
  frmGraph& w = LoadWithPicture();
  w.mnuSaveFrame_Click();
  // The right button neither starts nor drags a frame.
  w.Display_MouseDown(2, UnitsX(w, 10), UnitsY(w, 10));
  w.Display_MouseMove(2, UnitsX(w, 90), UnitsY(w, 90));
  EXPECT_EQ(w.BoxStartX, 0);
  EXPECT_EQ(w.BoxEndX, 0);
  EXPECT_TRUE(w.BoxMode);
  // Moves without the left button held leave the frame alone.
  w.Display_MouseDown(1, UnitsX(w, 20), UnitsY(w, 30));
  w.Display_MouseMove(0, UnitsX(w, 90), UnitsY(w, 90));
  EXPECT_EQ(w.BoxEndX, 0);
  w.Display_MouseMove(1, UnitsX(w, 80), UnitsY(w, 70));
  EXPECT_DOUBLE_EQ(w.BoxEndX, UnitsX(w, 80));
  EXPECT_DOUBLE_EQ(w.BoxEndY, UnitsY(w, 70));
  // A release of the right button takes the frame as well.
  ui_.savePaths.clear();
  w.Display_MouseUp(2, UnitsX(w, 80), UnitsY(w, 70));
  EXPECT_FALSE(w.BoxMode);
  EXPECT_EQ(ui_.clipboardPictureWidth, 59);
  EXPECT_EQ(ui_.clipboardPictureHeight, 39);
}

}  // namespace
}  // namespace gr::testing
