// Animation frames: the naming of the frame files, the set-up window's checks, and the frame
// loop from a worksheet to the bitmap files and the text file, its messages and its Stop button.
// Files are written into a temporary directory made the current one for each test.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "GraphTestSupport.h"
#include "graph/Form1.h"
#include "graph/frmFamilyPlots.h"
#include "graph/frmSetFrames.h"

namespace gr::testing {
namespace {

TEST(FrameNamesTest, BaseNamesTotalsAndTheTextFile) {
  struct BaseCase {
    const char16_t* typed;
    const char16_t* base;
  };
  const BaseCase bases[] = {
      {u"C:\\x\\wave.tmp", u"wave"},
      {u"wave", u"wave"},
      {u"/tmp/x/wave.bmp", u"wave"},
      {u"a.b.c", u"a"},
      {u".bmp", u".bmp"},
      {u"dir\\", u""},
      {u"x/y\\z.q", u"z"},
      {u"frame 1", u"frame 1"},
  };
  for (const BaseCase& c : bases) {
    SCOPED_TRACE(rt::ToUtf8(c.typed));
    EXPECT_EQ(FrameBaseOf(c.typed), rt::Text(c.base));
  }
  EXPECT_EQ(FrameBitmapName(u"wave", 0), QStringLiteral("wave0.bmp"));
  EXPECT_EQ(FrameBitmapName(u"wave", 12), QStringLiteral("wave12.bmp"));
  EXPECT_EQ(FrameTextName(u"wave"), QStringLiteral("wave.txt"));
  EXPECT_EQ(FrameTextContent(u"0", u"1", u"4", u"a"), u"0\r\n1\r\n4\r\na\r\n");

  struct TotalCase {
    const char16_t* typed;
    const char16_t* stored;  // what the box keeps
    int count;
    const char16_t* written;  // what the text file says
  };
  const TotalCase totals[] = {
      {u"", u"10", 10, u"10"},       {u"x", u"10", 10, u"10"},        {u"0.5", u"10", 10, u"10"},
      {u"4", u"4", 4, u"4"},         {u"2.5", u"2.5", 2, u"2.5"},     {u"1", u"1", 1, u"1"},
      {u"1E2", u"1E2", 100, u"1E2"}, {u"40000", u"40000", 10, u"10"},
  };
  for (const TotalCase& c : totals) {
    SCOPED_TRACE(rt::ToUtf8(c.typed));
    rt::Text stored = FrameTotalOf(c.typed);
    EXPECT_EQ(stored, rt::Text(c.stored));
    EXPECT_EQ(FrameCountOf(stored), c.count);
    EXPECT_EQ(stored, rt::Text(c.written));
  }
  // A total the box never saw (empty at the start) is made "10" by the run.
  rt::Text empty;
  EXPECT_EQ(FrameCountOf(empty), 10);
  EXPECT_EQ(empty, u"10");
}

constexpr char kWorksheet[] = "a = 0\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n";

class AnimationTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ResetFamilySettings();
    ResetFrameSettings();
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  }
  void TearDown() override {
    QDir::setCurrent(previous_);
    GraphTest::TearDown();
  }

  frmGraph* Open(const char* worksheet) {
    ws::frmCalcInput& sheet = Sheet();
    sheet.show();
    sheet.TypeWorksheetText(QString::fromUtf8(worksheet));
    sheet.cmdCompute_click();
    sheet.cmdGraph_click();
    return GraphWindow();
  }

  // "Set Up", the five boxes typed, then Save.
  frmSetFrames& Configure(frmGraph& w, const char* file, const char* id, const char* start,
                          const char* end, const char* total) {
    w.mnuSetUp_Click();
    frmSetFrames* f = frmSetFrames::Instance();
    EXPECT_NE(f, nullptr);
    f->txtFrameFile->setText(QString::fromUtf8(file));
    f->Text1->setText(QString::fromUtf8(id));
    f->txtStart->setText(QString::fromUtf8(start));
    f->txtEnd->setText(QString::fromUtf8(end));
    f->txtTotalFrames->setText(QString::fromUtf8(total));
    f->cmdSave_Click();
    EXPECT_FALSE(f->isVisible());
    return *f;
  }

  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

  static QString ReadAll(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll());
  }

  QTemporaryDir dir_;
  QString previous_;
};

// Whether some pixel of the picture has the colour (packed RGB).
bool HasColour(const QImage& image, int32_t packed) {
  const uint32_t rgb = draw::ToArgb(packed) & 0xFFFFFFu;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFFu) == rgb) return true;
    }
  }
  return false;
}

TEST_F(AnimationTest, SetUpWindowChecksItsBoxesBeforeSaving) {
  frmGraph* w = Open(kWorksheet);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->mnuSetCompute->isEnabled());
  Graph.OverlayMode = -1;
  w->mnuSetUp_Click();
  frmSetFrames* f = frmSetFrames::Instance();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::count(ui_.topmost.begin(), ui_.topmost.end(),
                       static_cast<ui::WindowHandle>(static_cast<QWidget*>(f))),
            1);
  EXPECT_EQ(f->pos(), QPoint(233, 23));
  EXPECT_FALSE(f->cmdStop->isEnabled());
  EXPECT_TRUE(f->isModal());

  struct Case {
    const char* file;
    const char* start;
    const char* end;
    const char16_t* message;  // nullptr: saved
  };
  const Case cases[] = {
      {"", "0", "1", u"Please enter file name less .bmp extension to store your frames."},
      {"", "", "", u"Please enter file name less .bmp extension to store your frames."},
      {"wave", "", "1", u"Please enter the range values for the assigned constant ID."},
      {"wave", "0", "", u"Please enter the range values for the assigned constant ID."},
      {"wave", "0", "1", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + "|" + c.start + "|" + c.end);
    ui_.Reset();
    f->txtFrameFile->setText(QString::fromUtf8(c.file));
    f->txtStart->setText(QString::fromUtf8(c.start));
    f->txtEnd->setText(QString::fromUtf8(c.end));
    f->cmdSave_Click();
    if (c.message != nullptr) {
      ASSERT_EQ(ui_.boxes.size(), 1u);
      EXPECT_EQ(ui_.boxes[0].text, rt::Text(c.message));
      EXPECT_TRUE(f->isVisible());
      EXPECT_FALSE(w->mnuSetCompute->isEnabled());
    } else {
      EXPECT_TRUE(ui_.boxes.empty());
      EXPECT_FALSE(f->isVisible());
      EXPECT_TRUE(w->mnuSetCompute->isEnabled());
      EXPECT_TRUE(w->cmdReturn->isEnabled());
    }
  }
  // Closing the window ended the set-up: no overlay, Stop disabled.
  EXPECT_EQ(Graph.OverlayMode, 0);
  EXPECT_FALSE(f->cmdStop->isEnabled());
  // The boxes were copied as typed; the range is the one the family window shares.
  EXPECT_EQ(Frames.FrameFileBase, u"wave");
  EXPECT_EQ(Family.RangeStart, u"0");
  EXPECT_EQ(Family.RangeEnd, u"1");
  f->Text1->setText(QStringLiteral("ab"));
  EXPECT_EQ(Frames.FrameConstID, u"ab");
  f->txtTotalFrames->setText(QStringLiteral("0"));
  EXPECT_EQ(Frames.FrameTotal, u"10");
  f->txtTotalFrames->setText(QStringLiteral("7"));
  EXPECT_EQ(Frames.FrameTotal, u"7");

  // Cancel takes "Compute Frames" away again.
  w->mnuSetUp_Click();
  EXPECT_EQ(frmSetFrames::Instance(), f);
  f->cmdCancel_Click();
  EXPECT_FALSE(f->isVisible());
  EXPECT_FALSE(w->mnuSetCompute->isEnabled());
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(AnimationTest, EachFrameIsABitmapAndTheRunIsRecordedInTheTextFile) {
  struct Case {
    const char* name;
    const char* file;
    const char* total;
    const char16_t* base;
    int frames;
    const char* text;
  };
  const Case cases[] = {
      {"four frames", "C:\\x\\wave.tmp", "4", u"wave", 4, "0\r\n1\r\n4\r\na\r\n"},
      {"count left empty", "anim", "", u"anim", 10, "0\r\n1\r\n10\r\na\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    // The settings outlive the set-up window: each case starts as a fresh program.
    ResetFamilySettings();
    ResetFrameSettings();
    frmGraph* w = Open(kWorksheet);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ui_.boxes.empty());
    frmSetFrames& f = Configure(*w, c.file, "a", "0", "1", c.total);
    w->mnuSetCompute_Click();
    EXPECT_TRUE(ui_.boxes.empty());

    // The picture sits where the frame run puts it.
    EXPECT_EQ(w->HPosition->value(), 3834);
    EXPECT_EQ(w->VPosition->value(), 11250);
    EXPECT_EQ(ms::View.ImageOffsetX, 2334);
    EXPECT_EQ(ms::View.ImageOffsetY, 12750);

    // Frames 0 .. n, each a 4500-twip picture showing the curve, each different from the last.
    const int32_t curveColour = ms::Settings.PlotColorUsed[1];
    QImage previous;
    for (int k = 0; k <= c.frames; ++k) {
      SCOPED_TRACE(k);
      const QImage image(FrameBitmapName(c.base, k), "BMP");
      ASSERT_FALSE(image.isNull());
      EXPECT_EQ(image.size(), QSize(300, 300));
      EXPECT_TRUE(HasColour(image, curveColour));
      if (k > 0) {
        EXPECT_NE(image, previous);
      }
      previous = image;
    }
    EXPECT_FALSE(QFile::exists(FrameBitmapName(c.base, c.frames + 1)));
    // The last file holds the frame picture as drawn.
    ASSERT_NE(Form1::Instance(), nullptr);
    EXPECT_EQ(previous, Form1::Instance()->Picture1().Image().convertToFormat(previous.format()));
    EXPECT_EQ(ReadAll(FrameTextName(c.base)), QString::fromLatin1(c.text));
    EXPECT_EQ(Files().size(), c.frames + 2);

    // The worksheet keeps the last frame's value; the progress shows the last frame.
    EXPECT_EQ(Sheet().WorksheetText(), u"a=1\r\nA<t> = <t, a + t, 0>\r\nPlot[A, {t,0,1,10}]\r\n");
    EXPECT_EQ(f.lblFrameNo->text(), QString::number(c.frames));
    EXPECT_EQ(f.lblFrameCt->text(), QString::number(c.frames));
    EXPECT_EQ(f.lblConstID->text(), QStringLiteral("1"));
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isModal());
    EXPECT_FALSE(f.cmdStop->isEnabled());
    EXPECT_EQ(f.StopColor(), rt::RGB(200, 200, 200));
    EXPECT_TRUE(f.cmdSave->isEnabled());
    EXPECT_TRUE(f.cmdCancel->isEnabled());
    for (QWidget* enabled : {static_cast<QWidget*>(w->cmdReturn), static_cast<QWidget*>(w->cmdExit),
                             static_cast<QWidget*>(w->cmdUpdate), static_cast<QWidget*>(w->Frame1),
                             static_cast<QWidget*>(w->Frame2), static_cast<QWidget*>(w->Frame3)}) {
      EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
    }
    EXPECT_FALSE(w->LoopRunning());
    f.cmdSave_Click();
    w->cmdReturn_Click();
    ReleaseGraphWindow();
    for (const QString& name : Files()) QFile::remove(name);
  }
}

TEST_F(AnimationTest, BadInputGivesItsMessage) {
  struct Case {
    const char* name;
    const char* id;
    const char* start;
    const char* end;
    const char16_t* message;
    bool frameZero;  // frame 0 is saved before the worksheet is searched
  };
  const Case cases[] = {
      {"no identifier", "", "0", "1", u"Please enter a constant Identifier to vary.", false},
      {"start not a number", "a", "x", "1",
       u"Range constants must be directly assigned to numbers.", false},
      {"same values", "a", "2", "2.0", u"Beginning & ending values cannot be the same.", false},
      {"not in the worksheet", "q", "0", "1",
       u"Requested constant not located or the constant not directly set to a number.", true},
      {"not a number", "b", "0", "1", u"Requested constant located with no numeric assignment.",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.Reset();
    frmGraph* w = Open("a = 0\nb = a\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ui_.boxes.empty());
    const rt::Text before = Sheet().WorksheetText();
    Configure(*w, "wave", c.id, c.start, c.end, "4");
    w->mnuSetCompute_Click();
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, rt::Text(c.message));
    EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
    EXPECT_EQ(Sheet().WorksheetText(), before);
    EXPECT_EQ(Files(), c.frameZero ? QStringList{QStringLiteral("wave0.bmp")} : QStringList{});
    // The position settings stay; the window is usable.
    EXPECT_EQ(ms::View.ImageOffsetX, 2334);
    for (QWidget* enabled : {static_cast<QWidget*>(w->cmdReturn), static_cast<QWidget*>(w->cmdExit),
                             static_cast<QWidget*>(w->cmdUpdate)}) {
      EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
    }
    EXPECT_FALSE(w->LoopRunning());
    w->cmdReturn_Click();
    ReleaseGraphWindow();
    for (const QString& name : Files()) QFile::remove(name);
  }
}

TEST_F(AnimationTest, StopEndsTheRunBetweenFramesAndALaterRunIsNotHeldBack) {
  frmGraph* w = Open(kWorksheet);
  ASSERT_NE(w, nullptr);
  frmSetFrames& f = Configure(*w, "wave", "a", "0", "1", "4");
  // Stop is clicked once frame 3 has its value: frame 3 is still finished and saved.
  // The family set-up is held back meanwhile: it would turn the frames into an overlay.
  int stops = 0;
  ui_.onDoEvents = [&] {
    w->mnuFamilySetUp_Click();
    // Neither Esc nor the close box takes the Stop button away while frames are made.
    f.close();
    EXPECT_TRUE(f.isVisible());
    if (f.lblConstID->text() == QStringLiteral("0.75") && f.cmdStop->isEnabled()) {
      f.cmdStop->click();
      ++stops;
    }
  };
  w->mnuSetCompute_Click();
  ui_.onDoEvents = nullptr;
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(frmFamilyPlots::Instance(), nullptr);
  EXPECT_EQ(Graph.OverlayMode, 0);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Files(), (QStringList{QStringLiteral("wave0.bmp"), QStringLiteral("wave1.bmp"),
                                  QStringLiteral("wave2.bmp"), QStringLiteral("wave3.bmp")}));
  EXPECT_NE(ms::RunFlags.StopFrames, 0);
  EXPECT_FALSE(f.cmdStop->isEnabled());
  EXPECT_EQ(f.StopColor(), rt::RGB(200, 200, 200));
  EXPECT_TRUE(f.cmdSave->isEnabled());
  EXPECT_TRUE(f.cmdCancel->isEnabled());
  EXPECT_TRUE(w->cmdReturn->isEnabled());
  EXPECT_TRUE(w->cmdExit->isEnabled());
  EXPECT_TRUE(w->cmdUpdate->isEnabled());
  EXPECT_FALSE(w->LoopRunning());
  EXPECT_TRUE(Sheet().WorksheetText().compare(0, 8, u"a=0.75\r\n") == 0);

  // Saved again, the next run makes all its frames, from the worksheet's 0.75 on.
  f.cmdSave_Click();
  for (const QString& name : Files()) QFile::remove(name);
  w->mnuSetCompute_Click();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Files().size(), 6);
  EXPECT_EQ(ReadAll(QStringLiteral("wave.txt")), QStringLiteral("0\r\n1\r\n4\r\na\r\n"));
  EXPECT_TRUE(Sheet().WorksheetText().compare(0, 8, u"a=1.75\r\n") == 0);
}

}  // namespace
}  // namespace gr::testing
