// Animation frames: the set-up window's checks and the frame loop from a worksheet to the bitmap
// files and the text file, its messages and its Stop button. Files are written into a temporary
// directory made the current one for each test.
#include <sys/stat.h>

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
                                  const char* start, const char* total, const char* end = "1") {
    for (const QString& name : Files()) QFile::remove(name);
    w_ = &Run(worksheet);
    w_->mnuSetUp_Click();
    AnimationSetupDialog* f = AnimationSetupDialog::Instance();
    f->txtFrameFile->setText(QString::fromUtf8(file));
    f->Text1->setText(QString::fromUtf8(id));
    f->txtStart->setText(QString::fromUtf8(start));
    f->txtEnd->setText(QString::fromUtf8(end));
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

// Esc while a frame's worksheet is executed (here during its dblInt[) ends the run as a frame
// that fails to execute does: the frames before it stay, the stopped frame is not written (its
// picture would lack the curve of H{t} = d t, d = k/8), no text file is written, and the run says
// where it stopped. Esc in frame 0 leaves no frame at all.
TEST_F(AnimationTest, EscDuringAFramesExecuteEndsTheRunBeforeThatFrame) {
  constexpr char kDblInt[] =
      "k=1\nG{x,y}=k*x*y\nC{x}=0\nD{x}=x\nd=dblInt[G,C,D,{0,1,50,50,y}]\nH{t}=d*t\n"
      "A<t>=<t,H,0>\nPlot[A,{t,0,1,10}]\n";
  const std::tuple<const char16_t*, const char16_t*, QStringList> cases[] = {
      {u"k=2", u"Frame 1 could not be computed; the frames stop at frame 0.", {"wave0.bmp"}},
      {u"k=1", u"Frame 0 could not be computed; no frame was written.", {}}};
  for (const auto& [stoppedAt, said, written] : cases) {
    SCOPED_TRACE(rt::ToUtf8(stoppedAt));
    AnimationSetupDialog& f = Configure(kDblInt, "wave", "k", "1", "2", "3");
    ui_.boxes.clear();
    // Esc once the stopped frame's integral has shown its progress.
    size_t barsBefore = 0;
    bool pressed = false;
    ui_.onDoEvents = [&] {
      ws::WorksheetWindow& sheet = Sheet();
      if (!sheet.IsRunning() || FirstLine() != stoppedAt) {
        barsBefore = ui_.progress.size();
      } else if (!pressed && ui_.progress.size() > barsBefore) {
        pressed = true;
        KeyClick(&sheet, Qt::Key_Escape);
      }
    };
    w_->Animation().mnuSetCompute->trigger();
    ui_.onDoEvents = nullptr;
    EXPECT_TRUE(pressed);
    ExpectBox(said);
    EXPECT_EQ(Files(), written);
    ExpectHandedBack(f);
  }
}

// Yes to "Replace them?" gives up the earlier run's set (frames 0 to 5 and its text file): a run
// of fewer frames leaves none of the earlier frames beyond its last, and the earlier text file
// goes before the first frame, so that a run stopped by a frame it cannot write (a folder holds
// its name) leaves no text file describing another set. A pipe under the text file's name is
// neither written to nor replaced.
TEST_F(AnimationTest, ARunOverAnEarlierSetLeavesOnlyItsOwnFiles) {
  struct Case {
    const char* total;
    const char* folder;  // made in place of the earlier file of that name
    const char* pipe;
    QStringList files;
    const char16_t* said;
  };
  const Case cases[] = {
      {"2", nullptr, nullptr, {"wave.txt", "wave0.bmp", "wave1.bmp", "wave2.bmp"}, nullptr},
      {"1", "wave1.bmp", nullptr, {"wave0.bmp"}, u"The frame file wave1.bmp could not be written."},
      {"2",
       nullptr,
       "wave.txt",
       {"wave0.bmp", "wave1.bmp", "wave2.bmp"},
       u"The frame file wave.txt could not be written."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.total) + (c.folder != nullptr ? " folder" : "") +
                 (c.pipe != nullptr ? " pipe" : ""));
    AnimationSetupDialog& f = Configure(kWorksheet, "wave", "a", "0", "5");
    w_->mnuSetCompute_Click();
    ASSERT_EQ(Files().size(), 7);
    if (c.folder != nullptr) {
      ASSERT_TRUE(QFile::remove(QString::fromUtf8(c.folder)));
      ASSERT_TRUE(QDir().mkdir(QString::fromUtf8(c.folder)));
    }
    if (c.pipe != nullptr) {
      ASSERT_TRUE(QFile::remove(QString::fromUtf8(c.pipe)));
      ASSERT_EQ(::mkfifo(c.pipe, 0600), 0);
    }
    f.txtTotalFrames->setText(QString::fromUtf8(c.total));
    f.cmdSave_Click();
    ui_.boxes.clear();
    ui_.answers = {ui::kAnswerYes};
    w_->mnuSetCompute_Click();
    std::vector<rt::Text> said = {u"Frame files named wave exist already. Replace them?"};
    if (c.said != nullptr) said.emplace_back(c.said);
    EXPECT_EQ(Boxes(), said);
    EXPECT_EQ(Files(), c.files);
    if (c.files.contains(QStringLiteral("wave.txt"))) {
      QFile list(QStringLiteral("wave.txt"));
      ASSERT_TRUE(list.open(QIODevice::ReadOnly));
      EXPECT_EQ(list.readAll(), QByteArray("0\r\n1\r\n") + c.total + "\r\na\r\n");
    }
    if (c.pipe != nullptr) {
      const QFileInfo pipe(QString::fromUtf8(c.pipe));
      EXPECT_TRUE(pipe.exists() && !pipe.isFile());
      ASSERT_TRUE(QFile::remove(pipe.filePath()));
    }
    if (c.folder != nullptr) {
      ASSERT_TRUE(QDir().rmdir(QString::fromUtf8(c.folder)));
    }
    ExpectHandedBack(f);
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
