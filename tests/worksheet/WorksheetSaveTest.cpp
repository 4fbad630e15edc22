// Saving under faults, and files the editor cannot hold as they are: the worksheet window's Open,
// Save and Save As with every dialog and box scripted.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <initializer_list>
#include <memory>

#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "support/WriteFaults.h"
#include "worksheet/WorksheetWindow.h"
#include "worksheet/WorksheetWindowFixture.h"

namespace {

using ws::SaveOutcome;
using ws::WorksheetWindow;
using ws::testing::FileBytes;
using ws::testing::WriteBytes;

QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

// Lines of a worksheet, each "<prefix> <number>" and padding, ended by CR LF.
QByteArray Lines(const char* prefix, int count, int padding) {
  QByteArray out;
  for (int i = 0; i < count; ++i) {
    out += QByteArray("' ") + prefix + ' ' + QByteArray::number(i).rightJustified(5, '0') + ' ' +
           QByteArray(padding, 'x') + "\r\n";
  }
  return out;
}

using testing_support::FileSizeLimit;

// A folder in which no file may be created while this lives: its write permission taken away
// and, for an administrator, the capability that overrides permissions dropped from this thread.
class LockedFolder {
 public:
  explicit LockedFolder(const QString& folder) : folder_(folder) {
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    dropped_ = syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~LockedFolder() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
    QFile::setPermissions(folder_,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  // The premise of every test that uses it: no temporary file of any name can be made here.
  bool Locked() const {
    QTemporaryFile probe(folder_ + QStringLiteral("/p-XXXXXX"));
    return !probe.open();
  }

 private:
  QString folder_;
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

// The system's temporary folder (where a copy of a file's old bytes goes) is `folder` while this
// lives.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const QString& folder)
      : had_(qEnvironmentVariableIsSet("TMPDIR")), saved_(qgetenv("TMPDIR")) {
    qputenv("TMPDIR", QFile::encodeName(folder));
  }
  ~TemporaryFolder() {
    if (had_) {
      qputenv("TMPDIR", saved_);
    } else {
      qunsetenv("TMPDIR");
    }
  }

 private:
  bool had_;
  QByteArray saved_;
};

class WorksheetSaveTest : public ws::testing::WorksheetWindowFixture {
 protected:
  void Open(const QString& path) {
    services.openPaths = {ui::FromQString(path)};
    window->mnuFileOpen->trigger();
  }
  SaveOutcome SaveAs(const QString& path) {
    services.savePaths = {ui::FromQString(path)};
    return window->mnuSaveAs_click();
  }
};

// A save that fails half-way (a full disk, here a file size limit of 64 KB against a new text of
// about 110 KB) leaves the worksheet that was there byte for byte, says so, and leaves no
// temporary file behind. Where the folder takes no temporary file at all, the file is written in
// place only once its old bytes are copied elsewhere, and a write in place that fails puts them
// back.
TEST_F(WorksheetSaveTest, AFailedSaveKeepsTheOldFile) {
  const QByteArray oldBytes = Lines("old", 400, 0);    // 5,600 bytes
  const QByteArray newBytes = Lines("new", 1500, 60);  // 111,000 bytes
  ASSERT_GT(newBytes.size(), 65536);
  const struct Case {
    const char* what;
    bool saveAs;      // Save As onto the opened file, else Save
    rlim_t limit;     // the file size limit during the save; 0: none
    bool locked;      // the folder takes no temporary file
    bool noCopy;      // the temporary folder takes no copy of the old bytes either
    const char* box;  // "": saved
  } cases[] = {
      {"full disk, Save As", true, 65536, false, false, "The worksheet could not be saved: "},
      {"full disk, Save", false, 65536, false, false, "The worksheet could not be saved: "},
      {"locked folder: written in place", false, 0, true, false, ""},
      {"locked folder, full disk: old bytes put back", false, 65536, true, false,
       "The worksheet could not be saved: "},
      {"locked folder, nowhere for a copy: refused", true, 0, true, true,
       "The worksheet could not be saved (no copy of the old file could be made first): "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<WorksheetWindow>();
    QTemporaryDir folder, copies;
    const QString path = folder.filePath(QStringLiteral("existing.txt"));
    ASSERT_TRUE(WriteBytes(path, oldBytes));
    Open(path);
    window->TypeWorksheetText(QString::fromLatin1(newBytes));
    SaveOutcome outcome;
    {
      const TemporaryFolder temporary(copies.path());
      std::unique_ptr<LockedFolder> lock, lockCopies;
      if (c.locked) {
        lock = std::make_unique<LockedFolder>(folder.path());
        ASSERT_TRUE(lock->Locked());
      }
      if (c.noCopy) {
        lockCopies = std::make_unique<LockedFolder>(copies.path());
        ASSERT_TRUE(lockCopies->Locked());
      }
      FileSizeLimit limit(c.limit);
      ASSERT_EQ(limit.Set(), c.limit > 0);
      outcome = c.saveAs ? SaveAs(path) : window->mnuSave_click();
    }
    const bool saved = *c.box == '\0';
    EXPECT_EQ(outcome, saved ? SaveOutcome::kWritten : SaveOutcome::kNotWritten);
    const QByteArray now = FileBytes(path);
    EXPECT_TRUE(now == (saved ? newBytes : oldBytes))
        << now.size() << " bytes: " << now.left(40).toStdString();
    EXPECT_EQ(window->IsChanged(), !saved);
    EXPECT_EQ(FolderEntries(folder.path()), QStringList{QStringLiteral("existing.txt")});
    EXPECT_TRUE(FolderEntries(copies.path()).isEmpty());  // the copy of the old bytes is gone
    if (saved) {
      EXPECT_TRUE(services.boxes.empty());
    } else {
      ASSERT_EQ(services.boxes.size(), 1u);
      EXPECT_EQ(rt::ToUtf8(services.boxes[0].text), c.box + path.toStdString());
      EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
    }
  }
}

// Save As onto a name taken by something that is not a regular file (a pipe, a device, a folder)
// writes nothing, replaces nothing, and names the target in the box.
TEST_F(WorksheetSaveTest, SaveAsRefusesWhatIsNotARegularFile) {
  const QString fifo = dir.filePath(QStringLiteral("pipe.txt"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString folder = dir.filePath(QStringLiteral("folder.txt"));
  ASSERT_TRUE(QDir().mkdir(folder));
  const struct {
    QString path;
    mode_t type;
  } cases[] = {
      // The pipe first: a fault here would not reach the system's own device below.
      {fifo, S_IFIFO},
      {folder, S_IFDIR},
      {QStringLiteral("/dev/null"), S_IFCHR},
  };
  window->TypeWorksheetText(QStringLiteral("a=1"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    services.Reset();
    struct stat before {};
    ASSERT_EQ(stat(QFile::encodeName(c.path).constData(), &before), 0);
    ASSERT_EQ(before.st_mode & S_IFMT, c.type);
    const SaveOutcome outcome = SaveAs(c.path);
    // Stops at the first target replaced, before the device row can be reached.
    struct stat after {};
    ASSERT_EQ(stat(QFile::encodeName(c.path).constData(), &after), 0);
    ASSERT_EQ(after.st_mode & S_IFMT, c.type);
    ASSERT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(outcome, SaveOutcome::kNotWritten);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(rt::ToUtf8(services.boxes[0].text),
              "The worksheet could not be saved (not a regular file): " + c.path.toStdString());
    EXPECT_TRUE(window->IsChanged());
    EXPECT_EQ(window->CurrentFileName(), QString());
  }
  EXPECT_EQ(FolderEntries(dir.path()),
            (QStringList{QStringLiteral("folder.txt"), QStringLiteral("pipe.txt")}));
  EXPECT_TRUE(FolderEntries(folder).isEmpty());
}

// File > Print into a PDF file replaces the file only with a whole document. Where the disk takes
// only half of it (a file size limit) or the name is a pipe, a box says the file could not be
// written and the name holds what it held; no file of the print is left behind.
TEST_F(WorksheetSaveTest, PrintingKeepsThePdfFileWhenTheDocumentCannotBeWrittenWhole) {
  const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
  const QString pipe = dir.filePath(QStringLiteral("pipe.pdf"));
  const testing_support::OpenPipe reader(pipe.toStdString());
  ASSERT_TRUE(reader.Made());
  QStringList lines;
  for (int i = 0; i < 200; ++i) lines << QStringLiteral("c%1=%1").arg(i);
  window->TypeWorksheetText(lines.join('\n'));
  QPrinter& printer = ui::Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  const auto print = [&](const QString& target) {
    ui::Printer().setOutputFileName(target);
    services.prints = {true};
    window->mnuPrint->trigger();
  };
  print(pdf);  // the size of the whole document
  const qint64 whole = QFileInfo(pdf).size();
  ASSERT_GT(whole, 2048);
  const QByteArray old = "%PDF-1.4 the earlier print\n";
  const struct {
    QString target;
    rlim_t limit;  // 0: none
  } cases[] = {{pdf, static_cast<rlim_t>(whole / 2)}, {pipe, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString());
    services.Reset();
    ASSERT_TRUE(WriteBytes(pdf, old));
    {
      const FileSizeLimit limit(c.limit);
      ASSERT_EQ(limit.Set(), c.limit > 0);
      print(c.target);
    }
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(rt::ToUtf8(services.boxes[0].text),
              "The PDF file " + c.target.toStdString() +
                  " could not be written; the worksheet was not printed.");
    EXPECT_EQ(FileBytes(pdf), old);
    EXPECT_FALSE(reader.WrittenTo());
    EXPECT_EQ(FolderEntries(dir.path()),
              (QStringList{QStringLiteral("pipe.pdf"), QStringLiteral("sheet.pdf")}));
  }
  ui::Printer().setOutputFileName(QString());
}

// Text from code points, supplementary ones as surrogate pairs.
QString Chars(std::initializer_list<char32_t> codes) {
  QString s;
  for (const char32_t c : codes) s += QString::fromUcs4(&c, 1);
  return s;
}

// Open, then Save As without an edit, gives every file back byte for byte in its own encoding (the
// line-break rule and each encoding are checked in WorksheetTextTest): the characters the editor
// cannot hold (U+2028, U+2029, U+FDD0, U+FDD1) and every character that could stand in for them in
// the editor (private-use characters, noncharacters), in any mix, and every other character the
// editor would alter. Execute reads each character as it is, and the held ones break no line in the
// editor. Clearing the worksheet and undoing that brings back the same text, whatever the empty
// worksheet uses in the editor.
TEST_F(WorksheetSaveTest, OpenThenSaveGivesEveryCharacterBack) {
  const QString held = Chars({0x2028, 0x2029, 0xFDD0, 0xFDD1});
  const QString standIns = Chars({0xF028, 0xF029, 0xF0D0, 0xF0D1});
  QString every;  // every private-use character and noncharacter of the first plane, and a few
                  // of the supplementary ones
  for (char32_t c = 0xE000; c <= 0xF8FF; ++c) every += Chars({c});
  for (char32_t c = 0xFDD0; c <= 0xFDEF; ++c) every += Chars({c});
  every += Chars({0xFFFE, 0xFFFF, 0xF0000, 0xFFFFD, 0x100000, 0x10FFFD, 0x1FFFE, 0x10FFFF});
  QString latin1;  // every Latin-1 character but the line breaks
  for (char32_t c = 0; c < 256; ++c)
    if (c != '\r' && c != '\n') latin1 += Chars({c});
  enum Encoding { kUtf8, kUtf16Le, kUtf16Be, kLatin1 };
  const struct {
    const char* what;
    QString text;  // the file's text, lines ended by CR LF
    Encoding encoding;
  } cases[] = {
      {"the stand-ins alone",
       "' private use " + Chars({0xF028, ' ', 0xF029, ' ', 0xF0D0, ' ', 0xF0D1}) +
           " end\r\na = 1\r\n",
       kUtf8},
      {"each stand-in beside the character it stands for",
       "a = 1 ' " + Chars({0x2028, 0xF028, 0xF029, 0x2029, 0xFDD0, 0xF0D0, 0xF0D1, 0xFDD1}) +
           "\r\n",
       kUtf8},
      {"held characters and stand-ins on lines of their own",
       held + "\r\n" + standIns + "\r\n" + held + standIns + "\r\n", kUtf16Be},
      {"every private-use character and noncharacter, then the held ones",
       "' " + every + held + "\r\nb = 2\r\n", kUtf8},
      {"the held ones first, then every private-use character and noncharacter",
       held + every + held + "\r\n", kUtf16Le},
      {"separators, frame and object marks, byte-order mark inside, NEL, emoji",
       QString::fromStdU16String(
           u"a=1\u2028b\u2029c\uFDD0\u00A0\uFFFC\uFEFF\u0085\u200B\uFFFF\U0001F600\r\n"),
       kUtf8},
      {"every Latin-1 character", latin1 + "\r\n", kLatin1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<WorksheetWindow>();
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const QByteArray bytes =
        c.encoding == kUtf8     ? c.text.toUtf8()
        : c.encoding == kLatin1 ? c.text.toLatin1()
        : c.encoding == kUtf16Le
            ? QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(c.text)
            : QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom)(c.text);
    ASSERT_TRUE(WriteBytes(in, bytes));
    Open(in);
    EXPECT_TRUE(window->WorksheetText() == c.text.toStdU16String());
    EXPECT_EQ(window->Text1->document()->blockCount(), c.text.count(QStringLiteral("\r\n")) + 1);
    EXPECT_FALSE(window->IsChanged());
    ASSERT_EQ(SaveAs(out), SaveOutcome::kWritten);
    EXPECT_TRUE(FileBytes(out) == bytes) << FileBytes(out).size() << " of " << bytes.size();
    EXPECT_EQ(window->Caption(), QStringLiteral("out.txt"));  // the title, not the whole path
    window->cmdClearWk->click();
    window->mnuUndo->trigger();
    EXPECT_TRUE(window->WorksheetText() == c.text.toStdU16String());
    ASSERT_EQ(SaveAs(out), SaveOutcome::kWritten);
    EXPECT_TRUE(FileBytes(out) == bytes);
    EXPECT_TRUE(services.boxes.empty());
  }
}

// Paste, typing and Copy carry the characters themselves: pasting or typing a character the
// document uses as a stand-in moves the document to other stand-ins, so both the new character and
// the held ones already there keep what they are.
TEST_F(WorksheetSaveTest, PastedAndTypedCharactersKeepHeldCharactersAndStandInsApart) {
  enum How { kPasted, kTyped, kEditorPaste, kDropped };
  const struct {
    const char* what;
    QString sheet;
    QString input;
    How how;
    QString expected;
  } cases[] = {
      {"a stand-in pasted beside held characters", Chars({'x', 0x2028, 0xFDD1, 'y'}),
       Chars({0xF028, 0x2028, 0xF0D1}), kPasted,
       Chars({'x', 0x2028, 0xFDD1, 'y', 0xF028, 0x2028, 0xF0D1})},
      {"a held character pasted into a file that holds a stand-in", Chars({0xF029, 'y'}),
       Chars({0x2029, 0xF029}), kPasted, Chars({0xF029, 'y', 0x2029, 0xF029})},
      {"private-use characters pasted into an empty worksheet", QString(),
       Chars({0xE000, 0xF0D0, 0xFDD0}), kPasted, Chars({0xE000, 0xF0D0, 0xFDD0})},
      {"stand-ins typed after held characters", Chars({0x2028, 0x2029, 0xFDD0, 0xFDD1}),
       Chars({0xF028, 'a', 0xF029, 0xF0D0, 0xF0D1}), kTyped,
       Chars({0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xF028, 'a', 0xF029, 0xF0D0, 0xF0D1})},
      {"stand-ins and held characters pasted from the editor's own menu",
       Chars({'x', 0x2028, 0xF029}), Chars({0xF028, 0x2029, 0xFDD0}), kEditorPaste,
       Chars({'x', 0x2028, 0xF029, 0xF028, 0x2029, 0xFDD0})},
      {"stand-ins and held characters dropped into the editor", Chars({'x', 0x2028, 0xF029}),
       Chars({0xF028, 0x2029, 0xFDD0}), kDropped,
       Chars({'x', 0x2028, 0xF029, 0xF028, 0x2029, 0xFDD0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    services.Reset();
    window = std::make_unique<WorksheetWindow>();
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    ASSERT_TRUE(WriteBytes(in, c.sheet.toUtf8()));
    Open(in);
    QTextCursor end = window->Text1->textCursor();
    end.movePosition(QTextCursor::End);
    window->Text1->setTextCursor(end);
    if (c.how == kTyped) {
      for (const QChar ch : c.input) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(window->Text1, &key);
      }
    } else if (c.how == kPasted) {
      services.clipboardText = c.input.toStdU16String();
      window->mnuPaste->trigger();
    } else if (c.how == kEditorPaste) {
      QGuiApplication::clipboard()->setText(c.input);
      window->Text1->paste();
    } else {
      window->show();
      QMimeData data;
      data.setText(c.input);
      const QPoint at = window->Text1->cursorRect(end).center();
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window->Text1->viewport(), &enter);
      QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window->Text1->viewport(), &drop);
    }
    EXPECT_TRUE(window->WorksheetText() == c.expected.toStdU16String());
    // Copy of the whole worksheet puts the characters themselves on the clipboard, by either menu.
    window->Text1->selectAll();
    window->mnuCopy->trigger();
    EXPECT_TRUE(services.clipboardText == c.expected.toStdU16String());
    window->Text1->copy();  // the editor's own menu, and what a drag carries
    EXPECT_TRUE(QGuiApplication::clipboard()->text() == c.expected);
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_EQ(SaveAs(out), SaveOutcome::kWritten);
    EXPECT_TRUE(FileBytes(out) == (c.expected + QStringLiteral("\r\n")).toUtf8());
  }
}

}  // namespace
