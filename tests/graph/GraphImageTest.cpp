// Pictures of the graph: the file naming rule, "Save Image (bmp)" writing the picture as drawn,
// and the framed capture: the framed part on the clipboard and in the file, a click without a drag
// and frames with no picture in them.
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "GraphTestSupport.h"
#include "graph/GraphImage.h"
#include "support/WriteFaults.h"

namespace gr::testing {
namespace {

// Whether two pictures hold the same opaque colours, pixel for pixel.
bool SamePixels(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// Display's units of a pixel position on the picture.
QPointF Units(GraphWindow& w, QPoint px) {
  const draw::DrawTarget& t = w.Display();
  return {t.ScaleLeft() + px.x() * t.ScaleWidth() / t.PixelWidth(),
          t.ScaleTop() + px.y() * t.ScaleHeight() / t.PixelHeight()};
}

class GraphImageTest : public GraphTest {
 protected:
  // A graph window with coloured segments across the picture, drawn, and an empty folder.
  GraphWindow& LoadWithPicture() {
    GraphWindow& w = Load();
    AddSegment({0, 0, 0}, {3, 0, 0}, 255, 0, 0);
    AddSegment({0, 0, 0}, {0, 3, 0}, 0, 160, 0);
    AddSegment({3, 0, 0}, {0, 3, 3}, 90, 40, 200);
    ms::StoreSceneCounts();
    w.updateplot();
    return w;
  }
  void EmptyFolder() {
    for (const QString& f : FilesIn(dir_.path())) QFile::remove(dir_.filePath(f));
  }
  QTemporaryDir dir_;
};

TEST_F(GraphImageTest, PictureFileIsTheChosenNameEndingInBmp) {
  const QString d = dir_.path(), cwd = QDir::currentPath();
  const std::pair<QString, QString> cases[] = {
      {d + "/plot.old.bmp", d + "/plot.old.bmp"},
      {d + "/PLOT.Bmp", d + "/PLOT.Bmp"},
      {d + "/plot", d + "/plot.bmp"},
      {d + "/plot2.png", d + "/plot2.png.bmp"},  // the content is a bitmap, whatever was typed
      {d + "/plot.bmp.txt", d + "/plot.bmp.txt.bmp"},
      {d + "/.bmp", d + "/.bmp"},
      {"plot.old.bmp", cwd + "/plot.old.bmp"},  // no folder: the current directory
      {"", ""},
      {d + "/", ""}};
  for (const auto& [chosen, expected] : cases)
    EXPECT_EQ(PictureFileFor(chosen), expected) << chosen.toStdString();
}

// The picture is written under the name chosen; a write that fails is said and leaves no file.
TEST_F(GraphImageTest, SaveImageWritesThePictureAsDrawnUnderTheChosenName) {
  EXPECT_FALSE(SaveGraphBitmap(dir_.filePath("frame7.bmp")));  // no window yet
  GraphWindow& w = LoadWithPicture();
  const std::tuple<QString, QString, bool> cases[] = {
      // chosen ("": cancelled), written, said
      {dir_.filePath("shot.old.bmp"), "shot.old.bmp", false},
      {dir_.filePath("shot"), "shot.bmp", false},
      {dir_.filePath("no/such/folder/shot.bmp"), "", true},
      {"", "", false}};
  for (const auto& [chosen, written, said] : cases) {
    SCOPED_TRACE(chosen.toStdString());
    EmptyFolder();
    ui_.boxes.clear();
    ui_.savePaths = {ui::FromQString(chosen)};
    w.Drawing().mnuSaveGraph->trigger();
    ASSERT_FALSE(ui_.fileRequests.empty());
    EXPECT_TRUE(ui_.fileRequests.back().save && ui_.fileRequests.back().request.overwritePrompt);
    const rt::Text failed =
        u"The picture could not be written to " + ui::FromQString(chosen) + u".";
    ExpectBox(said ? failed.c_str() : nullptr);
    EXPECT_EQ(FilesIn(dir_.path()), written.isEmpty() ? QStringList() : QStringList{written});
    EXPECT_TRUE(written.isEmpty() ||
                SamePixels(QImage(dir_.filePath(written)), w.Display().Image()));
  }
}

// A name taken by a pipe or a folder is never replaced by a picture, whether the picture is saved
// from the menu or written as an animation frame: the file could not be written, and the pipe
// stays a pipe with nothing written into it.
TEST_F(GraphImageTest, PicturesAndFramesRefuseAPipeOrAFolder) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  const testing_support::OpenPipe pipe(dir_.filePath("pipe.bmp").toStdString());
  ASSERT_TRUE(pipe.Made());
  ASSERT_TRUE(QDir().mkdir(dir_.filePath("folder.bmp")));
  GraphWindow& w = LoadWithPicture();
  for (const char* name : {"pipe.bmp", "folder.bmp"}) {
    SCOPED_TRACE(name);
    ui_.boxes.clear();
    ui_.savePaths = {ui::FromQString(dir_.filePath(name))};
    w.Drawing().mnuSaveGraph->trigger();
    ExpectBox(
        (u"The picture could not be written to " + ui::FromQString(dir_.filePath(name)) + u".")
            .c_str());
  }
  // Frames 0 to 2 of a run whose frame 1 has a pipe for its name: the run stops there.
  ASSERT_TRUE(QFile::rename(dir_.filePath("pipe.bmp"), dir_.filePath("wave1.bmp")));
  Run("a = 0\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n").mnuSetUp_Click();
  AnimationSetupDialog* f = AnimationSetupDialog::Instance();
  ASSERT_NE(f, nullptr);
  f->txtFrameFile->setText(QStringLiteral("wave"));
  f->Text1->setText(QStringLiteral("a"));
  f->txtStart->setText(QStringLiteral("0"));
  f->txtEnd->setText(QStringLiteral("1"));
  f->txtTotalFrames->setText(QStringLiteral("2"));
  f->cmdSave_Click();
  ui_.boxes.clear();
  ui_.answers = {ui::kAnswerYes};
  GraphWindow::Instance()->mnuSetCompute_Click();
  EXPECT_EQ(Boxes(), (std::vector<rt::Text>{u"Frame files named wave exist already. Replace them?",
                                            u"The frame file wave1.bmp could not be written."}));
  const QFileInfo frame1(dir_.filePath("wave1.bmp"));
  EXPECT_TRUE(frame1.exists() && !frame1.isFile());
  EXPECT_FALSE(pipe.WrittenTo());
  EXPECT_TRUE(QFileInfo(dir_.filePath("folder.bmp")).isDir());
  EXPECT_EQ(FilesIn(dir_.path()), QStringList{"wave0.bmp"});
  QDir::setCurrent(previous);
}

// A frame dragged by mouse events on the picture box.
void Drag(GraphWindow& w, QPoint from, QPoint to) {
  const auto send = [box = w.DisplayBox](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// A frame dragged up and left: its inside, from one pixel inside the upper-left corner up to the
// lower-right corner's row and column, left out, goes to the clipboard and to the file of the
// chosen name.
TEST_F(GraphImageTest, FramedCaptureCopiesTheInsideOfTheFrameToClipboardAndFile) {
  GraphWindow& w = LoadWithPicture();
  const QImage before = w.Display().Image().copy();
  const QString chosen = dir_.filePath("framed.x.bmp");
  ui_.savePaths = {ui::FromQString(chosen)};
  w.Drawing().mnuSaveFrame->trigger();
  w.Display_MouseDown(2, Units(w, {10, 10}).x(), 1);  // the right button starts no frame
  EXPECT_EQ(w.Drawing().BoxStartX, 0);
  Drag(w, {300, 250}, {100, 120});
  const QRect inside(101, 121, 199, 129);
  ASSERT_EQ(QSize(ui_.clipboardPictureWidth, ui_.clipboardPictureHeight), inside.size());
  const QImage clip(reinterpret_cast<const uchar*>(ui_.clipboardPicture.data()), inside.width(),
                    inside.height(), QImage::Format_ARGB32);
  EXPECT_TRUE(SamePixels(clip, before.copy(inside)));
  EXPECT_EQ(FilesIn(dir_.path()), QStringList{"framed.x.bmp"});
  EXPECT_TRUE(SamePixels(QImage(chosen), clip));
}

TEST_F(GraphImageTest, AFrameWithoutPictureSaysNoImageFoundAndAClickTakesNothing) {
  GraphWindow& w = LoadWithPicture();
  QPushButton& graph = *Sheet().cmdGraph;
  const QPointF a = Units(w, {100, 100}), b = Units(w, {200, 200});
  struct Case {
    double x1, y1, x2, y2;  // Display's units
    bool message;
  };
  const Case cases[] = {
      {a.x(), a.y(), b.x(), a.y(), true},  // flat
      {std::nan(""), 0, 5, 5, true},
      {a.x(), a.y(), a.x(), b.y(), false},  // a click: released at the same x
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    ui_.Reset();
    graph.setEnabled(true);
    w.mnuSaveFrame_Click();
    w.Display_MouseDown(1, c.x1, c.y1);
    w.Display_MouseMove(1, c.x2, c.y2);
    w.Display_MouseUp(1, c.x2, c.y2);
    ExpectBox(c.message ? u"No image found. Redo your box frame." : nullptr);
    EXPECT_EQ(ui_.clipboardPictureWidth, 0);
    EXPECT_TRUE(ui_.fileRequests.empty());
    EXPECT_EQ(graph.isEnabled(), c.message);  // a failure skips the rest of the capture
    EXPECT_FALSE(w.Drawing().BoxMode);
  }
  // A release with no capture under way does nothing at all.
  graph.setEnabled(true);
  w.Display_MouseUp(1, b.x(), b.y());
  EXPECT_TRUE(graph.isEnabled());
}

}  // namespace
}  // namespace gr::testing
