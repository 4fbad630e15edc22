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
#include <QTemporaryDir>

#include "SheetGraphTest.h"
#include "graph/Form1.h"
#include "graph/frmFamilyPlots.h"
#include "graph/frmSetFrames.h"

namespace gr::testing {
namespace {

TEST(FrameNamesTest, BaseNamesTotalsAndTheTextFile) {
  const std::pair<const char16_t*, const char16_t*> bases[] = {
      {u"C:\\x\\wave.tmp", u"wave"},
      {u"/tmp/x/wave.bmp", u"wave"},
      {u"a.b.c", u"a"},
      {u".bmp", u".bmp"},
      {u"dir\\", u""},
      {u"x/y\\z.q", u"z"},
  };
  for (const auto& [typed, base] : bases) {
    SCOPED_TRACE(rt::ToUtf8(typed));
    EXPECT_EQ(FrameBaseOf(typed), base);
  }
  EXPECT_EQ(FrameBitmapName(u"wave", 12), QStringLiteral("wave12.bmp"));
  EXPECT_EQ(FrameTextName(u"wave"), QStringLiteral("wave.txt"));
  EXPECT_EQ(FrameTextContent(u"0", u"1", u"4", u"a"), u"0\r\n1\r\n4\r\na\r\n");
  struct TotalCase {
    const char16_t* typed;
    const char16_t* stored;  // what the box keeps and the text file says
    int count;
  };
  const TotalCase totals[] = {
      {u"", u"10", 10}, {u"0.5", u"10", 10},   {u"2.5", u"2.5", 2},
      {u"1", u"1", 1},  {u"1E2", u"1E2", 100}, {u"40000", u"10", 10},
  };
  for (const TotalCase& c : totals) {
    SCOPED_TRACE(rt::ToUtf8(c.typed));
    rt::Text stored = FrameTotalOf(c.typed);
    EXPECT_EQ(FrameCountOf(stored), c.count);
    EXPECT_EQ(stored, c.stored);
  }
  rt::Text empty;  // a total the box never saw is made "10" by the run
  EXPECT_EQ(FrameCountOf(empty), 10);
  EXPECT_EQ(empty, u"10");
}

constexpr char kWorksheet[] = "a = 0\nb = a\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n";

class AnimationTest : public SheetGraphTest {
 protected:
  void SetUp() override {
    SheetGraphTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  }
  void TearDown() override {
    QDir::setCurrent(previous_);
    SheetGraphTest::TearDown();
  }

  frmGraph& Open() {
    for (const QString& name : Files()) QFile::remove(name);
    return Run(kWorksheet);
  }

  // "Set Up", the five boxes typed, then Save.
  frmSetFrames& Configure(frmGraph& w, const char* file, const char* id, const char* start,
                          const char* end, const char* total) {
    w.mnuSetUp_Click();
    frmSetFrames* f = frmSetFrames::Instance();
    f->txtFrameFile->setText(QString::fromUtf8(file));
    f->Text1->setText(QString::fromUtf8(id));
    f->txtStart->setText(QString::fromUtf8(start));
    f->txtEnd->setText(QString::fromUtf8(end));
    f->txtTotalFrames->setText(QString::fromUtf8(total));
    f->cmdSave_Click();
    return *f;
  }

  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }

  // The window is handed back after a run: every control usable, Stop disabled and grey.
  static void ExpectHandedBack(frmGraph& w, frmSetFrames& f) {
    for (QWidget* enabled : std::initializer_list<QWidget*>{w.cmdReturn, w.cmdExit, w.cmdUpdate,
                                                            f.cmdSave, f.cmdCancel}) {
      EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
    }
    EXPECT_FALSE(f.cmdStop->isEnabled());
    EXPECT_EQ(f.StopColor(), rt::RGB(200, 200, 200));
    EXPECT_FALSE(w.LoopRunning());
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
};

TEST_F(AnimationTest, SetUpWindowChecksItsBoxesBeforeSaving) {
  frmGraph& w = Open();
  struct Case {
    const char* file;
    const char* start;
    const char* end;
    const char16_t* message;  // nullptr: saved
  };
  const Case cases[] = {
      {"", "0", "1", u"Please enter file name less .bmp extension to store your frames."},
      {"wave", "", "1", u"Please enter the range values for the assigned constant ID."},
      {"wave", "0", "", u"Please enter the range values for the assigned constant ID."},
      {"wave", "0", "1", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + "|" + c.start + "|" + c.end);
    ui_.Reset();
    frmSetFrames& f = Configure(w, c.file, "a", c.start, c.end, "0");
    ASSERT_EQ(ui_.boxes.size(), c.message ? 1u : 0u);
    if (c.message != nullptr) {
      EXPECT_EQ(ui_.boxes[0].text, c.message);
    }
    EXPECT_EQ(f.isVisible(), c.message != nullptr);
    EXPECT_EQ(w.mnuSetCompute->isEnabled(), c.message == nullptr);
  }
  // The boxes were copied as typed; the range is the one the family window shares.
  EXPECT_EQ(Frames.FrameFileBase, u"wave");
  EXPECT_EQ(Frames.FrameConstID, u"a");
  EXPECT_EQ(Frames.FrameTotal, u"10");
  EXPECT_EQ(Family.RangeEnd, u"1");
  // Cancel takes "Compute Frames" away again.
  w.mnuSetUp_Click();
  frmSetFrames::Instance()->cmdCancel_Click();
  EXPECT_FALSE(w.mnuSetCompute->isEnabled());
  EXPECT_TRUE(Files().isEmpty());
}

// A run writes frames 0 .. n, each a 4500-twip picture showing the curve and differing from the
// last, and a text file of four lines; bad input gives its message (frame 0 is already saved
// when the worksheet is searched) and leaves the worksheet as it was.
TEST_F(AnimationTest, EachRunWritesItsFramesOrGivesItsMessage) {
  struct Case {
    const char* id;
    const char* start;
    const char16_t* message;
    int bitmaps;
    const char16_t* firstLine;
  };
  const Case cases[] = {
      {"a", "0", nullptr, 5, u"a=1"},
      {"", "0", u"Please enter a constant Identifier to vary.", 0, u"a = 0"},
      {"a", "x", u"Range constants must be directly assigned to numbers.", 0, u"a = 0"},
      {"a", "1.0", u"Beginning & ending values cannot be the same.", 0, u"a = 0"},
      {"q", "0", u"Requested constant not located or the constant not directly set to a number.", 1,
       u"a = 0"},
      {"b", "0", u"Requested constant located with no numeric assignment.", 1, u"a = 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id + std::string("|") + c.start);
    frmGraph& w = Open();
    frmSetFrames& f = Configure(w, "C:\\x\\wave.tmp", c.id, c.start, "1", "4");
    w.mnuSetCompute_Click();
    ASSERT_EQ(ui_.boxes.size(), c.message ? 1u : 0u);
    if (c.message != nullptr) {
      EXPECT_EQ(ui_.boxes[0].text, c.message);
    }
    EXPECT_EQ(FirstLine(), c.firstLine);
    const rt::Text text = Sheet().WorksheetText();
    EXPECT_EQ(text.substr(text.find(u'\r')),
              u"\r\nb = a\r\nA<t> = <t, a + t, 0>\r\nPlot[A, {t,0,1,10}]\r\n");
    QStringList expected;
    for (int k = 0; k < c.bitmaps; ++k) expected << FrameBitmapName(u"wave", k);
    if (c.message == nullptr) expected << QStringLiteral("wave.txt");
    expected.sort();
    EXPECT_EQ(Files(), expected);
    EXPECT_EQ(ms::View.ImageOffsetX, 2334);  // the picture sits where the frame run puts it
    ExpectHandedBack(w, f);
    if (c.message != nullptr) continue;
    QImage previous;
    for (int k = 0; k < c.bitmaps; ++k) {
      SCOPED_TRACE(k);
      const QImage image(FrameBitmapName(u"wave", k), "BMP");
      EXPECT_EQ(image.size(), QSize(300, 300));
      const uint32_t curve = draw::ToArgb(ms::Settings.PlotColorUsed[1]) & 0xFFFFFFu;
      bool drawn = false;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
          drawn = drawn || (image.pixel(x, y) & 0xFFFFFFu) == curve;
      }
      EXPECT_TRUE(drawn);
      EXPECT_NE(image, previous);
      previous = image;
    }
    // The last file holds the frame picture as drawn.
    EXPECT_EQ(previous, Form1::Instance()->Picture1().Image().convertToFormat(previous.format()));
    QFile file(QStringLiteral("wave.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("0\r\n1\r\n4\r\na\r\n"));
    EXPECT_EQ(f.lblFrameNo->text(), QStringLiteral("4"));
    EXPECT_TRUE(w.Frame1->isEnabled() && w.Frame3->isEnabled());
    EXPECT_EQ(f.lblConstID->text(), QStringLiteral("1"));
  }
}

TEST_F(AnimationTest, StopEndsTheRunBetweenFramesAndALaterRunIsNotHeldBack) {
  frmGraph& w = Open();
  frmSetFrames& f = Configure(w, "wave", "a", "0", "1", "4");
  // Stop is clicked once frame 3 has its value: frame 3 is still finished and saved, and no text
  // file is written. Meanwhile the family set-up is held back (it would turn the frames into an
  // overlay), and neither Esc nor the close box takes the Stop button away.
  int stops = 0;
  ui_.onDoEvents = [&] {
    w.mnuFamilySetUp_Click();
    f.close();
    EXPECT_TRUE(f.isVisible());
    if (f.lblConstID->text() == QStringLiteral("0.75") && f.cmdStop->isEnabled()) {
      f.cmdStop->click();
      ++stops;
    }
  };
  w.mnuSetCompute_Click();
  ui_.onDoEvents = nullptr;
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(frmFamilyPlots::Instance(), nullptr);
  EXPECT_EQ(Graph.OverlayMode, 0);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Files(), (QStringList{QStringLiteral("wave0.bmp"), QStringLiteral("wave1.bmp"),
                                  QStringLiteral("wave2.bmp"), QStringLiteral("wave3.bmp")}));
  ExpectHandedBack(w, f);
  EXPECT_EQ(Sheet().WorksheetText().substr(0, 8), u"a=0.75\r\n");
  // Saved again, the next run makes all its frames, from the worksheet's 0.75 on.
  f.cmdSave_Click();
  for (const QString& name : Files()) QFile::remove(name);
  w.mnuSetCompute_Click();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(Files().size(), 6);
  EXPECT_EQ(Sheet().WorksheetText().substr(0, 8), u"a=1.75\r\n");
}

}  // namespace
}  // namespace gr::testing
