// Animation frames: the set-up window's checks and the frame loop from a worksheet to the bitmap
// files and the text file, its messages and its Stop button. Files are written into a temporary
// directory made the current one for each test.
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include "GraphTestSupport.h"
#include "graph/FrameCanvas.h"

namespace gr::testing {
namespace {

constexpr char kWorksheet[] = "a = 0\nb = a\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n";

class AnimationTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  }
  void TearDown() override {
    QDir::setCurrent(previous_);
    GraphTest::TearDown();
  }

  // The worksheet run in an empty folder, then "Set Up", the five boxes typed, and Save.
  AnimationSetupDialog& Configure(const char* worksheet, const char* file, const char* id,
                                  const char* start, const char* total) {
    for (const QString& name : Files()) QFile::remove(name);
    w_ = &Run(worksheet);
    w_->mnuSetUp_Click();
    AnimationSetupDialog* f = AnimationSetupDialog::Instance();
    f->txtFrameFile->setText(QString::fromUtf8(file));
    f->Text1->setText(QString::fromUtf8(id));
    f->txtStart->setText(QString::fromUtf8(start));
    f->txtEnd->setText(QStringLiteral("1"));
    f->txtTotalFrames->setText(QString::fromUtf8(total));
    f->cmdSave_Click();
    return *f;
  }

  // Every control the run took is usable again, Stop is not.
  void ExpectHandedBack(AnimationSetupDialog& f) {
    for (QWidget* enabled : std::initializer_list<QWidget*>{
             w_->cmdReturn, w_->cmdExit, w_->cmdUpdate, w_->Navigation().Frame1,
             w_->Navigation().Frame2, w_->Navigation().Frame3, w_->Navigation().Frame6, f.cmdSave,
             f.cmdCancel}) {
      EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
    }
    EXPECT_FALSE(f.cmdStop->isEnabled());
    EXPECT_FALSE(w_->LoopRunning());
  }

  QStringList Files() const { return FilesIn(dir_.path()); }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
  GraphWindow* w_ = nullptr;
};

// A run writes frames 0 .. n for the values from the typed start to the end, each a 4500-twip
// picture differing from the last (the curve moves), and a text file of four lines, and says in
// which folder. Bad input gives its message, the set-up window's own when Save is pressed (it
// stays open and "Compute Frames" disabled), the run's when the worksheet is searched (before any
// frame); the worksheet stays as it was. Stop, clicked once frame 3 has its
// value, still finishes and saves frame 3 but writes no text file; meanwhile neither the close box
// takes the window away nor the family set-up opens (it would turn the frames into an overlay), and
// a run saved afterwards makes all its frames.
TEST_F(AnimationTest, EachRunWritesItsFramesOrGivesItsMessage) {
  struct Case {
    const char *file, *id, *start;
    const char16_t* message;
    int bitmaps;
    const char16_t* firstLine;
    bool saved, stop;              // the set-up window took the boxes; Stop is clicked
    const char* values = nullptr;  // the constant's assignment of every frame as drawn
  };
  const char* wave = "C:\\x\\wave.tmp";
  const Case cases[] = {
      {wave, "a", "0", nullptr, 5, u"a=1", true, false, "a=0 a=0.25 a=0.5 a=0.75 a=1"},
      // The worksheet's own value (0) is not where the frames start.
      {wave, "a", "-1", nullptr, 5, u"a=1", true, false, "a=-1 a=-0.5 a=0 a=0.5 a=1"},
      {wave, "a", "0.5", nullptr, 5, u"a=1", true, false, "a=0.5 a=0.625 a=0.75 a=0.875 a=1"},
      {wave, "a", "0", nullptr, 4, u"a=0.75", true, true, "a=0 a=0.25 a=0.5 a=0.75"},
      {"", "a", "0", u"Please enter file name less .bmp extension to store your frames.", 0,
       u"a = 0", false, false},
      {wave, "a", "", u"Please enter the range values for the assigned constant ID.", 0, u"a = 0",
       false, false},
      {wave, "", "0", u"Please enter a constant Identifier to vary.", 0, u"a = 0", true, false},
      {wave, "a", "x", u"Range constants must be directly assigned to numbers.", 0, u"a = 0", true,
       false},
      {wave, "a", "1.0", u"Beginning & ending values cannot be the same.", 0, u"a = 0", true,
       false},
      {wave, "q", "0",
       u"Requested constant not located or the constant not directly set to a number.", 0, u"a = 0",
       true, false},
      {wave, "b", "0", u"Requested constant located with no numeric assignment.", 0, u"a = 0", true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + std::string("|") + c.id + "|" + c.start + (c.stop ? " stopped" : ""));
    AnimationSetupDialog& f = Configure(kWorksheet, c.file, c.id, c.start, "4");
    GraphWindow& w = *w_;
    Graph.FamilyMode = -1;  // as a family run leaves it: its members listed
    EXPECT_EQ(f.isVisible(), !c.saved);
    // The assignment as each pass lets events run (the frame before it), once per frame: events
    // also run while each pass reads the worksheet.
    std::string drawn, last;
    ui_.onDoEvents = [&] {
      if (w.LoopRunning() && rt::ToUtf8(FirstLine()) != last) {
        last = rt::ToUtf8(FirstLine());
        drawn += (drawn.empty() ? "" : " ") + last;
      }
      // Events also run while the worksheet is read again after the run: only the run's own
      // events are where the window must refuse to close.
      if (!c.stop || !f.cmdStop->isEnabled()) return;
      w.mnuFamilySetUp_Click();
      f.close();
      EXPECT_TRUE(f.isVisible());
      if (f.lblConstID->text() == QStringLiteral("0.75") && f.cmdStop->isEnabled())
        f.cmdStop->click();
    };
    w.Animation().mnuSetCompute->trigger();
    ui_.onDoEvents = nullptr;
    ExpectBox(c.message);
    EXPECT_EQ(FirstLine(), c.firstLine);
    if (c.values != nullptr) {
      EXPECT_EQ(drawn, c.values);
    }
    const QString said = c.message == nullptr && !c.stop
                             ? "Frames written in " + QFileInfo(dir_.path()).canonicalFilePath()
                             : QString();
    EXPECT_EQ(f.lblFolder->text(), said);
    const rt::Text text = Sheet().WorksheetText();
    EXPECT_EQ(text.substr(text.find(u'\r')),
              u"\r\nb = a\r\nA<t> = <t, a + t, 0>\r\nPlot[A, {t,0,1,10}]\r\n");
    QStringList expected;  // in name order
    if (c.message == nullptr && !c.stop) expected << QStringLiteral("wave.txt");
    for (int k = 0; k < c.bitmaps; ++k) expected << QStringLiteral("wave%1.bmp").arg(k);
    EXPECT_EQ(Files(), expected);
    ExpectHandedBack(f);
    // A run that drew frames lists no family: none is drawn.
    EXPECT_EQ(Graph.FamilyMode != 0, c.bitmaps == 0);
    if (c.stop) {
      EXPECT_EQ(FamilyPlotsDialog::Instance(), nullptr);
      f.cmdSave_Click();
      w.mnuSetCompute_Click();
      EXPECT_EQ(Files().size(), 6);
      EXPECT_EQ(FirstLine(), u"a=1");
    }
    if (c.message != nullptr || c.stop) continue;
    QImage previous;
    for (int k = 0; k < c.bitmaps; ++k) {
      SCOPED_TRACE(k);
      const QImage image(QStringLiteral("wave%1.bmp").arg(k), "BMP");
      EXPECT_EQ(image.size(), QSize(300, 300));
      EXPECT_NE(image, previous);
      previous = image;
    }
    // The last file holds the frame picture as drawn.
    EXPECT_EQ(previous,
              FrameCanvas::Instance()->Picture1().Image().convertToFormat(previous.format()));
    QFile file(QStringLiteral("wave.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), c.start + QByteArray("\r\n1\r\n4\r\na\r\n"));
    f.cmdCancel_Click();  // Cancel takes "Compute Frames" away again
    EXPECT_FALSE(w.Animation().mnuSetCompute->isEnabled());
  }
}

// Frame files already there are replaced only after one question (No writes nothing). A frame
// whose worksheet fails to execute stops the run with a word on which frame; the frames before it
// stay, no text file is written, and every control the run took is handed back.
TEST_F(AnimationTest, FramesAskBeforeReplacingAndStopAtAFrameThatFailsToExecute) {
  AnimationSetupDialog& f = Configure(kWorksheet, "wave", "a", "0", "4");
  QFile old(QStringLiteral("wave2.bmp"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.close();
  for (const int answer : {ui::kAnswerNo, ui::kAnswerYes}) {
    SCOPED_TRACE(answer);
    ui_.boxes.clear();
    ui_.answers = {answer};
    w_->mnuSetCompute_Click();
    ExpectBox(u"Frame files named wave exist already. Replace them?");
    EXPECT_EQ(Files().size(), answer == ui::kAnswerNo ? 1 : 6);
    ExpectHandedBack(f);
  }
  // Frames a = -1, 0, 1 (the worksheet's 5 is not among them): the integral over the empty range
  // of a = 0 is refused; with the start at 0, the first frame already fails.
  constexpr char kIntegral[] =
      "a = 5\nF{x} = x\nc = Integ[F,{0,a,10,0}]\nA<t> = <t, a + t, 0>\nPlot[A, {t,0,1,10}]\n";
  const std::tuple<const char*, const char16_t*, QStringList> failing[] = {
      {"-1", u"Frame 1 could not be computed; the frames stop at frame 0.", {"wave0.bmp"}},
      {"0", u"Frame 0 could not be computed; no frame was written.", {}}};
  for (const auto& [start, said, written] : failing) {
    SCOPED_TRACE(start);
    AnimationSetupDialog& g = Configure(kIntegral, "wave", "a", start, "2");
    ui_.boxes.clear();
    w_->mnuSetCompute_Click();
    ASSERT_EQ(ui_.boxes.size(), 2u);
    EXPECT_EQ(ui_.boxes[0].text.rfind(u"Statement # 3 : ", 0), 0u);  // Execute's own box
    EXPECT_EQ(Boxes()[1], said);
    EXPECT_EQ(Files(), written);
    ExpectHandedBack(g);
  }
}

// "Frames written in <folder>" names the folder the frames went to, whole, in the set-up window as
// the run shows it: each line of the wrapped text fits the label's width and every line its
// height, for folders of short and long names, deep or not.
TEST_F(AnimationTest, TheFolderOfTheFramesIsShownWhole) {
  const QString longName = QStringLiteral("frames_of_the_travelling_wave_in_the_second_series");
  const QString nested[] = {QString(), QStringLiteral("a/b"), longName,
                            longName + QStringLiteral("/") + longName + QStringLiteral("/final")};
  for (const QString& sub : nested) {
    SCOPED_TRACE(sub.toStdString());
    const QString folder = sub.isEmpty() ? dir_.path() : dir_.path() + QStringLiteral("/") + sub;
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir::setCurrent(folder));
    AnimationSetupDialog& f = Configure(kWorksheet, "wave", "a", "0", "1");
    w_->mnuSetCompute_Click();
    ASSERT_TRUE(ui_.boxes.empty());
    ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("/wave1.bmp")));
    const QString said = f.lblFolder->text();
    EXPECT_EQ(said, "Frames written in " + QFileInfo(folder).canonicalFilePath());
    ASSERT_TRUE(f.isVisible());
    // Under a window manager the window takes its new size when the window system says so: wait
    // for it, a few seconds at most.
    const auto fits = [&] {
      const QRect room = f.lblFolder->contentsRect();
      const QRect needed =
          QFontMetrics(f.lblFolder->font()).boundingRect(room, Qt::TextWordWrap, said);
      return needed.width() <= room.width() && needed.height() <= room.height();
    };
    const QDeadlineTimer deadline(3000);
    do {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    } while (!fits() && !deadline.hasExpired());
    const QRect room = f.lblFolder->contentsRect();
    const QRect needed =
        QFontMetrics(f.lblFolder->font()).boundingRect(room, Qt::TextWordWrap, said);
    EXPECT_LE(needed.width(), room.width());
    EXPECT_LE(needed.height(), room.height());
    EXPECT_TRUE(f.lblFolder->isVisibleTo(&f));
    // However a window manager resizes the window, it keeps to the window's least height, which
    // holds the label wrapped at the window's width.
    EXPECT_GE(f.minimumHeight(), f.heightForWidth(f.width()));
    // The label lies within the window.
    const QRect inWindow(f.lblFolder->mapTo(&f, QPoint(0, 0)), f.lblFolder->size());
    EXPECT_TRUE(f.rect().contains(inWindow));
    f.hide();
  }
}

}  // namespace
}  // namespace gr::testing
